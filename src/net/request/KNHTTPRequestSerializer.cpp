#include "net/request/KNHTTPRequestSerializer.h"

#include "net/request/KNJSONRequestSerializer.h"
#include "net/request/KNPropertyListRequestSerializer.h"
#include "net/request/KNQueryString.h"
#include "net/request/TextEncoding.h"
#include "platform/Strings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>

#include <algorithm>

namespace net {
namespace {

const QString headersKey = QStringLiteral("mutableHTTPRequestHeaders");
const QString styleKey = QStringLiteral("queryStringSerializationStyle");
const QString methodsKey = QStringLiteral("HTTPMethodsEncodingParametersInURI");
const QByteArray authorizationField = QByteArrayLiteral("Authorization");
const QByteArray contentTypeField = QByteArrayLiteral("Content-Type");

QByteArray userAgent()
{
    QString executable;
    if (QCoreApplication::instance())
        executable = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (executable.isEmpty())
        executable = QCoreApplication::applicationName();
    QString text = QStringLiteral("%1/%2 (Linux %3)")
                       .arg(executable, QCoreApplication::applicationVersion(), QSysInfo::kernelVersion());
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii)
        text = KNTransliteratedToASCII(text);
    return text.toLatin1();
}

Error unrepresentableParameterError(const QString& encoding)
{
    QVariantMap info;
    info.insert(localizedDescriptionKey,
        platform::Strings::tr("A parameter cannot be represented in the text encoding %1.").arg(encoding));
    return Error(KNURLRequestSerializationErrorDomain, badURL, std::move(info));
}

} // namespace

QByteArray KNAcceptLanguageHeader(const QStringList& languages)
{
    QStringList entries;
    for (qsizetype index = 0; index < languages.size(); ++index) {
        // Single precision as the weights have always been computed, so 0.5 is reached exactly.
        const float q = float(index) * -0.1f + 1.0f;
        entries.append(
            QStringLiteral("%1;q=%2").arg(languages.at(index), QString::asprintf("%0.1g", double(q))));
        if (q <= 0.5f)
            break;
    }
    return entries.join(QStringLiteral(", ")).toUtf8();
}

KNHTTPRequestSerializer::KNHTTPRequestSerializer()
    : m_methodsEncodingInURI { QStringLiteral("GET"), QStringLiteral("HEAD"), QStringLiteral("DELETE") }
{
    m_headers.insert("Accept-Language", KNAcceptLanguageHeader(QLocale().uiLanguages()));
    m_headers.insert("User-Agent", userAgent());
}

std::shared_ptr<KNHTTPRequestSerializer> KNHTTPRequestSerializer::serializer()
{
    return std::make_shared<KNHTTPRequestSerializer>();
}

void KNHTTPRequestSerializer::markChanged(const QString& keyPath)
{
    m_changedKeyPaths.insert(keyPath);
}

void KNHTTPRequestSerializer::setAllowsCellularAccess(bool allows)
{
    m_allowsCellularAccess = allows;
    markChanged(QStringLiteral("allowsCellularAccess"));
}

void KNHTTPRequestSerializer::setCachePolicy(quint64 policy)
{
    m_cachePolicy = policy;
    markChanged(QStringLiteral("cachePolicy"));
}

void KNHTTPRequestSerializer::setHttpShouldHandleCookies(bool handles)
{
    m_httpShouldHandleCookies = handles;
    markChanged(QStringLiteral("HTTPShouldHandleCookies"));
}

void KNHTTPRequestSerializer::setHttpShouldUsePipelining(bool uses)
{
    m_httpShouldUsePipelining = uses;
    markChanged(QStringLiteral("HTTPShouldUsePipelining"));
}

void KNHTTPRequestSerializer::setNetworkServiceType(quint64 type)
{
    m_networkServiceType = type;
    markChanged(QStringLiteral("networkServiceType"));
}

void KNHTTPRequestSerializer::setTimeoutInterval(double seconds)
{
    m_timeoutInterval = seconds;
    markChanged(QStringLiteral("timeoutInterval"));
}

void KNHTTPRequestSerializer::setHTTPMethodsEncodingParametersInURI(QSet<QString> methods)
{
    m_methodsEncodingInURI.clear();
    for (const QString& method : methods)
        m_methodsEncodingInURI.insert(method.toUpper());
}

