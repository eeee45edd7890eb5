#include "net/core/URLResponse.h"

#include <QHash>

namespace net {

URLResponse::URLResponse(QUrl url, QString mimeType, qint64 expectedContentLength, QString textEncodingName)
    : m_url(std::move(url))
    , m_mimeType(std::move(mimeType))
    , m_textEncodingName(std::move(textEncodingName))
    , m_expectedContentLength(expectedContentLength)
{
}

URLResponse URLResponse::http(QUrl url, int statusCode, QList<QPair<QByteArray, QByteArray>> headerFields)
{
    URLResponse response;
    response.m_url = std::move(url);
    response.m_isHTTP = true;
    response.m_statusCode = statusCode;
    response.m_headers = std::move(headerFields);

    if (const auto type = response.valueForHTTPHeaderField("Content-Type")) {
        // "text/xml; charset=UTF-8": the type before the first ";", then name=value pairs.
        const QList<QByteArray> parts = type->split(';');
        const QByteArray mime = parts.front().trimmed().toLower();
        if (!mime.isEmpty())
            response.m_mimeType = QString::fromLatin1(mime);
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QByteArray parameter = parts[i].trimmed();
            const qsizetype equals = parameter.indexOf('=');
            if (equals <= 0 || parameter.left(equals).trimmed().toLower() != "charset")
                continue;
            QByteArray value = parameter.mid(equals + 1).trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2);
            if (!value.isEmpty())
                response.m_textEncodingName = QString::fromLatin1(value);
        }
    }
    if (const auto length = response.valueForHTTPHeaderField("Content-Length")) {
        bool ok = false;
        const qint64 value = length->trimmed().toLongLong(&ok);
        if (ok && value >= 0)
            response.m_expectedContentLength = value;
    }
    return response;
}

std::optional<QByteArray> URLResponse::valueForHTTPHeaderField(const QByteArray& field) const
{
    for (const auto& [name, value] : m_headers)
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
}

QString URLResponse::localizedStringForStatusCode(int statusCode)
{
    static const QHash<int, const char*> texts = {
        { 100, "continue" },
        { 101, "switching protocols" },
        { 200, "no error" },
        { 201, "created" },
        { 202, "accepted" },
        { 203, "non-authoritative information" },
        { 204, "no content" },
        { 205, "reset content" },
        { 206, "partial content" },
        { 300, "multiple choices" },
        { 301, "moved permanently" },
        { 302, "found" },
        { 303, "see other" },
        { 304, "not modified" },
        { 305, "use proxy" },
        { 307, "temporarily redirected" },
        { 308, "permanently redirected" },
        { 400, "bad request" },
        { 401, "unauthorized" },
        { 402, "payment required" },
        { 403, "forbidden" },
        { 404, "not found" },
        { 405, "method not allowed" },
        { 406, "unacceptable" },
        { 407, "proxy authentication required" },
        { 408, "request timed out" },
        { 409, "conflict" },
        { 410, "no longer exists" },
        { 411, "length required" },
        { 412, "precondition failed" },
        { 413, "request too large" },
        { 414, "requested URL too long" },
        { 415, "unsupported media type" },
        { 416, "requested range not satisfiable" },
        { 417, "expectation failed" },
        { 429, "too many requests" },
        { 500, "internal server error" },
        { 501, "unimplemented" },
        { 502, "bad gateway" },
        { 503, "service unavailable" },
        { 504, "gateway timed out" },
        { 505, "unsupported version" },
    };
    if (const char* text = texts.value(statusCode))
        return QString::fromLatin1(text);
    switch (statusCode / 100) {
    case 1:
        return QStringLiteral("informational");
    case 2:
        return QStringLiteral("success");
    case 3:
        return QStringLiteral("redirected");
    case 4:
        return QStringLiteral("client error");
    case 5:
        return QStringLiteral("server error");
    default:
        return QStringLiteral("unknown status");
    }
}

} // namespace net
