#include "EditorTestSupport.h"

#include "records/editor/NWEntryLogic.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class DepreciationPrefillTest : public EditorTest {
protected:
    NWEntryLogic openNew()
    {
        NWEntryLogic logic(store(), QDate(2024, 6, 15));
        logic.open(nullptr, store().appData()->currentLog());
        return logic;
    }
};

// A rate is kept with a category whose depreciation was switched off; it no longer applies.
TEST_F(DepreciationPrefillTest, ARateOnACategoryThatIsNotDepreciableLeavesItsValueAlone)
{
    cash->setDepreciationRate(0.5);
    ASSERT_FALSE(cash->isDepreciable());
    loan->setDepreciationRate(0.5);
    const auto eur = addForeignAsset(u"EUR"_s, 1.25);
    eur->setDepreciationRate(0.5);
    auto eurLog = makeLog(eur->ID(), 2024, 5, 500);
    eurLog->setForeignValue(400);
    may->assetLogs()->append(eurLog);

    NWEntryLogic logic = openNew();
    const auto& assets = logic.records(EntrySide::Assets);
    ASSERT_EQ(assets.size(), 3);
    EXPECT_EQ(assets.at(0).categoryName(), u"Cash"_s);
    EXPECT_EQ(assets.at(0).categoryValue(), 1000);
    EXPECT_EQ(assets.at(1).categoryValue(), 18000); // Car is depreciable: 10 % off
    EXPECT_EQ(assets.at(2).categoryValue(), 500);
    EXPECT_EQ(assets.at(2).foreignValue(), 400.0);
    ASSERT_EQ(logic.records(EntrySide::Liabilities).size(), 1);
    EXPECT_EQ(logic.records(EntrySide::Liabilities).at(0).categoryValue(), 5000);
    EXPECT_NEAR(logic.totalNW(), 1000 + 18000 + 500 + 0.005 - 5000, 1e-9);
}

} // namespace
