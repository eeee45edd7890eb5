#pragma once

#include "net/serialization/KNHTTPResponseSerializer.h"

/// Accepts "application/xml" and "text/xml" and hands back a `platform::XMLParser` over the
/// body (as `std::shared_ptr<platform::XMLParser>`), not yet run: its caller reads the
/// document with its own delegate.
class KNXMLParserResponseSerializer : public KNHTTPResponseSerializer {
public:
    KNXMLParserResponseSerializer();

    static std::shared_ptr<KNXMLParserResponseSerializer> serializer();

    QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const override;

protected:
    std::shared_ptr<KNHTTPResponseSerializer> freshInstance() const override;
    QString className() const override;
};
