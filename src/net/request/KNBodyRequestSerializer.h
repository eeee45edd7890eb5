#pragma once

#include "net/request/BodyWriting.h"
#include "net/request/KNHTTPRequestSerializer.h"

namespace net {

/// What the JSON and property-list serializers share: methods that put parameters in the
/// address are served as by `KNHTTPRequestSerializer`; for the others the parameters become
/// a document of the subclass's format, sent with the subclass's content type unless the
/// request names its own. Parameters the subclass cannot write are reported in the error
/// slot and the request comes back without a body.
class KNBodyRequestSerializer : public KNHTTPRequestSerializer {
public:
    std::optional<URLRequest> requestBySerializingRequest(
        const URLRequest& request, const QVariant& parameters, std::optional<Error>* error) const override;

protected:
    KNBodyRequestSerializer() = default;

    virtual QByteArray bodyContentType() const = 0;
    /// The document made of `parameters`, or why they cannot be written.
    virtual WrittenBody writeBody(const QVariant& parameters) const = 0;
};

} // namespace net
