#include "charts/kit/ScatterPlot.h"

#include "charts/kit/ChartLimits.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PlotDataSource.h"
#include "charts/kit/PlotSpace.h"
#include "platform/SaneGeometry.h"

#include <QAreaSeries>
#include <QChart>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QPainter>
#include <cmath>
#include <limits>

namespace chart {

// The symbols of one scatter plot, all painted by this one item.
class ScatterSymbolsItem : public PlotItem {
public:
    explicit ScatterSymbolsItem(ScatterPlot* plot) : PlotItem(plot, 10), m_plot(plot) { }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override
    {
        const PlotSpace* space = m_plot->plotSpace();
        const QRectF visible = m_plot->graph()->plotAreaRect().adjusted(-20, -20, 20, 20);
        const QList<QPointF>& records = m_plot->records();
        for (int i = 0; i < records.size(); ++i) {
            const PlotSymbol* symbol = m_plot->symbolForRecord(i);
            if (!symbol || !symbol->isVisible() || std::isnan(records[i].x()))
                continue;
            const auto x = space->mappedGraphX(records[i].x());
            const auto y = space->mappedGraphY(records[i].y());
            if (x && y && visible.contains(QPointF(*x, *y)))
                symbol->paint(*painter, QPointF(*x, *y));
        }
    }

private:
    ScatterPlot* m_plot;
};

ScatterPlot::ScatterPlot(QObject* parent) : Plot(parent)
{
}

ScatterPlot::~ScatterPlot()
{
    leaveGraphWhenDeleted();
}

void ScatterPlot::setDataLineStyle(const std::optional<LineStyle>& style)
{
    m_dataLineStyle = style;
    styleSeries();
}

void ScatterPlot::setPlotSymbol(const std::optional<PlotSymbol>& symbol)
{
    m_plotSymbol = symbol;
    if (item())
        item()->update();
}

void ScatterPlot::setPlotSymbolMarginForHitDetection(qreal margin)
{
    m_hitMargin = platform::saneLength(margin);
}

void ScatterPlot::setAreaFill(const std::optional<Fill>& fill)
{
    m_areaFill = fill;
    styleSeries();
}

void ScatterPlot::setAreaBaseValue(double value)
{
    m_areaBaseValue = value;
    pushSegmentsToSeries();
}

const PlotSymbol* ScatterPlot::symbolForRecord(int recordIndex) const
{
    const auto it = std::lower_bound(m_recordSymbols.cbegin(), m_recordSymbols.cend(), recordIndex,
        [](const std::pair<int, PlotSymbol>& entry, int index) { return entry.first < index; });
    if (it != m_recordSymbols.cend() && it->first == recordIndex)
        return &it->second;
    return m_plotSymbol ? &*m_plotSymbol : nullptr;
}

void ScatterPlot::reloadData()
{
    const int count = recordCountFromDataSource();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    m_records.resize(count);
    m_recordSymbols.clear();
    for (auto& run : m_runs)
        run.clear();
    m_runCount = 0;
    bool inRun = false;
    for (int i = 0; i < count; ++i) {
        const auto x = finiteNumber(static_cast<int>(PlotField::X), i);
        const auto y = finiteNumber(static_cast<int>(PlotField::Y), i);
        if (!x || !y) {
            m_records[i] = QPointF(nan, nan);
            inRun = false;
            continue;
        }
        m_records[i] = QPointF(*x, *y);
        // Each run is a pair of Qt Charts series, whose cost grows with the square of their
        // number: past the limit the line joins the runs across their gaps.
        if (!inRun && m_runCount < maximumLineSegments) {
            if (m_runCount == m_runs.size())
                m_runs.append(QList<QPointF>());
            ++m_runCount;
        }
        m_runs[m_runCount - 1].append(m_records[i]);
        inRun = true;
        if (auto symbol = dataSource()->symbolForScatterPlot(this, i))
            m_recordSymbols.append({ i, *symbol });
    }
    pushSegmentsToSeries();
    if (item())
        item()->update();
}

std::optional<PlotRange> ScatterPlot::plotRangeForCoordinate(Coordinate coordinate) const
{
    std::optional<PlotRange> range;
    for (const QPointF& point : m_records) {
        const double value = coordinate == Coordinate::X ? point.x() : point.y();
        if (std::isnan(value))
            continue;
        range = range ? range->united(PlotRange { value, 0.0 }) : PlotRange { value, 0.0 };
    }
    return range;
}

int ScatterPlot::recordIndexAtGraphPoint(const QPointF& graphPoint) const
{
    const PlotSpace* space = plotSpace();
    if (!space)
        return -1;
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    const qsizetype count = m_records.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QPointF& record = m_records[i];
        if (std::isnan(record.x()))
            continue;
        const PlotSymbol* symbol = symbolForRecord(static_cast<int>(i));
        const QSizeF size = symbol ? platform::saneSize(symbol->size) : QSizeF();
        const qreal half = symbol && symbol->type != PlotSymbol::Type::None
            ? std::max(size.width(), size.height()) / 2
            : 0.0;
        const qreal reach = half + m_hitMargin;
        const auto x = space->mappedGraphX(record.x());
        const auto y = space->mappedGraphY(record.y());
        if (!x || !y)
            continue;
        const double dx = *x - graphPoint.x();
        const double dy = *y - graphPoint.y();
        const double distance = dx * dx + dy * dy;
        if (distance <= reach * reach && distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void ScatterPlot::recordWasSelected(int recordIndex)
{
    if (delegate() && isRecordIndex(recordIndex))
        delegate()->plotSymbolWasSelected(this, recordIndex);
}

PlotItem* ScatterPlot::createItem()
{
    return new ScatterSymbolsItem(this);
}

void ScatterPlot::detachFromGraph()
{
    if (Graph* g = graph()) {
        for (const Segment& segment : std::as_const(m_segments)) {
            g->qtChart()->removeSeries(segment.area);
            g->qtChart()->removeSeries(segment.line);
            delete segment.area;
            delete segment.line;
            delete segment.areaUpper;
            delete segment.areaLower;
        }
        m_segments.clear();
    }
    Plot::detachFromGraph();
}

void ScatterPlot::ensureSegments(qsizetype count)
{
    QChart* chart = graph()->qtChart();
    const QList<QAbstractAxis*> axes = chart->axes();
    while (m_segments.size() < count) {
        Segment segment;
        segment.areaUpper = new QLineSeries;
        segment.areaLower = new QLineSeries;
        segment.area = new QAreaSeries(segment.areaUpper, segment.areaLower);
        segment.line = new QLineSeries;
        for (QAbstractSeries* series :
            std::initializer_list<QAbstractSeries*> { segment.area, segment.line }) {
            chart->addSeries(series);
            for (QAbstractAxis* axis : axes)
                series->attachAxis(axis);
        }
        m_segments.append(segment);
    }
    styleSeries();
}

void ScatterPlot::pushSegmentsToSeries()
{
    if (!graph())
        return;
    ensureSegments(m_runCount);
    QList<QPointF> points;
    QList<QPointF> base;
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        const Segment& segment = m_segments[i];
        const bool used = i < m_runCount;
        points.clear();
        if (used) {
            points.reserve(m_runs[i].size());
            for (const QPointF& point : std::as_const(m_runs[i]))
                points.append(point * qtChartsScale);
        }
        segment.line->replace(points);
        segment.areaUpper->replace(points);
        base.clear();
        if (used && !points.isEmpty() && std::isfinite(m_areaBaseValue))
            base = { QPointF(points.first().x(), m_areaBaseValue * qtChartsScale),
                QPointF(points.last().x(), m_areaBaseValue * qtChartsScale) };
        segment.areaLower->replace(base);
    }
    applyAppearance();
}

void ScatterPlot::styleSeries()
{
    for (const Segment& segment : std::as_const(m_segments)) {
        if (m_dataLineStyle)
            segment.line->setPen(m_dataLineStyle->pen());
        segment.area->setPen(Qt::NoPen);
        if (m_areaFill)
            segment.area->setBrush(m_areaFill->brush());
    }
    applyAppearance();
}

void ScatterPlot::applyAppearance()
{
    if (!graph())
        return;
    for (qsizetype i = 0; i < m_segments.size(); ++i) {
        const Segment& segment = m_segments[i];
        const bool used = i < m_runCount && !isHidden();
        segment.line->setVisible(used && m_dataLineStyle && m_dataLineStyle->lineWidth > 0);
        segment.area->setVisible(
            used && m_areaFill && !m_areaFill->isClear() && std::isfinite(m_areaBaseValue));
        segment.line->setOpacity(opacity());
        segment.area->setOpacity(opacity());
    }
    Plot::applyAppearance();
}

} // namespace chart
