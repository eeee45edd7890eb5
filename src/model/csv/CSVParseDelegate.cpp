#include "model/csv/CSVParseDelegate.h"

void CSVParseDelegate::parserDidBeginDocument()
{
    m_lines.clear();
    m_error.clear();
}

void CSVParseDelegate::parserDidBeginLine(qsizetype /*lineNumber*/)
{
    m_currentLine.clear();
}

void CSVParseDelegate::parserDidReadField(const QString& field, qsizetype /*index*/)
{
    m_currentLine.append(field);
}

void CSVParseDelegate::parserDidEndLine(qsizetype /*lineNumber*/)
{
    m_lines.append(m_currentLine);
    m_currentLine.clear();
}

void CSVParseDelegate::parserDidFailWithError(const QString& error)
{
    m_lines.clear();
    m_currentLine.clear();
    m_error = error;
}
