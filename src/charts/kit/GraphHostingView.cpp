#include "charts/kit/GraphHostingView.h"

#include "charts/kit/Graph.h"
#include "charts/kit/Plot.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/PlotSpace.h"
#include "platform/SaneGeometry.h"

#include <QMouseEvent>
#include <QResizeEvent>

namespace chart {

GraphHostingView::GraphHostingView(QWidget* parent) : QGraphicsView(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setRenderHints(Graph::renderHints);
    setBackgroundBrush(Qt::NoBrush);
    setStyleSheet(QStringLiteral("background: transparent"));
    setMouseTracking(true);
    setTransformationAnchor(QGraphicsView::NoAnchor);
    setResizeAnchor(QGraphicsView::NoAnchor);
}

GraphHostingView::~GraphHostingView() = default;

void GraphHostingView::setHostedGraph(Graph* graph)
{
    if (m_graph == graph)
        return;
    if (m_graph)
        disconnect(m_graph, nullptr, this, nullptr);
    m_graph = graph;
    m_pressed = false;
    if (!graph) {
        setScene(nullptr);
        emit plotAreaFrameChanged();
        return;
    }
    if (!graph->parent())
        graph->setParent(this);
    setScene(graph->scene());
    connect(graph, &Graph::layoutChanged, this, &GraphHostingView::plotAreaFrameChanged);
    followViewSize();
    emit plotAreaFrameChanged();
}

void GraphHostingView::followViewSize()
{
    if (!m_graph)
        return;
    const QRectF bounds(QPointF(0, 0), QSizeF(viewport()->size()));
    m_graph->setBounds(bounds);
    setSceneRect(bounds);
}

void GraphHostingView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    followViewSize();
    emit plotAreaFrameChanged();
}

QRectF GraphHostingView::plotAreaFrameRectInView() const
{
    if (!m_graph)
        return QRectF();
    // The view neither scales nor scrolls its scene: only the scene's origin may sit elsewhere.
    return m_graph->plotAreaFrameRect().translated(mapFromScene(QPointF(0, 0)));
}

void GraphHostingView::setPrintRect(const QRectF& rect)
{
    m_printRect = platform::saneRect(rect);
}

QPointF GraphHostingView::plotAreaPointFromView(const QPointF& givenPoint) const
{
    const QPointF viewPoint = platform::sanePoint(givenPoint);
    if (!m_graph)
        return viewPoint;
    const QRectF area = m_graph->plotAreaRect();
    const QPointF graphPoint = mapToScene(viewPoint.toPoint()) + (viewPoint - viewPoint.toPoint());
    return platform::sanePoint(QPointF(graphPoint.x() - area.left(), area.bottom() - graphPoint.y()));
}

QPointF GraphHostingView::viewPointFromPlotArea(const QPointF& givenPoint) const
{
    const QPointF plotAreaPoint = platform::sanePoint(givenPoint);
    if (!m_graph)
        return plotAreaPoint;
    const QRectF area = m_graph->plotAreaRect();
    const QPointF graphPoint(area.left() + plotAreaPoint.x(), area.bottom() - plotAreaPoint.y());
    const QPointF whole = mapFromScene(graphPoint);
    return platform::sanePoint(whole + (graphPoint - mapToScene(whole.toPoint())));
}

GraphHostingView::Hit GraphHostingView::hitAt(const QPointF& graphPoint) const
{
    if (!m_graph)
        return {};
    const QList<Plot*> plots = m_graph->allPlots();
    // The plot drawn last lies on top.
    for (auto it = plots.crbegin(); it != plots.crend(); ++it) {
        Plot* plot = *it;
        if (plot->isHidden())
            continue;
        const int index = plot->recordIndexAtGraphPoint(graphPoint);
        if (index >= 0)
            return Hit { plot, index };
    }
    return {};
}

void GraphHostingView::mousePressEvent(QMouseEvent* event)
{
    if (!m_graph || event->button() != Qt::LeftButton) {
        QGraphicsView::mousePressEvent(event);
        return;
    }
    const QPointF graphPoint = mapToScene(platform::sanePoint(event->position()).toPoint());
    m_pressed = true;
    m_panned = false;
    m_pressPoint = platform::sanePoint(event->position());
    m_lastDragPoint = m_pressPoint;
    m_pressHit = hitAt(graphPoint);
    if (m_pressHit.plot)
        m_pressHit.plot->recordTouchDown(m_pressHit.recordIndex);
    event->accept();
}

void GraphHostingView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_graph || !m_pressed || !(event->buttons() & Qt::LeftButton)) {
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    PlotSpace* space = m_graph->defaultPlotSpace();
    const QPointF position = platform::sanePoint(event->position());
    const QPointF delta = position - m_lastDragPoint;
    m_lastDragPoint = position;
    if (space->allowsUserInteraction() && !delta.isNull()) {
        m_panned = true;
        // Plot-area points are y up.
        QPointF displacement(delta.x(), -delta.y());
        if (PlotSpaceDelegate* delegate = space->delegate())
            displacement = delegate->willDisplaceBy(space, displacement);
        space->displaceBy(displacement);
    }
    event->accept();
}

void GraphHostingView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_graph || !m_pressed || event->button() != Qt::LeftButton) {
        QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    event->accept();
    if (m_panned)
        return;
    const QPointF graphPoint = mapToScene(platform::sanePoint(event->position()).toPoint());
    const Hit hit = hitAt(graphPoint);
    if (hit.plot && hit.plot == m_pressHit.plot && hit.recordIndex == m_pressHit.recordIndex) {
        hit.plot->recordWasSelected(hit.recordIndex);
        return;
    }
    if (!hit.plot && m_graph->plotAreaRect().contains(graphPoint)) {
        if (PlotAreaDelegate* delegate = m_graph->plotAreaDelegate())
            delegate->plotAreaWasSelected(m_graph);
    }
}

} // namespace chart
