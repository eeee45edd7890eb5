// The full-window pie screen with 200 asset categories in the newest record: the slices worked
// out from the record, and the whole refresh after "dataReFetched" with the asset pie drawn
// into an image, as the next paint does.
#include "BenchData.h"
#include "ScreenBench.h"
#include "charts/common/RedavidGraphHost.h"
#include "charts/kit/Graph.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/common/PieSlices.h"
#include "model/data/MVX_NWLog.h"
#include "model/store/NWData.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

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

} // namespace

BENCHMARK(BM_AssetPieSlices)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BigPieRefreshAndDrawAssets)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
