#include "charts/history/series/HistoryAxes.h"
#include "charts/history/series/HistoryTestModel.h"
#include "charts/history/series/HistoryTexts.h"
#include "model/format/NWCurrencyFormatter.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>

using namespace historyseries;
using namespace historytest;
using namespace Qt::Literals::StringLiterals;

namespace {

QList<NWChartLog> netWorths(const QList<double>& values, int year = 2023, int firstMonth = 1)
{
    QList<NWChartLog> points;
    for (qsizetype i = 0; i < values.size(); ++i) {
        NWChartLog p;
        const int months = firstMonth - 1 + int(i);
        p.setYear(year + months / 12);
        p.setMonth(months % 12 + 1);
        p.setNw(values[i]);
        p.setAssets(std::max(values[i], 0.0));
        p.setLiabilities(std::max(-values[i], 0.0));
        points << p;
    }
    return points;
}

QStringList texts(const QList<AxisMark>& marks)
{
    QStringList all;
    for (const AxisMark& mark : marks)
        all << mark.text;
    return all;
}

QList<double> locations(const QList<AxisMark>& marks)
{
    QList<double> all;
    for (const AxisMark& mark : marks)
        all << mark.location;
    return all;
}

QString plain(double value)
{
    return QString::number(value, 'f', 0);
}

class HistoryYAxisTest : public mervane::test::SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        install(household({}));
    }
};

TEST_F(HistoryYAxisTest, RisingYearGetsThreeMoneyLabelsAndAMarginBelowZero)
{
    QList<NWChartLog> data;
    for (const Month& m : rising2023()) {
        MVX_NWLog record;
        record.setYear(m.year);
        record.setMonth(m.month);
        record.setAssets(m.cash + m.home);
        record.setLiabilities(m.loan);
        data << NWChartLog::initWithNWLog(record);
    }
    const ValueExtent extent = valueExtent(data, PlotContext {});
    EXPECT_EQ(extent.min, 0.0);
    EXPECT_EQ(extent.max, 13500.0);
    const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    const YAxisLayout layout = yAxisLayout(extent, [&](double v) { return axisLabelText(v, false, money); });
    EXPECT_EQ(layout.tickInterval, 4000.0);
    EXPECT_EQ(layout.step, 400.0);
    EXPECT_EQ(texts(layout.labels), (QStringList { u"$4,000"_s, u"$8,000"_s, u"$12,000"_s }));
    ASSERT_TRUE(layout.range);
    EXPECT_DOUBLE_EQ(layout.range->first, -480);
    EXPECT_DOUBLE_EQ(layout.range->first + layout.range->second, 16200);
}

TEST_F(HistoryYAxisTest, NegativeValuesAndTheGoalWidenTheAxis)
{
    const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    const auto format = [&](double v) { return axisLabelText(v, false, money); };
    const YAxisLayout negative = yAxisLayout(valueExtent(netWorths({ -50000, 10000 }), {}), format);
    EXPECT_EQ(texts(negative.labels),
        (QStringList {
            u"$10,000"_s, u"($10,000)"_s, u"($20,000)"_s, u"($30,000)"_s, u"($40,000)"_s, u"($50,000)"_s }));
    EXPECT_DOUBLE_EQ(negative.range->first, -60000);
    EXPECT_DOUBLE_EQ(negative.range->first + negative.range->second, 12000);

    PlotContext goal;
    goal.showGoal = true;
    goal.goal = 100000;
    const ValueExtent withGoal = valueExtent(netWorths({ 1000, 20000, 50000 }), goal);
    EXPECT_DOUBLE_EQ(withGoal.max, 105000);
    const YAxisLayout goalLayout = yAxisLayout(withGoal, plain);
    EXPECT_EQ(locations(goalLayout.labels), (QList<double> { 30000, 60000, 90000 }));
    EXPECT_DOUBLE_EQ(goalLayout.range->first, -3600);
    EXPECT_DOUBLE_EQ(goalLayout.range->first + goalLayout.range->second, 126000);
    // In changes mode the goal has no line and does not stretch the axis.
    goal.settings.displayChanges = true;
    EXPECT_DOUBLE_EQ(valueExtent(netWorths({ 1000, 20000, 50000 }), goal).max, 50000);
}

