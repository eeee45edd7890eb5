// The dashboard's chart pane with its pie set to asset categories on a household of 10,000
// asset categories over four year-ends: from making the pane until it has been painted (the
// year-end bars stack one segment per category), and the process's peak resident memory.
// A process of its own, so that the peak is this pane's and not another benchmark's.
#include "BenchData.h"
#include "ProcessMemory.h"
#include "ScreenBench.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/totals/TotalsViewController.h"
#include "model/data/MVX_CategoryLog.h"
#include "model/data/MVX_NWLog.h"
#include "model/settings/Preferences.h"
#include "model/store/NWData.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>

#include <memory>

namespace {

constexpr double megabyte = 1024.0 * 1024.0;

// 13,334 categories are 10,000 assets and 3,334 liabilities. The generator makes twelve months
// of one year; the last four become the year-ends of four years. Gives the process's resident
// memory once they are installed, in megabytes.
double installTenThousandAssetsOverFourYears()
{
    static double resident = 0;
    if (resident > 0)
        return resident;
    auto model = benchdata::generateModel(1, 13334);
    const MVX_NWLogList months = *model->nwLogArray();
    MVX_NWLogList yearEnds;
    for (int i = 0; i < 4; ++i) {
        const auto& record = months[months.size() - 4 + i];
        const int year = 2022 + i;
        record->setYear(year);
        record->setMonth(12);
        for (const auto* logs : { &record->assetLogs(), &record->liabilityLogs() })
            for (const auto& value : logs->value_or(MVX_CategoryLogList())) {
                value->setYear(year);
                value->setMonth(12);
            }
        yearEnds.append(record);
    }
    model->setNwLogArray(yearEnds);
    NWData* store = NWData::shared();
    store->setAppData(model);
    store->sortNWArray(model->nwLogArray().value_or(MVX_NWLogList()));
    resident = double(statusBytes("VmRSS:")) / megabyte;
    return resident;
}

// Made, shown, laid out and painted, with the repaint of anything its first paint asked for.
void BM_DashboardOpenTenThousandAssetCategories(benchmark::State& state)
{
    Preferences::setShowStartForm(false);
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType::AssetCategories);
    const double household = installTenThousandAssetsOverFourYears();
    qsizetype stacks = 0;
    for (auto _ : state) {
        auto pane = std::make_unique<TotalsViewController>();
        benchscreens::showAndSettle(*pane, QSize(860, 290));
        QImage first = pane->grab().toImage();
        QCoreApplication::processEvents();
        QImage second = pane->grab().toImage();
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
        state.PauseTiming();
        stacks = pane->visibleDataArray().size();
        pane.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["year-ends"] = double(stacks);
    state.counters["household MB"] = household;
    state.counters["peak MB"] = double(statusBytes("VmHWM:")) / megabyte;
}

} // namespace

// Wall time: the pane's pie is painted on a pool thread while it waits.
BENCHMARK(BM_DashboardOpenTenThousandAssetCategories)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
