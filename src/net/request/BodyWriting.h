#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <variant>

namespace net {

/// The document, or why the value cannot be written.
using WrittenBody = std::variant<QByteArray, QString>;

/// Option bits of `writeJSON`.
inline constexpr quint64 KNJSONWritingPrettyPrinted = 1;
inline constexpr quint64 KNJSONWritingFragmentsAllowed = 4;

/// `value` as UTF-8 JSON: dictionaries (keys in ascending order), arrays, strings, numbers,
/// booleans and the null marker. Non-finite numbers, other types, strings with lone
/// surrogates and (without `KNJSONWritingFragmentsAllowed`) a top level that is neither
/// a dictionary nor an array cannot be written. Pretty printing indents by two spaces.
WrittenBody writeJSON(const QVariant& value, quint64 options);

/// `value` as an XML property list (version 1.0, UTF-8): dictionaries, arrays, strings,
/// integers, reals, booleans, data (`QByteArray`) and dates (`QDateTime`, written in UTC to
/// the second). The null marker, other types and text that XML cannot carry (control
/// characters other than tab, line feed and carriage return; lone surrogates) cannot be written.
WrittenBody writeXMLPropertyList(const QVariant& value);

} // namespace net
