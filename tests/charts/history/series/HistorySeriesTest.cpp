#include "charts/history/series/HistorySeries.h"
#include "charts/history/series/HistoryPlots.h"
#include "charts/history/series/HistoryTestModel.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace historyseries;
using namespace historytest;
using namespace Qt::Literals::StringLiterals;

namespace {

NWChartLog point(int year, int month, double assets, double liabilities)
{
    NWChartLog p;
    p.setYear(year);
    p.setMonth(month);
    p.setAssets(assets);
    p.setLiabilities(liabilities);
    p.setNw(assets - liabilities);
    return p;
}

TEST(HistoryChangesTest, PercentagesDivideByThePreviousMagnitudeWithTheChangesSign)
{
    // Net worth 100, 200, 100, -200, -100, 0, 500.
    const QList<NWChartLog> points { point(2020, 1, 100, 0), point(2020, 2, 200, 0), point(2020, 3, 100, 0),
        point(2020, 4, 0, 200), point(2020, 5, 0, 100), point(2020, 6, 0, 0), point(2020, 7, 500, 0) };
    const QList<ChangesItem> changes = getChanges(points);
    ASSERT_EQ(changes.size(), points.size());
    EXPECT_EQ(changes[0], ChangesItem());

    EXPECT_DOUBLE_EQ(changes[1].valueNW(), 100);
    EXPECT_DOUBLE_EQ(changes[1].pNW(), 100);
    EXPECT_DOUBLE_EQ(changes[2].valueNW(), -100);
    EXPECT_DOUBLE_EQ(changes[2].pNW(), -50);
    // From -200 to -100 is a rise: positive, against 200.
    EXPECT_DOUBLE_EQ(changes[4].valueNW(), 100);
    EXPECT_DOUBLE_EQ(changes[4].pNW(), 50);
    // Liabilities 200 -> 100 fall by half; assets from 0 have no percentage.
    EXPECT_DOUBLE_EQ(changes[4].valueL(), -100);
    EXPECT_DOUBLE_EQ(changes[4].pL(), -50);
    EXPECT_DOUBLE_EQ(changes[6].valueA(), 500);
    EXPECT_EQ(changes[6].pA(), 0.0);
    // From 0: the amount, but 0 %, never infinity or NaN.
    EXPECT_DOUBLE_EQ(changes[6].valueNW(), 500);
    EXPECT_EQ(changes[6].pNW(), 0.0);
    for (const ChangesItem& row : changes) {
        for (double value : { row.pNW(), row.pA(), row.pL() })
            EXPECT_TRUE(std::isfinite(value));
    }
    EXPECT_EQ(changePercent(5, 1e-300), 0.0);
    EXPECT_EQ(changePercent(1e308, 0.01), 0.0);
    EXPECT_EQ(changePercent(5, std::nan("")), 0.0);
}

TEST(HistoryChangesTest, OnePointHasOneZeroRowAndChangesKeepTheMonths)
{
    const QList<NWChartLog> one { point(2021, 5, 300, 100) };
    EXPECT_EQ(getChanges(one), QList<ChangesItem> { ChangesItem() });
    EXPECT_TRUE(getChanges({}).isEmpty());

    const QList<NWChartLog> two { point(2021, 5, 300, 100), point(2021, 7, 600, 50) };
    const QList<NWChartLog> amounts = displayedPoints(two, getChanges(two), true, false);
    ASSERT_EQ(amounts.size(), 2);
    EXPECT_EQ(amounts[1].month(), 7);
    EXPECT_EQ(amounts[1].year(), 2021);
    EXPECT_DOUBLE_EQ(amounts[1].nw(), 350);
    EXPECT_DOUBLE_EQ(amounts[1].assets(), 300);
    EXPECT_DOUBLE_EQ(amounts[1].liabilities(), -50);
    const QList<NWChartLog> percents = displayedPoints(two, getChanges(two), true, true);
    EXPECT_DOUBLE_EQ(percents[1].nw(), 175);
    EXPECT_DOUBLE_EQ(percents[1].assets(), 100);
    EXPECT_DOUBLE_EQ(percents[1].liabilities(), -50);
    EXPECT_EQ(displayedPoints(two, getChanges(two), false, true), two);
}

TEST(HistoryTextsTest, TagListIsCutAfterItsMaximum)
{
    const QString forty = u"("_s + QString(38, u'a') + u")"_s;
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(tagListString(forty, 40), forty);
    const QString longer = u"("_s + QString(45, u'b') + u")"_s;
    EXPECT_EQ(tagListString(longer, 40), longer.left(40) + u" ...)"_s);
}

TEST(HistoryPlotsTest, EachPlotDrawsItsValueOnlyForItsTypes)
{
    const NWChartLog p = point(2022, 3, 900, 400);
    PlotContext context;
    context.showGoal = true;
    context.goal = 7000;
    const auto value = [&](PlotId id) { return plotValue(id, p, context); };

    EXPECT_EQ(value(PlotId::NetWorth), 500.0);
    EXPECT_EQ(value(PlotId::Goal), 7000.0);
    EXPECT_EQ(value(PlotId::StackedAssets), std::nullopt);
    EXPECT_EQ(value(PlotId::Assets), 0.0); // answered, and hidden
    context.settings.displayStackChart = true;
    EXPECT_EQ(value(PlotId::StackedAssets), 900.0);
    EXPECT_EQ(value(PlotId::StackedLiabilities), -400.0);
    context.settings.displayChanges = true;
    EXPECT_EQ(value(PlotId::Goal), std::nullopt);
    EXPECT_FALSE(plotVisible(PlotId::StackedAssets, context.settings));

    context.settings = SeriesSettings();
    context.settings.type = ChartType::AssetCategory;
    EXPECT_EQ(value(PlotId::Assets), 500.0); // a category's value is carried as nw
    EXPECT_EQ(value(PlotId::NetWorth), std::nullopt);
    EXPECT_EQ(value(PlotId::Goal), std::nullopt);
    context.settings.type = ChartType::AssetsAndLiabilities;
    EXPECT_EQ(value(PlotId::Assets), 900.0);
    EXPECT_EQ(value(PlotId::Liabilities), 400.0);
    context.settings.type = ChartType::LiabilityCategory;
    EXPECT_EQ(value(PlotId::Liabilities), 500.0);

    const auto shown = [](ChartType type) {
        SeriesSettings settings;
        settings.type = type;
        QStringList ids;
        for (PlotId id : allPlots) {
            if (plotVisible(id, settings))
                ids << plotIdentifier(id);
        }
        return ids;
    };
    EXPECT_EQ(shown(ChartType::NetWorth), (QStringList { u"RIDIREVU"_s, u"GOAL"_s }));
    EXPECT_EQ(shown(ChartType::AssetsAndLiabilities), (QStringList { u"ASSETS"_s, u"LIABILITIES"_s }));
    EXPECT_EQ(shown(ChartType::AssetCategory), QStringList { u"ASSETS"_s });
    EXPECT_EQ(shown(ChartType::LiabilityCategory), QStringList { u"LIABILITIES"_s });
    EXPECT_EQ(shown(ChartType::Tags), QStringList { u"RIDIREVU"_s });
    for (PlotId id : allPlots)
        EXPECT_EQ(plotIdFromIdentifier(plotIdentifier(id)), id);
    EXPECT_EQ(plotIdFromIdentifier(u"OTHER"_s), std::nullopt);
}

class HistorySeriesStoreTest : public mervane::test::SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        // Given out of order: the series run oldest first.
        install(household(
            { { 2024, 3, 300, 1000, 50 }, { 2024, 1, 100, 1000, 200 }, { 2024, 2, 0, 1000, 100 } }));
        store().setSelectedTagIDs({ u"T1"_s });
    }

    static HistorySeries series(ChartType type, bool changes = false, bool percent = false)
    {
        SeriesSettings settings;
        settings.type = type;
        settings.assetCategoryID = u"CASH"_s;
        settings.liabilityCategoryID = u"LOAN"_s;
        settings.displayChanges = changes;
        settings.displayPercent = percent;
        return buildSeries(*NWData::shared(), settings);
    }

    static QList<double> nws(const QList<NWChartLog>& points)
    {
        QList<double> values;
        for (const NWChartLog& p : points)
            values << p.nw();
        return values;
    }
};

