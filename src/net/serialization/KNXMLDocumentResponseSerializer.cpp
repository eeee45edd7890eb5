#include "net/serialization/KNXMLDocumentResponseSerializer.h"

#include "platform/Strings.h"

#include <QDomDocument>

namespace {
const QString optionsKey = QStringLiteral("options");
}

KNXMLDocumentResponseSerializer::KNXMLDocumentResponseSerializer(quint64 options) : m_options(options)
{
    setAcceptableContentTypes(
        QSet<QString> { QStringLiteral("application/xml"), QStringLiteral("text/xml") });
}

std::shared_ptr<KNXMLDocumentResponseSerializer> KNXMLDocumentResponseSerializer::serializer()
{
    return serializerWithXMLDocumentOptions(0);
}

std::shared_ptr<KNXMLDocumentResponseSerializer>
KNXMLDocumentResponseSerializer::serializerWithXMLDocumentOptions(quint64 options)
{
    return std::make_shared<KNXMLDocumentResponseSerializer>(options);
}

QVariant KNXMLDocumentResponseSerializer::responseObjectForResponse(
    const std::optional<net::URLResponse>& response, const std::optional<QByteArray>& data,
    std::optional<net::Error>* error) const
{
    if (!shouldDecode(response, data, error))
        return {};
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    std::optional<net::Error> documentError;
    QVariant result;
    if (document.setContent(data.value_or(QByteArray()), false, &message, &line, &column)) {
        result = QVariant::fromValue(document);
    } else {
        documentError = serializationError(net::cannotDecodeContentData,
            platform::Strings::tr("The data is not valid XML: %1 (line %2, column %3)")
                .arg(message)
                .arg(line)
                .arg(column),
            response, data);
    }
    if (error)
        *error = KNErrorByWrapping(documentError, *error);
    return result;
}

std::shared_ptr<KNHTTPResponseSerializer> KNXMLDocumentResponseSerializer::freshInstance() const
{
    return std::make_shared<KNXMLDocumentResponseSerializer>();
}

QString KNXMLDocumentResponseSerializer::className() const
{
    return QStringLiteral("KNXMLDocumentResponseSerializer");
}

std::shared_ptr<KNHTTPResponseSerializer> KNXMLDocumentResponseSerializer::clone() const
{
    return std::make_shared<KNXMLDocumentResponseSerializer>(m_options);
}

QVariantMap KNXMLDocumentResponseSerializer::archive() const
{
    QVariantMap archive = KNHTTPResponseSerializer::archive();
    archive.insert(optionsKey, m_options);
    return archive;
}

void KNXMLDocumentResponseSerializer::restoreFromArchive(const QVariantMap& archive)
{
    KNHTTPResponseSerializer::restoreFromArchive(archive);
    m_options = archive.value(optionsKey).toULongLong();
}
