#include "charts/common/ValueAxisLabels.h"

#include "charts/kit/Axis.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/Styles.h"
#include "model/format/NWCurrencyFormatter.h"
#include "platform/Appearance.h"
#include "platform/RoundSteps.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ValueAxisLabels {

namespace {

// Beyond this many labels on either side of 0 they are thinned out.
constexpr double kMostLabelsPerSide = 20.0;
// Points kept free between two value labels.
constexpr double kLabelGap = 2.0;
// The share of the plot area's width a value label may take: the bars keep the rest.
constexpr double kLabelShare = 1.0 / 3.0;
// The characters a value label may always take, an amount of 1e20 with its currency sign.
constexpr int kLabelCharacters = 28;

struct Placed {
    chart::AxisLabel label;
    QRectF rect;
    double multiple = 0.0;
};

bool apart(const QList<const Placed*>& labels)
{
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QRectF widened = labels[i]->rect.adjusted(0, -kLabelGap, 0, kLabelGap);
        for (qsizetype j = i + 1; j < labels.size(); ++j) {
            if (widened.intersects(labels[j]->rect))
                return false;
        }
    }
    return true;
}

// Where the labels start, in points from the plot area's left edge: left of the axis by their offset.
double labelsStart(const chart::Axis& axis)
{
    return axisInset - axis.majorTickLength() - axis.labelOffset();
}

// The text of the label at `value` (in units of `scale`, see `apply`) as it fits `graph`: whole,
// or its start elided at its end where it would take more than its share of the plot area's width
// or reach out of the graph (amounts near the largest double have over 400 characters) or past
// `mostEnd`. Null where the amount is no finite number.
QString fittedText(
    const chart::Graph& graph, const chart::Axis& axis, double value, double scale, double mostEnd)
{
    const double amount = value / scale;
    if (!std::isfinite(amount))
        return QString();
    const QString whole = text(amount);
    if (graph.bounds().isEmpty())
        return whole;
    const QFontMetricsF metrics(axis.labelTextStyle().font());
    const QRectF area = graph.plotAreaRect();
    const double share = std::max(
        area.width() * kLabelShare, kLabelCharacters * metrics.horizontalAdvance(QLatin1Char('0')));
    const double room = std::min({ share, graph.bounds().right() - (area.left() + labelsStart(axis)) - 1.0,
        mostEnd - labelsStart(axis) });
    return metrics.elidedText(whole, Qt::ElideRight, std::max(room, 0.0));
}

} // namespace

void styleAxis(chart::Axis& axis, const chart::TextStyle& titleStyle, const chart::TextStyle& labelStyle)
{
    axis.setTitle(QString());
    axis.setTitleTextStyle(titleStyle);
    axis.setTitleOffset(-10);
    axis.setAxisLineStyle(std::nullopt);
    axis.setMajorGridLineStyle(chart::LineStyle { 1.0, QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.2f), {} });
    axis.setLabelOffset(20);
    // A light shadow lifts the labels off a light background; on a dark one it would blur them.
    axis.setLabelShadow(chart::Shadow { QPointF(1, -1), 0.0,
        platform::isDarkAppearance() ? QColor::fromRgbF(0, 0, 0, 0.25f) : QColor::fromRgbF(1, 1, 1, 0.25f) });
    axis.setConstraintWithLowerOffset(axisInset);
    axis.setMajorTickLineStyle(std::nullopt);
    axis.setMajorTickLength(1);
    axis.setMinorTickLength(1);
    axis.setTickDirection(chart::TickDirection::Positive);
    axis.setLabelTextStyle(labelStyle);
}

double labelInterval(double top)
{
    return platform::leadingDigitStep(std::trunc(top / 5.0));
}

double labelInterval(double top, double bottom)
{
    const double fromTop = labelInterval(top);
    return fromTop > 0.0 || !(bottom < 0.0) ? fromTop : labelInterval(-bottom);
}

QList<double> labels(double top, double bottom, double interval, double headroom)
{
    QList<double> values;
    if (!(interval > 0.0) || !std::isfinite(interval))
        return values;
    // Beyond the largest double the headroom would make the walk endless.
    const double limit = std::min(top * headroom, std::numeric_limits<double>::max());
    if (limit >= interval) {
        const double stride = std::max(1.0, std::ceil(std::floor(limit / interval) / kMostLabelsPerSide));
        for (double k = stride; k * interval <= limit && std::isfinite(k); k += stride)
            values.append(platform::decimalMultiple(k, interval));
    }
    if (std::isfinite(bottom) && bottom < 0.0) {
        const double below = std::floor(-bottom / interval);
        const double stride = std::max(1.0, std::ceil(below / kMostLabelsPerSide));
        for (double k = stride; k <= below && std::isfinite(k); k += stride) {
            if (std::isfinite(k * interval))
                values.append(-platform::decimalMultiple(k, interval));
        }
    }
    return values;
}

