#include "charts/kit/GraphItems.h"

#include "charts/kit/Axis.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PlotSpace.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <limits>

namespace chart {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The label side of an axis in graph coordinates: +1 towards growing graph x / y.
qreal labelSideSign(const Axis& axis)
{
    const bool positive = axis.tickDirection() == TickDirection::Positive;
    // Positive is up for the x axis (graph y shrinks) and right for the y axis.
    if (axis.coordinate() == Axis::Coordinate::X)
        return positive ? -1.0 : 1.0;
    return positive ? 1.0 : -1.0;
}

// Where the axis line crosses the other coordinate, in graph coordinates (NaN: nowhere).
double axisLinePosition(const Graph& graph, const Axis& axis)
{
    const QRectF area = graph.plotAreaRect();
    const PlotSpace* space = graph.defaultPlotSpace();
    const bool isX = axis.coordinate() == Axis::Coordinate::X;
    if (const auto offset = axis.lowerOffset())
        return std::isfinite(*offset) ? (isX ? area.bottom() - *offset : area.left() + *offset) : kNaN;
    const auto position = isX ? space->mappedGraphY(axis.orthogonalPosition())
                              : space->mappedGraphX(axis.orthogonalPosition());
    return position.value_or(kNaN);
}

// The tick location in graph coordinates along the axis, or NaN when it is not drawn.
double tickPosition(const Graph& graph, const Axis& axis, double location)
{
    if (!std::isfinite(location))
        return kNaN;
    const PlotSpace* space = graph.defaultPlotSpace();
    const bool isX = axis.coordinate() == Axis::Coordinate::X;
    const PlotRange range = isX ? space->xRange() : space->yRange();
    // Only what lies in view (and in the axis's visible range) is drawn; this also keeps huge
    // locations away from the painter.
    if (!range.contains(location))
        return kNaN;
    if (const auto visible = axis.visibleRange(); visible && !visible->contains(location))
        return kNaN;
    return (isX ? space->mappedGraphX(location) : space->mappedGraphY(location)).value_or(kNaN);
}

} // namespace

std::optional<QRectF> axisLabelRect(const Graph& graph, const Axis& axis, const AxisLabel& label)
{
    const double position = axisLinePosition(graph, axis);
    const double along = tickPosition(graph, axis, label.tickLocation);
    if (std::isnan(position) || std::isnan(along) || label.text.isEmpty() || !std::isfinite(label.offset))
        return std::nullopt;
    const qreal side = labelSideSign(axis);
    const QSizeF size = QFontMetricsF(label.textStyle.font()).size(0, label.text);
    const qreal across = position + side * label.offset;
    QRectF box(QPointF(), size);
    if (axis.coordinate() == Axis::Coordinate::X) {
        const qreal left = label.alignment == Alignment::Left ? along
            : label.alignment == Alignment::Right             ? along - size.width()
                                                              : along - size.width() / 2;
        box.moveTo(left, side > 0 ? across : across - size.height());
    } else {
        const qreal top = label.alignment == Alignment::Top ? along
            : label.alignment == Alignment::Bottom          ? along - size.height()
                                                            : along - size.height() / 2;
        box.moveTo(side > 0 ? across : across - size.width(), top);
    }
    return box;
}

void drawChartText(
    QPainter& painter, const QRectF& rect, const QString& text, const TextStyle& style, const Shadow* shadow)
{
    painter.setFont(style.font());
    if (shadow) {
        painter.setPen(shadow->color);
        painter.drawText(rect.translated(shadow->offset.x(), -shadow->offset.y()),
            Qt::AlignCenter | Qt::TextDontClip, text);
    }
    painter.setPen(style.color);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextDontClip, text);
}

GraphLayerItem::GraphLayerItem(Graph* graph, qreal z) : m_graph(graph)
{
    setZValue(z);
}

QRectF GraphLayerItem::boundingRect() const
{
    return m_graph->bounds();
}

GraphDecorationItem::GraphDecorationItem(Graph* graph, Layer layer)
    : GraphLayerItem(graph, layer == Layer::Background ? -100 : 100), m_layer(layer)
{
}

void GraphDecorationItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF frame = m_graph->plotAreaFrameRect();
    if (m_layer == Layer::Background) {
        if (const auto fill = m_graph->fill()) {
            QPainterPath path;
            path.addRect(m_graph->bounds());
            fill->paint(*painter, path);
        }
        if (const auto fill = m_graph->plotAreaFrameFill()) {
            QPainterPath path;
            path.addRect(frame);
            fill->paint(*painter, path);
        }
        return;
    }
    if (const auto border = m_graph->plotAreaFrameBorderLineStyle(); border && border->lineWidth > 0) {
        painter->setPen(border->pen());
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(frame);
    }
    const QString title = m_graph->title();
    if (title.isEmpty())
        return;
    const TextStyle style = m_graph->titleTextStyle();
    const QSizeF size = QFontMetricsF(style.font()).size(0, title);
    const RectAnchor a = m_graph->titlePlotAreaFrameAnchor();
    const bool left = a == RectAnchor::BottomLeft || a == RectAnchor::Left || a == RectAnchor::TopLeft;
    const bool right = a == RectAnchor::BottomRight || a == RectAnchor::Right || a == RectAnchor::TopRight;
    const bool top = a == RectAnchor::TopLeft || a == RectAnchor::Top || a == RectAnchor::TopRight;
    const bool bottom
        = a == RectAnchor::BottomLeft || a == RectAnchor::Bottom || a == RectAnchor::BottomRight;
    // The title lies inside the frame at its anchor.
    const qreal x = left ? frame.left()
        : right          ? frame.right() - size.width()
                         : frame.center().x() - size.width() / 2;
    const qreal y = top ? frame.top()
        : bottom        ? frame.bottom() - size.height()
                        : frame.center().y() - size.height() / 2;
    const QPointF displacement = m_graph->titleDisplacement();
    drawChartText(
        *painter, QRectF(QPointF(x + displacement.x(), y - displacement.y()), size), title, style, nullptr);
}

