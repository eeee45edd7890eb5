#include "dashboard/totals/TotalsViewController.h"

#include "app/alerts/MessagePopover.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/ChartToolButton.h"
#include "charts/common/NWPrintViewController.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/kit/Graph.h"
#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/NWColoredRotationView.h"
#include "dashboard/totals/TotalsLine.h"
#include "dashboard/totals/TotalsLineField.h"
#include "dashboard/totals/WelcomeView.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Dispatch.h"
#include "platform/Strings.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/overlay/SavingOverlay.h"
#include "uikit/popover/APPopover.h"
#include "uikit/popover/PKPopoverController.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// Where the welcome panel hangs: from this far below the window's top edge, centred.
constexpr int kWelcomeTop = 60;

// The side column of a chart: its buttons, top down.
QVBoxLayout* buttonColumn(std::initializer_list<QToolButton*> buttons)
{
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 4, 0, 0);
    column->setSpacing(2);
    for (QToolButton* button : buttons)
        column->addWidget(button);
    column->addStretch(1);
    return column;
}

} // namespace

TotalsViewController::TotalsViewController(QWidget* parent) : QWidget(parent)
{
    loadPieChartSettings();
    m_greenOrRedShadeColorScheme = PieChartSettings::greenOrRedShadeColorScheme();
    m_colorArray = PieColorSchemes::colorListForType(
        m_pieChartType, m_greenOrRedShadeColorScheme, PieColorSchemes::colorArrayGreen());
    buildViews();
    setColorDictionary();
    registerObservers();
    m_messages = std::make_unique<MessagePopover>();
    // The first display already knows the sign of the net worth: the pie is built from it.
    m_hasNegativeNW = PieSlices::hasNegativeNW(currentLogItem().get());
    configureGraph();
    configureChart();
    configureBARGraph();
    configureBARAxes();
    configureBARPlots();
    pieChartSettingsChange();
    setNWTitleValues(false);
}

TotalsViewController::~TotalsViewController()
{
    // The graphs' plots still point at this data source.
    for (chart::GraphHostingView* host : { static_cast<chart::GraphHostingView*>(m_hostView), m_hostViewB }) {
        chart::Graph* graph = host->hostedGraph();
        host->setHostedGraph(nullptr);
        delete graph;
    }
    if (m_firstStartSFBPopover)
        m_firstStartSFBPopover->closePopover();
}

void TotalsViewController::buildViews()
{
    setObjectName(u"TotalsViewController"_s);
    m_testText = new TotalsLineField(this);
    m_testText->setObjectName(u"testText"_s);

    m_totalsBaseView = new NWColoredRotationView(this);
    m_totalsBaseView->setObjectName(u"totalsBaseView"_s);
    m_hostView = new RedavidGraphHost(m_totalsBaseView);
    m_hostView->setObjectName(u"hostView"_s);
    auto* baseLayout = new QVBoxLayout(m_totalsBaseView);
    baseLayout->setContentsMargins(0, 0, 0, 0);
    baseLayout->addWidget(m_hostView);

    m_hostViewB = new chart::GraphHostingView(this);
    m_hostViewB->setObjectName(u"hostViewB"_s);

    m_menuButton
        = new ChartToolButton(ChartToolButton::menuGlyph, platform::Strings::tr("Show chart menu"), this);
    m_menuButton->setObjectName(u"menuButton"_s);
    m_printPieButton = new ChartToolButton(
        ChartToolButton::printGlyph, platform::Strings::tr("Print the pie chart"), this);
    m_printPieButton->setObjectName(u"printPieButton"_s);
    m_copyPieButton = new ChartToolButton(
        ChartToolButton::copyGlyph, platform::Strings::tr("Copy the pie chart to the clipboard"), this);
    m_copyPieButton->setObjectName(u"copyPieButton"_s);
    m_printBarButton = new ChartToolButton(
        ChartToolButton::printGlyph, platform::Strings::tr("Print the bar chart"), this);
    m_printBarButton->setObjectName(u"printBarButton"_s);
    m_copyBarButton = new ChartToolButton(
        ChartToolButton::copyGlyph, platform::Strings::tr("Copy the bar chart to the clipboard"), this);
    m_copyBarButton->setObjectName(u"copyBarButton"_s);

    auto* charts = new QHBoxLayout;
    charts->setContentsMargins(8, 0, 8, 4);
    charts->setSpacing(6);
    charts->addWidget(m_totalsBaseView, 1);
    charts->addLayout(buttonColumn({ m_menuButton, m_printPieButton, m_copyPieButton }));
    charts->addWidget(m_hostViewB, 1);
    charts->addLayout(buttonColumn({ m_printBarButton, m_copyBarButton }));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_testText);
    layout->addLayout(charts, 1);

    connect(m_menuButton, &QToolButton::clicked, this, [this] { chartMenuHandler(); });
    connect(m_printPieButton, &QToolButton::clicked, this, [this] { printPieChart(); });
    connect(m_copyPieButton, &QToolButton::clicked, this, [this] { copyPieChart(); });
    connect(m_printBarButton, &QToolButton::clicked, this, [this] { printBarChart(); });
    connect(m_copyBarButton, &QToolButton::clicked, this, [this] { copyBarChart(); });
}

