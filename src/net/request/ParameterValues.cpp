#include "net/request/ParameterValues.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>

namespace net {

ParameterKind parameterKind(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType:
        return ParameterKind::None;
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
        return ParameterKind::Dictionary;
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return ParameterKind::Array;
    case QMetaType::QString:
        return ParameterKind::String;
    case QMetaType::Bool:
        return ParameterKind::Boolean;
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return ParameterKind::SignedInteger;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return ParameterKind::UnsignedInteger;
    case QMetaType::Double:
    case QMetaType::Float:
        return ParameterKind::Real;
    case QMetaType::QByteArray:
        return ParameterKind::Data;
    case QMetaType::QDateTime:
        return ParameterKind::Date;
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<std::nullptr_t>())
        return ParameterKind::NullMarker;
    return ParameterKind::Other;
}

QList<std::pair<QString, QVariant>> dictionaryEntriesInKeyOrder(const QVariant& dictionary)
{
    QList<std::pair<QString, QVariant>> entries;
    if (dictionary.metaType() == QMetaType::fromType<QVariantMap>()) {
        // A map is already in key order.
        const QVariantMap map = dictionary.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            entries.append({ it.key(), it.value() });
    } else {
        const QVariantHash hash = dictionary.toHash();
        for (auto it = hash.begin(); it != hash.end(); ++it)
            entries.append({ it.key(), it.value() });
        std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return QString::compare(a.first, b.first) < 0; });
    }
    return entries;
}

QString parameterTypeName(const QVariant& value)
{
    return QString::fromLatin1(value.isValid() ? value.typeName() : "no value");
}

} // namespace net
