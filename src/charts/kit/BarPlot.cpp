#include "charts/kit/BarPlot.h"

#include "charts/kit/Graph.h"
#include "charts/kit/GraphItems.h"
#include "charts/kit/PlotSpace.h"

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

#define CHART_BAR_SETTER(Name, member, Type)                                                                 \
    void BarPlot::set##Name(Type value)                                                                      \
    {                                                                                                        \
        member = value;                                                                                      \
        if (item())                                                                                          \
            item()->update();                                                                                \
    }

CHART_BAR_SETTER(BarsAreHorizontal, m_horizontal, bool)
CHART_BAR_SETTER(BarWidth, m_barWidth, double)
CHART_BAR_SETTER(BarOffset, m_barOffset, double)
CHART_BAR_SETTER(BarCornerRadius, m_cornerRadius, qreal)
CHART_BAR_SETTER(Fill, m_fill, const std::optional<Fill>&)
CHART_BAR_SETTER(LineStyle, m_lineStyle, const std::optional<LineStyle>&)
CHART_BAR_SETTER(LabelOffset, m_labelOffset, qreal)

#undef CHART_BAR_SETTER

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
        bar.label = bar.valid ? dataSource()->dataLabelForPlot(this, i) : std::nullopt;
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
    QRectF rect;
    if (m_horizontal)
        rect = QRectF(QPointF(space->graphXForPlotX(bar.base), space->graphYForPlotY(low)),
            QPointF(space->graphXForPlotX(bar.tip), space->graphYForPlotY(high)));
    else
        rect = QRectF(QPointF(space->graphXForPlotX(low), space->graphYForPlotY(bar.base)),
            QPointF(space->graphXForPlotX(high), space->graphYForPlotY(bar.tip)));
    rect = rect.normalized();
    if (!std::isfinite(rect.left()) || !std::isfinite(rect.right()) || !std::isfinite(rect.top())
        || !std::isfinite(rect.bottom()))
        return QRectF();
    return rect;
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
    if (delegate())
        delegate()->barWasSelected(this, recordIndex);
}

PlotItem* BarPlot::createItem()
{
    return new BarPlotItem(this);
}

} // namespace chart
