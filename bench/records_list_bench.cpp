// The record list on the generated household (50 years, 200 categories: 600 records):
// the reload after "dataReFetched" up to the visible rows built, and a scroll through the
// whole list.
#include "BenchData.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "records/list/TableBaseViewController.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

namespace {

void BM_ReloadAfterDataReFetched(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    TableBaseViewController list;
    list.resize(340, 800);
    list.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
        // The rows in view are built before the next paint: run until then.
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(list.tableView()->indexWidget(list.tableView()->model()->index(0, 0)));
    }
    state.counters["records"] = list.tableView()->model()->rowCount();
}

void BM_ScrollThroughTheList(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    TableBaseViewController list;
    list.resize(340, 800);
    list.show();
    QCoreApplication::processEvents();
    QScrollBar* bar = list.tableView()->verticalScrollBar();
    for (auto _ : state) {
        platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
        for (int value = 0; value <= bar->maximum(); value += 700) {
            bar->setValue(value);
            QCoreApplication::processEvents();
        }
    }
}

} // namespace

BENCHMARK(BM_ReloadAfterDataReFetched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollThroughTheList)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
