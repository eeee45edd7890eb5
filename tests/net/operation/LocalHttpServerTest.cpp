#include "support/LocalHttpServer.h"

#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::LocalHttpServer;

namespace {

/// Sends raw bytes and reads until the server has sent `expectedBytes` or closed.
QByteArray exchange(const LocalHttpServer& server, const QByteArray& raw, qsizetype expectedBytes)
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, quint16(server.url(u"/"_s).port()));
    EXPECT_TRUE(socket.waitForConnected(5000));
    socket.write(raw);
    QByteArray received;
    while (received.size() < expectedBytes && socket.waitForReadyRead(5000))
        received += socket.readAll();
    return received + socket.readAll();
}

} // namespace

TEST(LocalHttpServerTest, AnswersRequestsOnOneConnectionInOrderAndRecordsThem)
{
    LocalHttpServer server;
    server.setReply(u"/a"_s, { 200, { { "Content-Type", "text/plain" } }, "first" });
    const QByteArray both = exchange(server,
        "GET /a?x=1 HTTP/1.1\r\nHost: h\r\n\r\nPOST /b HTTP/1.1\r\nContent-Length: 3\r\n\r\nxyz", 120);

    const qsizetype second = both.indexOf("HTTP/1.1 404");
    ASSERT_GT(second, 0) << both.constData();
    EXPECT_TRUE(both.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(both.left(second).contains("Content-Length: 5\r\n"));
    EXPECT_TRUE(both.left(second).endsWith("\r\n\r\nfirst"));
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[1].body, "xyz");
    EXPECT_EQ(server.requests()[0].header("host"), QByteArray("h"));
    EXPECT_EQ(server.requestCount(u"/a"_s), 1);
}

TEST(LocalHttpServerTest, RangeRepliesAndTruncatedBodies)
{
    LocalHttpServer::Request request;
    request.headers = { { "Range", "bytes=3-" } };
    const auto partial = LocalHttpServer::rangeReply(request, "0123456789", "\"v1\"");
    EXPECT_EQ(partial.status, 206);
    EXPECT_EQ(partial.body, "3456789");
    EXPECT_TRUE(partial.headers.contains(qMakePair(QByteArray("Content-Range"), QByteArray("bytes 3-9/10"))));
    EXPECT_EQ(LocalHttpServer::rangeReply({}, "0123456789").status, 200);

    LocalHttpServer server;
    LocalHttpServer::Reply cut;
    cut.body = QByteArray(100, 'x');
    cut.closeAfterBodyBytes = 10;
    server.setReply(u"/cut"_s, cut);
    const QByteArray received = exchange(server, "GET /cut HTTP/1.1\r\n\r\n", 1000);
    EXPECT_TRUE(received.contains("Content-Length: 100\r\n"));
    EXPECT_TRUE(received.endsWith(QByteArray("\r\n\r\n").append(QByteArray(10, 'x'))));
}
