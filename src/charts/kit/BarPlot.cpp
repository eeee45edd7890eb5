#include "charts/kit/BarPlot.h"

#include "charts/kit/Graph.h"
#include "charts/kit/GraphItems.h"
#include "charts/kit/PlotSpace.h"
#include "platform/SaneGeometry.h"

#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace chart {

namespace {

// A bar whose corners at the tip are rounded; `tipSide` is the edge the tip lies on.
QPainterPath barPath(const QRectF& rect, qreal radius, Qt::Edge tipSide)
{
    QPainterPath path;
    radius = std::min({ radius, rect.width() / 2, rect.height() / 2 });
    if (!(radius > 0)) {
        path.addRect(rect);
        return path;
    }
    // Round the whole rectangle, then square the base corners off again.
    path.addRoundedRect(rect, radius, radius);
    QRectF base = rect;
    switch (tipSide) {
    case Qt::TopEdge:
        base.setTop(rect.center().y());
        break;
    case Qt::BottomEdge:
        base.setBottom(rect.center().y());
        break;
    case Qt::LeftEdge:
        base.setLeft(rect.center().x());
        break;
    case Qt::RightEdge:
        base.setRight(rect.center().x());
        break;
    }
    QPainterPath square;
    square.addRect(base);
    return path.united(square);
}

} // namespace

// All the bars of one bar plot and their labels, painted by this one item.
class BarPlotItem : public PlotItem {
public:
    // Bars lie behind the series Qt Charts draws.
    explicit BarPlotItem(BarPlot* plot) : PlotItem(plot, -10), m_plot(plot) { }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const QRectF area = m_plot->graph()->plotAreaRect();
        painter->save();
        painter->setClipRect(area);
        const QList<BarPlot::Bar>& bars = m_plot->bars();
        for (int i = 0; i < bars.size(); ++i) {
            const BarPlot::Bar& bar = bars[i];
            const QRectF rect = m_plot->barRect(i);
            if (!bar.valid || !rect.intersects(area.adjusted(-1, -1, 1, 1)))
                continue;
            const bool horizontal = m_plot->barsAreHorizontal();
            const bool positive = bar.tip >= bar.base;
            const Qt::Edge tipSide = horizontal ? (positive ? Qt::RightEdge : Qt::LeftEdge)
                                                : (positive ? Qt::TopEdge : Qt::BottomEdge);
            const QPainterPath path = barPath(rect, m_plot->barCornerRadius(), tipSide);
            if (const std::optional<Fill>& fill = bar.fill ? bar.fill : m_plot->fill())
                fill->paint(*painter, path);
            if (const std::optional<LineStyle>& line = bar.lineStyle ? bar.lineStyle : m_plot->lineStyle();
                line && line->lineWidth > 0)
                painter->strokePath(path, line->pen());
        }
        painter->restore();
        for (int i = 0; i < bars.size(); ++i) {
            const BarPlot::Bar& bar = bars[i];
            if (!bar.valid || !bar.label || bar.label->text.isEmpty())
                continue;
            const QRectF rect = m_plot->barRect(i);
            const QSizeF size = QFontMetricsF(bar.label->style.font()).size(0, bar.label->text);
            const qreal offset = m_plot->labelOffset();
            const bool positive = bar.tip >= bar.base;
            QRectF box(QPointF(), size);
            if (m_plot->barsAreHorizontal()) {
                box.moveCenter(QPointF(0, rect.center().y()));
                box.moveLeft(positive ? rect.right() + offset : rect.left() - offset - size.width());
            } else {
                box.moveCenter(QPointF(rect.center().x(), 0));
                box.moveTop(positive ? rect.top() - offset - size.height() : rect.bottom() + offset);
            }
            drawChartText(*painter, box, bar.label->text, bar.label->style, nullptr);
        }
    }

private:
    BarPlot* m_plot;
};

BarPlot::BarPlot(QObject* parent) : Plot(parent)
{
}

BarPlot* BarPlot::tubularBarPlotWithColor(const QColor& color, bool horizontalBars, QObject* parent)
{
    auto* plot = new BarPlot(parent);
    plot->m_horizontal = horizontalBars;
    // Light through the middle, darker at the sides: a rounded tube.
    Gradient gradient
        = Gradient::withColors(color.darker(160), color.darker(170), horizontalBars ? 90.0 : 0.0)
              .addColorStop(color.lighter(130), 0.4);
    plot->m_fill = Fill(gradient);
    LineStyle line;
    line.lineColor = color.darker(200);
    line.lineWidth = 1.0;
    plot->m_lineStyle = line;
    return plot;
}

#define CHART_BAR_SETTER(Name, member, Type, stored)                                                         \
    void BarPlot::set##Name(Type value)                                                                      \
    {                                                                                                        \
        member = stored;                                                                                     \
        if (item())                                                                                          \
            item()->update();                                                                                \
    }

