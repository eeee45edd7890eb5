// The category editor on the 50-year x 200-category household: opening it on a category
// (popover made, filled by the will-show step, laid out, closed and gone).

#include "BenchData.h"
#include "ScreenBench.h"

#include "categories/editor/CategoryEditorPopover.h"
#include "categories/editor/EditCategoryViewController.h"

#include "model/store/NWData.h"
#include "uikit/popover/PKPopoverController.h"

#include <QApplication>
#include <QLayout>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_OpenCategoryEditor(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    const auto category = NWData::shared()->appData()->assetscat()->value(42);
    QWidget anchor;
    benchscreens::showAndSettle(anchor, QSize(800, 600));
    for (auto _ : state) {
        PKPopoverController* popover = newCategoryEditorPopover(category, true, &anchor);
        popover->setAnimates(false);
        popover->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MaxY);
        EditCategoryViewController* editor = categoryEditorOf(popover);
        editor->layout()->activate();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(editor->logic().category());
        popover->forceClosePopover();
        delete popover;
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_OpenCategoryEditor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
