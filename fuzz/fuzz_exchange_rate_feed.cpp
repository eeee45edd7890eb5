// Feeds arbitrary bytes to the reading of the daily rate document and hands what it finds
// to a store: a damaged document is rejected or gives rates, never a crash, and the store
// keeps only finite rates above 0.
#include "FuzzApplication.h"
#include "app/rates/ExchangeRateFeed.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "platform/XMLParser.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    static NWData store;
    if (!store.appData()) {
        store.setAppData(MVX_Model::makeEmpty());
        store.appData()->setBaseCurrency(QStringLiteral("USD"));
        store.exchangeRateUpdateOnBaseCurrencyChange();
    }

    platform::XMLParser parser(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const auto rates = ExchangeRateFeed::ratesIn(parser);
    if (!rates)
        return 0;
    ExchangeRateFeed::applyRates(store, *rates);
    for (const auto& rate : store.exchangeRates())
        if (!std::isfinite(rate->exchangeRate()) || rate->exchangeRate() <= 0.0)
            std::abort();
    return 0;
}
