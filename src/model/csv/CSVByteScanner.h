#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <deque>
#include <vector>

/// Reads the records of comma-separated text straight from its UTF-8 bytes, one at a time,
/// with the rules and failure reasons of `CSVParser`, so that no decoded copy of the text or
/// list of all its lines is made. The fields are views into the bytes (or into the scanner
/// for a quoted field holding doubled quotes) and hold until the next record is read. The
/// bytes must be valid UTF-8 and outlive the scanner.
class CSVByteScanner {
public:
    struct Field {
        QByteArrayView bytes;
        bool quoted = false;
    };
    enum class Step { Record, End, Failed };

    /// Starts at `offset`, which must be the start of a line, counted as physical line
    /// `physicalLine` for the failure reasons.
    explicit CSVByteScanner(QByteArrayView text, qsizetype offset = 0, qsizetype physicalLine = 1);

    /// Goes on from `offset`, the start of a line, as physical line `physicalLine`.
    void seek(qsizetype offset, qsizetype physicalLine = 1);
    /// Reads the next record; an empty line is none.
    Step next();
    const std::vector<Field>& fields() const { return m_fields; }
    /// Where the record just read starts.
    qsizetype recordOffset() const { return m_recordOffset; }
    /// Why the text could not be read, as `CSVParser` says it.
    const QString& error() const { return m_error; }

    /// The field as `CSVParser` reports it: an empty quoted field is a null text, an empty
    /// unquoted one an empty text.
    static QString text(const Field& field);

private:
    Step fail(const QString& reason);

    const char* m_begin;
    const char* m_end;
    const char* m_p;
    qsizetype m_physicalLine;
    qsizetype m_recordOffset = 0;
    std::vector<Field> m_fields;
    // The unescaped text of quoted fields with doubled quotes; a deque keeps each in place.
    std::deque<QByteArray> m_unescaped;
    QString m_error;
};
