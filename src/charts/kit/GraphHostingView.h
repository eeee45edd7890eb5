#pragma once

#include "charts/kit/Graph.h"

#include <QGraphicsView>
#include <QPointer>
#include <QRectF>

namespace chart {

class Plot;

// Shows its graph's scene without frame or scroll bars; the graph's bounds follow the view's
// size. Clicks on symbols, bars and slices go to the plots' delegates, clicks on nothing to the
// plot-area delegate, and a drag pans the plot space when it allows user interaction.
class GraphHostingView : public QGraphicsView {
    Q_OBJECT
public:
    explicit GraphHostingView(QWidget* parent = nullptr);
    ~GraphHostingView() override;

    Graph* hostedGraph() const { return m_graph; }
    // The graph's bounds follow the view's size from now on; takes the graph as a QObject child
    // when it has no parent.
    void setHostedGraph(Graph* graph);
    QRectF printRect() const { return m_printRect; } // the area drawn when printed (empty: the view's bounds)
    void setPrintRect(const QRectF& rect); // brought within a million points
    QRectF plotAreaFrameRectInView() const; // empty while no graph is hosted
    // View -> plot-area coordinates (y up) and back. Points beyond a million points from the
    // origin are taken at that distance, NaN as 0, so that every result can be cast to int.
    QPointF plotAreaPointFromView(const QPointF& viewPoint) const;
    QPointF viewPointFromPlotArea(const QPointF& plotAreaPoint) const;

signals:
    void plotAreaFrameChanged(); // after a resize, a new graph or a new layout

protected:
    // The base class does the hit testing of symbols, bars and slices and the panning; a
    // subclass that overrides these calls the base first.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Hit {
        QPointer<Plot> plot; // a delegate may remove the plot between press and release
        int recordIndex = -1;
    };
    Hit hitAt(const QPointF& graphPoint) const;
    void followViewSize();

    QPointer<Graph> m_graph;
    QRectF m_printRect;
    bool m_pressed = false;
    bool m_panned = false;
    QPointF m_pressPoint;
    QPointF m_lastDragPoint;
    Hit m_pressHit;
};

} // namespace chart
