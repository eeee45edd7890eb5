#include "support/LocalHttpServer.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace mervane::test {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 304:
        return "Not Modified";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 416:
        return "Range Not Satisfiable";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

bool hasHeader(const LocalHttpServer::Headers& headers, const QByteArray& name)
{
    for (const auto& [field, value] : headers)
        if (field.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

/// One client connection: collects bytes until a whole request is there, answers it, and
/// goes on with the next one on the same connection.
struct Connection {
    QPointer<QTcpSocket> socket;
    QByteArray buffer;
    bool stalled = false; // an answer was held back; later bytes are ignored
};

} // namespace

std::optional<QByteArray> LocalHttpServer::Request::header(const QByteArray& name) const
{
    for (const auto& [field, value] : headers)
        if (field.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
}

/// Lives on the server's thread and owns the listening socket and every connection.
class LocalHttpServerWorker : public QObject {
public:
    explicit LocalHttpServerWorker(LocalHttpServer& owner) : m_owner(owner) { }

    quint16 listen(std::optional<QSslConfiguration> tls)
    {
        closeAll();
        if (tls) {
            auto* server = new QSslServer(this);
            server->setSslConfiguration(*tls);
            m_server = server;
        } else {
            m_server = new QTcpServer(this);
        }
        m_server->setMaxPendingConnections(256);
        // A TLS connection becomes pending only after its handshake, which the newConnection
        // of the plain accept has not waited for.
        QObject::connect(m_server, &QTcpServer::newConnection, this, [this] { acceptPending(); });
        QObject::connect(
            m_server, &QTcpServer::pendingConnectionAvailable, this, [this] { acceptPending(); });
        if (!m_server->listen(QHostAddress::LocalHost, 0))
            qFatal("LocalHttpServer cannot listen: %s", qPrintable(m_server->errorString()));
        return m_server->serverPort();
    }

    void closeAll()
    {
        for (auto& connection : m_connections)
            if (connection->socket)
                connection->socket->abort();
        m_connections.clear();
        delete m_server;
        m_server = nullptr;
    }

private:
    void acceptPending()
    {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            auto connection = std::make_shared<Connection>();
            connection->socket = socket;
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            m_connections.push_back(connection);
            QObject::connect(
                socket, &QTcpSocket::readyRead, this, [this, connection] { readFrom(*connection); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->bytesAvailable() > 0)
                readFrom(*connection);
        }
    }

    void readFrom(Connection& connection)
    {
        if (!connection.socket)
            return;
        connection.buffer += connection.socket->readAll();
        while (!connection.stalled && connection.socket) {
            const qsizetype headerEnd = connection.buffer.indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            LocalHttpServer::Request request;
            const QList<QByteArray> lines = connection.buffer.left(headerEnd).split('\n');
            const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
            request.method = requestLine.value(0);
            request.path = requestLine.value(1);
            qint64 contentLength = 0;
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon <= 0)
                    continue;
                const QByteArray name = lines[i].left(colon).trimmed();
                const QByteArray value = lines[i].mid(colon + 1).trimmed();
                request.headers.append({ name, value });
                if (name.compare("Content-Length", Qt::CaseInsensitive) == 0)
                    contentLength = value.toLongLong();
            }
            const qsizetype bodyStart = headerEnd + 4;
            if (connection.buffer.size() - bodyStart < contentLength)
                return;
            request.body = connection.buffer.mid(bodyStart, contentLength);
            connection.buffer.remove(0, bodyStart + contentLength);
            respond(connection, request, m_owner.answer(request));
        }
    }

    static void respond(
        Connection& connection, const LocalHttpServer::Request& request, const LocalHttpServer::Reply& reply)
    {
        if (reply.neverAnswer) {
            connection.stalled = true;
            return;
        }
        QByteArray head
            = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
        for (const auto& [field, value] : reply.headers)
            head += field + ": " + value + "\r\n";
        if (!hasHeader(reply.headers, "Content-Length"))
            head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
        head += "\r\n";
        QTcpSocket* socket = connection.socket;
        // One write for head and body: two small ones wait for the client's delayed ACK.
        if (request.method == "HEAD") {
            socket->write(head);
        } else if (reply.closeAfterBodyBytes >= 0) {
            socket->write(head + reply.body.left(reply.closeAfterBodyBytes));
            connection.stalled = true;
            socket->disconnectFromHost();
        } else if (reply.holdAfterBodyBytes >= 0) {
            socket->write(head + reply.body.left(reply.holdAfterBodyBytes));
            connection.stalled = true;
        } else {
            socket->write(head + reply.body);
        }
    }

    LocalHttpServer& m_owner;
    QTcpServer* m_server = nullptr;
    std::vector<std::shared_ptr<Connection>> m_connections;
};

