#include "charts/compare/StatisticsChartView.h"

#include "charts/common/ChartToolButton.h"
#include "charts/common/NWPrintViewController.h"
#include "charts/common/NetWorthBarPlot.h"
#include "charts/common/ValueAxisLabels.h"
#include "charts/kit/Axis.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/Strings.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kOwnBarFill = QColor::fromRgbF(1.0f, 0.645f, 0.082f, 0.6f);
const QColor kOwnBarLine = QColor::fromRgbF(1.0f, 0.645f, 0.082f, 1.0f);
constexpr qreal kTitleSize = 19.0;
constexpr qreal kSmallestTitleSize = 11.0;

QColor chartText()
{
    return platform::namedColor(u"ChartText"_s);
}

// The faint line colour of axes and grids: the secondary text colour at a fraction of its alpha
// (the texts themselves take the darker chart text colour).
QColor faint(qreal alpha)
{
    QColor color = platform::namedColor(u"SecondaryText"_s);
    color.setAlphaF(float(alpha));
    return color;
}

QColor chartBoxBackground()
{
    const QColor named = platform::namedColor(u"ChartBoxBg"_s);
    if (named.isValid())
        return named;
    return platform::isDarkAppearance() ? QColor::fromRgbF(0.2f, 0.33f, 0.42f, 0.35f)
                                        : QColor::fromRgbF(0.65f, 0.9f, 0.98f, 0.4f);
}

chart::TextStyle lightText(qreal size)
{
    return chart::TextStyle { chartText(), u"HelveticaNeue-Light"_s, size };
}

} // namespace

