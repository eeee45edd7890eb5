#include "model/csv/CSVByteScanner.h"

#include "model/csv/CSVImportRules.h"
#include "platform/Strings.h"

using platform::Strings;

namespace {

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

CSVByteScanner::CSVByteScanner(QByteArrayView text, qsizetype offset, qsizetype physicalLine)
    : m_begin(text.data())
    , m_end(text.data() + text.size())
    , m_p(text.data() + offset)
    , m_physicalLine(physicalLine)
{
}

void CSVByteScanner::seek(qsizetype offset, qsizetype physicalLine)
{
    m_p = m_begin + offset;
    m_physicalLine = physicalLine;
}

CSVByteScanner::Step CSVByteScanner::fail(const QString& reason)
{
    m_error = Strings::tr("line %1: %2").arg(m_physicalLine).arg(reason);
    return Step::Failed;
}

CSVByteScanner::Step CSVByteScanner::next()
{
    const auto skipLineEnd = [this] {
        if (m_p < m_end && *m_p == '\r')
            ++m_p;
        if (m_p < m_end && *m_p == '\n')
            ++m_p;
        ++m_physicalLine;
    };
    while (m_p < m_end && isLineEnd(*m_p))
        skipLineEnd();
    if (m_p == m_end)
        return Step::End;

    m_fields.clear();
    m_unescaped.clear();
    m_recordOffset = m_p - m_begin;
    for (;;) {
        Field field;
        if (m_p < m_end && *m_p == '"') {
            field.quoted = true;
            const qsizetype startLine = m_physicalLine;
            const char* start = ++m_p;
            QByteArray unescaped;
            bool escaped = false;
            for (;;) {
                if (m_p == m_end) {
                    m_physicalLine = startLine;
                    return fail(Strings::tr("a quoted field is not closed"));
                }
                if (*m_p == '"') {
                    if (m_p + 1 < m_end && m_p[1] == '"') {
                        if (!escaped)
                            unescaped = QByteArray(start, m_p - start);
                        escaped = true;
                        unescaped += '"';
                        m_p += 2;
                        continue;
                    }
                    break;
                }
                if (*m_p == '\n' || (*m_p == '\r' && (m_p + 1 == m_end || m_p[1] != '\n')))
                    ++m_physicalLine;
                if (escaped)
                    unescaped += *m_p;
                ++m_p;
            }
            if (escaped) {
                m_unescaped.push_back(std::move(unescaped));
                field.bytes = QByteArrayView(m_unescaped.back());
            } else {
                field.bytes = QByteArrayView(start, m_p - start);
            }
            ++m_p;
            if (m_p < m_end && *m_p != ',' && !isLineEnd(*m_p))
                return fail(Strings::tr("unexpected text after a quoted field"));
        } else {
            const char* start = m_p;
            while (m_p < m_end && *m_p != ',' && !isLineEnd(*m_p))
                ++m_p;
            field.bytes = QByteArrayView(start, m_p - start);
        }
        m_fields.push_back(field);
        if (m_p < m_end && *m_p == ',') {
            ++m_p;
            continue;
        }
        break;
    }
    if (m_p < m_end)
        skipLineEnd();
    return Step::Record;
}

QString CSVByteScanner::text(const Field& field)
{
    if (field.bytes.isEmpty())
        return field.quoted ? QString() : QStringLiteral("");
    return csv::rules::decodeUtf8(field.bytes);
}
