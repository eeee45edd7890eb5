#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

namespace net {

/// What a parameter value is to the body writers and the query-string flattener, so that
/// each of them tells the same `QVariant` types apart in the same way.
enum class ParameterKind {
    None, ///< an invalid `QVariant`
    Dictionary, ///< `QVariantMap` or `QVariantHash`
    Array, ///< `QVariantList` or `QStringList`
    String,
    Boolean,
    SignedInteger,
    UnsignedInteger,
    Real, ///< `double` or `float`
    Data, ///< `QByteArray`
    Date, ///< `QDateTime`
    NullMarker, ///< `std::nullptr_t`
    Other,
};

ParameterKind parameterKind(const QVariant& value);

/// The entries of a `QVariantMap` or `QVariantHash` with the keys in ascending code-unit
/// order, so that a hash comes out the same every time.
QList<std::pair<QString, QVariant>> dictionaryEntriesInKeyOrder(const QVariant& dictionary);

/// The value's type name as a failure reason shows it, "no value" for an invalid one.
QString parameterTypeName(const QVariant& value);

} // namespace net
