#pragma once

#include "charts/kit/PlotRange.h"
#include "charts/kit/Styles.h"

#include <QList>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <optional>

namespace chart {

class Graph;

// The design's alignment numbers: where a label sits along its axis relative to its tick.
enum class Alignment { Left = 0, Center = 1, Right = 2, Top = 3, Middle = 4, Bottom = 5 };

// Which side of the axis ticks (and labels) go to: -1 below / left, 1 above / right, 0 across.
enum class TickDirection { Negative = -1, None = 0, Positive = 1 };

// A label the caller places on an axis.
struct AxisLabel {
    QString text;
    TextStyle textStyle;
    double tickLocation = 0.0;
    // Distance from the axis line in points, towards the label side (negative: the other way).
    qreal offset = 0.0;
    Alignment alignment = Alignment::Center;
    std::optional<qreal> rotation; // radians, counter-clockwise
};

// One axis of an XY graph. Only the caller's labels and tick locations are drawn; locations
// that are not finite are left out. Lengths and offsets in points are brought into a drawable
// range, texts are cut to the label length, and only the first 2000 labels and 10 000 tick
// locations are kept.
class Axis {
public:
    enum class Coordinate { X, Y };

    Axis(Graph* graph, Coordinate coordinate);
    Coordinate coordinate() const { return m_coordinate; }

    QString title() const { return m_title; }
    void setTitle(const QString& title);
    TextStyle titleTextStyle() const { return m_titleTextStyle; }
    void setTitleTextStyle(const TextStyle& style);
    qreal titleOffset() const { return m_titleOffset; }
    void setTitleOffset(qreal offset);

    std::optional<LineStyle> axisLineStyle() const { return m_axisLineStyle; }
    void setAxisLineStyle(const std::optional<LineStyle>& style);
    std::optional<LineStyle> majorTickLineStyle() const { return m_majorTickLineStyle; }
    void setMajorTickLineStyle(const std::optional<LineStyle>& style);
    std::optional<LineStyle> minorTickLineStyle() const { return m_minorTickLineStyle; }
    void setMinorTickLineStyle(const std::optional<LineStyle>& style);
    std::optional<LineStyle> majorGridLineStyle() const { return m_majorGridLineStyle; }
    void setMajorGridLineStyle(const std::optional<LineStyle>& style);
    std::optional<LineStyle> minorGridLineStyle() const { return m_minorGridLineStyle; }
    void setMinorGridLineStyle(const std::optional<LineStyle>& style);
    qreal majorTickLength() const { return m_majorTickLength; }
    void setMajorTickLength(qreal length);
    qreal minorTickLength() const { return m_minorTickLength; }
    void setMinorTickLength(qreal length);
    TickDirection tickDirection() const { return m_tickDirection; }
    void setTickDirection(TickDirection direction);

    // Where the axis line, ticks and labels are drawn along the axis (none: everywhere).
    std::optional<PlotRange> visibleRange() const { return m_visibleRange; }
    void setVisibleRange(const std::optional<PlotRange>& range);
    // Kept for the callers that set it; with caller's labels nothing steps by it.
    double majorIntervalLength() const { return m_majorIntervalLength; }
    void setMajorIntervalLength(double length) { m_majorIntervalLength = length; }

    QList<AxisLabel> axisLabels() const { return m_axisLabels; }
    void setAxisLabels(const QList<AxisLabel>& labels);
    QList<double> majorTickLocations() const { return m_majorTickLocations; }
    void setMajorTickLocations(const QList<double>& locations);
    QList<double> minorTickLocations() const { return m_minorTickLocations; }
    void setMinorTickLocations(const QList<double>& locations);

    TextStyle labelTextStyle() const { return m_labelTextStyle; }
    void setLabelTextStyle(const TextStyle& style);
    qreal labelOffset() const { return m_labelOffset; }
    void setLabelOffset(qreal offset);
    std::optional<Shadow> labelShadow() const { return m_labelShadow; }
    void setLabelShadow(const std::optional<Shadow>& shadow);

    // Where the axis crosses the other coordinate: points from the plot area's lower edge
    // (bottom for the x axis, left for the y axis), or at a data value of the other coordinate.
    void setConstraintWithLowerOffset(qreal points);
    void setOrthogonalPosition(double value);
    std::optional<qreal> lowerOffset() const { return m_lowerOffset; }
    double orthogonalPosition() const { return m_orthogonalPosition; }

private:
    friend class AxisSet;
    void changed();

    QPointer<Graph> m_graph;
    Coordinate m_coordinate;
    QString m_title;
    TextStyle m_titleTextStyle;
    qreal m_titleOffset = 30.0;
    std::optional<LineStyle> m_axisLineStyle = LineStyle {};
    std::optional<LineStyle> m_majorTickLineStyle = LineStyle {};
    std::optional<LineStyle> m_minorTickLineStyle;
    std::optional<LineStyle> m_majorGridLineStyle;
    std::optional<LineStyle> m_minorGridLineStyle;
    qreal m_majorTickLength = 5.0;
    qreal m_minorTickLength = 3.0;
    TickDirection m_tickDirection = TickDirection::None;
    std::optional<PlotRange> m_visibleRange;
    double m_majorIntervalLength = 1.0;
    QList<AxisLabel> m_axisLabels;
    QList<double> m_majorTickLocations;
    QList<double> m_minorTickLocations;
    TextStyle m_labelTextStyle;
    qreal m_labelOffset = 2.0;
    std::optional<Shadow> m_labelShadow;
    std::optional<qreal> m_lowerOffset;
    double m_orthogonalPosition = 0.0;
};

// The x and y axes of a graph. A graph given an axis set made for another graph takes it over.
class AxisSet {
public:
    explicit AxisSet(Graph* graph);
    void setGraph(Graph* graph); // the graph its changes redraw
    Axis* xAxis() { return &m_xAxis; }
    Axis* yAxis() { return &m_yAxis; }
    const Axis* xAxis() const { return &m_xAxis; }
    const Axis* yAxis() const { return &m_yAxis; }

private:
    Axis m_xAxis;
    Axis m_yAxis;
};

// Where `label` is drawn on `axis` of `graph`, in graph coordinates (the unrotated box); none
// when it is not drawn: an empty text, its location out of view, or the axis nowhere.
std::optional<QRectF> axisLabelRect(const Graph& graph, const Axis& axis, const AxisLabel& label);

} // namespace chart
