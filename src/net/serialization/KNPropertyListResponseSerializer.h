#pragma once

#include "net/serialization/KNHTTPResponseSerializer.h"

/// Accepts "application/x-plist" and hands back the property list the body holds, in its
/// XML or binary form (see `net::readPropertyList` for the value types). A body that is
/// not a property list gives no object and a `net::cannotDecodeContentData` error.
class KNPropertyListResponseSerializer : public KNHTTPResponseSerializer {
public:
    /// The `format` of the XML form.
    static constexpr quint64 xmlFormat = 100;

    explicit KNPropertyListResponseSerializer(quint64 format = xmlFormat, quint64 readOptions = 0);

    static std::shared_ptr<KNPropertyListResponseSerializer> serializer();
    static std::shared_ptr<KNPropertyListResponseSerializer> serializerWithFormat(
        quint64 format, quint64 readOptions);

    /// Kept, copied and archived; reading finds the form from the body itself.
    quint64 format() const { return m_format; }
    void setFormat(quint64 format) { m_format = format; }
    /// Kept, copied and archived; the values read are copies, whatever they ask.
    quint64 readOptions() const { return m_readOptions; }
    void setReadOptions(quint64 options) { m_readOptions = options; }

    QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const override;

    std::shared_ptr<KNHTTPResponseSerializer> clone() const override;
    QVariantMap archive() const override;

protected:
    std::shared_ptr<KNHTTPResponseSerializer> freshInstance() const override;
    QString className() const override;
    void restoreFromArchive(const QVariantMap& archive) override;

private:
    quint64 m_format = xmlFormat;
    quint64 m_readOptions = 0;
};
