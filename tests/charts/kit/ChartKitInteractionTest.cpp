#include "ChartKitTestSupport.h"

#include "charts/kit/ChartAnimation.h"
#include "charts/kit/GraphHostingView.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <gtest/gtest.h>

#include <cmath>

using namespace chart;
using namespace charttest;

namespace {

// A shown 400 x 300 host whose graph maps 0..10 on both axes.
struct Host {
    GraphHostingView view;
    Graph* graph = new Graph;
    TableDataSource source;
    RecordingDelegate delegate;

    Host()
    {
        view.setHostedGraph(graph);
        view.resize(400, 300);
        view.show();
        graph->defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 10));
        graph->defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 10));
        graph->setPlotAreaDelegate(&delegate);
    }
    void send(QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(
            type, at, view.viewport()->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }
    void click(const QPointF& at)
    {
        send(QEvent::MouseButtonPress, at, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    QPointF viewPoint(double x, double y) const
    {
        return view.viewPointFromPlotArea(
            graph->defaultPlotSpace()->plotAreaViewPointForPlotPoint(QPointF(x, y)));
    }
};

TEST(ChartKitInteraction, PlotPointsAndViewPointsMapBothWays)
{
    Host host;
    EXPECT_EQ(host.graph->bounds(), QRectF(0, 0, 400, 300)) << "the graph follows the view";
    EXPECT_EQ(host.view.plotAreaFrameRectInView(), QRectF(20, 20, 360, 260));
    PlotSpace* space = host.graph->defaultPlotSpace();
    EXPECT_EQ(space->plotAreaViewPointForPlotPoint(QPointF(5, 10)), QPointF(180, 260));
    EXPECT_EQ(host.viewPoint(0, 0), QPointF(20, 280));
    space->setXRange(PlotRange::withLocation(-50, 200));
    space->setYRange(PlotRange::withLocation(1000, -400));
    for (const QPointF plotPoint : { QPointF(-50, 1000), QPointF(12.5, 700), QPointF(149, 601) }) {
        const QPointF view = host.viewPoint(plotPoint.x(), plotPoint.y());
        const QPointF back = space->plotPointForPlotAreaViewPoint(host.view.plotAreaPointFromView(view));
        EXPECT_NEAR(back.x(), plotPoint.x(), 1e-9);
        EXPECT_NEAR(back.y(), plotPoint.y(), 1e-9);
    }
    GraphHostingView empty;
    EXPECT_TRUE(empty.plotAreaFrameRectInView().isEmpty());
}

TEST(ChartKitInteraction, ClicksReachTheSymbolBarOrSliceUnderTheMouse)
{
    Host host;
    auto* symbols = new ScatterPlot;
    PlotSymbol symbol = PlotSymbol::ellipse();
    symbol.size = QSizeF(6, 6);
    symbols->setPlotSymbol(symbol);
    symbols->setPlotSymbolMarginForHitDetection(4);
    host.source.rows[symbols] = { { 1, 1 }, { 2, 2 }, { 2.2, 2 } };
    symbols->setDataSource(&host.source);
    symbols->setDelegate(&host.delegate);
    auto* bars = new BarPlot;
    bars->setBarBasesVary(true);
    bars->setBarWidth(1.0);
    host.source.rows[bars] = { { 6, 4, 0 }, { 8, 9, 5 } };
    bars->setDataSource(&host.source);
    bars->setDelegate(&host.delegate);
    host.graph->addPlot(bars);
    host.graph->addPlot(symbols);

    // Within the symbol's half size plus the margin: the nearest record.
    host.click(host.viewPoint(2.2, 2) + QPointF(3, 0));
    host.click(host.viewPoint(1, 1) + QPointF(6, 0));
    host.click(host.viewPoint(1, 1) + QPointF(9, 0)); // beyond 3 + 4
    host.click(host.viewPoint(8, 7));
    host.click(host.viewPoint(8, 4)); // below the second bar's base of 5
    host.click(host.viewPoint(6, 3));
    EXPECT_EQ(host.delegate.events,
        QStringList({ QStringLiteral("symbol:2"), QStringLiteral("symbol:0"), QStringLiteral("area"),
            QStringLiteral("bar:1"), QStringLiteral("area"), QStringLiteral("bar:0") }));
}

TEST(ChartKitInteraction, SlicesAreFoundByAngleDirectionAndRadius)
{
    Host host;
    host.graph->setAxisSet(nullptr);
    auto* pie = new PieChart;
    pie->setPieRadius(100);
    pie->setPieInnerRadius(30);
    pie->setStartAngle(M_PI / 2);
    pie->setSliceDirection(PieChart::Direction::Clockwise);
    host.source.rows[pie] = { { 1 }, { 1 }, { 2 } }; // a quarter, a quarter, a half
    pie->setDataSource(&host.source);
    pie->setDelegate(&host.delegate);
    host.graph->addPlot(pie);
    const QPointF center = pie->centerInGraph();
    EXPECT_EQ(center, QPointF(200, 150));
    const auto at = [&](double angle, double radius) {
        return center + QPointF(std::cos(angle), -std::sin(angle)) * radius;
    };

    host.click(at(M_PI / 4, 60)); // upper right: clockwise from the top, the first slice
    host.click(at(-M_PI / 4, 60)); // lower right: the second
    host.click(at(M_PI * 3 / 4, 60)); // upper left: the half
    host.click(at(M_PI / 4, 20)); // in the hole
    host.click(at(M_PI / 4, 105)); // outside
    EXPECT_EQ(host.delegate.events,
        QStringList({ QStringLiteral("down:0"), QStringLiteral("slice:0"), QStringLiteral("down:1"),
            QStringLiteral("slice:1"), QStringLiteral("down:2"), QStringLiteral("slice:2"),
            QStringLiteral("area"), QStringLiteral("area") }));

    host.delegate.events.clear();
    pie->setSliceDirection(PieChart::Direction::CounterClockwise);
    host.click(at(M_PI * 3 / 4, 60)); // counter-clockwise from the top: the first slice
    EXPECT_EQ(host.delegate.events, QStringList({ QStringLiteral("down:0"), QStringLiteral("slice:0") }));
}

// Allows half of every horizontal shift and no vertical one.
class HalfHorizontal : public PlotSpaceDelegate {
public:
    QList<QPointF> asked;
    QPointF willDisplaceBy(PlotSpace*, const QPointF& displacement) override
    {
        asked << displacement;
        return QPointF(displacement.x() / 2, 0);
    }
};

TEST(ChartKitInteraction, ADragPansByWhatTheDelegateAllows)
{
    Host host;
    PlotSpace* space = host.graph->defaultPlotSpace();
    HalfHorizontal limiter;
    space->setDelegate(&limiter);
    auto* symbols = new ScatterPlot;
    host.source.rows[symbols] = { { 5, 5 } };
    symbols->setDataSource(&host.source);
    symbols->setDelegate(&host.delegate);
    host.graph->addPlot(symbols);

    // Without user interaction nothing moves.
    host.send(QEvent::MouseButtonPress, QPointF(200, 150), Qt::LeftButton);
    host.send(QEvent::MouseMove, QPointF(272, 114), Qt::LeftButton);
    host.send(QEvent::MouseButtonRelease, QPointF(272, 114), Qt::NoButton);
    EXPECT_EQ(space->xRange(), PlotRange::withLocation(0, 10));
    EXPECT_TRUE(limiter.asked.isEmpty());
    host.delegate.events.clear();

    space->setAllowsUserInteraction(true);
    host.send(QEvent::MouseButtonPress, QPointF(200, 150), Qt::LeftButton);
    host.send(QEvent::MouseMove, QPointF(272, 114), Qt::LeftButton);
    host.send(QEvent::MouseButtonRelease, QPointF(272, 114), Qt::NoButton);
    ASSERT_EQ(limiter.asked.size(), 1);
    EXPECT_EQ(limiter.asked.first(), QPointF(72, 36)) << "plot-area points, y up";
    // 36 of 360 points is one unit of the 10-unit range: dragging right shows earlier values.
    EXPECT_DOUBLE_EQ(space->xRange().location, -1.0);
    EXPECT_DOUBLE_EQ(space->yRange().location, 0.0);
    EXPECT_TRUE(host.delegate.events.isEmpty()) << "a pan is no click";

    // Global ranges bound the pan.
    space->setGlobalXRange(PlotRange::withLocation(-2, 14));
    host.send(QEvent::MouseButtonPress, QPointF(100, 150), Qt::LeftButton);
    host.send(QEvent::MouseMove, QPointF(300, 150), Qt::LeftButton);
    host.send(QEvent::MouseButtonRelease, QPointF(300, 150), Qt::NoButton);
    EXPECT_DOUBLE_EQ(space->xRange().location, -2.0);
}

TEST(ChartKitInteraction, AnAnimationWaitsItsDelayThenFollowsItsCurveToTheEnd)
{
    PieChart pie;
    pie.setStartAngle(1.0);
    QPointer<QAbstractAnimation> turn
        = animate(&pie, "startAngle", 0.0, M_PI / 2, 1000, 250, AnimationCurve::BounceOut);
    ASSERT_TRUE(turn);
    turn->pause();
    turn->setCurrentTime(200);
    EXPECT_DOUBLE_EQ(pie.startAngle(), 1.0);
    turn->setCurrentTime(750); // halfway: a bounce-out stands at 0.765625 of the way
    EXPECT_NEAR(pie.startAngle(), 0.765625 * M_PI / 2, 1e-9);
    turn->setCurrentTime(1250);
    EXPECT_DOUBLE_EQ(pie.startAngle(), M_PI / 2);
}

} // namespace
