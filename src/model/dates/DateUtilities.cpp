#include "model/dates/DateUtilities.h"

#include "platform/Clock.h"

#include <unicode/ucal.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

constexpr qint64 kSecondsPerMinute = 60;
constexpr qint64 kSecondsPerHour = 3600;
constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kSecondsPerWeek = 7 * kSecondsPerDay;
// Julian day of 1970-01-01, where the civil day count below starts.
constexpr qint64 kJulianDayOfEpoch = 2440588;
// About a hundred million years either way: every such day has a valid local date-time.
constexpr qint64 kMaxDays = 36'500'000'000;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Days from 1970-01-01 to the given proleptic Gregorian date (astronomical years). Month and day
// may lie outside their ranges and roll over.
qint64 civilDays(qint64 year, qint64 month, qint64 day)
{
    const qint64 monthIndex = month - 1;
    qint64 y = year + floorDiv(monthIndex, 12);
    const qint64 m = monthIndex - 12 * floorDiv(monthIndex, 12) + 1;
    y -= m <= 2 ? 1 : 0;
    const qint64 era = floorDiv(y, 400);
    const qint64 yearOfEra = y - era * 400;
    const qint64 dayOfYear = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + (day - 1);
}

QDateTime startOfLocalDay(qint64 days)
{
    const QDate date = QDate::fromJulianDay(std::clamp(days, -kMaxDays, kMaxDays) + kJulianDayOfEpoch);
    QDateTime start = date.startOfDay(Qt::LocalTime);
    return start.isValid() ? start : date.startOfDay(Qt::UTC);
}

// Fixed-length steps; a count too large for the instant leaves the date where it is rather than
// overflowing.
QDateTime addSteps(const QDateTime& date, qint64 count, qint64 secondsPerStep)
{
    qint64 seconds = 0;
    if (__builtin_mul_overflow(count, secondsPerStep, &seconds))
        return date;
    const QDateTime moved = date.addSecs(seconds);
    return moved.isValid() ? moved : date;
}

QDateTime now()
{
    return platform::Clock::now();
}

QDateTime local(const QDateTime& date)
{
    return date.toLocalTime();
}

// The largest n (toward the sign of the distance) for which step(from, n) does not pass `to`,
// starting from an estimate that is at most a step or two off. The corrections are bounded so
// that dates at the ends of the representable range cannot keep the loop going.
template <typename Step>
qint64 wholeSteps(const QDateTime& from, const QDateTime& to, qint64 estimate, Step step)
{
    if (!from.isValid() || !to.isValid())
        return 0;
    const qint64 sign = to >= from ? 1 : -1;
    const auto fits = [&](qint64 n) {
        const QDateTime moved = step(from, n);
        return moved.isValid() && (sign > 0 ? moved <= to : moved >= to);
    };
    constexpr int kMaxCorrections = 4;
    qint64 n = estimate;
    for (int i = 0; i < kMaxCorrections && n != 0 && !fits(n); ++i)
        n -= sign;
    for (int i = 0; i < kMaxCorrections && fits(n + sign); ++i)
        n += sign;
    return n;
}

qint64 wholeDays(const QDateTime& from, const QDateTime& to)
{
    return wholeSteps(
        from, to, from.date().daysTo(to.date()), [](const QDateTime& d, qint64 n) { return d.addDays(n); });
}

} // namespace

QDateTime DateUtilities::dateWithYear(int year, int month, int day)
{
    return startOfLocalDay(civilDays(year, month, day));
}

QDateTime DateUtilities::dateWithYear(int year, int month)
{
    return dateWithYear(year, month, 1);
}

qint64 DateUtilities::dayNumber(int year, int month)
{
    return civilDays(year, month, 1) - civilDays(1900, 1, 1);
}

QDateTime DateUtilities::dateWithDaysFromNow(qint64 days)
{
    return dateByAddingDays(now(), days);
}

QDateTime DateUtilities::dateWithDaysBeforeNow(qint64 days)
{
    return dateBySubtractingDays(now(), days);
}

QDateTime DateUtilities::dateTomorrow()
{
    return dateWithDaysFromNow(1);
}

QDateTime DateUtilities::dateYesterday()
{
    return dateWithDaysBeforeNow(1);
}

QDateTime DateUtilities::dateWithHoursFromNow(qint64 hours)
{
    return dateByAddingHours(now(), hours);
}

QDateTime DateUtilities::dateWithHoursBeforeNow(qint64 hours)
{
    return dateBySubtractingHours(now(), hours);
}

