#include "records/history/CategoryChartValues.h"

#include "model/queries/ModelBuilders.h"

#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The chart's two series: the gradient fill and the line over it.
std::pair<QAreaSeries*, QLineSeries*> fillAndLine(QChartView& view)
{
    const QList<QAbstractSeries*> series = view.chart()->series();
    EXPECT_EQ(series.size(), 2);
    if (series.size() != 2)
        return {};
    return { qobject_cast<QAreaSeries*>(series.at(0)), qobject_cast<QLineSeries*>(series.at(1)) };
}

TEST(CategoryChartValuesTest, OneBareLineOfTheValuesOldestFirstInTheGivenColour)
{
    QChartView view;
    const QColor blue(30, 120, 220);
    const QDateTime now(QDate(2024, 5, 5), QTime(9, 30));
    CategoryChartValues::setupChart({ makeLog(u"A"_s, 2020, 3, 300), makeLog(u"A"_s, 2020, 2, std::nullopt),
                                        makeLog(u"A"_s, 2020, 1, -100) },
        &view, blue, now);

    auto [area, line] = fillAndLine(view);
    ASSERT_TRUE(area && line);
    const QList<QPointF> points = line->points();
    EXPECT_EQ(area->upperSeries()->points(), points);
    ASSERT_EQ(points.size(), 2);
    EXPECT_EQ(points.at(0), QPointF(QDateTime(QDate(2020, 1, 1), QTime(9, 30)).toMSecsSinceEpoch(), -100));
    EXPECT_EQ(points.at(1), QPointF(QDateTime(QDate(2020, 3, 1), QTime(9, 30)).toMSecsSinceEpoch(), 300));
    // Values on both sides of zero are filled towards zero.
    EXPECT_EQ(area->lowerSeries()->points().first().y(), 0);
    EXPECT_EQ(area->pen().style(), Qt::NoPen);
    EXPECT_EQ(line->pen().color(), blue);
    EXPECT_EQ(line->pen().widthF(), 2);
    EXPECT_FALSE(line->pointsVisible() || area->pointsVisible());
    EXPECT_FALSE(line->pointLabelsVisible() || area->pointLabelsVisible());
    EXPECT_FALSE(view.chart()->legend()->isVisible());
    EXPECT_EQ(view.chart()->backgroundBrush().color(), QColor(Qt::white));
    ASSERT_EQ(view.chart()->axes().size(), 2);
    for (QAbstractAxis* axis : view.chart()->axes()) {
        EXPECT_FALSE(axis->isVisible());
        EXPECT_FALSE(axis->isGridLineVisible());
    }

    // Built again, the chart holds the new values only.
    CategoryChartValues::setupChart({}, &view, blue, now);
    std::tie(area, line) = fillAndLine(view);
    ASSERT_TRUE(area && line);
    EXPECT_TRUE(line->points().isEmpty());
    EXPECT_EQ(view.chart()->axes().size(), 2);
    CategoryChartValues::setupChart({ nullptr }, nullptr, blue, now);
}

} // namespace
