#include "records/history/CategoryChartValues.h"

#include "model/queries/ModelBuilders.h"

#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>

#include <cmath>
#include <limits>

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

// Values up to the largest doubles, beside losses: the value axis keeps a finite range that
// holds every point, the line keeps its shape, and the chart paints.
TEST(CategoryChartValuesTest, HugeValuesBesideLossesKeepAFiniteRangeAroundTheLine)
{
    constexpr double most = std::numeric_limits<double>::max();
    const QDateTime now(QDate(2024, 5, 5), QTime(9, 30));
    for (const auto& [older, newest] : std::initializer_list<std::pair<double, double>> {
             { -500, 1e20 }, { -1e9, 1e300 }, { -most, most }, { most, most }, { -most, -1 } }) {
        SCOPED_TRACE(testing::Message() << older << " then " << newest);
        QChartView view;
        view.resize(320, 110);
        CategoryChartValues::setupChart(
            { makeLog(u"A"_s, 2020, 3, newest), makeLog(u"A"_s, 2019, 12, older) }, &view, Qt::blue, now);
        view.show();
        EXPECT_FALSE(view.grab().toImage().isNull());
        auto [area, line] = fillAndLine(view);
        ASSERT_TRUE(area && line);
        QValueAxis* values = nullptr;
        for (QAbstractAxis* axis : view.chart()->axes())
            values = values ? values : qobject_cast<QValueAxis*>(axis);
        ASSERT_TRUE(values);
        EXPECT_TRUE(std::isfinite(values->min()) && std::isfinite(values->max()));
        EXPECT_TRUE(std::isfinite(values->max() - values->min()));
        EXPECT_LT(values->min(), values->max());
        const QList<QPointF> points = line->points();
        ASSERT_EQ(points.size(), 2);
        for (const QPointF& point : points) {
            EXPECT_GE(point.y(), values->min());
            EXPECT_LE(point.y(), values->max());
        }
        // The newer point stands as far above the older as its value is.
        EXPECT_EQ(points.at(0).y() < points.at(1).y(), older < newest);
        EXPECT_EQ(std::signbit(points.at(1).y()), std::signbit(newest));
    }
}

} // namespace