std::optional<QByteArray> KNHTTPRequestSerializer::valueForHTTPHeaderField(const QByteArray& field) const
{
    for (auto it = m_headers.cbegin(); it != m_headers.cend(); ++it)
        if (it.key().compare(field, Qt::CaseInsensitive) == 0)
            return it.value();
    return std::nullopt;
}

void KNHTTPRequestSerializer::setValue(const std::optional<QByteArray>& value, const QByteArray& field)
{
    for (auto it = m_headers.begin(); it != m_headers.end();) {
        if (it.key().compare(field, Qt::CaseInsensitive) == 0)
            it = m_headers.erase(it);
        else
            ++it;
    }
    if (value)
        m_headers.insert(field, *value);
}

void KNHTTPRequestSerializer::setAuthorizationHeaderFieldWithUsername(
    const QString& username, const QString& password)
{
    const QByteArray credentials = QStringLiteral("%1:%2").arg(username, password).toUtf8();
    setValue("Basic " + credentials.toBase64(), authorizationField);
}

void KNHTTPRequestSerializer::setAuthorizationHeaderFieldWithToken(const QString& token)
{
    setValue("Token token=\"" + token.toUtf8() + '"', authorizationField);
}

void KNHTTPRequestSerializer::clearAuthorizationHeader()
{
    setValue(std::nullopt, authorizationField);
}

void KNHTTPRequestSerializer::setQueryStringSerializationWithStyle(quint64 style)
{
    m_queryStringStyle = style;
    m_queryStringBlock = nullptr;
}

void KNHTTPRequestSerializer::setQueryStringSerializationWithBlock(QueryStringSerializationBlock block)
{
    m_queryStringBlock = std::move(block);
}

void KNHTTPRequestSerializer::applyRequestSettings(URLRequest& request) const
{
    for (const QString& keyPath : KNObservedRequestKeyPaths()) {
        if (!m_changedKeyPaths.contains(keyPath))
            continue;
        if (keyPath == u"allowsCellularAccess")
            request.setAllowsCellularAccess(m_allowsCellularAccess);
        else if (keyPath == u"cachePolicy")
            request.setCachePolicy(m_cachePolicy);
        else if (keyPath == u"HTTPShouldHandleCookies")
            request.setHttpShouldHandleCookies(m_httpShouldHandleCookies);
        else if (keyPath == u"HTTPShouldUsePipelining")
            request.setHttpShouldUsePipelining(m_httpShouldUsePipelining);
        else if (keyPath == u"networkServiceType")
            request.setNetworkServiceType(m_networkServiceType);
        else if (keyPath == u"timeoutInterval")
            request.setTimeoutInterval(m_timeoutInterval);
    }
}

std::optional<URLRequest> KNHTTPRequestSerializer::requestWithMethod(const QByteArray& method,
    const QString& URLString, const QVariant& parameters, std::optional<Error>* error) const
{
    URLRequest request { QUrl(URLString) };
    request.setHttpMethod(method);
    applyRequestSettings(request);
    return requestBySerializingRequest(request, parameters, error);
}

URLRequest KNHTTPRequestSerializer::requestWithDefaultHeaders(const URLRequest& request) const
{
    URLRequest copy = request;
    for (auto it = m_headers.cbegin(); it != m_headers.cend(); ++it)
        if (!request.valueForHTTPHeaderField(it.key()))
            copy.setValue(it.value(), it.key());
    return copy;
}

bool KNHTTPRequestSerializer::encodesParametersInURI(const URLRequest& request) const
{
    return m_methodsEncodingInURI.contains(QString::fromLatin1(request.httpMethod()).toUpper());
}

std::optional<QString> KNHTTPRequestSerializer::queryString(
    const URLRequest& request, const QVariant& parameters, std::optional<Error>* error) const
{
    if (m_queryStringBlock) {
        std::optional<Error> blockError;
        QString query = m_queryStringBlock(request, parameters, &blockError);
        if (blockError) {
            if (error)
                *error = blockError;
            return std::nullopt;
        }
        return query;
    }
    QStringList components;
    for (const KNQueryStringPair& pair : KNQueryPairsFromDictionary(parameters)) {
        const auto component = pair.URLEncodedStringValueWithEncoding(m_stringEncoding);
        if (!component) {
            // Sending the parameter in a form the server cannot read back would send
            // something other than what the caller gave.
            if (error)
                *error = unrepresentableParameterError(m_stringEncoding);
            return std::nullopt;
        }
        components.append(*component);
    }
    return components.join(u'&');
}

