#include "uikit/extensions/StringCommon.h"

using namespace Qt::Literals::StringLiterals;

QString StringCommon::stringByStrippingWhitespace(const QString& text)
{
    return text.trimmed();
}

bool StringCommon::isBlank(const QString& text)
{
    return stringByStrippingWhitespace(text).isEmpty();
}

bool StringCommon::contains(const QString& text, const QString& other)
{
    return text.contains(other, Qt::CaseSensitive);
}

QString StringCommon::substringFrom(const QString& text, qsizetype from, qsizetype to)
{
    from = qBound<qsizetype>(0, from, text.size());
    to = qBound<qsizetype>(0, to, text.size());
    if (to <= from)
        return QString(u""_s);
    return text.mid(from, to - from);
}

QStringList StringCommon::splitOnChar(const QString& text, char separator)
{
    // A signed char above 127 widens to a negative code that no character has.
    const int code = static_cast<signed char>(separator);
    QStringList pieces;
    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const bool isSeparator = code >= 0 && text[i].unicode() == code;
        if (isSeparator) {
            pieces.append(text.mid(start, i - start));
            start = i + 1;
        }
        if (i == length - 1) {
            if (isSeparator)
                pieces.append(QString(u""_s));
            else
                pieces.append(text.mid(start));
        }
    }
    return pieces;
}
