#include "charts/history/series/HistoryAxes.h"

#include "platform/RoundSteps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace historyseries {

namespace {

// A screenful; the interval rule gives at most about 20 on a side.
constexpr int kMaxLabelsPerSide = 30;

void widen(ValueExtent& extent, double value)
{
    if (!std::isfinite(value))
        return;
    extent.min = std::min(extent.min, value);
    extent.max = std::max(extent.max, value);
}

} // namespace

ValueExtent valueExtent(const QList<NWChartLog>& data, const PlotContext& context)
{
    const SeriesSettings& settings = context.settings;
    const bool goalDrawn = settings.type == ChartType::NetWorth && context.showGoal
        && !settings.displayChanges && std::isfinite(context.goal);
    const bool bars = settings.type == ChartType::NetWorth && stackedBarsShown(settings);
    ValueExtent extent;
    for (const NWChartLog& point : data) {
        if (settings.type == ChartType::AssetsAndLiabilities) {
            widen(extent, point.assets());
            widen(extent, point.liabilities());
        } else if (bars) {
            widen(extent, point.assets());
            widen(extent, -point.liabilities());
            widen(extent, point.nw());
        } else {
            widen(extent, point.nw());
        }
        if (goalDrawn && context.goal * 1.05 > extent.max)
            extent.max = context.goal * 1.05;
    }
    return extent;
}

double tickInterval(double span)
{
    return platform::leadingDigitStep(std::trunc(span / 3.0));
}

YAxisLayout yAxisLayout(ValueExtent extent, const std::function<QString(double)>& format)
{
    YAxisLayout layout;
    if (!std::isfinite(extent.min) || !std::isfinite(extent.max))
        return layout;
    double max = extent.max;
    const double min = extent.min;
    double span = std::abs(max);
    if (!(std::abs(max) > std::abs(min))) {
        span = std::abs(min);
        max = std::max({ max, 20.0, std::abs(min) / 20.0 });
    }
    const double interval = tickInterval(span);
    if (interval / 10.0 < 0.01)
        return layout;
    layout.tickInterval = interval;
    layout.step = interval / 10.0;
    // The labels fall on the multiples of the interval, counted rather than summed so that no
    // rounding drift skips one; near the largest double the headroom stops at it.
    const double top = std::min(1.1 * max, std::numeric_limits<double>::max());
    for (int k = 1; k <= kMaxLabelsPerSide && k * interval <= top; ++k) {
        const double value = platform::decimalMultiple(k, interval);
        layout.labels.append(AxisMark { value, format(value) });
    }
    if (min <= -layout.step) {
        for (int k = 1; k <= kMaxLabelsPerSide && -k * interval >= min; ++k) {
            const double value = -platform::decimalMultiple(k, interval);
            layout.labels.append(AxisMark { value, format(value) });
        }
    }
    const double low = min < 0 ? min : -layout.step;
    // In quarters, and narrowed about 0 where the length would overflow, so that values near
    // the largest double on both sides of 0 still get a finite range (they reach past its ends).
    const double quarter = (max / 4.0 - low / 4.0) * 1.2;
    constexpr double mostQuarter = std::numeric_limits<double>::max() / 4.0 * 0.99;
    const double factor = quarter > mostQuarter ? 1.2 * (mostQuarter / quarter) : 1.2;
    layout.range = std::pair(low * factor, 4.0 * ((max / 4.0 - low / 4.0) * factor));
    return layout;
}

