// The dashboard's year-end bars: graph, axes, plots, and what the plots ask of their data source.
#include "charts/common/NetWorthBarPlot.h"
#include "charts/common/ValueAxisLabels.h"
#include "charts/common/ValuePopup.h"
#include "charts/kit/Axis.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotSpace.h"
#include "dashboard/totals/TotalsViewController.h"
#include "dashboard/totals/YearEndBarsStackPlot.h"
#include "model/data/MVX_Category.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/YUpGeometry.h"
#include "uikit/popover/PKPopoverController.h"

#include <QFontMetricsF>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kBarPlotIdentifier = u"NW_BAR_PLOT"_s;
const QString kStackPlotIdentifier = u"CATEGORY_STACKS"_s;
const QColor kAxisGrey = QColor::fromRgbF(0.5f, 0.5f, 0.5f, 0.5f);
// Points between the value labels and the first bar, and between two years under the bars.
constexpr double kBarGap = 6.0;
constexpr double kYearGap = 8.0;

QColor chartText()
{
    return platform::namedColor(u"ChartText"_s);
}

} // namespace

chart::TextStyle TotalsViewController::barTitleStyle()
{
    return chart::TextStyle { chartText(), u"HelveticaNeue-UltraLight"_s, 16.0 };
}

int TotalsViewController::barType() const
{
    return int(m_pieChartType);
}

void TotalsViewController::configureBARGraph()
{
    auto* graph = new chart::Graph(QRectF(m_hostViewB->rect()));
    graph->setPlotAreaFrameFill(std::nullopt);
    graph->setPlotAreaFrameBorderLineStyle(std::nullopt);
    graph->setPlotAreaFramePaddings(QMarginsF(0, 0, 0, 20));
    graph->setTitle(QString());
    graph->setTitleTextStyle(barTitleStyle());
    graph->setTitlePlotAreaFrameAnchor(chart::RectAnchor::Top);
    graph->defaultPlotSpace()->setAllowsUserInteraction(false);
    m_hostViewB->setHostedGraph(graph);
    connect(m_hostViewB, &chart::GraphHostingView::plotAreaFrameChanged, this, [this] { fitBarSlots(); });
}

void TotalsViewController::configureBARAxes()
{
    chart::AxisSet* axes = m_hostViewB->hostedGraph()->axisSet();
    const chart::TextStyle titleStyle { chartText(), u"HelveticaNeue-Light"_s, 14.0 };

    chart::Axis* x = axes->xAxis();
    x->setTitleTextStyle(titleStyle);
    x->setTitleOffset(14);
    x->setAxisLineStyle(chart::LineStyle { 1.0, kAxisGrey, {} });
    x->setMajorGridLineStyle(std::nullopt);
    x->setMajorTickLineStyle(chart::LineStyle { 1.0, kAxisGrey, {} });
    x->setMinorTickLineStyle(std::nullopt);
    x->setMajorTickLength(4);
    x->setTickDirection(chart::TickDirection::Negative);
    x->setLabelTextStyle(chart::TextStyle { chartText(), u"HelveticaNeue-Light"_s, 11.0 });

    ValueAxisLabels::styleAxis(
        *axes->yAxis(), titleStyle, chart::TextStyle { chartText(), u"HelveticaNeue"_s, 12.0 });
    fitBarSlots();
}

void TotalsViewController::fitBarSlots()
{
    chart::Graph* graph = m_hostViewB->hostedGraph();
    if (!graph || !graph->axisSet())
        return;
    // The first bar starts after the value labels, which are wider for losses in parentheses, but
    // the labels leave each slot room for its year: huge amounts would press the years together.
    const double plotWidth = graph->plotAreaRect().width();
    const QFontMetricsF years(graph->axisSet()->xAxis()->labelTextStyle().font());
    double widestYear = 0.0;
    for (const chart::AxisLabel& label : graph->axisSet()->xAxis()->axisLabels())
        widestYear = std::max(widestYear, years.horizontalAdvance(label.text));
    const double mostEnd
        = YearEndBars::mostClearLeft(m_numberOfVisibleBars, widestYear + kYearGap, plotWidth) - kBarGap;
    const double labelsEnd
        = ValueAxisLabels::labelsEnd(*graph, m_barValueAxis.labels, m_barScale, mostEnd) + kBarGap;
    graph->defaultPlotSpace()->setXRange(
        YearEndBars::slotRangeClearOf(m_numberOfVisibleBars, labelsEnd, plotWidth));
    placeBarLabels(mostEnd);
}

void TotalsViewController::placeBarLabels(double mostEnd)
{
    chart::Graph* graph = m_hostViewB->hostedGraph();
    if (!graph || !graph->axisSet())
        return;
    ValueAxisLabels::applyUnderBars(
        *graph, m_minNWValue < 0.0, m_barValueAxis.labels, m_barValueAxis.interval, m_barScale, mostEnd);
}

void TotalsViewController::configureBARPlots()
{
    m_barPlotNW = newNetWorthBarPlot(kBarPlotIdentifier, YearEndBars::barWidth);
    m_barPlotNW->setDelegate(this);
    m_barPlotNW->setDataSource(this);
    m_hostViewB->hostedGraph()->addPlot(m_barPlotNW);
}

