#pragma once

// Where a bar chart's bars and labels stand on its graph, for tests that hold every bar to the
// zero line and every label clear of the others and inside the graph.
#include "charts/kit/Axis.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/Graph.h"
#include "charts/kit/PlotSpace.h"

#include <gtest/gtest.h>

#include <QList>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cmath>

namespace barchartgeometry {

struct DrawnLabel {
    QString text;
    QRectF rect;
};

// The labels of `axis` that are drawn, with their boxes in graph coordinates.
inline QList<DrawnLabel> drawnLabels(const chart::Graph& graph, const chart::Axis& axis)
{
    QList<DrawnLabel> drawn;
    for (const chart::AxisLabel& label : axis.axisLabels()) {
        if (const auto rect = chart::axisLabelRect(graph, axis, label))
            drawn.append(DrawnLabel { label.text, *rect });
    }
    return drawn;
}

inline QStringList texts(const QList<DrawnLabel>& labels)
{
    QStringList result;
    for (const DrawnLabel& label : labels)
        result.append(label.text);
    return result;
}

inline QString describe(const DrawnLabel& label)
{
    const QRectF& r = label.rect;
    return QStringLiteral("\"%1\" at (%2, %3) %4 x %5")
        .arg(label.text)
        .arg(r.x(), 0, 'f', 1)
        .arg(r.y(), 0, 'f', 1)
        .arg(r.width(), 0, 'f', 1)
        .arg(r.height(), 0, 'f', 1);
}

// Every drawn label of both axes lies inside the graph, and no two of them overlap.
inline testing::AssertionResult labelsApartInside(const chart::Graph& graph)
{
    const QList<DrawnLabel> all
        = drawnLabels(graph, *graph.axisSet()->xAxis()) + drawnLabels(graph, *graph.axisSet()->yAxis());
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (!graph.bounds().contains(all[i].rect))
            return testing::AssertionFailure() << describe(all[i]).toStdString() << " leaves the graph of "
                                               << graph.bounds().width() << " x " << graph.bounds().height();
        for (qsizetype j = i + 1; j < all.size(); ++j) {
            if (all[i].rect.intersects(all[j].rect))
                return testing::AssertionFailure()
                    << describe(all[i]).toStdString() << " overlaps " << describe(all[j]).toStdString();
        }
    }
    return testing::AssertionSuccess();
}

// The bar of `index` is seen standing on the zero line, which lies in the plot area: upwards
// for a value above 0, downwards below 0, at least `minimum` points of it inside the plot area.
inline testing::AssertionResult standsOnZero(const chart::BarPlot& plot, int index, qreal minimum = 2.0)
{
    const chart::Graph* graph = plot.graph();
    const QRectF area = graph->plotAreaRect();
    const double zero = graph->defaultPlotSpace()->graphYForPlotY(0.0);
    if (!(zero >= area.top() - 0.5 && zero <= area.bottom() + 0.5))
        return testing::AssertionFailure() << "the zero line (" << zero << ") is outside the plot area ("
                                           << area.top() << " to " << area.bottom() << ")";
    if (index < 0 || index >= plot.bars().size() || !plot.bars()[index].valid)
        return testing::AssertionFailure() << "slot " << index << " has no bar";
    const double tip = plot.bars()[index].tip;
    const QRectF seen = plot.barRect(index).intersected(area);
    if (seen.height() < minimum)
        return testing::AssertionFailure() << "the bar of " << tip << " shows " << seen.height() << " points";
    const bool up = tip > 0;
    const double foot = up ? seen.bottom() : seen.top();
    const double head = up ? seen.top() : seen.bottom();
    if (std::abs(foot - zero) > 1.0 || (up ? head >= zero : head <= zero))
        return testing::AssertionFailure() << "the bar of " << tip << " runs from " << foot << " to " << head
                                           << ", the zero line is at " << zero;
    return testing::AssertionSuccess();
}

// No drawn label of `axis` covers any part of a bar of `plot` that shows in the plot area: a name
// or year left at the zero line would stand on a bar hanging below it.
inline testing::AssertionResult labelsClearOfBars(const chart::BarPlot& plot, const chart::Axis& axis)
{
    const chart::Graph* graph = plot.graph();
    const QRectF area = graph->plotAreaRect();
    for (const DrawnLabel& label : drawnLabels(*graph, axis)) {
        for (int index = 0; index < plot.bars().size(); ++index) {
            if (!plot.bars()[index].valid)
                continue;
            const QRectF seen = plot.barRect(index).intersected(area);
            if (!seen.isEmpty() && label.rect.intersects(seen))
                return testing::AssertionFailure()
                    << describe(label).toStdString() << " stands on the bar of " << plot.bars()[index].tip
                    << " from " << seen.top() << " to " << seen.bottom();
        }
    }
    return testing::AssertionSuccess();
}

// Whether `text` reads as an amount: it has digits and no infinity or not-a-number.
inline testing::AssertionResult readsAsAmount(const QString& text)
{
    const QString lower = text.toLower();
    if (!text.contains(QRegularExpression(QStringLiteral("[0-9]"))) || lower.contains(QStringLiteral("inf"))
        || lower.contains(QStringLiteral("nan")) || text.contains(QChar(0x221E)))
        return testing::AssertionFailure() << "\"" << text.toStdString() << "\" is no amount";
    return testing::AssertionSuccess();
}

// A two-year bar chart whose newer year-end may be huge beside an older one below zero: both
// years named, a screenful of value labels (at least a few when the values are huge: `labelled`),
// each an amount, no label over another, and a finite value range that holds the zero line.
inline void expectTwoYearsAndAScreenfulOfLabels(const chart::Graph& graph, bool labelled)
{
    EXPECT_EQ(texts(drawnLabels(graph, *graph.axisSet()->xAxis())),
        (QStringList { QStringLiteral("2019"), QStringLiteral("2020") }));
    EXPECT_LE(graph.axisSet()->yAxis()->axisLabels().size(), 42);
    const QList<DrawnLabel> amounts = drawnLabels(graph, *graph.axisSet()->yAxis());
    if (labelled) {
        EXPECT_GE(amounts.size(), 2);
    }
    for (const DrawnLabel& amount : amounts)
        EXPECT_TRUE(readsAsAmount(amount.text));
    EXPECT_TRUE(labelsApartInside(graph));
    EXPECT_TRUE(graph.defaultPlotSpace()->yRange().isFinite());
    EXPECT_TRUE(graph.defaultPlotSpace()->yRange().contains(0));
}

} // namespace barchartgeometry
