// Building the history chart: its controls, graph, plots, axes and visible window.
#include "charts/history/line/LineChartViewController.h"

#include "charts/common/ChartToolButton.h"
#include "charts/history/line/LineChartColors.h"
#include "charts/history/series/HistoryAxes.h"
#include "charts/history/series/HistoryTexts.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "model/format/NWCurrencyFormatter.h"
#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/Dispatch.h"
#include "platform/Resources.h"
#include "platform/SaneGeometry.h"
#include "platform/Strings.h"

#include <QButtonGroup>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QToolButton>

#include <algorithm>
#include <cmath>

using namespace historyseries;
namespace colors = linechartcolors;

namespace {

const QString kLightFont = QStringLiteral("HelveticaNeue-Light");
constexpr int kButtonSize = ChartToolButton::side;

QColor textColor()
{
    return platform::namedColor(QStringLiteral("ChartText"));
}

chart::TextStyle textStyle(qreal size)
{
    return chart::TextStyle { textColor(), kLightFont, size };
}

int currentMonth()
{
    return platform::Clock::today().month();
}

} // namespace

void LineChartViewController::buildControls()
{
    m_hostView = new chart::GraphHostingView(this);

    m_timeScaleBox = new QWidget(this);
    m_timeScaleBox->setObjectName(QStringLiteral("timeScaleCtl"));
    auto* row = new QHBoxLayout(m_timeScaleBox);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_timeScaleCtl = new QButtonGroup(this);
    m_timeScaleCtl->setExclusive(true);
    const QString titles[] = { platform::Strings::tr("All"), platform::Strings::tr("5 Years"),
        platform::Strings::tr("12 Months"), platform::Strings::tr("Year to Date") };
    for (int segment = 0; segment < 4; ++segment) {
        auto* button = new QToolButton(m_timeScaleBox);
        button->setText(titles[segment]);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setChecked(segment == m_timeScale);
        m_timeScaleCtl->addButton(button, segment);
        row->addWidget(button);
    }
    connect(
        m_timeScaleCtl, &QButtonGroup::idClicked, this, [this](int segment) { timeScaleChanged(segment); });

    m_menuButton = new ChartToolButton(
        ChartToolButton::menuGlyph, platform::Strings::tr("Show chart types & settings menu"), this);
    connect(m_menuButton, &QToolButton::clicked, this, [this] { chartMenuHandler(); });
    m_tagMenuBtn
        = new ChartToolButton(ChartToolButton::tagsGlyph, platform::Strings::tr("Tag filtering"), this);
    connect(m_tagMenuBtn, &QToolButton::clicked, this, [this] { tagMenuButtonClick(); });
    m_printButton
        = new ChartToolButton(ChartToolButton::printGlyph, platform::Strings::tr("Print chart"), this);
    connect(m_printButton, &QToolButton::clicked, this, [this] { printChart(); });
    m_copyButton = new ChartToolButton(
        ChartToolButton::copyGlyph, platform::Strings::tr("Copy chart to clipboard"), this);
    connect(m_copyButton, &QToolButton::clicked, this, [this] { copyChartToClipboard(); });
    styleControls();
}

void LineChartViewController::styleControls()
{
    const bool dark = platform::isDarkAppearance();
    const QString text = textColor().name(QColor::HexArgb);
    const QString border = colors::rule(dark ? 0.6 : 0.45).name(QColor::HexArgb);
    // The selected items' blue, on which the white text reads.
    const QString checked = (dark ? platform::AppearanceController::darkPalette()
                                  : platform::AppearanceController::lightPalette())
                                .color(QPalette::Highlight)
                                .name(QColor::HexArgb);
    const QString hover = colors::rule(0.15).name(QColor::HexArgb);
    m_timeScaleBox->setStyleSheet(QStringLiteral(
        "QToolButton { color: %1; background: transparent; border: 1px solid %2; padding: 2px 10px;"
        " font-size: 11px; margin-left: -1px; }"
        "QToolButton:hover { background: %4; }"
        "QToolButton:checked { color: white; background: %3; border-color: %3; }")
                                      .arg(text, border, checked, hover));
}

void LineChartViewController::setTopMenuButtonConstraint(int top)
{
    m_topMenuButtonConstraint = int(platform::saneCoordinate(top));
    layoutControls();
}

void LineChartViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
    // The x labels thin out by the plot's width, which the graph takes up after this event:
    // a chart filled while its pane was still small would otherwise keep few labels for good.
    platform::runLater(this, [this] {
        if (!m_series.dataArray.isEmpty() && xLabelMarks() != m_xLabelMarks)
            configureAxes();
    });
}

QList<historyseries::AxisMark> LineChartViewController::xLabelMarks() const
{
    const QList<NWChartLog>& data = m_series.dataArray;
    if (data.isEmpty())
        return {};
    // Records need not be monthly: what is in view is counted in months, not in points.
    const double months
        = windowLength(monthIndex(data.first()), monthIndex(data.last()), m_timeScale, currentMonth());
    const double width = m_graph->plotAreaRect().width();
    const int yearStep = yearLabelStep(int(std::ceil(months)), width, 44);
    const QFontMetricsF metrics(m_graph->axisSet()->xAxis()->labelTextStyle().font());
    // The x range shows the window widened by 1.03.
    const LabelRoom room { width / (months * 1.03),
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }, 6.0 };
    const int inView = visibleCount(int(data.size()), m_timeScale, currentMonth());
    return xAxisLabels(data, monthName, inView, yearStep, room);
}

void LineChartViewController::layoutControls()
{
    m_hostView->setGeometry(rect());
    const int top = m_topMenuButtonConstraint;
    m_menuButton->move(width() - kButtonSize - 12, top);
    m_tagMenuBtn->move(m_menuButton->x() - kButtonSize - 4, top);
    m_copyButton->move(m_tagMenuBtn->x() - kButtonSize - 12, top);
    m_printButton->move(m_copyButton->x() - kButtonSize - 4, top);
    m_timeScaleBox->adjustSize();
    m_timeScaleBox->move(16, top + (kButtonSize - m_timeScaleBox->height()) / 2);
    for (QWidget* control : { static_cast<QWidget*>(m_timeScaleBox), static_cast<QWidget*>(m_menuButton),
             static_cast<QWidget*>(m_tagMenuBtn), static_cast<QWidget*>(m_printButton),
             static_cast<QWidget*>(m_copyButton) })
        control->raise();
}

void LineChartViewController::appearanceChanged()
{
    styleControls();
    m_graph->setTitleTextStyle(textStyle(16));
    configureAxes();
}

// The graph.

void LineChartViewController::initPlot()
{
    configureGraph();
    configureAxes();
    configurePlots();
    layoutControls();
}

void LineChartViewController::configureGraph()
{
    m_graph = new chart::Graph(QRectF(QPointF(0, 0), QSizeF(size())));
    m_graph->setPaddings(QMarginsF(10, 44, 20, 10));
    m_graph->setPlotAreaFrameFill(std::nullopt);
    m_graph->setPlotAreaFrameBorderLineStyle(std::nullopt);
    m_graph->setPlotAreaFramePaddings(QMarginsF(0, 20, 0, 20));
    m_graph->setPlotAreaDelegate(this);
    m_graph->setTitleTextStyle(textStyle(16));
    m_graph->setTitlePlotAreaFrameAnchor(chart::RectAnchor::Top);
    m_graph->setTitleDisplacement(QPointF(0, 0));
    m_graph->setTitle(platform::Strings::tr("Net Worth History"));
    m_hostView->setHostedGraph(m_graph);
    connect(m_graph, &chart::Graph::layoutChanged, this, [this] { fitValueLabels(); });
    chart::PlotSpace* space = m_graph->defaultPlotSpace();
    space->setAllowsUserInteraction(true);
    space->setDelegate(this);
}

chart::Plot* LineChartViewController::plot(PlotId id) const
{
    return m_graph ? m_graph->plotWithIdentifier(plotIdentifier(id)) : nullptr;
}

chart::ScatterPlot* LineChartViewController::scatterPlot(PlotId id) const
{
    return qobject_cast<chart::ScatterPlot*>(plot(id));
}