void TotalsViewController::configureStackedBARPlots()
{
    const auto& model = NWData::shared()->appData();
    if (!model)
        return;
    const int type = barType();
    const auto& categories = type == 1 ? model->assetscat() : model->liabilitycat();
    const auto& colors = type == 1 ? m_colorDictionaries.assets : m_colorDictionaries.liabilities;
    QStringList identifiers;
    if (categories) {
        for (const auto& category : *categories) {
            if (category)
                identifiers.append(category->ID());
        }
    }
    // Values of categories that are gone stay in the stacks, on top, instead of vanishing.
    const bool unknown = std::any_of(
        m_visibleDataArray.cbegin(), m_visibleDataArray.cend(), [type](const YearEndBars::YearEnd& yearEnd) {
            return type == 1 ? yearEnd.hasUnknownAssets : yearEnd.hasUnknownLiabilities;
        });
    if (unknown)
        identifiers.append(YearEndBars::unknownCategoryIdentifier);
    QList<QColor> fills;
    fills.reserve(identifiers.size());
    for (const QString& identifier : identifiers)
        fills.append(PieColorSchemes::categoryColor(colors, identifier));
    auto* plot = new YearEndBarsStackPlot(identifiers, fills, [this, type](const QStringList& ids) {
        return YearEndBars::stacks(m_visibleDataArray, type, ids, m_barScale);
    });
    plot->setIdentifier(kStackPlotIdentifier);
    plot->setLineStyle(chart::LineStyle { 1.0, QColor::fromRgbF(0.6f, 0.6f, 0.6f, 0.5f), {} });
    plot->setBarWidth(YearEndBars::barWidth);
    connect(plot, &YearEndBarsStackPlot::segmentSelected, this, [this, plot](int category, int slot) {
        showBarPopup(slot, plot->identifiers().value(category), category > 0);
    });
    m_hostViewB->hostedGraph()->addPlot(plot);
}

void TotalsViewController::upateChart(bool negative)
{
    m_hasNegativeNW = negative;
    reloadPie();
    loadYoYData();
    configureBARAxes();
    chart::Graph* graph = m_hostViewB->hostedGraph();
    for (chart::Plot* plot : graph->allPlots())
        graph->removePlot(plot);
    if (barType() == 1 || barType() == 2)
        configureStackedBARPlots();
    else
        configureBARPlots();
    reloadAndRedraw();
}

void TotalsViewController::loadYoYData()
{
    const auto& model = NWData::shared()->appData();
    m_visibleDataArray
        = model ? YearEndBars::visibleYearEnds(*model, m_numberOfVisibleBars) : QList<YearEndBars::YearEnd>();
    m_barScale = YearEndBars::drawScale(m_visibleDataArray, barType());
}

void TotalsViewController::reloadAndRedraw()
{
    const double top = reloadXAxes();
    reloadYAxes(top, m_minNWValue);
    m_hostViewB->hostedGraph()->reloadData();
}

double TotalsViewController::reloadXAxes()
{
    chart::Axis* x = m_hostViewB->hostedGraph()->axisSet()->xAxis();
    const auto years = YearEndBars::yearAxis(m_visibleDataArray, barType(), m_barScale);
    QList<chart::AxisLabel> labels;
    for (qsizetype i = 0; i < years.labels.size(); ++i)
        labels.append(chart::AxisLabel { years.labels[i], x->labelTextStyle(), years.ticks[i],
            x->majorTickLength(), chart::Alignment::Center, std::nullopt });
    x->setAxisLabels(labels);
    x->setMajorTickLocations(years.ticks);
    m_minNWValue = years.bottom;
    return years.top;
}

void TotalsViewController::reloadYAxes(double top, double minNWValue)
{
    chart::Graph* graph = m_hostViewB->hostedGraph();
    m_barValueAxis = YearEndBars::valueAxis(top, minNWValue);
    graph->defaultPlotSpace()->setYRange(m_barValueAxis.range);
    fitBarSlots();
}

void TotalsViewController::closeChartInfoView()
{
    if (m_pointAnnotationPopover)
        m_pointAnnotationPopover->close();
}

void TotalsViewController::barWasSelected(chart::BarPlot* plot, int recordIndex)
{
    showBarPopup(recordIndex, plot->identifier(), plot->barBasesVary());
}

void TotalsViewController::showBarPopup(int recordIndex, const QString& identifier, bool basesVary)
{
    closeChartInfoView();
    if (recordIndex < 0 || recordIndex >= m_visibleDataArray.size())
        return;
    const auto popup = YearEndBars::barPopup(m_visibleDataArray[recordIndex], barType(), identifier,
        basesVary, NWData::shared()->appData().get(), m_pieChartLabelStyle, m_barScale);
    const QPointF tip = m_hostViewB->hostedGraph()->defaultPlotSpace()->graphPointForPlotPoint(
        recordIndex, popup.pointValue);
    const QPointF anchorYUp = platform::toYUp(m_hostViewB->mapTo(this, tip), qreal(height()));
    ValuePopup::show(m_pointAnnotationPopover, this, anchorYUp,
        ValuePopup::Texts { popup.amount, popup.caption, QString(), popup.color }, false);
}

int TotalsViewController::numberOfRecordsForPlot(chart::Plot* plot)
{
    if (plot == m_pieChart)
        return int(m_pie.slices.size());
    return m_numberOfVisibleBars;
}

std::optional<double> TotalsViewController::numberForPlot(
    chart::Plot* plot, chart::PlotField field, int recordIndex)
{
    if (plot == m_pieChart) {
        if (recordIndex < 0 || recordIndex >= m_pie.slices.size())
            return std::nullopt;
        return m_pie.slices[recordIndex].value;
    }
    const bool inRange = recordIndex >= 0 && recordIndex < m_visibleDataArray.size();
    if (plot->identifier() != kBarPlotIdentifier || barType() == 1 || barType() == 2)
        return 0.0;
    if (field == chart::PlotField::BarLocation)
        return double(recordIndex);
    if (field == chart::PlotField::BarTip) {
        if (!inRange)
            return std::nullopt;
        return YearEndBars::barValue(*m_visibleDataArray[recordIndex].record, 0);
    }
    return std::nullopt;
}