QList<AxisMark> xAxisLabels(const QList<NWChartLog>& data,
    const std::function<QString(int year, int month)>& monthName, int visibleCount, int yearStep,
    const LabelRoom& room)
{
    QList<AxisMark> labels;
    QList<bool> isYear;
    std::optional<int> labelYear;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const NWChartLog& point = data[i];
        const double location = monthIndex(point);
        if (point.year() != labelYear) {
            labelYear = point.year();
            if (yearStep <= 1 || point.year() % yearStep == 0) {
                labels.append(AxisMark { location, QString::number(point.year()) });
                isYear.append(true);
            }
        } else if (visibleCount <= 16 || (visibleCount <= 31 && i % 2 == 0)) {
            labels.append(AxisMark { location, monthName(point.year(), point.month()) });
            isYear.append(false);
        }
    }
    if (!(room.pointsPerMonth > 0.0) || !std::isfinite(room.pointsPerMonth) || !room.width)
        return labels;

    // Each label's extent along the axis in points, its gap included.
    struct Extent {
        double left;
        double right;
    };
    const auto extentOf = [&room](const AxisMark& mark) {
        const double centre = mark.location * room.pointsPerMonth;
        const double half = (room.width(mark.text) + room.gap) / 2.0;
        return Extent { centre - half, centre + half };
    };
    // Years first, from the left; then the month names between the kept years.
    QList<bool> kept(labels.size(), false);
    QList<qsizetype> keptYears;
    double lastRight = -std::numeric_limits<double>::infinity();
    for (qsizetype i = 0; i < labels.size(); ++i) {
        if (!isYear[i])
            continue;
        const Extent extent = extentOf(labels[i]);
        if (extent.left >= lastRight) {
            kept[i] = true;
            keptYears.append(i);
            lastRight = extent.right;
        }
    }
    lastRight = -std::numeric_limits<double>::infinity();
    qsizetype nextYear = 0;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        if (isYear[i]) {
            if (kept[i]) {
                lastRight = extentOf(labels[i]).right;
                ++nextYear;
            }
            continue;
        }
        const Extent extent = extentOf(labels[i]);
        const bool clearOfNextYear
            = nextYear >= keptYears.size() || extent.right <= extentOf(labels[keptYears[nextYear]]).left;
        if (extent.left >= lastRight && clearOfNextYear) {
            kept[i] = true;
            lastRight = extent.right;
        }
    }
    QList<AxisMark> apart;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        if (kept[i])
            apart.append(labels[i]);
    }
    return apart;
}

int yearLabelStep(int visibleCount, double width, double labelWidth)
{
    const double years = visibleCount / 12.0 + 1.0;
    for (int step : { 1, 2, 5, 10, 20 }) {
        if (years / step * labelWidth <= width)
            return step;
    }
    return 50;
}

int visibleCount(int pointCount, int timeScale, int currentMonth)
{
    switch (timeScale) {
    case 1:
        return std::min(60, pointCount);
    case 2:
        return std::min(12, pointCount);
    case 3:
        return std::min(currentMonth, pointCount);
    default:
        return pointCount;
    }
}

double windowLength(int firstIndex, int lastIndex, int timeScale, int currentMonth)
{
    double length = lastIndex - firstIndex;
    switch (timeScale) {
    case 1:
        length = 60;
        break;
    case 2:
        length = 12;
        break;
    case 3:
        length = currentMonth;
        break;
    default:
        break;
    }
    return std::max(length, 1.0);
}

XWindow visibleWindow(int firstIndex, int lastIndex, int timeScale, int currentMonth)
{
    const double length = windowLength(firstIndex, lastIndex, timeScale, currentMonth);
    XWindow window;
    window.length = length;
    if (lastIndex <= firstIndex) {
        // One month: the point in the middle of its own month.
        window.start = firstIndex - 0.5;
        window.globalLocation = window.start;
        window.globalLength = length;
    } else {
        double start = std::max(double(firstIndex), lastIndex - length);
        if (lastIndex < start + length)
            start = lastIndex - length;
        window.start = start;
        window.globalLocation = std::min(double(firstIndex), start);
        window.globalLength = std::max(double(lastIndex), start + length) - window.globalLocation;
    }
    return window;
}

double pannedStart(
    double start, double shiftMonths, int firstIndex, int lastIndex, double length, double monthsPerPoint)
{
    double moved = start - shiftMonths;
    if (!std::isfinite(moved))
        return start;
    if (moved < firstIndex)
        moved = firstIndex - monthsPerPoint;
    if (lastIndex < moved + length)
        moved = lastIndex - length + monthsPerPoint;
    return moved;
}

int symbolSize(int pointCount, int timeScale, int currentMonth, bool showSymbols)
{
    if (!showSymbols)
        return 0;
    const int visible = visibleCount(pointCount, timeScale, currentMonth);
    if (visible < 1)
        return 0;
    if (visible <= 30)
        return 11;
    if (visible <= 60)
        return 7;
    if (visible <= 190)
        return 4;
    return 0;
}

} // namespace historyseries
