#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QThread;

namespace mervane::test {

class LocalHttpServerWorker;

/// A real HTTP/1.1 server on 127.0.0.1 for tests and benchmarks, on a thread of its own so
/// that a test may block its main thread while the server answers. The system chooses the
/// port. Connections are kept alive; requests on one connection are answered in order.
class LocalHttpServer {
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    struct Request {
        QByteArray method, path;
        Headers headers;
        QByteArray body;
        /// The first value of a header field, compared without regard to case; none when absent.
        std::optional<QByteArray> header(const QByteArray& name) const;
    };

    struct Reply {
        int status = 200;
        /// Content-Length is added unless given.
        Headers headers;
        QByteArray body;
        /// Read the request, send nothing, keep the socket open.
        bool neverAnswer = false;
        /// Send the full Content-Length, then close after this many body bytes.
        qint64 closeAfterBodyBytes = -1;
        /// Send the full Content-Length and this many body bytes, then nothing more while the
        /// socket stays open (a transfer that stalls half-way).
        qint64 holdAfterBodyBytes = -1;

        static Reply silent()
        {
            Reply reply;
            reply.neverAnswer = true;
            return reply;
        }
        static Reply closingAfter(QByteArray body, qint64 bytes)
        {
            Reply reply;
            reply.body = std::move(body);
            reply.closeAfterBodyBytes = bytes;
            return reply;
        }
    };

    /// Starts listening.
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    /// http://127.0.0.1:port/path (https once `useTls` was called).
    QUrl url(const QString& path) const;
    /// Unknown paths answer 404. The path is matched without the query.
    void setReply(const QString& path, Reply reply);
    void setHandler(const QString& path, std::function<Reply(const Request&)> handler);
    /// Every request received so far, in order; thread-safe.
    QList<Request> requests() const;
    int requestCount(const QString& path) const;

    /// Serves TLS with this identity from now on; call before the first request. The port
    /// changes, so take `url()` afterwards.
    void useTls(
        const QSslCertificate& certificate, const QSslKey& key, const QList<QSslCertificate>& chain = {});

    /// A reply that honours "Range: bytes=N-": 206 with the bytes from N and a Content-Range,
    /// or 200 with the whole body when the request asks for no range. An "ETag" is sent when
    /// given.
    static Reply rangeReply(const Request& request, const QByteArray& body, const QByteArray& etag = {});

private:
    friend class LocalHttpServerWorker;
    Reply answer(const Request& request);

    mutable QMutex m_mutex;
    std::map<QString, std::function<Reply(const Request&)>> m_handlers;
    QList<Request> m_requests;
    QThread* m_thread = nullptr;
    LocalHttpServerWorker* m_worker = nullptr;
    quint16 m_port = 0;
    bool m_tls = false;
};

} // namespace mervane::test