void LineChartViewController::configurePlots()
{
    const auto addBars = [this](PlotId id, const QColor& outline, const QColor& fill) {
        auto* bars = chart::BarPlot::tubularBarPlotWithColor(QColor(Qt::blue), false);
        bars->setIdentifier(plotIdentifier(id));
        bars->setLineStyle(chart::LineStyle { 1.0, outline, {} });
        bars->setFill(chart::Fill(fill));
        bars->setBaseValue(0);
        bars->setBarWidth(0.75);
        bars->setBarCornerRadius(1.5);
        bars->setDataSource(this);
        bars->setDelegate(this);
        m_graph->addPlot(bars);
    };
    addBars(PlotId::StackedAssets, colors::asset(0.4), colors::assetArea(0.25));
    addBars(PlotId::StackedLiabilities, colors::liability(0.4), colors::liabilityAreaStart(0.25));

    const auto addLine = [this](PlotId id) {
        auto* line = new chart::ScatterPlot;
        line->setIdentifier(plotIdentifier(id));
        line->setAreaBaseValue(0);
        line->setDataSource(this);
        if (id != PlotId::Goal) {
            line->setPlotSymbolMarginForHitDetection(10);
            line->setDelegate(this);
        }
        m_graph->addPlot(line);
        return line;
    };
    addLine(PlotId::NetWorth);
    chart::ScatterPlot* goal = addLine(PlotId::Goal);
    goal->setDataLineStyle(chart::LineStyle { 1.5, colors::goal(), { 5, 5 } });
    goal->setPlotSymbol(std::nullopt);
    goal->setAreaFill(std::nullopt);
    addLine(PlotId::Assets);
    addLine(PlotId::Liabilities);

    switchNWPlotColorToTag(m_settings.type == ChartType::Tags);
    applyDataLineStyles(m_lineWidth);
    applyAreaFills();
    setSymbolSize();
    applyVisibility(true, 0.0);
    redrawChartsAfterScaleChange(false);
}

namespace {

QColor lineColor(PlotId id, bool tag)
{
    switch (id) {
    case PlotId::Assets:
        return colors::asset();
    case PlotId::Liabilities:
        return colors::liability();
    default:
        return tag ? colors::tagOrange() : colors::netWorth();
    }
}

std::optional<chart::Fill> areaFill(PlotId id, bool tag)
{
    switch (id) {
    case PlotId::Assets:
        return chart::Fill(chart::Gradient::withColors(colors::assetArea(0.25), colors::assetArea(0.0), -90));
    case PlotId::Liabilities:
        return chart::Fill(chart::Gradient::withColors(
            colors::liabilityAreaStart(0.25), colors::liabilityAreaEnd(0.0), -90));
    default: {
        const QColor area = tag ? colors::tagOrange() : colors::netWorthArea(1.0);
        QColor top = area;
        top.setAlphaF(0.25f);
        QColor bottom = area;
        bottom.setAlphaF(0.0f);
        return chart::Fill(chart::Gradient::withColors(top, bottom, -90));
    }
    }
}

constexpr PlotId kDataLines[] = { PlotId::NetWorth, PlotId::Assets, PlotId::Liabilities };

// The line in its colour and width, its symbols white rings of that colour (their size kept).
void styleLine(chart::ScatterPlot& line, const QColor& color, qreal width)
{
    line.setDataLineStyle(chart::LineStyle { width, color, {} });
    chart::PlotSymbol symbol = line.plotSymbol().value_or(chart::PlotSymbol::ellipse());
    symbol.type = chart::PlotSymbol::Type::Ellipse;
    symbol.fill = chart::Fill(colors::symbolFill());
    QColor outline = color;
    outline.setAlphaF(0.4f);
    symbol.lineStyle = chart::LineStyle { 2.0, outline, {} };
    line.setPlotSymbol(symbol);
}

} // namespace

void LineChartViewController::switchNWPlotColorToTag(bool tag)
{
    chart::ScatterPlot* line = scatterPlot(PlotId::NetWorth);
    if (!line)
        return;
    styleLine(*line, lineColor(PlotId::NetWorth, tag), m_lineWidth);
    line->setAreaFill(m_showAreaChartSymbols ? areaFill(PlotId::NetWorth, tag) : std::nullopt);
}

void LineChartViewController::applyDataLineStyles(qreal width)
{
    const bool tag = m_settings.type == ChartType::Tags;
    for (PlotId id : kDataLines) {
        chart::ScatterPlot* line = scatterPlot(id);
        if (!line)
            continue;
        styleLine(*line, lineColor(id, tag), width);
    }
}

