#include "charts/kit/PieChart.h"

#include "charts/kit/Graph.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace chart {

namespace {

constexpr double kTurn = 2.0 * M_PI;

double degrees(double radians)
{
    return radians * 180.0 / M_PI;
}

// A unit vector in graph coordinates (y down) for a design angle (y up).
QPointF direction(double angle)
{
    return QPointF(std::cos(angle), -std::sin(angle));
}

} // namespace

// The whole pie: slices, overlay and labels, painted by this one item.
class PieChartItem : public QGraphicsItem {
public:
    explicit PieChartItem(PieChart* plot) : m_plot(plot) { setZValue(10); }
    QRectF boundingRect() const override { return m_plot->graph() ? m_plot->graph()->bounds() : QRectF(); }
    void boundsChanged() { prepareGeometryChange(); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override;

private:
    double sliceAngle(double fraction) const
    {
        const double sign = m_plot->sliceDirection() == PieChart::Direction::Clockwise ? -1.0 : 1.0;
        return m_plot->startAngle() + sign * fraction * kTurn;
    }
    PieChart* m_plot;
};

void PieChartItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const qreal radius = m_plot->pieRadius();
    const qreal inner = std::clamp(m_plot->pieInnerRadius(), 0.0, std::max(radius, 0.0));
    if (!(radius > 0) || !std::isfinite(radius) || !std::isfinite(m_plot->startAngle()))
        return;
    const QPointF center = m_plot->centerInGraph();
    const QList<PieChart::Slice>& slices = m_plot->slices();
    const QRectF outerRect(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    const QRectF innerRect(center.x() - inner, center.y() - inner, 2 * inner, 2 * inner);
    const std::optional<LineStyle> border = m_plot->borderLineStyle();
    for (int i = 0; i < slices.size(); ++i) {
        const PieChart::Slice& slice = slices[i];
        if (!(slice.fraction > 0))
            continue;
        const double from = sliceAngle(slice.startFraction);
        const double to = sliceAngle(slice.startFraction + slice.fraction);
        QPainterPath path;
        if (slice.fraction >= 1.0) {
            path.addEllipse(outerRect);
            if (inner > 0)
                path.addEllipse(innerRect);
        } else {
            path.arcMoveTo(outerRect, degrees(from));
            path.arcTo(outerRect, degrees(from), degrees(to - from));
            if (inner > 0)
                path.arcTo(innerRect, degrees(to), degrees(from - to));
            else
                path.lineTo(center);
            path.closeSubpath();
        }
        if (slice.radialOffset != 0.0 && std::isfinite(slice.radialOffset))
            path.translate(direction((from + to) / 2) * slice.radialOffset);
        const Fill fill = slice.fill ? *slice.fill : PieChart::defaultSliceFill(i);
        fill.paint(*painter, path);
        if (border && border->lineWidth > 0)
            painter->strokePath(path, border->pen());
    }
    if (const auto overlay = m_plot->overlayFill()) {
        QPainterPath ring;
        ring.addEllipse(outerRect);
        if (inner > 0)
            ring.addEllipse(innerRect);
        overlay->paint(*painter, ring);
    }
    const std::optional<Shadow> shadow = m_plot->labelShadow();
    for (const PieChart::Slice& slice : slices) {
        if (!slice.label || slice.label->text.isEmpty() || !(slice.fraction > 0))
            continue;
        const double middle = sliceAngle(slice.startFraction + slice.fraction / 2);
        const QPointF towards = direction(middle);
        const QSizeF size = slice.labelText.size();
        const qreal distance = radius + slice.radialOffset + m_plot->labelOffset();
        painter->save();
        if (m_plot->labelRotationRelativeToRadius()) {
            // Along the radius, turned so that the text never reads upside down.
            double rotation = middle;
            if (std::cos(middle) < 0)
                rotation += M_PI;
            painter->translate(center + towards * (distance + size.width() / 2));
            painter->rotate(-degrees(rotation));
        } else {
            const qreal reach
                = std::abs(towards.x()) * size.width() / 2 + std::abs(towards.y()) * size.height() / 2;
            painter->translate(center + towards * (distance + reach));
        }
        const QPointF topLeft(-size.width() / 2, -size.height() / 2);
        painter->setFont(slice.label->style.font());
        if (shadow) {
            painter->setPen(shadow->color);
            painter->drawStaticText(
                topLeft + QPointF(shadow->offset.x(), -shadow->offset.y()), slice.labelText);
        }
        painter->setPen(slice.label->style.color);
        painter->drawStaticText(topLeft, slice.labelText);
        painter->restore();
    }
}

PieChart::PieChart(QObject* parent) : Plot(parent)
{
}

PieChart::~PieChart()
{
    if (graph())
        detachFromGraph();
}

#define CHART_PIE_SETTER(Name, member, Type)                                                                 \
    void PieChart::set##Name(Type value)                                                                     \
    {                                                                                                        \
        member = value;                                                                                      \
        if (m_item)                                                                                          \
            m_item->update();                                                                                \
    }

CHART_PIE_SETTER(PieRadius, m_radius, qreal)
CHART_PIE_SETTER(PieInnerRadius, m_innerRadius, qreal)
CHART_PIE_SETTER(CenterAnchor, m_centerAnchor, const QPointF&)
CHART_PIE_SETTER(StartAngle, m_startAngle, qreal)
CHART_PIE_SETTER(SliceDirection, m_direction, Direction)
CHART_PIE_SETTER(LabelOffset, m_labelOffset, qreal)
CHART_PIE_SETTER(LabelRotationRelativeToRadius, m_labelsAlongRadius, bool)
CHART_PIE_SETTER(LabelShadow, m_labelShadow, const std::optional<Shadow>&)
CHART_PIE_SETTER(OverlayFill, m_overlayFill, const std::optional<Fill>&)
CHART_PIE_SETTER(BorderLineStyle, m_borderLineStyle, const std::optional<LineStyle>&)

#undef CHART_PIE_SETTER

Fill PieChart::defaultSliceFill(int recordIndex)
{
    return Fill(QColor::fromHsvF(std::fmod(recordIndex * 0.13, 1.0), 0.55, 0.9));
}

void PieChart::reloadData()
{
    const int count = recordCountFromDataSource();
    m_slices.resize(count);
    double total = 0.0;
    for (int i = 0; i < count; ++i) {
        Slice& slice = m_slices[i];
        const auto value = finiteNumber(static_cast<int>(PlotField::PieSliceValue), i);
        slice.value = value && *value > 0 ? *value : 0.0;
        total += slice.value;
        slice.fill = dataSource()->sliceFillForPieChart(this, i);
        slice.label = dataSource()->dataLabelForPlot(this, i);
        if (slice.label) {
            slice.labelText.setText(slice.label->text);
            slice.labelText.setTextFormat(Qt::PlainText);
            slice.labelText.prepare(QTransform(), slice.label->style.font());
        }
        const double offset = dataSource()->radialOffsetForPieChart(this, i);
        slice.radialOffset = std::isfinite(offset) ? offset : 0.0;
    }
    double start = 0.0;
    for (Slice& slice : m_slices) {
        slice.startFraction = start;
        slice.fraction = total > 0 && std::isfinite(total) ? slice.value / total : 0.0;
        start += slice.fraction;
    }
    if (m_item)
        m_item->update();
}

QPointF PieChart::centerInGraph() const
{
    if (!graph())
        return QPointF();
    const QRectF area = graph()->plotAreaRect();
    return QPointF(
        area.left() + m_centerAnchor.x() * area.width(), area.bottom() - m_centerAnchor.y() * area.height());
}

int PieChart::recordIndexAtGraphPoint(const QPointF& graphPoint) const
{
    if (!graph() || !(m_radius > 0))
        return -1;
    const QPointF center = centerInGraph();
    const double dx = graphPoint.x() - center.x();
    const double dy = center.y() - graphPoint.y(); // y up
    const double distance = std::hypot(dx, dy);
    const double sign = m_direction == Direction::Clockwise ? -1.0 : 1.0;
    double turned = sign * (std::atan2(dy, dx) - m_startAngle);
    turned = std::fmod(turned, kTurn);
    if (turned < 0)
        turned += kTurn;
    if (!std::isfinite(turned))
        return -1;
    const double fraction = turned / kTurn;
    for (int i = 0; i < m_slices.size(); ++i) {
        const Slice& slice = m_slices[i];
        if (!(slice.fraction > 0) || fraction < slice.startFraction
            || fraction >= slice.startFraction + slice.fraction)
            continue;
        const double fromCenter = distance - slice.radialOffset;
        return fromCenter >= std::max(m_innerRadius, 0.0) && fromCenter <= m_radius ? i : -1;
    }
    return -1;
}

void PieChart::recordWasSelected(int recordIndex)
{
    if (delegate())
        delegate()->sliceWasSelected(this, recordIndex);
}

void PieChart::recordTouchDown(int recordIndex)
{
    if (delegate())
        delegate()->sliceTouchDown(this, recordIndex);
}

void PieChart::attachToGraph(Graph* graph, PlotSpace* space)
{
    Plot::attachToGraph(graph, space);
    m_item = new PieChartItem(this);
    graph->scene()->addItem(m_item);
}

void PieChart::detachFromGraph()
{
    delete m_item;
    m_item = nullptr;
    Plot::detachFromGraph();
}

void PieChart::layoutChanged()
{
    if (m_item) {
        m_item->boundsChanged();
        m_item->update();
    }
}

void PieChart::applyAppearance()
{
    if (m_item) {
        m_item->setVisible(!isHidden());
        m_item->setOpacity(opacity());
    }
}

} // namespace chart
