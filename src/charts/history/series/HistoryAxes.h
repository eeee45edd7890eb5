#pragma once

#include "charts/history/series/HistoryPlots.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

/// The history chart's axes, value range, visible window, panning and symbol size as pure
/// functions of the points drawn and the settings.
namespace historyseries {

/// The values the y axis has to show. A new extent has min 0 and max −99,999,999.
struct ValueExtent {
    double min = 0.0;
    double max = -99999999.0;
};
/// Assets and liabilities for type 1; assets, −liabilities and net worth while the stacked
/// bars are drawn; else the net worth; raised to goal × 1.05 when the goal line is drawn
/// above the values.
ValueExtent valueExtent(const QList<NWChartLog>& data, const PlotContext& context);

/// The spacing of the y labels for a span: the integer part of span / 3 with every digit
/// after the first set to 0 (4567.8 → 4000); 0 for spans below 3 or that are not finite.
double tickInterval(double span);

/// A label with its place on its axis.
struct AxisMark {
    double location = 0.0;
    QString text;
    bool operator==(const AxisMark&) const = default;
};

/// The y axis: labels at the multiples of the tick interval within the values (a screenful,
/// all finite), and the value range (location, length), finite for any finite values. Without
/// a usable interval there are no labels and no range.
struct YAxisLayout {
    QList<AxisMark> labels;
    double tickInterval = 0.0;
    double step = 0.0;
    std::optional<std::pair<double, double>> range;
};
YAxisLayout yAxisLayout(ValueExtent extent, const std::function<QString(double)>& format);

/// The room the x labels have: points per month along the axis, the width of a label's text,
/// and the least space between two labels. Without points per month or widths, labels are not
/// held apart.
struct LabelRoom {
    double pointsPerMonth = 0.0;
    std::function<double(const QString&)> width;
    double gap = 0.0;
};

/// The x labels: the year at the first point of every year, else, while up to 16 points are
/// in view, every month name, up to 31 the month names at even positions. With a `yearStep`
/// above 1 only the years divisible by it are labelled (a long range would crowd them).
/// Within `room`, labels keep apart: a year label that would touch the year label kept before
/// it is left out, and so is a month name that would touch a kept year label or the month name
/// kept before it (records a month apart are a few points apart over many years).
QList<AxisMark> xAxisLabels(const QList<NWChartLog>& data,
    const std::function<QString(int year, int month)>& monthName, int visibleCount, int yearStep = 1,
    const LabelRoom& room = {});
/// The smallest of 1, 2, 5, 10, 20, 50 years between year labels that leaves `labelWidth`
/// points for each label over `width` points showing `visibleCount` months.
int yearLabelStep(int visibleCount, double width, double labelWidth);
/// The points in view for a date range (all, 60, 12 or the current month number).
int visibleCount(int pointCount, int timeScale, int currentMonth);

/// The visible window in month indexes, and the range that holds both it and every point
/// (the chart widens both by 1.03 about their middles).
struct XWindow {
    double start = 0.0;
    double length = 0.0;
    double globalLocation = 0.0;
    double globalLength = 0.0;
};
/// Length of the window of a date range (0 all, 1 five years, 2 twelve months, 3 year to date
/// with the current month number), at least one month.
double windowLength(int firstIndex, int lastIndex, int timeScale, int currentMonth);
/// The window ending at the last point (starting at the first when all fit); one point gets
/// a one-month window around it.
XWindow visibleWindow(int firstIndex, int lastIndex, int timeScale, int currentMonth);
/// The window start after a drag of `shiftMonths` (positive: towards earlier months),
/// stopping `monthsPerPoint` before the first month and after the last.
double pannedStart(
    double start, double shiftMonths, int firstIndex, int lastIndex, double length, double monthsPerPoint);

/// The symbol size for the points in view: 11 up to 30, 7 up to 60, 4 up to 190, else 0
/// (also without points or with symbols off).
int symbolSize(int pointCount, int timeScale, int currentMonth, bool showSymbols);

} // namespace historyseries
