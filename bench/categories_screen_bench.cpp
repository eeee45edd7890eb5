// The category screen on the generated household (50 years, 200 categories): both lists
// rebuilt after "dataReFetched" up to the visible rows built, and a reorder (renumbering,
// sorting and reloading the list; the save's writing runs off the main thread and is not
// part of it).
#include "BenchData.h"
#include "ScreenBench.h"
#include "categories/screen/CategoryListModel.h"
#include "categories/screen/CategoryListPane.h"
#include "categories/screen/CategoryViewController.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListView>

namespace {

void BM_ReloadBothListsAfterDataReFetched(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    CategoryViewController screen;
    benchscreens::showAndSettle(screen, QSize(1000, 800));
    for (auto _ : state) {
        benchscreens::reloadAndSettle();
        benchmark::DoNotOptimize(screen.tableViewA()->indexWidget(screen.tableViewA()->model()->index(0, 0)));
    }
    state.counters["assets"] = screen.tableViewA()->model()->rowCount();
    state.counters["liabilities"] = screen.tableViewL()->model()->rowCount();
}

void BM_ReorderTheAssetList(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    CategoryViewController screen;
    benchscreens::showAndSettle(screen, QSize(1000, 800));
    CategoryListModel* list = screen.assetPane()->listModel();
    const int count = list->rowCount();
    for (auto _ : state) {
        // The last row to the top: every number changes.
        benchmark::DoNotOptimize(list->moveCategory(count - 1, 0));
        QCoreApplication::processEvents();
    }
    state.counters["assets"] = count;
}

} // namespace

BENCHMARK(BM_ReloadBothListsAfterDataReFetched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReorderTheAssetList)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
