#include "net/request/KNQueryString.h"

#include "net/request/TextEncoding.h"

#include <QDateTime>
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

bool isDictionary(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<QVariantMap>()
        || value.metaType() == QMetaType::fromType<QVariantHash>();
}

bool isArray(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<QVariantList>()
        || value.metaType() == QMetaType::fromType<QStringList>();
}

bool isNullMarker(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<std::nullptr_t>();
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
    if (!m_value.isValid() || isNullMarker(m_value))
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
    if (isDictionary(value)) {
        // Keys in ascending order of their text, compared by code unit.
        QList<std::pair<QString, QVariant>> entries;
        if (value.metaType() == QMetaType::fromType<QVariantMap>()) {
            const QVariantMap map = value.toMap();
            for (auto it = map.begin(); it != map.end(); ++it)
                entries.append({ it.key(), it.value() });
        } else {
            const QVariantHash hash = value.toHash();
            for (auto it = hash.begin(); it != hash.end(); ++it)
                entries.append({ it.key(), it.value() });
            std::sort(entries.begin(), entries.end(),
                [](const auto& a, const auto& b) { return QString::compare(a.first, b.first) < 0; });
        }
        for (const auto& [innerKey, innerValue] : entries) {
            if (innerValue.isValid())
                pairs.append(KNQueryPairsFromKeyAndValue(nestedKey(key, innerKey), innerValue));
        }
    } else if (isArray(value)) {
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
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return QString::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        if (number == std::floor(number) && std::abs(number) < 1e15)
            return QString::number(qint64(number));
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::QByteArray:
        return dataDescription(value.toByteArray());
    default:
        break;
    }
    if (isNullMarker(value))
        return QStringLiteral("<null>");
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
