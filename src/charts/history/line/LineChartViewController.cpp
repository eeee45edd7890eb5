// The history chart's data, notifications and interaction; building the graph and its
// controls is LineChartPlots.cpp.
#include "charts/history/line/LineChartViewController.h"

#include "categories/CategoriesNotifications.h"
#include "categories/filter/TagFilterPopover.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/NWPrintViewController.h"
#include "charts/common/ValuePopup.h"
#include "charts/history/line/LineChartColors.h"
#include "charts/history/series/HistoryAxes.h"
#include "charts/history/series/HistoryTexts.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "model/values/NWDetailRecordInfo.h"
#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/NotificationCenter.h"
#include "platform/RectEdge.h"
#include "platform/UserDefaults.h"
#include "platform/YUpGeometry.h"
#include "records/RecordsNotifications.h"
#include "records/editor/RecordEditorPopover.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QButtonGroup>
#include <QToolButton>

using namespace historyseries;
namespace HCS = HistoryChartSettings;
namespace colors = linechartcolors;

LineChartViewController::LineChartViewController(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    loadChartTypeSettings();
    observe();

    m_showNWGoal = HCS::showGoal();
    getNWGoalAmount();
    m_lineWidth = platform::UserDefaults::standard().contains(HCS::lineWidthKey) ? HCS::lineWidth() : 3.0;
    m_showAreaChartSymbols = HCS::showArea();
    m_showPlotSymbols = HCS::showSymbols();
    m_timeScale = HCS::dateRange();

    buildControls();
    initPlot();
}

LineChartViewController::~LineChartViewController()
{
    // The plots ask this object for data until the graph is gone.
    delete m_hostView;
}

void LineChartViewController::observe()
{
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&) { nwDataReFetchedHandler(); });
    center.addObserver(this, notifications::tagFilterChanged, [this](auto&&) { lineChartSettingsChanged(); });
    center.addObserver(this, notifications::areaChart, [this](auto&&) {
        m_showAreaChartSymbols = HCS::showArea();
        applyAreaFills();
    });
    center.addObserver(
        this, notifications::lineWidth, [this](auto&&) { applyDataLineStyles(HCS::lineWidth()); });
    center.addObserver(this, notifications::plotSymbol, [this](auto&&) {
        m_showPlotSymbols = HCS::showSymbols();
        setSymbolSize();
        m_graph->reloadData();
    });
    center.addObserver(
        this, notifications::lineChartSettingsChange, [this](auto&&) { lineChartSettingsChanged(); });
    center.addObserver(this, notifications::goalSettingsChange, [this](auto&&) {
        // The show-goal switch posts this too, so it is read again here.
        m_showNWGoal = HCS::showGoal();
        getNWGoalAmount();
        lineChartSettingsChanged();
    });
    center.addObserver(this, notifications::showDetails,
        [this](const platform::Notification& notification) { showNWDetails(notification.object); });
    center.addObserver(this, notifications::nwRecordSave, [this](auto&&) {
        if (m_editRecordPopover && m_editRecordPopover->shown())
            m_editRecordPopover->close();
    });
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) { appearanceChanged(); });
}

void LineChartViewController::refreshView()
{
    if (!m_wasRefetchCalled) {
        nwDataReFetchedHandler();
        return;
    }
    setSymbolSize();
    configureAxes();
}

void LineChartViewController::updateChart()
{
    nwDataReFetchedHandler();
}

void LineChartViewController::loadChartTypeSettings()
{
    m_settings = SeriesSettings::fromDefaults();
    // A category deleted since it was chosen gives way to the first of its list, and the
    // settings remember that, so the popover and the chart agree.
    const auto& model = NWData::shared()->appData();
    if (!model)
        return;
    if (m_settings.type == ChartType::AssetCategory) {
        const QString id = resolvedCategoryID(model->assetscat(), m_settings.assetCategoryID);
        if (!id.isNull() && id != m_settings.assetCategoryID) {
            m_settings.assetCategoryID = id;
            HCS::setAssetCategory(id);
        }
    } else if (m_settings.type == ChartType::LiabilityCategory) {
        const QString id = resolvedCategoryID(model->liabilitycat(), m_settings.liabilityCategoryID);
        if (!id.isNull() && id != m_settings.liabilityCategoryID) {
            m_settings.liabilityCategoryID = id;
            HCS::setLiabilityCategory(id);
        }
    }
}

void LineChartViewController::getNWGoalAmount()
{
    const auto& model = NWData::shared()->appData();
    if (const auto goal = HCS::goal(model ? model->ridIrevuGoal() : std::nullopt))
        m_goalAmount = *goal;
}

void LineChartViewController::nwDataReFetchedHandler()
{
    m_wasRefetchCalled = true;
    getNWGoalAmount();
    closeChartInfoView(true);
    loadChartTypeSettings();
    rebuild(true);
}

