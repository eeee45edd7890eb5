#include "ChartKitEdgeValues.h"

#include "charts/kit/ChartAnimation.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <gtest/gtest.h>

#include <memory>

using namespace chart;
using namespace charttest;

namespace {

// A hosted graph with bars, a line and a labelled pie, all asking one data source.
struct HostedCharts {
    HostedCharts()
    {
        source.count = 60;
        source.numbersByIndex = true;
        source.label = DataLabel { QStringLiteral("Savings 12%"), TextStyle {} };
        view->setHostedGraph(graph);
        graph->defaultPlotSpace()->setXRange(PlotRange::withLocation(0, 60));
        graph->defaultPlotSpace()->setYRange(PlotRange::withLocation(0, 2));
        pie->setPieRadius(80);
        for (Plot* plot : std::initializer_list<Plot*> { bars, scatter, pie }) {
            plot->setDataSource(&source);
            graph->addPlot(plot);
        }
    }
    EdgeDataSource source;
    std::unique_ptr<GraphHostingView> view = std::make_unique<GraphHostingView>();
    QPointer<Graph> graph = new Graph;
    QPointer<BarPlot> bars = new BarPlot;
    QPointer<ScatterPlot> scatter = new ScatterPlot;
    QPointer<PieChart> pie = new PieChart;
};

QImage renderedView(QWidget& view)
{
    QImage image(200, 150, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    view.render(&image);
    return image;
}

void finishDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

TEST(ChartKitSweep, AHostingViewResizedFromNothingToHugeKeepsItsBuffersSane)
{
    HostedCharts charts;
    for (const QSize size : { QSize(0, 0), QSize(1, 1), QSize(320, 240), QSize(4000, 3000),
             QSize(100000, 100000), QSize(0, 100000), QSize(100000, 1) }) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        charts.view->resize(size);
        // A hidden view hears of its new size when it is drawn.
        EXPECT_FALSE(renderedView(*charts.view).isNull());
        // No frame and no scroll bars: the viewport is the whole view.
        const QSizeF viewport(size);
        EXPECT_EQ(charts.graph->bounds().size(), viewport);
        EXPECT_TRUE(isDrawable(charts.view->plotAreaFrameRectInView()));
        const QImage whole = charts.graph->imageOfLayer();
        EXPECT_LE(qint64(whole.width()) * whole.height(), maximumImagePixels);
        EXPECT_EQ(
            whole.isNull(), viewport.isEmpty() || viewport.width() * viewport.height() > maximumImagePixels);
    }
    charts.view->setPrintRect(QRectF(-1e300, 0, 1e300, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(isDrawable(charts.view->printRect()));
}

TEST(ChartKitSweep, ChartsDeletedInTheMiddleOfTheirAnimationsLeaveNothingBehind)
{
    enum class Deleted { View, Graph, PlotDirectly, PlotThroughGraph };
    for (const Deleted deleted :
        { Deleted::View, Deleted::Graph, Deleted::PlotDirectly, Deleted::PlotThroughGraph }) {
        SCOPED_TRACE(static_cast<int>(deleted));
        HostedCharts charts;
        charts.view->resize(320, 240);
        const QPointer<QAbstractAnimation> turn = animate(charts.pie, "startAngle", 0.0, 2 * M_PI, 1000);
        const QPointer<QAbstractAnimation> grow
            = animate(charts.pie, "pieRadius", 10.0, 100.0, 1000, 200, AnimationCurve::BounceOut);
        charts.scatter->fadeIn(0.0, 1.0, 1000);
        ASSERT_TRUE(turn && grow);
        turn->setCurrentTime(500);
        grow->setCurrentTime(700);
        EXPECT_NEAR(charts.pie->startAngle(), M_PI, 1e-9);
        EXPECT_EQ(turn->state(), QAbstractAnimation::Running);
        EXPECT_FALSE(renderedView(*charts.view).isNull());

        switch (deleted) {
        case Deleted::View:
            charts.view.reset();
            break;
        case Deleted::Graph:
            delete charts.graph;
            break;
        case Deleted::PlotDirectly:
            delete charts.pie;
            break;
        case Deleted::PlotThroughGraph:
            charts.graph->removePlot(charts.pie);
            break;
        }
        finishDeletions();
        EXPECT_FALSE(charts.pie);
        EXPECT_FALSE(turn);
        EXPECT_FALSE(grow);
        if (charts.view) {
            EXPECT_FALSE(renderedView(*charts.view).isNull());
        }
        if (charts.graph) {
            // The graph no longer reaches the deleted pie: it reloads and draws the others.
            EXPECT_EQ(charts.graph->allPlots(), QList<Plot*>({ charts.bars.data(), charts.scatter.data() }));
            charts.graph->reloadData();
            EXPECT_FALSE(renderedView(*charts.view).isNull());
        }
    }
}

TEST(ChartKitSweep, AnimationsWithEdgeValuesEndWithSaneProperties)
{
    HostedCharts charts;
    charts.view->resize(320, 240);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const int duration : { INT_MIN, -1, 0, 1, INT_MAX }) {
        SCOPED_TRACE(duration);
        const QPointer<QAbstractAnimation> turn
            = animate(charts.pie, "startAngle", nan, inf, duration, INT_MIN, static_cast<AnimationCurve>(99));
        const QPointer<QAbstractAnimation> grow
            = animate(charts.pie, "pieRadius", -inf, 1e300, duration, duration, AnimationCurve::BackInOut);
        charts.scatter->fadeIn(nan, inf, duration);
        for (QAbstractAnimation* animation : { turn.data(), grow.data() }) {
            if (animation)
                animation->setCurrentTime(std::max(animation->totalDuration() / 2, 0));
        }
        EXPECT_TRUE(std::isfinite(charts.pie->startAngle()));
        EXPECT_TRUE(isDrawable(charts.pie->pieRadius()));
        EXPECT_TRUE(charts.scatter->opacity() >= 0 && charts.scatter->opacity() <= 1);
        EXPECT_FALSE(renderedView(*charts.view).isNull());
        if (turn)
            turn->stop();
        if (grow)
            grow->stop();
    }
}

TEST(ChartKitSweep, PressesDragsAndClicksAtEdgePositionsKeepTheRangesFinite)
{
    HostedCharts charts;
    charts.view->resize(320, 240);
    charts.view->show();
    charts.pie->setDelegate(&charts.source);
    charts.bars->setDelegate(&charts.source);
    PlotSpace* space = charts.graph->defaultPlotSpace();
    space->setAllowsUserInteraction(true);
    const auto send = [&](QEvent::Type type, const QPointF& at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, at, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(charts.view->viewport(), &event);
    };
    for (const double v : edgeValues()) {
        SCOPED_TRACE(QString::number(v).toStdString());
        send(QEvent::MouseButtonPress, QPointF(v, v), Qt::LeftButton);
        send(QEvent::MouseMove, QPointF(-v, v), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPointF(v, -v), Qt::NoButton);
        EXPECT_TRUE(space->xRange().isFinite());
        EXPECT_TRUE(space->yRange().isFinite());
        // A click on the middle of the pie still reaches its delegate.
        const QPointF centre = charts.pie->centerInGraph();
        send(QEvent::MouseButtonPress, centre, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, centre, Qt::NoButton);
    }
    EXPECT_FALSE(charts.source.selections.isEmpty());
    for (const QString& index : std::as_const(charts.source.selections))
        EXPECT_TRUE(index.toInt() >= 0 && index.toInt() < charts.pie->numberOfRecords());
}

TEST(ChartKitSweep, APlotMovedToAnotherGraphLeavesTheFirst)
{
    EdgeDataSource source;
    source.count = 5;
    source.numbersByIndex = true;
    auto first = std::make_unique<Graph>(QRectF(0, 0, 200, 100));
    Graph second(QRectF(0, 0, 200, 100));
    auto* plot = new ScatterPlot;
    plot->setDataSource(&source);
    first->addPlot(plot);
    second.addPlot(plot);
    EXPECT_TRUE(first->allPlots().isEmpty());
    EXPECT_EQ(second.allPlots(), QList<Plot*>({ plot }));
    EXPECT_EQ(plot->graph(), &second);
    first.reset();
    EXPECT_FALSE(paintedAtSmallSize(second).isNull());
    EXPECT_EQ(plot->numberOfRecords(), 5);
}

TEST(ChartKitSweep, NullArgumentsAreRefused)
{
    Graph graph(QRectF(0, 0, 200, 100));
    GraphHostingView view;
    view.setHostedGraph(nullptr);
    EXPECT_EQ(view.hostedGraph(), nullptr);
    EXPECT_EQ(view.plotAreaPointFromView(QPointF(3, 4)), QPointF(3, 4));
    auto* plot = new BarPlot;
    plot->setDataSource(nullptr);
    plot->setDelegate(nullptr);
    graph.addPlot(plot);
    plot->recordWasSelected(0);
    EXPECT_EQ(plot->numberOfRecords(), 0);
    graph.removePlot(nullptr);
    graph.defaultPlotSpace()->scaleToFitPlots({ nullptr });
    graph.setAxisSet(nullptr);
    EXPECT_EQ(graph.allPlots().size(), 1);
    EXPECT_FALSE(paintedAtSmallSize(graph).isNull());
#if defined(QT_NO_DEBUG) && !defined(QT_FORCE_ASSERTS)
    graph.addPlot(nullptr);
    graph.render(nullptr, QRectF(0, 0, 10, 10));
    EXPECT_EQ(animate(nullptr, "opacity", 0, 1, 100), nullptr);
    EXPECT_EQ(graph.allPlots().size(), 1);
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(graph.addPlot(nullptr), "plot");
    EXPECT_DEATH(animate(nullptr, "opacity", 0, 1, 100), "target");
#endif
}

} // namespace
