#include "dashboard/totals/YearEndBarsStackPlot.h"

#include "charts/kit/ChartLimits.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PlotSpace.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <utility>

// Every segment, painted as the bar plots paint a square-cornered bar. Thousands of categories
// make tens of thousands of outlines, so what is drawn is kept in an image of the device's
// pixels and drawn again from it while nothing that shapes it changes; a painter that scales or
// turns, or stands between pixels, gets the segments drawn afresh.
class YearEndBarsStackItem : public chart::PlotItem {
public:
    // Behind the lines of scatter plots, as bar plots are.
    explicit YearEndBarsStackItem(YearEndBarsStackPlot* plot) : PlotItem(plot, -10), m_plot(plot) { }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const QTransform world = painter->worldTransform();
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const QPointF shift(world.dx() * ratio, world.dy() * ratio);
        const bool onPixels = world.type() <= QTransform::TxTranslate
            && std::abs(shift.x() - std::round(shift.x())) < 1e-6
            && std::abs(shift.y() - std::round(shift.y())) < 1e-6;
        const QRectF bounds = m_plot->graph()->bounds();
        const QSize pixels = chart::imagePixelSize(bounds.size(), ratio, chart::maximumImagePixels);
        if (!onPixels || pixels.isEmpty()) {
            drawSegments(*painter);
            return;
        }
        const Key key { pixels, ratio, painter->renderHints(), m_plot->graph()->plotAreaRect(),
            m_plot->plotSpace()->xRange(), m_plot->plotSpace()->yRange(), m_plot->m_generation };
        if (m_cache.isNull() || !(key == m_key)) {
            m_cache = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
            m_cache.setDevicePixelRatio(ratio);
            m_cache.fill(Qt::transparent);
            QPainter cached(&m_cache);
            cached.setRenderHints(key.hints);
            drawSegments(cached);
            m_key = key;
        }
        painter->drawImage(bounds.topLeft(), m_cache);
    }

private:
    struct Key {
        QSize pixels;
        qreal ratio;
        QPainter::RenderHints hints;
        QRectF area;
        chart::PlotRange x;
        chart::PlotRange y;
        quint64 generation;
        bool operator==(const Key&) const = default;
    };

    void drawSegments(QPainter& painter) const
    {
        const QRectF area = m_plot->graph()->plotAreaRect();
        const QRectF visible = area.adjusted(-1, -1, 1, 1);
        painter.save();
        painter.setClipRect(area);
        painter.setPen(m_plot->m_lineStyle.lineWidth > 0 ? m_plot->m_lineStyle.pen() : QPen(Qt::NoPen));
        for (qsizetype i = 0; i < m_plot->m_segments.size(); ++i) {
            const QRectF rect = m_plot->recordRect(i);
            if (!rect.intersects(visible))
                continue;
            painter.setBrush(m_plot->m_colors.value(i / m_plot->m_yearEnds, Qt::gray));
            painter.drawRect(rect);
        }
        painter.restore();
    }

    YearEndBarsStackPlot* m_plot;
    QImage m_cache;
    Key m_key {};
};

YearEndBarsStackPlot::YearEndBarsStackPlot(
    QStringList identifiers, QList<QColor> colors, Source source, QObject* parent)
    : Plot(parent)
    , m_identifiers(std::move(identifiers))
    , m_colors(std::move(colors))
    , m_source(std::move(source))
{
}

void YearEndBarsStackPlot::setBarWidth(double width)
{
    if (!std::isfinite(width))
        return;
    m_barWidth = width;
    ++m_generation;
    if (item())
        item()->update();
}

void YearEndBarsStackPlot::setLineStyle(const chart::LineStyle& style)
{
    m_lineStyle = style;
    ++m_generation;
    if (item())
        item()->update();
}

void YearEndBarsStackPlot::reloadData()
{
    m_segments = m_source ? m_source(m_identifiers) : QList<YearEndBars::Segment>();
    m_yearEnds = m_identifiers.isEmpty() ? 0 : int(m_segments.size() / m_identifiers.size());
    m_segments.resize(m_identifiers.size() * m_yearEnds);
    ++m_generation;
    if (item())
        item()->update();
}

std::optional<YearEndBars::Segment> YearEndBarsStackPlot::segment(int category, int slot) const
{
    if (category < 0 || category >= m_identifiers.size() || slot < 0 || slot >= m_yearEnds)
        return std::nullopt;
    return m_segments[qsizetype(category) * m_yearEnds + slot];
}

QRectF YearEndBarsStackPlot::segmentRect(int category, int slot) const
{
    if (!segment(category, slot))
        return {};
    return recordRect(qsizetype(category) * m_yearEnds + slot);
}

QRectF YearEndBarsStackPlot::recordRect(qsizetype recordIndex) const
{
    const chart::PlotSpace* space = plotSpace();
    if (!space || recordIndex < 0 || recordIndex >= m_segments.size())
        return {};
    const YearEndBars::Segment& segment = m_segments[recordIndex];
    if (!std::isfinite(segment.base) || !std::isfinite(segment.tip))
        return {};
    const double location = double(recordIndex % m_yearEnds);
    const auto x1 = space->mappedGraphX(location - m_barWidth / 2);
    const auto x2 = space->mappedGraphX(location + m_barWidth / 2);
    const auto y1 = space->mappedGraphY(segment.base);
    const auto y2 = space->mappedGraphY(segment.tip);
    if (!x1 || !x2 || !y1 || !y2)
        return {};
    return QRectF(QPointF(*x1, *y1), QPointF(*x2, *y2)).normalized();
}

int YearEndBarsStackPlot::recordIndexAtGraphPoint(const QPointF& graphPoint) const
{
    if (!graph() || !graph()->plotAreaRect().contains(graphPoint))
        return -1;
    // The segment drawn last lies on top.
    for (qsizetype i = m_segments.size() - 1; i >= 0; --i) {
        if (recordRect(i).contains(graphPoint))
            return int(i);
    }
    return -1;
}

void YearEndBarsStackPlot::recordWasSelected(int recordIndex)
{
    if (isRecordIndex(recordIndex))
        emit segmentSelected(recordIndex / m_yearEnds, recordIndex % m_yearEnds);
}

chart::PlotItem* YearEndBarsStackPlot::createItem()
{
    return new YearEndBarsStackItem(this);
}
