#include "charts/common/ChartNotifications.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/common/ValuePopup.h"
#include "charts/kit/ChartAnimation.h"
#include "charts/kit/Graph.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "platform/YUpGeometry.h"

#include <QAbstractAnimation>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace Qt::Literals::StringLiterals;

using PieKind = BigPieChartViewController::PieKind;

QString BigPieChartViewController::title(PieKind kind)
{
    using Shown = PieChartSettings::PieDisplayType;
    switch (kind) {
    case PieKind::NetWorth:
        return PieSlices::title(Shown::NetWorth);
    case PieKind::Assets:
        return PieSlices::title(Shown::AssetCategories);
    case PieKind::Liabilities:
        break;
    }
    return PieSlices::title(Shown::LiabilityCategories);
}

namespace {

// Room above the plot area for the pie's title.
constexpr qreal titleRoom = 28.0;

constexpr qreal labelOffset = 5.0;

constexpr qreal labelSize = 12.0;

// The design's rule (0.75 of the host's height, halved) measured on the shorter side of the plot
// area: the three hosts stand side by side and are taller than wide in most windows. The pie and
// its labels shrink further when the labels would leave the host.
PieSlices::LabelFit fitPie(
    const RedavidGraphHost* host, const QStringList& widestLabels, const chart::TextStyle& style)
{
    const QSizeF area
        = host->hostedGraph() ? host->hostedGraph()->plotAreaRect().size() : QSizeF(host->size());
    chart::TextStyle full = style;
    full.fontSize = labelSize;
    return PieSlices::fitRadiusAndLabels(
        area, std::min(area.width(), area.height()) * 0.75 * 0.5, widestLabels, full, labelOffset);
}

chart::TextStyle titleStyle()
{
    return chart::TextStyle { platform::namedColor(u"PieText"_s), u"HelveticaNeue-Light"_s, 14.0 };
}

} // namespace

BigPieChartViewController::PieKind BigPieChartViewController::kindOf(const chart::Plot* plot) const
{
    for (PieKind kind : { PieKind::Assets, PieKind::Liabilities })
        if (plot && plot == m_pies[index(kind)])
            return kind;
    return PieKind::NetWorth;
}

void BigPieChartViewController::configureGraph(PieKind kind)
{
    RedavidGraphHost* host = m_hosts[index(kind)];
    auto* graph = new chart::Graph(QRectF(QPointF(), QSizeF(host->size())));
    graph->setPaddings(QMarginsF(0, titleRoom, 0, 0));
    graph->setAxisSet(nullptr);
    graph->setTitle(title(kind));
    graph->setTitleTextStyle(titleStyle());
    graph->setTitlePlotAreaFrameAnchor(kind == PieKind::NetWorth ? chart::RectAnchor::Top
            : kind == PieKind::Assets                            ? chart::RectAnchor::TopLeft
                                                                 : chart::RectAnchor::TopRight);
    graph->setTitleDisplacement(QPointF(0, 10));
    host->setHostedGraph(graph);
}

void BigPieChartViewController::configureChart(PieKind kind)
{
    RedavidGraphHost* host = m_hosts[index(kind)];
    auto* pie = new chart::PieChart;
    pie->setIdentifier(title(kind));
    pie->setDataSource(this);
    pie->setDelegate(this);
    const PieSlices::LabelFit fit = fitPie(host, m_widestLabels[index(kind)], m_labelStyle);
    m_labelSizes[index(kind)] = fit.labelSize;
    pie->setPieRadius(fit.radius);
    pie->setCenterAnchor(QPointF(0.5, 0.5));
    pie->setStartAngle(std::numbers::pi / 4);
    pie->setSliceDirection(chart::PieChart::Direction::Clockwise);
    pie->setLabelRotationRelativeToRadius(true);
    pie->setLabelOffset(labelOffset);
    pie->setLabelsKeptApart(true);
    pie->setLabelShadow(chart::Shadow { QPointF(1, -1), 0.0, QColor::fromRgbF(1, 1, 1, 0.25f) });
    pie->setOverlayFill(chart::Fill(chart::Gradient::radial(
        { { 0.97, QColor::fromRgbF(0, 0, 0, 0) }, { 1.0, QColor::fromRgbF(0, 0, 0, 0.3f) } })));
    m_pies[index(kind)] = pie;
    host->hostedGraph()->addPlot(pie);
    if (kind == PieKind::NetWorth) {
        pie->setOpacity(0.0);
        pie->fadeIn(0.0, 1.0, 1500);
        m_introTurn = chart::animate(
            pie, "startAngle", 0.0, std::numbers::pi / 2, 1200, 250, chart::AnimationCurve::BounceOut);
    }
}

