#include "charts/common/CurveFit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QList<double> kPositions { 0, 1, 2, 3, 4 };
const QList<double> kRising { 10, 20, 30, 40, 50 };

void expectFiniteFlatLine(const CurveFit& fit, double level)
{
    ASSERT_TRUE(std::isfinite(fit.a()) && std::isfinite(fit.b()));
    EXPECT_DOUBLE_EQ(fit.b(), 0);
    EXPECT_DOUBLE_EQ(fit.a(), level);
    EXPECT_DOUBLE_EQ(fit.getYValueForX(12), level);
}

TEST(CurveFitTest, FitsOnlyTheNewestPoints)
{
    // The first two points lie off the line through the last three: a fit over all five
    // would not give slope 10 and intercept 10.
    CurveFit fit;
    fit.calculateTrend(kPositions, { 500, -80, 30, 40, 50 }, 3);
    EXPECT_DOUBLE_EQ(fit.b(), 10);
    EXPECT_DOUBLE_EQ(fit.a(), 10);
    EXPECT_DOUBLE_EQ(fit.getYValueForX(5), 60);
}

TEST(CurveFitTest, ZeroOrTooLargeSampleCountsFitEveryPoint)
{
    for (const int samples : { 0, 5, 7, -2 }) {
        SCOPED_TRACE(samples);
        CurveFit fit;
        fit.calculateTrend(kPositions, { 12, 18, 30, 42, 48 }, samples);
        EXPECT_DOUBLE_EQ(fit.b(), 9.6);
        EXPECT_NEAR(fit.a(), 10.8, 1e-12);
    }
}

TEST(CurveFitTest, ConstantValuesGiveAFlatLine)
{
    CurveFit fit;
    fit.calculateTrend({ 0, 1, 2 }, { 5, 5, 5 }, 0);
    expectFiniteFlatLine(fit, 5);
}

TEST(CurveFitTest, ArraysOfDifferentLengthsKeepThePreviousLine)
{
    CurveFit fit;
    EXPECT_EQ(fit.getYValueForX(3), 0); // a new fit is the line y = 0
    fit.calculateTrend(kPositions, kRising, 0);
    fit.calculateTrend({ 0, 1, 2 }, { 1, 2, 3, 4 }, 0);
    EXPECT_DOUBLE_EQ(fit.b(), 10);
    EXPECT_DOUBLE_EQ(fit.a(), 10);
}

TEST(CurveFitTest, UndefinedSlopesGiveAFlatLineThroughTheMean)
{
    {
        SCOPED_TRACE("all fitted x equal");
        // Summed in doubles, 0.7 three times leaves a denominator of rounding error, not 0.
        CurveFit fit;
        fit.calculateTrend({ 9, 0.7, 0.7, 0.7 }, { 100, 1, 2, 6 }, 3);
        expectFiniteFlatLine(fit, 3);
    }
    {
        SCOPED_TRACE("one fitted point");
        CurveFit fit;
        fit.calculateTrend(kPositions, kRising, 1);
        expectFiniteFlatLine(fit, 50);
    }
    {
        SCOPED_TRACE("a single point");
        CurveFit fit;
        fit.calculateTrend({ 7 }, { -4 }, 0);
        expectFiniteFlatLine(fit, -4);
    }
    {
        SCOPED_TRACE("no points");
        CurveFit fit;
        fit.calculateTrend(kPositions, kRising, 0);
        fit.calculateTrend({}, {}, 0);
        expectFiniteFlatLine(fit, 0);
    }
}

} // namespace
