#include "ChartKitTestSupport.h"

#include "charts/kit/GraphHostingView.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace chart;
using namespace charttest;

namespace {

// A point on the line between two slices belongs to the slice that starts there, so that
// every point of the ring belongs to exactly one slice.
TEST(PieSliceBoundary, APointExactlyOnABoundaryBelongsToTheLaterSlice)
{
    GraphHostingView view;
    auto* graph = new Graph;
    view.setHostedGraph(graph);
    view.resize(400, 300);
    view.show();
    graph->setAxisSet(nullptr);
    TableDataSource source;
    auto* pie = new PieChart;
    pie->setPieRadius(100);
    pie->setPieInnerRadius(30);
    // From 0 radians (pointing right), counter-clockwise: the boundaries of a quarter, a
    // quarter and a half lie straight up and straight to the left.
    pie->setStartAngle(0);
    pie->setSliceDirection(PieChart::Direction::CounterClockwise);
    source.rows[pie] = { { 1 }, { 1 }, { 2 } };
    pie->setDataSource(&source);
    graph->addPlot(pie);
    ASSERT_EQ(pie->slices().size(), 3);
    ASSERT_EQ(pie->slices()[1].startFraction, 0.25);
    ASSERT_EQ(pie->slices()[2].startFraction, 0.5);
    const QPointF center = pie->centerInGraph();

    // Graph coordinates run y-down.
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(60, 0)), 0); // the start of the first
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(0, -60)), 1); // first | second
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(-60, 0)), 2); // second | half
    // Either side of a boundary, the slices themselves.
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(1, -60)), 0);
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(-1, -60)), 1);

    // Clockwise from the top, the first boundary lies to the right.
    pie->setStartAngle(M_PI / 2);
    pie->setSliceDirection(PieChart::Direction::Clockwise);
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(0, -60)), 0);
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(60, 0)), 1);
    EXPECT_EQ(pie->recordIndexAtGraphPoint(center + QPointF(0, 60)), 2);
}

} // namespace