void LineChartViewController::lineChartSettingsChanged()
{
    closeChartInfoView(false);
    const ChartType before = m_settings.type;
    loadChartTypeSettings();
    switchNWPlotColorToTag(m_settings.type == ChartType::Tags);
    rebuild(true);
    applyVisibility(before != m_settings.type, 0.5);
}

void LineChartViewController::rebuild(bool reload)
{
    m_series = buildSeries(*NWData::shared(), m_settings);
    m_graph->setTitle(m_series.title);
    applyVisibility(false, 1.0);
    redrawChartsAfterScaleChange(reload);
    setSymbolSize();
}

void LineChartViewController::timeScaleChanged(int timeScale)
{
    m_timeScale = std::clamp(timeScale, 0, 3);
    if (QAbstractButton* segment = m_timeScaleCtl->button(m_timeScale))
        segment->setChecked(true);
    HCS::setDateRange(m_timeScale);
    closeChartInfoView(false);
    redrawChartsAfterScaleChange(true);
}

void LineChartViewController::closeChartInfoView(bool reload)
{
    if (!m_pointAnnotationPopover || !m_pointAnnotationPopover->shown())
        return;
    m_pointAnnotationPopover->close();
    m_pointAnnotationPopover->deleteLater();
    m_pointAnnotationPopover = nullptr;
    m_selectedIndex = -1;
    if (reload)
        m_graph->reloadData();
}

// Plot data.

int LineChartViewController::numberOfRecordsForPlot(chart::Plot*)
{
    return int(m_series.dataArray.size());
}

std::optional<double> LineChartViewController::numberForPlot(
    chart::Plot* plot, chart::PlotField field, int index)
{
    if (index < 0 || index >= m_series.dataArray.size())
        return std::nullopt;
    const NWChartLog& point = m_series.dataArray[index];
    if (field == chart::PlotField::X)
        return monthIndex(point);
    if (field != chart::PlotField::Y)
        return 0.0;
    const auto id = plotIdFromIdentifier(plot->identifier());
    if (!id)
        return 0.0;
    return plotValue(*id, point, PlotContext { m_settings, m_showNWGoal, m_goalAmount });
}

std::optional<chart::PlotSymbol> LineChartViewController::symbolForScatterPlot(
    chart::ScatterPlot* plot, int index)
{
    if (m_selectedIndex < 0 || index != m_selectedIndex)
        return std::nullopt;
    chart::PlotSymbol symbol = chart::PlotSymbol::ellipse();
    symbol.size = QSizeF(11, 11);
    symbol.fill = chart::Fill(colors::selectedSymbolFill());
    QColor outline = colors::netWorth(0.4);
    if (plot->plotSymbol() && plot->plotSymbol()->lineStyle)
        outline = plot->plotSymbol()->lineStyle->lineColor;
    symbol.lineStyle = chart::LineStyle { 2.0, outline, {} };
    return symbol;
}

// Value popup.

void LineChartViewController::plotSymbolWasSelected(chart::ScatterPlot* plot, int index)
{
    showValuePopup(plot, index);
}

void LineChartViewController::barWasSelected(chart::BarPlot* plot, int index)
{
    showValuePopup(plot, index);
}

void LineChartViewController::plotAreaWasSelected(chart::Graph*)
{
    closeChartInfoView(true);
}

void LineChartViewController::showValuePopup(chart::Plot* plot, int index)
{
    closeChartInfoView(true);
    if (index < 0 || index >= m_series.dataArray.size())
        return;
    m_selectedIndex = index;
    const NWChartLog& point = m_series.dataArray[index];
    const auto id = plotIdFromIdentifier(plot->identifier());
    const bool category
        = m_settings.type == ChartType::AssetCategory || m_settings.type == ChartType::LiabilityCategory;
    double amount = 0.0;
    QColor color = Qt::white;
    bool bar = false;
    switch (id.value_or(PlotId::Goal)) {
    case PlotId::NetWorth:
        amount = category ? 0.0 : point.nw();
        color = category ? QColor(Qt::white) : colors::netWorth();
        break;
    case PlotId::Assets:
        amount = category ? point.nw() : point.assets();
        color = colors::asset();
        break;
    case PlotId::Liabilities:
        amount = category ? point.nw() : point.liabilities();
        color = colors::liability();
        break;
    case PlotId::StackedAssets:
        amount = point.assets();
        color = colors::asset();
        bar = true;
        break;
    case PlotId::StackedLiabilities:
        amount = point.liabilities();
        color = colors::liability();
        bar = true;
        break;
    case PlotId::Goal:
        break;
    }
    const auto y = numberForPlot(plot, chart::PlotField::Y, index);
    const QPointF inPlotArea = m_graph->defaultPlotSpace()->plotAreaViewPointForPlotPoint(
        QPointF(monthIndex(point), y.value_or(0.0)));
    const QPointF inView = m_hostView->mapTo(this, m_hostView->viewPointFromPlotArea(inPlotArea));
    const bool percent = !bar && m_settings.displayChanges && m_settings.displayPercent;
    ValuePopup::show(m_pointAnnotationPopover, this, platform::toYUp(inView, height()),
        ValuePopup::MonthPoint { popupAmountText(amount, percent), point.year(), point.month(), color },
        true);
    if (!bar)
        plot->reloadData();
}

