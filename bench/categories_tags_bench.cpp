// The tags screen on the generated household (50 years, 200 categories) with 20 tags, each
// carried by every tenth category from its own start: the reload of the tag list and of the
// selected tag's detail lists after "dataReFetched", up to the visible rows built, and the
// opening of the tag editor.
#include "BenchData.h"
#include "ScreenBench.h"
#include "categories/tags/TagEditControl.h"
#include "categories/tags/TagEditorPopover.h"
#include "categories/tags/TagsViewController.h"
#include "model/ModelNotifications.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "uikit/popover/PKPopoverController.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLayout>
#include <QListView>

namespace {

void installTaggedHousehold()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    benchdata::installLargeHousehold();
    NWData& store = *NWData::shared();
    const auto& model = store.appData();
    QList<std::shared_ptr<MVX_Category>> categories = model->assetscat().value_or(MVX_CategoryList());
    categories.append(model->liabilitycat().value_or(MVX_CategoryList()));
    for (int i = 0; i < 20; ++i) {
        const auto tag = store.insertNewTag(
            QStringLiteral("Tag %1").arg(i), QStringLiteral("Tag number %1").arg(i), QStringLiteral("GREEN"));
        for (int c = i % 10; c < categories.size(); c += 10) {
            QStringList tags = categories.at(c)->tags().value_or(QStringList());
            tags.append(tag->ID());
            categories.at(c)->setTags(tags);
        }
    }
}

void BM_ReloadTagsAfterDataReFetched(benchmark::State& state)
{
    installTaggedHousehold();
    TagsViewController screen;
    benchscreens::showAndSettle(screen, QSize(1000, 800));
    screen.tableViewTag()->setCurrentIndex(screen.tableViewTag()->model()->index(3, 0));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        benchscreens::reloadAndSettle();
        benchmark::DoNotOptimize(
            screen.tableViewCategoryA()->indexWidget(screen.tableViewCategoryA()->model()->index(0, 0)));
    }
    state.counters["assets"] = double(screen.categoryArrayA().size());
    state.counters["liabilities"] = double(screen.categoryArrayL().size());
}

// Made, filled by the popover's will-show step, laid out, closed and gone.
void BM_OpenTagEditor(benchmark::State& state)
{
    installTaggedHousehold();
    QWidget anchor;
    benchscreens::showAndSettle(anchor, QSize(800, 600));
    const auto tag = NWData::shared()->appData()->tags()->at(5);
    for (auto _ : state) {
        PKPopoverController* popover = newTagEditorPopover(tag, &anchor);
        popover->setAnimates(false);
        popover->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MaxY);
        TagEditControl* editor = tagEditorOf(popover);
        editor->layout()->activate();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(editor->tagRecord());
        popover->forceClosePopover();
        delete popover;
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_ReloadTagsAfterDataReFetched)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTagEditor)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
