#include "records/history/CategoryChartValues.h"

#include "model/queries/CategoryChartEntries.h"
#include "platform/Clock.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QLinearGradient>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Spread the value range by a tenth on both sides, so the line never touches the edges.
std::pair<qreal, qreal> valueRange(const QList<CategoryChartEntry>& entries)
{
    if (entries.isEmpty())
        return { 0, 1 };
    const auto [low, high] = std::minmax_element(entries.cbegin(), entries.cend(),
        [](const CategoryChartEntry& a, const CategoryChartEntry& b) { return a.y < b.y; });
    qreal span = high->y - low->y;
    if (span == 0)
        span = std::max<qreal>(std::fabs(high->y), 1);
    return { low->y - span / 10, high->y + span / 10 };
}

// The chart deletes the drawing item of a removed series only on a later turn of the event
// loop, and until then that item's value animation may still run and read its series and axes.
// So they are not deleted here but after it, on that same later turn (deferred deletes run in
// the order they were asked for); the view holds them meanwhile, so they die with it at the
// latest.
void retireSeriesAndAxes(QChartView& chartView)
{
    QChart* chart = chartView.chart();
    for (QAbstractSeries* series : chart->series()) {
        chart->removeSeries(series);
        series->setParent(&chartView);
        series->deleteLater();
    }
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        axis->setParent(&chartView);
        axis->deleteLater();
    }
}

// The chart has no visible value axis, so values near the largest double are drawn halved as
// often as it takes for the range and its margins to stay finite; the line keeps its shape.
void scaleHugeValues(QList<CategoryChartEntry>& entries)
{
    constexpr qreal largestDrawn = std::numeric_limits<qreal>::max() / 8;
    qreal largest = 0;
    for (const CategoryChartEntry& entry : entries)
        largest = std::max(largest, std::fabs(entry.y));
    if (!(largest > largestDrawn))
        return;
    const int halvings = std::ilogb(largest) - std::ilogb(largestDrawn) + 1;
    for (CategoryChartEntry& entry : entries)
        entry.y = std::ldexp(entry.y, -halvings);
}

} // namespace

void CategoryChartValues::setupChart(
    const MVX_CategoryLogList& logs, QChartView* chartView, const QColor& color, const QDateTime& now)
{
    if (!chartView)
        return;
    QChart* chart = chartView->chart();
    retireSeriesAndAxes(*chartView);

    QList<CategoryChartEntry> entries
        = CategoryChartEntries::entriesForLogs(logs, now.isValid() ? now : platform::Clock::now());
    scaleHugeValues(entries);
    const auto [minY, maxY] = valueRange(entries);
    // Filled towards zero when the values cross it, else towards the far edge.
    bool hasPositive = false;
    bool hasNegative = false;
    for (const CategoryChartEntry& entry : entries) {
        hasPositive |= entry.y > 0;
        hasNegative |= entry.y < 0;
    }
    const qreal baseline = (hasPositive && hasNegative) ? 0 : (hasNegative ? maxY : minY);

    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    auto* line = new QLineSeries;
    for (const CategoryChartEntry& entry : entries) {
        upper->append(entry.x, entry.y);
        lower->append(entry.x, baseline);
        line->append(entry.x, entry.y);
    }
    // The area only fills; its outline would also trace the baseline, so the line is a
    // series of its own drawn over it.
    auto* area = new QAreaSeries(upper, lower);
    upper->setParent(area);
    lower->setParent(area);
    area->setPen(Qt::NoPen);
    area->setPointsVisible(false);
    area->setPointLabelsVisible(false);
    QPen pen(QColor(color.red(), color.green(), color.blue()));
    pen.setWidthF(2);
    line->setPen(pen);
    line->setPointsVisible(false);
    line->setPointLabelsVisible(false);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    QColor top = color;
    top.setAlphaF(0.3f);
    QColor bottom(Qt::white);
    bottom.setAlphaF(0.6f);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    area->setBrush(gradient);
    chart->addSeries(area);
    chart->addSeries(line);

    auto* xAxis = new QDateTimeAxis;
    auto* yAxis = new QValueAxis;
    if (!entries.isEmpty())
        xAxis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(entries.first().x)),
            QDateTime::fromMSecsSinceEpoch(qint64(entries.last().x)));
    yAxis->setRange(minY, maxY);
    for (QAbstractAxis* axis : { static_cast<QAbstractAxis*>(xAxis), static_cast<QAbstractAxis*>(yAxis) }) {
        axis->setVisible(false);
        axis->setLabelsVisible(false);
        axis->setGridLineVisible(false);
        axis->setLineVisible(false);
    }
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries* series :
        { static_cast<QAbstractSeries*>(area), static_cast<QAbstractSeries*>(line) }) {
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }

    chart->legend()->setVisible(false);
    chart->setTitle(QString());
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundVisible(false);
    chart->setMargins(QMargins());
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chartView->setRenderHint(QPainter::Antialiasing);
}
