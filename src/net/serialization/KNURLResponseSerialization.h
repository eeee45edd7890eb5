#pragma once

#include "net/core/NetError.h"
#include "net/core/URLResponse.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

/// The error domain of response validation and decoding. Its codes are those of
/// `net::badServerResponse` (a status code outside the acceptable ones) and
/// `net::cannotDecodeContentData` (an unacceptable content type, or a body that cannot be decoded).
inline const QString KNURLResponseSerializationErrorDomain
    = QStringLiteral("kitnet.error.serialization.response");
/// User-info key of these errors holding the `net::URLResponse`.
inline const QString KNNetworkingOperationFailingURLResponseErrorKey
    = QStringLiteral("kitnet.serialization.response.error.response");
/// User-info key of these errors holding the body (`QByteArray`), when there was one.
inline const QString KNNetworkingOperationFailingURLResponseDataErrorKey
    = QStringLiteral("kitnet.serialization.response.error.data");

/// Something that turns a response and its body into an object.
class KNURLResponseSerialization {
public:
    virtual ~KNURLResponseSerialization() = default;
    /// A null QVariant is "no object". `error` may be null; when given it receives the error or none.
    virtual QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const = 0;
};

/// `error` carrying `underlyingError` under `net::underlyingErrorKey`. No `error` gives
/// `underlyingError`; no `underlyingError`, or an `error` that already carries one, gives
/// `error` unchanged.
std::optional<net::Error> KNErrorByWrapping(
    const std::optional<net::Error>& error, const std::optional<net::Error>& underlyingError);

/// Whether `error` or any error it carries (following `net::underlyingErrorKey`) is the
/// serialization domain's `net::cannotDecodeContentData`.
bool KNErrorChainContainsCode(const std::optional<net::Error>& error);
