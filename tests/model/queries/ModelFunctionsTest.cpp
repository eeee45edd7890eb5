#include "model/csv/CSVExport.h"
#include "model/edits/ModelEdits.h"
#include "model/queries/ModelQueries.h"
#include "model/queries/ModelReports.h"

#include "model/queries/ModelBuilders.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The functions work on any model, without a store around it.
TEST(ModelFunctionsTest, EditsAndQueriesWorkOnAModelOfTheirOwn)
{
    MVX_Model model;
    EXPECT_FALSE(queries::haveNWLogWithYear(model, 2020, 1)) << "absent lists read as empty";
    EXPECT_EQ(queries::getTagNames(model, { u"T"_s }), u"()"_s);

    const auto record = edits::insertNewNWLog(model);
    record->setYear(2020);
    record->setMonth(1);
    record->setAssetLogs(MVX_CategoryLogList());
    EXPECT_TRUE(queries::haveNWLogWithYear(model, 2020, 1));

    const auto tag = edits::insertNewTag(model, u"Home"_s, QString(), u"BLUE"_s);
    const auto bank = edits::insertNewAssetCategory(model, u"Bank"_s, QString());
    bank->setTags(QStringList { tag->ID() });
    ASSERT_EQ(record->assetLogs()->size(), 1);
    record->assetLogs()->first()->setValue(40);
    EXPECT_EQ(queries::getAssetCategoryIdFromCategoryName(model, u"Bank"_s), bank->ID());
    EXPECT_TRUE(edits::haveAssetCategoryWithName(model, u"Bank"_s));
    EXPECT_FALSE(edits::haveLiabilityCategoryWithName(model, u"Bank"_s));

    // The tag filter is a parameter here, not the store's.
    const QList<NWChartLog> tagged = queries::arrayOfTaggedCategoryLogs(model, { tag->ID() });
    ASSERT_EQ(tagged.size(), 1);
    EXPECT_EQ(tagged.first().nw(), 40);
    EXPECT_EQ(queries::arrayOfTaggedCategoryLogs(model, {}).first().nw(), 0);
    EXPECT_EQ(
        queries::getTaggedRecords(model, { tag->ID() }, std::nullopt, std::nullopt).first().amount(), 40);
    EXPECT_EQ(csv::exportCategoryValues(model, *record), u"40"_s);

    edits::deleteTagRecord(model, *tag);
    EXPECT_TRUE(bank->tags()->isEmpty());
    EXPECT_TRUE(queries::arrayOfTaggedCategoryLogs(model, { tag->ID() }).first().nw() == 0);
}

class StoreForwardsTest : public ModelTest { };

TEST_F(StoreForwardsTest, TheStoreAnswersAsItsModelDoesAndAsAnEmptyOneWithout)
{
    model().setAssetscat(MVX_CategoryList { makeCategory(u"A"_s, u"Bank"_s, QStringList { u"T"_s }) });
    model().setTags(MVX_TagsList { makeTag(u"T"_s, u"Home"_s) });
    model().setNwLogArray(MVX_NWLogList { makeRecord(2020, 2, { makeLog(u"A"_s, 2020, 2, 7) }),
        makeRecord(2020, 1, { makeLog(u"A"_s, 2020, 1, 5) }) });
    store().setSelectedTagIDs({ u"T"_s });

    EXPECT_EQ(store().arrayOfTaggedCategoryLogs(), queries::arrayOfTaggedCategoryLogs(model(), { u"T"_s }));
    EXPECT_EQ(store().getAssetReportRecords(u"A"_s, std::nullopt, std::nullopt).size(), 2);
    EXPECT_EQ(store().getTagNames({ u"T"_s }), u"(Home)"_s);
    EXPECT_EQ(store().exportCategoryIDs(), u",A"_s);
    ASSERT_TRUE(store().insertNewLiabilityCategory(u"Loan"_s, QString()));
    EXPECT_TRUE(store().haveLiabilityCategoryWithName(u"Loan"_s));

    store().setAppData(nullptr);
    EXPECT_TRUE(store().arrayOfTaggedCategoryLogs().isEmpty());
    EXPECT_EQ(store().getTagNames({ u"T"_s }), u"()"_s);
    EXPECT_FALSE(store().haveTagWithName(u"Home"_s));
    EXPECT_EQ(store().insertNewTag(u"X"_s, QString(), u"RED"_s), nullptr);
    EXPECT_EQ(store().insertNewNWLog(), nullptr);
    EXPECT_EQ(store().csvText().errorIfAny(), u"There is no data to export."_s);
}

} // namespace