TEST_F(HistoryYAxisTest, PercentLabelsPutNegativesInParentheses)
{
    const YAxisLayout layout = yAxisLayout(
        ValueExtent { -30, 90 }, [](double v) { return axisLabelText(v, true, NWCurrencyFormatter()); });
    EXPECT_EQ(texts(layout.labels), (QStringList { u"30.00%"_s, u"60.00%"_s, u"90.00%"_s, u"(30.00%)"_s }));
    EXPECT_EQ(popupAmountText(-12.5, true), u"-12.50%"_s);
    EXPECT_EQ(popupAmountText(1234, false), u"$1,234 "_s);
}

TEST(HistoryAxisRulesTest, TickIntervalKeepsTheFirstDigit)
{
    EXPECT_EQ(tickInterval(13703.4), 4000.0); // 4567.8
    EXPECT_EQ(tickInterval(25), 8.0);
    EXPECT_EQ(tickInterval(3000), 1000.0);
    EXPECT_EQ(tickInterval(2.9), 0.0);
    EXPECT_EQ(tickInterval(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(tickInterval(std::nan("")), 0.0);
    // Every finite span has one.
    EXPECT_DOUBLE_EQ(tickInterval(1e300), 3e299);
    EXPECT_EQ(tickInterval(3e20), 1e20);
    // A third of 999,999,999,999,999, whose log10 rounds up to 15: its step and its labels.
    EXPECT_EQ(tickInterval(2999999999999997), 9e14);
    EXPECT_EQ(locations(yAxisLayout(ValueExtent { 0, 2999999999999997 }, plain).labels),
        (QList<double> { 9e14, 1.8e15, 2.7e15 }));
}

TEST(HistoryAxisRulesTest, SmallEqualHugeAndBrokenValuesNeverLoopForever)
{
    // Equal values: labels up to the value, the range still below zero.
    const YAxisLayout equal = yAxisLayout(valueExtent(netWorths({ 5000, 5000, 5000 }), {}), plain);
    EXPECT_EQ(locations(equal.labels), (QList<double> { 1000, 2000, 3000, 4000, 5000 }));
    EXPECT_DOUBLE_EQ(equal.range->first, -120);
    // Small steps (interval 8, step 0.8) still label each multiple exactly once.
    const YAxisLayout small = yAxisLayout(ValueExtent { 0, 25 }, plain);
    EXPECT_EQ(locations(small.labels), (QList<double> { 8, 16, 24 }));
    // Within ±3: nothing to label, no range.
    const YAxisLayout flat = yAxisLayout(valueExtent(netWorths({ 0.5, -2 }), {}), plain);
    EXPECT_TRUE(flat.labels.isEmpty());
    EXPECT_FALSE(flat.range);
    for (double broken : { std::numeric_limits<double>::infinity(), std::nan("") }) {
        const YAxisLayout layout
            = yAxisLayout(ValueExtent { std::min(0.0, broken), std::max(1.0, broken) }, plain);
        EXPECT_TRUE(layout.labels.isEmpty()) << broken;
        EXPECT_FALSE(layout.range) << broken;
    }
    // Huge finite values, also on both sides of 0 up to the largest double: a screenful of
    // finite labels and a finite range that holds 0.
    constexpr double most = std::numeric_limits<double>::max();
    for (const ValueExtent extent :
        { ValueExtent { -500, 1e20 }, ValueExtent { 0, 1e300 }, ValueExtent { -1e300, 1 },
            ValueExtent { -most, most }, ValueExtent { -most, -1 }, ValueExtent { -1e9, 1e300 } }) {
        SCOPED_TRACE(testing::Message() << extent.min << " to " << extent.max);
        const YAxisLayout layout = yAxisLayout(extent, plain);
        EXPECT_GE(layout.labels.size(), 2);
        EXPECT_LE(layout.labels.size(), 30);
        for (const AxisMark& mark : layout.labels)
            EXPECT_TRUE(std::isfinite(mark.location) && mark.location != 0);
        ASSERT_TRUE(layout.range);
        const double low = layout.range->first;
        const double high = low + layout.range->second;
        EXPECT_TRUE(std::isfinite(low) && std::isfinite(layout.range->second) && std::isfinite(high));
        EXPECT_LE(low, 0);
        EXPECT_GE(high, 0);
    }
    EXPECT_EQ(locations(yAxisLayout(ValueExtent { -500, 1e20 }, plain).labels),
        (QList<double> { 3e19, 6e19, 9e19 }));
    // Near the largest double too the labels are the doubles of their round amounts (three times
    // 3e307 as doubles multiply is 8.999999999999999e+307).
    const auto shortest = [](const QList<AxisMark>& marks) {
        QStringList all;
        for (const AxisMark& mark : marks)
            all << QString::number(mark.location, 'g', QLocale::FloatingPointShortest);
        return all;
    };
    EXPECT_EQ(shortest(yAxisLayout(ValueExtent { 0, 1e308 }, plain).labels),
        (QStringList { u"3e+307"_s, u"6e+307"_s, u"9e+307"_s }));
    EXPECT_EQ(shortest(yAxisLayout(ValueExtent { -1e308, 0 }, plain).labels),
        (QStringList { u"-3e+307"_s, u"-6e+307"_s, u"-9e+307"_s }));
    // A non-finite point is left out of the extent.
    const ValueExtent skipped = valueExtent(netWorths({ 100, std::nan(""), 900 }), {});
    EXPECT_EQ(skipped.max, 900);
}

TEST(HistoryAxisRulesTest, StackedBarsAndAssetsWidenTheExtent)
{
    PlotContext context;
    context.settings.displayStackChart = true;
    const ValueExtent stacked = valueExtent(netWorths({ 300, -700 }), context);
    EXPECT_EQ(stacked.min, -700);
    EXPECT_EQ(stacked.max, 300);
    context.settings.type = ChartType::AssetsAndLiabilities;
    QList<NWChartLog> data = netWorths({ 0 });
    data[0].setAssets(800);
    data[0].setLiabilities(1200);
    EXPECT_EQ(valueExtent(data, context).max, 1200);
}

TEST(HistoryXAxisTest, LabelsThinOutAsTheMonthsGrow)
{
    const auto month = [](int, int m) { return monthName(2000, m); };
    const QList<NWChartLog> year = netWorths(QList<double>(12, 1.0));
    EXPECT_EQ(texts(xAxisLabels(year, month, 12)),
        (QStringList { u"2023"_s, u"Feb"_s, u"Mar"_s, u"Apr"_s, u"May"_s, u"Jun"_s, u"Jul"_s, u"Aug"_s,
            u"Sep"_s, u"Oct"_s, u"Nov"_s, u"Dec"_s }));
    EXPECT_EQ(locations(xAxisLabels(year, month, 12)).first(), 2023 * 12 + 1);

    const QList<AxisMark> two = xAxisLabels(netWorths(QList<double>(24, 1.0)), month, 24);
    EXPECT_EQ(texts(two).mid(0, 4), (QStringList { u"2023"_s, u"Mar"_s, u"May"_s, u"Jul"_s }));
    EXPECT_EQ(texts(two).mid(6, 3), (QStringList { u"2024"_s, u"Mar"_s, u"May"_s }));
    EXPECT_EQ(two.size(), 12);

    const QList<NWChartLog> forty = netWorths(QList<double>(40, 1.0));
    EXPECT_EQ(
        texts(xAxisLabels(forty, month, 40)), (QStringList { u"2023"_s, u"2024"_s, u"2025"_s, u"2026"_s }));
    // Twelve of them in view: the month names come back.
    EXPECT_EQ(xAxisLabels(forty, month, visibleCount(40, 2, 6)).size(), 40);

    // Fifty years on 1,000 points: every fifth year.
    EXPECT_EQ(yearLabelStep(600, 1000, 44), 5);
    EXPECT_EQ(yearLabelStep(12, 1000, 44), 1);
    EXPECT_EQ(texts(xAxisLabels(forty, month, 40, 2)), (QStringList { u"2024"_s, u"2026"_s }));
}

// Every label 30 points wide with 6 between: at 5 points a month a label needs 7.2 months.
TEST(HistoryXAxisTest, LabelsWithoutRoomBesideAKeptOneAreLeftOutYearsFirst)
{
    const auto month = [](int, int m) { return monthName(2000, m); };
    const auto at = [](int year, int m) {
        NWChartLog p;
        p.setYear(year);
        p.setMonth(m);
        p.setNw(-1000);
        return p;
    };
    // November and December of 2017, December of 2018 and of 2019, January of 2020, August of 2020.
    const QList<NWChartLog> sparse { at(2017, 11), at(2017, 12), at(2018, 12), at(2019, 12), at(2020, 1),
        at(2020, 8) };
    const LabelRoom tight { 5.0, [](const QString&) { return 30.0; }, 6.0 };
    EXPECT_EQ(texts(xAxisLabels(sparse, month, 6)),
        (QStringList { u"2017"_s, u"Dec"_s, u"2018"_s, u"2019"_s, u"2020"_s, u"Aug"_s }));
    // "Dec" a month after "2017" goes; "2020" a month after "2019" goes, and "Aug" stays clear of 2019.
    EXPECT_EQ(texts(xAxisLabels(sparse, month, 6, 1, tight)),
        (QStringList { u"2017"_s, u"2018"_s, u"2019"_s, u"Aug"_s }));
    // With room enough, every label stays.
    const LabelRoom wide { 60.0, [](const QString&) { return 30.0; }, 6.0 };
    EXPECT_EQ(xAxisLabels(sparse, month, 6, 1, wide), xAxisLabels(sparse, month, 6));
    // A month name crowded by the one kept before it goes, the next one with room stays.
    const QList<NWChartLog> year = netWorths(QList<double>(12, 1.0));
    const LabelRoom half { 20.0, [](const QString&) { return 30.0; }, 6.0 };
    EXPECT_EQ(texts(xAxisLabels(year, month, 12, 1, half)),
        (QStringList { u"2023"_s, u"Mar"_s, u"May"_s, u"Jul"_s, u"Sep"_s, u"Nov"_s }));
    // October 2019, December 2019 and January 2020: "Dec" has room after "2019" but would run
    // into "2020" at 20 points a month, and at 30 it would touch "2020" with no gap between.
    const QList<NWChartLog> turn { at(2019, 10), at(2019, 12), at(2020, 1) };
    for (const double pointsPerMonth : { 20.0, 30.0 }) {
        const LabelRoom room { pointsPerMonth, [](const QString&) { return 30.0; }, 6.0 };
        EXPECT_EQ(texts(xAxisLabels(turn, month, 3, 1, room)).join(u' ').toStdString(), "2019 2020")
            << pointsPerMonth << " points a month";
    }
}

TEST(HistoryWindowTest, DateRangesEndAtTheLastRecord)
{
    const int first = 2020 * 12 + 1;
    const int last = first + 199;
    const XWindow all = visibleWindow(first, last, 0, 6);
    EXPECT_EQ(all.start, first);
    EXPECT_EQ(all.length, 199);

    const XWindow year = visibleWindow(first, last, 2, 6);
    EXPECT_EQ(year.start, last - 12);
    EXPECT_EQ(year.length, 12);
    EXPECT_EQ(visibleWindow(first, last, 1, 6).start, last - 60);
    const XWindow toDate = visibleWindow(first, last, 3, 3);
    EXPECT_EQ(toDate.start, last - 3);
    EXPECT_EQ(toDate.length, 3);

    // Five records in a twelve-month window: it still ends at the last one, and the range it
    // may pan in holds the window.
    const XWindow few = visibleWindow(first, first + 4, 2, 6);
    EXPECT_EQ(few.start + few.length, first + 4);
    EXPECT_LE(few.globalLocation, few.start);
    EXPECT_GE(few.globalLocation + few.globalLength, few.start + few.length);

    // One record: a one-month window with the point in its middle.
    const XWindow one = visibleWindow(first, first, 0, 6);
    EXPECT_EQ(one.length, 1);
    EXPECT_EQ(one.start, first - 0.5);
    EXPECT_GT(one.globalLength, 0);
    EXPECT_EQ(windowLength(first, first, 3, 0), 1);
}

TEST(HistoryWindowTest, PanningStopsOnePointBeyondTheRecords)
{
    const int first = 1000;
    const int last = 1100;
    const double u = 0.25; // months per point
    EXPECT_DOUBLE_EQ(pannedStart(1050, 10, first, last, 12, u), 1040);
    EXPECT_DOUBLE_EQ(pannedStart(1050, -10, first, last, 12, u), 1060);
    EXPECT_DOUBLE_EQ(pannedStart(1005, 40, first, last, 12, u), first - u);
    EXPECT_DOUBLE_EQ(pannedStart(1080, -40, first, last, 12, u), last - 12 + u);
    EXPECT_DOUBLE_EQ(pannedStart(1050, std::nan(""), first, last, 12, u), 1050);
}

TEST(HistoryWindowTest, SymbolsShrinkWithThePointsInView)
{
    EXPECT_EQ(symbolSize(200, 0, 6, true), 0);
    EXPECT_EQ(symbolSize(200, 2, 6, true), 11);
    EXPECT_EQ(symbolSize(200, 1, 6, true), 7);
    EXPECT_EQ(symbolSize(120, 0, 6, true), 4);
    EXPECT_EQ(symbolSize(5, 2, 6, true), 11);
    EXPECT_EQ(symbolSize(0, 0, 6, true), 0);
    EXPECT_EQ(symbolSize(12, 0, 6, false), 0);
    EXPECT_EQ(symbolSize(200, 3, 3, true), 11);
}

} // namespace
