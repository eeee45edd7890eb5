// The CSV import of a 50 MB file on a background thread: its time and its peak memory
// against the file's size, for the reader over the bytes and for the reader over lines of
// texts it replaced. Each import runs in a fresh child process, so that memory freed by one
// and kept by the allocator does not hide the next one's peak.
#include "ProcessMemory.h"
#include "model/csv/CSVImport.h"
#include "model/csv/CSVParseDelegate.h"
#include "model/csv/CSVParser.h"
#include "platform/Dispatch.h"
#include "platform/FileIO.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdio>
#include <future>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qint64 kTargetBytes = 50'000'000;
constexpr int kAssets = 150;
constexpr int kLiabilities = 50;

QString categoryID(int c)
{
    return u"6F9619FF-8B86-D011-B42D-%1"_s.arg(c, 12, 10, QChar(u'0'));
}

// An export of a household of 200 categories with seven-digit amounts, some negative, one
// record per month from 1900 on, written line by line until it holds 50 MB.
bool generate(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray text = "TAGS,ID,Name,Description\n,T-1,Home,Everything at home\n\n";
    text += "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n";
    for (int c = 0; c < kAssets; ++c)
        text += u",%1,Asset %2,Held since %2,0,USD,T-1\n"_s.arg(categoryID(c)).arg(c).toUtf8();
    text += "\nLiability Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n";
    for (int c = kAssets; c < kAssets + kLiabilities; ++c)
        text += u",%1,Loan %2,,0,USD,\n"_s.arg(categoryID(c)).arg(c).toUtf8();
    text += "\nNW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,";
    for (int c = 0; c < kAssets + kLiabilities; ++c)
        text += ',' + categoryID(c).toUtf8();
    text += '\n';
    qint64 written = 0;
    for (int month = 0; written + text.size() < kTargetBytes; ++month) {
        if (text.size() > (1 << 20)) {
            written += file.write(text);
            text.clear();
        }
        QByteArray values;
        double assets = 0;
        double liabilities = 0;
        for (int c = 0; c < kAssets + kLiabilities; ++c) {
            const qint64 cents = (qint64(month) * 7919 + qint64(c) * 104729) % 900'000'000 + 100'000'000;
            const double amount = double(c % 17 == 0 ? -cents : cents) / 100.0;
            (c < kAssets ? assets : liabilities) += amount;
            values += ',' + QByteArray::number(amount, 'f', 2);
        }
        text += ',' + QByteArray::number(1900 + month / 12) + ',' + QByteArray::number(month % 12 + 1)
            + ",Month " + QByteArray::number(month) + ',' + QByteArray::number(assets, 'f', 2) + ','
            + QByteArray::number(liabilities, 'f', 2) + ',' + QByteArray::number(assets - liabilities, 'f', 2)
            + values + '\n';
    }
    written += file.write(text);
    return file.flush() && written == file.size();
}

// The reader over lines of texts, as the import read before: the whole text decoded, every
// line a list of texts, then the model.
platform::Expected<std::shared_ptr<MVX_Model>> importThroughLines(const QString& path)
{
    platform::Expected<platform::FileContents> contents = platform::readRegularFile(path);
    if (!contents)
        return platform::Unexpected(contents.error());
    QStringDecoder decoder(QStringConverter::Utf8);
    CSVParser parser(decoder(contents->bytes));
    CSVParseDelegate delegate;
    parser.setDelegate(&delegate);
    if (!parser.parse())
        return platform::Unexpected(delegate.error());
    return csv::modelFromLines(delegate.lines());
}

// In the child: one import on a background thread; prints its seconds, the growth of the
// peak resident memory during it, the growth that remains while the model is held, and the
// number of category values the model holds.
int measure(const QString& mode, const QString& path)
{
    const qint64 baseline = statusBytes("VmRSS:");
    // Resets the peak to what is resident now.
    QFile clear(u"/proc/self/clear_refs"_s);
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return 2;
    clear.close();
    std::promise<platform::Expected<std::shared_ptr<MVX_Model>>> done;
    QElapsedTimer timer;
    timer.start();
    platform::runInBackground([&] {
        done.set_value(mode == u"lines"_s ? importThroughLines(path)
                                          : csv::importCSVFromFilePath(path, [] { return false; }));
    });
    const platform::Expected<std::shared_ptr<MVX_Model>> model = done.get_future().get();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!model)
        return 3;
    qint64 values = 0;
    for (const auto& record : *(*model)->nwLogArray())
        values += record->assetLogs()->size() + record->liabilityLogs()->size();
    std::printf("%.6f %lld %lld %lld\n", seconds, (long long)(statusBytes("VmHWM:") - baseline),
        (long long)(statusBytes("VmRSS:") - baseline), (long long)values);
    return 0;
}

QTemporaryDir* workDir = nullptr;

QString csvPath()
{
    static const QString path = [] {
        const QString generated = workDir->filePath(u"household.csv"_s);
        return generate(generated) ? generated : QString();
    }();
    return path;
}

void importInChild(benchmark::State& state, const QString& mode)
{
    const QString path = csvPath();
    if (path.isEmpty()) {
        state.SkipWithError("the CSV file could not be written");
        return;
    }
    const double size = double(QFile(path).size());
    double peak = 0;
    double held = 0;
    double values = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), { u"--measure"_s, mode, path });
        if (!child.waitForFinished(-1) || child.exitCode() != 0) {
            state.SkipWithError("the import failed");
            return;
        }
        const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
        if (figures.size() != 4) {
            state.SkipWithError("the child reported nothing");
            return;
        }
        state.SetIterationTime(figures[0].toDouble());
        peak = std::max(peak, figures[1].toDouble());
        held = std::max(held, figures[2].toDouble());
        values = figures[3].toDouble();
    }
    state.SetBytesProcessed(state.iterations() * qint64(size));
    state.counters["csv_MB"] = size / 1e6;
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["model_MB"] = held / 1e6;
    // The peak against the file, and what reading adds to the model it builds.
    state.counters["peak_per_csv"] = peak / size;
    state.counters["model_per_csv"] = held / size;
    state.counters["reading_per_csv"] = (peak - held) / size;
    // What one category value costs held in the model, against its few bytes of text.
    state.counters["model_bytes_per_value"] = values > 0 ? held / values : 0;
}

void BM_ImportCSVInBackground(benchmark::State& state)
{
    importInChild(state, u"bytes"_s);
}
BENCHMARK(BM_ImportCSVInBackground)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_ImportCSVThroughLines(benchmark::State& state)
{
    importInChild(state, u"lines"_s);
}
BENCHMARK(BM_ImportCSVThroughLines)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--measure") == 0)
        return measure(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QTemporaryDir dir;
    workDir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