QDateTime DateUtilities::dateWithMinutesFromNow(qint64 minutes)
{
    return dateByAddingMinutes(now(), minutes);
}

QDateTime DateUtilities::dateWithMinutesBeforeNow(qint64 minutes)
{
    return dateBySubtractingMinutes(now(), minutes);
}

QDateTime DateUtilities::dateByAddingDays(const QDateTime& date, qint64 days)
{
    return addSteps(date, days, kSecondsPerDay);
}

QDateTime DateUtilities::dateBySubtractingDays(const QDateTime& date, qint64 days)
{
    return days == std::numeric_limits<qint64>::min() ? date : dateByAddingDays(date, -days);
}

QDateTime DateUtilities::dateByAddingHours(const QDateTime& date, qint64 hours)
{
    return addSteps(date, hours, kSecondsPerHour);
}

QDateTime DateUtilities::dateBySubtractingHours(const QDateTime& date, qint64 hours)
{
    return hours == std::numeric_limits<qint64>::min() ? date : dateByAddingHours(date, -hours);
}

QDateTime DateUtilities::dateByAddingMinutes(const QDateTime& date, qint64 minutes)
{
    return addSteps(date, minutes, kSecondsPerMinute);
}

QDateTime DateUtilities::dateBySubtractingMinutes(const QDateTime& date, qint64 minutes)
{
    return minutes == std::numeric_limits<qint64>::min() ? date : dateByAddingMinutes(date, -minutes);
}

QDateTime DateUtilities::dateAtStartOfDay(const QDateTime& date)
{
    return local(date).date().startOfDay(Qt::LocalTime);
}

DateUtilities::Components DateUtilities::componentsWithOffsetFromDate(
    const QDateTime& date, const QDateTime& other)
{
    const QDateTime to = local(date);
    QDateTime from = local(other);
    Components c;
    if (!to.isValid() || !from.isValid())
        return c;
    c.year = wholeSteps(from, to, to.date().year() - from.date().year(),
        [](const QDateTime& d, qint64 n) { return d.addYears(int(n)); });
    from = from.addYears(int(c.year));
    const qint64 monthEstimate
        = (to.date().year() - from.date().year()) * 12 + (to.date().month() - from.date().month());
    c.month = wholeSteps(
        from, to, monthEstimate, [](const QDateTime& d, qint64 n) { return d.addMonths(int(n)); });
    from = from.addMonths(int(c.month));
    const qint64 days = wholeDays(from, to);
    from = from.addDays(days);
    c.week = days / 7;
    c.day = days % 7;
    const qint64 rest = from.secsTo(to);
    c.hour = rest / kSecondsPerHour;
    c.minute = rest % kSecondsPerHour / kSecondsPerMinute;
    c.second = rest % kSecondsPerMinute;
    return c;
}

qint64 DateUtilities::minutesAfterDate(const QDateTime& date, const QDateTime& other)
{
    return other.secsTo(date) / kSecondsPerMinute;
}

qint64 DateUtilities::minutesBeforeDate(const QDateTime& date, const QDateTime& other)
{
    return date.secsTo(other) / kSecondsPerMinute;
}

qint64 DateUtilities::hoursAfterDate(const QDateTime& date, const QDateTime& other)
{
    return other.secsTo(date) / kSecondsPerHour;
}

qint64 DateUtilities::hoursBeforeDate(const QDateTime& date, const QDateTime& other)
{
    return date.secsTo(other) / kSecondsPerHour;
}

qint64 DateUtilities::daysAfterDate(const QDateTime& date, const QDateTime& other)
{
    return other.secsTo(date) / kSecondsPerDay;
}

qint64 DateUtilities::daysBeforeDate(const QDateTime& date, const QDateTime& other)
{
    return date.secsTo(other) / kSecondsPerDay;
}

qint64 DateUtilities::distanceInDaysToDate(const QDateTime& date, const QDateTime& other)
{
    return wholeDays(local(date), local(other));
}

qint64 DateUtilities::monthsAfterDate(const QDateTime& date, const QDateTime& other)
{
    const qint64 y0 = year(other), m0 = month(other);
    const qint64 y1 = year(date), m1 = month(date);
    if (y0 > y1)
        return 0;
    if (y0 == y1)
        return std::max<qint64>(m1 - m0, 0);
    return 12 * (y1 - y0) + (m1 - m0);
}

int DateUtilities::year(const QDateTime& date)
{
    return local(date).date().year();
}

