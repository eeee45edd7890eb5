#include "net/serialization/KNCompoundResponseSerializer.h"

namespace {
const QString membersKey = QStringLiteral("responseSerializers");
}

KNCompoundResponseSerializer::KNCompoundResponseSerializer() = default;

std::shared_ptr<KNCompoundResponseSerializer> KNCompoundResponseSerializer::serializer()
{
    return std::make_shared<KNCompoundResponseSerializer>();
}

std::shared_ptr<KNCompoundResponseSerializer>
KNCompoundResponseSerializer::compoundSerializerWithResponseSerializers(Members responseSerializers)
{
    auto compound = serializer();
    compound->m_responseSerializers = std::move(responseSerializers);
    return compound;
}

QVariant KNCompoundResponseSerializer::responseObjectForResponse(
    const std::optional<net::URLResponse>& response, const std::optional<QByteArray>& data,
    std::optional<net::Error>* error) const
{
    if (error)
        error->reset();
    for (const auto& member : m_responseSerializers) {
        if (!std::dynamic_pointer_cast<KNHTTPResponseSerializer>(member))
            continue;
        std::optional<net::Error> memberError;
        QVariant object = member->responseObjectForResponse(response, data, &memberError);
        if (object.isValid()) {
            if (error)
                *error = KNErrorByWrapping(memberError, *error);
            return object;
        }
    }
    return KNHTTPResponseSerializer::responseObjectForResponse(response, data, error);
}

std::shared_ptr<KNHTTPResponseSerializer> KNCompoundResponseSerializer::freshInstance() const
{
    return std::make_shared<KNCompoundResponseSerializer>();
}

QString KNCompoundResponseSerializer::className() const
{
    return QStringLiteral("KNCompoundResponseSerializer");
}

std::shared_ptr<KNHTTPResponseSerializer> KNCompoundResponseSerializer::clone() const
{
    return compoundSerializerWithResponseSerializers(m_responseSerializers);
}

QVariantMap KNCompoundResponseSerializer::archive() const
{
    QVariantMap archive = KNHTTPResponseSerializer::archive();
    QVariantList members;
    for (const auto& member : m_responseSerializers) {
        if (const auto http = std::dynamic_pointer_cast<KNHTTPResponseSerializer>(member))
            members.append(http->archive());
    }
    archive.insert(membersKey, members);
    return archive;
}

void KNCompoundResponseSerializer::restoreFromArchive(const QVariantMap& archive)
{
    KNHTTPResponseSerializer::restoreFromArchive(archive);
    m_responseSerializers.clear();
    for (const QVariant& member : archive.value(membersKey).toList()) {
        if (auto restored = KNHTTPResponseSerializer::fromArchive(member.toMap()))
            m_responseSerializers.append(std::move(restored));
    }
}
