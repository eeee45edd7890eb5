#pragma once

#include "model/data/MVX_Model.h"
#include "platform/Expected.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

/// Reads the layout `csv::csvText` writes into a new model, which the caller owns. Lines
/// are sorted into sections by their first field ("TAGS", "Asset", "Liability", "NW"), so
/// sections may stand in any order; lines before the first section are ignored. A record
/// line must carry exactly one value per ID of the ID line; numbers must be plain decimal
/// numbers (an empty field is an absent number). Anything else fails the whole read with
/// the reason as the error; nothing outside the result is changed.
namespace csv {

/// The version an imported model carries.
inline const QString importedModelVersion = QStringLiteral("2.12");

/// The model read from the file at `path`.
platform::Expected<std::shared_ptr<MVX_Model>> importCSVFromFilePath(const QString& path);
/// The same from the file's bytes (UTF-8; a byte-order mark is skipped).
platform::Expected<std::shared_ptr<MVX_Model>> modelFromCSVData(const QByteArray& bytes);
/// The model read from lines of fields, as `CSVParseDelegate` collects them.
platform::Expected<std::shared_ptr<MVX_Model>> modelFromLines(const QList<QStringList>& lines);

} // namespace csv
