#include "net/serialization/KNJSONResponseSerializer.h"

#include "net/serialization/TextDecoding.h"
#include "platform/Strings.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <variant>

namespace {

const QString readingOptionsKey = QStringLiteral("readingOptions");
const QString removesNullsKey = QStringLiteral("removesKeysWithNullValues");

bool isNullMarker(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<std::nullptr_t>();
}

// The value of `text`, or the parser's complaint with the byte offset it stopped at.
std::variant<QVariant, QString> parseJSON(const QByteArray& utf8, quint64 readingOptions)
{
    QJsonParseError parseError {};
    if (readingOptions & KNJSONResponseSerializer::allowFragments) {
        // The document reader only takes objects and arrays at the top; a fragment is read
        // as the one element of an array around it.
        const QJsonDocument document = QJsonDocument::fromJson('[' + utf8 + ']', &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            return QStringLiteral("%1 (at byte %2)")
                .arg(parseError.errorString())
                .arg(qMax(0, parseError.offset - 1));
        }
        if (document.array().size() != 1)
            return QStringLiteral("more than one value");
        return document.array().first().toVariant();
    }
    const QJsonDocument document = QJsonDocument::fromJson(utf8, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return QStringLiteral("%1 (at byte %2)").arg(parseError.errorString()).arg(parseError.offset);
    return document.toVariant();
}

} // namespace

KNJSONResponseSerializer::KNJSONResponseSerializer(quint64 readingOptions) : m_readingOptions(readingOptions)
{
    setAcceptableContentTypes(QSet<QString> {
        QStringLiteral("application/json"), QStringLiteral("text/json"), QStringLiteral("text/javascript") });
}

std::shared_ptr<KNJSONResponseSerializer> KNJSONResponseSerializer::serializer()
{
    return serializerWithReadingOptions(0);
}

std::shared_ptr<KNJSONResponseSerializer> KNJSONResponseSerializer::serializerWithReadingOptions(
    quint64 readingOptions)
{
    return std::make_shared<KNJSONResponseSerializer>(readingOptions);
}

QVariant KNJSONResponseSerializer::responseObjectForResponse(const std::optional<net::URLResponse>& response,
    const std::optional<QByteArray>& data, std::optional<net::Error>* error) const
{
    if (!shouldDecode(response, data, error))
        return {};
    if (!data)
        return {};

    QString encoding = stringEncoding();
    if (response && !response->textEncodingName().isEmpty()
        && net::isKnownTextEncoding(response->textEncodingName()))
        encoding = response->textEncodingName();

    QVariant result;
    std::optional<net::Error> decodingError;
    const std::optional<QString> text = net::decodeText(*data, encoding);
    if (!text) {
        decodingError = serializationError(net::cannotDecodeContentData,
            platform::Strings::tr("Data failed decoding as a %1 string").arg(encoding), response, data);
    } else if (*text == QStringLiteral(" ")) {
        return {};
    } else {
        const QByteArray utf8 = text->toUtf8();
        if (utf8.isEmpty())
            return {};
        auto parsed = parseJSON(utf8, m_readingOptions);
        if (auto* value = std::get_if<QVariant>(&parsed)) {
            result = std::move(*value);
        } else {
            decodingError = serializationError(net::cannotDecodeContentData,
                platform::Strings::tr("The data is not valid JSON: %1").arg(std::get<QString>(parsed)),
                response, data);
        }
    }
    if (m_removesKeysWithNullValues && result.isValid())
        result = KNJSONRemovingNullValues(result, m_readingOptions);
    if (error)
        *error = KNErrorByWrapping(decodingError, *error);
    return result;
}

std::shared_ptr<KNHTTPResponseSerializer> KNJSONResponseSerializer::freshInstance() const
{
    return std::make_shared<KNJSONResponseSerializer>();
}

QString KNJSONResponseSerializer::className() const
{
    return QStringLiteral("KNJSONResponseSerializer");
}

std::shared_ptr<KNHTTPResponseSerializer> KNJSONResponseSerializer::clone() const
{
    auto copy = std::make_shared<KNJSONResponseSerializer>(m_readingOptions);
    copy->m_removesKeysWithNullValues = m_removesKeysWithNullValues;
    return copy;
}

QVariantMap KNJSONResponseSerializer::archive() const
{
    QVariantMap archive = KNHTTPResponseSerializer::archive();
    archive.insert(readingOptionsKey, m_readingOptions);
    archive.insert(removesNullsKey, m_removesKeysWithNullValues);
    return archive;
}

void KNJSONResponseSerializer::restoreFromArchive(const QVariantMap& archive)
{
    KNHTTPResponseSerializer::restoreFromArchive(archive);
    m_readingOptions = archive.value(readingOptionsKey).toULongLong();
    m_removesKeysWithNullValues = archive.value(removesNullsKey).toBool();
}

QVariant KNJSONRemovingNullValues(const QVariant& object, quint64 readingOptions)
{
    if (object.metaType() == QMetaType::fromType<QVariantList>()) {
        QVariantList list = object.toList();
        for (QVariant& element : list)
            element = KNJSONRemovingNullValues(element, readingOptions);
        return list;
    }
    if (object.metaType() == QMetaType::fromType<QVariantMap>()) {
        QVariantMap map = object.toMap();
        for (auto it = map.begin(); it != map.end();) {
            if (isNullMarker(*it)) {
                it = map.erase(it);
            } else {
                *it = KNJSONRemovingNullValues(*it, readingOptions);
                ++it;
            }
        }
        return map;
    }
    return object;
}
