// The dashboard pie: graph, plot, settings, colours, data reload, rotation and slice clicks.
#include "charts/common/ChartNotifications.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/common/ValuePopup.h"
#include "charts/kit/ChartAnimation.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PieChart.h"
#include "dashboard/common/PieDragRotation.h"
#include "dashboard/totals/TotalsViewController.h"
#include "model/store/NWData.h"
#include "platform/Resources.h"
#include "platform/YUpGeometry.h"

#include <QAbstractAnimation>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace Qt::Literals::StringLiterals;

namespace {

// Radii as fractions of the host's height (diameters, halved below).
constexpr double kInitialRadius = 0.75;
constexpr double kSplitRadius = 0.6;
constexpr float kRadiusWithNames = 0.55f;
constexpr float kRadiusWithoutNames = 0.65f;
constexpr double kPieLabelOffset = 5;
// The labels' size when they have room; fitPieAndLabels makes them smaller when not.
constexpr double kPieLabelSize = 10;

// The pie's labels and title (the dash of a record whose total is 0).
QColor pieText()
{
    return platform::namedColor(u"PieText"_s);
}

chart::TextStyle titleStyle()
{
    return chart::TextStyle { pieText(), u"HelveticaNeue-Light"_s, 14.0 };
}

} // namespace

void TotalsViewController::configureGraph()
{
    auto* graph = new chart::Graph(QRectF(m_hostView->rect()));
    graph->setPaddings(QMarginsF(0, 0, 0, 0));
    graph->setAxisSet(nullptr);
    graph->setTitle(QString());
    graph->setTitleTextStyle(titleStyle());
    graph->setTitlePlotAreaFrameAnchor(chart::RectAnchor::Top);
    graph->setTitleDisplacement(QPointF(0, -12));
    m_hostView->setHostedGraph(graph);
}

void TotalsViewController::configureChart()
{
    const double radius = std::min(m_hostView->height() * kInitialRadius * 0.5, PieSlices::maximumRadius);
    m_pieChart = new chart::PieChart;
    m_pieChart->setIdentifier(QString());
    m_pieChart->setPieRadius(radius);
    m_pieChart->setCenterAnchor(QPointF(0.5, 0.5));
    m_pieChart->setStartAngle(std::numbers::pi / 4);
    m_pieChart->setSliceDirection(chart::PieChart::Direction::Clockwise);
    m_pieChart->setLabelRotationRelativeToRadius(true);
    m_pieChart->setLabelOffset(kPieLabelOffset);
    m_pieChart->setLabelsKeptApart(true);
    m_pieChart->setLabelShadow(chart::Shadow { QPointF(1, -1), 0.0, QColor::fromRgbF(1, 1, 1, 0.25f) });
    m_pieChart->setOverlayFill(chart::Fill(chart::Gradient::radial(
        { { 0.97, QColor::fromRgbF(0, 0, 0, 0) }, { 1.0, QColor::fromRgbF(0, 0, 0, 0.3f) } })));
    m_pieChart->setDataSource(this);
    m_pieChart->setDelegate(this);
    m_pieChart->setOpacity(0.0);
    m_hostView->hostedGraph()->addPlot(m_pieChart);
    // The radii are points: they follow the host's size, and the pie comes up once it has one.
    connect(m_hostView, &chart::GraphHostingView::plotAreaFrameChanged, this, [this] { hostResized(); });
}

