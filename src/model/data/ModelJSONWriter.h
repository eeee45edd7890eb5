#pragma once

#include "model/data/MVX_Model.h"
#include "platform/Expected.h"

#include <QByteArray>
#include <QString>

#include <optional>

/// Writes a model as the data document: compact UTF-8 JSON, every member written (absent
/// values as null), flags as 1 and 0, doubles with the fewest digits that read back as
/// the same value.
class ModelJSONWriter {
public:
    /// The document's bytes, or an error when the model holds a number that is not finite
    /// (JSON has no way to write it).
    static platform::Expected<QByteArray> toJSON(const MVX_Model& model);
};
