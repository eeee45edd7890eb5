#pragma once

#include "net/core/Archiving.h"
#include "net/request/KNMultipartFormData.h"
#include "net/request/KNURLRequestSerialization.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace net {

/// Turns a method, an address and parameters into a request: adds the default header
/// fields, the request settings set on the serializer, and the parameters either as the
/// URL's query (for `HTTPMethodsEncodingParametersInURI`) or as a form-encoded body.
/// Parameters are described in `KNURLRequestSerialization`.
///
/// Copies and archives keep the header fields (with the authorisation), the query-string
/// style, and the methods that put their parameters in the address, so that a copy never
/// moves a body's parameters into URLs; a copy also keeps the query-string block. The text
/// encoding and the request settings return to their defaults.
class KNHTTPRequestSerializer : public KNURLRequestSerialization {
public:
    using QueryStringSerializationBlock = std::function<QString(
        const URLRequest& request, const QVariant& parameters, std::optional<Error>* error)>;
    using MultipartBodyBlock = std::function<void(KNMultipartFormData& formData)>;
    using Headers = QMap<QByteArray, QByteArray>;

    /// Archive key naming the class, so that `fromArchive` restores any serializer.
    static inline const QString archiveClassKey = net::archiveClassKey;
    /// The only query-string style: percent-escaped form encoding.
    static constexpr quint64 defaultQueryStringStyle = 0;

    KNHTTPRequestSerializer();
    ~KNHTTPRequestSerializer() override = default;
    KNHTTPRequestSerializer(const KNHTTPRequestSerializer&) = delete;
    KNHTTPRequestSerializer& operator=(const KNHTTPRequestSerializer&) = delete;

    static std::shared_ptr<KNHTTPRequestSerializer> serializer();

    /// IANA name of the encoding of escaped parameters and of the form body; "UTF-8" unless set.
    const QString& stringEncoding() const { return m_stringEncoding; }
    void setStringEncoding(QString encoding) { m_stringEncoding = std::move(encoding); }

    // Request settings: each is passed on to requests only once it was set here.
    bool allowsCellularAccess() const { return m_allowsCellularAccess; }
    void setAllowsCellularAccess(bool allows);
    quint64 cachePolicy() const { return m_cachePolicy; }
    void setCachePolicy(quint64 policy);
    bool httpShouldHandleCookies() const { return m_httpShouldHandleCookies; }
    void setHttpShouldHandleCookies(bool handles);
    bool httpShouldUsePipelining() const { return m_httpShouldUsePipelining; }
    void setHttpShouldUsePipelining(bool uses);
    quint64 networkServiceType() const { return m_networkServiceType; }
    void setNetworkServiceType(quint64 type);
    double timeoutInterval() const { return m_timeoutInterval; }
    void setTimeoutInterval(double seconds);
    /// Names (of `KNObservedRequestKeyPaths`) of the settings set on this serializer.
    const QSet<QString>& mutableObservedChangedKeyPaths() const { return m_changedKeyPaths; }

    /// Upper-case methods whose parameters go into the query; "GET", "HEAD", "DELETE" unless set.
    const QSet<QString>& HTTPMethodsEncodingParametersInURI() const { return m_methodsEncodingInURI; }
    void setHTTPMethodsEncodingParametersInURI(QSet<QString> methods);

    /// The default header fields. Names are matched without regard to case.
    Headers HTTPRequestHeaders() const { return m_headers; }
    std::optional<QByteArray> valueForHTTPHeaderField(const QByteArray& field) const;
    /// Sets, or with none removes, a default header field.
    void setValue(const std::optional<QByteArray>& value, const QByteArray& field);
    /// "Authorization: Basic" with the Base64 of "username:password" in UTF-8.
    void setAuthorizationHeaderFieldWithUsername(const QString& username, const QString& password);
    /// "Authorization: Token token="<token>"".
    void setAuthorizationHeaderFieldWithToken(const QString& token);
    void clearAuthorizationHeader();