TEST_F(HistorySeriesStoreTest, EveryChartTypeReadsItsSeriesOldestFirst)
{
    const HistorySeries netWorth = series(ChartType::NetWorth);
    EXPECT_EQ(nws(netWorth.dataArray), (QList<double> { 900, 900, 1250 }));
    EXPECT_EQ(netWorth.dataArray.first().month(), 1);
    EXPECT_EQ(netWorth.title, u"Net Worth History"_s);

    const HistorySeries both = series(ChartType::AssetsAndLiabilities);
    EXPECT_EQ(both.dataArray.last().assets(), 1300);
    EXPECT_EQ(both.dataArray.last().liabilities(), 50);
    EXPECT_EQ(both.title, u"Assets/Liabilities History"_s);

    const HistorySeries cash = series(ChartType::AssetCategory);
    EXPECT_EQ(nws(cash.dataArray), (QList<double> { 100, 0, 300 }));
    EXPECT_EQ(cash.title, u"Asset Category History - Cash"_s);

    const HistorySeries loan = series(ChartType::LiabilityCategory);
    EXPECT_EQ(nws(loan.dataArray), (QList<double> { 200, 100, 50 }));
    EXPECT_EQ(loan.title, u"Liability Category History - Loan"_s);

    // Tagged: cash minus loan.
    const HistorySeries tagged = series(ChartType::Tags);
    EXPECT_EQ(nws(tagged.dataArray), (QList<double> { -100, -100, 250 }));
    EXPECT_EQ(tagged.title, u"Tags history: (Liquid)"_s);
}

