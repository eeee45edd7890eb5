#include "dashboard/bigpie/BigPieChartViewController.h"

#include "charts/common/ChartNotifications.h"
#include "charts/common/ChartToolButton.h"
#include "charts/common/NWPrintViewController.h"
#include "charts/common/RedavidGraphHost.h"
#include "dashboard/common/BigPieChartView.h"
#include "dashboard/common/DashboardNotifications.h"
#include "dashboard/common/NWColoredRotationViews.h"
#include "dashboard/settings/PieChartMenuViewController.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/RectEdge.h"
#include "platform/Strings.h"
#include "uikit/controls/buttons/SegmentedControl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;
using platform::Strings;

BigPieChartViewController::BigPieChartViewController(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"BigPieChartViewController"_s);
    loadPieChartSettings();
    buildInterface();
    if (const auto& model = NWData::shared()->appData())
        m_currentLogItem = model->currentLog();
    m_hasNegativeNW = PieSlices::hasNegativeNW(m_currentLogItem.get());
    applyAppearance();
    for (PieKind kind : { PieKind::NetWorth, PieKind::Assets, PieKind::Liabilities }) {
        configureGraph(kind);
        configureChart(kind);
    }

    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&) { nwDataReFetchedHandler(); });
    const std::array<std::pair<QString, PieKind>, 3> rotations {
        { { notifications::pieRotationNW, PieKind::NetWorth },
            { notifications::pieRotationA, PieKind::Assets },
            { notifications::pieRotationL, PieKind::Liabilities } }
    };
    for (const auto& [name, kind] : rotations) {
        center.addObserver(
            this, name, [this, kind](const platform::Notification& note) { pieChartRotated(kind, note); });
        // Only the events of this screen's own hosts: a pie elsewhere must not turn these.
        center.addObserver(
            this, notifications::redavidMouseHit,
            [this, kind](const platform::Notification& note) { mouseHit(kind, note); },
            QVariant::fromValue<QObject*>(m_hosts[index(kind)]));
    }
    center.addObserver(this, notifications::bigPieChartViewResized, [this](auto&&) { viewHasResized(); });
    center.addObserver(
        this, notifications::pieChartSettingsChange, [this](auto&&) { pieChartSettingsChange(); });
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) {
            applyAppearance();
            reloadAndRedraw();
        });
    pieChartSettingsChange();
    viewHasResized();
}

BigPieChartViewController::~BigPieChartViewController()
{
    // The pies still point at this data source and delegate.
    for (RedavidGraphHost* host : m_hosts) {
        chart::Graph* graph = host->hostedGraph();
        host->setHostedGraph(nullptr);
        delete graph;
    }
}

void BigPieChartViewController::buildInterface()
{
    m_pageView = new BigPieChartView(this);
    m_pageView->setObjectName(u"BigPieChartView"_s);
    m_amountDisplayMOdeCtl = new SegmentedControl(
        { Strings::tr("None"), Strings::tr("Amount"), Strings::tr("Percent") }, m_pageView);
    m_amountDisplayMOdeCtl->setObjectName(u"amountDisplayMOdeCtl"_s);
    m_amountDisplayMOdeCtl->setSelectedSegment(static_cast<int>(m_pieChartLabelStyle));
    m_rotationSliderCtl = new QSlider(Qt::Horizontal, m_pageView);
    m_rotationSliderCtl->setObjectName(u"rotationSliderCtl"_s);
    m_rotationSliderCtl->setRange(0, 360);
    m_rotationSliderCtl->setValue(45);
    m_rotationSliderCtl->setFixedWidth(180);
    m_rotationSliderCtl->setToolTip(Strings::tr("Turn the category pies"));
    m_menuButton
        = new ChartToolButton(ChartToolButton::menuGlyph, Strings::tr("Show chart menu"), m_pageView);
    m_menuButton->setObjectName(u"menuButton"_s);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(16, 10, 16, 0);
    bar->setSpacing(10);
    bar->addWidget(new QLabel(Strings::tr("Labels:"), m_pageView));
    bar->addWidget(m_amountDisplayMOdeCtl);
    bar->addSpacing(20);
    bar->addWidget(new QLabel(Strings::tr("Rotation:"), m_pageView));
    bar->addWidget(m_rotationSliderCtl);
    bar->addStretch(1);
    bar->addWidget(m_menuButton);

    auto* pies = new QHBoxLayout;
    pies->setContentsMargins(8, 0, 8, 8);
    pies->setSpacing(8);
    pies->addWidget(buildPieColumn(PieKind::NetWorth, new NWColoredRotationView_NW(m_pageView)), 1);
    pies->addWidget(buildPieColumn(PieKind::Assets, new NWColoredRotationView_A(m_pageView)), 1);
    pies->addWidget(buildPieColumn(PieKind::Liabilities, new NWColoredRotationView_L(m_pageView)), 1);

    auto* page = new QVBoxLayout(m_pageView);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(6);
    page->addLayout(bar);
    page->addLayout(pies, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pageView);

    connect(m_amountDisplayMOdeCtl, &SegmentedControl::segmentClicked, this,
        [this] { categoryDisplayModeChanged(); });
    connect(
        m_rotationSliderCtl, &QSlider::valueChanged, this, [this](int degrees) { rotationChanged(degrees); });
    connect(m_menuButton, &QToolButton::clicked, this, [this] { chartMenuHandler(); });
}

