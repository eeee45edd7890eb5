#pragma once

#include <QDateTime>
#include <QtGlobal>

/// Calendar operations on instants, in the user's current calendar and time zone at the time of the call.
///
/// Constructors roll arguments over as a calendar does (month 0 is December of the year before, day 0
/// the last day of the month before), so no operation here yields an invalid date. Additions of days,
/// hours and minutes add fixed numbers of seconds to the instant: a day added across a daylight-saving
/// change moves the wall-clock time by an hour; a count too large for any instant leaves the date
/// unchanged. Distances divide seconds and truncate toward zero.
/// "Now" is platform::Clock::now(). All results are plain values.
class DateUtilities {
public:
    DateUtilities() = delete;

    /// A calendar difference, each unit taken in turn from the largest.
    struct Components {
        qint64 year = 0;
        qint64 month = 0;
        qint64 week = 0;
        qint64 day = 0;
        qint64 hour = 0;
        qint64 minute = 0;
        qint64 second = 0;
        bool operator==(const Components&) const = default;
    };

    // Constructors
    static QDateTime dateWithYear(int year, int month, int day);
    static QDateTime dateWithYear(int year, int month);
    static QDateTime dateWithDaysFromNow(qint64 days);
    static QDateTime dateWithDaysBeforeNow(qint64 days);
    static QDateTime dateTomorrow();
    static QDateTime dateYesterday();
    static QDateTime dateWithHoursFromNow(qint64 hours);
    static QDateTime dateWithHoursBeforeNow(qint64 hours);
    static QDateTime dateWithMinutesFromNow(qint64 minutes);
    static QDateTime dateWithMinutesBeforeNow(qint64 minutes);

    /// Whole calendar days from 1900-01-01 to the first day of the month: a monthly record's day number.
    /// Counted on the calendar, so neither daylight saving nor historic time-zone offsets shift it.
    static qint64 dayNumber(int year, int month);

    // Arithmetic on a date
    static QDateTime dateByAddingDays(const QDateTime& date, qint64 days);
    static QDateTime dateBySubtractingDays(const QDateTime& date, qint64 days);
    static QDateTime dateByAddingHours(const QDateTime& date, qint64 hours);
    static QDateTime dateBySubtractingHours(const QDateTime& date, qint64 hours);
    static QDateTime dateByAddingMinutes(const QDateTime& date, qint64 minutes);
    static QDateTime dateBySubtractingMinutes(const QDateTime& date, qint64 minutes);
    static QDateTime dateAtStartOfDay(const QDateTime& date);
    /// The calendar difference from `other` to `date` (negative when `other` is later).
    static Components componentsWithOffsetFromDate(const QDateTime& date, const QDateTime& other);

    // Distances (signed, truncated toward zero)
    static qint64 minutesAfterDate(const QDateTime& date, const QDateTime& other);
    static qint64 minutesBeforeDate(const QDateTime& date, const QDateTime& other);
    static qint64 hoursAfterDate(const QDateTime& date, const QDateTime& other);
    static qint64 hoursBeforeDate(const QDateTime& date, const QDateTime& other);
    static qint64 daysAfterDate(const QDateTime& date, const QDateTime& other);
    static qint64 daysBeforeDate(const QDateTime& date, const QDateTime& other);
    /// Calendar days from `date` to `other`, positive when `other` is later.
    static qint64 distanceInDaysToDate(const QDateTime& date, const QDateTime& other);
    /// Calendar months from `other`'s month to `date`'s month; 0 when `other`'s month is later.
    static qint64 monthsAfterDate(const QDateTime& date, const QDateTime& other);

    // Components
    static int year(const QDateTime& date);
    static int month(const QDateTime& date);
    static int day(const QDateTime& date);
    static int hour(const QDateTime& date);
    static int minute(const QDateTime& date);
    static int seconds(const QDateTime& date);
    /// The week of the year by the rules of the user's locale.
    static int week(const QDateTime& date);
    /// 1 = Sunday to 7 = Saturday.
    static int weekday(const QDateTime& date);
    /// Which occurrence of its weekday in the month the date is, 1 for the first.
    static int nthWeekday(const QDateTime& date);
    /// The hour of now + 30 minutes; `date` plays no part.
    static int nearestHour(const QDateTime& date);

    // Tests
    static bool isEqualToDateIgnoringTime(const QDateTime& date, const QDateTime& other);
    static bool isToday(const QDateTime& date);
    static bool isTomorrow(const QDateTime& date);
    static bool isYesterday(const QDateTime& date);
    static bool isSameWeekAsDate(const QDateTime& date, const QDateTime& other);
    static bool isThisWeek(const QDateTime& date);
    static bool isNextWeek(const QDateTime& date);
    static bool isLastWeek(const QDateTime& date);
    static bool isSameMonthAsDate(const QDateTime& date, const QDateTime& other);
    static bool isThisMonth(const QDateTime& date);
    static bool isSameYearAsDate(const QDateTime& date, const QDateTime& other);
    static bool isThisYear(const QDateTime& date);
    static bool isNextYear(const QDateTime& date);
    static bool isLastYear(const QDateTime& date);
    static bool isEarlierThanDate(const QDateTime& date, const QDateTime& other);
    static bool isLaterThanDate(const QDateTime& date, const QDateTime& other);
    static bool isInFuture(const QDateTime& date);
    static bool isInPast(const QDateTime& date);
    static bool isTypicallyWeekend(const QDateTime& date);
    static bool isTypicallyWorkday(const QDateTime& date);
};
