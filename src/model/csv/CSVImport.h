#pragma once

#include "model/data/MVX_Model.h"
#include "platform/Expected.h"
#include "platform/FileIO.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

/// Reads the layout `csv::csvText` writes into a new model, which the caller owns. Lines
/// are sorted into sections by their first field ("TAGS", "Asset", "Liability", "NW"), so
/// sections may stand in any order; lines before the first section are ignored.
///
/// Importing replaces all the household's data, so only a file that is an export is read:
/// it must hold the monthly records section, whose header line is followed by the line of
/// category IDs (seven empty fields, then one ID per category). Every export has both, also
/// one of no data at all; a bank statement, an empty file or an export cut short before
/// its records does not. A record line must carry exactly one value per ID of the ID line;
/// numbers must be plain decimal numbers (an empty field is an absent number). A category
/// ID may not be both an asset and a liability category, since the ID line would not say
/// on which side its values belong. Anything else fails the whole read with the reason as
/// the error; nothing outside the result is changed.
///
/// The file and the bytes are read in passes over the bytes themselves, without a decoded
/// copy of the text or a list of its lines: besides the bytes and the model, a read holds
/// one offset per line of a section. Before the model is made, the read counts the bytes of
/// the data file the model would make (exactly, as the store writes it): a file whose data
/// file would be larger than `maxDataFileSize` fails then, with `rules::tooLargeReason`,
/// having cost little more than its bytes.
namespace csv {

/// The version an imported model carries.
inline const QString importedModelVersion = QStringLiteral("2.12");

/// Asked between lines (and between steps of the UTF-8 check) while a read runs, on the
/// reading thread; true stops the read, which then fails with `stoppedReason()`.
using StopRequest = std::function<bool()>;
QString stoppedReason();

/// The model read from the file at `path` (a file larger than
/// `platform::maxReadableFileSize` is refused unread).
platform::Expected<std::shared_ptr<MVX_Model>> importCSVFromFilePath(const QString& path);
platform::Expected<std::shared_ptr<MVX_Model>> importCSVFromFilePath(
    const QString& path, const StopRequest& stop, qint64 maxDataFileSize = platform::maxReadableFileSize);
/// The same from the file's bytes (UTF-8; a byte-order mark is skipped).
platform::Expected<std::shared_ptr<MVX_Model>> modelFromCSVData(const QByteArray& bytes);
platform::Expected<std::shared_ptr<MVX_Model>> modelFromCSVData(
    const QByteArray& bytes, const StopRequest& stop, qint64 maxDataFileSize = platform::maxReadableFileSize);
/// The model read from lines of fields, as `CSVParseDelegate` collects them.
platform::Expected<std::shared_ptr<MVX_Model>> modelFromLines(const QList<QStringList>& lines);

} // namespace csv
