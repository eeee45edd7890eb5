#include "charts/annual/AnnualViewController.h"

#include "charts/annual/AnnualChartData.h"
#include "charts/annual/AnnualChartSettings.h"
#include "charts/common/ChartNotifications.h"
#include "charts/common/ChartToolButton.h"
#include "charts/common/NWPrintViewController.h"
#include "charts/common/ValuePopup.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "model/ModelNotifications.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/settings/Preferences.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "platform/YUpGeometry.h"
#include "uikit/popover/PKPopoverController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kBarTextColor = QColor::fromRgbF(0.28f, 0.66f, 0.99f, 1.0f);
const QColor kTrendTextColor = QColor::fromRgbF(1.0f, 0.5f, 0.0f, 0.9f);

QComboBox* trendCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    for (int count = AnnualChartSettings::fewestTrendYears; count <= AnnualChartSettings::mostTrendYears;
         ++count)
        combo->addItem(QString::number(count));
    return combo;
}

} // namespace

AnnualViewController::AnnualViewController(QWidget* parent)
    : QWidget(parent)
    , m_numberOfVisibleBars(Preferences::annualYears())
    , m_trendLinePeriod(AnnualChartSettings::defaultTrendPeriod)
    , m_trendLinePeriodPre(AnnualChartSettings::defaultTrendPeriod)
{
    buildControls();
    readTrendSettings();

    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, notifications::dataReFetched, [this](auto&&...) { updateChart(); });
    center.addObserver(this, notifications::annualNotificationChanged, [this](auto&&...) {
        m_numberOfVisibleBars = Preferences::annualYears();
        updateChart();
    });
    // The axis texts take the appearance's secondary text colour when the chart is rebuilt.
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, [this](bool) { updateChart(); });
    updateChart();
}

AnnualViewController::~AnnualViewController()
{
    // The graph's plots still point at this data source.
    chart::Graph* graph = m_hostView->hostedGraph();
    m_hostView->setHostedGraph(nullptr);
    delete graph;
}