void TotalsViewController::hostResized()
{
    const double height = m_hostView->height();
    if (!m_pieChart || height <= 0.0)
        return;
    const double oldRadius = m_pieChart->pieRadius();
    const double radius = fitPieAndLabels();
    m_pieChart->setPieRadius(radius);
    if (!m_introStarted) {
        // A fade, a growing hole and a quarter turn.
        m_introStarted = true;
        m_pieChart->fadeIn(0.0, 1.0, 1500);
        m_innerRadiusAnimation = chart::animate(m_pieChart, "pieInnerRadius", radius / 7, radius / 3, 800);
        chart::animate(
            m_pieChart, "startAngle", 0.0, std::numbers::pi / 2, 1200, 250, chart::AnimationCurve::BounceOut);
        return;
    }
    if (oldRadius <= 0.0)
        return;
    // The hole keeps its share of the pie; a growing hole goes on growing to a third of the
    // new size (the first size is often a passing one while the window lays itself out).
    const double inner = m_pieChart->pieInnerRadius() * radius / oldRadius;
    if (m_innerRadiusAnimation) {
        const int left
            = std::max(0, m_innerRadiusAnimation->duration() - m_innerRadiusAnimation->currentTime());
        m_innerRadiusAnimation->stop();
        m_innerRadiusAnimation = chart::animate(m_pieChart, "pieInnerRadius", inner, radius / 3, left);
        return;
    }
    m_pieChart->setPieInnerRadius(inner);
}

void TotalsViewController::loadPieChartSettings()
{
    m_displayCategoryNameInLabel = PieChartSettings::nameInLabel();
    m_pieChartType = PieChartSettings::pieDisplayType();
    m_pieChartLabelStyle = PieChartSettings::pieLabelType();
}

void TotalsViewController::setColorDictionary()
{
    m_colorDictionaries = PieColorSchemes::setColorDictionary(
        NWData::shared()->appData().get(), m_greenOrRedShadeColorScheme);
}

void TotalsViewController::pieChartSettingsChange()
{
    m_colorArray
        = PieColorSchemes::colorListForType(m_pieChartType, m_greenOrRedShadeColorScheme, m_colorArray);
    setColorDictionary();
    loadPieChartSettings();
    nwDataReFetchedHandler();
    setPieRadius(double(m_displayCategoryNameInLabel ? kRadiusWithNames : kRadiusWithoutNames));
    reloadPie();
}

void TotalsViewController::colorSchemaSettingsChange()
{
    m_greenOrRedShadeColorScheme = PieChartSettings::greenOrRedShadeColorScheme();
    pieChartSettingsChange();
}

void TotalsViewController::darkModeChanged()
{
    if (chart::Graph* graph = m_hostView->hostedGraph())
        graph->setTitleTextStyle(titleStyle());
    if (chart::Graph* graph = m_hostViewB->hostedGraph())
        graph->setTitleTextStyle(barTitleStyle());
    pieChartSettingsChange();
    setNWTitleValues(true);
}

void TotalsViewController::nwDataReFetchedHandler()
{
    const auto record = currentLogItem();
    setColorDictionary();
    upateChart(PieSlices::hasNegativeNW(record.get()));
    setNWTitleValues(true);
}

void TotalsViewController::refreshView()
{
    nwDataReFetchedHandler();
}

void TotalsViewController::reloadPie()
{
    const auto record = currentLogItem();
    m_colorArray
        = PieColorSchemes::colorListForType(m_pieChartType, m_greenOrRedShadeColorScheme, m_colorArray);
    PieSlices::DashboardPieOptions options;
    options.type = m_pieChartType;
    options.labelStyle = m_pieChartLabelStyle;
    options.nameInLabel = m_displayCategoryNameInLabel;
    options.colors = m_pieChartType == PieChartSettings::PieDisplayType::LiabilityCategories
        ? m_colorDictionaries.liabilities
        : m_colorDictionaries.assets;
    options.colorList = m_colorArray;
    options.format = PieSlices::storeAmountFormat();
    m_pie = PieSlices::dashboardPie(record.get(), NWData::shared()->appData().get(), options);
    m_widestPieLabels = PieSlices::widestLabels(m_pie, pieLabelStyle(kPieLabelSize));
    // Other labels may want other room.
    hostResized();
    if (chart::Graph* graph = m_hostView->hostedGraph()) {
        // A record whose total is 0 has no shares to show: its empty pie says so.
        graph->setTitle(m_pie.caption.isNull() ? QString() : m_pie.caption);
        graph->reloadData();
    }
}

