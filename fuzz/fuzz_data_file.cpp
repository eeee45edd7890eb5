// Feeds arbitrary bytes to the data-file reader: it must fail cleanly or give a model that
// the writer saves and the reader reads back to the same model, never crash.
#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const platform::Expected<ModelReadResult> result
        = ImportModel::read(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!result)
        return result.error().isEmpty() ? (abort(), 0) : 0;
    // Everything read is finite, so the writer must accept it.
    const platform::Expected<QByteArray> written = ModelJSONWriter::toJSON(*result->model);
    if (!written)
        abort();
    const platform::Expected<ModelReadResult> again = ImportModel::read(*written);
    if (!again || again->hasUnreadableParts() || !(*again->model == *result->model))
        abort();
    return 0;
}
