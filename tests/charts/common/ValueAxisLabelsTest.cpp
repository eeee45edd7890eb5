#include "charts/common/ValueAxisLabels.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cfloat>
#include <cmath>
#include <utility>

namespace {

constexpr double kHeadroom = 1.1;

// A screenful on each side of 0.
constexpr qsizetype kMostLabels = 2 * 21;

struct Extent {
    double top;
    double bottom;
};

} // namespace

TEST(ValueAxisLabels, TheIntervalIsTheLeadingDigitOfAFifthAtEveryFiniteTop)
{
    EXPECT_EQ(ValueAxisLabels::labelInterval(12345), 2000);
    EXPECT_EQ(ValueAxisLabels::labelInterval(999999), 100000);
    EXPECT_EQ(ValueAxisLabels::labelInterval(49), 9);
    EXPECT_EQ(ValueAxisLabels::labelInterval(5), 1);
    // Beyond what a 64-bit integer holds the rule goes on.
    EXPECT_EQ(ValueAxisLabels::labelInterval(1e20), 2e19);
    EXPECT_EQ(ValueAxisLabels::labelInterval(4.7e19), 9e18);
    EXPECT_DOUBLE_EQ(ValueAxisLabels::labelInterval(1e300), 2e299);
    EXPECT_DOUBLE_EQ(ValueAxisLabels::labelInterval(DBL_MAX), 3e307);
    for (double none : { 4.99, 1e-300, 0.0, -5.0, -DBL_MAX, HUGE_VAL, -HUGE_VAL, std::nan("") })
        EXPECT_EQ(ValueAxisLabels::labelInterval(none), 0) << none;

    // A huge top keeps its own interval beside a loss, instead of taking the loss's.
    EXPECT_EQ(ValueAxisLabels::labelInterval(1e20, -500), 2e19);
    EXPECT_DOUBLE_EQ(ValueAxisLabels::labelInterval(1e300, -1e9), 2e299);
    EXPECT_EQ(ValueAxisLabels::labelInterval(-500, -1e20), 2e19);
    EXPECT_EQ(ValueAxisLabels::labelInterval(3, -500), 100);
}

TEST(ValueAxisLabels, AScreenfulOfFiniteLabelsForAnyFiniteValues)
{
    const std::initializer_list<Extent> extents { { 1e20, -500 }, { 1e300, -1e9 }, { DBL_MAX, -DBL_MAX },
        { DBL_MAX, 0 }, { 1.7e308, -1.7e308 }, { -1, -DBL_MAX }, { -500, -1e20 }, { 100, -1e300 },
        { 1e-300, -1e-300 }, { 0, 0 }, { 4, -4 }, { 12345, 0 }, { 105000, -45000 }, { 9.2e18, -1 } };
    for (const Extent& extent : extents) {
        SCOPED_TRACE(testing::Message() << extent.top << " over " << extent.bottom);
        const double interval = ValueAxisLabels::labelInterval(extent.top, extent.bottom);
        const QList<double> labels = ValueAxisLabels::labels(extent.top, extent.bottom, interval, kHeadroom);
        EXPECT_LE(labels.size(), kMostLabels);
        bool reachesTop = false;
        bool reachesBottom = false;
        for (double label : labels) {
            ASSERT_TRUE(std::isfinite(label));
            EXPECT_NE(label, 0);
            EXPECT_LE(label, extent.top * kHeadroom);
            EXPECT_GE(label, extent.bottom);
            // On the multiples of the interval.
            EXPECT_NEAR(std::remainder(label / interval, 1.0), 0.0, 1e-9) << label;
            reachesTop |= label > 0 && label + 2 * interval > extent.top;
            reachesBottom |= label < 0 && label - 2 * interval < extent.bottom;
        }
        // Labels wherever the bars reach a whole interval from 0, over most of their height.
        if (interval > 0 && extent.top >= interval * 1.0000001) {
            EXPECT_TRUE(reachesTop);
        }
        if (interval > 0 && -extent.bottom >= interval * 1.0000001 && -extent.bottom / interval < 20) {
            EXPECT_TRUE(reachesBottom);
        }
    }
    EXPECT_EQ(ValueAxisLabels::labels(1e20, -500, ValueAxisLabels::labelInterval(1e20, -500), kHeadroom),
        (QList<double> { 2e19, 4e19, 6e19, 8e19, 1e20 }));
    EXPECT_TRUE(ValueAxisLabels::labels(4, -4, ValueAxisLabels::labelInterval(4, -4), kHeadroom).isEmpty());
    // At the largest doubles the labels are the doubles of their round amounts, and read so:
    // three times 3e307 as doubles multiply is 8.999999999999999e+307, "$89,999,999,...".
    const auto starts = [](const QList<double>& labels) {
        QStringList all;
        for (double label : labels)
            all << ValueAxisLabels::text(label).left(13);
        return all;
    };
    EXPECT_EQ(starts(ValueAxisLabels::labels(DBL_MAX, 0, ValueAxisLabels::labelInterval(DBL_MAX), kHeadroom)),
        (QStringList { QStringLiteral("$30,000,000,0"), QStringLiteral("$60,000,000,0"),
            QStringLiteral("$90,000,000,0"), QStringLiteral("$120,000,000,"),
            QStringLiteral("$150,000,000,") }));
    EXPECT_EQ(starts(ValueAxisLabels::labels(
                  -1, -DBL_MAX, ValueAxisLabels::labelInterval(-1, -DBL_MAX), kHeadroom)),
        (QStringList { QStringLiteral("($30,000,000,"), QStringLiteral("($60,000,000,"),
            QStringLiteral("($90,000,000,"), QStringLiteral("($120,000,000"),
            QStringLiteral("($150,000,000") }));
}

