// Costs of turning amounts into currency text and back, which every screen does for every
// row, label and axis tick; and of the date helpers the reports call per record.
#include "model/data/MVX_Model.h"
#include "model/dates/DateUtilities.h"
#include "model/format/CurrencyNumberFormat.h"
#include "model/format/NWCurrencyFormatter.h"
#include "model/store/NWData.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

namespace {

void useBaseCurrency(const QString& code)
{
    auto model = MVX_Model::makeEmpty();
    model->setBaseCurrency(code);
    NWData::shared()->setAppData(model);
}

} // namespace

// The screens' common case: one formatter, the same settings at every call.
static void BM_FormatBaseCurrency(benchmark::State& state)
{
    useBaseCurrency(u"USD"_s);
    const NWCurrencyFormatter formatter(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    double amount = -1'234'567.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatter.stringFromNumber(amount));
        amount += 1.0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatBaseCurrency);

// A base currency outside the table: its locale is looked up among all available locales.
static void BM_FormatCurrencyOutsideTable(benchmark::State& state)
{
    useBaseCurrency(u"ARS"_s);
    const NWCurrencyFormatter formatter(0, NWCurrencyFormatter::parenthesesNegativeFormat());
    for (auto _ : state)
        benchmark::DoNotOptimize(formatter.stringFromNumber(1234.5));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatCurrencyOutsideTable);

// Value pop-ups: the short form picks one of three digit settings by size.
static void BM_ShortForm(benchmark::State& state)
{
    useBaseCurrency(u"EUR"_s);
    const double amounts[] = { 2'500'000, 12'345'678, 250'000, 99'999, -2'500'000 };
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NWCurrencyFormatter::currencyFormattedString(amounts[i % 5], true));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShortForm);

// The ICU formatter built afresh at every call, as when settings keep changing (more settings
// than the per-thread cache holds): the cost the cache saves.
static void BM_FormatUncached(benchmark::State& state)
{
    std::vector<CurrencyNumberFormat::Settings> settings;
    for (int digits = 0; digits < 20; ++digits)
        settings.push_back({ u"en_US"_s, u"USD"_s, u"$"_s, digits, u"(¤00.0)"_s });
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CurrencyNumberFormat::format(-1234.5, settings[i % settings.size()]));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatUncached);

static void BM_ParseTypedAmount(benchmark::State& state)
{
    useBaseCurrency(u"USD"_s);
    const NWCurrencyFormatter formatter(2, NWCurrencyFormatter::parenthesesNegativeFormat());
    const QString text = u"$1,234,567.89"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(formatter.numberFromString(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseTypedAmount);

static void BM_MonthDateAndDayNumber(benchmark::State& state)
{
    int month = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateUtilities::dateWithYear(2000 + month / 12, month % 12 + 1));
        benchmark::DoNotOptimize(DateUtilities::dayNumber(2000 + month / 12, month % 12 + 1));
        month = (month + 1) % 1200;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MonthDateAndDayNumber);

int main(int argc, char** argv)
{
    // The store reads the user's settings when it is made: give it an empty home of its own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(u".config"_s).toUtf8());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
