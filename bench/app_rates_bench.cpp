// The daily rate document is read on the main thread: the whole reading, from bytes to the
// store's rates in the base currency, must stay far below a frame.
#include "app/rates/ExchangeRateFeed.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "platform/XMLParser.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

// A document of the published size: every table currency but the euro, and a few the
// table does not know.
QByteArray dailyDocument()
{
    QByteArray cubes;
    const char* codes[] = { "USD", "JPY", "BGN", "CZK", "DKK", "GBP", "HUF", "PLN", "RON", "SEK", "CHF", "ISK",
        "NOK", "TRY", "AUD", "BRL", "CAD", "CNY", "HKD", "IDR", "ILS", "INR", "KRW", "MXN", "MYR", "NZD", "PHP",
        "SGD", "THB", "ZAR", "RUB", "HRK" };
    double rate = 1.1;
    for (const char* code : codes) {
        cubes += "\t\t\t<Cube currency='" + QByteArray(code) + "' rate='" + QByteArray::number(rate, 'f', 4)
            + "'/>\n";
        rate *= 1.37;
    }
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<env:Envelope xmlns:env="urn:example:envelope" xmlns="urn:example:rates">
	<env:subject>Reference rates</env:subject>
	<env:Sender><env:name>Reference rate publisher</env:name></env:Sender>
	<Cube>
		<Cube time='2026-12-04'>
)" + cubes
        + "\t\t</Cube>\n\t</Cube>\n</env:Envelope>\n";
}

} // namespace

static void BM_ReadDailyDocumentIntoTheStore(benchmark::State& state)
{
    NWData store;
    store.setAppData(MVX_Model::makeEmpty());
    store.appData()->setBaseCurrency(u"USD"_s);
    store.exchangeRateUpdateOnBaseCurrencyChange();
    const QByteArray document = dailyDocument();
    for (auto _ : state) {
        platform::XMLParser parser(document);
        const auto rates = ExchangeRateFeed::ratesIn(parser);
        if (!rates || rates->size() != 32)
            state.SkipWithError("the document did not read");
        benchmark::DoNotOptimize(ExchangeRateFeed::applyRates(store, *rates));
    }
    state.counters["bytes"] = double(document.size());
}
BENCHMARK(BM_ReadDailyDocumentIntoTheStore)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
