#include "model/store/NWData.h"

#include "model/queries/ModelBuilders.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class NWDataQueriesTest : public ModelTest { };

TEST_F(NWDataQueriesTest, CategoryLogsTakeTheFirstLogPerRecordNewestFirstAndDropNearZeroValues)
{
    const auto march = makeLog(u"A"_s, 2020, 3, 0.00002);
    const auto marchLater = makeLog(u"A"_s, 2020, 3, 999);
    const auto february = makeLog(u"A"_s, 2020, 2, -0.00001);
    const auto january = makeLog(u"A"_s, 2020, 1, -0.00002);
    const auto december = makeLog(u"A"_s, 2019, 12, 0.000005);
    const auto november = makeLog(u"A"_s, 2019, 11, std::nullopt);
    auto withoutList = makeRecord(2019, 10);
    withoutList->setAssetLogs(std::nullopt);
    model().setNwLogArray(
        MVX_NWLogList { makeRecord(2020, 3, { makeLog(u"B"_s, 2020, 3, 5), march, marchLater }),
            makeRecord(2020, 2, { february }), makeRecord(2020, 1, { january }),
            makeRecord(2019, 12, { december }), makeRecord(2019, 11, { november }), withoutList,
            makeRecord(2019, 9, { makeLog(u"B"_s, 2019, 9, 1) }) });

    const MVX_CategoryLogList all = store().recordsForAssetCategoryLogs(u"A"_s, true);
    EXPECT_EQ(all, (MVX_CategoryLogList { march, february, january, december, november }));
    // The model's own objects, not copies.
    EXPECT_EQ(all.first().get(), march.get());

    EXPECT_EQ(store().recordsForAssetCategoryLogs(u"A"_s, false), (MVX_CategoryLogList { march, january }));
    EXPECT_TRUE(store().recordsForLiabilityCategoryLogs(u"A"_s, true).isEmpty());
    EXPECT_TRUE(store().recordsForAssetCategoryLogs(u"a"_s, true).isEmpty());
}

TEST_F(NWDataQueriesTest, SeriesRunOldestFirstAndSortedSeriesNewestFirstWithTheLogsOwnMonths)
{
    // The log's own year and month make the point, not the record's.
    model().setNwLogArray(MVX_NWLogList {
        makeRecord(2020, 3, {}, { makeLog(u"L"_s, 2021, 3, 300) }),
        makeRecord(2020, 2, {}, { makeLog(u"L"_s, 2021, 2, 0) }),
        makeRecord(2020, 1, {}, { makeLog(u"L"_s, 2021, 1, 100) }),
    });
    const QList<NWChartLog> sorted = store().arrayOfSortedLiabilityLogsFor(u"L"_s);
    ASSERT_EQ(sorted.size(), 3);
    EXPECT_EQ(sorted.at(0).year(), 2021);
    EXPECT_EQ(sorted.at(0).month(), 3);
    EXPECT_EQ(sorted.at(0).nw(), 300);
    EXPECT_EQ(sorted.at(0).assets(), 0);
    EXPECT_EQ(sorted.at(0).liabilities(), 0);
    EXPECT_EQ(sorted.at(1).nw(), 0);

    QList<NWChartLog> reversed = store().arrayOfLiabilityLogsFor(u"L"_s);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(reversed, sorted);
    EXPECT_TRUE(store().arrayOfAssetLogsFor(u"L"_s).isEmpty());
}