// Records.

bool LineChartViewController::isOnScreen() const
{
    return isVisible() && window()->isVisible() && !window()->isMinimized();
}

std::shared_ptr<MVX_NWLog> LineChartViewController::getSelectedNWLogItemFromYear(int year, int month)
{
    const auto& model = NWData::shared()->appData();
    if (!model || !model->nwLogArray())
        return nullptr;
    for (const auto& record : *model->nwLogArray()) {
        if (record && record->year() == year && record->month() == month)
            return record;
    }
    return nullptr;
}

void LineChartViewController::showNWDetails(const QVariant& object)
{
    // Both instances hear every request; the hidden one must not open a second editor.
    if (!isOnScreen())
        return;
    closeChartInfoView(true);
    if (!object.canConvert<NWDetailRecordInfo>())
        return;
    const auto info = object.value<NWDetailRecordInfo>();
    editTheNWLogRecord(getSelectedNWLogItemFromYear(info.year(), info.month()));
}

void LineChartViewController::editTheNWLogRecord(const std::shared_ptr<MVX_NWLog>& record)
{
    if (!record)
        return;
    if (m_editRecordPopover && m_editRecordPopover->shown()) {
        // Closing it would throw away what was typed; show it instead.
        if (QWidget* window = m_editRecordPopover->popoverWindow()) {
            window->raise();
            window->activateWindow();
        }
        return;
    }
    if (m_editRecordPopover)
        m_editRecordPopover->deleteLater();
    // Escape closes it, losing the focus does not: typed values survive a switch to another
    // application.
    m_editRecordPopover = newRecordEditorPopover(record, this);
    m_editRecordPopover->showRelativeToRect(
        QRectF(m_tagMenuBtn->rect()), m_tagMenuBtn, platform::RectEdge::MaxX);
}

// Buttons.

void LineChartViewController::chartMenuHandler()
{
    if (PKPopoverController::dropPopover(m_menuPopover))
        return;
    if (!m_menuContentFactory)
        return;
    QWidget* content = m_menuContentFactory();
    if (!content)
        return;
    m_menuPopover = new PKPopoverController(content, this);
    m_menuPopover->setDefaultProperties(true, true, true);
    m_menuPopover->showRelativeToRect(QRectF(m_menuButton->rect()), m_menuButton, platform::RectEdge::MinY);
}

void LineChartViewController::tagMenuButtonClick()
{
    if (PKPopoverController::dropPopover(m_menuPopover))
        return;
    m_menuPopover = newTagFilterPopover(this);
    m_menuPopover->showRelativeToRect(QRectF(m_tagMenuBtn->rect()), m_tagMenuBtn, platform::RectEdge::MinY);
}

void LineChartViewController::printChart()
{
    // Named from the settings rather than the last built series, which a chart not yet
    // refreshed does not have.
    NWPrintViewController::GenericPrint(m_hostView, 40, 200, 10, 10, true,
        m_printNamePattern.arg(seriesTitle(*NWData::shared(), m_settings)));
}

void LineChartViewController::copyChartToClipboard()
{
    NWPrintViewController::GenericChartToClipboard(m_hostView);
}

// Panning.

QPointF LineChartViewController::willDisplaceBy(chart::PlotSpace* space, const QPointF& displacement)
{
    closeChartInfoView(true);
    const QList<NWChartLog>& data = m_series.dataArray;
    const double width = m_graph->plotAreaRect().width();
    if (data.isEmpty() || width <= 0)
        return displacement;
    const int first = monthIndex(data.first());
    const int last = monthIndex(data.last());
    const double length = windowLength(first, last, m_timeScale, platform::Clock::today().month());
    const double monthsPerPoint = space->xRange().length / width;
    const double shift = displacement.x() * monthsPerPoint;
    m_xStartLocation = pannedStart(m_xStartLocation, shift, first, last, length, monthsPerPoint);
    const chart::PlotRange window
        = chart::PlotRange::withLocation(m_xStartLocation, length).expandedByFactor(1.03);
    space->setGlobalXRange(space->globalXRange() ? space->globalXRange()->united(window) : window);
    space->setXRange(window);
    // The window is placed; the chart never moves vertically.
    return QPointF(0, 0);
}