    quint64 queryStringSerializationStyle() const { return m_queryStringStyle; }
    /// Stores the style and drops any query-string block.
    void setQueryStringSerializationWithStyle(quint64 style);
    /// While a block is set it builds every query string; an error it reports fails the request.
    void setQueryStringSerializationWithBlock(QueryStringSerializationBlock block);
    const QueryStringSerializationBlock& queryStringSerialization() const { return m_queryStringBlock; }

    /// A request for `method` and `URLString` with the settings set here, serialized with
    /// `parameters`; none when serializing failed (the reason in `error` when given).
    std::optional<URLRequest> requestWithMethod(const QByteArray& method, const QString& URLString,
        const QVariant& parameters, std::optional<Error>* error = nullptr) const;

    /// Default header fields the request lacks are added; parameters go into the query
    /// (before any fragment) or into a form body. Fails with `badURL` when the string
    /// encoding cannot represent a parameter, and with the block's error.
    std::optional<URLRequest> requestBySerializingRequest(
        const URLRequest& request, const QVariant& parameters, std::optional<Error>* error) const override;

    /// A request whose body is a streamed "multipart/form-data" body with the parameters as
    /// form fields, then whatever `block` appends.
    std::optional<URLRequest> multipartFormRequestWithMethod(const QByteArray& method,
        const QString& URLString, const QVariantMap& parameters, const MultipartBodyBlock& block,
        std::optional<Error>* error = nullptr);
    /// Copies the body stream into `fileURL` on a worker thread; the handler runs on the main thread.
    URLRequest requestWithMultipartFormRequest(const URLRequest& request, const QUrl& fileURL,
        std::function<void(const std::optional<Error>&)> completionHandler);

    /// A new serializer of the same class with the fields listed in the class comment.
    virtual std::shared_ptr<KNHTTPRequestSerializer> clone() const;
    /// The header fields, the style, the methods encoding parameters in the address, a
    /// subclass's own fields and the class name.
    virtual QVariantMap archive() const;
    /// A serializer of the class the archive names, with its defaults overwritten by the
    /// archived fields; null for an archive of no known class.
    static std::shared_ptr<KNHTTPRequestSerializer> fromArchive(const QVariantMap& archive);

protected:
    virtual std::shared_ptr<KNHTTPRequestSerializer> freshInstance() const;
    virtual QString className() const;
    virtual void restoreFromArchive(const QVariantMap& archive);
    /// Copies this serializer's base fields (those the class comment says survive) to `copy`.
    void copyBaseFieldsTo(KNHTTPRequestSerializer& copy) const;
    /// `request` with every default header field it does not carry yet.
    URLRequest requestWithDefaultHeaders(const URLRequest& request) const;
    bool encodesParametersInURI(const URLRequest& request) const;

private:
    void markChanged(const QString& keyPath);
    void applyRequestSettings(URLRequest& request) const;
    /// The query string of `parameters`; none on failure, with the error in `error`.
    std::optional<QString> queryString(
        const URLRequest& request, const QVariant& parameters, std::optional<Error>* error) const;

    QString m_stringEncoding = QStringLiteral("UTF-8");
    bool m_allowsCellularAccess = false;
    quint64 m_cachePolicy = 0;
    bool m_httpShouldHandleCookies = false;
    bool m_httpShouldUsePipelining = false;
    quint64 m_networkServiceType = 0;
    double m_timeoutInterval = 0;
    QSet<QString> m_methodsEncodingInURI;
    QSet<QString> m_changedKeyPaths;
    Headers m_headers;
    quint64 m_queryStringStyle = defaultQueryStringStyle;
    QueryStringSerializationBlock m_queryStringBlock;
};

/// "lang;q=1, lang;q=0.9, ..." for the first six of `languages`.
QByteArray KNAcceptLanguageHeader(const QStringList& languages);

} // namespace net
