#pragma once

#include "model/csv/CSVParser.h"

#include <QList>
#include <QStringList>

/// Collects what a `CSVParser` reports into lines of field texts. A failed parse leaves
/// no lines and keeps the reason.
class CSVParseDelegate : public CSVParserDelegate {
public:
    void parserDidBeginDocument() override;
    void parserDidBeginLine(qsizetype lineNumber) override;
    void parserDidReadField(const QString& field, qsizetype index) override;
    void parserDidEndLine(qsizetype lineNumber) override;
    void parserDidFailWithError(const QString& error) override;

    /// Every line reported so far, in file order.
    const QList<QStringList>& lines() const { return m_lines; }
    /// Why the parse failed; null when it did not.
    const QString& error() const { return m_error; }

private:
    QList<QStringList> m_lines;
    QStringList m_currentLine;
    QString m_error;
};
