#pragma once

#include "charts/kit/Fill.h"
#include "charts/kit/PlotSymbol.h"
#include "charts/kit/Styles.h"

#include <QPointF>
#include <QString>
#include <optional>

namespace chart {

class BarPlot;
class Graph;
class PieChart;
class Plot;
class PlotSpace;
class ScatterPlot;

// The fields a data source is asked for. Scatter plots: x and y; bar plots: location, tip and
// (when bases vary) base; pie charts: the slice value.
enum class PlotField { X = 0, Y = 1, BarLocation = 0, BarTip = 1, BarBase = 2, PieSliceValue = 0 };

// A label drawn next to a bar or a slice.
struct DataLabel {
    QString text;
    TextStyle style;
};

// What a plot draws. Every member is asked again on each reload; nothing is kept across reloads.
// The data source is not owned by the plot and must outlive it or be unset first.
class PlotDataSource {
public:
    virtual ~PlotDataSource() = default;

    virtual int numberOfRecordsForPlot(Plot* plot);
    // None, NaN or an infinite value: nothing is drawn for that record.
    virtual std::optional<double> numberForPlot(Plot* plot, PlotField field, int recordIndex);
    virtual std::optional<DataLabel> dataLabelForPlot(Plot* plot, int recordIndex);
    // None: the plot's own symbol.
    virtual std::optional<PlotSymbol> symbolForScatterPlot(ScatterPlot* plot, int recordIndex);
    // None: the plot's own fill or line style.
    virtual std::optional<Fill> barFillForBarPlot(BarPlot* plot, int recordIndex);
    virtual std::optional<LineStyle> barLineStyleForBarPlot(BarPlot* plot, int recordIndex);
    virtual std::optional<Fill> sliceFillForPieChart(PieChart* plot, int recordIndex);
    // Points the slice is moved out from the centre.
    virtual double radialOffsetForPieChart(PieChart* plot, int recordIndex);
};

// Clicks on the plot's elements (a click is a press and a release on the same element without a
// pan in between). Not owned by the plot.
class PlotDelegate {
public:
    virtual ~PlotDelegate() = default;

    virtual void plotSymbolWasSelected(ScatterPlot* plot, int recordIndex);
    virtual void barWasSelected(BarPlot* plot, int recordIndex);
    virtual void sliceWasSelected(PieChart* plot, int recordIndex);
    // The mouse went down on a slice.
    virtual void sliceTouchDown(PieChart* plot, int recordIndex);
};

// A click in the plot area that hit no element of any plot.
class PlotAreaDelegate {
public:
    virtual ~PlotAreaDelegate() = default;
    virtual void plotAreaWasSelected(Graph* graph);
};

class PlotSpaceDelegate {
public:
    virtual ~PlotSpaceDelegate() = default;
    // The user drags the plot space by `displacement` (points, x right, y up); returns the shift
    // to apply (the default allows all of it).
    virtual QPointF willDisplaceBy(PlotSpace* space, const QPointF& displacement);
};

} // namespace chart
