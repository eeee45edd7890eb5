#pragma once

#include "model/data/MVX_Model.h"
#include "platform/Expected.h"

#include <QByteArray>
#include <QByteArrayView>
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

    /// Room for any number's text.
    static constexpr int maxNumberLength = 64;
    /// Writes the text a finite `value` is given in the document into `buffer` (not ended by
    /// a zero) and returns its length: the shortest that reads back as the same double, in
    /// plain notation where that stays short (100000 rather than 1e+05).
    static int numberText(double value, char (&buffer)[maxNumberLength]);
    /// The bytes `utf8` takes in the document as a string, its quotes and escapes included.
    static qint64 stringLength(QByteArrayView utf8);
};
