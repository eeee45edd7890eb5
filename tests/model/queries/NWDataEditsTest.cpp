#include "model/store/NWData.h"

#include "model/queries/ModelBuilders.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class NWDataEditsTest : public ModelTest {
protected:
    static std::shared_ptr<MVX_NWLog> withTotals(
        std::shared_ptr<MVX_NWLog> record, std::optional<double> assets, std::optional<double> liabilities)
    {
        record->setAssets(assets);
        record->setLiabilities(liabilities);
        if (assets || liabilities)
            record->setNw(assets.value_or(0) - liabilities.value_or(0));
        return record;
    }
};

TEST_F(NWDataEditsTest, DeletingACategoryRemovesEveryValueOfItAndLowersTheTotalsByEach)
{
    const auto keep = makeLog(u"B"_s, 2020, 3, 1500);
    model().setAssetscat(
        MVX_CategoryList { makeCategory(u"A"_s, u"Bank"_s), makeCategory(u"B"_s, u"Car"_s) });
    model().setNwLogArray(MVX_NWLogList {
        withTotals(makeRecord(2020, 3, { makeLog(u"A"_s, 2020, 3, 500), keep }), 2000, 500),
        withTotals(
            makeRecord(2020, 2, { makeLog(u"A"_s, 2020, 2, 100), makeLog(u"A"_s, 2020, 2, 50) }), 150, 0),
        withTotals(makeRecord(2020, 1, { makeLog(u"A"_s, 2020, 1, std::nullopt) }), 70, 0),
        withTotals(makeRecord(2019, 12, { makeLog(u"A"_s, 2019, 12, 40) }), std::nullopt, std::nullopt),
    });
    // A copy with the same ID stands for the model's category.
    store().deleteAssetCategory(*makeCategory(u"A"_s, u"renamed"_s));

    const MVX_NWLogList& records = *model().nwLogArray();
    EXPECT_EQ(*records.at(0)->assetLogs(), (MVX_CategoryLogList { keep }));
    EXPECT_EQ(records.at(0)->assets(), 1500);
    EXPECT_EQ(records.at(0)->nw(), 1000);
    EXPECT_TRUE(records.at(1)->assetLogs()->isEmpty());
    EXPECT_EQ(records.at(1)->assets(), 0);
    EXPECT_EQ(records.at(1)->nw(), 0);
    // A value that was never entered lowers nothing.
    EXPECT_TRUE(records.at(2)->assetLogs()->isEmpty());
    EXPECT_EQ(records.at(2)->assets(), 70);
    EXPECT_EQ(records.at(3)->assets(), -40);
    EXPECT_EQ(records.at(3)->nw(), -40);
    EXPECT_EQ(records.at(3)->liabilities(), std::nullopt);
    ASSERT_EQ(model().assetscat()->size(), 1);
    EXPECT_EQ(model().assetscat()->first()->ID(), u"B"_s);
}

TEST_F(NWDataEditsTest, DeletingALiabilityLowersLiabilitiesAndRaisesNetWorth)
{
    const auto debt = makeCategory(u"L"_s, u"Loan"_s);
    model().setLiabilitycat(MVX_CategoryList { debt });
    model().setNwLogArray(
        MVX_NWLogList { withTotals(makeRecord(2020, 3, {}, { makeLog(u"L"_s, 2020, 3, 300) }), 1500, 1000) });
    store().deleteLiabilityCategory(*debt);
    const auto& record = model().nwLogArray()->first();
    EXPECT_EQ(record->liabilities(), 700);
    EXPECT_EQ(record->nw(), 800);
    EXPECT_EQ(record->assets(), 1500);
    EXPECT_TRUE(record->liabilityLogs()->isEmpty());
    EXPECT_TRUE(model().liabilitycat()->isEmpty());
}

