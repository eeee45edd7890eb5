#include "net/serialization/KNXMLParserResponseSerializer.h"

#include "platform/XMLParser.h"

KNXMLParserResponseSerializer::KNXMLParserResponseSerializer()
{
    setAcceptableContentTypes(
        QSet<QString> { QStringLiteral("application/xml"), QStringLiteral("text/xml") });
}

std::shared_ptr<KNXMLParserResponseSerializer> KNXMLParserResponseSerializer::serializer()
{
    return std::make_shared<KNXMLParserResponseSerializer>();
}

QVariant KNXMLParserResponseSerializer::responseObjectForResponse(
    const std::optional<net::URLResponse>& response, const std::optional<QByteArray>& data,
    std::optional<net::Error>* error) const
{
    if (!shouldDecode(response, data, error))
        return {};
    return QVariant::fromValue(std::make_shared<platform::XMLParser>(data.value_or(QByteArray())));
}

std::shared_ptr<KNHTTPResponseSerializer> KNXMLParserResponseSerializer::freshInstance() const
{
    return std::make_shared<KNXMLParserResponseSerializer>();
}

QString KNXMLParserResponseSerializer::className() const
{
    return QStringLiteral("KNXMLParserResponseSerializer");
}
