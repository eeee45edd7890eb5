#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QUrl>

#include <memory>
#include <optional>

namespace net {

/// One HTTP request as a value: address, method, header fields (names compared without
/// regard to case, the first spelling kept), a body held in memory or a stream to read it
/// from, the time-out of the transfer, and the request settings a request serializer
/// passes on (kept with the request; the loading reads only the time-out).
class URLRequest {
public:
    /// Seconds a transfer may go without progress before it fails with `timedOut`.
    static constexpr double defaultTimeoutInterval = 60.0;

    URLRequest() = default;
    explicit URLRequest(QUrl url, double timeoutInterval = defaultTimeoutInterval);

    const QUrl& url() const { return m_url; }
    void setUrl(QUrl url) { m_url = std::move(url); }
    /// "GET" unless set.
    const QByteArray& httpMethod() const { return m_httpMethod; }
    void setHttpMethod(QByteArray method) { m_httpMethod = std::move(method); }
    double timeoutInterval() const { return m_timeoutInterval; }
    void setTimeoutInterval(double seconds) { m_timeoutInterval = seconds; }

    /// Whether the transfer may use a cellular link; true unless set.
    bool allowsCellularAccess() const { return m_allowsCellularAccess; }
    void setAllowsCellularAccess(bool allows) { m_allowsCellularAccess = allows; }
    /// 0 (the protocol's own caching) unless set.
    quint64 cachePolicy() const { return m_cachePolicy; }
    void setCachePolicy(quint64 policy) { m_cachePolicy = policy; }
    /// True unless set.
    bool httpShouldHandleCookies() const { return m_httpShouldHandleCookies; }
    void setHttpShouldHandleCookies(bool handles) { m_httpShouldHandleCookies = handles; }
    /// False unless set.
    bool httpShouldUsePipelining() const { return m_httpShouldUsePipelining; }
    void setHttpShouldUsePipelining(bool uses) { m_httpShouldUsePipelining = uses; }
    /// 0 (default traffic) unless set.
    quint64 networkServiceType() const { return m_networkServiceType; }
    void setNetworkServiceType(quint64 type) { m_networkServiceType = type; }

    /// The value of a header field, or none.
    std::optional<QByteArray> valueForHTTPHeaderField(const QByteArray& field) const;
    /// Sets (or, with none, removes) a header field.
    void setValue(const std::optional<QByteArray>& value, const QByteArray& field);
    /// Adds to a field, joining with ",".
    void addValue(const QByteArray& value, const QByteArray& field);
    const QList<QPair<QByteArray, QByteArray>>& allHTTPHeaderFields() const { return m_headers; }

    /// The body in memory; none when there is none (distinct from an empty body).
    const std::optional<QByteArray>& httpBody() const { return m_httpBody; }
    /// Setting a body drops a body stream.
    void setHttpBody(std::optional<QByteArray> body);
    /// The body read from a device while sending; shared, not copied, by copies of the
    /// request. Setting a stream drops an in-memory body.
    const std::shared_ptr<QIODevice>& httpBodyStream() const { return m_httpBodyStream; }
    void setHttpBodyStream(std::shared_ptr<QIODevice> stream);

private:
    QUrl m_url;
    QByteArray m_httpMethod = "GET";
    double m_timeoutInterval = defaultTimeoutInterval;
    bool m_allowsCellularAccess = true;
    quint64 m_cachePolicy = 0;
    bool m_httpShouldHandleCookies = true;
    bool m_httpShouldUsePipelining = false;
    quint64 m_networkServiceType = 0;
    QList<QPair<QByteArray, QByteArray>> m_headers;
    std::optional<QByteArray> m_httpBody;
    std::shared_ptr<QIODevice> m_httpBodyStream;
};

} // namespace net

Q_DECLARE_METATYPE(net::URLRequest)
