// The annual chart's graph, axes and plots, and what the plots ask of their data source.
#include "charts/annual/AnnualChartData.h"
#include "charts/annual/AnnualViewController.h"
#include "charts/common/NetWorthBarPlot.h"
#include "charts/common/ValueAxisLabels.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "charts/kit/Axis.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"

#include <QFontMetricsF>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kBarPlotIdentifier = u"NW_BAR_PLOT"_s;
const QString kGoalPlotIdentifier = u"GOAL_LINE"_s;

const QColor kGoalOrange = QColor::fromRgbF(1.0f, 0.645f, 0.082f, 1.0f);
const QColor kAxisGrey = QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.5f);

chart::TextStyle labelStyle()
{
    return chart::TextStyle { platform::namedColor(u"ChartText"_s), u"HelveticaNeue-Light"_s, 11.0 };
}

chart::TextStyle titleStyle()
{
    return chart::TextStyle { platform::namedColor(u"ChartText"_s), u"HelveticaNeueLight"_s, 14.0 };
}

} // namespace

void AnnualViewController::configureBARGraph()
{
    auto* graph = new chart::Graph(m_hostView ? QRectF(m_hostView->rect()) : QRectF());
    graph->setPlotAreaFrameFill(std::nullopt);
    graph->setPlotAreaFrameBorderLineStyle(std::nullopt);
    graph->setPlotAreaFramePaddings(QMarginsF(0, 0, 0, 20));
    graph->setTitle(QString());
    graph->setTitleTextStyle(
        chart::TextStyle { QColor::fromRgbF(0.3f, 0.3f, 0.3f, 1.0f), u"HelveticaNeueLight"_s, 16.0 });
    graph->setTitlePlotAreaFrameAnchor(chart::RectAnchor::Top);
    graph->defaultPlotSpace()->setAllowsUserInteraction(false);

    chart::Graph* previous = m_hostView->hostedGraph();
    m_hostView->setHostedGraph(graph);
    delete previous;
}

void AnnualViewController::configureBARAxes()
{
    chart::AxisSet* axes = m_hostView->hostedGraph()->axisSet();

    chart::Axis* x = axes->xAxis();
    x->setTitle(QString());
    x->setTitleTextStyle(titleStyle());
    x->setTitleOffset(14);
    x->setAxisLineStyle(chart::LineStyle { 1.0, kAxisGrey, {} });
    x->setMajorTickLineStyle(chart::LineStyle { 1.0, kAxisGrey, {} });
    x->setMinorTickLineStyle(std::nullopt);
    x->setMajorTickLength(4);
    x->setTickDirection(chart::TickDirection::Negative);
    x->setLabelTextStyle(labelStyle());

    ValueAxisLabels::styleAxis(*axes->yAxis(), titleStyle(), labelStyle());
}

void AnnualViewController::configureBARPlots()
{
    chart::Graph* graph = m_hostView->hostedGraph();
    m_barPlotNW = newNetWorthBarPlot(kBarPlotIdentifier, AnnualChartData::barWidth);
    m_barPlotNW->setDelegate(this);
    m_barPlotNW->setDataSource(this);
    graph->addPlot(m_barPlotNW);

    m_goalPlot = new chart::ScatterPlot;
    m_goalPlot->setIdentifier(kGoalPlotIdentifier);
    m_goalPlot->setDataLineStyle(chart::LineStyle { 3.0, kGoalOrange, { 5.0, 5.0 } });
    m_goalPlot->setPlotSymbol(std::nullopt);
    m_goalPlot->setAreaFill(std::nullopt);
    m_goalPlot->setAreaBaseValue(0);
    m_goalPlot->setDataSource(this);
    graph->addPlot(m_goalPlot);
    setGoalInformation();
    m_goalPlot->setHidden(!m_showNWGoal);
}

void AnnualViewController::reloadAndRedraw()
{
    const double top = reloadXAxes();
    reloadYAxes(top, m_minNWValue);
    placeLabels();
    m_hostView->hostedGraph()->reloadData();
}

void AnnualViewController::setGoalInformation()
{
    m_showNWGoal = HistoryChartSettings::showGoal();
    m_goalAmount = HistoryChartSettings::goalAmount().value_or(m_goalAmount);
}

double AnnualViewController::reloadXAxes()
{
    chart::Graph* graph = m_hostView->hostedGraph();
    setGoalInformation();
    const auto years = AnnualChartData::yearAxis(
        m_visibleDataArray, m_showNWGoal ? std::optional<double>(m_goalAmount) : std::nullopt);
    graph->axisSet()->xAxis()->setMajorTickLocations(years.ticks);
    graph->defaultPlotSpace()->setXRange(AnnualChartData::slotRange(slotCount(), m_visibleDataArray));
    m_yearLabels = years.labels;
    m_minNWValue = years.bottom;
    return years.top;
}

