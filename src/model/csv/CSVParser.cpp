#include "model/csv/CSVParser.h"

#include "platform/Strings.h"

namespace {

// Stands in when no delegate was set, so that parse() still validates the text.
CSVParserDelegate& silentDelegate()
{
    static CSVParserDelegate delegate;
    return delegate;
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

} // namespace

bool CSVParser::parse()
{
    CSVParserDelegate& delegate = m_delegate ? *m_delegate : silentDelegate();
    const QChar* const begin = m_text.constData();
    const QChar* const end = begin + m_text.size();
    const QChar* p = begin;
    qsizetype lineNumber = 0;
    qsizetype physicalLine = 1;

    auto fail = [&](const QString& reason) {
        delegate.parserDidFailWithError(platform::Strings::tr("line %1: %2").arg(physicalLine).arg(reason));
        return false;
    };
    auto skipLineEnd = [&] {
        if (p < end && *p == u'\r')
            ++p;
        if (p < end && *p == u'\n')
            ++p;
        ++physicalLine;
    };

    delegate.parserDidBeginDocument();
    while (p < end) {
        if (isLineEnd(*p)) {
            skipLineEnd();
            continue;
        }
        delegate.parserDidBeginLine(++lineNumber);
        qsizetype index = 0;
        QString field;
        for (;;) {
            field.clear();
            if (p < end && *p == u'"') {
                const qsizetype startLine = physicalLine;
                ++p;
                for (;;) {
                    if (p == end) {
                        physicalLine = startLine;
                        return fail(platform::Strings::tr("a quoted field is not closed"));
                    }
                    if (*p == u'"') {
                        if (p + 1 < end && p[1] == u'"') {
                            field += u'"';
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    if (*p == u'\n' || (*p == u'\r' && (p + 1 == end || p[1] != u'\n')))
                        ++physicalLine;
                    field += *p++;
                }
                if (p < end && *p != u',' && !isLineEnd(*p))
                    return fail(platform::Strings::tr("unexpected text after a quoted field"));
            } else {
                const QChar* start = p;
                while (p < end && *p != u',' && !isLineEnd(*p))
                    ++p;
                field = QString(start, p - start);
            }
            delegate.parserDidReadField(field, index++);
            if (p < end && *p == u',') {
                ++p;
                continue;
            }
            break;
        }
        delegate.parserDidEndLine(lineNumber);
        if (p < end)
            skipLineEnd();
    }
    delegate.parserDidEndDocument();
    return true;
}
