#pragma once

#include "net/request/KNBodyRequestSerializer.h"

namespace net {

/// Sends the parameters of body methods as a JSON document ("application/json" unless the
/// request names its own content type); methods that put parameters in the address are
/// served as by the base class. Parameters the writer cannot write are reported in the
/// error slot and the request comes back without a body.
class KNJSONRequestSerializer : public KNBodyRequestSerializer {
public:
    /// Writing option: indented output.
    static constexpr quint64 prettyPrinted = 1;
    /// Writing option: a top level that is neither a dictionary nor an array is written.
    static constexpr quint64 fragmentsAllowed = 4;

    KNJSONRequestSerializer() = default;

    static std::shared_ptr<KNJSONRequestSerializer> serializer();
    static std::shared_ptr<KNJSONRequestSerializer> serializerWithWritingOptions(quint64 writingOptions);

    /// 0 (compact) unless set.
    quint64 writingOptions() const { return m_writingOptions; }
    void setWritingOptions(quint64 options) { m_writingOptions = options; }

    std::shared_ptr<KNHTTPRequestSerializer> clone() const override;
    QVariantMap archive() const override;

protected:
    std::shared_ptr<KNHTTPRequestSerializer> freshInstance() const override;
    QString className() const override;
    void restoreFromArchive(const QVariantMap& archive) override;
    QByteArray bodyContentType() const override;
    WrittenBody writeBody(const QVariant& parameters) const override;

private:
    quint64 m_writingOptions = 0;
};

} // namespace net
