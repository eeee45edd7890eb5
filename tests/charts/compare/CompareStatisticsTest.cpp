#include "charts/compare/CompareStatistics.h"
#include "charts/compare/CompareSettings.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;
using namespace CompareStatistics;

namespace {

const Chart& chartOf(Group group, Measure measure)
{
    for (const Chart& chart : charts()) {
        if (chart.group == group && chart.measure == measure)
            return chart;
    }
    throw std::logic_error("no such chart");
}

TEST(CompareStatistics, TablesHoldTheStatisticsInTheirSlots)
{
    const auto& country = statisticsTable(Group::Country);
    ASSERT_EQ(country.size(), 9);
    EXPECT_STREQ(country[0].label, "You");
    EXPECT_STREQ(country[0].name, "Your Net Worth");
    EXPECT_EQ(country[0].average, 0);
    EXPECT_STREQ(country[1].label, "US");
    EXPECT_EQ(country[1].average, 388585);
    EXPECT_EQ(country[1].median, 55876);
    EXPECT_STREQ(country[4].name, "Switzerland");
    EXPECT_EQ(country[4].average, 537599);
    EXPECT_STREQ(country[8].label, "FR");
    EXPECT_EQ(country[8].median, 86156);

    const auto& age = statisticsTable(Group::Age);
    ASSERT_EQ(age.size(), 7);
    EXPECT_STREQ(age[4].label, "55-64");
    EXPECT_EQ(age[4].average, 1167400);
    EXPECT_EQ(age[6].median, 264800);
    const auto& percentile = statisticsTable(Group::Percentile);
    ASSERT_EQ(percentile.size(), 7);
    EXPECT_STREQ(percentile[6].label, "90-100");
    EXPECT_EQ(percentile[6].average, 4526600);
    EXPECT_EQ(percentile[1].median, 7000);
    const auto& education = statisticsTable(Group::Education);
    ASSERT_EQ(education.size(), 5);
    EXPECT_STREQ(education[4].label, "College degree");
    EXPECT_EQ(education[4].average, 1511000);
    EXPECT_EQ(education[2].median, 67100);

    // Eight charts, an average and a median of each table, with their identifiers.
    ASSERT_EQ(charts().size(), 8u);
    EXPECT_STREQ(charts()[0].identifier, "NW_BAR_PLOT");
    EXPECT_STREQ(charts()[3].identifier, "NW_BAR_PLOT_M_AGE");
    EXPECT_STREQ(charts()[3].title, "Median family net worth by age of head");
    EXPECT_STREQ(charts()[7].identifier, "NW_BAR_PLOT_M_EDU");
    EXPECT_EQ(labels(Group::Age).first(), u"You"_s);
    EXPECT_EQ(labels(Group::Age).last(), u"> 75"_s);
}

TEST(CompareStatistics, TheUsersBarIsUnconvertedAndTheStatisticsFollowTheRate)
{
    const Chart& average = chartOf(Group::Country, Measure::Average);
    const Chart& median = chartOf(Group::Country, Measure::Median);
    EXPECT_EQ(barValue(average, 1, 300000, 2.0), 777170);
    EXPECT_EQ(barValue(median, 1, 300000, 2.0), 111752);
    EXPECT_EQ(barValue(average, 0, 300000, 2.0), 300000);
    EXPECT_EQ(barValue(average, 0, -20000, 0.5), -20000);
    EXPECT_EQ(barValue(average, 9, 300000, 1.0), std::nullopt);
    EXPECT_EQ(barValue(average, -1, 300000, 1.0), std::nullopt);
    EXPECT_EQ(barValue(chartOf(Group::Education, Measure::Median), 4, 0, 1.0), 292100);
}

TEST(CompareStatistics, CaptionsNameTheClickedBar)
{
    EXPECT_EQ(caption(Group::Country, 0), u"Your Net Worth"_s);
    EXPECT_EQ(caption(Group::Country, 2), u"Canada"_s);
    EXPECT_EQ(caption(Group::Age, 0), u"Your Net Worth"_s);
    EXPECT_EQ(caption(Group::Age, 1), u"Age group: < 35 years"_s);
    EXPECT_EQ(caption(Group::Percentile, 0), u"Percentile of income: You"_s);
    EXPECT_EQ(caption(Group::Percentile, 6), u"Percentile of income: 90-100"_s);
    EXPECT_EQ(caption(Group::Education, 0), u"You"_s);
    EXPECT_EQ(caption(Group::Education, 3), u"Some college"_s);
}

TEST(CompareStatistics, ValueAxisStepsByTheLeadingDigitOfAQuarterOfTheTop)
{
    // Own net worth 300,000 at rate 1: Switzerland's 537,599 is the top.
    const auto axis = valueAxis(537599, 0);
    EXPECT_EQ(axis.step, 100000);
    EXPECT_EQ(axis.labels, (QList<double> { 100000, 200000, 300000, 400000, 500000 }));
    EXPECT_DOUBLE_EQ(axis.range.location, -60000);
    EXPECT_NEAR(axis.range.length, 705118.8, 1e-6);

    // A negative net worth sets the bottom.
    const auto negative = valueAxis(537599, -20000);
    EXPECT_DOUBLE_EQ(negative.range.location, -24000);
    EXPECT_NEAR(negative.range.end(), 1.2 * 537599, 1e-6);

    // 4,526,600 x 2: a quarter is 2,263,300, so the step is 2,000,000, up to 1.1 x the top.
    const auto big = valueAxis(9053200, 0);
    EXPECT_EQ(big.step, 2000000);
    EXPECT_EQ(big.labels.size(), 4);
    EXPECT_EQ(big.labels.last(), 8000000);
    // 1,000 exactly: a quarter is 250, step 200, labels up to 1,100.
    EXPECT_EQ(valueAxis(1000, 0).labels, (QList<double> { 200, 400, 600, 800, 1000 }));

    // Below 4 there is no step; from 4 up to 8 the step of 1 has no half: no labels, and the
    // range is still set.
    for (double top : { 0.0, 3.0, 5.0, 7.9 }) {
        const auto small = valueAxis(top, 0);
        EXPECT_TRUE(small.labels.isEmpty()) << top;
        EXPECT_DOUBLE_EQ(small.range.location, 0) << top;
        EXPECT_DOUBLE_EQ(small.range.length, 1.2 * top) << top;
    }
    EXPECT_EQ(valueAxis(8, 0).labels, (QList<double> { 2, 4, 6, 8 }));
    // All bars below 0: the bottom is the smallest, no labels above.
    const auto allNegative = valueAxis(-5000, -5000);
    EXPECT_TRUE(allNegative.labels.isEmpty());
    EXPECT_DOUBLE_EQ(allNegative.range.location, -6000);
    EXPECT_DOUBLE_EQ(allNegative.range.length, 0);
    EXPECT_TRUE(valueAxis(std::numeric_limits<double>::infinity(), 0).labels.isEmpty());
    EXPECT_LE(valueAxis(1e300, 0).labels.size(), 50);
    // Up to the largest doubles on both sides of 0: a few finite labels, a finite range holding 0.
    constexpr double most = std::numeric_limits<double>::max();
    for (const auto& [top, bottom] : std::initializer_list<std::pair<double, double>> {
             { most, -most }, { most, 0 }, { 1e20, -500 }, { -most, -most } }) {
        SCOPED_TRACE(testing::Message() << top << " over " << bottom);
        const auto axis = valueAxis(top, bottom);
        EXPECT_LE(axis.labels.size(), 64);
        if (top > 0) {
            EXPECT_GE(axis.labels.size(), 4);
        }
        for (double label : axis.labels)
            EXPECT_TRUE(std::isfinite(label));
        EXPECT_TRUE(axis.range.isFinite());
        EXPECT_LE(axis.range.minLimit(), std::max(0.0, bottom));
    }
}

class CompareSettingsTest : public mervane::test::TempHomeTest { };

TEST_F(CompareSettingsTest, OnlyAFiniteRateAboveZeroIsTakenAndItIsKeptInSinglePrecision)
{
    EXPECT_EQ(CompareSettings::parseRate(u"2"_s).valueOr(0.0), 2.0);
    EXPECT_EQ(CompareSettings::parseRate(u" 0.92 "_s).valueOr(0.0), double(0.92f));
    EXPECT_EQ(CompareSettings::parseRate(u"1,250.5"_s).valueOr(0.0), 1250.5);
    for (const QString& refused :
        { u"abc"_s, u""_s, u"0"_s, u"-1.5"_s, u"2x"_s, u"inf"_s, u"nan"_s, u"1e39"_s, u"1e-50"_s })
        EXPECT_FALSE(CompareSettings::parseRate(refused)) << refused.toStdString();

    // Absent: none. Stored: read back in single precision.
    EXPECT_EQ(CompareSettings::exchangeRate(), std::nullopt);
    CompareSettings::setExchangeRate(0.92);
    EXPECT_EQ(CompareSettings::exchangeRate(), double(0.92f));
    EXPECT_EQ(platform::UserDefaults::standard().real(u"ExchangeRate"_s), double(0.92f));
    // A 0 or a negative number left by an older build is no rate.
    platform::UserDefaults::standard().setValue(u"ExchangeRate"_s, 0.0);
    EXPECT_EQ(CompareSettings::exchangeRate(), std::nullopt);
    platform::UserDefaults::standard().setValue(u"ExchangeRate"_s, -3.0);
    EXPECT_EQ(CompareSettings::exchangeRate(), std::nullopt);

    EXPECT_EQ(CompareSettings::rateText(2.0), u"2"_s);
    EXPECT_EQ(CompareSettings::rateText(double(0.92f)), u"0.92"_s);
}

TEST_F(CompareSettingsTest, RatesBeyondTheDownloadsBoundsAreRefusedWithTheBoundsAndReadAsNone)
{
    // What single precision made of "1e-40", "3.4e38" and "99999999999", and what lies just
    // beyond either bound.
    for (const QString& absurd :
        { u"1e-40"_s, u"3.4e38"_s, u"99999999999"_s, u"0.0000999"_s, u"1000000.5"_s, u"1e300"_s }) {
        const auto refused = CompareSettings::parseRate(absurd);
        ASSERT_FALSE(refused) << absurd.toStdString();
        EXPECT_TRUE(refused.error().contains(u"\""_s + absurd + u"\""_s)) << refused.error().toStdString();
        EXPECT_TRUE(refused.error().contains(u"0.0001"_s)) << refused.error().toStdString();
        EXPECT_TRUE(refused.error().contains(u"1,000,000"_s)) << refused.error().toStdString();
    }
    // A pasted novel is cut in the message.
    EXPECT_LT(CompareSettings::parseRate(QString(500, u'x')).error().size(), 200);
    for (const double stored : { 9.99995e-41, 3.4e38, 99999997952.0, 9.99e-5, 1000001.0 }) {
        platform::UserDefaults::standard().setValue(u"ExchangeRate"_s, stored);
        EXPECT_EQ(CompareSettings::exchangeRate(), std::nullopt) << stored;
    }

    // The bounds themselves are rates, and read back after single precision.
    for (const auto& [text, rate] :
        std::initializer_list<std::pair<QString, double>> { { u"0.0001"_s, 1e-4 }, { u"1000000"_s, 1e6 } }) {
        const auto taken = CompareSettings::parseRate(text);
        ASSERT_TRUE(taken) << text.toStdString();
        EXPECT_EQ(*taken, double(float(rate)));
        CompareSettings::setExchangeRate(*taken);
        EXPECT_EQ(CompareSettings::exchangeRate(), double(float(rate)));
    }
}

} // namespace
