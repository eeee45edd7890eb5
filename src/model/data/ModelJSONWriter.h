#pragma once

#include "model/data/MVX_Model.h"

#include <QByteArray>
#include <QString>

#include <optional>

/// Writes a model as the data document: compact UTF-8 JSON, every member written (absent
/// values as null), flags as 1 and 0, doubles with the fewest digits that read back as
/// the same value.
class ModelJSONWriter {
public:
    /// The document's bytes, or none with `error` set when the model holds a number that
    /// is not finite (JSON has no way to write it).
    static std::optional<QByteArray> toJSON(const MVX_Model& model, QString* error = nullptr);
};
