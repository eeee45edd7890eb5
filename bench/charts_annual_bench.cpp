// The annual chart on the generated household (50 years, 200 categories) with the trend on:
// a whole rebuild (year-ends, fit, graph, axes, plots) and the graph drawn into a 1200 x 700
// image, as a screen switch and the next paint do.
#include "BenchData.h"
#include "ScreenBench.h"
#include "charts/annual/AnnualChartSettings.h"
#include "charts/annual/AnnualViewController.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "model/settings/Preferences.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

namespace {

void BM_UpdateChartAndRender(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    Preferences::setAnnualYears(Preferences::mostAnnualYears);
    AnnualChartSettings::setTrendLine(true);
    AnnualChartSettings::setTrendPeriod(AnnualChartSettings::mostTrendYears);
    AnnualViewController screen;
    benchscreens::showAndSettle(screen, QSize(1200, 740));
    QImage image(1200, 700, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        screen.updateChart();
        image.fill(Qt::white);
        QPainter painter(&image);
        screen.hostView()->hostedGraph()->render(&painter, QRectF(0, 0, 1200, 700));
    }
    state.counters["bars"] = double(screen.visibleDataArray().size());
}

} // namespace

BENCHMARK(BM_UpdateChartAndRender)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
