#pragma once

#include "model/data/MVX_NWLog.h"

#include <QDateTime>
#include <QList>

#include <memory>

/// One point of a category's value-history chart.
struct CategoryChartEntry {
    /// Milliseconds since 1970-01-01 00:00 UTC, the unit of date-time chart axes.
    qreal x = 0;
    qreal y = 0;
    /// The log the point was made from (the model's own object).
    std::shared_ptr<MVX_CategoryLog> data;
};

/// The data of a category's value-history chart.
class CategoryChartEntries {
public:
    CategoryChartEntries() = delete;

    /// One entry per log, in the reverse of the given order (oldest first for the store's
    /// newest-first lists; not sorted). Each point lies on the first day of the log's month
    /// at the time of day of `now`, in the local time zone. Logs without a year, a month
    /// 1 to 12 or a value are skipped.
    static QList<CategoryChartEntry> entriesForLogs(const MVX_CategoryLogList& logs, const QDateTime& now);
};