TEST_F(NWDataEditsTest, NewCategoriesGetAZeroValueInEveryRecordThatHasALogList)
{
    const auto first = store().insertNewAssetCategory(u"Bank"_s, u"Savings"_s);
    ASSERT_TRUE(first);
    EXPECT_EQ(model().assetscat()->size(), 1);
    EXPECT_EQ(first->categoryName(), u"Bank"_s);
    EXPECT_EQ(first->desc(), u"Savings"_s);
    EXPECT_EQ(first->tags(), std::nullopt);
    EXPECT_EQ(first->sortOrder(), 0);
    EXPECT_FALSE(first->isHidden() || first->isForeignCurrency() || first->isDepreciable());

    auto bare = makeRecord(2019, 12);
    bare->setLiabilityLogs(std::nullopt);
    model().setNwLogArray(MVX_NWLogList { makeRecord(2020, 2), makeRecord(2020, 1), bare });
    const auto debt = store().insertNewLiabilityCategory(u"Loan"_s, QString());
    EXPECT_EQ(model().liabilitycat()->last(), debt);
    for (const auto& record : *model().nwLogArray()) {
        if (record == bare) {
            EXPECT_EQ(record->liabilityLogs(), std::nullopt);
            continue;
        }
        ASSERT_EQ(record->liabilityLogs()->size(), 1);
        EXPECT_EQ(
            *record->liabilityLogs()->first(), *makeLog(debt->ID(), *record->year(), *record->month(), 0.0));
        EXPECT_TRUE(record->assetLogs()->isEmpty());
    }
}

TEST_F(NWDataEditsTest, DeletingATagStripsItFromEveryCategory)
{
    const auto tag = store().insertNewTag(u"Home"_s, u"House"_s, u"GREEN"_s);
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->hexColorString(), u"GREEN"_s);
    const auto other = store().insertNewTag(u"Cars"_s, QString(), u"RED"_s);
    model().setAssetscat(
        MVX_CategoryList { makeCategory(u"A1"_s, u"a"_s, QStringList { tag->ID(), tag->ID() }),
            makeCategory(u"A2"_s, u"b"_s, QStringList { other->ID(), tag->ID() }),
            makeCategory(u"A3"_s, u"c"_s, std::nullopt) });
    model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L1"_s, u"d"_s, QStringList { tag->ID() }) });
    store().setSelectedTagIDs({ tag->ID() });

    store().deleteTagRecord(*tag);
    EXPECT_EQ(model().assetscat()->at(0)->tags(), QStringList());
    EXPECT_EQ(model().assetscat()->at(1)->tags(), QStringList { other->ID() });
    EXPECT_EQ(model().assetscat()->at(2)->tags(), std::nullopt);
    EXPECT_EQ(model().liabilitycat()->at(0)->tags(), QStringList());
    EXPECT_EQ(*model().tags(), (MVX_TagsList { other }));
    EXPECT_EQ(store().selectedTagIDs(), QStringList { tag->ID() });
}

TEST_F(NWDataEditsTest, DeletingATagEverywhereAlsoForgetsItInTheFilterAndTheReportChoice)
{
    const auto tag = store().insertNewTag(u"Home"_s, QString(), u"GREEN"_s);
    const auto other = store().insertNewTag(u"Cars"_s, QString(), u"RED"_s);
    model().setAssetscat(
        MVX_CategoryList { makeCategory(u"A1"_s, u"a"_s, QStringList { tag->ID(), other->ID() }) });
    model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L1"_s, u"d"_s, QStringList { tag->ID() }) });
    store().setSelectedTagIDs({ tag->ID(), other->ID(), tag->ID() });
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    defaults.setValue(NWData::filterIDArrayKey, QStringList { other->ID(), tag->ID() });
    defaults.setValue(NWData::reportTagIDsKey, QStringList { tag->ID() });

    // The model's own object, as the tags screen passes it.
    store().deleteTagEverywhere(*model().tags()->first());
    EXPECT_EQ(*model().tags(), (MVX_TagsList { other }));
    EXPECT_EQ(model().assetscat()->first()->tags(), QStringList { other->ID() });
    EXPECT_EQ(model().liabilitycat()->first()->tags(), QStringList());
    EXPECT_EQ(store().selectedTagIDs(), QStringList { other->ID() });
    EXPECT_EQ(defaults.stringList(NWData::filterIDArrayKey), QStringList { other->ID() });
    // An emptied choice stays a choice (of nothing), not an absent key.
    EXPECT_TRUE(defaults.contains(NWData::reportTagIDsKey));
    EXPECT_EQ(defaults.stringList(NWData::reportTagIDsKey, { u"fallback"_s }), QStringList());
}

