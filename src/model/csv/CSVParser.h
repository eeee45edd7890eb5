#pragma once

#include <QString>

/// What a `CSVParser` reports, in document order. Every callback has a no-op default.
class CSVParserDelegate {
public:
    virtual ~CSVParserDelegate() = default;
    virtual void parserDidBeginDocument() { }
    /// `lineNumber` counts records from 1.
    virtual void parserDidBeginLine(qsizetype lineNumber) { Q_UNUSED(lineNumber); }
    virtual void parserDidReadField(const QString& field, qsizetype index)
    {
        Q_UNUSED(field);
        Q_UNUSED(index);
    }
    virtual void parserDidEndLine(qsizetype lineNumber) { Q_UNUSED(lineNumber); }
    virtual void parserDidEndDocument() { }
    /// Sent instead of `parserDidEndDocument`; nothing follows it.
    virtual void parserDidFailWithError(const QString& error) { Q_UNUSED(error); }
};

/// A comma-separated-values reader after RFC 4180, over text already decoded.
///
/// Records end with LF, CRLF or a lone CR; the last one may lack its line end. A field
/// that starts with a double quote is quoted: it runs to the next lone quote, may hold
/// commas and line breaks, and "" stands for one quote inside it. Quotes inside an
/// unquoted field are taken as they are. An empty line is no record. A quoted field left
/// open at the end of the text, or followed by anything but a comma or a line end, fails
/// the parse.
class CSVParser {
public:
    explicit CSVParser(QString csv) : m_text(std::move(csv)) { }

    void setDelegate(CSVParserDelegate* delegate) { m_delegate = delegate; }
    /// Runs over the whole text before it returns. False when the parse failed (the
    /// delegate has been told why).
    bool parse();

private:
    QString m_text;
    CSVParserDelegate* m_delegate = nullptr;
};