void BigPieChartViewController::applyAppearance()
{
    m_labelStyle = chart::TextStyle { platform::namedColor(u"PieText"_s), u"Arial Narrow"_s, labelSize };
    for (RedavidGraphHost* host : m_hosts)
        if (host && host->hostedGraph())
            host->hostedGraph()->setTitleTextStyle(titleStyle());
}

void BigPieChartViewController::refreshSlices()
{
    const auto& model = NWData::shared()->appData();
    const PieSlices::AmountFormat format = PieSlices::storeAmountFormat();
    const MVX_NWLog* record = m_currentLogItem.get();
    // Pale slices faded into a dark window would vanish: there they are as pale as on a light one.
    const std::optional<QColor> paleTowards = platform::isDarkAppearance()
        ? std::optional<QColor>(platform::namedColor(u"WindowBackground"_s, false))
        : std::nullopt;
    m_slices[index(PieKind::NetWorth)] = PieSlices::netWorthPie(record, format);
    m_slices[index(PieKind::Assets)] = PieSlices::categoryPie(record, model.get(), PieSlices::Side::Assets,
        m_pieChartLabelStyle, m_displayCategoryNameInLabel, format, paleTowards);
    m_slices[index(PieKind::Liabilities)]
        = PieSlices::categoryPie(record, model.get(), PieSlices::Side::Liabilities, m_pieChartLabelStyle,
            m_displayCategoryNameInLabel, format, paleTowards);
    chart::TextStyle full = m_labelStyle;
    full.fontSize = labelSize;
    for (PieKind kind : { PieKind::NetWorth, PieKind::Assets, PieKind::Liabilities }) {
        m_widestLabels[index(kind)] = PieSlices::widestLabels(m_slices[index(kind)], full);
        const QString caption = m_slices[index(kind)].caption;
        if (chart::Graph* graph = m_hosts[index(kind)]->hostedGraph())
            graph->setTitle(caption.isEmpty() ? title(kind) : u"%1  %2"_s.arg(title(kind), caption));
    }
    // New labels can be wider or narrower than the old ones.
    viewHasResized();
}

void BigPieChartViewController::reloadAndRedraw()
{
    refreshSlices();
    for (PieKind kind : { PieKind::NetWorth, PieKind::Assets, PieKind::Liabilities })
        reload(kind);
}

void BigPieChartViewController::reload(PieKind kind)
{
    if (chart::Graph* graph = m_hosts[index(kind)]->hostedGraph())
        graph->reloadData();
}

void BigPieChartViewController::viewHasResized()
{
    for (PieKind kind : { PieKind::NetWorth, PieKind::Assets, PieKind::Liabilities }) {
        if (chart::PieChart* pie = m_pies[index(kind)]) {
            const PieSlices::LabelFit fit
                = fitPie(m_hosts[index(kind)], m_widestLabels[index(kind)], m_labelStyle);
            pie->setPieRadius(fit.radius);
            pie->setPieInnerRadius(fit.radius / 2.5);
            if (fit.labelSize != m_labelSizes[index(kind)]) {
                m_labelSizes[index(kind)] = fit.labelSize;
                pie->reloadData();
            }
        }
    }
}

void BigPieChartViewController::turn(PieKind kind, double radians)
{
    chart::PieChart* pie = m_pies[index(kind)];
    if (!pie)
        return;
    // The user's turn wins over the opening quarter turn.
    if (kind == PieKind::NetWorth && m_introTurn)
        m_introTurn->stop();
    pie->setStartAngle(pie->startAngle() + radians);
}