TEST_F(HistorySeriesStoreTest, ChangesOfACategoryFromZeroStayFinite)
{
    const HistorySeries amounts = series(ChartType::AssetCategory, true, false);
    EXPECT_EQ(nws(amounts.dataArray), (QList<double> { 0, -100, 300 }));
    EXPECT_EQ(nws(amounts.logArray), (QList<double> { 100, 0, 300 }));
    const HistorySeries percents = series(ChartType::AssetCategory, true, true);
    EXPECT_EQ(nws(percents.dataArray), (QList<double> { 0, -100, 0 }));
    const HistorySeries tagged = series(ChartType::Tags, true, true);
    // -100 -> 250 rises by 350 against 100.
    EXPECT_DOUBLE_EQ(tagged.dataArray.last().nw(), 350);
}

TEST_F(HistorySeriesStoreTest, AMissingCategoryFallsBackToTheFirstOfItsList)
{
    const auto& model = store().appData();
    EXPECT_EQ(resolvedCategoryID(model->assetscat(), u"HOME"_s), u"HOME"_s);
    EXPECT_EQ(resolvedCategoryID(model->assetscat(), u"GONE"_s), u"CASH"_s);
    EXPECT_EQ(resolvedCategoryID(model->assetscat(), QString()), u"CASH"_s);
    EXPECT_EQ(resolvedCategoryID(model->liabilitycat(), u"GONE"_s), u"LOAN"_s);
    EXPECT_TRUE(resolvedCategoryID(MVX_CategoryList(), u"GONE"_s).isNull());
    EXPECT_TRUE(resolvedCategoryID(std::nullopt, u"GONE"_s).isNull());
}

TEST_F(HistorySeriesStoreTest, NoRecordsGiveEmptySeries)
{
    install(household({}));
    for (ChartType type : { ChartType::NetWorth, ChartType::AssetCategory, ChartType::Tags }) {
        const HistorySeries empty = series(type, true, true);
        EXPECT_TRUE(empty.dataArray.isEmpty());
        EXPECT_TRUE(empty.changesNWArray.isEmpty());
    }
}

} // namespace