TEST_F(NWDataQueriesTest, TaggedSeriesSumsTaggedCategoriesPerRecordOldestFirst)
{
    model().setAssetscat(
        MVX_CategoryList { makeCategory(u"A1"_s, u"Bank"_s, QStringList { u"T1"_s, u"T2"_s }),
            makeCategory(u"A2"_s, u"Car"_s, QStringList { u"T3"_s }),
            makeCategory(u"A3"_s, u"Cash"_s, std::nullopt) });
    model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L1"_s, u"Loan"_s, QStringList { u"T2"_s }) });
    model().setNwLogArray(MVX_NWLogList {
        makeRecord(2020, 2,
            { makeLog(u"A1"_s, 2020, 2, 100), makeLog(u"A1"_s, 2020, 2, 10), makeLog(u"A2"_s, 2020, 2, 7) },
            { makeLog(u"L1"_s, 2020, 2, 30) }),
        makeRecord(2020, 1, { makeLog(u"A2"_s, 2020, 1, 5) }),
    });

    store().setSelectedTagIDs({ u"T1"_s, u"T2"_s });
    const QList<NWChartLog> points = store().arrayOfTaggedCategoryLogs();
    ASSERT_EQ(points.size(), 2);
    EXPECT_EQ(points.at(0).month(), 1);
    EXPECT_EQ(points.at(0).assets(), 0);
    EXPECT_EQ(points.at(0).nw(), 0);
    EXPECT_EQ(points.at(1).month(), 2);
    // Both logs of A1 count, once each although A1 carries two selected tags.
    EXPECT_EQ(points.at(1).assets(), 110);
    EXPECT_EQ(points.at(1).liabilities(), 30);
    EXPECT_EQ(points.at(1).nw(), 80);

    store().setSelectedTagIDs({});
    for (const NWChartLog& point : store().arrayOfTaggedCategoryLogs())
        EXPECT_EQ(point, NWChartLog::initWithNWLog(*makeRecord(point.year(), point.month())));
    EXPECT_EQ(store().arrayOfTaggedCategoryLogs().size(), 2);
}

TEST_F(NWDataQueriesTest, NameAndIdLookupsTakeTheFirstExactMatch)
{
    model().setAssetscat(MVX_CategoryList { makeCategory(u"A1"_s, u"Bank"_s),
        makeCategory(u"A2"_s, u"Bank"_s), makeCategory(u"A3"_s, QString()) });
    model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L1"_s, u"Loan"_s) });

    EXPECT_EQ(store().getAssetCategoryIdFromCategoryName(u"Bank"_s), u"A1"_s);
    EXPECT_EQ(store().getAssetCategoryIdFromCategoryName(u"bank"_s), std::nullopt);
    EXPECT_EQ(store().getAssetCategoryIdFromCategoryName(u"Bank "_s), std::nullopt);
    EXPECT_EQ(store().getAssetCategoryNameFromCategoryId(u"A2"_s), u"Bank"_s);
    // A category without a name is found, and is told apart from no category.
    EXPECT_EQ(store().getAssetCategoryNameFromCategoryId(u"A3"_s), QString());
    EXPECT_EQ(store().getAssetCategoryNameFromCategoryId(u"L1"_s), std::nullopt);
    EXPECT_EQ(store().getLiabilityCategoryIdFromCategoryName(u"Loan"_s), u"L1"_s);
    EXPECT_EQ(store().getLiabilityCategoryNameFromCategoryId(u"L1"_s), u"Loan"_s);

    store().setAppData(nullptr);
    EXPECT_EQ(store().getAssetCategoryIdFromCategoryName(u"Bank"_s), std::nullopt);
    EXPECT_TRUE(store().arrayOfTaggedCategoryLogs().isEmpty());
}

TEST_F(NWDataQueriesTest, NewRecordsAreAppendedEmptyAndMonthsAreFoundByNumber)
{
    EXPECT_FALSE(store().haveNWLogWithYear(2020, 1));
    const auto first = store().insertNewNWLog();
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, MVX_NWLog());
    EXPECT_EQ(model().nwLogArray()->size(), 1);

    model().setNwLogArray(MVX_NWLogList { makeRecord(2020, 3), makeRecord(2020, 2), makeRecord(2020, 1) });
    const auto fourth = store().insertNewNWLog();
    EXPECT_EQ(model().nwLogArray()->size(), 4);
    EXPECT_EQ(model().nwLogArray()->last(), fourth);

    EXPECT_TRUE(store().haveNWLogWithYear(2020, 2));
    EXPECT_FALSE(store().haveNWLogWithYear(2020, 4));
    EXPECT_FALSE(store().haveNWLogWithYear(2019, 2));

    store().setAppData(nullptr);
    EXPECT_EQ(store().insertNewNWLog(), nullptr);
}

} // namespace
