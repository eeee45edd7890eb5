#include "net/serialization/KNPropertyListResponseSerializer.h"

#include "net/serialization/PropertyListReading.h"

namespace {
const QString formatKey = QStringLiteral("format");
const QString readOptionsKey = QStringLiteral("readOptions");
} // namespace

KNPropertyListResponseSerializer::KNPropertyListResponseSerializer(quint64 format, quint64 readOptions)
    : m_format(format), m_readOptions(readOptions)
{
    setAcceptableContentTypes(QSet<QString> { QStringLiteral("application/x-plist") });
}

std::shared_ptr<KNPropertyListResponseSerializer> KNPropertyListResponseSerializer::serializer()
{
    return serializerWithFormat(xmlFormat, 0);
}

std::shared_ptr<KNPropertyListResponseSerializer> KNPropertyListResponseSerializer::serializerWithFormat(
    quint64 format, quint64 readOptions)
{
    return std::make_shared<KNPropertyListResponseSerializer>(format, readOptions);
}

QVariant KNPropertyListResponseSerializer::responseObjectForResponse(
    const std::optional<net::URLResponse>& response, const std::optional<QByteArray>& data,
    std::optional<net::Error>* error) const
{
    if (!shouldDecode(response, data, error) || !data)
        return {};
    platform::Expected<QVariant> list = net::readPropertyList(*data);
    if (list)
        return std::move(list).value();
    if (error)
        *error = KNErrorByWrapping(
            serializationError(net::cannotDecodeContentData, list.error(), response, data), *error);
    return {};
}

std::shared_ptr<KNHTTPResponseSerializer> KNPropertyListResponseSerializer::freshInstance() const
{
    return std::make_shared<KNPropertyListResponseSerializer>();
}

QString KNPropertyListResponseSerializer::className() const
{
    return QStringLiteral("KNPropertyListResponseSerializer");
}

std::shared_ptr<KNHTTPResponseSerializer> KNPropertyListResponseSerializer::clone() const
{
    return std::make_shared<KNPropertyListResponseSerializer>(m_format, m_readOptions);
}

QVariantMap KNPropertyListResponseSerializer::archive() const
{
    QVariantMap archive = KNHTTPResponseSerializer::archive();
    archive.insert(formatKey, m_format);
    archive.insert(readOptionsKey, m_readOptions);
    return archive;
}

void KNPropertyListResponseSerializer::restoreFromArchive(const QVariantMap& archive)
{
    KNHTTPResponseSerializer::restoreFromArchive(archive);
    m_format = archive.value(formatKey).toULongLong();
    m_readOptions = archive.value(readOptionsKey).toULongLong();
}
