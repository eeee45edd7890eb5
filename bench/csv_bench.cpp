// CSV export and import of a large household: 50 years of monthly records over 200
// categories, against a plain write and read of the same number of bytes.
#include "model/store/NWData.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

namespace {

QTemporaryDir* workDir = nullptr;

std::shared_ptr<MVX_Model> largeModel()
{
    auto model = MVX_Model::makeEmpty();
    for (int i = 0; i < 10; ++i) {
        auto tag = std::make_shared<MVX_Tags>();
        tag->setID(u"TAG-%1"_s.arg(i));
        tag->setName(u"Tag %1"_s.arg(i));
        model->tags()->append(tag);
    }
    for (int i = 0; i < 200; ++i) {
        auto category = std::make_shared<MVX_Category>();
        category->setID(u"CAT-%1-0000-0000-0000-000000000000"_s.arg(i, 8, 10, QChar(u'0')));
        category->setCategoryName(u"Category %1"_s.arg(i));
        category->setDesc(u"Description, with a comma"_s);
        category->setCurrency(u"USD"_s);
        category->setTags(QStringList { u"TAG-%1"_s.arg(i % 10) });
        (i < 150 ? model->assetscat() : model->liabilitycat())->append(category);
    }
    for (int m = 600 - 1; m >= 0; --m) {
        auto record = std::make_shared<MVX_NWLog>();
        record->setYear(1975 + m / 12);
        record->setMonth(m % 12 + 1);
        record->setNote(u"Month %1"_s.arg(m));
        record->setAssetLogs(MVX_CategoryLogList());
        record->setLiabilityLogs(MVX_CategoryLogList());
        double assets = 0;
        double liabilities = 0;
        for (int i = 0; i < 200; ++i) {
            auto log = std::make_shared<MVX_CategoryLog>();
            const bool asset = i < 150;
            const auto& category = asset ? model->assetscat()->at(i) : model->liabilitycat()->at(i - 150);
            log->setCategoryID(category->ID());
            log->setYear(record->year());
            log->setMonth(record->month());
            const double value = 1000.0 + m * 13.37 + i * 0.25;
            log->setValue(value);
            (asset ? assets : liabilities) += value;
            (asset ? record->assetLogs() : record->liabilityLogs())->append(log);
        }
        record->setAssets(assets);
        record->setLiabilities(liabilities);
        record->setNw(assets - liabilities);
        model->nwLogArray()->append(record);
    }
    return model;
}

QByteArray exportedBytes()
{
    NWData store;
    store.setAppData(largeModel());
    return store.csvText().valueOr(QByteArray());
}

bool writePlain(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

static void BM_ExportToCSV(benchmark::State& state)
{
    NWData store;
    store.setAppData(largeModel());
    const QString path = workDir->filePath(u"export.csv"_s);
    for (auto _ : state) {
        if (store.exportToCSV(path))
            state.SkipWithError("export failed");
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_ExportToCSV)->Unit(benchmark::kMillisecond);

static void BM_ImportFromCSV(benchmark::State& state)
{
    NWData store;
    store.setAppData(largeModel());
    const QString path = workDir->filePath(u"import.csv"_s);
    if (store.exportToCSV(path))
        state.SkipWithError("export failed");
    for (auto _ : state) {
        auto model = NWData::importCSVFromFilePath(path);
        if (!model)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(model);
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(BM_ImportFromCSV)->Unit(benchmark::kMillisecond);

// The floor for both: writing and reading the same bytes with no work on them.
static void BM_PlainWriteSameBytes(benchmark::State& state)
{
    const QByteArray bytes = exportedBytes();
    const QString path = workDir->filePath(u"plain.csv"_s);
    for (auto _ : state) {
        if (!writePlain(path, bytes))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond);

static void BM_PlainReadSameBytes(benchmark::State& state)
{
    const QByteArray bytes = exportedBytes();
    const QString path = workDir->filePath(u"plain.csv"_s);
    if (!writePlain(path, bytes))
        state.SkipWithError("write failed");
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(file.readAll());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_PlainReadSameBytes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // The store reads the user's settings when it is made: give it an empty home of its own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(u".config"_s).toUtf8());
    workDir = &home;
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
