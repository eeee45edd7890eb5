// Feeds arbitrary bytes to the CSV import. Any input either fails with a reason or gives
// a model whose export reads back to the same export, byte for byte; never a crash.
#include "FuzzApplication.h"
#include "model/store/NWData.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    static NWData store;

    const auto model = NWData::modelFromCSVData(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!model) {
        if (model.error().isEmpty())
            std::abort();
        return 0;
    }
    store.setAppData(*model);
    const platform::Expected<QByteArray> first = store.csvText();
    if (!first)
        std::abort();
    const auto again = NWData::modelFromCSVData(*first);
    if (!again)
        std::abort();
    store.setAppData(*again);
    const platform::Expected<QByteArray> second = store.csvText();
    if (!second || *second != *first)
        std::abort();
    return 0;
}