void TotalsViewController::registerObservers()
{
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&) { nwDataReFetchedHandler(); });
    center.addObserver(this, notifications::pieRotation,
        [this](const platform::Notification& notification) { pieChartRotated(notification); });
    center.addObserver(
        this, notifications::pieChartSettingsChange, [this](auto&&) { pieChartSettingsChange(); });
    // Only this pane's own pie: a hidden full-window pie's host posts too.
    center.addObserver(
        this, notifications::redavidMouseHit,
        [this](const platform::Notification& notification) { mouseHit(notification); },
        QVariant::fromValue<QObject*>(m_hostView));
    center.addObserver(this, notifications::goalSettingsChange,
        [this](const platform::Notification& notification) { goalSettingsChanged(notification); });
    center.addObserver(
        this, notifications::colorSchemaSettingsChange, [this](auto&&) { colorSchemaSettingsChange(); });
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) { darkModeChanged(); });
}

void TotalsViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setNWTitleValues(true);
    // After the window has placed this pane: the panel hangs from the window's top.
    platform::runLater(this, [this] { showFirstStartForm(); });
}

void TotalsViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    setNWTitleValues(true);
}

std::shared_ptr<MVX_NWLog> TotalsViewController::currentLogItem() const
{
    const auto& model = NWData::shared()->appData();
    return model ? model->currentLog() : nullptr;
}

void TotalsViewController::setNWTitleValues(bool withGoal)
{
    const auto record = currentLogItem();
    const double assets = record ? record->assets().value_or(0.0) : 0.0;
    const double liabilities = record ? record->liabilities().value_or(0.0) : 0.0;
    const auto& model = NWData::shared()->appData();
    m_testText->setRuns(TotalsLine::runs(assets, liabilities,
        TotalsLine::shownGoal(withGoal, model ? model->ridIrevuGoal() : std::nullopt),
        platform::isDarkAppearance()));
}

double TotalsViewController::getNWGoalAmount() const
{
    const auto& model = NWData::shared()->appData();
    return TotalsLine::goalAmount(model ? model->ridIrevuGoal() : std::nullopt);
}

void TotalsViewController::goalSettingsChanged(const platform::Notification& notification)
{
    setNWTitleValues(true);
    // Only a new goal amount is data; the show-goal switch is a setting of its own.
    if (notification.object.isValid() && !notification.object.isNull())
        saveGoal();
}

void TotalsViewController::saveGoal()
{
    m_savingOverlay = SavingOverlay::saveStore(this, [this](const platform::MaybeError& error) {
        // After a failure the store has put the file's goal back and posted "dataReFetched".
        if (error)
            m_messages->showMessage(
                platform::Strings::tr("The goal could not be saved: %1").arg(*error), m_testText, false);
    });
}

void TotalsViewController::showFirstStartForm()
{
    if (!isVisible())
        return;
    const bool show = WelcomeView::shouldShow(m_welcomeScreenAlreadyShown);
    m_welcomeScreenAlreadyShown = true;
    if (!show)
        return;
    m_startupView = new WelcomeView;
    connect(m_startupView, &WelcomeView::closeRequested, this, [this] { closeWelcomeView(); });
    connect(m_startupView, &WelcomeView::linkNotOpened, this,
        [this](const QString& text) { m_messages->showMessage(text, m_testText, false); });
    m_firstStartSFBPopover = std::make_unique<APPopover>(m_startupView);
    m_firstStartSFBPopover->setClosesWhenApplicationBecomesInactive(true);
    m_firstStartSFBPopover->setClosesWhenPopoverResignsKey(true);
    m_firstStartSFBPopover->setClosesWhenEscapeKeyPressed(true);
    m_firstStartSFBPopover->setAnimates(true);
    m_firstStartSFBPopover->setPosition(APPopoverGeometry::Position::Top);
    m_firstStartSFBPopover->setBackgroundColor(QColor());
    m_firstStartSFBPopover->setBorderColor(QColor(Qt::lightGray));
    m_firstStartSFBPopover->setArrowHeight(10);
    m_firstStartSFBPopover->setDrawsArrow(false);
    m_firstStartSFBPopover->setBorderWidth(1);
    QWidget* top = window();
    m_firstStartSFBPopover->displayPopoverInWindow(top, QPointF(top->width() / 2.0, kWelcomeTop));
}

void TotalsViewController::closeWelcomeView()
{
    if (m_firstStartSFBPopover && m_firstStartSFBPopover->isVisible())
        m_firstStartSFBPopover->closePopover();
}

void TotalsViewController::chartMenuHandler()
{
    if (PKPopoverController::dropPopover(m_menuPopover))
        return;
    QWidget* content = m_menuContentFactory ? m_menuContentFactory() : nullptr;
    if (!content)
        return;
    m_menuPopover = new PKPopoverController(content, this);
    m_menuPopover->setDefaultProperties(true, true, true);
    m_menuPopover->showRelativeToRect(QRectF(m_menuButton->rect()), m_menuButton, platform::RectEdge::MinY);
}

void TotalsViewController::printPieChart()
{
    // Named after what the pie shows, in the dashboard (as the dashboard's history chart is):
    // the Pie Chart screen prints the same pies.
    NWPrintViewController::GenericPrint(m_hostView, 40, 200, 10, 10, false,
        platform::Strings::tr("Dashboard - %1").arg(PieSlices::title(m_pieChartType)));
}

void TotalsViewController::printBarChart()
{
    NWPrintViewController::GenericPrint(
        m_hostViewB, 40, 200, 10, 10, false, platform::Strings::tr("Dashboard - Year-End Bars"));
}

void TotalsViewController::copyPieChart()
{
    NWPrintViewController::GenericChartToClipboard(m_hostView);
}

void TotalsViewController::copyBarChart()
{
    NWPrintViewController::GenericChartToClipboard(m_hostViewB);
}