chart::PlotRange valueRange(double lower, double upper, double factor)
{
    // In quarters, so that neither the difference nor the factor overflows on the way; the
    // ends and the length all stay below the largest double.
    const double quarter
        = std::max({ std::abs(lower) / 4.0, std::abs(upper) / 4.0, upper / 4.0 - lower / 4.0 }) * factor;
    constexpr double mostQuarter = std::numeric_limits<double>::max() / 4.0 * 0.99;
    const double scale = quarter > mostQuarter ? factor * (mostQuarter / quarter) : factor;
    return chart::PlotRange::withLocation(lower * scale, 4.0 * ((upper / 4.0 - lower / 4.0) * scale));
}

QString text(double value)
{
    return NWCurrencyFormatter(0, NWCurrencyFormatter::parenthesesNegativeFormat()).stringFromNumber(value);
}

void apply(chart::Graph& graph, const QList<double>& labels, double interval, double scale, double mostEnd)
{
    chart::Axis& axis = *graph.axisSet()->yAxis();
    const chart::Axis& other = *graph.axisSet()->xAxis();
    const QRectF room = graph.bounds();
    QList<QRectF> taken;
    for (const chart::AxisLabel& label : other.axisLabels()) {
        if (const auto rect = chart::axisLabelRect(graph, other, label))
            taken.append(*rect);
    }
    const bool stepped = interval > 0.0 && std::isfinite(interval);
    QList<Placed> candidates;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const double value = labels[i];
        const QString fitted = fittedText(graph, axis, value, scale, mostEnd);
        if (fitted.isEmpty())
            continue;
        Placed placed { chart::AxisLabel { fitted, axis.labelTextStyle(), value,
                            -(axis.majorTickLength() + axis.labelOffset()), chart::Alignment::Bottom,
                            std::nullopt },
            QRectF(), stepped ? std::round(value / interval) : double(i + 1) };
        if (!room.isEmpty()) {
            const auto rect = chart::axisLabelRect(graph, axis, placed.label);
            if (!rect || !room.contains(*rect)
                || std::any_of(
                    taken.cbegin(), taken.cend(), [&](const QRectF& t) { return t.intersects(*rect); }))
                continue;
            placed.rect = *rect;
        }
        candidates.append(placed);
    }
    QList<const Placed*> chosen;
    for (qsizetype every = 1; every <= std::max<qsizetype>(1, candidates.size()); ++every) {
        chosen.clear();
        for (const Placed& placed : candidates) {
            if (std::fmod(placed.multiple, double(every)) == 0.0)
                chosen.append(&placed);
        }
        if (room.isEmpty() || apart(chosen))
            break;
    }
    QList<chart::AxisLabel> shown;
    QList<double> ticks;
    for (const Placed* placed : chosen) {
        shown.append(placed->label);
        ticks.append(placed->label.tickLocation);
    }
    axis.setAxisLabels(shown);
    axis.setMajorTickLocations(ticks);
    axis.setMinorTickLocations({});
}

double labelsEnd(const chart::Graph& graph, const QList<double>& labels, double scale, double mostEnd)
{
    const chart::Axis& axis = *graph.axisSet()->yAxis();
    const QFontMetricsF metrics(axis.labelTextStyle().font());
    double widest = 0.0;
    for (double value : labels)
        widest = std::max(widest, metrics.horizontalAdvance(fittedText(graph, axis, value, scale, mostEnd)));
    return std::max(axisInset + axis.majorTickLength() + axis.labelOffset(), labelsStart(axis) + widest);
}

chart::PlotRange clearOfLabels(const chart::PlotRange& range, double edge, double clearLeft, double plotWidth)
{
    if (!std::isfinite(plotWidth) || !std::isfinite(clearLeft) || !std::isfinite(edge) || plotWidth <= 0
        || clearLeft <= 0 || !range.isFinite() || range.length <= 0)
        return range;
    // The edge e sits (e − low) / (high − low) of the width in; the share k of the width to keep
    // clear gives low = (e − k·high) / (1 − k).
    const double share = clearLeft / plotWidth;
    if (share >= 0.9)
        return range;
    const double high = range.location + range.length;
    const double low = std::min(range.location, (edge - share * high) / (1 - share));
    return chart::PlotRange::withLocation(low, high - low);
}

double barLabelOffset(const chart::Graph& graph, bool barsBelowZero)
{
    const chart::Axis& x = *graph.axisSet()->xAxis();
    if (!barsBelowZero)
        return x.majorTickLength();
    const auto zero = graph.defaultPlotSpace()->mappedGraphY(0.0);
    const double below = zero ? graph.plotAreaRect().bottom() - *zero : 0.0;
    return x.majorTickLength() + (std::isfinite(below) ? std::max(0.0, below) : 0.0);
}

void applyUnderBars(chart::Graph& graph, bool barsBelowZero, const QList<double>& labels, double interval,
    double scale, double mostEnd)
{
    chart::Axis* x = graph.axisSet()->xAxis();
    const double offset = barLabelOffset(graph, barsBelowZero);
    QList<chart::AxisLabel> names = x->axisLabels();
    for (chart::AxisLabel& label : names)
        label.offset = offset;
    x->setAxisLabels(names);
    apply(graph, labels, interval, scale, mostEnd);
}

} // namespace ValueAxisLabels
