#pragma once

#include "charts/kit/Axis.h"
#include "charts/kit/Fill.h"
#include "charts/kit/Styles.h"

#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QObject>
#include <QPainter>
#include <QRectF>
#include <memory>
#include <optional>

class QChart;
class QGraphicsScene;

namespace chart {

class GraphDecorationItem;
class AxisSetItem;
class Plot;
class PlotAreaDelegate;
class PlotSpace;

// The design's anchors of a rectangle, used to place the title on the plot-area frame.
enum class RectAnchor {
    BottomLeft = 0,
    Bottom = 1,
    BottomRight = 2,
    Left = 3,
    Right = 4,
    TopLeft = 5,
    Top = 6,
    TopRight = 7,
    Center = 8
};

// One chart: a scene holding one Qt chart (for the series) and our own items. Its size is its
// bounds; inside the graph's paddings lies the plot-area frame, and inside the frame's paddings
// the plot area, where the plot space maps data. Graph coordinates are Qt's (y down). Sizes,
// paddings and positions are brought into what can be drawn (at most a million points, NaN as
// 0); the title is cut to the label length; an anchor that is none of the design's is refused.
class Graph : public QObject {
    Q_OBJECT
public:
    // How the screen, the copies and the prints all draw a graph.
    static constexpr QPainter::RenderHints renderHints = QPainter::Antialiasing | QPainter::TextAntialiasing;

    explicit Graph(const QRectF& frame = {}, QObject* parent = nullptr);
    ~Graph() override;

    QRectF bounds() const; // (0, 0, width, height)
    void setBounds(const QRectF& bounds); // lays the graph out again at that size
    QRectF plotAreaFrameRect() const; // the plot-area frame, in graph coordinates
    QRectF plotAreaRect() const; // the plot area inside the frame's paddings, graph coordinates

    QMarginsF paddings() const { return m_paddings; } // default 20 on every side
    void setPaddings(const QMarginsF& paddings);
    QMarginsF plotAreaFramePaddings() const { return m_framePaddings; }
    void setPlotAreaFramePaddings(const QMarginsF& paddings);
    std::optional<Fill> plotAreaFrameFill() const { return m_frameFill; }
    void setPlotAreaFrameFill(const std::optional<Fill>& fill);
    std::optional<LineStyle> plotAreaFrameBorderLineStyle() const { return m_frameBorder; }
    void setPlotAreaFrameBorderLineStyle(const std::optional<LineStyle>& style);
    std::optional<Fill> fill() const { return m_fill; } // behind everything
    void setFill(const std::optional<Fill>& fill);

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    TextStyle titleTextStyle() const { return m_titleTextStyle; }
    void setTitleTextStyle(const TextStyle& style);
    RectAnchor titlePlotAreaFrameAnchor() const { return m_titleAnchor; }
    void setTitlePlotAreaFrameAnchor(RectAnchor anchor);
    // As the design gives it: x right, y up.
    QPointF titleDisplacement() const { return m_titleDisplacement; }
    void setTitleDisplacement(const QPointF& displacement);

    PlotSpace* defaultPlotSpace() const { return m_plotSpace; }
    // None: no axes (pies). A new graph has an axis set.
    AxisSet* axisSet() const { return m_axisSet.get(); }
    void setAxisSet(std::unique_ptr<AxisSet> axisSet);
    PlotAreaDelegate* plotAreaDelegate() const { return m_plotAreaDelegate; } // not owned
    void setPlotAreaDelegate(PlotAreaDelegate* delegate) { m_plotAreaDelegate = delegate; }

    // The graph takes the plot (as its QObject child, out of any graph it was in) and pulls its
    // data. `space` is none or the graph's own plot space.
    void addPlot(Plot* plot, PlotSpace* space = nullptr);
    // Takes the plot out of the graph and deletes it.
    void removePlot(Plot* plot);
    QList<Plot*> allPlots() const { return m_plots; }
    Plot* plotAtIndex(int index) const; // nullptr out of range
    Plot* plotWithIdentifier(const QString& identifier) const; // nullptr when absent

    void reloadData(); // asks every plot's data source again
    QImage imageOfLayer() const; // the whole graph at its bounds size (ARGB32 premultiplied, ratio 1)
    // The whole graph laid out at `size` (points) and drawn by the raster engine, as the screen
    // draws it, into an image of `scale` pixels per point (its device pixel ratio); the graph
    // then takes its own size again. Null for an empty size, a scale that is not positive, or
    // more than 32 million pixels.
    // Printing goes through this: a printer's paint engine does not draw every fill the
    // screen does (the PDF engine makes gradients with translucent stops opaque).
    QImage imageOfLayer(const QSizeF& size, qreal scale);
    // Lays the graph out at target.size(), draws it into target on the painter, then restores
    // its own size.
    void render(QPainter* painter, const QRectF& target);

    // For the hosting view and the plots of this layer; screens never use these.
    QGraphicsScene* scene() const { return m_scene; }
    QChart* qtChart() const { return m_chart; }
    // Axes changed: redraw them.
    void axesChanged();

signals:
    void layoutChanged(); // the plot-area frame moved or changed size

private:
    friend class Plot;
    void forgetPlot(Plot* plot); // the plot is being deleted
    QImage paintedImage(const QSizeF& size, qreal scale) const;
    void relayout();
    void rangesChanged();

    QGraphicsScene* m_scene;
    QChart* m_chart;
    GraphDecorationItem* m_background;
    GraphDecorationItem* m_foreground;
    AxisSetItem* m_gridItem;
    AxisSetItem* m_axesItem;
    PlotSpace* m_plotSpace;
    std::unique_ptr<AxisSet> m_axisSet;
    PlotAreaDelegate* m_plotAreaDelegate = nullptr;
    QList<Plot*> m_plots;

    QSizeF m_size;
    QMarginsF m_paddings { 20, 20, 20, 20 };
    QMarginsF m_framePaddings;
    std::optional<Fill> m_fill;
    std::optional<Fill> m_frameFill;
    std::optional<LineStyle> m_frameBorder;
    QString m_title;
    TextStyle m_titleTextStyle;
    RectAnchor m_titleAnchor = RectAnchor::Top;
    QPointF m_titleDisplacement;
};

} // namespace chart
