#include "charts/kit/Axis.h"

#include "charts/kit/ChartLimits.h"
#include "charts/kit/Graph.h"
#include "platform/SaneGeometry.h"

#include <cmath>

namespace chart {

Axis::Axis(Graph* graph, Coordinate coordinate) : m_graph(graph), m_coordinate(coordinate)
{
}

void Axis::changed()
{
    if (m_graph)
        m_graph->axesChanged();
}

namespace {

QList<double> boundedLocations(const QList<double>& locations)
{
    return locations.size() > maximumAxisLocations ? locations.first(maximumAxisLocations) : locations;
}

std::optional<PlotRange> finiteRange(const std::optional<PlotRange>& range)
{
    return range && range->isFinite() ? range : std::nullopt;
}

TickDirection knownDirection(TickDirection direction, TickDirection current)
{
    switch (direction) {
    case TickDirection::Negative:
    case TickDirection::None:
    case TickDirection::Positive:
        return direction;
    }
    return current;
}

AxisLabel saneLabel(AxisLabel label)
{
    label.text = boundedLabelText(label.text);
    label.offset = platform::saneCoordinate(label.offset);
    if (static_cast<int>(label.alignment) < static_cast<int>(Alignment::Left)
        || static_cast<int>(label.alignment) > static_cast<int>(Alignment::Bottom))
        label.alignment = Alignment::Center;
    if (label.rotation && !std::isfinite(*label.rotation))
        label.rotation.reset();
    return label;
}

QList<AxisLabel> saneLabels(const QList<AxisLabel>& labels)
{
    QList<AxisLabel> result;
    result.reserve(std::min(labels.size(), maximumAxisLabels));
    for (const AxisLabel& label : labels) {
        if (result.size() == maximumAxisLabels)
            break;
        result.append(saneLabel(label));
    }
    return result;
}

} // namespace

#define CHART_AXIS_SETTER(Name, member, Type, value)                                                         \
    void Axis::set##Name(Type given)                                                                         \
    {                                                                                                        \
        member = value;                                                                                      \
        changed();                                                                                           \
    }

CHART_AXIS_SETTER(Title, m_title, const QString&, boundedLabelText(given))
CHART_AXIS_SETTER(TitleTextStyle, m_titleTextStyle, const TextStyle&, given)
CHART_AXIS_SETTER(TitleOffset, m_titleOffset, qreal, platform::saneCoordinate(given))
CHART_AXIS_SETTER(AxisLineStyle, m_axisLineStyle, const std::optional<LineStyle>&, given)
CHART_AXIS_SETTER(MajorTickLineStyle, m_majorTickLineStyle, const std::optional<LineStyle>&, given)
CHART_AXIS_SETTER(MinorTickLineStyle, m_minorTickLineStyle, const std::optional<LineStyle>&, given)
CHART_AXIS_SETTER(MajorGridLineStyle, m_majorGridLineStyle, const std::optional<LineStyle>&, given)
CHART_AXIS_SETTER(MinorGridLineStyle, m_minorGridLineStyle, const std::optional<LineStyle>&, given)
CHART_AXIS_SETTER(MajorTickLength, m_majorTickLength, qreal, platform::saneLength(given))
CHART_AXIS_SETTER(MinorTickLength, m_minorTickLength, qreal, platform::saneLength(given))
CHART_AXIS_SETTER(TickDirection, m_tickDirection, TickDirection, knownDirection(given, m_tickDirection))
CHART_AXIS_SETTER(VisibleRange, m_visibleRange, const std::optional<PlotRange>&, finiteRange(given))
CHART_AXIS_SETTER(AxisLabels, m_axisLabels, const QList<AxisLabel>&, saneLabels(given))
CHART_AXIS_SETTER(MajorTickLocations, m_majorTickLocations, const QList<double>&, boundedLocations(given))
CHART_AXIS_SETTER(MinorTickLocations, m_minorTickLocations, const QList<double>&, boundedLocations(given))
CHART_AXIS_SETTER(LabelTextStyle, m_labelTextStyle, const TextStyle&, given)
CHART_AXIS_SETTER(LabelOffset, m_labelOffset, qreal, platform::saneCoordinate(given))
CHART_AXIS_SETTER(LabelShadow, m_labelShadow, const std::optional<Shadow>&, saneShadow(given))

#undef CHART_AXIS_SETTER

void Axis::setConstraintWithLowerOffset(qreal points)
{
    m_lowerOffset = platform::saneCoordinate(points);
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

void AxisSet::setGraph(Graph* graph)
{
    m_xAxis.m_graph = graph;
    m_yAxis.m_graph = graph;
}

} // namespace chart
