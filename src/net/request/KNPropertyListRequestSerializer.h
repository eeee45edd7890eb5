#pragma once

#include "net/request/KNBodyRequestSerializer.h"

namespace net {

/// Sends the parameters of body methods as a property list ("application/x-plist" unless
/// the request names its own content type); methods that put parameters in the address are
/// served as by the base class. Only the XML format is written; another format, or
/// parameters a property list cannot hold, are reported in the error slot and the request
/// comes back without a body.
class KNPropertyListRequestSerializer : public KNBodyRequestSerializer {
public:
    /// The XML property-list format, version 1.0.
    static constexpr quint64 xmlFormat = 100;

    KNPropertyListRequestSerializer() = default;

    static std::shared_ptr<KNPropertyListRequestSerializer> serializer();
    static std::shared_ptr<KNPropertyListRequestSerializer> serializerWithFormat(
        quint64 format, quint64 writeOptions);

    quint64 format() const { return m_format; }
    void setFormat(quint64 format) { m_format = format; }
    /// Kept, archived and copied; the XML writer has no options.
    quint64 writeOptions() const { return m_writeOptions; }
    void setWriteOptions(quint64 options) { m_writeOptions = options; }

    std::shared_ptr<KNHTTPRequestSerializer> clone() const override;
    QVariantMap archive() const override;

protected:
    std::shared_ptr<KNHTTPRequestSerializer> freshInstance() const override;
    QString className() const override;
    void restoreFromArchive(const QVariantMap& archive) override;
    QByteArray bodyContentType() const override;
    WrittenBody writeBody(const QVariant& parameters) const override;

private:
    quint64 m_format = xmlFormat;
    quint64 m_writeOptions = 0;
};

} // namespace net