int DateUtilities::month(const QDateTime& date)
{
    return local(date).date().month();
}

int DateUtilities::day(const QDateTime& date)
{
    return local(date).date().day();
}

int DateUtilities::hour(const QDateTime& date)
{
    return local(date).time().hour();
}

int DateUtilities::minute(const QDateTime& date)
{
    return local(date).time().minute();
}

int DateUtilities::seconds(const QDateTime& date)
{
    return local(date).time().second();
}

int DateUtilities::week(const QDateTime& date)
{
    // The locale decides the first day of the week and how many days the first week needs;
    // the calendar runs in UTC on the local date, so the time zone cannot shift the day.
    const QDate d = local(date).date();
    UErrorCode error = U_ZERO_ERROR;
    const UChar utc[] = { u'U', u'T', u'C', 0 };
    std::unique_ptr<UCalendar, decltype(&ucal_close)> calendar(
        ucal_open(utc, -1, nullptr, UCAL_GREGORIAN, &error), &ucal_close);
    if (U_FAILURE(error))
        return d.weekNumber();
    ucal_clear(calendar.get());
    ucal_setDate(calendar.get(), d.year(), d.month() - 1, d.day(), &error);
    const int week = ucal_get(calendar.get(), UCAL_WEEK_OF_YEAR, &error);
    return U_FAILURE(error) ? d.weekNumber() : week;
}

int DateUtilities::weekday(const QDateTime& date)
{
    return local(date).date().dayOfWeek() % 7 + 1;
}

int DateUtilities::nthWeekday(const QDateTime& date)
{
    return (day(date) - 1) / 7 + 1;
}

int DateUtilities::nearestHour(const QDateTime&)
{
    return hour(now().addSecs(30 * kSecondsPerMinute));
}

bool DateUtilities::isEqualToDateIgnoringTime(const QDateTime& date, const QDateTime& other)
{
    return local(date).date() == local(other).date();
}

bool DateUtilities::isToday(const QDateTime& date)
{
    return isEqualToDateIgnoringTime(date, now());
}

bool DateUtilities::isTomorrow(const QDateTime& date)
{
    return isEqualToDateIgnoringTime(date, dateTomorrow());
}

bool DateUtilities::isYesterday(const QDateTime& date)
{
    return isEqualToDateIgnoringTime(date, dateYesterday());
}

bool DateUtilities::isSameWeekAsDate(const QDateTime& date, const QDateTime& other)
{
    return week(date) == week(other) && std::abs(date.secsTo(other)) < kSecondsPerWeek;
}

bool DateUtilities::isThisWeek(const QDateTime& date)
{
    return isSameWeekAsDate(date, now());
}

bool DateUtilities::isNextWeek(const QDateTime& date)
{
    return isSameWeekAsDate(date, now().addSecs(kSecondsPerWeek));
}

bool DateUtilities::isLastWeek(const QDateTime& date)
{
    return isSameWeekAsDate(date, now().addSecs(-kSecondsPerWeek));
}

bool DateUtilities::isSameMonthAsDate(const QDateTime& date, const QDateTime& other)
{
    return year(date) == year(other) && month(date) == month(other);
}

bool DateUtilities::isThisMonth(const QDateTime& date)
{
    return isSameMonthAsDate(date, now());
}

bool DateUtilities::isSameYearAsDate(const QDateTime& date, const QDateTime& other)
{
    return year(date) == year(other);
}

bool DateUtilities::isThisYear(const QDateTime& date)
{
    return isSameYearAsDate(date, now());
}

bool DateUtilities::isNextYear(const QDateTime& date)
{
    return year(date) == year(now()) + 1;
}

bool DateUtilities::isLastYear(const QDateTime& date)
{
    return year(date) == year(now()) - 1;
}

bool DateUtilities::isEarlierThanDate(const QDateTime& date, const QDateTime& other)
{
    return date < other;
}

bool DateUtilities::isLaterThanDate(const QDateTime& date, const QDateTime& other)
{
    return date > other;
}

bool DateUtilities::isInFuture(const QDateTime& date)
{
    return isLaterThanDate(date, now());
}

bool DateUtilities::isInPast(const QDateTime& date)
{
    return isEarlierThanDate(date, now());
}

bool DateUtilities::isTypicallyWeekend(const QDateTime& date)
{
    const int w = weekday(date);
    return w == 1 || w == 7;
}

bool DateUtilities::isTypicallyWorkday(const QDateTime& date)
{
    return !isTypicallyWeekend(date);
}
