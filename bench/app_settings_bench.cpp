// The settings popover on the 50-year x 200-category household: opening it (controller made,
// every control filled, shown in its popover, laid out, closed and gone). The keychain and
// the reminders answer from memory, so that the figure is the popover's own.

#include "BenchData.h"
#include "ScreenBench.h"

#include "app/settings/NWSettingsViewController.h"
#include "uikit/popover/PKPopoverController.h"

#include <QApplication>
#include <QLayout>

#include <benchmark/benchmark.h>

namespace {

SettingsServices inMemoryServices()
{
    SettingsServices services;
    services.password.read = [](QObject*, auto done) {
        done(SettingsServices::Password::Stored { true, QStringLiteral("the usual") });
    };
    services.password.setPasswordAndHint
        = [](const QString&, const QString&, QObject*, auto done) { done(platform::MaybeError()); };
    services.reminder.firstScheduledDate = [] { return std::optional<QDateTime>(); };
    services.reminder.schedule = [](const QDateTime&) {};
    services.reminder.removeFirst = [] {};
    services.newPicker = [](const QList<GenericSelectionRecord>&, const QString&) { return new QWidget; };
    return services;
}

void BM_OpenSettingsPopover(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    QWidget anchor;
    benchscreens::showAndSettle(anchor, QSize(800, 600));
    for (auto _ : state) {
        auto* settings = new NWSettingsViewController(inMemoryServices());
        auto* popover = new PKPopoverController(settings);
        popover->setDefaultProperties_ItemEdit();
        popover->setAnimates(false);
        popover->showRelativeToRect(QRectF(10, 10, 20, 20), &anchor, platform::RectEdge::MaxY);
        settings->layout()->activate();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(settings->maxYearsToShow());
        popover->forceClosePopover();
        delete popover;
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_OpenSettingsPopover)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
