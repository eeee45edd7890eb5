// The record list on the generated household (50 years, 200 categories: 600 records):
// the reload after "dataReFetched" up to the visible rows built, and a scroll through the
// whole list.
#include "BenchData.h"
#include "ScreenBench.h"
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
    benchscreens::showAndSettle(list, QSize(340, 800));
    for (auto _ : state) {
        benchscreens::reloadAndSettle();
        benchmark::DoNotOptimize(list.tableView()->indexWidget(list.tableView()->model()->index(0, 0)));
    }
    state.counters["records"] = list.tableView()->model()->rowCount();
}

void BM_ScrollThroughTheList(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    TableBaseViewController list;
    benchscreens::showAndSettle(list, QSize(340, 800));
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
    return benchscreens::run(argc, argv);
}