void AnnualViewController::buildControls()
{
    m_hostView = new chart::GraphHostingView(this);
    m_anualTrendCtl = new QCheckBox(platform::Strings::tr("Trend line"), this);
    m_periodsLabel = new QLabel(platform::Strings::tr("Project"), this);
    m_futurePeriodCtl = trendCombo(this);
    m_trendLabel2 = new QLabel(platform::Strings::tr("years, fitted to the last"), this);
    m_pastPeriodCtl = trendCombo(this);
    m_trendLabel3 = new QLabel(platform::Strings::tr("year-end values"), this);
    m_printButton
        = new ChartToolButton(ChartToolButton::printGlyph, platform::Strings::tr("Print the chart"), this);
    m_copyButton = new ChartToolButton(
        ChartToolButton::copyGlyph, platform::Strings::tr("Copy the chart to the clipboard"), this);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(12, 8, 12, 0);
    bar->setSpacing(8);
    for (QWidget* control : std::initializer_list<QWidget*> { m_anualTrendCtl, m_periodsLabel,
             m_futurePeriodCtl, m_trendLabel2, m_pastPeriodCtl, m_trendLabel3 })
        bar->addWidget(control);
    bar->addStretch(1);
    bar->addWidget(m_printButton);
    bar->addWidget(m_copyButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(bar);
    layout->addWidget(m_hostView, 1);

    connect(m_anualTrendCtl, &QCheckBox::clicked, this, [this] { anualTrendChanged(); });
    connect(
        m_futurePeriodCtl, &QComboBox::activated, this, [this](int index) { futurePeriodsChanged(index); });
    connect(m_pastPeriodCtl, &QComboBox::activated, this, [this](int index) { pastPeriodsChanged(index); });
    // The year labels thin out when the slots get narrower than a label, and the value labels
    // when the chart gets lower than they need.
    connect(m_hostView, &chart::GraphHostingView::plotAreaFrameChanged, this, [this] { placeLabels(); });
    connect(m_printButton, &QToolButton::clicked, this, [this] { printChart(); });
    connect(m_copyButton, &QToolButton::clicked, this, [this] { copyChartToClipboard(); });
}

void AnnualViewController::readTrendSettings()
{
    m_useTrendLine = AnnualChartSettings::trendLine();
    const auto future = AnnualChartSettings::comboChoice(AnnualChartSettings::trendPeriod());
    const auto past = AnnualChartSettings::comboChoice(AnnualChartSettings::trendPeriodPre());
    m_trendLinePeriod = future.count;
    m_trendLinePeriodPre = past.count;
    m_futurePeriodCtl->setCurrentIndex(future.index);
    m_pastPeriodCtl->setCurrentIndex(past.index);
    m_anualTrendCtl->setChecked(m_useTrendLine);
    showTrendControls(m_useTrendLine);
}

void AnnualViewController::showTrendControls(bool show)
{
    for (QWidget* control : std::initializer_list<QWidget*> {
             m_periodsLabel, m_futurePeriodCtl, m_trendLabel2, m_pastPeriodCtl, m_trendLabel3 })
        control->setVisible(show);
}

void AnnualViewController::updateChart()
{
    loadYoYData();
    configureBARGraph();
    configureBARAxes();
    configureBARPlots();
    reloadAndRedraw();
}

void AnnualViewController::loadYoYData()
{
    const auto& model = NWData::shared()->appData();
    const MVX_NWLogList records = model && model->nwLogArray() ? *model->nwLogArray() : MVX_NWLogList();
    m_dataArray = AnnualChartData::yearEndPoints(records);
    if (m_useTrendLine)
        m_dataArray += AnnualChartData::trendPoints(m_dataArray, m_trendLinePeriod, m_trendLinePeriodPre);
    const int slotTotal = slotCount();
    m_dataArrayStartIndex = AnnualChartData::windowStart(m_dataArray.size(), slotTotal);
    m_visibleDataArray = AnnualChartData::visibleWindow(m_dataArray, slotTotal);
}

int AnnualViewController::slotCount() const
{
    return AnnualChartData::slotCount(m_numberOfVisibleBars, m_useTrendLine, m_trendLinePeriod);
}

void AnnualViewController::anualTrendChanged()
{
    m_useTrendLine = m_anualTrendCtl->isChecked();
    showTrendControls(m_useTrendLine);
    if (m_useTrendLine)
        m_trendLinePeriod = m_futurePeriodCtl->currentIndex() + AnnualChartSettings::fewestTrendYears;
    else
        m_trendLinePeriodPre = m_pastPeriodCtl->currentIndex() + AnnualChartSettings::fewestTrendYears;
    AnnualChartSettings::setTrendLine(m_useTrendLine);
    AnnualChartSettings::setTrendPeriod(m_trendLinePeriod);
    AnnualChartSettings::setTrendPeriodPre(m_trendLinePeriodPre);
    updateChart();
}

void AnnualViewController::futurePeriodsChanged(int index)
{
    m_trendLinePeriod = index + AnnualChartSettings::fewestTrendYears;
    AnnualChartSettings::setTrendPeriod(m_trendLinePeriod);
    updateChart();
}

void AnnualViewController::pastPeriodsChanged(int index)
{
    m_trendLinePeriodPre = index + AnnualChartSettings::fewestTrendYears;
    AnnualChartSettings::setTrendPeriodPre(m_trendLinePeriodPre);
    updateChart();
}

void AnnualViewController::printChart()
{
    NWPrintViewController::GenericPrint(
        m_hostView, 40, 200, 10, 10, true, platform::Strings::tr("Annual Chart"));
}

void AnnualViewController::copyChartToClipboard()
{
    NWPrintViewController::GenericChartToClipboard(m_hostView);
}

void AnnualViewController::closeChartInfoView()
{
    if (m_pointAnnotationPopover)
        m_pointAnnotationPopover->close();
}

void AnnualViewController::barWasSelected(chart::BarPlot* plot, int recordIndex)
{
    closeChartInfoView();
    if (recordIndex < 0 || recordIndex >= m_visibleDataArray.size() || !m_hostView->hostedGraph())
        return;
    const NWAnnualLog& point = m_visibleDataArray[recordIndex];
    const double amount = AnnualChartData::value(point);
    const QPointF tip = plot->plotSpace()->graphPointForPlotPoint(recordIndex, amount);
    const QPointF anchorYUp = platform::toYUp(m_hostView->mapTo(this, tip), qreal(height()));
    const ValuePopup::Texts texts { NWCurrencyFormatter::currencyFormattedString(amount, false) + u' ',
        QString(), QString::number(point.year()), point.isTrendPoint() ? kTrendTextColor : kBarTextColor };
    ValuePopup::show(m_pointAnnotationPopover, this, anchorYUp, texts, false);
}
