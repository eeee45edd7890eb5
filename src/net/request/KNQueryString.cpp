#include "net/request/KNQueryString.h"

#include "net/request/ParameterValues.h"
#include "net/request/TextEncoding.h"

#include <QLocale>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace net {
namespace {

bool isUnreservedASCII(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-'
        || c == u'.' || c == u'_' || c == u'~';
}

std::optional<QString> percentEscape(const QString& string, const QString& encoding, bool keepBrackets)
{
    auto encoder = TextEncoder::open(encoding);
    if (!encoder)
        return std::nullopt;
    static constexpr char hex[] = "0123456789ABCDEF";
    QString escaped;
    escaped.reserve(string.size());
    for (qsizetype i = 0; i < string.size(); ++i) {
        const char16_t c = string.at(i).unicode();
        if (isUnreservedASCII(c) || (keepBrackets && (c == u'[' || c == u']'))) {
            escaped.append(QChar(c));
            continue;
        }
        // A pair of surrogates is one character; a lone one is refused by the encoder.
        qsizetype length = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < string.size() && string.at(i + 1).isLowSurrogate())
            length = 2;
        const auto bytes = encoder->encode(QStringView(string).mid(i, length));
        if (!bytes || bytes->isEmpty())
            return std::nullopt;
        for (const char byte : *bytes) {
            const auto value = static_cast<unsigned char>(byte);
            escaped.append(u'%');
            escaped.append(QLatin1Char(hex[value >> 4]));
            escaped.append(QLatin1Char(hex[value & 0xF]));
        }
        i += length - 1;
    }
    return escaped;
}

QString dataDescription(const QByteArray& data)
{
    QString text = QStringLiteral("<");
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            text.append(u' ');
        text.append(QString::number(static_cast<unsigned char>(data.at(i)), 16).rightJustified(2, u'0'));
    }
    text.append(u'>');
    return text;
}

QString nestedKey(const QVariant& outer, const QString& inner)
{
    if (!outer.isValid())
        return inner;
    return KNQueryValueDescription(outer) + u'[' + inner + u']';
}

} // namespace

KNQueryStringPair::KNQueryStringPair(QVariant field, QVariant value)
    : m_field(std::move(field)), m_value(std::move(value))
{
}

std::optional<QString> KNQueryStringPair::URLEncodedStringValueWithEncoding(const QString& encoding) const
{
    const auto key = KNPercentEscapeQueryKey(KNQueryValueDescription(m_field), encoding);
    if (!key)
        return std::nullopt;
    if (const ParameterKind kind = parameterKind(m_value);
        kind == ParameterKind::None || kind == ParameterKind::NullMarker)
        return key;
    const auto value = KNPercentEscapeQueryValue(KNQueryValueDescription(m_value), encoding);
    if (!value)
        return std::nullopt;
    return *key + u'=' + *value;
}

QList<KNQueryStringPair> KNQueryPairsFromDictionary(const QVariant& parameters)
{
    return KNQueryPairsFromKeyAndValue(QVariant(), parameters);
}

QList<KNQueryStringPair> KNQueryPairsFromKeyAndValue(const QVariant& key, const QVariant& value)
{
    QList<KNQueryStringPair> pairs;
    const ParameterKind kind = parameterKind(value);
    if (kind == ParameterKind::Dictionary) {
        for (const auto& [innerKey, innerValue] : dictionaryEntriesInKeyOrder(value)) {
            if (innerValue.isValid())
                pairs.append(KNQueryPairsFromKeyAndValue(nestedKey(key, innerKey), innerValue));
        }
    } else if (kind == ParameterKind::Array) {
        const QString arrayKey = KNQueryValueDescription(key) + QStringLiteral("[]");
        for (const QVariant& element : value.toList())
            pairs.append(KNQueryPairsFromKeyAndValue(arrayKey, element));
    } else if (value.metaType() == QMetaType::fromType<QSet<QString>>()) {
        const QSet<QString> set = value.value<QSet<QString>>();
        QStringList members(set.begin(), set.end());
        std::sort(members.begin(), members.end(),
            [](const QString& a, const QString& b) { return QString::compare(a, b) < 0; });
        for (const QString& member : members)
            pairs.append(KNQueryPairsFromKeyAndValue(key, member));
    } else {
        pairs.append(KNQueryStringPair(key, value));
    }
    return pairs;
}

std::optional<QString> KNPercentEscapeQueryKey(const QString& string, const QString& encoding)
{
    return percentEscape(string, encoding, true);
}

std::optional<QString> KNPercentEscapeQueryValue(const QString& string, const QString& encoding)
{
    return percentEscape(string, encoding, false);
}

QString KNQueryValueDescription(const QVariant& value)
{
    switch (parameterKind(value)) {
    case ParameterKind::None:
        return QString();
    case ParameterKind::String:
        return value.toString();
    case ParameterKind::Boolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case ParameterKind::SignedInteger:
        return QString::number(value.toLongLong());
    case ParameterKind::UnsignedInteger:
        return QString::number(value.toULongLong());
    case ParameterKind::Real: {
        const double number = value.toDouble();
        if (number == std::floor(number) && std::abs(number) < 1e15)
            return QString::number(qint64(number));
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    case ParameterKind::Data:
        return dataDescription(value.toByteArray());
    case ParameterKind::NullMarker:
        return QStringLiteral("<null>");
    default:
        break;
    }
    return value.toString();
}

std::optional<QByteArray> KNEncodeText(const QString& text, const QString& encoding)
{
    auto encoder = TextEncoder::open(encoding);
    if (!encoder)
        return std::nullopt;
    return encoder->encode(text);
}

const QStringList& KNObservedRequestKeyPaths()
{
    static const QStringList keyPaths
        = { QStringLiteral("allowsCellularAccess"), QStringLiteral("cachePolicy"),
              QStringLiteral("HTTPShouldHandleCookies"), QStringLiteral("HTTPShouldUsePipelining"),
              QStringLiteral("networkServiceType"), QStringLiteral("timeoutInterval") };
    return keyPaths;
}

} // namespace net
