#pragma once

#include "platform/Expected.h"

#include <QByteArray>
#include <QVariant>

namespace net {

/// Reads a property list in its XML form or its binary form ("bplist00"). Dictionaries
/// become `QVariantMap`, arrays (and binary sets) `QVariantList`, strings `QString`,
/// integers `qint64` (`quint64` above its range), reals `double`, booleans `bool`, dates a
/// UTC `QDateTime`, data `QByteArray`, and binary UIDs a map {"CF$UID": number}, as in the
/// XML form. Fails with a text saying what is wrong for anything else, including an empty
/// body, nesting deeper than `maximumPropertyListDepth` and a binary object that contains itself.
platform::Expected<QVariant> readPropertyList(const QByteArray& data);

inline constexpr int maximumPropertyListDepth = 512;

namespace propertylist {
platform::Expected<QVariant> readBinary(const QByteArray& data);
platform::Expected<QVariant> readXML(const QByteArray& data);
} // namespace propertylist

} // namespace net
