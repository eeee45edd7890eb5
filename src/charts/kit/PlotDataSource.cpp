#include "charts/kit/PlotDataSource.h"

namespace chart {

int PlotDataSource::numberOfRecordsForPlot(Plot*)
{
    return 0;
}
std::optional<double> PlotDataSource::numberForPlot(Plot*, PlotField, int)
{
    return std::nullopt;
}
std::optional<DataLabel> PlotDataSource::dataLabelForPlot(Plot*, int)
{
    return std::nullopt;
}
std::optional<PlotSymbol> PlotDataSource::symbolForScatterPlot(ScatterPlot*, int)
{
    return std::nullopt;
}
std::optional<Fill> PlotDataSource::barFillForBarPlot(BarPlot*, int)
{
    return std::nullopt;
}
std::optional<LineStyle> PlotDataSource::barLineStyleForBarPlot(BarPlot*, int)
{
    return std::nullopt;
}
std::optional<Fill> PlotDataSource::sliceFillForPieChart(PieChart*, int)
{
    return std::nullopt;
}
double PlotDataSource::radialOffsetForPieChart(PieChart*, int)
{
    return 0.0;
}

void PlotDelegate::plotSymbolWasSelected(ScatterPlot*, int)
{
}
void PlotDelegate::barWasSelected(BarPlot*, int)
{
}
void PlotDelegate::sliceWasSelected(PieChart*, int)
{
}
void PlotDelegate::sliceTouchDown(PieChart*, int)
{
}

void PlotAreaDelegate::plotAreaWasSelected(Graph*)
{
}

QPointF PlotSpaceDelegate::willDisplaceBy(PlotSpace*, const QPointF& displacement)
{
    return displacement;
}

} // namespace chart
