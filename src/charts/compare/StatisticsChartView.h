#pragma once

#include "charts/compare/CompareStatistics.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/PlotDataSource.h"
#include "uikit/controls/box/RXRoundedBox.h"

#include <QPointer>

class QToolButton;

namespace chart {
class GraphHostingView;
} // namespace chart

/// One statistics chart of the comparison screen in its rounded box: the user's net worth as
/// an orange first bar beside the statistics of one table, converted by the exchange rate,
/// with the chart's print and copy buttons. Built once from its description; `redraw` brings it
/// to new values. Main thread only.
class StatisticsChartView : public RXRoundedBox, chart::PlotDataSource, chart::PlotDelegate {
    Q_OBJECT
public:
    StatisticsChartView(const CompareStatistics::Chart& description, QWidget* parent = nullptr);
    ~StatisticsChartView() override;

    const CompareStatistics::Chart& description() const { return m_description; }
    chart::GraphHostingView* hostView() const { return m_hostView; }
    chart::BarPlot* barPlot() const { return m_barPlot; }
    QToolButton* printButton() const { return m_printButton; }
    QToolButton* copyButton() const { return m_copyButton; }
    /// The smallest bar of the last redraw (never above 0) and the largest.
    double minNWValue() const { return m_minNWValue; }
    double maxNWValue() const { return m_maxNWValue; }

    /// The bars' values for the user's net worth and the rate; the axes follow.
    void redraw(double myNetWorth, double exchangeRate);
    /// The bar of `slot` as drawn now; none beyond the table.
    std::optional<double> barValue(int slot) const;
    /// Follows the appearance: box, title and axis colours.
    void applyAppearance();

    /// The chart's print and copy actions.
    void printChart();
    bool copyChartToClipboard();

signals:
    /// A click on a bar: its slot and the top of the bar in this view's coordinates.
    void barSelected(int slot, QPointF tipInView);

private:
    void configureGraph();
    void configureAxes();
    void fitTitle();
    void reloadAxes();
    void placeLabels();

    int numberOfRecordsForPlot(chart::Plot* plot) override;
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int recordIndex) override;
    std::optional<chart::Fill> barFillForBarPlot(chart::BarPlot* plot, int recordIndex) override;
    std::optional<chart::LineStyle> barLineStyleForBarPlot(chart::BarPlot* plot, int recordIndex) override;
    void barWasSelected(chart::BarPlot* plot, int recordIndex) override;

    CompareStatistics::Chart m_description;
    double m_myNetWorth = 0.0;
    double m_exchangeRate = 1.0;
    double m_minNWValue = 0.0;
    double m_maxNWValue = 0.0;
    CompareStatistics::ValueAxis m_valueAxis;
    chart::GraphHostingView* m_hostView = nullptr;
    QPointer<chart::BarPlot> m_barPlot; // owned by the hosted graph
    QToolButton* m_printButton = nullptr;
    QToolButton* m_copyButton = nullptr;
};