AxisSetItem::AxisSetItem(Graph* graph, Layer layer)
    : GraphLayerItem(graph, layer == Layer::Grid ? -50 : 50), m_layer(layer)
{
}

void AxisSetItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const AxisSet* axes = m_graph->axisSet();
    if (!axes)
        return;
    for (const Axis* axis : { axes->xAxis(), axes->yAxis() }) {
        if (m_layer == Layer::Grid)
            paintGrid(*painter, *axis);
        else
            paintAxis(*painter, *axis);
    }
}

void AxisSetItem::paintGrid(QPainter& painter, const Axis& axis) const
{
    const QRectF area = m_graph->plotAreaRect();
    const bool isX = axis.coordinate() == Axis::Coordinate::X;
    const auto drawLines = [&](const QList<double>& locations, const std::optional<LineStyle>& style) {
        if (!style || style->lineWidth <= 0)
            return;
        painter.setPen(style->pen());
        for (double location : locations) {
            const double p = tickPosition(*m_graph, axis, location);
            if (std::isnan(p))
                continue;
            if (isX)
                painter.drawLine(QPointF(p, area.top()), QPointF(p, area.bottom()));
            else
                painter.drawLine(QPointF(area.left(), p), QPointF(area.right(), p));
        }
    };
    drawLines(axis.majorTickLocations(), axis.majorGridLineStyle());
    drawLines(axis.minorTickLocations(), axis.minorGridLineStyle());
}

void AxisSetItem::paintAxis(QPainter& painter, const Axis& axis) const
{
    const double position = axisLinePosition(*m_graph, axis);
    if (std::isnan(position))
        return;
    const QRectF area = m_graph->plotAreaRect();
    const PlotSpace* space = m_graph->defaultPlotSpace();
    const bool isX = axis.coordinate() == Axis::Coordinate::X;
    const auto point
        = [&](double along, double across) { return isX ? QPointF(along, across) : QPointF(across, along); };
    const qreal side = labelSideSign(axis);

    // The axis line over the visible part of its range.
    if (const auto line = axis.axisLineStyle(); line && line->lineWidth > 0) {
        PlotRange range = isX ? space->xRange() : space->yRange();
        if (const auto visible = axis.visibleRange(); visible && visible->isFinite()) {
            const double low = std::max(range.minLimit(), visible->minLimit());
            const double high = std::min(range.maxLimit(), visible->maxLimit());
            range = PlotRange { low, high - low };
        }
        if (range.isFinite() && range.length >= 0) {
            const double a
                = (isX ? space->mappedGraphX(range.minLimit()) : space->mappedGraphY(range.minLimit()))
                      .value_or(kNaN);
            const double b
                = (isX ? space->mappedGraphX(range.maxLimit()) : space->mappedGraphY(range.maxLimit()))
                      .value_or(kNaN);
            if (std::isfinite(a) && std::isfinite(b)) {
                painter.setPen(line->pen());
                painter.drawLine(point(a, position), point(b, position));
            }
        }
    }

    const auto drawTicks
        = [&](const QList<double>& locations, const std::optional<LineStyle>& style, qreal length) {
              if (!style || style->lineWidth <= 0 || !(length > 0) || !std::isfinite(length))
                  return;
              qreal from = position;
              qreal to = position + side * length;
              if (axis.tickDirection() == TickDirection::None) {
                  from = position - length / 2;
                  to = position + length / 2;
              }
              painter.setPen(style->pen());
              for (double location : locations) {
                  const double p = tickPosition(*m_graph, axis, location);
                  if (!std::isnan(p))
                      painter.drawLine(point(p, from), point(p, to));
              }
          };
    drawTicks(axis.majorTickLocations(), axis.majorTickLineStyle(), axis.majorTickLength());
    drawTicks(axis.minorTickLocations(), axis.minorTickLineStyle(), axis.minorTickLength());

    const std::optional<Shadow> shadow = axis.labelShadow();
    for (const AxisLabel& label : axis.axisLabels()) {
        const auto found = axisLabelRect(*m_graph, axis, label);
        if (!found)
            continue;
        const QRectF box = *found;
        const QSizeF size = box.size();
        if (label.rotation && std::isfinite(*label.rotation)) {
            painter.save();
            painter.translate(box.center());
            painter.rotate(-*label.rotation * 180.0 / M_PI);
            drawChartText(painter, QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), label.text,
                label.textStyle, shadow ? &*shadow : nullptr);
            painter.restore();
        } else {
            drawChartText(painter, box, label.text, label.textStyle, shadow ? &*shadow : nullptr);
        }
    }

    if (!axis.title().isEmpty() && std::isfinite(axis.titleOffset())) {
        const TextStyle style = axis.titleTextStyle();
        const QSizeF size = QFontMetricsF(style.font()).size(0, axis.title());
        const qreal across = position + side * axis.titleOffset();
        const QPointF center = isX ? QPointF(area.center().x(), across + side * size.height() / 2)
                                   : QPointF(across + side * size.height() / 2, area.center().y());
        painter.save();
        painter.translate(center);
        if (!isX)
            painter.rotate(-90);
        drawChartText(painter, QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), axis.title(),
            style, nullptr);
        painter.restore();
    }
}

} // namespace chart
