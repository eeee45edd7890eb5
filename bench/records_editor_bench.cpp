// The record editor on the 50-year x 200-category household: opening it for a new record
// (prefill from the newest record, 200 rows) and the main-thread part of a save.

#include "BenchData.h"
#include "ScreenBench.h"

#include "records/editor/NWEntryLogic.h"
#include "records/editor/NWEntryViewController.h"
#include "records/editor/RecordEditorPopover.h"

#include "model/data/ModelJSONWriter.h"
#include "model/store/NWData.h"
#include "uikit/popover/PKPopoverController.h"

#include <QApplication>
#include <QLayout>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Made, filled by the popover's will-show step, laid out with its visible rows, closed and gone.
void BM_OpenNewRecordEditor(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    QWidget anchor;
    benchscreens::showAndSettle(anchor, QSize(800, 600));
    for (auto _ : state) {
        PKPopoverController* popover = newRecordEditorPopover(nullptr, &anchor);
        popover->setAnimates(false);
        popover->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MaxY);
        NWEntryViewController* editor = recordEditorOf(popover);
        editor->layout()->activate();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(editor->logic().records(EntrySide::Assets).size());
        popover->forceClosePopover();
        delete popover;
        QCoreApplication::processEvents();
    }
}

// The editor's filling of the record plus saveDataAsync up to its return (sort and
// serialisation on the main thread); the write itself runs on the writer thread.
void BM_SaveMainThread(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    NWData& store = *NWData::shared();
    const auto newest = store.appData()->currentLog();
    NWEntryLogic logic(store, QDate::currentDate());
    logic.open(newest, nullptr);
    QObject context;
    for (auto _ : state) {
        if (logic.prepareSave(*newest->year(), *newest->month(), newest->note()))
            state.SkipWithError("save refused");
        store.saveDataAsync(&context, [](platform::MaybeError) {});
        state.PauseTiming();
        store.waitForPendingWrites();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The floor: the store's sort and serialisation of the same model alone.
void BM_StoreSerialisation(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    NWData& store = *NWData::shared();
    for (auto _ : state) {
        store.sortNWArray(store.appData()->nwLogArray().value_or(MVX_NWLogList()));
        auto bytes = ModelJSONWriter::toJSON(*store.appData());
        benchmark::DoNotOptimize(bytes);
    }
}

} // namespace

BENCHMARK(BM_OpenNewRecordEditor)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveMainThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StoreSerialisation)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
