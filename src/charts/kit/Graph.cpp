#include "charts/kit/Graph.h"

#include "charts/kit/ChartLimits.h"
#include "charts/kit/GraphItems.h"
#include "charts/kit/Plot.h"
#include "charts/kit/PlotSpace.h"
#include "platform/SaneGeometry.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>
#include <QValueAxis>

#include <cmath>

namespace chart {

namespace {

QMarginsF saneMargins(const QMarginsF& margins)
{
    return QMarginsF(platform::saneCoordinate(margins.left()), platform::saneCoordinate(margins.top()),
        platform::saneCoordinate(margins.right()), platform::saneCoordinate(margins.bottom()));
}

// `rect` less `margins`, empty rather than negative, its edges within the drawing range.
QRectF insetWithin(const QRectF& rect, const QMarginsF& margins)
{
    const QRectF inset = rect.marginsRemoved(margins);
    const QPointF topLeft = platform::sanePoint(inset.topLeft());
    const QPointF bottomRight = platform::sanePoint(inset.bottomRight());
    return QRectF(topLeft,
        QSizeF(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()).expandedTo(QSizeF(0, 0)));
}

} // namespace

Graph::Graph(const QRectF& frame, QObject* parent)
    : QObject(parent)
    , m_scene(new QGraphicsScene(this))
    , m_chart(new QChart)
    , m_background(new GraphDecorationItem(this, GraphDecorationItem::Layer::Background))
    , m_foreground(new GraphDecorationItem(this, GraphDecorationItem::Layer::Foreground))
    , m_gridItem(new AxisSetItem(this, AxisSetItem::Layer::Grid))
    , m_axesItem(new AxisSetItem(this, AxisSetItem::Layer::Axes))
    , m_plotSpace(new PlotSpace(this))
    , m_axisSet(std::make_unique<AxisSet>(this))
    , m_size(platform::saneSize(frame.size()))
{
    // Qt Charts draws only the series: its own axes carry the ranges but show nothing.
    m_chart->legend()->hide();
    m_chart->setBackgroundVisible(false);
    m_chart->setPlotAreaBackgroundVisible(false);
    m_chart->setDropShadowEnabled(false);
    m_chart->setBackgroundRoundness(0);
    m_chart->setMargins(QMargins());
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setMinimumSize(0, 0);
    auto* xAxis = new QValueAxis;
    auto* yAxis = new QValueAxis;
    m_chart->addAxis(xAxis, Qt::AlignBottom);
    m_chart->addAxis(yAxis, Qt::AlignLeft);
    for (QValueAxis* axis : { xAxis, yAxis }) {
        axis->setVisible(false);
        axis->setGridLineVisible(false);
        axis->setLabelsVisible(false);
        axis->setLineVisible(false);
    }
    m_scene->addItem(m_background);
    m_scene->addItem(m_gridItem);
    m_scene->addItem(m_chart);
    m_scene->addItem(m_axesItem);
    m_scene->addItem(m_foreground);
    connect(m_plotSpace, &PlotSpace::rangesChanged, this, &Graph::rangesChanged);
    relayout();
    rangesChanged();
}

Graph::~Graph()
{
    // Plots remove their series and items from the scene before it goes.
    const QList<Plot*> plots = m_plots;
    m_plots.clear();
    for (Plot* plot : plots) {
        plot->detachFromGraph();
        delete plot;
    }
}

QRectF Graph::bounds() const
{
    return QRectF(QPointF(0, 0), m_size);
}

void Graph::setBounds(const QRectF& bounds)
{
    const QSizeF size = platform::saneSize(bounds.size());
    if (size == m_size)
        return;
    m_size = size;
    relayout();
}

QRectF Graph::plotAreaFrameRect() const
{
    return insetWithin(bounds(), m_paddings);
}

QRectF Graph::plotAreaRect() const
{
    return insetWithin(plotAreaFrameRect(), m_framePaddings);
}

void Graph::setPaddings(const QMarginsF& paddings)
{
    m_paddings = saneMargins(paddings);
    relayout();
}

void Graph::setPlotAreaFramePaddings(const QMarginsF& paddings)
{
    m_framePaddings = saneMargins(paddings);
    relayout();
}

void Graph::setPlotAreaFrameFill(const std::optional<Fill>& fill)
{
    m_frameFill = fill;
    m_background->update();
}

void Graph::setPlotAreaFrameBorderLineStyle(const std::optional<LineStyle>& style)
{
    m_frameBorder = style;
    m_foreground->update();
}

void Graph::setFill(const std::optional<Fill>& fill)
{
    m_fill = fill;
    m_background->update();
}

void Graph::setTitle(const QString& title)
{
    m_title = boundedLabelText(title);
    m_foreground->update();
}

void Graph::setTitleTextStyle(const TextStyle& style)
{
    m_titleTextStyle = style;
    m_foreground->update();
}

void Graph::setTitlePlotAreaFrameAnchor(RectAnchor anchor)
{
    if (static_cast<int>(anchor) < static_cast<int>(RectAnchor::BottomLeft)
        || static_cast<int>(anchor) > static_cast<int>(RectAnchor::Center))
        return;
    m_titleAnchor = anchor;
    m_foreground->update();
}

void Graph::setTitleDisplacement(const QPointF& displacement)
{
    m_titleDisplacement = platform::sanePoint(displacement);
    m_foreground->update();
}

void Graph::setAxisSet(std::unique_ptr<AxisSet> axisSet)
{
    m_axisSet = std::move(axisSet);
    if (m_axisSet)
        m_axisSet->setGraph(this);
    axesChanged();
}

void Graph::axesChanged()
{
    m_gridItem->update();
    m_axesItem->update();
}

void Graph::addPlot(Plot* plot, PlotSpace* space)
{
    Q_ASSERT(plot && !m_plots.contains(plot));
    Q_ASSERT(!space || space == m_plotSpace);
    if (!plot || m_plots.contains(plot))
        return;
    // A plot lives in one graph at a time.
    if (Graph* previous = plot->graph()) {
        previous->m_plots.removeOne(plot);
        plot->detachFromGraph();
    }
    plot->setParent(this);
    m_plots.append(plot);
    // This graph has one plot space; another graph's would be left dangling when it goes.
    plot->attachToGraph(this, m_plotSpace);
    plot->reloadData();
    plot->applyAppearance();
}

void Graph::forgetPlot(Plot* plot)
{
    m_plots.removeOne(plot);
}

void Graph::removePlot(Plot* plot)
{
    if (!m_plots.removeOne(plot))
        return;
    plot->detachFromGraph();
    delete plot;
}

Plot* Graph::plotAtIndex(int index) const
{
    return index >= 0 && index < m_plots.size() ? m_plots.at(index) : nullptr;
}

Plot* Graph::plotWithIdentifier(const QString& identifier) const
{
    for (Plot* plot : m_plots) {
        if (plot->identifier() == identifier)
            return plot;
    }
    return nullptr;
}

void Graph::reloadData()
{
    for (Plot* plot : m_plots)
        plot->reloadData();
}

QImage Graph::imageOfLayer() const
{
    return paintedImage(m_size, 1.0);
}

QImage Graph::imageOfLayer(const QSizeF& givenSize, qreal scale)
{
    const QSizeF size = platform::saneSize(givenSize);
    if (imagePixelSize(size, scale, maximumImagePixels).isEmpty())
        return QImage();
    if (size == m_size)
        return paintedImage(size, scale);
    const QSizeF previous = m_size;
    setBounds(QRectF(QPointF(0, 0), size));
    QImage image = paintedImage(m_size, scale);
    setBounds(QRectF(QPointF(0, 0), previous));
    return image;
}

QImage Graph::paintedImage(const QSizeF& size, qreal scale) const
{
    const QSize pixels = imagePixelSize(size, scale, maximumImagePixels);
    if (pixels.isEmpty())
        return QImage();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image; // too large to allocate
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(renderHints);
    m_scene->render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
    return image;
}

void Graph::render(QPainter* painter, const QRectF& givenTarget)
{
    Q_ASSERT(painter);
    const QRectF target = platform::saneRect(givenTarget);
    if (!painter || target.isEmpty())
        return;
    const QSizeF previous = m_size;
    setBounds(QRectF(QPointF(0, 0), target.size()));
    m_scene->render(painter, target, bounds());
    setBounds(QRectF(QPointF(0, 0), previous));
}

void Graph::relayout()
{
    m_scene->setSceneRect(bounds());
    m_chart->setGeometry(bounds());
    m_chart->setPlotArea(plotAreaRect());
    m_background->boundsChanged();
    m_foreground->boundsChanged();
    m_gridItem->boundsChanged();
    m_axesItem->boundsChanged();
    for (Plot* plot : m_plots)
        plot->layoutChanged();
    emit layoutChanged();
}

void Graph::rangesChanged()
{
    const auto apply = [](QAbstractAxis* axis, const PlotRange& range) {
        auto* valueAxis = qobject_cast<QValueAxis*>(axis);
        if (!valueAxis || !range.isFinite() || range.length == 0.0)
            return;
        valueAxis->setReverse(range.length < 0);
        valueAxis->setRange(range.minLimit() * qtChartsScale, range.maxLimit() * qtChartsScale);
    };
    const QList<QAbstractAxis*> horizontal = m_chart->axes(Qt::Horizontal);
    const QList<QAbstractAxis*> vertical = m_chart->axes(Qt::Vertical);
    if (!horizontal.isEmpty())
        apply(horizontal.first(), m_plotSpace->xRange());
    if (!vertical.isEmpty())
        apply(vertical.first(), m_plotSpace->yRange());
    for (Plot* plot : m_plots)
        plot->layoutChanged();
    axesChanged();
}

} // namespace chart
