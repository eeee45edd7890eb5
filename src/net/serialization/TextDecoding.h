#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace net {

/// Whether `encodingName` is an IANA character-set name (or alias) bytes can be decoded from.
bool isKnownTextEncoding(const QString& encodingName);

/// `bytes` read as text in `encodingName`; none when the encoding is unknown or the bytes
/// are not valid in it. A byte-order mark at the start is dropped.
std::optional<QString> decodeText(const QByteArray& bytes, const QString& encodingName);

} // namespace net
