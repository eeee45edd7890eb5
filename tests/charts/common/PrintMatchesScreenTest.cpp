#include "charts/common/PrintedChart.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/PieChart.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace printedchart;
using namespace Qt::Literals::StringLiterals;

namespace {

// Slices of 60 % and 40 %, and twelve months of bars with a rising line over them.
class Source : public chart::PlotDataSource {
public:
    int numberOfRecordsForPlot(chart::Plot* plot) override
    {
        return qobject_cast<chart::PieChart*>(plot) ? 2 : 12;
    }
    std::optional<double> numberForPlot(chart::Plot* plot, chart::PlotField field, int index) override
    {
        if (qobject_cast<chart::PieChart*>(plot))
            return index == 0 ? 60.0 : 40.0;
        if (field == chart::PlotField::X)
            return index;
        return qobject_cast<chart::BarPlot*>(plot) ? 1500.0 * (index + 1) : 1000.0 * (index + 1);
    }
    std::optional<chart::Fill> sliceFillForPieChart(chart::PieChart*, int index) override
    {
        // Translucent gradients, as the dashboard's pies have.
        return index == 0
            ? chart::Fill(chart::Gradient::withColors(QColor::fromRgbF(0.65f, 0.88f, 0.33f, 0.5f),
                QColor::fromRgbF(0.28f, 0.73f, 0.24f, 0.5f), -30))
            : chart::Fill(chart::Gradient::withColors(
                QColor::fromRgbF(1.0f, 0.39f, 0.55f, 0.5f), QColor::fromRgbF(0.98f, 0.1f, 0.34f, 0.5f), -30));
    }
};

class PrintMatchesScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        host.resize(600, 400);
    }

    void showHost()
    {
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    QTemporaryDir dir;
    Source source;
    RedavidGraphHost host;
};

TEST_F(PrintMatchesScreenTest, APieWithTranslucentGradientsPrintsAsOnScreen)
{
    auto* graph = new chart::Graph;
    graph->setAxisSet(nullptr);
    auto* pie = new chart::PieChart;
    pie->setPieRadius(150);
    pie->setPieInnerRadius(50);
    pie->setOverlayFill(chart::Fill(chart::Gradient::radial(
        { { 0.97, QColor::fromRgbF(0, 0, 0, 0) }, { 1.0, QColor::fromRgbF(0, 0, 0, 0.3f) } })));
    pie->setDataSource(&source);
    graph->addPlot(pie);
    host.setHostedGraph(graph);
    showHost();

    const QImage screen = onScreen(host);
    const QImage page = printed(host, dir.filePath(u"pie.pdf"_s), false);
    ASSERT_FALSE(page.isNull());
    EXPECT_LE(meanDifference(page, screen), 3.0);
    // The middle of each slice's ring, clockwise from the top.
    const QPointF center = pie->centerInGraph();
    for (const double middle : { 0.3, 0.8 }) {
        const double angle = std::numbers::pi / 2 - middle * 2 * std::numbers::pi;
        const QPoint at = (center + 100 * QPointF(std::cos(angle), -std::sin(angle))).toPoint();
        EXPECT_LE(colorDistance(colorAround(page, at), colorAround(screen, at)), 12)
            << "printed " << colorAround(page, at).name().toStdString() << " on screen "
            << colorAround(screen, at).name().toStdString();
    }
}

TEST_F(PrintMatchesScreenTest, BarsUnderATranslucentAreaPrintAsOnScreen)
{
    auto* graph = new chart::Graph;
    auto* bars = chart::BarPlot::tubularBarPlotWithColor(QColor(Qt::blue), false);
    bars->setBarWidth(0.6);
    bars->setDataSource(&source);
    graph->addPlot(bars);
    auto* line = new chart::ScatterPlot;
    line->setDataLineStyle(chart::LineStyle { 2.0, QColor(28, 132, 250), {} });
    QColor top(84, 245, 255, 64);
    QColor bottom = top;
    bottom.setAlpha(0);
    line->setAreaFill(chart::Fill(chart::Gradient::withColors(top, bottom, -90)));
    line->setAreaBaseValue(0);
    line->setDataSource(&source);
    graph->addPlot(line);
    graph->defaultPlotSpace()->setXRange(chart::PlotRange::withLocation(-1, 13));
    graph->defaultPlotSpace()->setYRange(chart::PlotRange::withLocation(0, 20000));
    host.setHostedGraph(graph);
    showHost();

    const QImage screen = onScreen(host);
    const QImage page = printed(host, dir.filePath(u"bars.pdf"_s), true);
    ASSERT_FALSE(page.isNull());
    EXPECT_LE(meanDifference(page, screen), 3.0);
    const chart::PlotSpace* space = graph->defaultPlotSpace();
    // Between two bars under the area, and on a bar under it.
    for (const QPoint at : { space->graphPointForPlotPoint(5.5, 2000).toPoint(),
             space->graphPointForPlotPoint(6, 2000).toPoint() })
        EXPECT_LE(colorDistance(colorAround(page, at), colorAround(screen, at)), 12)
            << "printed " << colorAround(page, at).name().toStdString() << " on screen "
            << colorAround(screen, at).name().toStdString();
}

} // namespace
