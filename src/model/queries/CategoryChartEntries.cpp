#include "model/queries/CategoryChartEntries.h"

#include <cmath>

QList<CategoryChartEntry> CategoryChartEntries::entriesForLogs(
    const MVX_CategoryLogList& logs, const QDateTime& now)
{
    QList<CategoryChartEntry> entries;
    entries.reserve(logs.size());
    const QTime timeOfDay = now.toLocalTime().time();
    for (auto it = logs.crbegin(); it != logs.crend(); ++it) {
        const auto& log = *it;
        if (!log || !log->year() || !log->month() || !log->value() || !std::isfinite(*log->value()))
            continue;
        const QDate day(*log->year(), *log->month(), 1);
        if (!day.isValid())
            continue;
        const QDateTime instant(day, timeOfDay);
        if (!instant.isValid())
            continue;
        entries.append({ qreal(instant.toMSecsSinceEpoch()), *log->value(), log });
    }
    return entries;
}
