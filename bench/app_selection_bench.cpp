// The currency picker of the settings: the selection popover opened with the 31 currencies
// (made, filled, shown up to the visible rows built, closed and gone), and one search letter
// typed into an open picker up to the matching rows built.
#include "ScreenBench.h"
#include "app/selection/GenericSelectionVC.h"
#include "model/format/Flags.h"
#include "model/store/NWData.h"
#include "uikit/popover/PKPopoverController.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <algorithm>

namespace {

QList<GenericSelectionRecord> currencyRecords()
{
    QList<std::shared_ptr<MVX_Currency>> currencies;
    for (const auto& currency : NWData::shared()->supportedCurrencies())
        currencies.append(currency);
    std::sort(currencies.begin(), currencies.end(),
        [](const auto& a, const auto& b) { return a->FullName() < b->FullName(); });
    QList<GenericSelectionRecord> records;
    for (const auto& currency : currencies) {
        GenericSelectionRecord record;
        record.setID(currency->ShortName());
        record.setName(currency->FullName());
        record.setSubtitle(currency->Symbol());
        record.setEmoji(Flags::flagEmoji(currency->ShortName().left(2)));
        records.append(record);
    }
    return records;
}

PKPopoverController* openPicker(QWidget& anchor, const QList<GenericSelectionRecord>& records)
{
    auto* picker = new GenericSelectionVC;
    auto* popover = new PKPopoverController(picker);
    popover->setDefaultProperties_ItemEdit();
    popover->setAnimates(false);
    popover->setWillShowBlock([picker, records](PKPopoverController*) {
        picker->setSelectionRecords(records);
        picker->setUnknownImageName(QString());
        picker->setMultiSelect(false);
        picker->setRadius(0);
        picker->setBorderWidth(0);
        picker->setViewTitle(QStringLiteral("Select currency"));
        picker->reloadData();
    });
    popover->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MaxX);
    QCoreApplication::processEvents();
    return popover;
}

void BM_OpenCurrencyPicker(benchmark::State& state)
{
    const QList<GenericSelectionRecord> records = currencyRecords();
    QWidget anchor;
    benchscreens::showAndSettle(anchor, QSize(800, 600));
    for (auto _ : state) {
        PKPopoverController* popover = openPicker(anchor, records);
        benchmark::DoNotOptimize(popover->contentViewController());
        popover->forceClosePopover();
        delete popover;
        QCoreApplication::processEvents();
    }
    state.counters["records"] = double(records.size());
}

void BM_TypeOneSearchLetter(benchmark::State& state)
{
    const QList<GenericSelectionRecord> records = currencyRecords();
    QWidget anchor;
    benchscreens::showAndSettle(anchor, QSize(800, 600));
    PKPopoverController* popover = openPicker(anchor, records);
    auto* picker = qobject_cast<GenericSelectionVC*>(popover->contentViewController());
    auto* search = picker->findChild<QLineEdit*>(QStringLiteral("searchField"));
    int shown = 0;
    for (auto _ : state) {
        QTest::keyClick(search, Qt::Key_D);
        QCoreApplication::processEvents();
        shown = picker->mainTableView()->model()->rowCount();
        state.PauseTiming();
        search->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["shown"] = double(shown);
    popover->forceClosePopover();
    delete popover;
}

} // namespace

BENCHMARK(BM_OpenCurrencyPicker)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeOneSearchLetter)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