void TotalsViewController::setPieRadius(double factor)
{
    m_radiusFactor = factor;
    hostResized();
}

double TotalsViewController::fitPieAndLabels()
{
    const QSizeF host = m_hostView->size();
    const PieSlices::LabelFit fit = PieSlices::fitRadiusAndLabels(host, host.height() * m_radiusFactor * 0.5,
        m_widestPieLabels, pieLabelStyle(kPieLabelSize), kPieLabelOffset);
    if (fit.labelSize != m_pieLabelSize) {
        m_pieLabelSize = fit.labelSize;
        if (m_pieChart)
            m_pieChart->reloadData();
    }
    return fit.radius;
}

chart::TextStyle TotalsViewController::pieLabelStyle(double size)
{
    return chart::TextStyle { pieText(), u"Arial Narrow"_s, size };
}

void TotalsViewController::resizedSplit()
{
    if (!m_pieChart)
        return;
    m_radiusFactor = kSplitRadius;
    const double radius = fitPieAndLabels();
    m_pieChart->setPieRadius(radius);
    if (m_innerRadiusAnimation)
        m_innerRadiusAnimation->stop();
    m_pieChart->setPieInnerRadius(radius / 3);
}

void TotalsViewController::pieChartRotated(const platform::Notification& notification)
{
    bool isNumber = false;
    const double degrees = notification.object.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(degrees) || !m_pieChart)
        return;
    m_pieChart->setStartAngle(m_pieChart->startAngle() + PieDragRotation::radiansFromDegrees(degrees));
}

void TotalsViewController::mouseHit(const platform::Notification& notification)
{
    const QString type = notification.userInfo.value(notifications::mouseHitTypeKey).toString();
    const QPointF point(notification.userInfo.value(notifications::mouseHitXKey).toDouble(),
        notification.userInfo.value(notifications::mouseHitYKey).toDouble());
    chart::Graph* graph = m_hostView->hostedGraph();
    if (!graph || !m_pieChart) {
        m_drag.mouseMoved(point);
        return;
    }
    const QPointF centre
        = PieDragRotation::pieCentre(graph->plotAreaRect().size(), m_pieChart->centerAnchor());
    const double turn = m_drag.handle(type, point, centre);
    if (turn != 0.0 && std::isfinite(turn))
        m_pieChart->setStartAngle(m_pieChart->startAngle() + turn);
}

std::optional<chart::DataLabel> TotalsViewController::dataLabelForPlot(chart::Plot* plot, int recordIndex)
{
    if (plot != m_pieChart.data() || recordIndex < 0 || recordIndex >= m_pie.slices.size()
        || m_pie.slices[recordIndex].label.isNull())
        return std::nullopt;
    return chart::DataLabel { m_pie.slices[recordIndex].label, pieLabelStyle(m_pieLabelSize) };
}

std::optional<chart::Fill> TotalsViewController::sliceFillForPieChart(chart::PieChart*, int recordIndex)
{
    if (recordIndex < 0 || recordIndex >= m_pie.slices.size())
        return std::nullopt;
    return m_pie.slices[recordIndex].fill;
}

double TotalsViewController::radialOffsetForPieChart(chart::PieChart*, int)
{
    return 0.0;
}

void TotalsViewController::sliceWasSelected(chart::PieChart*, int recordIndex)
{
    closeChartInfoView();
    const auto record = currentLogItem();
    const auto texts = PieSlices::dashboardSlicePopup(
        m_pie, m_pieChartType, record.get(), recordIndex, PieSlices::storeAmountFormat());
    // At the last mouse point over the pie.
    const QPointF inHost = m_hostView->viewPointFromPlotArea(m_drag.lastMousePosition());
    const QPointF anchorYUp = platform::toYUp(m_hostView->mapTo(this, inHost), qreal(height()));
    ValuePopup::show(m_pointAnnotationPopover, this, anchorYUp,
        ValuePopup::Texts { texts.amount, texts.caption, QString(), texts.color }, false);
}
