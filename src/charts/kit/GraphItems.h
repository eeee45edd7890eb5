#pragma once

#include <QGraphicsItem>

namespace chart {

class Axis;
class Graph;
struct TextStyle;
struct Shadow;

// An item of the graph itself, spread over the whole graph at its own depth.
class GraphLayerItem : public QGraphicsItem {
public:
    GraphLayerItem(Graph* graph, qreal z);
    QRectF boundingRect() const override;
    void boundsChanged() { prepareGeometryChange(); }

protected:
    Graph* m_graph;
};

// The fills behind everything, and the frame border and the title in front of everything.
class GraphDecorationItem : public GraphLayerItem {
public:
    enum class Layer { Background, Foreground };
    GraphDecorationItem(Graph* graph, Layer layer);
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    Layer m_layer;
};

// The axis set: grid lines behind the plots, or axis lines, ticks, labels and titles in front.
class AxisSetItem : public GraphLayerItem {
public:
    enum class Layer { Grid, Axes };
    AxisSetItem(Graph* graph, Layer layer);
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    void paintGrid(QPainter& painter, const Axis& axis) const;
    void paintAxis(QPainter& painter, const Axis& axis) const;

    Layer m_layer;
};

// Text drawing shared by the items: a text at a rectangle, with an optional shadow.
void drawChartText(
    QPainter& painter, const QRectF& rect, const QString& text, const TextStyle& style, const Shadow* shadow);

} // namespace chart