void AnnualViewController::placeLabels()
{
    chart::Graph* graph = m_hostView->hostedGraph();
    if (!graph)
        return;
    // The first bar starts clear of the value labels, the value labels keep clear of the year
    // labels, which are placed first.
    if (!m_visibleDataArray.isEmpty()) {
        const double clearLeft = ValueAxisLabels::labelsEnd(*graph, m_valueAxis.labels) + 6;
        graph->defaultPlotSpace()->setXRange(
            ValueAxisLabels::clearOfLabels(AnnualChartData::slotRange(slotCount(), m_visibleDataArray),
                -AnnualChartData::barWidth / 2, clearLeft, graph->plotAreaRect().width()));
    }
    placeYearLabels();
    ValueAxisLabels::apply(*graph, m_valueAxis.labels, m_valueAxis.interval);
}

void AnnualViewController::placeYearLabels()
{
    chart::Graph* graph = m_hostView->hostedGraph();
    if (!graph)
        return;
    chart::Axis* x = graph->axisSet()->xAxis();
    const double slotWidth = graph->plotAreaRect().width() / graph->defaultPlotSpace()->xRange().length;
    const double labelWidth = QFontMetricsF(x->labelTextStyle().font()).horizontalAdvance(u"00000"_s);
    const int stride = AnnualChartData::yearLabelStride(slotWidth, labelWidth);
    // Counted from the newest year-end, so that the latest year keeps its label.
    const qsizetype newest = m_visibleDataArray.size() - 1
        - std::count_if(m_visibleDataArray.cbegin(), m_visibleDataArray.cend(),
            [](const NWAnnualLog& point) { return point.isTrendPoint(); });
    const double offset = ValueAxisLabels::barLabelOffset(*graph, m_minNWValue < 0.0);
    QList<chart::AxisLabel> labels;
    for (qsizetype slot = 0; slot < m_yearLabels.size(); ++slot) {
        if ((newest - slot) % stride != 0)
            continue;
        labels.append(chart::AxisLabel { m_yearLabels[slot], x->labelTextStyle(), double(slot), offset,
            chart::Alignment::Center, std::nullopt });
    }
    x->setAxisLabels(labels);
}

void AnnualViewController::reloadYAxes(double top, double minNWValue)
{
    chart::Graph* graph = m_hostView->hostedGraph();
    m_valueAxis = AnnualChartData::valueAxis(top, minNWValue);
    graph->defaultPlotSpace()->setYRange(m_valueAxis.range);
}

int AnnualViewController::numberOfRecordsForPlot(chart::Plot* plot)
{
    if (plot->identifier() == kBarPlotIdentifier) {
        m_numberOfBarsDisplayed = slotCount();
        return m_numberOfBarsDisplayed;
    }
    if (plot->identifier() == kGoalPlotIdentifier)
        return m_numberOfBarsDisplayed;
    return 0;
}

std::optional<double> AnnualViewController::numberForPlot(
    chart::Plot* plot, chart::PlotField field, int recordIndex)
{
    if (plot->identifier() == kGoalPlotIdentifier)
        return field == chart::PlotField::X ? double(recordIndex) : m_goalAmount;
    if (plot->identifier() != kBarPlotIdentifier)
        return 0.0;
    switch (field) {
    case chart::PlotField::BarLocation:
        return double(recordIndex);
    case chart::PlotField::BarTip:
        if (recordIndex < 0 || recordIndex >= m_visibleDataArray.size())
            return std::nullopt;
        return AnnualChartData::value(m_visibleDataArray[recordIndex]);
    case chart::PlotField::BarBase:
        return std::nullopt;
    }
    return 0.0;
}

std::optional<chart::Fill> AnnualViewController::barFillForBarPlot(chart::BarPlot* plot, int recordIndex)
{
    if (plot->identifier() != kBarPlotIdentifier || recordIndex < 0
        || recordIndex >= m_visibleDataArray.size() || !m_visibleDataArray[recordIndex].isTrendPoint())
        return std::nullopt;
    return chart::Fill::withImage(platform::image(u"trendNWFill2"_s), chart::Fill::ImageMode::Tiled, 2.0);
}

std::optional<chart::LineStyle> AnnualViewController::barLineStyleForBarPlot(
    chart::BarPlot* plot, int recordIndex)
{
    if (plot->identifier() != kBarPlotIdentifier || recordIndex < 0
        || recordIndex >= m_visibleDataArray.size() || !m_visibleDataArray[recordIndex].isTrendPoint())
        return std::nullopt;
    return chart::LineStyle { 1.5, QColor::fromRgbF(1.0f, 0.645f, 0.082f, 0.6f), {} };
}
