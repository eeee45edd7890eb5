#include "charts/annual/AnnualChartData.h"

#include "charts/common/CurveFit.h"
#include "charts/common/ValueAxisLabels.h"
#include "model/data/MVX_NWLog.h"
#include "model/format/NWCurrencyFormatter.h"

#include <QMap>

#include <algorithm>
#include <cmath>

namespace AnnualChartData {

namespace {

// The factors as single-precision literals give them.
constexpr double kLabelHeadroom = double(1.1f);
constexpr double kRangeFactor = double(1.2f);
constexpr double kSlotRangeFactor = 1.2;

} // namespace

double value(const NWAnnualLog& point)
{
    return point.assets() - point.liabilities();
}

QList<NWAnnualLog> yearEndPoints(const MVX_NWLogList& records)
{
    QMap<int, const MVX_NWLog*> byYear;
    for (const auto& record : records) {
        if (!record || !record->year())
            continue;
        const int year = *record->year();
        const auto kept = byYear.constFind(year);
        if (kept == byYear.cend() || record->month().value_or(0) > (*kept)->month().value_or(0))
            byYear.insert(year, record.get());
    }
    QList<NWAnnualLog> points;
    points.reserve(byYear.size());
    for (auto it = byYear.cbegin(); it != byYear.cend(); ++it) {
        NWAnnualLog point;
        point.setYear(it.key());
        point.setAssets(it.value()->assets().value_or(0.0));
        point.setLiabilities(it.value()->liabilities().value_or(0.0));
        points.append(point);
    }
    return points;
}

QList<NWAnnualLog> trendPoints(const QList<NWAnnualLog>& yearEnds, int projectedYears, int fittedYears)
{
    QList<NWAnnualLog> trend;
    if (yearEnds.isEmpty() || projectedYears <= 0)
        return trend;
    QList<double> xd;
    QList<double> yd;
    xd.reserve(yearEnds.size());
    yd.reserve(yearEnds.size());
    for (qsizetype i = 0; i < yearEnds.size(); ++i) {
        xd.append(double(i));
        yd.append(value(yearEnds[i]));
    }
    CurveFit fit;
    fit.calculateTrend(xd, yd, fittedYears);
    const int lastYear = yearEnds.last().year();
    trend.reserve(projectedYears);
    for (int i = 0; i < projectedYears; ++i) {
        NWAnnualLog point;
        point.setAssets(fit.getYValueForX(double(yearEnds.size() + i)));
        point.setYear(lastYear + 1 + i);
        point.setIsTrendPoint(true);
        trend.append(point);
    }
    return trend;
}

int slotCount(int visibleBars, bool trendOn, int projectedYears)
{
    return std::max(0, visibleBars) + (trendOn ? std::max(0, projectedYears) : 0);
}

int windowStart(qsizetype pointCount, int slotTotal)
{
    return int(std::max<qsizetype>(0, pointCount - std::max(0, slotTotal)));
}

QList<NWAnnualLog> visibleWindow(const QList<NWAnnualLog>& points, int slotTotal)
{
    const int start = windowStart(points.size(), slotTotal);
    return points.mid(start, std::max(0, slotTotal));
}

YearAxis yearAxis(const QList<NWAnnualLog>& shown, std::optional<double> shownGoal)
{
    YearAxis axis;
    for (qsizetype slot = 0; slot < shown.size(); ++slot) {
        const double v = value(shown[slot]);
        if (std::isfinite(v)) {
            axis.top = std::max(axis.top, v);
            axis.bottom = std::min(axis.bottom, v);
        }
        axis.labels.append(QString::number(shown[slot].year()));
        axis.ticks.append(double(slot));
    }
    if (shownGoal && std::isfinite(*shownGoal) && *shownGoal > axis.top)
        axis.top = *shownGoal;
    return axis;
}

int yearLabelStride(double slotWidth, double labelWidth)
{
    if (!std::isfinite(slotWidth) || !std::isfinite(labelWidth) || slotWidth <= 0.0
        || labelWidth <= slotWidth)
        return 1;
    return int(std::min(std::ceil(labelWidth / slotWidth), 1000.0));
}

double labelInterval(double top)
{
    return ValueAxisLabels::labelInterval(top);
}

ValueAxis valueAxis(double top, double bottom)
{
    ValueAxis axis;
    axis.interval = ValueAxisLabels::labelInterval(top, bottom);
    // A tenth of the interval, in whole units: the room beyond 0 on the side without bars.
    const double margin = axis.interval >= 10.0 ? std::trunc(axis.interval / 10.0) : 0.0;
    axis.labels = ValueAxisLabels::labels(top, bottom, axis.interval, kLabelHeadroom);
    const double lower = bottom < 0.0 ? bottom : -margin;
    // Bars stand on 0 (below 0 they hang from it), so 0 is always in view.
    const double upper = top > 0.0 ? top : margin;
    axis.range = ValueAxisLabels::valueRange(lower, upper, kRangeFactor);
    if (!axis.range.isFinite()) {
        axis.range = chart::PlotRange::withLocation(0.0, 1.0);
    } else if (axis.range.length <= 0.0) {
        // Nothing shown, or every value 0: a unit above 0.
        axis.range.length = std::max(std::abs(axis.range.location), 1.0);
    }
    return axis;
}

QString valueLabelText(double value)
{
    return ValueAxisLabels::text(value);
}

chart::PlotRange slotRange(int slotTotal, const QList<NWAnnualLog>& shown)
{
    double low = 0.0;
    double high = std::max(0, slotTotal - 1);
    for (qsizetype slot = 0; slot < shown.size() && slot < slotTotal; ++slot) {
        if (!std::isfinite(value(shown[slot])))
            continue;
        low = std::min(low, slot - barWidth / 2);
        high = std::max(high, slot + barWidth / 2);
    }
    return chart::PlotRange::withLocation(low, high - low).expandedByFactor(kSlotRangeFactor);
}

} // namespace AnnualChartData
