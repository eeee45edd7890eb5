#pragma once

#include "net/serialization/KNHTTPResponseSerializer.h"

/// Accepts the common bitmap image types and hands back the body decoded into a `QImage`
/// (its size in pixels). An empty body gives no object and no decoding error; a body no
/// image reader can decode gives no object and a `net::cannotDecodeContentData` error
/// carrying the body.
class KNImageResponseSerializer : public KNHTTPResponseSerializer {
public:
    KNImageResponseSerializer();

    static std::shared_ptr<KNImageResponseSerializer> serializer();

    QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const override;

    std::shared_ptr<KNHTTPResponseSerializer> clone() const override;

protected:
    std::shared_ptr<KNHTTPResponseSerializer> freshInstance() const override;
    QString className() const override;
};
