#include "charts/kit/PlotSpace.h"

#include "charts/kit/Graph.h"
#include "charts/kit/Plot.h"
#include "platform/SaneGeometry.h"

#include <cmath>
#include <limits>

namespace chart {

namespace {

// A range of zero length cannot be drawn: give it a tenth of its value on each side, or one unit.
PlotRange visibleRange(const PlotRange& range)
{
    if (range.length != 0.0)
        return range;
    const double width = range.location == 0.0 ? 1.0 : std::abs(range.location) * 0.2;
    return PlotRange { range.location - width / 2.0, width };
}

// Where `value` lies along `range`: 0 at its location, 1 at its end. Near the largest double the
// distance from the location may be no double; halved it always is.
double shareOf(double value, const PlotRange& range)
{
    const double distance = value - range.location;
    if (std::isfinite(distance) || !std::isfinite(value))
        return distance / range.length;
    return (value / 2.0 - range.location / 2.0) / range.length * 2.0;
}

} // namespace

PlotSpace::PlotSpace(Graph* graph) : QObject(graph), m_graph(graph)
{
    Q_ASSERT(graph);
}

QRectF PlotSpace::plotArea() const
{
    return m_graph ? m_graph->plotAreaRect() : QRectF();
}

void PlotSpace::setXRange(const PlotRange& range)
{
    if (!range.isFinite())
        return;
    const PlotRange constrained = m_globalXRange ? range.constrainedTo(*m_globalXRange) : range;
    if (constrained == m_xRange)
        return;
    m_xRange = constrained;
    emit rangesChanged();
}

void PlotSpace::setYRange(const PlotRange& range)
{
    if (!range.isFinite())
        return;
    const PlotRange constrained = m_globalYRange ? range.constrainedTo(*m_globalYRange) : range;
    if (constrained == m_yRange)
        return;
    m_yRange = constrained;
    emit rangesChanged();
}

void PlotSpace::setGlobalXRange(const std::optional<PlotRange>& range)
{
    if (range && !range->isFinite())
        return;
    m_globalXRange = range;
    if (range)
        setXRange(m_xRange);
}

void PlotSpace::setGlobalYRange(const std::optional<PlotRange>& range)
{
    if (range && !range->isFinite())
        return;
    m_globalYRange = range;
    if (range)
        setYRange(m_yRange);
}

void PlotSpace::scaleToFitPlots(const QList<Plot*>& plots)
{
    std::optional<PlotRange> x;
    std::optional<PlotRange> y;
    for (const Plot* plot : plots) {
        if (!plot)
            continue;
        if (const auto range = plot->plotRangeForCoordinate(Plot::Coordinate::X); range && range->isFinite())
            x = x ? x->united(*range) : *range;
        if (const auto range = plot->plotRangeForCoordinate(Plot::Coordinate::Y); range && range->isFinite())
            y = y ? y->united(*range) : *range;
    }
    if (x)
        setXRange(visibleRange(*x));
    if (y)
        setYRange(visibleRange(*y));
}

std::optional<double> PlotSpace::mappedGraphX(double x) const
{
    const QRectF area = plotArea();
    const double position = area.left() + shareOf(x, m_xRange) * area.width();
    if (std::isnan(position) || m_xRange.length == 0.0)
        return std::nullopt;
    return platform::saneCoordinate(position);
}

std::optional<double> PlotSpace::mappedGraphY(double y) const
{
    const QRectF area = plotArea();
    const double position = area.bottom() - shareOf(y, m_yRange) * area.height();
    if (std::isnan(position) || m_yRange.length == 0.0)
        return std::nullopt;
    return platform::saneCoordinate(position);
}

double PlotSpace::graphXForPlotX(double x) const
{
    return mappedGraphX(x).value_or(plotArea().left());
}

double PlotSpace::graphYForPlotY(double y) const
{
    return mappedGraphY(y).value_or(plotArea().bottom());
}

QPointF PlotSpace::graphPointForPlotPoint(double x, double y) const
{
    return QPointF(graphXForPlotX(x), graphYForPlotY(y));
}

QPointF PlotSpace::plotAreaViewPointForPlotPoint(const QPointF& plotPoint) const
{
    const QRectF area = plotArea();
    const QPointF graphPoint = graphPointForPlotPoint(plotPoint.x(), plotPoint.y());
    return platform::sanePoint(QPointF(graphPoint.x() - area.left(), area.bottom() - graphPoint.y()));
}

QPointF PlotSpace::plotPointForPlotAreaViewPoint(const QPointF& plotAreaPoint) const
{
    const QRectF area = plotArea();
    const QPointF point = platform::sanePoint(plotAreaPoint);
    const QPointF fallback(m_xRange.location, m_yRange.location);
    if (area.width() <= 0 || area.height() <= 0)
        return fallback;
    const QPointF value(m_xRange.location + point.x() / area.width() * m_xRange.length,
        m_yRange.location + point.y() / area.height() * m_yRange.length);
    return std::isfinite(value.x()) && std::isfinite(value.y()) ? value : fallback;
}

void PlotSpace::displaceBy(const QPointF& displacement)
{
    const QRectF area = plotArea();
    if (area.width() <= 0 || area.height() <= 0 || !std::isfinite(displacement.x())
        || !std::isfinite(displacement.y()))
        return;
    // Dragging to the right brings earlier values into view.
    PlotRange x = m_xRange;
    x.location -= displacement.x() / area.width() * m_xRange.length;
    PlotRange y = m_yRange;
    y.location -= displacement.y() / area.height() * m_yRange.length;
    QSignalBlocker blocker(this);
    setXRange(x);
    setYRange(y);
    blocker.unblock();
    emit rangesChanged();
}

} // namespace chart
