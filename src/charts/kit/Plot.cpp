#include "charts/kit/Plot.h"

#include "charts/kit/ChartAnimation.h"
#include "charts/kit/ChartLimits.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PlotDataSource.h"

#include <QAbstractAnimation>
#include <QGraphicsScene>
#include <algorithm>
#include <cmath>

namespace chart {

PlotItem::PlotItem(const Plot* plot, qreal z) : m_owner(plot)
{
    setZValue(z);
}

QRectF PlotItem::boundingRect() const
{
    return m_owner->graph() ? m_owner->graph()->bounds() : QRectF();
}

void PlotItem::boundsChanged()
{
    prepareGeometryChange();
    update();
}

Plot::Plot(QObject* parent) : QObject(parent)
{
}

Plot::~Plot()
{
    leaveGraphWhenDeleted();
}

void Plot::leaveGraphWhenDeleted()
{
    // Deleted by someone other than its graph: the graph must not reach it again.
    if (m_graph) {
        m_graph->forgetPlot(this);
        detachFromGraph();
    }
}

void Plot::setDataSource(PlotDataSource* dataSource)
{
    m_dataSource = dataSource;
    if (m_graph)
        reloadData();
}

void Plot::setHidden(bool hidden)
{
    if (m_hidden == hidden)
        return;
    m_hidden = hidden;
    if (m_graph)
        applyAppearance();
}

void Plot::setOpacity(qreal opacity)
{
    m_opacity = std::isfinite(opacity) ? qBound(0.0, opacity, 1.0) : 1.0;
    if (m_graph)
        applyAppearance();
}

void Plot::fadeIn(qreal from, qreal to, int durationMs)
{
    if (m_fade)
        m_fade->stop();
    setOpacity(from);
    m_fade = animate(this, "opacity", from, to, durationMs, 0, AnimationCurve::Linear);
}

std::optional<PlotRange> Plot::plotRangeForCoordinate(Coordinate) const
{
    return std::nullopt;
}

int Plot::recordIndexAtGraphPoint(const QPointF&) const
{
    return -1;
}

void Plot::recordWasSelected(int)
{
}
void Plot::recordTouchDown(int)
{
}

void Plot::attachToGraph(Graph* graph, PlotSpace* space)
{
    m_graph = graph;
    m_plotSpace = space;
    m_item = createItem();
    graph->scene()->addItem(m_item);
}

void Plot::detachFromGraph()
{
    delete m_item;
    m_item = nullptr;
    m_graph = nullptr;
    m_plotSpace = nullptr;
}

void Plot::layoutChanged()
{
    if (m_item)
        m_item->boundsChanged();
}

void Plot::applyAppearance()
{
    if (m_item) {
        m_item->setVisible(!m_hidden);
        m_item->setOpacity(m_opacity);
    }
}

bool Plot::isRecordIndex(int recordIndex) const
{
    return recordIndex >= 0 && recordIndex < numberOfRecords();
}

std::optional<double> Plot::finiteNumber(int field, int recordIndex)
{
    if (!m_dataSource)
        return std::nullopt;
    const auto value = m_dataSource->numberForPlot(this, static_cast<PlotField>(field), recordIndex);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<DataLabel> Plot::dataLabelFromDataSource(int recordIndex)
{
    std::optional<DataLabel> label
        = m_dataSource ? m_dataSource->dataLabelForPlot(this, recordIndex) : std::nullopt;
    if (label)
        label->text = boundedLabelText(label->text);
    return label;
}

int Plot::recordCountFromDataSource()
{
    return m_dataSource ? std::clamp(m_dataSource->numberOfRecordsForPlot(this), 0, maximumRecordCount) : 0;
}

} // namespace chart
