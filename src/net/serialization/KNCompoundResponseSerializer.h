#pragma once

#include "net/serialization/KNHTTPResponseSerializer.h"

#include <QList>

/// Asks its member serializers in turn and hands back the first object one gives (with that
/// member's error); when none gives one, checks the response with its own settings and hands
/// back the body. Members that are not `KNHTTPResponseSerializer`s are skipped. It accepts
/// any content type.
class KNCompoundResponseSerializer : public KNHTTPResponseSerializer {
public:
    using Members = QList<std::shared_ptr<KNURLResponseSerialization>>;

    KNCompoundResponseSerializer();

    static std::shared_ptr<KNCompoundResponseSerializer> serializer();
    static std::shared_ptr<KNCompoundResponseSerializer> compoundSerializerWithResponseSerializers(
        Members responseSerializers);

    /// Shared with copies, not copied themselves.
    const Members& responseSerializers() const { return m_responseSerializers; }
    void setResponseSerializers(Members serializers) { m_responseSerializers = std::move(serializers); }

    QVariant responseObjectForResponse(const std::optional<net::URLResponse>& response,
        const std::optional<QByteArray>& data, std::optional<net::Error>* error) const override;

    std::shared_ptr<KNHTTPResponseSerializer> clone() const override;
    /// Members are archived in order, each as its own archive; members that are not
    /// `KNHTTPResponseSerializer`s cannot be archived and are left out.
    QVariantMap archive() const override;

protected:
    std::shared_ptr<KNHTTPResponseSerializer> freshInstance() const override;
    QString className() const override;
    void restoreFromArchive(const QVariantMap& archive) override;

private:
    Members m_responseSerializers;
};
