#include "charts/annual/AnnualChartData.h"
#include "charts/annual/AnnualChartSettings.h"
#include "model/data/MVX_NWLog.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace AnnualChartData;

namespace {

std::shared_ptr<MVX_NWLog> record(
    std::optional<int> year, std::optional<int> month, double assets, double liabilities)
{
    auto log = std::make_shared<MVX_NWLog>();
    log->setYear(year);
    log->setMonth(month);
    log->setAssets(assets);
    log->setLiabilities(liabilities);
    return log;
}

NWAnnualLog yearEnd(int year, double value)
{
    NWAnnualLog point;
    point.setYear(year);
    point.setAssets(value);
    return point;
}

QList<double> values(const QList<NWAnnualLog>& points)
{
    QList<double> result;
    for (const auto& point : points)
        result.append(value(point));
    return result;
}

QList<int> years(const QList<NWAnnualLog>& points)
{
    QList<int> result;
    for (const auto& point : points)
        result.append(point.year());
    return result;
}

TEST(AnnualChartDataTest, EachYearTakesItsHighestMonthFirstInStoreOrder)
{
    const MVX_NWLogList records { record(2020, 5, 500, 50), record(2019, 11, 300, 100),
        record(2019, 12, 400, 10), record(2019, 12, 999, 0), record(std::nullopt, 12, 7, 0),
        record(2018, std::nullopt, 80, 0), record(2019, 3, 5000, 0) };
    const QList<NWAnnualLog> points = yearEndPoints(records);
    EXPECT_EQ(years(points), (QList<int> { 2018, 2019, 2020 }));
    EXPECT_EQ(values(points), (QList<double> { 80, 390, 450 }));
    EXPECT_EQ(points[1].assets(), 400);
    EXPECT_EQ(points[1].liabilities(), 10);
    for (const auto& point : points)
        EXPECT_FALSE(point.isTrendPoint());
    EXPECT_TRUE(yearEndPoints({}).isEmpty());
}

TEST(AnnualChartDataTest, TrendProjectsTheLeastSquaresLineByPositionNotYear)
{
    // A missing year (2016) leaves no gap: the values sit at 0, 1, 2.
    const QList<NWAnnualLog> ends { yearEnd(2015, 10), yearEnd(2017, 20), yearEnd(2018, 30) };
    const QList<NWAnnualLog> trend = trendPoints(ends, 3, 3);
    EXPECT_EQ(years(trend), (QList<int> { 2019, 2020, 2021 }));
    EXPECT_EQ(values(trend), (QList<double> { 40, 50, 60 }));
    for (const auto& point : trend) {
        EXPECT_TRUE(point.isTrendPoint());
        EXPECT_EQ(point.liabilities(), 0);
    }

    // Only the newest two are fitted: 20 -> 35 rises by 15.
    const QList<NWAnnualLog> bent { yearEnd(2015, 100), yearEnd(2016, 20), yearEnd(2017, 35) };
    EXPECT_EQ(values(trendPoints(bent, 2, 2)), (QList<double> { 50, 65 }));
    // 0, a negative count or more than there are fit all of them (slope -32.5).
    EXPECT_EQ(values(trendPoints(bent, 1, 0)), values(trendPoints(bent, 1, 7)));
    EXPECT_DOUBLE_EQ(values(trendPoints(bent, 1, -1)).value(0), 155.0 / 3 + 32.5 - 3 * 32.5);

    EXPECT_TRUE(trendPoints(ends, 0, 3).isEmpty());
    EXPECT_TRUE(trendPoints(ends, -4, 3).isEmpty());
    EXPECT_TRUE(trendPoints({}, 3, 3).isEmpty());
}

TEST(AnnualChartDataTest, TrendOfASingleYearIsFlatAndFinite)
{
    const QList<NWAnnualLog> trend = trendPoints({ yearEnd(2021, 1234.5) }, 3, 3);
    EXPECT_EQ(values(trend), (QList<double> { 1234.5, 1234.5, 1234.5 }));
    EXPECT_EQ(years(trend), (QList<int> { 2022, 2023, 2024 }));
    // Fitting one value of several gives the same flat line.
    const QList<NWAnnualLog> ends { yearEnd(2019, 10), yearEnd(2020, 90) };
    EXPECT_EQ(values(trendPoints(ends, 2, 1)), (QList<double> { 90, 90 }));
}

TEST(AnnualChartDataTest, WindowShowsTheNewestPointsWithTheTrendLast)
{
    QList<NWAnnualLog> points;
    for (int year = 2001; year <= 2015; ++year)
        points.append(yearEnd(year, year));
    points += trendPoints(points, 3, 3);

    const int slotTotal = slotCount(10, true, 3);
    EXPECT_EQ(slotTotal, 13);
    EXPECT_EQ(windowStart(points.size(), slotTotal), 5);
    const QList<NWAnnualLog> shown = visibleWindow(points, slotTotal);
    ASSERT_EQ(shown.size(), 13);
    EXPECT_EQ(shown.first().year(), 2006);
    EXPECT_EQ(shown[9].year(), 2015);
    EXPECT_FALSE(shown[9].isTrendPoint());
    EXPECT_TRUE(shown[10].isTrendPoint());
    EXPECT_EQ(shown.last().year(), 2018);

    // Fewer points than slots: they fill the slots from the left.
    EXPECT_EQ(slotCount(10, false, 3), 10);
    EXPECT_EQ(windowStart(4, 10), 0);
    EXPECT_EQ(years(visibleWindow(points.mid(0, 4), 10)), (QList<int> { 2001, 2002, 2003, 2004 }));
    // A stored count below 0 takes no slots away.
    EXPECT_EQ(slotCount(10, true, -30), 10);
    EXPECT_TRUE(visibleWindow(points, 0).isEmpty());
}

TEST(AnnualChartDataTest, YearAxisLabelsEveryShownSlotAndTheExtent)
{
    const QList<NWAnnualLog> shown { yearEnd(2015, 500), yearEnd(2017, -200), yearEnd(2018, 1500) };
    const YearAxis axis = yearAxis(shown, std::nullopt);
    EXPECT_EQ(axis.labels, (QStringList { u"2015"_s, u"2017"_s, u"2018"_s }));
    EXPECT_EQ(axis.ticks, (QList<double> { 0, 1, 2 }));
    EXPECT_EQ(axis.top, 1500);
    EXPECT_EQ(axis.bottom, -200);

    EXPECT_EQ(yearAxis(shown, 2000.0).top, 2000);
    EXPECT_EQ(yearAxis(shown, 1000.0).top, 1500);
    EXPECT_EQ(yearAxis({ yearEnd(2020, 30) }, std::nullopt).bottom, 0);

    const YearAxis empty = yearAxis({}, std::nullopt);
    EXPECT_TRUE(empty.labels.isEmpty());
    EXPECT_EQ(empty.top, noTop);
    const QList<NWAnnualLog> odd { yearEnd(2020, std::numeric_limits<double>::infinity()),
        yearEnd(2021, 10) };
    EXPECT_EQ(yearAxis(odd, std::nullopt).top, 10);
}

TEST(AnnualChartDataTest, LabelIntervalIsTheLeadingDigitOfAFifth)
{
    EXPECT_EQ(labelInterval(123456), 20000);
    EXPECT_EQ(labelInterval(105000), 20000);
    EXPECT_EQ(labelInterval(999999), 100000);
    EXPECT_EQ(labelInterval(49), 9);
    EXPECT_EQ(labelInterval(4.99), 0);
    EXPECT_EQ(labelInterval(-123456), 0);
    EXPECT_EQ(labelInterval(noTop), 0);
    // Every finite top has one, also beyond what a 64-bit integer holds.
    EXPECT_DOUBLE_EQ(labelInterval(1e300), 2e299);
    EXPECT_EQ(labelInterval(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(labelInterval(std::nan("")), 0);
}

TEST(AnnualChartDataTest, YearLabelsThinOutOnlyWhenWiderThanASlot)
{
    EXPECT_EQ(yearLabelStride(60, 30), 1);
    EXPECT_EQ(yearLabelStride(30, 30), 1);
    EXPECT_EQ(yearLabelStride(15, 31), 3);
    EXPECT_EQ(yearLabelStride(0, 30), 1);
    EXPECT_EQ(yearLabelStride(std::nan(""), 30), 1);
    EXPECT_EQ(yearLabelStride(1e-300, 30), 1000);
}

TEST(AnnualChartDataTest, ValueAxisLabelsAndRange)
{
    const ValueAxis axis = valueAxis(123456, 0);
    EXPECT_EQ(axis.labels, (QList<double> { 20000, 40000, 60000, 80000, 100000, 120000 }));
    EXPECT_DOUBLE_EQ(axis.range.location, double(1.2f) * -2000);
    EXPECT_DOUBLE_EQ(axis.range.length, double(1.2f) * (123456 + 2000));

    // Below 0 the labels go down to the lowest value, never at 0, and the range starts there.
    const ValueAxis mixed = valueAxis(105000, -45000);
    EXPECT_EQ(mixed.labels, (QList<double> { 20000, 40000, 60000, 80000, 100000, -20000, -40000 }));
    EXPECT_DOUBLE_EQ(mixed.range.location, double(1.2f) * -45000);

    // Only negative net worth: labels down to the lowest, by the interval of its depth; the
    // range from 1.2 x the lowest up past 0 by a tenth of that interval, where the bars hang from.
    const ValueAxis negative = valueAxis(-50, -100);
    EXPECT_EQ(negative.labels, (QList<double> { -20, -40, -60, -80, -100 }));
    EXPECT_DOUBLE_EQ(negative.range.location, double(1.2f) * -100);
    EXPECT_DOUBLE_EQ(negative.range.end(), double(1.2f) * 2);
    const ValueAxis losses = valueAxis(-342361, -1850000);
    EXPECT_EQ(losses.interval, 300000);
    EXPECT_EQ(losses.labels.size(), 6);
    EXPECT_GT(losses.range.end(), 0);
    EXPECT_LT(losses.range.location, -1850000);

    // A single-digit interval still labels, stepping by it.
    EXPECT_EQ(valueAxis(45, 0).labels, (QList<double> { 9, 18, 27, 36, 45 }));
}

TEST(AnnualChartDataTest, ValueAxisStaysSmallAndFiniteForOddExtents)
{
    for (const auto& [top, bottom] :
        std::initializer_list<std::pair<double, double>> { { noTop, 0 }, { -100, -100 }, { 1e300, 0 },
            { std::numeric_limits<double>::infinity(), 0 }, { std::nan(""), -5 }, { 100, -1e12 },
            { 100, -std::numeric_limits<double>::infinity() }, { 1e17, -3e18 }, { 1e20, -500 },
            { 1e300, -1e9 }, { std::numeric_limits<double>::max(), -std::numeric_limits<double>::max() },
            { -1, -std::numeric_limits<double>::max() }, { 1e-300, -1e-300 } }) {
        SCOPED_TRACE(testing::Message() << top << " " << bottom);
        const ValueAxis axis = valueAxis(top, bottom);
        EXPECT_LE(axis.labels.size(), 40);
        for (double label : axis.labels) {
            EXPECT_TRUE(std::isfinite(label));
            EXPECT_NE(label, 0);
        }
        EXPECT_TRUE(axis.range.isFinite());
        EXPECT_GT(axis.range.length, 0);
        EXPECT_TRUE(axis.range.contains(0));
    }
    // A year-end of 1e20 beside one below 0 is labelled by its own interval, not the loss's.
    const ValueAxis huge = valueAxis(1e20, -500);
    EXPECT_EQ(huge.labels, (QList<double> { 2e19, 4e19, 6e19, 8e19, 1e20 }));
    EXPECT_DOUBLE_EQ(huge.range.end(), double(1.2f) * 1e20);
    // Far below 0 the labels thin out but stay on multiples of the interval.
    const ValueAxis deep = valueAxis(100, -1e12);
    EXPECT_GT(deep.labels.size(), 10);
    for (double label : deep.labels) {
        EXPECT_EQ(std::fmod(label, 20.0), 0);
        EXPECT_GE(label, -1e12);
    }
    // One negative value shows its bar from 0 down.
    const ValueAxis single = valueAxis(-100, -100);
    EXPECT_LE(single.range.minLimit(), -100);
    EXPECT_GE(single.range.maxLimit(), 0);
}

TEST(AnnualChartDataTest, SlotRangeCoversEverySlotAndTheBars)
{
    const auto expectRange = [](const chart::PlotRange& range, double low, double high) {
        const double margin = (high - low) * 0.1;
        EXPECT_DOUBLE_EQ(range.minLimit(), low - margin);
        EXPECT_DOUBLE_EQ(range.maxLimit(), high + margin);
    };
    // Four bars in ten slots: from the first bar's edge to the last slot.
    const QList<NWAnnualLog> four { yearEnd(2001, 1), yearEnd(2002, 2), yearEnd(2003, 3), yearEnd(2004, 4) };
    expectRange(slotRange(10, four), -0.35, 9);
    QList<NWAnnualLog> full;
    for (int i = 0; i < 5; ++i)
        full.append(yearEnd(2000 + i, 1));
    expectRange(slotRange(5, full), -0.35, 4.35);
    expectRange(slotRange(5, {}), 0, 4);
}

class AnnualChartSettingsTest : public mervane::test::TempHomeTest { };

TEST_F(AnnualChartSettingsTest, FallbacksAndComboChoices)
{
    EXPECT_FALSE(AnnualChartSettings::trendLine());
    EXPECT_EQ(AnnualChartSettings::trendPeriod(), 3);
    EXPECT_EQ(AnnualChartSettings::trendPeriodPre(), 3);
    AnnualChartSettings::setTrendLine(true);
    AnnualChartSettings::setTrendPeriod(2);
    AnnualChartSettings::setTrendPeriodPre(7);
    EXPECT_TRUE(AnnualChartSettings::trendLine());
    EXPECT_EQ(AnnualChartSettings::trendPeriod(), 2);
    EXPECT_EQ(AnnualChartSettings::trendPeriodPre(), 7);

    using AnnualChartSettings::ComboChoice;
    using AnnualChartSettings::comboChoice;
    EXPECT_EQ(comboChoice(2), (ComboChoice { 0, 2 }));
    EXPECT_EQ(comboChoice(-5), (ComboChoice { 0, -5 }));
    EXPECT_EQ(comboChoice(3), (ComboChoice { 0, 3 }));
    EXPECT_EQ(comboChoice(7), (ComboChoice { 4, 7 }));
    EXPECT_EQ(comboChoice(AnnualChartSettings::mostTrendYears),
        (ComboChoice { AnnualChartSettings::trendComboItemCount - 1, AnnualChartSettings::mostTrendYears }));
    EXPECT_EQ(comboChoice(AnnualChartSettings::mostTrendYears + 1), (ComboChoice { 0, 3 }));
}

TEST_F(AnnualChartSettingsTest, StoredCountsAreNeverNegativeNorWrapAround)
{
    auto& defaults = platform::UserDefaults::standard();
    defaults.setValue(AnnualChartSettings::trendPeriodKey, qint64(std::numeric_limits<int>::min()) * 4);
    defaults.setValue(AnnualChartSettings::trendPeriodPreKey, 1e300);
    EXPECT_EQ(AnnualChartSettings::trendPeriod(), 0);
    EXPECT_EQ(AnnualChartSettings::trendPeriodPre(), std::numeric_limits<int>::max() / 2);
    // Beyond the last item the combo box shows the fallback.
    EXPECT_EQ(AnnualChartSettings::comboChoice(AnnualChartSettings::trendPeriodPre()).count, 3);
    defaults.setValue(AnnualChartSettings::trendPeriodKey, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(AnnualChartSettings::trendPeriod(), AnnualChartSettings::defaultTrendPeriod);
}

} // namespace