void LineChartViewController::applyAreaFills()
{
    const bool tag = m_settings.type == ChartType::Tags;
    for (PlotId id : kDataLines) {
        if (chart::ScatterPlot* line = scatterPlot(id))
            line->setAreaFill(m_showAreaChartSymbols ? areaFill(id, tag) : std::nullopt);
    }
}

void LineChartViewController::applyVisibility(bool fadeIn, qreal fadeFrom)
{
    for (PlotId id : allPlots) {
        if (chart::Plot* p = plot(id))
            p->setHidden(!plotVisible(id, m_settings));
    }
    if (!fadeIn)
        return;
    for (PlotId id : { PlotId::StackedAssets, PlotId::StackedLiabilities, PlotId::NetWorth }) {
        chart::Plot* p = plot(id);
        if (p && !p->isHidden())
            p->fadeIn(fadeFrom, 1.0, 1500);
    }
    if (chart::Plot* assets = plot(PlotId::Assets); assets && !assets->isHidden()) {
        assets->fadeIn(fadeFrom, 1.0, 1500);
        if (chart::Plot* liabilities = plot(PlotId::Liabilities))
            liabilities->fadeIn(fadeFrom, 1.0, 1500);
    }
}

void LineChartViewController::setSymbolSize()
{
    const int size
        = symbolSize(int(m_series.dataArray.size()), m_timeScale, currentMonth(), m_showPlotSymbols);
    for (PlotId id : kDataLines) {
        chart::ScatterPlot* line = scatterPlot(id);
        if (!line || !line->plotSymbol())
            continue;
        chart::PlotSymbol symbol = *line->plotSymbol();
        symbol.size = QSizeF(size, size);
        line->setPlotSymbol(symbol);
    }
}

void LineChartViewController::redrawChartsAfterScaleChange(bool reload)
{
    if (reload)
        m_graph->reloadData();
    chart::PlotSpace* space = m_graph->defaultPlotSpace();
    space->setGlobalXRange(std::nullopt);
    space->setGlobalYRange(std::nullopt);
    QList<chart::Plot*> plots;
    for (PlotId id : { PlotId::NetWorth, PlotId::StackedAssets, PlotId::StackedLiabilities, PlotId::Assets,
             PlotId::Liabilities, PlotId::Goal }) {
        if (chart::Plot* p = plot(id))
            plots.append(p);
    }
    space->scaleToFitPlots(plots);
    space->setXRange(space->xRange().expandedByFactor(1.03));
    space->setYRange(space->yRange().expandedByFactor(1.25));
    configureAxes();
}

// Axes.

void LineChartViewController::styleAxes()
{
    chart::AxisSet* axes = m_graph->axisSet();
    chart::Axis* x = axes->xAxis();
    x->setTitleTextStyle(textStyle(14));
    x->setTitleOffset(14);
    x->setAxisLineStyle(chart::LineStyle { 1.0, colors::rule(0.5), {} });
    x->setLabelTextStyle(textStyle(11));
    x->setMajorTickLineStyle(chart::LineStyle { 1.0, colors::rule(0.5), {} });
    x->setMajorTickLength(4.0);
    x->setMinorTickLineStyle(std::nullopt);
    x->setTickDirection(chart::TickDirection::Negative);
    // Along the bottom, so that no label sits on the liability bars below zero.
    x->setConstraintWithLowerOffset(0);

    chart::Axis* y = axes->yAxis();
    y->setTitle(QString());
    y->setTitleTextStyle(textStyle(14));
    y->setTitleOffset(-10);
    y->setAxisLineStyle(std::nullopt);
    y->setMajorGridLineStyle(
        chart::LineStyle { 1.0, colors::rule(platform::isDarkAppearance() ? 0.3 : 0.2), {} });
    y->setLabelTextStyle(textStyle(11));
    y->setLabelOffset(30);
    y->setLabelShadow(chart::Shadow { QPointF(1.0, -1.0), 0,
        platform::isDarkAppearance() ? QColor(0, 0, 0, 64) : QColor(255, 255, 255, 64) });
    y->setMajorTickLineStyle(std::nullopt);
    y->setMajorTickLength(1.0);
    y->setMinorTickLength(1.0);
    y->setTickDirection(chart::TickDirection::Positive);
}