TEST_F(NWDataEditsTest, DeletingATagEverywhereLeavesAbsentChoicesAbsent)
{
    const auto tag = store().insertNewTag(u"Home"_s, QString(), u"GREEN"_s);
    store().deleteTagEverywhere(*tag);
    EXPECT_TRUE(model().tags()->isEmpty());
    EXPECT_FALSE(platform::UserDefaults::standard().contains(NWData::filterIDArrayKey));
    EXPECT_FALSE(platform::UserDefaults::standard().contains(NWData::reportTagIDsKey));
}

TEST_F(NWDataEditsTest, NameTestsAreExact)
{
    EXPECT_FALSE(store().haveTagWithName(u"Home"_s));
    store().insertNewTag(u"Home"_s, QString(), u"BLUE"_s);
    store().insertNewAssetCategory(u"Bank"_s, QString());
    store().insertNewLiabilityCategory(u"Loan"_s, QString());
    EXPECT_TRUE(store().haveTagWithName(u"Home"_s));
    EXPECT_FALSE(store().haveTagWithName(u"home"_s));
    EXPECT_FALSE(store().haveTagWithName(u"Home "_s));
    EXPECT_TRUE(store().haveAssetCategoryWithName(u"Bank"_s));
    EXPECT_FALSE(store().haveAssetCategoryWithName(u"Loan"_s));
    EXPECT_TRUE(store().haveLiabilityCategoryWithName(u"Loan"_s));

    store().setAppData(nullptr);
    EXPECT_FALSE(store().haveTagWithName(u"Home"_s));
    EXPECT_EQ(store().insertNewTag(u"x"_s, QString(), u"BLUE"_s), nullptr);
}

TEST_F(NWDataEditsTest, DeletingARecordTakesThatObjectOutOfBothOrdersAndReinsertingPutsItBack)
{
    const auto march = makeRecord(2020, 3, {});
    const auto february = makeRecord(2020, 2, {});
    const auto twin = makeRecord(2020, 2, {}); // equal to February, but another record
    const auto january = makeRecord(2020, 1, {});
    store().sortNWArray({ january, february, twin, march });

    EXPECT_TRUE(store().deleteNWLog(february));
    EXPECT_EQ(*model().nwLogArray(), (MVX_NWLogList { march, twin, january }));
    EXPECT_EQ(store().chartNwLogArray(), (MVX_NWLogList { january, twin, march }));
    EXPECT_FALSE(store().holdsNWLog(february.get()));
    EXPECT_TRUE(store().holdsNWLog(twin.get()));
    EXPECT_FALSE(store().deleteNWLog(february)); // gone already

    store().reinsertNWLog(february);
    store().reinsertNWLog(february); // once only
    EXPECT_EQ(model().nwLogArray()->size(), 4);
    EXPECT_EQ(model().nwLogArray()->first(), march);
    EXPECT_EQ(store().chartNwLogArray().first(), january);
    EXPECT_TRUE(store().holdsNWLog(february.get()));
}

TEST(NWDataEditsUUIDTest, IdentifiersAreCanonicalUpperCaseAndUnique)
{
    static const QRegularExpression canonical(
        u"^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"_s);
    QSet<QString> seen;
    for (int i = 0; i < 1000; ++i) {
        const QString id = NWData::GetUUID();
        EXPECT_TRUE(canonical.match(id).hasMatch()) << id.toStdString();
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000);
}

} // namespace
