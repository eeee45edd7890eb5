#include "net/serialization/KNHTTPResponseSerializer.h"

#include "net/serialization/KNCompoundResponseSerializer.h"
#include "net/serialization/KNImageResponseSerializer.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/serialization/KNPropertyListResponseSerializer.h"
#include "net/serialization/KNXMLDocumentResponseSerializer.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"
#include "platform/Strings.h"

#include <algorithm>

namespace {

const QString statusCodesKey = QStringLiteral("acceptableStatusCodes");
const QString contentTypesKey = QStringLiteral("acceptableContentTypes");

QSet<int> successStatusCodes()
{
    QSet<int> codes;
    codes.reserve(100);
    for (int code = 200; code < 300; ++code)
        codes.insert(code);
    return codes;
}

} // namespace

KNHTTPResponseSerializer::KNHTTPResponseSerializer() : m_acceptableStatusCodes(successStatusCodes())
{
}

std::shared_ptr<KNHTTPResponseSerializer> KNHTTPResponseSerializer::serializer()
{
    return std::make_shared<KNHTTPResponseSerializer>();
}

net::Error KNHTTPResponseSerializer::serializationError(qint64 code, const QString& description,
    const std::optional<net::URLResponse>& response, const std::optional<QByteArray>& data)
{
    QVariantMap info;
    info.insert(net::localizedDescriptionKey, description);
    if (response) {
        if (!response->url().isEmpty())
            info.insert(net::failingURLErrorKey, response->url());
        info.insert(KNNetworkingOperationFailingURLResponseErrorKey, QVariant::fromValue(*response));
    }
    if (data)
        info.insert(KNNetworkingOperationFailingURLResponseDataErrorKey, *data);
    return net::Error(KNURLResponseSerializationErrorDomain, code, std::move(info));
}

bool KNHTTPResponseSerializer::validateResponse(const std::optional<net::URLResponse>& response,
    const std::optional<QByteArray>& data, std::optional<net::Error>* error) const
{
    bool valid = true;
    std::optional<net::Error> validationError;
    if (response && response->isHTTP()) {
        const bool hasURL = !response->url().isEmpty();
        if (m_acceptableContentTypes
            && (response->mimeType().isNull() || !m_acceptableContentTypes->contains(response->mimeType()))) {
            valid = false;
            if (data && !data->isEmpty() && hasURL) {
                validationError = serializationError(net::cannotDecodeContentData,
                    platform::Strings::tr("Request failed: unacceptable content-type: %1")
                        .arg(response->mimeType()),
                    response, data);
            }
        }
        if (m_acceptableStatusCodes && !m_acceptableStatusCodes->contains(response->statusCode()) && hasURL) {
            valid = false;
            const QString description
                = platform::Strings::tr("Request failed: %1 (%2)")
                      .arg(net::URLResponse::localizedStringForStatusCode(response->statusCode()))
                      .arg(response->statusCode());
            validationError = KNErrorByWrapping(
                serializationError(net::badServerResponse, description, response, data), validationError);
        }
    }
    if (error)
        *error = valid ? std::nullopt : validationError;
    return valid;
}

bool KNHTTPResponseSerializer::shouldDecode(const std::optional<net::URLResponse>& response,
    const std::optional<QByteArray>& data, std::optional<net::Error>* error) const
{
    if (validateResponse(response, data, error))
        return true;
    return error && !KNErrorChainContainsCode(*error);
}

QVariant KNHTTPResponseSerializer::responseObjectForResponse(const std::optional<net::URLResponse>& response,
    const std::optional<QByteArray>& data, std::optional<net::Error>* error) const
{
    validateResponse(response, data, error);
    return data ? QVariant(*data) : QVariant();
}

std::shared_ptr<KNHTTPResponseSerializer> KNHTTPResponseSerializer::freshInstance() const
{
    return std::make_shared<KNHTTPResponseSerializer>();
}

QString KNHTTPResponseSerializer::className() const
{
    return QStringLiteral("KNHTTPResponseSerializer");
}

std::shared_ptr<KNHTTPResponseSerializer> KNHTTPResponseSerializer::clone() const
{
    auto copy = freshInstance();
    copy->m_acceptableStatusCodes = m_acceptableStatusCodes;
    copy->m_acceptableContentTypes = m_acceptableContentTypes;
    return copy;
}

QVariantMap KNHTTPResponseSerializer::archive() const
{
    QVariantMap archive;
    archive.insert(archiveClassKey, className());
    if (m_acceptableStatusCodes) {
        QList<int> codes = m_acceptableStatusCodes->values();
        std::sort(codes.begin(), codes.end());
        QVariantList list;
        list.reserve(codes.size());
        for (int code : codes)
            list.append(code);
        archive.insert(statusCodesKey, list);
    }
    if (m_acceptableContentTypes) {
        QStringList types = m_acceptableContentTypes->values();
        types.sort();
        archive.insert(contentTypesKey, types);
    }
    return archive;
}

void KNHTTPResponseSerializer::restoreFromArchive(const QVariantMap& archive)
{
    m_acceptableStatusCodes.reset();
    if (archive.contains(statusCodesKey)) {
        QSet<int> codes;
        for (const QVariant& code : archive.value(statusCodesKey).toList())
            codes.insert(code.toInt());
        m_acceptableStatusCodes = std::move(codes);
    }
    m_acceptableContentTypes.reset();
    if (archive.contains(contentTypesKey)) {
        const QStringList types = archive.value(contentTypesKey).toStringList();
        m_acceptableContentTypes = QSet<QString>(types.begin(), types.end());
    }
}

std::shared_ptr<KNHTTPResponseSerializer> KNHTTPResponseSerializer::fromArchive(const QVariantMap& archive)
{
    static const net::ArchiveFactories<KNHTTPResponseSerializer> factories = {
        { QStringLiteral("KNHTTPResponseSerializer"), [] { return KNHTTPResponseSerializer::serializer(); } },
        { QStringLiteral("KNJSONResponseSerializer"), [] { return KNJSONResponseSerializer::serializer(); } },
        { QStringLiteral("KNXMLParserResponseSerializer"),
            [] { return KNXMLParserResponseSerializer::serializer(); } },
        { QStringLiteral("KNXMLDocumentResponseSerializer"),
            [] { return KNXMLDocumentResponseSerializer::serializer(); } },
        { QStringLiteral("KNPropertyListResponseSerializer"),
            [] { return KNPropertyListResponseSerializer::serializer(); } },
        { QStringLiteral("KNImageResponseSerializer"),
            [] { return KNImageResponseSerializer::serializer(); } },
        { QStringLiteral("KNCompoundResponseSerializer"),
            [] { return KNCompoundResponseSerializer::serializer(); } },
    };
    return net::objectFromArchive(
        archive, factories, [](KNHTTPResponseSerializer& serializer, const QVariantMap& fields) {
            serializer.restoreFromArchive(fields);
        });
}
