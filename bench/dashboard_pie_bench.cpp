// The full-window pie screen with 200 asset categories in the newest record: the slices worked
// out from the record, and the whole refresh after "dataReFetched" with the asset pie drawn
// into an image, as the next paint does. Then the screen opened on a record of 10,000 asset
// categories: from its creation until it has been painted.
#include "BenchData.h"
#include "ScreenBench.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/kit/Graph.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/common/PieSlices.h"
#include "model/data/MVX_NWLog.h"
#include "model/store/NWData.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include <memory>
#include <utility>

namespace {

// 267 categories are 200 assets and 67 liabilities.
void installTwoHundredAssets()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    auto model = benchdata::generateModel(2, 267);
    NWData* store = NWData::shared();
    store->setAppData(model);
    store->sortNWArray(model->nwLogArray().value_or(MVX_NWLogList()));
}

void BM_AssetPieSlices(benchmark::State& state)
{
    installTwoHundredAssets();
    const auto& model = NWData::shared()->appData();
    const auto record = model->currentLog();
    const auto format = PieSlices::storeAmountFormat();
    for (auto _ : state) {
        auto pie = PieSlices::categoryPie(record.get(), model.get(), PieSlices::Side::Assets,
            PieChartSettings::PieLabelType::Percentage, true, format);
        benchmark::DoNotOptimize(pie);
    }
    state.counters["slices"] = double(record->assetLogs()->size());
}

void BM_BigPieRefreshAndDrawAssets(benchmark::State& state)
{
    installTwoHundredAssets();
    BigPieChartViewController screen;
    benchscreens::showAndSettle(screen, QSize(1500, 800));
    RedavidGraphHost* host = screen.hostView(BigPieChartViewController::PieKind::Assets);
    QImage image(host->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        screen.nwDataReFetchedHandler();
        image.fill(Qt::white);
        QPainter painter(&image);
        host->hostedGraph()->render(&painter, QRectF(QPointF(), QSizeF(host->size())));
    }
    state.counters["slices"]
        = double(screen.slices(BigPieChartViewController::PieKind::Assets).slices.size());
}

// 13,334 categories are 10,000 assets and 3,334 liabilities, one record of them.
void installTenThousandAssets()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    auto model = benchdata::generateModel(1, 13334);
    // Only the newest record counts; the other eleven months would only slow the set-up.
    model->setNwLogArray(MVX_NWLogList { model->nwLogArray()->last() });
    NWData* store = NWData::shared();
    store->setAppData(model);
    store->sortNWArray(model->nwLogArray().value_or(MVX_NWLogList()));
}

// Made, shown, laid out and painted, including the repaint its first paint asks for (the page
// refits its pies once it has been drawn).
void BM_BigPieOpenTenThousandAssets(benchmark::State& state)
{
    installTenThousandAssets();
    qsizetype slices = 0;
    for (auto _ : state) {
        auto screen = std::make_unique<BigPieChartViewController>();
        benchscreens::showAndSettle(*screen, QSize(1500, 800));
        QImage first = screen->grab().toImage();
        QCoreApplication::processEvents();
        QImage second = screen->grab().toImage();
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
        state.PauseTiming();
        slices = screen->slices(BigPieChartViewController::PieKind::Assets).slices.size();
        screen.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["slices"] = double(slices);
}

} // namespace

BENCHMARK(BM_AssetPieSlices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BigPieRefreshAndDrawAssets)->Unit(benchmark::kMillisecond);
// The pies are painted on a pool thread while the screen waits: wall time is what counts.
BENCHMARK(BM_BigPieOpenTenThousandAssets)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
