#include "model/queries/CategoryChartEntries.h"

#include "model/queries/ModelBuilders.h"

#include <gtest/gtest.h>

#include <QTimeZone>

#include <cmath>
#include <cstdlib>
#include <ctime>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

const QDateTime buildTime(QDate(2024, 5, 5), QTime(13, 45, 10));

qreal msAt(int year, int month)
{
    return qreal(QDateTime(QDate(year, month, 1), QTime(13, 45, 10)).toMSecsSinceEpoch());
}

TEST(CategoryChartEntriesTest, EntriesFollowTheReverseOfTheGivenOrderAtTheBuildTimeOfDay)
{
    const auto march = makeLog(u"A"_s, 2020, 3, 1234.5);
    const auto january = makeLog(u"A"_s, 2020, 1, -20);
    const QList<CategoryChartEntry> entries
        = CategoryChartEntries::entriesForLogs({ march, january }, buildTime);
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries.at(0).data, january);
    EXPECT_EQ(entries.at(0).x, msAt(2020, 1));
    EXPECT_EQ(entries.at(0).y, -20);
    EXPECT_EQ(entries.at(1).data, march);
    EXPECT_EQ(entries.at(1).y, 1234.5);
    // January and February 2020 lie between the two points.
    EXPECT_EQ(entries.at(1).x - entries.at(0).x, (31 + 29) * 86400000.0);

    const QList<CategoryChartEntry> unsorted
        = CategoryChartEntries::entriesForLogs({ january, march }, buildTime);
    EXPECT_EQ(unsorted.at(0).data, march);
}

TEST(CategoryChartEntriesTest, LogsThatCannotBeChartedAreSkipped)
{
    auto noYear = makeLog(u"A"_s, 2020, 1, 1);
    noYear->setYear(std::nullopt);
    auto noMonth = makeLog(u"A"_s, 2020, 1, 1);
    noMonth->setMonth(std::nullopt);
    const MVX_CategoryLogList logs { nullptr, noYear, noMonth, makeLog(u"A"_s, 2020, 13, 1),
        makeLog(u"A"_s, 2020, 0, 1), makeLog(u"A"_s, 2020, 2, std::nullopt),
        makeLog(u"A"_s, 2020, 2, std::nan("")), makeLog(u"A"_s, 2020, 4, 7) };
    const QList<CategoryChartEntry> entries = CategoryChartEntries::entriesForLogs(logs, buildTime);
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.first().y, 7);
    EXPECT_TRUE(CategoryChartEntries::entriesForLogs({}, buildTime).isEmpty());
}

TEST(CategoryChartEntriesTest, AMonthAcrossADaylightSavingChangeIsAnHourShorter)
{
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QList<CategoryChartEntry> entries
        = CategoryChartEntries::entriesForLogs({ makeLog(u"A"_s, 2021, 4, 1), makeLog(u"A"_s, 2021, 3, 1) },
            QDateTime(QDate(2024, 1, 1), QTime(12, 0)));
    qputenv("TZ", previous);
    tzset();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries.at(1).x - entries.at(0).x, (31 * 24 - 1) * 3600000.0);
}

} // namespace