CHART_BAR_SETTER(BarsAreHorizontal, m_horizontal, bool, value)
CHART_BAR_SETTER(BarCornerRadius, m_cornerRadius, qreal, platform::saneLength(value))
CHART_BAR_SETTER(Fill, m_fill, const std::optional<Fill>&, value)
CHART_BAR_SETTER(LineStyle, m_lineStyle, const std::optional<LineStyle>&, value)
CHART_BAR_SETTER(LabelOffset, m_labelOffset, qreal, platform::saneCoordinate(value))

#undef CHART_BAR_SETTER

void BarPlot::setBarWidth(double width)
{
    if (!std::isfinite(width))
        return;
    m_barWidth = width;
    if (item())
        item()->update();
}

void BarPlot::setBarOffset(double offset)
{
    if (!std::isfinite(offset))
        return;
    m_barOffset = offset;
    if (item())
        item()->update();
}

void BarPlot::setBaseValue(double value)
{
    m_baseValue = value;
    if (graph())
        reloadData();
}

void BarPlot::setBarBasesVary(bool vary)
{
    m_barBasesVary = vary;
    if (graph())
        reloadData();
}

void BarPlot::reloadData()
{
    const int count = recordCountFromDataSource();
    m_bars.resize(count);
    for (int i = 0; i < count; ++i) {
        Bar& bar = m_bars[i];
        const auto location = finiteNumber(static_cast<int>(PlotField::BarLocation), i);
        const auto tip = finiteNumber(static_cast<int>(PlotField::BarTip), i);
        std::optional<double> base
            = std::isfinite(m_baseValue) ? std::optional<double>(m_baseValue) : std::nullopt;
        if (m_barBasesVary)
            base = finiteNumber(static_cast<int>(PlotField::BarBase), i);
        bar.valid = location && tip && base;
        bar.location = location.value_or(0.0);
        bar.tip = tip.value_or(0.0);
        bar.base = base.value_or(0.0);
        bar.fill = bar.valid ? dataSource()->barFillForBarPlot(this, i) : std::nullopt;
        bar.lineStyle = bar.valid ? dataSource()->barLineStyleForBarPlot(this, i) : std::nullopt;
        bar.label = bar.valid ? dataLabelFromDataSource(i) : std::nullopt;
    }
    if (item())
        item()->update();
}

std::optional<PlotRange> BarPlot::plotRangeEnclosingBars() const
{
    std::optional<PlotRange> range;
    const double width = std::isfinite(m_barWidth) ? std::abs(m_barWidth) : 0.0;
    for (const Bar& bar : m_bars) {
        if (!bar.valid)
            continue;
        const PlotRange one { bar.location + m_barOffset - width / 2, width };
        range = range ? range->united(one) : one;
    }
    return range;
}

std::optional<PlotRange> BarPlot::plotRangeForCoordinate(Coordinate coordinate) const
{
    const bool locations = (coordinate == Coordinate::X) != m_horizontal;
    if (locations)
        return plotRangeEnclosingBars();
    std::optional<PlotRange> range;
    for (const Bar& bar : m_bars) {
        if (!bar.valid)
            continue;
        const PlotRange one { std::min(bar.base, bar.tip), std::abs(bar.tip - bar.base) };
        range = range ? range->united(one) : one;
    }
    return range;
}

QRectF BarPlot::barRect(int recordIndex) const
{
    const PlotSpace* space = plotSpace();
    if (!space || recordIndex < 0 || recordIndex >= m_bars.size() || !m_bars[recordIndex].valid)
        return QRectF();
    const Bar& bar = m_bars[recordIndex];
    const double low = bar.location + m_barOffset - m_barWidth / 2;
    const double high = bar.location + m_barOffset + m_barWidth / 2;
    const auto x1 = space->mappedGraphX(m_horizontal ? bar.base : low);
    const auto x2 = space->mappedGraphX(m_horizontal ? bar.tip : high);
    const auto y1 = space->mappedGraphY(m_horizontal ? low : bar.base);
    const auto y2 = space->mappedGraphY(m_horizontal ? high : bar.tip);
    if (!x1 || !x2 || !y1 || !y2)
        return QRectF();
    return QRectF(QPointF(*x1, *y1), QPointF(*x2, *y2)).normalized();
}

int BarPlot::recordIndexAtGraphPoint(const QPointF& graphPoint) const
{
    if (!graph() || !graph()->plotAreaRect().contains(graphPoint))
        return -1;
    // The bar drawn last lies on top.
    for (int i = static_cast<int>(m_bars.size()) - 1; i >= 0; --i) {
        if (barRect(i).contains(graphPoint))
            return i;
    }
    return -1;
}

void BarPlot::recordWasSelected(int recordIndex)
{
    if (delegate() && isRecordIndex(recordIndex))
        delegate()->barWasSelected(this, recordIndex);
}

PlotItem* BarPlot::createItem()
{
    return new BarPlotItem(this);
}

} // namespace chart
