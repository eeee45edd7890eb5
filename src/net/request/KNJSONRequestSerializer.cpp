#include "net/request/KNJSONRequestSerializer.h"

namespace net {
namespace {

const QString writingOptionsKey = QStringLiteral("writingOptions");

} // namespace

std::shared_ptr<KNJSONRequestSerializer> KNJSONRequestSerializer::serializer()
{
    return serializerWithWritingOptions(0);
}

std::shared_ptr<KNJSONRequestSerializer> KNJSONRequestSerializer::serializerWithWritingOptions(
    quint64 writingOptions)
{
    auto serializer = std::make_shared<KNJSONRequestSerializer>();
    serializer->setWritingOptions(writingOptions);
    return serializer;
}

QByteArray KNJSONRequestSerializer::bodyContentType() const
{
    return QByteArrayLiteral("application/json");
}

WrittenBody KNJSONRequestSerializer::writeBody(const QVariant& parameters) const
{
    return writeJSON(parameters, m_writingOptions);
}

std::shared_ptr<KNHTTPRequestSerializer> KNJSONRequestSerializer::freshInstance() const
{
    return std::make_shared<KNJSONRequestSerializer>();
}

QString KNJSONRequestSerializer::className() const
{
    return QStringLiteral("KNJSONRequestSerializer");
}

std::shared_ptr<KNHTTPRequestSerializer> KNJSONRequestSerializer::clone() const
{
    auto copy = std::static_pointer_cast<KNJSONRequestSerializer>(KNHTTPRequestSerializer::clone());
    copy->m_writingOptions = m_writingOptions;
    return copy;
}

QVariantMap KNJSONRequestSerializer::archive() const
{
    QVariantMap archive = KNHTTPRequestSerializer::archive();
    archive.insert(writingOptionsKey, m_writingOptions);
    return archive;
}

void KNJSONRequestSerializer::restoreFromArchive(const QVariantMap& archive)
{
    KNHTTPRequestSerializer::restoreFromArchive(archive);
    m_writingOptions = archive.value(writingOptionsKey).toULongLong();
}

} // namespace net
