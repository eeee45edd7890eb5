#pragma once

#include "net/serialization/KNHTTPResponseSerializer.h"

/// Accepts "application/xml" and "text/xml" and hands back the body read into a
/// `QDomDocument`; a body that is not well-formed XML gives no object and a
/// `net::cannotDecodeContentData` error naming the line and column.
class KNXMLDocumentResponseSerializer : public KNHTTPResponseSerializer {
public:
    explicit KNXMLDocumentResponseSerializer(quint64 options = 0);

    static std::shared_ptr<KNXMLDocumentResponseSerializer> serializer();
    static std::shared_ptr<KNXMLDocumentResponseSerializer> serializerWithXMLDocumentOptions(quint64 options);

    /// Kept, copied and archived for callers that set them; the document reader takes none.
    quint64 options() const { return m_options; }
    void setOptions(quint64 options) { m_options = options; }

    QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const override;

    std::shared_ptr<KNHTTPResponseSerializer> clone() const override;
    QVariantMap archive() const override;

protected:
    std::shared_ptr<KNHTTPResponseSerializer> freshInstance() const override;
    QString className() const override;
    void restoreFromArchive(const QVariantMap& archive) override;

private:
    quint64 m_options = 0;
};
