// Costs of the platform services every screen leans on: posting a notification to
// a crowd of observers, and typed reads of the settings.
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>
#include <vector>

static void BM_PostToObservers(benchmark::State& state)
{
    platform::NotificationCenter center;
    std::vector<std::unique_ptr<QObject>> contexts;
    int delivered = 0;
    for (int i = 0; i < state.range(0); ++i) {
        contexts.push_back(std::make_unique<QObject>());
        const QString name = (i % 2) ? QStringLiteral("dataReFetched") : QStringLiteral("TagFilterChanged");
        center.addObserver(contexts.back().get(), name, [&](const platform::Notification&) { ++delivered; });
    }
    const QString name = QStringLiteral("dataReFetched");
    for (auto _ : state)
        center.post(name);
    benchmark::DoNotOptimize(delivered);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PostToObservers)->Arg(10)->Arg(100)->Arg(1000);

static void BM_UserDefaultsTypedRead(benchmark::State& state)
{
    QTemporaryDir dir;
    platform::UserDefaults defaults(dir.filePath(QStringLiteral("bench.cbor")));
    defaults.setValue(QStringLiteral("MaxAnnualYears"), 10);
    qint64 sum = 0;
    for (auto _ : state)
        sum += defaults.integer(QStringLiteral("MaxAnnualYears"), 0);
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_UserDefaultsTypedRead);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
