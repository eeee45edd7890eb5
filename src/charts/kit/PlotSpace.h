#pragma once

#include "charts/kit/PlotRange.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <optional>

namespace chart {

class Graph;
class Plot;
class PlotSpaceDelegate;

// Maps data values to the plot area of its graph. The x and y ranges are what is visible; global
// ranges, when set, bound them (a range is moved into its global range, or becomes it). Ranges
// that are not finite are refused.
class PlotSpace : public QObject {
    Q_OBJECT
public:
    explicit PlotSpace(Graph* graph);

    Graph* graph() const { return m_graph; }

    PlotRange xRange() const { return m_xRange; }
    void setXRange(const PlotRange& range);
    PlotRange yRange() const { return m_yRange; }
    void setYRange(const PlotRange& range);
    std::optional<PlotRange> globalXRange() const { return m_globalXRange; }
    void setGlobalXRange(const std::optional<PlotRange>& range);
    std::optional<PlotRange> globalYRange() const { return m_globalYRange; }
    void setGlobalYRange(const std::optional<PlotRange>& range);

    bool allowsUserInteraction() const { return m_allowsUserInteraction; }
    void setAllowsUserInteraction(bool allows) { m_allowsUserInteraction = allows; }
    // Not owned.
    PlotSpaceDelegate* delegate() const { return m_delegate; }
    void setDelegate(PlotSpaceDelegate* delegate) { m_delegate = delegate; }

    // Sets both ranges to enclose the data of `plots` (hidden ones too). A range of zero length
    // (one record, or equal values) is widened so that it stays visible; plots without finite
    // data leave the ranges unchanged.
    void scaleToFitPlots(const QList<Plot*>& plots);

    // Data point -> plot-area point (origin at the plot area's bottom left, y up).
    QPointF plotAreaViewPointForPlotPoint(const QPointF& plotPoint) const;
    // Plot-area point -> data point; the ranges' locations where the plot area is empty.
    QPointF plotPointForPlotAreaViewPoint(const QPointF& plotAreaPoint) const;
    // Data point -> graph point (Qt's coordinates of the graph, y down). Every result lies
    // within a million points of the origin, so that it can be cast to int; a value that
    // cannot be mapped (not a number, or a range of zero length) gives the plot area's left or
    // bottom edge.
    QPointF graphPointForPlotPoint(double x, double y) const;
    double graphXForPlotX(double x) const;
    double graphYForPlotY(double y) const;
    // The same, with none where the value cannot be mapped: for what draws only what maps.
    std::optional<double> mappedGraphX(double x) const;
    std::optional<double> mappedGraphY(double y) const;

    // Moves the ranges by a displacement in plot-area points (x right, y up), within the global
    // ranges. Used by the hosting view when the user drags.
    void displaceBy(const QPointF& displacement);

signals:
    void rangesChanged();

private:
    QRectF plotArea() const;

    Graph* m_graph;
    PlotRange m_xRange { 0.0, 1.0 };
    PlotRange m_yRange { 0.0, 1.0 };
    std::optional<PlotRange> m_globalXRange;
    std::optional<PlotRange> m_globalYRange;
    bool m_allowsUserInteraction = false;
    PlotSpaceDelegate* m_delegate = nullptr;
};

} // namespace chart