// Whatever interval a caller hands over, the walk ends within a screenful: an interval far too
// small for the values is thinned on both sides, a tiny or huge one gives few or none.
TEST(ValueAxisLabels, TheWalkIsBoundedForAnyInterval)
{
    for (const auto& [extent, interval] : std::initializer_list<std::pair<Extent, double>> {
             { { 1e20, -500 }, 100 }, { { 500, -1e20 }, 100 }, { { DBL_MAX, -DBL_MAX }, 1 },
             { { 1e20, -1e20 }, 1e-300 }, { { 1e20, -1e20 }, DBL_MAX }, { { 1e20, -1e20 }, 5e-324 } }) {
        SCOPED_TRACE(testing::Message() << extent.top << " over " << extent.bottom << " by " << interval);
        const QList<double> labels = ValueAxisLabels::labels(extent.top, extent.bottom, interval, kHeadroom);
        EXPECT_LE(labels.size(), kMostLabels);
        for (double label : labels)
            EXPECT_TRUE(std::isfinite(label) && label != 0);
    }
    // The thinned labels still stand on multiples of the interval.
    const QList<double> thinned = ValueAxisLabels::labels(1e6, -1e6, 100, kHeadroom);
    EXPECT_GE(thinned.size(), 20);
    for (double label : thinned)
        EXPECT_EQ(std::fmod(label, 100.0), 0) << label;
}

TEST(ValueAxisLabels, TheRangeHoldsZeroAndStaysFinite)
{
    // Ordinary values: the factor times each end.
    const chart::PlotRange plain = ValueAxisLabels::valueRange(-500, 12345, 1.2);
    EXPECT_DOUBLE_EQ(plain.location, -600);
    EXPECT_DOUBLE_EQ(plain.end(), 14814);
    const chart::PlotRange huge = ValueAxisLabels::valueRange(-500, 1e20, 1.2);
    EXPECT_DOUBLE_EQ(huge.end(), 1.2e20);
    EXPECT_DOUBLE_EQ(huge.location, -600);
    // Both ends far below 0 stay finite too.
    EXPECT_TRUE(ValueAxisLabels::valueRange(-DBL_MAX, -DBL_MAX, 1.2).isFinite());
    EXPECT_TRUE(ValueAxisLabels::valueRange(-DBL_MAX, -1e300, 1.2).isFinite());
    for (const Extent& extent : std::initializer_list<Extent> {
             { DBL_MAX, -DBL_MAX }, { DBL_MAX, 0 }, { 0, -DBL_MAX }, { 1e308, -1e308 }, { 0, 0 } }) {
        SCOPED_TRACE(testing::Message() << extent.top << " over " << extent.bottom);
        const chart::PlotRange range = ValueAxisLabels::valueRange(extent.bottom, extent.top, 1.2);
        EXPECT_TRUE(range.isFinite());
        EXPECT_LE(range.minLimit(), 0);
        EXPECT_GE(range.maxLimit(), 0);
        // 0 keeps its place: as far up the range as the lower end's share of the extent.
        if (extent.top > extent.bottom) {
            EXPECT_NEAR(-range.location / range.length,
                -extent.bottom / 2 / (extent.top / 2 - extent.bottom / 2), 1e-9);
        }
    }
}
