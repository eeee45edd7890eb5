// The history line chart on the generated household (50 years, 200 categories: 600 records):
// switching to it and drawing it, changing the chart type, and panning one month.
#include "BenchData.h"
#include "ScreenBench.h"
#include "charts/common/ChartNotifications.h"
#include "charts/history/line/LineChartViewController.h"
#include "charts/history/settings/HistoryChartSettings.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "charts/kit/PlotSpace.h"
#include "platform/NotificationCenter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace {

namespace HCS = HistoryChartSettings;

const QSize kSize(1200, 700);

void draw(LineChartViewController& chart, QImage& image)
{
    QPainter painter(&image);
    chart.hostView()->hostedGraph()->render(&painter, QRectF(QPointF(0, 0), QSizeF(kSize)));
}

void BM_SwitchToTheChartAndDrawIt(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    HCS::setChartType(HCS::ChartType::NetWorth);
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        LineChartViewController chart;
        benchscreens::showAndSettle(chart, kSize);
        chart.refreshView();
        draw(chart, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ChangeTheChartType(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    HCS::setChartType(HCS::ChartType::NetWorth);
    LineChartViewController chart;
    benchscreens::showAndSettle(chart, kSize);
    chart.refreshView();
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    bool assets = false;
    for (auto _ : state) {
        assets = !assets;
        HCS::setChartType(assets ? HCS::ChartType::AssetsAndLiabilities : HCS::ChartType::NetWorth);
        platform::NotificationCenter::defaultCenter().post(notifications::lineChartSettingsChange);
        draw(chart, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    HCS::setChartType(HCS::ChartType::NetWorth);
}

void BM_PanOneMonth(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    HCS::setChartType(HCS::ChartType::NetWorth);
    LineChartViewController chart;
    benchscreens::showAndSettle(chart, kSize);
    chart.refreshView();
    chart.timeScaleChanged(1); // five years: there is room to pan both ways
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    QWidget* viewport = chart.hostView()->viewport();
    const chart::PlotSpace* space = chart.hostView()->hostedGraph()->defaultPlotSpace();
    const auto send = [viewport](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    QPoint at = viewport->rect().center();
    send(QEvent::MouseButtonPress, at, Qt::LeftButton);
    int direction = 1;
    int steps = 0;
    for (auto _ : state) {
        const int month = qMax(1, int(viewport->width() / space->xRange().length));
        if (++steps % 40 == 0)
            direction = -direction;
        at += QPoint(direction * month, 0);
        send(QEvent::MouseMove, at, Qt::LeftButton);
        draw(chart, image);
        benchmark::DoNotOptimize(image.constBits());
    }
    send(QEvent::MouseButtonRelease, at, Qt::NoButton);
}

} // namespace

BENCHMARK(BM_SwitchToTheChartAndDrawIt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeTheChartType)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanOneMonth)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