QWidget* BigPieChartViewController::buildPieColumn(PieKind kind, QWidget* rotationView)
{
    static const std::array<QString, 3> names { u"NW"_s, u"A"_s, u"L"_s };
    const QString suffix = names[index(kind)];
    static_cast<NWColoredView*>(rotationView)->setBackgroundColor(QColor());
    rotationView->setObjectName(u"rotationView"_s + suffix);
    auto* host = new RedavidGraphHost(rotationView);
    host->setObjectName(u"hostView"_s + suffix);
    m_hosts[index(kind)] = host;
    auto* print
        = new ChartToolButton(ChartToolButton::printGlyph, Strings::tr("Print the chart"), rotationView);
    print->setObjectName(u"printButton"_s + suffix);
    auto* copy = new ChartToolButton(
        ChartToolButton::copyGlyph, Strings::tr("Copy the chart to the clipboard"), rotationView);
    copy->setObjectName(u"copyButton"_s + suffix);
    connect(print, &QToolButton::clicked, this, [this, kind] { printChart(kind); });
    connect(copy, &QToolButton::clicked, this, [this, kind] { copyChartToClipboard(kind); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(print);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(rotationView);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(host, 1);
    column->addLayout(buttons);
    return rotationView;
}

void BigPieChartViewController::loadPieChartSettings()
{
    m_displayCategoryNameInLabel = PieChartSettings::nameInLabel();
    m_pieChartLabelStyle = PieChartSettings::bigPieLabelType();
    if (m_amountDisplayMOdeCtl)
        m_amountDisplayMOdeCtl->setSelectedSegment(static_cast<int>(m_pieChartLabelStyle));
}

void BigPieChartViewController::categoryDisplayModeChanged()
{
    PieChartSettings::setBigPieLabelType(
        PieChartSettings::labelTypeFromIndex(m_amountDisplayMOdeCtl->selectedSegment()));
    loadPieChartSettings();
    refreshSlices();
    reload(PieKind::Assets);
    reload(PieKind::Liabilities);
}

void BigPieChartViewController::pieChartSettingsChange()
{
    loadPieChartSettings();
    reloadAndRedraw();
}

void BigPieChartViewController::nwDataReFetchedHandler()
{
    const auto& model = NWData::shared()->appData();
    m_currentLogItem = model ? model->currentLog() : nullptr;
    upateChart(PieSlices::hasNegativeNW(m_currentLogItem.get()));
}

void BigPieChartViewController::upateChart(bool hasNegativeNW)
{
    m_hasNegativeNW = hasNegativeNW;
    reloadAndRedraw();
}

void BigPieChartViewController::rotationChanged(int degrees)
{
    for (PieKind kind : { PieKind::Assets, PieKind::Liabilities })
        if (chart::PieChart* pie = m_pies[index(kind)])
            pie->setStartAngle(PieDragRotation::radiansFromDegrees(degrees));
}

void BigPieChartViewController::chartMenuHandler()
{
    if (PKPopoverController::dropPopover(m_menuPopover))
        return;
    m_menuPopover = new PKPopoverController(new PieChartMenuViewController, this);
    m_menuPopover->setDefaultProperties(true, true, true);
    m_menuPopover->showRelativeToRect(QRectF(m_menuButton->rect()), m_menuButton, platform::RectEdge::MinY);
}

const PieSlices::Pie& BigPieChartViewController::slices(PieKind kind) const
{
    static const PieSlices::Pie none;
    return isPieKind(kind) ? m_slices[index(kind)] : none;
}

void BigPieChartViewController::printChart(PieKind kind)
{
    if (!isPieKind(kind))
        return;
    NWPrintViewController::GenericPrint(m_hosts[index(kind)], 40, 200, 10, 10, false, title(kind));
}

void BigPieChartViewController::copyChartToClipboard(PieKind kind)
{
    if (!isPieKind(kind))
        return;
    NWPrintViewController::GenericChartToClipboard(m_hosts[index(kind)]);
}
