#pragma once

#include "model/data/MVX_Model.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

/// What both CSV readers (lines of texts, and records read straight from the bytes) share,
/// so that they read a file alike and fail with the same reasons.
namespace csv::rules {

/// Thrown by the readers below; caught where a whole read is answered.
struct ReadError {
    QString reason;
};

/// The section a line's first field opens, by the first of "TAGS", "Asset", "Liability" and
/// "NW" it contains; `None` when it contains none of them.
enum class Section { None, Tags, Assets, Liabilities, Records };
Section sectionOf(const QString& firstField);
Section sectionOf(QByteArrayView firstField);

/// On which side a column of the ID line keeps its values: none for an ID that names no category.
enum class Side : signed char { None, Asset, Liability };

QString fieldAt(const QStringList& line, qsizetype index);
/// UTF-8 bytes as text, as they read within the whole text: a byte-order mark at their start
/// is a character (text decoding on its own would drop it).
QString decodeUtf8(QByteArrayView bytes);

/// A plain decimal number in the C locale, or none for an empty field; anything else
/// throws with `where` in the reason.
std::optional<double> readDouble(const QString& text, const QString& where);
/// The same from the field's UTF-8 bytes; `where` is made only for a failure.
std::optional<double> readDouble(QByteArrayView bytes, qsizetype recordNumber);
/// The number's whole part clamped to the range of `int`.
std::optional<int> readInteger(const QString& text, const QString& where);
std::optional<int> readInteger(QByteArrayView bytes, qsizetype recordNumber);

/// "record line <n>", how a record is named in a failure.
QString recordName(qsizetype recordNumber);

std::shared_ptr<MVX_Tags> readTag(const QStringList& line);
std::shared_ptr<MVX_Category> readCategory(const QStringList& line);
/// Which list each category ID belongs to (true: assets); throws for an ID on both sides.
QHash<QString, bool> categorySides(const MVX_Model& model);
/// Seven empty fields, then the IDs.
bool isIDLine(const QStringList& line);
/// Throws unless a record line of `fieldCount` fields fits an ID line of `idCount` IDs.
void checkRecordWidth(qsizetype fieldCount, qsizetype idCount, bool lastFieldEmpty, qsizetype recordNumber);

/// A model with the imported version, the tags and categories of the lines grouped by
/// section (each group's first line, its header, is skipped) and no records.
std::shared_ptr<MVX_Model> importedModelWithoutRecords(const QList<QStringList>* groups);

QString noRecordsSection();
QString noIDLine();
/// Why a read that was asked to stop failed.
QString stopReason();
/// Why a read whose data file would be larger than `maxDataFileSize` failed.
QString tooLargeReason(qint64 maxDataFileSize);

} // namespace csv::rules