LocalHttpServer::LocalHttpServer() : m_thread(new QThread)
{
    m_thread->setObjectName(u"LocalHttpServer"_s);
    m_thread->start();
    m_worker = new LocalHttpServerWorker(*this);
    m_worker->moveToThread(m_thread);
    QMetaObject::invokeMethod(
        m_worker, [this] { m_port = m_worker->listen(std::nullopt); }, Qt::BlockingQueuedConnection);
}

LocalHttpServer::~LocalHttpServer()
{
    QMetaObject::invokeMethod(
        m_worker,
        [this] {
            m_worker->closeAll();
            delete m_worker;
        },
        Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

QUrl LocalHttpServer::url(const QString& path) const
{
    QUrl url;
    url.setScheme(m_tls ? u"https"_s : u"http"_s);
    url.setHost(u"127.0.0.1"_s);
    url.setPort(m_port);
    const qsizetype query = path.indexOf(u'?');
    url.setPath(path.left(query));
    if (query >= 0)
        url.setQuery(path.mid(query + 1));
    return url;
}

void LocalHttpServer::setReply(const QString& path, Reply reply)
{
    setHandler(path, [reply = std::move(reply)](const Request&) { return reply; });
}

void LocalHttpServer::setHandler(const QString& path, std::function<Reply(const Request&)> handler)
{
    QMutexLocker locker(&m_mutex);
    m_handlers[path] = std::move(handler);
}

QList<LocalHttpServer::Request> LocalHttpServer::requests() const
{
    QMutexLocker locker(&m_mutex);
    return m_requests;
}

int LocalHttpServer::requestCount(const QString& path) const
{
    QMutexLocker locker(&m_mutex);
    int count = 0;
    for (const Request& request : m_requests)
        if (QString::fromLatin1(request.path).section(u'?', 0, 0) == path)
            ++count;
    return count;
}

void LocalHttpServer::useTls(
    const QSslCertificate& certificate, const QSslKey& key, const QList<QSslCertificate>& chain)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate);
    configuration.setPrivateKey(key);
    QList<QSslCertificate> rest = chain;
    rest.removeAll(certificate);
    configuration.setLocalCertificateChain(QList<QSslCertificate> { certificate } + rest);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    QMetaObject::invokeMethod(
        m_worker, [this, configuration] { m_port = m_worker->listen(configuration); },
        Qt::BlockingQueuedConnection);
    m_tls = true;
}

LocalHttpServer::Reply LocalHttpServer::answer(const Request& request)
{
    std::function<Reply(const Request&)> handler;
    {
        QMutexLocker locker(&m_mutex);
        m_requests.append(request);
        const auto found = m_handlers.find(QString::fromLatin1(request.path).section(u'?', 0, 0));
        if (found != m_handlers.end())
            handler = found->second;
    }
    if (!handler)
        return Reply { 404, { { "Content-Type", "text/plain" } }, "not found" };
    return handler(request);
}

LocalHttpServer::Reply LocalHttpServer::rangeReply(
    const Request& request, const QByteArray& body, const QByteArray& etag)
{
    Reply reply;
    if (!etag.isEmpty())
        reply.headers.append(qMakePair(QByteArray("ETag"), etag));
    reply.headers.append(qMakePair(QByteArray("Accept-Ranges"), QByteArray("bytes")));
    const QByteArray range = request.header("Range").value_or(QByteArray());
    if (!range.startsWith("bytes=") || !range.endsWith('-')) {
        reply.body = body;
        return reply;
    }
    const qint64 from = range.mid(6, range.size() - 7).toLongLong();
    if (from >= body.size()) {
        reply.status = 416;
        reply.headers.append(
            qMakePair(QByteArray("Content-Range"), "bytes */" + QByteArray::number(body.size())));
        return reply;
    }
    reply.status = 206;
    reply.headers.append(qMakePair(QByteArray("Content-Range"),
        "bytes " + QByteArray::number(from) + '-' + QByteArray::number(body.size() - 1) + '/'
            + QByteArray::number(body.size())));
    reply.body = body.mid(from);
    return reply;
}

} // namespace mervane::test