std::optional<URLRequest> KNHTTPRequestSerializer::requestBySerializingRequest(
    const URLRequest& request, const QVariant& parameters, std::optional<Error>* error) const
{
    URLRequest copy = requestWithDefaultHeaders(request);
    if (!parameters.isValid())
        return copy;
    // A style this serializer does not know builds no query.
    if (!m_queryStringBlock && m_queryStringStyle != defaultQueryStringStyle)
        return copy;
    const auto query = queryString(request, parameters, error);
    if (!query)
        return std::nullopt;
    if (encodesParametersInURI(copy)) {
        // The query goes before any fragment, never into it.
        QUrl url = copy.url();
        const QString existing = url.query(QUrl::FullyEncoded);
        url.setQuery(url.hasQuery() ? existing + u'&' + *query : *query, QUrl::TolerantMode);
        copy.setUrl(url);
    } else {
        const auto body = KNEncodeText(*query, m_stringEncoding);
        if (!body) {
            if (error)
                *error = unrepresentableParameterError(m_stringEncoding);
            return std::nullopt;
        }
        if (!copy.valueForHTTPHeaderField(contentTypeField))
            copy.setValue(QByteArrayLiteral("application/x-www-form-urlencoded"), contentTypeField);
        copy.setHttpBody(*body);
    }
    return copy;
}

std::shared_ptr<KNHTTPRequestSerializer> KNHTTPRequestSerializer::freshInstance() const
{
    return std::make_shared<KNHTTPRequestSerializer>();
}

QString KNHTTPRequestSerializer::className() const
{
    return QStringLiteral("KNHTTPRequestSerializer");
}

void KNHTTPRequestSerializer::copyBaseFieldsTo(KNHTTPRequestSerializer& copy) const
{
    copy.m_headers = m_headers;
    copy.m_queryStringStyle = m_queryStringStyle;
    copy.m_queryStringBlock = m_queryStringBlock;
    copy.m_methodsEncodingInURI = m_methodsEncodingInURI;
}

std::shared_ptr<KNHTTPRequestSerializer> KNHTTPRequestSerializer::clone() const
{
    auto copy = freshInstance();
    copyBaseFieldsTo(*copy);
    return copy;
}

QVariantMap KNHTTPRequestSerializer::archive() const
{
    QVariantMap archive;
    archive.insert(archiveClassKey, className());
    QVariantMap headers;
    for (auto it = m_headers.cbegin(); it != m_headers.cend(); ++it)
        headers.insert(QString::fromLatin1(it.key()), it.value());
    archive.insert(headersKey, headers);
    archive.insert(styleKey, m_queryStringStyle);
    QStringList methods(m_methodsEncodingInURI.begin(), m_methodsEncodingInURI.end());
    methods.sort();
    archive.insert(methodsKey, methods);
    return archive;
}

void KNHTTPRequestSerializer::restoreFromArchive(const QVariantMap& archive)
{
    m_headers.clear();
    const QVariantMap headers = archive.value(headersKey).toMap();
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        m_headers.insert(it.key().toLatin1(), it.value().toByteArray());
    m_queryStringStyle = archive.value(styleKey).toULongLong();
    if (archive.contains(methodsKey)) {
        const QStringList methods = archive.value(methodsKey).toStringList();
        setHTTPMethodsEncodingParametersInURI(QSet<QString>(methods.begin(), methods.end()));
    }
}

std::shared_ptr<KNHTTPRequestSerializer> KNHTTPRequestSerializer::fromArchive(const QVariantMap& archive)
{
    static const ArchiveFactories<KNHTTPRequestSerializer> factories = {
        { QStringLiteral("KNHTTPRequestSerializer"), [] { return KNHTTPRequestSerializer::serializer(); } },
        { QStringLiteral("KNJSONRequestSerializer"), [] { return KNJSONRequestSerializer::serializer(); } },
        { QStringLiteral("KNPropertyListRequestSerializer"),
            [] { return KNPropertyListRequestSerializer::serializer(); } },
    };
    return objectFromArchive(
        archive, factories, [](KNHTTPRequestSerializer& serializer, const QVariantMap& fields) {
            serializer.restoreFromArchive(fields);
        });
}

} // namespace net
