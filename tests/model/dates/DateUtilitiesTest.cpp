#include "model/dates/DateUtilities.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <QTimeZone>

#include <ctime>
#include <optional>

namespace {

using D = DateUtilities;

// Runs a test in another time zone and restores the previous one afterwards.
class DateUtilitiesTimeZone : public ::testing::Test {
protected:
    void useZone(const char* zone)
    {
        qputenv("TZ", zone);
        tzset();
    }
    void TearDown() override
    {
        if (m_saved)
            qputenv("TZ", *m_saved);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    std::optional<QByteArray> m_saved
        = qEnvironmentVariableIsSet("TZ") ? std::optional(qgetenv("TZ")) : std::nullopt;
};

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

TEST(DateUtilities, MonthDatesAreLocalMidnightOfTheFirstAndRollOver)
{
    EXPECT_EQ(D::dateWithYear(2020, 3), D::dateWithYear(2020, 3, 1));
    EXPECT_EQ(D::dateWithYear(2020, 3), D::dateWithYear(2020, 3));
    EXPECT_EQ(D::dateWithYear(2020, 3), at(2020, 3, 1));

    EXPECT_EQ(D::dateWithYear(2020, 0), at(2019, 12, 1));
    EXPECT_EQ(D::dateWithYear(2020, 13), at(2021, 1, 1));
    EXPECT_EQ(D::dateWithYear(2020, -11), at(2019, 1, 1));
    EXPECT_EQ(D::dateWithYear(2020, 25), at(2022, 1, 1));
    EXPECT_EQ(D::dateWithYear(2020, 3, 0), at(2020, 2, 29));
    EXPECT_EQ(D::dateWithYear(2021, 2, 29), at(2021, 3, 1));
    EXPECT_EQ(D::dateWithYear(1900, 1, 1), at(1900, 1, 1));

    for (const int year : { std::numeric_limits<int>::min(), -1, 0, 1, std::numeric_limits<int>::max() }) {
        for (const int month : { std::numeric_limits<int>::min(), 0, 13, std::numeric_limits<int>::max() })
            EXPECT_TRUE(D::dateWithYear(year, month).isValid()) << year << " " << month;
    }
}

TEST(DateUtilities, DayNumbersCountCalendarDaysFromNineteenHundred)
{
    EXPECT_EQ(D::dayNumber(1900, 1), 0);
    EXPECT_EQ(D::dayNumber(1900, 2), 31);
    EXPECT_EQ(D::dayNumber(2020, 3), 43889);
    EXPECT_EQ(D::dayNumber(2024, 3), 45350);
    EXPECT_EQ(D::dayNumber(2020, 0), D::dayNumber(2019, 12));
    EXPECT_EQ(D::dayNumber(2020, 13), D::dayNumber(2021, 1));
    EXPECT_EQ(D::dayNumber(1899, 12), -31);
}

TEST(DateUtilities, DistancesDivideSecondsAndTruncateTowardZero)
{
    const QDateTime start = at(1900, 1, 1);
    EXPECT_EQ(D::daysAfterDate(at(1900, 1, 2), start), 1);
    EXPECT_EQ(D::daysAfterDate(at(1900, 1, 2), at(1900, 1, 1, 0, 0, 1)), 0);
    EXPECT_EQ(D::daysAfterDate(start.addSecs(-129600), start), -1);
    EXPECT_EQ(D::daysBeforeDate(start.addSecs(-129600), start), 1);
    EXPECT_EQ(D::daysAfterDate(D::dateWithYear(2020, 3), D::dateWithYear(1900, 1, 1)), 43889);

    const QDateTime noon = at(2020, 5, 5, 12);
    EXPECT_EQ(D::hoursAfterDate(noon.addSecs(7199), noon), 1);
    EXPECT_EQ(D::hoursBeforeDate(noon.addSecs(7199), noon), -1);
    EXPECT_EQ(D::minutesAfterDate(noon.addSecs(-119), noon), -1);
    EXPECT_EQ(D::minutesBeforeDate(noon.addSecs(-119), noon), 1);

    EXPECT_EQ(D::distanceInDaysToDate(noon, at(2020, 5, 8, 11, 59)), 2);
    EXPECT_EQ(D::distanceInDaysToDate(noon, at(2020, 5, 8, 12)), 3);
    EXPECT_EQ(D::distanceInDaysToDate(noon, at(2020, 5, 2, 12, 1)), -2);
}

TEST(DateUtilities, MonthsAfterDateCountsCalendarMonthsAndNeverGoesNegative)
{
    EXPECT_EQ(D::monthsAfterDate(D::dateWithYear(2020, 3), D::dateWithYear(2020, 1)), 2);
    EXPECT_EQ(D::monthsAfterDate(D::dateWithYear(2020, 2), D::dateWithYear(2019, 11)), 3);
    EXPECT_EQ(D::monthsAfterDate(D::dateWithYear(2020, 1), D::dateWithYear(2019, 12)), 1);
    EXPECT_EQ(D::monthsAfterDate(D::dateWithYear(2019, 1), D::dateWithYear(2020, 3)), 0);
    EXPECT_EQ(D::monthsAfterDate(D::dateWithYear(2020, 1), D::dateWithYear(2020, 3)), 0);
    EXPECT_EQ(D::monthsAfterDate(D::dateWithYear(2023, 5), D::dateWithYear(2020, 8)), 33);
}

TEST(DateUtilities, ComponentsAndCalendarDifference)
{
    const QDateTime d = at(2021, 3, 16, 14, 5, 9); // a Tuesday, the third of the month
    EXPECT_EQ(D::year(d), 2021);
    EXPECT_EQ(D::month(d), 3);
    EXPECT_EQ(D::day(d), 16);
    EXPECT_EQ(D::hour(d), 14);
    EXPECT_EQ(D::minute(d), 5);
    EXPECT_EQ(D::seconds(d), 9);
    EXPECT_EQ(D::weekday(d), 3);
    EXPECT_EQ(D::nthWeekday(d), 3);
    EXPECT_EQ(D::weekday(at(2021, 3, 14)), 1);
    EXPECT_EQ(D::weekday(at(2021, 3, 13)), 7);
    // en_US weeks start on Sunday and week 1 holds January 1.
    EXPECT_EQ(D::week(at(2021, 1, 1)), 1);
    EXPECT_EQ(D::week(at(2021, 1, 3)), 2);
    EXPECT_EQ(D::dateAtStartOfDay(d), at(2021, 3, 16));

    D::Components expected;
    expected.year = 1;
    expected.month = 2;
    expected.week = 1;
    expected.day = 6;
    expected.hour = 4;
    expected.minute = 5;
    expected.second = 6;
    const QDateTime later = at(2022, 5, 29, 18, 10, 15);
    EXPECT_EQ(D::componentsWithOffsetFromDate(later, d), expected);
    const D::Components back = D::componentsWithOffsetFromDate(d, later);
    EXPECT_EQ(back.year, -1);
    EXPECT_EQ(back.second, -6);
    EXPECT_EQ(D::componentsWithOffsetFromDate(d, d), D::Components {});

    // Month ends: January 31 plus one month is the end of February, not March.
    EXPECT_EQ(D::componentsWithOffsetFromDate(at(2021, 3, 1), at(2021, 1, 31)).month, 1);
    EXPECT_EQ(D::componentsWithOffsetFromDate(at(2021, 3, 1), at(2021, 1, 31)).day, 1);
    // Invalid and far-apart dates give an answer instead of looping.
    EXPECT_EQ(D::componentsWithOffsetFromDate(QDateTime(), d), D::Components {});
    EXPECT_EQ(D::distanceInDaysToDate(d, QDateTime()), 0);
    const QDateTime far = D::dateWithYear(std::numeric_limits<int>::max(), 1);
    EXPECT_GT(D::componentsWithOffsetFromDate(far, d).year, 90'000'000);
}

TEST(DateUtilities, RelativeDatesAndTestsFollowTheClock)
{
    platform::ScopedClock clock(at(2021, 3, 16, 23, 40));
    EXPECT_EQ(D::dateTomorrow(), at(2021, 3, 17, 23, 40));
    EXPECT_EQ(D::dateYesterday(), at(2021, 3, 15, 23, 40));
    EXPECT_EQ(D::dateWithHoursBeforeNow(2), at(2021, 3, 16, 21, 40));
    EXPECT_EQ(D::dateWithMinutesFromNow(30), at(2021, 3, 17, 0, 10));
    EXPECT_EQ(D::nearestHour(QDateTime()), 0);
    for (const qint64 huge : { std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min() }) {
        EXPECT_EQ(D::dateWithDaysFromNow(huge), platform::Clock::now());
        EXPECT_EQ(D::dateBySubtractingMinutes(platform::Clock::now(), huge), platform::Clock::now());
    }

    EXPECT_TRUE(D::isToday(at(2021, 3, 16)));
    EXPECT_TRUE(D::isTomorrow(at(2021, 3, 17, 1)));
    EXPECT_TRUE(D::isYesterday(at(2021, 3, 15, 23, 59)));
    EXPECT_FALSE(D::isToday(at(2021, 3, 17)));
    EXPECT_TRUE(D::isThisWeek(at(2021, 3, 20)));
    EXPECT_FALSE(D::isThisWeek(at(2021, 3, 21)));
    EXPECT_TRUE(D::isNextWeek(at(2021, 3, 21)));
    EXPECT_TRUE(D::isLastWeek(at(2021, 3, 13)));
    EXPECT_TRUE(D::isThisMonth(at(2021, 3, 1)));
    EXPECT_FALSE(D::isThisMonth(at(2020, 3, 16)));
    EXPECT_TRUE(D::isThisYear(at(2021, 12, 31)));
    EXPECT_TRUE(D::isNextYear(at(2022, 1, 1)));
    EXPECT_TRUE(D::isLastYear(at(2020, 12, 31)));
    EXPECT_TRUE(D::isInFuture(at(2021, 3, 16, 23, 41)));
    EXPECT_TRUE(D::isInPast(at(2021, 3, 16, 23, 39)));
    EXPECT_FALSE(D::isInPast(platform::Clock::now()));
    EXPECT_FALSE(D::isInFuture(platform::Clock::now()));
}

TEST(DateUtilities, DateTests)
{
    const QDateTime a = at(2021, 3, 16, 10);
    EXPECT_FALSE(D::isEarlierThanDate(a, a));
    EXPECT_FALSE(D::isLaterThanDate(a, a));
    EXPECT_TRUE(D::isEarlierThanDate(a, a.addSecs(1)));
    EXPECT_TRUE(D::isEqualToDateIgnoringTime(a, at(2021, 3, 16, 23, 59, 59)));
    EXPECT_TRUE(D::isSameMonthAsDate(a, at(2021, 3, 31)));
    EXPECT_FALSE(D::isSameMonthAsDate(a, at(2020, 3, 16)));
    EXPECT_TRUE(D::isSameYearAsDate(a, at(2021, 1, 1)));
    // Week 12 of two different years.
    ASSERT_EQ(D::week(a), D::week(at(2020, 3, 17)));
    EXPECT_FALSE(D::isSameWeekAsDate(a, at(2020, 3, 17)));
    EXPECT_TRUE(D::isSameWeekAsDate(a, at(2021, 3, 20, 23)));
    EXPECT_TRUE(D::isTypicallyWeekend(at(2021, 3, 13)));
    EXPECT_TRUE(D::isTypicallyWeekend(at(2021, 3, 14)));
    EXPECT_TRUE(D::isTypicallyWorkday(at(2021, 3, 15)));
}

TEST_F(DateUtilitiesTimeZone, DayAdditionsAreFixedSecondsAcrossDaylightSaving)
{
    useZone("Europe/Berlin");
    // Clocks went forward on 2020-03-29 at 02:00.
    const QDateTime noon = QDateTime(QDate(2020, 3, 28), QTime(12, 0));
    const QDateTime next = D::dateByAddingDays(noon, 1);
    EXPECT_EQ(next.date(), QDate(2020, 3, 29));
    EXPECT_EQ(next.time(), QTime(13, 0));
    EXPECT_EQ(D::dateBySubtractingDays(next, 1), noon);
    EXPECT_EQ(D::distanceInDaysToDate(noon, QDateTime(QDate(2020, 3, 29), QTime(12, 0))), 1);
    EXPECT_EQ(D::daysAfterDate(QDateTime(QDate(2020, 3, 29), QTime(12, 0)), noon), 0);
}

TEST_F(DateUtilitiesTimeZone, DayNumbersIgnoreDaylightSavingAndHistoricOffsets)
{
    for (const char* zone : { "Europe/Berlin", "America/New_York", "Europe/Amsterdam", "Pacific/Apia" }) {
        useZone(zone);
        EXPECT_EQ(D::dayNumber(2020, 3), 43889) << zone;
        EXPECT_EQ(D::dayNumber(2024, 3), 45350) << zone;
        EXPECT_EQ(D::dayNumber(2020, 7), 44011) << zone;
        EXPECT_EQ(D::dateWithYear(2020, 7).time(), QTime(0, 0)) << zone;
        EXPECT_EQ(D::dateWithYear(2020, 7).date(), QDate(2020, 7, 1)) << zone;
    }
    // Counted in seconds, summer time makes the same distance an hour short of a whole day.
    useZone("Europe/Berlin");
    EXPECT_EQ(D::daysAfterDate(D::dateWithYear(2020, 7), D::dateWithYear(1900, 1, 1)), 44010);
}

TEST_F(DateUtilitiesTimeZone, MidnightThatDoesNotExistGivesTheStartOfThatDay)
{
    // Sao Paulo skipped 00:00-01:00 on 2018-11-04.
    useZone("America/Sao_Paulo");
    const QDateTime start = D::dateWithYear(2018, 11, 4);
    ASSERT_TRUE(start.isValid());
    EXPECT_EQ(start.date(), QDate(2018, 11, 4));
    EXPECT_EQ(start.time(), QTime(1, 0));
}

} // namespace
