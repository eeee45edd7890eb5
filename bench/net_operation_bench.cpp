// The HTTP client against a local server: one large download through an operation, the same
// download by the curl program as the floor to compare with, and thirty transfers at once,
// without and with a login.
#include "net/operation/KNHTTPRequestOperation.h"

#include "support/LocalHttpServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>

#include <benchmark/benchmark.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;

namespace {

constexpr qsizetype tenMiB = 10 << 20;

LocalHttpServer& server()
{
    static LocalHttpServer* instance = [] {
        auto* created = new LocalHttpServer;
        created->setReply(u"/10mib"_s,
            { 200, { { "Content-Type", "application/octet-stream" } }, QByteArray(tenMiB, 'r') });
        created->setReply(
            u"/small"_s, { 200, { { "Content-Type", "application/json" } }, QByteArray(4096, ' ') });
        return created;
    }();
    return *instance;
}

/// Runs the operations and waits on the main loop until every completion block ran.
void runAll(const QList<std::shared_ptr<KNHTTPRequestOperation>>& operations)
{
    QEventLoop loop;
    qsizetype left = operations.size();
    for (const auto& operation : operations) {
        operation->setCompletionBlock([&] {
            if (--left == 0)
                loop.quit();
        });
        operation->start();
    }
    loop.exec();
}

void BM_DownloadTenMiB(benchmark::State& state)
{
    const QUrl url = server().url(u"/10mib"_s);
    for (auto _ : state) {
        auto operation = std::make_shared<KNHTTPRequestOperation>(net::URLRequest(url));
        runAll({ operation });
        if (!operation->responseData() || operation->responseData()->size() != tenMiB)
            state.SkipWithError("the download was not whole");
    }
    state.SetBytesProcessed(state.iterations() * tenMiB);
}
BENCHMARK(BM_DownloadTenMiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DownloadTenMiBWithCurl(benchmark::State& state)
{
    const QString url = server().url(u"/10mib"_s).toString();
    for (auto _ : state) {
        QProcess curl;
        curl.start(u"curl"_s, { u"-s"_s, u"-o"_s, u"/dev/null"_s, url });
        if (!curl.waitForFinished(60000) || curl.exitCode() != 0)
            state.SkipWithError("curl failed (is the curl package installed?)");
    }
    state.SetBytesProcessed(state.iterations() * tenMiB);
}
BENCHMARK(BM_DownloadTenMiBWithCurl)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThirtyInFlight(benchmark::State& state)
{
    const QUrl url = server().url(u"/small"_s);
    for (auto _ : state) {
        QList<std::shared_ptr<KNHTTPRequestOperation>> operations;
        for (int i = 0; i < 30; ++i)
            operations.append(std::make_shared<KNHTTPRequestOperation>(net::URLRequest(url)));
        runAll(operations);
    }
}
BENCHMARK(BM_ThirtyInFlight)->Unit(benchmark::kMillisecond)->UseRealTime();

// An operation with a login of its own gets a network access manager of its own, and so a
// new connection: what that costs against the shared one.
void BM_ThirtyInFlightWithCredential(benchmark::State& state)
{
    const QUrl url = server().url(u"/small"_s);
    for (auto _ : state) {
        QList<std::shared_ptr<KNHTTPRequestOperation>> operations;
        for (int i = 0; i < 30; ++i) {
            operations.append(std::make_shared<KNHTTPRequestOperation>(net::URLRequest(url)));
            operations.last()->setCredential(net::URLCredential { u"ann"_s, u"pw"_s });
        }
        runAll(operations);
    }
}
BENCHMARK(BM_ThirtyInFlightWithCredential)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    KNURLConnectionOperation::stopNetworkThread();
    return 0;
}
