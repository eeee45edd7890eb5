#include "charts/kit/Axis.h"

#include "charts/kit/Graph.h"

namespace chart {

Axis::Axis(Graph* graph, Coordinate coordinate) : m_graph(graph), m_coordinate(coordinate)
{
}

void Axis::changed()
{
    if (m_graph)
        m_graph->axesChanged();
}

#define CHART_AXIS_SETTER(Name, member, Type)                                                                \
    void Axis::set##Name(Type value)                                                                         \
    {                                                                                                        \
        member = value;                                                                                      \
        changed();                                                                                           \
    }

CHART_AXIS_SETTER(Title, m_title, const QString&)
CHART_AXIS_SETTER(TitleTextStyle, m_titleTextStyle, const TextStyle&)
CHART_AXIS_SETTER(TitleOffset, m_titleOffset, qreal)
CHART_AXIS_SETTER(AxisLineStyle, m_axisLineStyle, const std::optional<LineStyle>&)
CHART_AXIS_SETTER(MajorTickLineStyle, m_majorTickLineStyle, const std::optional<LineStyle>&)
CHART_AXIS_SETTER(MinorTickLineStyle, m_minorTickLineStyle, const std::optional<LineStyle>&)
CHART_AXIS_SETTER(MajorGridLineStyle, m_majorGridLineStyle, const std::optional<LineStyle>&)
CHART_AXIS_SETTER(MinorGridLineStyle, m_minorGridLineStyle, const std::optional<LineStyle>&)
CHART_AXIS_SETTER(MajorTickLength, m_majorTickLength, qreal)
CHART_AXIS_SETTER(MinorTickLength, m_minorTickLength, qreal)
CHART_AXIS_SETTER(TickDirection, m_tickDirection, TickDirection)
CHART_AXIS_SETTER(VisibleRange, m_visibleRange, const std::optional<PlotRange>&)
CHART_AXIS_SETTER(AxisLabels, m_axisLabels, const QList<AxisLabel>&)
CHART_AXIS_SETTER(MajorTickLocations, m_majorTickLocations, const QList<double>&)
CHART_AXIS_SETTER(MinorTickLocations, m_minorTickLocations, const QList<double>&)
CHART_AXIS_SETTER(LabelTextStyle, m_labelTextStyle, const TextStyle&)
CHART_AXIS_SETTER(LabelOffset, m_labelOffset, qreal)
CHART_AXIS_SETTER(LabelShadow, m_labelShadow, const std::optional<Shadow>&)

#undef CHART_AXIS_SETTER

void Axis::setConstraintWithLowerOffset(qreal points)
{
    m_lowerOffset = points;
    changed();
}

void Axis::setOrthogonalPosition(double value)
{
    m_lowerOffset.reset();
    m_orthogonalPosition = value;
    changed();
}

AxisSet::AxisSet(Graph* graph) : m_xAxis(graph, Axis::Coordinate::X), m_yAxis(graph, Axis::Coordinate::Y)
{
}

} // namespace chart
