// The dashboard's chart pane on the generated household (50 years, 200 categories): the refresh
// after "dataReFetched" (pie, bars and totals line) for the net-worth split and for the asset
// categories, with the pane painted; and the start-up to a painted dashboard with the 13 MB data
// file against the start-up without a data file plus the store's load of that file, all three
// measured in the same run.
#include "BenchData.h"
#include "ScreenBench.h"
#include "app/shell/AppDelegate.h"
#include "charts/kit/GraphHostingView.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/totals/TotalsViewController.h"
#include "model/settings/Preferences.h"
#include "model/store/NWData.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

void BM_RefreshAfterDataReFetched(benchmark::State& state)
{
    benchdata::installLargeHousehold();
    PieChartSettings::setPieDisplayType(PieChartSettings::PieDisplayType(state.range(0)));
    TotalsViewController totals;
    benchscreens::showAndSettle(totals, QSize(860, 290));
    QImage image(totals.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        benchscreens::reloadAndSettle();
        QPainter painter(&image);
        totals.render(&painter);
    }
    state.counters["slices"] = double(totals.pie().slices.size());
    state.counters["bar plots"] = double(totals.hostViewB()->hostedGraph()->allPlots().size());
}

// Sees the dashboard's totals line paint for the first time.
class FirstPaint : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == u"testText"_s)
            painted = true;
        return false;
    }
};

// Milliseconds from making the application's delegate to the dashboard's first paint.
double startToPaintedDashboard()
{
    FirstPaint seen;
    qApp->installEventFilter(&seen);
    QElapsedTimer timer;
    timer.start();
    auto delegate = std::make_unique<AppDelegate>();
    delegate->start();
    while (!seen.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    qApp->removeEventFilter(&seen);
    delegate->applicationWillTerminate();
    delegate.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return elapsed;
}

void BM_StartUpToAPaintedDashboard(benchmark::State& state)
{
    Preferences::setShowStartForm(false);
    NWData& store = *NWData::shared();
    store.setAppData(benchdata::generateModel(50, 200));
    if (store.saveData(false))
        state.SkipWithError("the data file could not be written");
    const QString path = NWData::dataFilePath();
    const QString aside = path + u".aside"_s;
    double withFile = 0;
    double withoutFile = 0;
    double load = 0;
    for (auto _ : state) {
        QFile::rename(path, aside);
        store.setAppData(MVX_Model::makeEmpty());
        withoutFile += startToPaintedDashboard();
        QFile::remove(path);
        QFile::rename(aside, path);

        QElapsedTimer timer;
        timer.start();
        NWData loader;
        if (loader.getApplicationData())
            state.SkipWithError("the data file could not be read");
        load += double(timer.nsecsElapsed()) / 1e6;

        withFile += startToPaintedDashboard();
    }
    const double runs = double(state.iterations());
    state.counters["with file ms"] = withFile / runs;
    state.counters["without file ms"] = withoutFile / runs;
    state.counters["store load ms"] = load / runs;
    state.counters["ratio"] = withFile / (withoutFile + load);
    state.counters["file MB"] = double(QFileInfo(path).size()) / 1e6;
}

} // namespace

BENCHMARK(BM_RefreshAfterDataReFetched)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToAPaintedDashboard)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return benchscreens::run(argc, argv);
}