void BigPieChartViewController::pieChartRotated(PieKind kind, const platform::Notification& note)
{
    bool isNumber = false;
    const double degrees = note.object.toDouble(&isNumber);
    if (note.object.isValid() && isNumber && std::isfinite(degrees))
        turn(kind, PieDragRotation::radiansFromDegrees(degrees));
}

void BigPieChartViewController::mouseHit(PieKind kind, const platform::Notification& note)
{
    chart::PieChart* pie = m_pies[index(kind)];
    chart::Graph* graph = m_hosts[index(kind)]->hostedGraph();
    if (!pie || !graph)
        return;
    const QString type = note.userInfo.value(notifications::mouseHitTypeKey).toString();
    const QPointF point(note.userInfo.value(notifications::mouseHitXKey).toDouble(),
        note.userInfo.value(notifications::mouseHitYKey).toDouble());
    if (type == u"mouseUp") {
        m_currentPlot = nullptr;
        return;
    }
    const QPointF centre = PieDragRotation::pieCentre(graph->plotAreaRect().size(), pie->centerAnchor());
    const double swept = m_drag.handle(type, point, centre);
    // A drag turns the pie that was pressed on a slice, and only from its own host.
    if (type == u"mouseDragged" && m_currentPlot == pie)
        turn(kind, swept);
}

int BigPieChartViewController::numberOfRecordsForPlot(chart::Plot* plot)
{
    return int(m_slices[index(kindOf(plot))].slices.size());
}

std::optional<double> BigPieChartViewController::numberForPlot(
    chart::Plot* plot, chart::PlotField, int recordIndex)
{
    const auto& slices = m_slices[index(kindOf(plot))].slices;
    if (recordIndex < 0 || recordIndex >= slices.size())
        return std::nullopt;
    return slices.at(recordIndex).value;
}

std::optional<chart::DataLabel> BigPieChartViewController::dataLabelForPlot(
    chart::Plot* plot, int recordIndex)
{
    const auto& slices = m_slices[index(kindOf(plot))].slices;
    if (recordIndex < 0 || recordIndex >= slices.size() || slices.at(recordIndex).label.isNull())
        return std::nullopt;
    chart::TextStyle style = m_labelStyle;
    style.fontSize = m_labelSizes[index(kindOf(plot))];
    return chart::DataLabel { slices.at(recordIndex).label, style };
}

std::optional<chart::Fill> BigPieChartViewController::sliceFillForPieChart(
    chart::PieChart* plot, int recordIndex)
{
    const auto& slices = m_slices[index(kindOf(plot))].slices;
    if (recordIndex < 0 || recordIndex >= slices.size())
        return std::nullopt;
    return slices.at(recordIndex).fill;
}

double BigPieChartViewController::radialOffsetForPieChart(chart::PieChart*, int)
{
    return 0.0;
}

void BigPieChartViewController::sliceTouchDown(chart::PieChart* plot, int)
{
    m_currentPlot = plot;
}

void BigPieChartViewController::sliceWasSelected(chart::PieChart* plot, int recordIndex)
{
    m_currentPlot = plot;
    const PieKind kind = kindOf(plot);
    const PieSlices::AmountFormat format = PieSlices::storeAmountFormat();
    const PieSlices::PopupTexts texts = kind == PieKind::NetWorth
        ? PieSlices::netWorthSlicePopup(m_currentLogItem.get(), recordIndex, format)
        : PieSlices::categorySlicePopup(m_slices[index(kind)],
            kind == PieKind::Assets ? PieSlices::Side::Assets : PieSlices::Side::Liabilities, recordIndex,
            format);
    RedavidGraphHost* host = m_hosts[index(kind)];
    const QPointF inHost = host->viewPointFromPlotArea(m_drag.lastMousePosition());
    const QPointF anchor = platform::toYUp(QPointF(host->mapTo(this, inHost.toPoint())), qreal(height()));
    ValuePopup::show(
        m_pointAnnotationPopover, this, anchor, { texts.amount, texts.caption, u""_s, texts.color }, false);
}
