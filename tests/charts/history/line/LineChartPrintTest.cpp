#include "charts/common/PrintedChart.h"
#include "charts/history/line/LineChartViewController.h"
#include "charts/history/series/HistoryTestModel.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/PlotSpace.h"
#include "charts/kit/ScatterPlot.h"
#include "support/Eventually.h"
#include "support/SharedStoreTest.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace historyseries;
using namespace historytest;
using namespace printedchart;
using namespace Qt::Literals::StringLiterals;

namespace {

class LineChartPrintTest : public mervane::test::SharedStoreTest {
protected:
    void SetUp() override
    {
        SharedStoreTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        PKPopoverController::closeAllShownPopovers();
        HistoryChartSettings::setChartType(HistoryChartSettings::ChartType::NetWorth);
        HistoryChartSettings::setStackedChart(true);
        HistoryChartSettings::setShowArea(true);
        install(household(rising2023()));
    }
    void TearDown() override
    {
        PKPopoverController::closeAllShownPopovers();
        SharedStoreTest::TearDown();
    }

    QTemporaryDir dir;
};

TEST_F(LineChartPrintTest, ThePrintedAndCopiedChartLookLikeTheScreen)
{
    LineChartViewController chart;
    chart.resize(900, 500);
    chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
    chart.refreshView();
    auto* bars = qobject_cast<chart::BarPlot*>(chart.graph()->plotWithIdentifier(u"NWSTACKED_ASSETS"_s));
    chart::ScatterPlot* area = chart.scatterPlot(PlotId::NetWorth);
    ASSERT_NE(bars, nullptr);
    ASSERT_NE(area, nullptr);
    ASSERT_FALSE(bars->isHidden());
    ASSERT_TRUE(area->areaFill().has_value());
    // Both fade in when shown; the pictures are taken once they are fully there.
    EXPECT_EVENTUALLY(bars->opacity() == 1.0 && area->opacity() == 1.0);

    chart::GraphHostingView& host = *chart.hostView();
    const QImage screen = onScreen(host);
    const QImage page = printed(host, dir.filePath(u"history.pdf"_s), true);
    ASSERT_FALSE(page.isNull());

    // Inside the net-worth area between two bars, on an asset bar above the area, and where
    // the area lies over a bar.
    const NWChartLog& june = chart.series().dataArray[5];
    const chart::PlotSpace* space = chart.graph()->defaultPlotSpace();
    const double x = monthIndex(june);
    const QPoint inArea = space->graphPointForPlotPoint(x + 0.5, june.nw() * 0.4).toPoint();
    const QPoint onBar = space->graphPointForPlotPoint(x, june.assets() * 0.9).toPoint();
    const QPoint barUnderArea = space->graphPointForPlotPoint(x, june.nw() * 0.5).toPoint();
    for (const QPoint at : { inArea, onBar, barUnderArea })
        EXPECT_LE(colorDistance(colorAround(page, at), colorAround(screen, at)), 12)
            << at.x() << "," << at.y() << " printed " << colorAround(page, at).name().toStdString()
            << " on screen " << colorAround(screen, at).name().toStdString();
    // The pale area lets the bar show through.
    EXPECT_NE(colorAround(page, barUnderArea), colorAround(page, inArea));
    EXPECT_LE(meanDifference(page, screen), 3.0);

    ASSERT_TRUE(NWPrintViewController::GenericChartToClipboard(&host));
    QImage copy(host.size(), QImage::Format_RGB32);
    copy.fill(Qt::white);
    QPainter(&copy).drawImage(0, 0, QGuiApplication::clipboard()->image());
    EXPECT_LE(meanDifference(copy, screen), 3.0);
    EXPECT_LE(colorDistance(colorAround(copy, inArea), colorAround(screen, inArea)), 12);
}

} // namespace
