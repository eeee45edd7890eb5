#pragma once

#include "charts/kit/PlotRange.h"
#include "model/data/MVX_Model.h"
#include "model/values/NWAnnualLog.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// What the annual chart shows, as functions of the records and the settings: one bar per
/// year from its year-end record, the projected bars of the trend, the window of year slots
/// and the two axes. No widgets; main thread (the value texts read the store's currency).
namespace AnnualChartData {

/// Top of the value extent before any value is seen; with nothing shown it stays and the
/// value axis gets no labels.
inline constexpr double noTop = -99999999.0;

/// A bar's value: assets minus liabilities.
double value(const NWAnnualLog& point);

/// Per year, the record with the highest month (on equal months the first in `records`'
/// order), ascending by year. Records without a year are left out; a missing month counts
/// as 0, missing totals as 0.
QList<NWAnnualLog> yearEndPoints(const MVX_NWLogList& records);

/// The `projectedYears` bars after the last year-end: the least-squares line through the
/// newest `fittedYears` year-end values (every value when 0, negative or not less than their
/// number), the values placed at 0, 1, ... in year order so that a missing year leaves no gap.
/// With fewer than two values to fit the bars are flat at their mean. None without year-ends
/// or with `projectedYears` of 0 or less.
QList<NWAnnualLog> trendPoints(const QList<NWAnnualLog>& yearEnds, int projectedYears, int fittedYears);

/// Year slots: the chart's years, plus the projected years while the trend is on.
int slotCount(int visibleBars, bool trendOn, int projectedYears);
/// Index in `points` of the first shown point: the newest `slotTotal` points are shown.
int windowStart(qsizetype pointCount, int slotTotal);
/// The shown points, slot by slot; slots beyond the last point stay empty.
QList<NWAnnualLog> visibleWindow(const QList<NWAnnualLog>& points, int slotTotal);

/// The year axis and the extent of the values: one label ("2019") and tick per shown point at
/// its slot; `top` is the highest shown value (or the goal when shown and higher), `bottom`
/// the lowest, never above 0. Values that are not finite widen nothing.
struct YearAxis {
    QStringList labels;
    QList<double> ticks;
    double top = noTop;
    double bottom = 0.0;
};
YearAxis yearAxis(const QList<NWAnnualLog>& shown, std::optional<double> shownGoal);

/// Every how many slots a year label fits: 1 while a label is no wider than a slot, else
/// enough slots to hold one (49 years in a narrow window would overlap). 1 for widths that are
/// not positive or not finite.
int yearLabelStride(double slotWidth, double labelWidth);

/// The value axis' label interval for a top value: the leading digit of ⌊top / 5⌋ times its
/// power of ten (123456 gives 20000); 0 below 5 and for tops that are not finite.
double labelInterval(double top);

/// The value labels (their values; they are also the major ticks) and the visible value range
/// for the extent of `yearAxis`. Labels stand at the multiples of the interval (from the top, or
/// from the depth below 0 when every value is below 5) up to 1.1 × top and down to bottom,
/// never at 0; far below 0 only every so many multiples get one, so that their number stays
/// small. The range runs from 1.2 × the lower end (bottom when below 0, else minus a tenth of
/// the interval) to 1.2 × the upper end (top when above 0, else a tenth of the interval), so
/// that 0, where the bars stand, is always in view; a range that would be empty or not finite
/// becomes one that shows the bars from 0.
struct ValueAxis {
    QList<double> labels;
    double interval = 0.0;
    chart::PlotRange range;
};
ValueAxis valueAxis(double top, double bottom);
/// A value label's text: the base currency without fraction digits, negatives in parentheses.
QString valueLabelText(double value);

/// The visible slots: the slots 0 .. slotTotal − 1 and the bars' width (0.7) around the shown
/// ones, widened by 1.2 about the middle.
chart::PlotRange slotRange(int slotTotal, const QList<NWAnnualLog>& shown);

/// Bar width in slots.
inline constexpr double barWidth = 0.7;

} // namespace AnnualChartData
