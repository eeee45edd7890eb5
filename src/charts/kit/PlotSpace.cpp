#include "charts/kit/PlotSpace.h"

#include "charts/kit/Graph.h"
#include "charts/kit/Plot.h"

#include <cmath>
#include <limits>

namespace chart {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A range of zero length cannot be drawn: give it a tenth of its value on each side, or one unit.
PlotRange visibleRange(const PlotRange& range)
{
    if (range.length != 0.0)
        return range;
    const double width = range.location == 0.0 ? 1.0 : std::abs(range.location) * 0.2;
    return PlotRange { range.location - width / 2.0, width };
}

} // namespace

PlotSpace::PlotSpace(Graph* graph) : QObject(graph), m_graph(graph)
{
}

void PlotSpace::setXRange(const PlotRange& range)
{
    const PlotRange constrained = m_globalXRange ? range.constrainedTo(*m_globalXRange) : range;
    if (constrained == m_xRange)
        return;
    m_xRange = constrained;
    emit rangesChanged();
}

void PlotSpace::setYRange(const PlotRange& range)
{
    const PlotRange constrained = m_globalYRange ? range.constrainedTo(*m_globalYRange) : range;
    if (constrained == m_yRange)
        return;
    m_yRange = constrained;
    emit rangesChanged();
}

void PlotSpace::setGlobalXRange(const std::optional<PlotRange>& range)
{
    m_globalXRange = range;
    if (range)
        setXRange(m_xRange);
}

void PlotSpace::setGlobalYRange(const std::optional<PlotRange>& range)
{
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

double PlotSpace::graphXForPlotX(double x) const
{
    const QRectF area = m_graph->plotAreaRect();
    if (m_xRange.length == 0.0 || !m_xRange.isFinite())
        return kNaN;
    return area.left() + (x - m_xRange.location) / m_xRange.length * area.width();
}

double PlotSpace::graphYForPlotY(double y) const
{
    const QRectF area = m_graph->plotAreaRect();
    if (m_yRange.length == 0.0 || !m_yRange.isFinite())
        return kNaN;
    return area.bottom() - (y - m_yRange.location) / m_yRange.length * area.height();
}

QPointF PlotSpace::graphPointForPlotPoint(double x, double y) const
{
    return QPointF(graphXForPlotX(x), graphYForPlotY(y));
}

QPointF PlotSpace::plotAreaViewPointForPlotPoint(const QPointF& plotPoint) const
{
    const QRectF area = m_graph->plotAreaRect();
    const QPointF graphPoint = graphPointForPlotPoint(plotPoint.x(), plotPoint.y());
    return QPointF(graphPoint.x() - area.left(), area.bottom() - graphPoint.y());
}

QPointF PlotSpace::plotPointForPlotAreaViewPoint(const QPointF& plotAreaPoint) const
{
    const QRectF area = m_graph->plotAreaRect();
    if (area.width() <= 0 || area.height() <= 0)
        return QPointF(kNaN, kNaN);
    return QPointF(m_xRange.location + plotAreaPoint.x() / area.width() * m_xRange.length,
        m_yRange.location + plotAreaPoint.y() / area.height() * m_yRange.length);
}

void PlotSpace::displaceBy(const QPointF& displacement)
{
    const QRectF area = m_graph->plotAreaRect();
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
