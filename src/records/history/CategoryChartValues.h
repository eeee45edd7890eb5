#pragma once

#include "model/data/MVX_NWLog.h"

#include <QColor>
#include <QDateTime>

class QChartView;

/// Fills a small, bare chart of one category's values over time: one line in the given
/// colour, width 2, over a vertical gradient fill, with no axes, labels, grid, legend,
/// title or point markers, on white.
class CategoryChartValues {
public:
    CategoryChartValues() = delete;

    /// Replaces the chart's series with the logs (given newest first, as the store's
    /// query returns them; drawn in the reverse order). Logs that cannot be charted are
    /// skipped; an empty list leaves an empty, configured chart. `now` gives the time of
    /// day every point sits at. The replaced series and axes are deleted on a later turn of
    /// the event loop (or with the view), after the chart's items that may still animate them.
    static void setupChart(const MVX_CategoryLogList& logs, QChartView* chartView, const QColor& color,
        const QDateTime& now = QDateTime());
};