void LineChartViewController::configureAxes()
{
    styleAxes();
    chart::Axis* x = m_graph->axisSet()->xAxis();
    chart::Axis* y = m_graph->axisSet()->yAxis();
    const QList<NWChartLog>& data = m_series.dataArray;
    if (data.isEmpty()) {
        x->setAxisLabels({});
        x->setMajorTickLocations({});
        y->setAxisLabels({});
        y->setMajorTickLocations({});
        m_valueLabels.clear();
        return;
    }
    const int first = monthIndex(data.first());
    const int last = monthIndex(data.last());
    x->setMajorIntervalLength(6);
    x->setVisibleRange(
        last > first ? std::optional(chart::PlotRange::withLocation(first, last - first)) : std::nullopt);
    QList<chart::AxisLabel> xLabels;
    QList<double> xTicks;
    const chart::TextStyle xStyle = x->labelTextStyle();
    m_xLabelMarks = xLabelMarks();
    for (const AxisMark& mark : m_xLabelMarks) {
        xLabels.append(chart::AxisLabel { mark.text, xStyle, mark.location,
            x->labelOffset() + x->majorTickLength(), chart::Alignment::Center, {} });
        xTicks.append(mark.location);
    }
    x->setAxisLabels(xLabels);
    x->setMajorTickLocations(xTicks);

    const PlotContext context { m_settings, m_showNWGoal, m_goalAmount };
    const bool percent = m_settings.displayChanges && m_settings.displayPercent;
    const NWCurrencyFormatter money(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    const YAxisLayout layout = yAxisLayout(
        valueExtent(data, context), [&](double value) { return axisLabelText(value, percent, money); });
    QList<chart::AxisLabel> yLabels;
    QList<double> yTicks;
    const chart::TextStyle yStyle = y->labelTextStyle();
    for (const AxisMark& mark : layout.labels) {
        yLabels.append(chart::AxisLabel { mark.text, yStyle, mark.location,
            -y->majorTickLength() - y->labelOffset(), chart::Alignment::Bottom, {} });
        yTicks.append(mark.location);
    }
    m_valueLabels = yLabels;
    y->setMajorTickLocations(yTicks);
    y->setMinorTickLocations({});
    if (layout.range) {
        const auto range = chart::PlotRange::withLocation(layout.range->first, layout.range->second);
        chart::PlotSpace* space = m_graph->defaultPlotSpace();
        space->setGlobalYRange(std::nullopt);
        space->setYRange(range);
        space->setGlobalYRange(range);
    }
    applyXWindow();
    fitValueLabels();
}

void LineChartViewController::fitValueLabels()
{
    chart::Axis* y = m_graph->axisSet()->yAxis();
    const double right = m_graph->plotAreaRect().right();
    QList<chart::AxisLabel> fitted = m_valueLabels;
    for (chart::AxisLabel& label : fitted) {
        // Where the label starts does not depend on its value: measured at one in view.
        chart::AxisLabel inView = label;
        inView.tickLocation = m_graph->defaultPlotSpace()->yRange().midPoint();
        if (const auto box = chart::axisLabelRect(*m_graph, *y, inView))
            label.text
                = QFontMetricsF(label.textStyle.font())
                      .elidedText(label.text, Qt::ElideRight, std::max(0.0, right - box->left() - 1.0));
    }
    y->setAxisLabels(fitted);
}

void LineChartViewController::applyXWindow()
{
    const QList<NWChartLog>& data = m_series.dataArray;
    if (data.isEmpty())
        return;
    const XWindow window
        = visibleWindow(monthIndex(data.first()), monthIndex(data.last()), m_timeScale, currentMonth());
    m_xStartLocation = window.start;
    chart::PlotSpace* space = m_graph->defaultPlotSpace();
    const chart::PlotRange visible
        = chart::PlotRange::withLocation(window.start, window.length).expandedByFactor(1.03);
    space->setGlobalXRange(std::nullopt);
    space->setXRange(visible);
    space->setGlobalXRange(
        chart::PlotRange::withLocation(window.globalLocation, window.globalLength).expandedByFactor(1.03));
    m_graph->axisSet()->yAxis()->setConstraintWithLowerOffset(50);
    setSymbolSize();
}
