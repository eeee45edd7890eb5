#pragma once

#include "net/core/NetError.h"
#include "net/core/URLRequest.h"

#include <QString>
#include <QVariant>

#include <optional>

namespace net {

/// The error domain of building requests. `badURL` (-1000): a file part that is not a
/// readable file, or a parameter the serializer's text encoding cannot represent;
/// `KNRequestSerializationWriteInvalidError`: parameters the body writer cannot write.
inline const QString KNURLRequestSerializationErrorDomain
    = QStringLiteral("kitnet.error.serialization.request");
inline constexpr qint64 KNRequestSerializationWriteInvalidError = 3852;

/// Something that applies parameters to a request.
///
/// Parameters are a `QVariant`: an invalid one is "no parameters". Dictionaries are
/// `QVariantMap`, arrays `QVariantList`, sets `QSet<QString>`; the null marker is
/// `QVariant::fromValue(nullptr)`; data is `QByteArray`; anything else is a scalar.
class KNURLRequestSerialization {
public:
    virtual ~KNURLRequestSerialization() = default;
    /// A copy of `request` with the parameters applied; none when they cannot be, with the
    /// reason in `error` when given.
    virtual std::optional<URLRequest> requestBySerializingRequest(
        const URLRequest& request, const QVariant& parameters, std::optional<Error>* error) const = 0;
};

} // namespace net
