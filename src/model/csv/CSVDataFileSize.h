#pragma once

#include "model/csv/CSVByteScanner.h"
#include "model/csv/CSVImportRules.h"

#include <QString>
#include <QStringList>

#include <vector>

/// Counts the bytes of the data file an imported model makes, from the fields of the CSV
/// lines it is read from, before the model is made: the store writes the model with
/// `ModelJSONWriter` and refuses a data file larger than it reads back, and a model takes
/// many times the bytes of its text, so a CSV whose data would be refused is better refused
/// before its model is built. The count is exact for the model as the store installs it
/// (every category with a tag list, every record with its day number).
class CSVDataFileSize {
public:
    using Field = CSVByteScanner::Field;

    /// The frame of an empty model.
    CSVDataFileSize();

    qint64 bytes() const { return m_bytes; }

    /// A data line of the tags section, as `csv::rules::readTag` reads it.
    void addTag(const std::vector<Field>& line);
    /// A data line of a category section, as `csv::rules::readCategory` reads it.
    void addCategory(const std::vector<Field>& line, csv::rules::Section section);
    /// The IDs of the ID line, with the side on which each ID's values are kept.
    void setValueColumns(const QStringList& ids, const std::vector<csv::rules::Side>& sides);
    /// A record line, checked as the reader checks it: throws `csv::rules::ReadError` with
    /// the reader's reason for a line it would refuse.
    void addRecord(const std::vector<Field>& line, qsizetype recordNumber);

    /// The bytes of a text as a JSON string of the data file.
    static qint64 jsonString(const QString& text);
    static qint64 jsonString(const Field& field);

private:
    // Adds an element to one of the model's lists, with the comma before all but the first.
    void addElement(qsizetype& count, qint64 elementBytes);

    qint64 m_bytes = 0;
    qsizetype m_tags = 0;
    qsizetype m_assets = 0;
    qsizetype m_liabilities = 0;
    qsizetype m_records = 0;
    QStringList m_ids;
    std::vector<csv::rules::Side> m_sides;
    // Per side (asset, liability): how many values a record keeps, and their bytes but for
    // the year, month and value.
    qsizetype m_valueCount[2] = { 0, 0 };
    qint64 m_valueFrames[2] = { 0, 0 };
};
