#include "net/request/KNPropertyListRequestSerializer.h"

namespace net {
namespace {

const QString formatKey = QStringLiteral("format");
const QString writeOptionsKey = QStringLiteral("writeOptions");

} // namespace

std::shared_ptr<KNPropertyListRequestSerializer> KNPropertyListRequestSerializer::serializer()
{
    return serializerWithFormat(xmlFormat, 0);
}

std::shared_ptr<KNPropertyListRequestSerializer> KNPropertyListRequestSerializer::serializerWithFormat(
    quint64 format, quint64 writeOptions)
{
    auto serializer = std::make_shared<KNPropertyListRequestSerializer>();
    serializer->setFormat(format);
    serializer->setWriteOptions(writeOptions);
    return serializer;
}

QByteArray KNPropertyListRequestSerializer::bodyContentType() const
{
    return QByteArrayLiteral("application/x-plist");
}

WrittenBody KNPropertyListRequestSerializer::writeBody(const QVariant& parameters) const
{
    if (m_format != xmlFormat)
        return QStringLiteral("The property-list format %1 cannot be written").arg(m_format);
    return writeXMLPropertyList(parameters);
}

std::shared_ptr<KNHTTPRequestSerializer> KNPropertyListRequestSerializer::freshInstance() const
{
    return std::make_shared<KNPropertyListRequestSerializer>();
}

QString KNPropertyListRequestSerializer::className() const
{
    return QStringLiteral("KNPropertyListRequestSerializer");
}

std::shared_ptr<KNHTTPRequestSerializer> KNPropertyListRequestSerializer::clone() const
{
    auto copy = std::static_pointer_cast<KNPropertyListRequestSerializer>(KNHTTPRequestSerializer::clone());
    copy->m_format = m_format;
    copy->m_writeOptions = m_writeOptions;
    return copy;
}

QVariantMap KNPropertyListRequestSerializer::archive() const
{
    QVariantMap archive = KNHTTPRequestSerializer::archive();
    archive.insert(formatKey, m_format);
    archive.insert(writeOptionsKey, m_writeOptions);
    return archive;
}

void KNPropertyListRequestSerializer::restoreFromArchive(const QVariantMap& archive)
{
    KNHTTPRequestSerializer::restoreFromArchive(archive);
    m_format = archive.value(formatKey).toULongLong();
    m_writeOptions = archive.value(writeOptionsKey).toULongLong();
}

} // namespace net
