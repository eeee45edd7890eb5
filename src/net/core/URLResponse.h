#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QString>
#include <QUrl>

#include <optional>

namespace net {

/// What a server answered, without the body: the address, the MIME type and text encoding
/// taken from "Content-Type", the expected length (-1 when unknown) and, for HTTP, the
/// status code and header fields. A response of another scheme is not an HTTP response.
class URLResponse {
public:
    URLResponse() = default;
    /// A response that is not HTTP (a file, for instance).
    URLResponse(QUrl url, QString mimeType, qint64 expectedContentLength, QString textEncodingName);
    /// An HTTP response; MIME type, text encoding and expected length come from the fields.
    static URLResponse http(QUrl url, int statusCode, QList<QPair<QByteArray, QByteArray>> headerFields);

    const QUrl& url() const { return m_url; }
    /// Lower case, without parameters; null when the server named none.
    const QString& mimeType() const { return m_mimeType; }
    /// The "charset" parameter as given (an IANA name); null when there is none.
    const QString& textEncodingName() const { return m_textEncodingName; }
    qint64 expectedContentLength() const { return m_expectedContentLength; }

    bool isHTTP() const { return m_isHTTP; }
    /// 0 for a response that is not HTTP.
    int statusCode() const { return m_statusCode; }
    const QList<QPair<QByteArray, QByteArray>>& allHeaderFields() const { return m_headers; }
    /// The value of a header field (names compared without regard to case), or none.
    std::optional<QByteArray> valueForHTTPHeaderField(const QByteArray& field) const;

    /// The short English text for a status code ("not found" for 404), as servers and
    /// browsers phrase it; "server error" or the like for codes without a text of their own.
    static QString localizedStringForStatusCode(int statusCode);

    friend bool operator==(const URLResponse& a, const URLResponse& b)
    {
        return a.m_url == b.m_url && a.m_isHTTP == b.m_isHTTP && a.m_statusCode == b.m_statusCode
            && a.m_headers == b.m_headers && a.m_mimeType == b.m_mimeType
            && a.m_textEncodingName == b.m_textEncodingName
            && a.m_expectedContentLength == b.m_expectedContentLength;
    }

private:
    QUrl m_url;
    QString m_mimeType;
    QString m_textEncodingName;
    qint64 m_expectedContentLength = -1;
    bool m_isHTTP = false;
    int m_statusCode = 0;
    QList<QPair<QByteArray, QByteArray>> m_headers;
};

} // namespace net

Q_DECLARE_METATYPE(net::URLResponse)