StatisticsChartView::StatisticsChartView(const CompareStatistics::Chart& description, QWidget* parent)
    : RXRoundedBox(parent), m_description(description)
{
    setObjectName(QString::fromLatin1(description.identifier));
    setBorderWidth(0.7);
    setBorderRadius(5.0);
    setBorderColor(QColor::fromRgbF(0.4f, 0.4f, 0.4f, 0.2f));
    setDrawsTitle(false);
    setDrawsFullTitleBar(false);
    setSelected(false);
    setDrawsGradientBackground(false);
    setNoiseOpacity(0);

    m_hostView = new chart::GraphHostingView(this);
    m_hostView->setStyleSheet(u"background: transparent"_s);
    m_printButton
        = new ChartToolButton(ChartToolButton::printGlyph, platform::Strings::tr("Print the chart"), this);
    m_copyButton = new ChartToolButton(
        ChartToolButton::copyGlyph, platform::Strings::tr("Copy the chart to the clipboard"), this);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(2);
    buttons->addStretch(1);
    buttons->addWidget(m_printButton);
    buttons->addWidget(m_copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    layout->addLayout(buttons);
    layout->addWidget(m_hostView, 1);

    connect(m_printButton, &QToolButton::clicked, this, [this] { printChart(); });
    connect(m_copyButton, &QToolButton::clicked, this, [this] { copyChartToClipboard(); });
    connect(m_hostView, &chart::GraphHostingView::plotAreaFrameChanged, this, [this] {
        fitTitle();
        placeLabels();
    });

    configureGraph();
    configureAxes();
    m_barPlot = newNetWorthBarPlot(QString::fromLatin1(description.identifier), 0.75);
    m_barPlot->setDataSource(this);
    m_barPlot->setDelegate(this);
    chart::Graph* graph = m_hostView->hostedGraph();
    graph->addPlot(m_barPlot);
    chart::PlotSpace* space = graph->defaultPlotSpace();
    space->scaleToFitPlots({ m_barPlot.data() });
    space->setXRange(space->xRange().expandedByFactor(double(1.4f)));
    space->setYRange(space->yRange().expandedByFactor(1.25));
    applyAppearance();
}

StatisticsChartView::~StatisticsChartView()
{
    // The plot still points at this data source.
    chart::Graph* graph = m_hostView->hostedGraph();
    m_hostView->setHostedGraph(nullptr);
    delete graph;
}

void StatisticsChartView::configureGraph()
{
    auto* graph = new chart::Graph(QRectF(m_hostView->rect()));
    graph->setPlotAreaFrameFill(std::nullopt);
    graph->setPlotAreaFrameBorderLineStyle(std::nullopt);
    // Room above the frame for the title, which stands 25 points above the frame's top.
    graph->setPaddings(QMarginsF(10, 34, 10, 8));
    graph->setPlotAreaFramePaddings(QMarginsF(0, 0, 0, 20));
    graph->setTitle(platform::localized(m_description.title));
    graph->setTitlePlotAreaFrameAnchor(chart::RectAnchor::Top);
    graph->setTitleDisplacement(QPointF(0, 25));
    graph->defaultPlotSpace()->setAllowsUserInteraction(false);
    m_hostView->setHostedGraph(graph);
}

void StatisticsChartView::configureAxes()
{
    chart::AxisSet* axes = m_hostView->hostedGraph()->axisSet();
    chart::Axis* x = axes->xAxis();
    x->setTitle(QString());
    x->setTitleOffset(14);
    x->setMinorTickLineStyle(std::nullopt);
    x->setMajorTickLength(4);
    x->setTickDirection(chart::TickDirection::Negative);
}

void StatisticsChartView::applyAppearance()
{
    setBackgroundColor(chartBoxBackground());
    chart::Graph* graph = m_hostView->hostedGraph();
    graph->setTitleTextStyle(chart::TextStyle { chartText(), u"HelveticaNeue-Bold"_s, kTitleSize });
    fitTitle();
    chart::AxisSet* axes = graph->axisSet();
    chart::Axis* x = axes->xAxis();
    x->setTitleTextStyle(lightText(14));
    x->setAxisLineStyle(chart::LineStyle { 1.0, faint(0.5), {} });
    x->setMajorTickLineStyle(chart::LineStyle { 1.0, faint(0.5), {} });
    x->setLabelTextStyle(lightText(11));
    // The amounts stand over their grid lines from the plot area's left edge, as on the other
    // bar charts, clear of the first bar; the grid takes the text's colour, faint.
    chart::Axis* y = axes->yAxis();
    ValueAxisLabels::styleAxis(*y, lightText(14), lightText(11));
    y->setMajorGridLineStyle(chart::LineStyle { 1.0, faint(0.2), {} });
    y->setMinorGridLineStyle(chart::LineStyle { 1.0, faint(0.07), {} });
    update();
}

void StatisticsChartView::fitTitle()
{
    chart::Graph* graph = m_hostView->hostedGraph();
    if (!graph)
        return;
    // A long title in a narrow box gets smaller rather than cut at the box's edges.
    chart::TextStyle style = graph->titleTextStyle();
    const qreal room = graph->bounds().width() - 8;
    style.fontSize = kTitleSize;
    while (style.fontSize > kSmallestTitleSize
        && QFontMetricsF(style.font()).horizontalAdvance(graph->title()) > room)
        style.fontSize -= 1.0;
    if (!(style == graph->titleTextStyle()))
        graph->setTitleTextStyle(style);
}

void StatisticsChartView::redraw(double myNetWorth, double exchangeRate)
{
    m_myNetWorth = CompareStatistics::saneNetWorth(myNetWorth);
    m_exchangeRate = CompareStatistics::saneExchangeRate(exchangeRate);
    m_barPlot->reloadData();
    reloadAxes();
}

void StatisticsChartView::reloadAxes()
{
    chart::Graph* graph = m_hostView->hostedGraph();
    chart::Axis* x = graph->axisSet()->xAxis();
    const QStringList names = CompareStatistics::labels(m_description.group);
    QList<chart::AxisLabel> labels;
    QList<double> ticks;
    double top = -99999999.0;
    double bottom = 0.0;
    for (int slot = 0; slot < names.size(); ++slot) {
        const double value = barValue(slot).value_or(0.0);
        labels.append(chart::AxisLabel { names[slot], x->labelTextStyle(), double(slot), x->majorTickLength(),
            chart::Alignment::Center, {} });
        ticks.append(slot);
        top = std::max(top, value);
        bottom = std::min(bottom, value);
    }
    x->setAxisLabels(labels);
    x->setMajorTickLocations(ticks);
    m_minNWValue = bottom;
    m_maxNWValue = top;

    m_valueAxis = CompareStatistics::valueAxis(top, bottom);
    graph->defaultPlotSpace()->setYRange(m_valueAxis.range);
    placeLabels();
}

void StatisticsChartView::placeLabels()
{
    chart::Graph* graph = m_hostView->hostedGraph();
    if (!graph)
        return;
    // A bar below 0 (the user's own, in debt) would hide its label and crowd the amounts: the
    // names go under the lowest bar, and the amounts keep apart from them and from each other.
    ValueAxisLabels::applyUnderBars(*graph, m_minNWValue < 0.0, m_valueAxis.labels, m_valueAxis.step);
}

std::optional<double> StatisticsChartView::barValue(int slot) const
{
    return CompareStatistics::barValue(m_description, slot, m_myNetWorth, m_exchangeRate);
}

void StatisticsChartView::printChart()
{
    NWPrintViewController::GenericPrint(
        m_hostView, 40, 200, 10, 10, true, platform::localized(m_description.title));
}

bool StatisticsChartView::copyChartToClipboard()
{
    return NWPrintViewController::GenericChartToClipboard(m_hostView);
}

int StatisticsChartView::numberOfRecordsForPlot(chart::Plot* plot)
{
    return plot == m_barPlot ? int(CompareStatistics::statisticsTable(m_description.group).size()) : 0;
}

std::optional<double> StatisticsChartView::numberForPlot(
    chart::Plot* plot, chart::PlotField field, int recordIndex)
{
    if (plot != m_barPlot)
        return 0.0;
    switch (field) {
    case chart::PlotField::BarLocation:
        return double(recordIndex);
    case chart::PlotField::BarTip:
        return barValue(recordIndex);
    case chart::PlotField::BarBase:
        return std::nullopt;
    }
    return 0.0;
}

std::optional<chart::Fill> StatisticsChartView::barFillForBarPlot(chart::BarPlot* plot, int recordIndex)
{
    if (plot != m_barPlot || recordIndex != 0)
        return std::nullopt;
    return chart::Fill(kOwnBarFill);
}

std::optional<chart::LineStyle> StatisticsChartView::barLineStyleForBarPlot(
    chart::BarPlot* plot, int recordIndex)
{
    if (plot != m_barPlot || recordIndex != 0)
        return std::nullopt;
    return chart::LineStyle { 2.0, kOwnBarLine, {} };
}

void StatisticsChartView::barWasSelected(chart::BarPlot* plot, int recordIndex)
{
    const auto value = barValue(recordIndex);
    if (plot != m_barPlot || !value)
        return;
    const QPointF tip = plot->plotSpace()->graphPointForPlotPoint(recordIndex, *value);
    emit barSelected(recordIndex, m_hostView->mapTo(this, tip));
}
