// Requests the serializers build, sent to the echo server and read back by Python's own
// parsers.
#include "EchoSending.h"

#include "net/request/KNJSONRequestSerializer.h"
#include "net/request/KNPropertyListRequestSerializer.h"
#include "net/support/EchoServer.h"

#include <QDateTime>
#include <QJsonArray>

#include <gtest/gtest.h>

using namespace net;
using namespace Qt::Literals::StringLiterals;
using echotest::send;

namespace {

class EchoServerRequestTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.isRunning()); }

    QJsonObject sendBuilt(const KNHTTPRequestSerializer& serializer, const QByteArray& method,
        const QString& path, const QVariant& parameters)
    {
        std::optional<Error> error;
        const auto request = serializer.requestWithMethod(method, server.urlString(path), parameters, &error);
        EXPECT_TRUE(request) << (error ? error->localizedDescription().toStdString() : std::string());
        return request ? send(*request) : QJsonObject();
    }

    mervane::test::EchoServer server;
};

QJsonArray pairs(std::initializer_list<std::pair<QString, QString>> list)
{
    QJsonArray array;
    for (const auto& [name, value] : list)
        array.append(QJsonArray { name, value });
    return array;
}

} // namespace

TEST_F(EchoServerRequestTest, EscapedParametersArriveInTheQueryOrTheFormBody)
{
    KNHTTPRequestSerializer serializer;
    const QVariantMap parameters { { u"q"_s, u"a b&c"_s } };

    QJsonObject echo = sendBuilt(serializer, "GET", u"/search#results"_s, parameters);
    EXPECT_EQ(echo[u"path"_s], u"/search"_s);
    EXPECT_EQ(echo[u"query"_s], u"q=a%20b%26c"_s);
    EXPECT_EQ(echo[u"query_pairs"_s], pairs({ { u"q"_s, u"a b&c"_s } }));

    echo = sendBuilt(serializer, "POST", u"/form?x=1"_s, parameters);
    EXPECT_EQ(echo[u"query"_s], u"x=1"_s);
    EXPECT_EQ(echo[u"headers"_s][u"content-type"_s], u"application/x-www-form-urlencoded"_s);
    EXPECT_EQ(QByteArray::fromBase64(echo[u"body_base64"_s].toString().toLatin1()), "q=a%20b%26c");
    EXPECT_EQ(echo[u"form_pairs"_s], pairs({ { u"q"_s, u"a b&c"_s } }));

    const QVariantMap nested {
        { u"b"_s, QVariantList { 1, 2 } },
        { u"a"_s, QVariantMap { { u"y"_s, u"v"_s }, { u"x"_s, u"u"_s } } },
    };
    echo = sendBuilt(serializer, "GET", u"/nested"_s, nested);
    EXPECT_EQ(echo[u"query"_s], u"a[x]=u&a[y]=v&b[]=1&b[]=2"_s);
    EXPECT_EQ(echo[u"query_pairs"_s],
        pairs({ { u"a[x]"_s, u"u"_s }, { u"a[y]"_s, u"v"_s }, { u"b[]"_s, u"1"_s }, { u"b[]"_s, u"2"_s } }));
}

TEST_F(EchoServerRequestTest, DefaultFieldsAndAuthorisationArrive)
{
    KNHTTPRequestSerializer serializer;
    serializer.setAuthorizationHeaderFieldWithUsername(u"user"_s, u"pass"_s);
    const QJsonObject headers
        = sendBuilt(serializer, "DELETE", u"/item"_s, QVariant())[u"headers"_s].toObject();
    EXPECT_EQ(headers[u"authorization"_s], u"Basic dXNlcjpwYXNz"_s);
    EXPECT_EQ(
        headers[u"user-agent"_s].toString().toLatin1(), serializer.valueForHTTPHeaderField("User-Agent"));
    EXPECT_EQ(headers[u"accept-language"_s].toString().toLatin1(),
        serializer.valueForHTTPHeaderField("Accept-Language"));
}

TEST_F(EchoServerRequestTest, JSONBodiesReadBackEqual)
{
    const QVariantMap document {
        { u"name"_s, u"Zoë \"Z\" \\ 東京 😀\n\t\u0001"_s },
        { u"amounts"_s,
            QVariantList { 0, -12, 1234567.25, 9007199254740993LL, true, QVariant::fromValue(nullptr) } },
        { u"nested"_s, QVariantMap { { u"empty"_s, QVariantList() }, { u"map"_s, QVariantMap() } } },
    };
    for (quint64 options : { quint64(0), KNJSONRequestSerializer::prettyPrinted }) {
        const QJsonObject echo = sendBuilt(
            *KNJSONRequestSerializer::serializerWithWritingOptions(options), "POST", u"/json"_s, document);
        EXPECT_EQ(echo[u"headers"_s][u"content-type"_s], u"application/json"_s);
        ASSERT_TRUE(echo.contains(u"json"_s)) << echo[u"json_error"_s].toString().toStdString();
        EXPECT_EQ(echo[u"json"_s], QJsonValue::fromVariant(document));
    }
}

TEST_F(EchoServerRequestTest, PropertyListBodiesReadBackEqual)
{
    const QVariantMap document {
        { u"text"_s, u"<a & b> ]]> \r\n 東京 😀"_s },
        { u"numbers"_s, QVariantList { -7, 2.5, Q_INT64_C(-9223372036854775807), false, true } },
        { u"data"_s, QByteArray("\x00\xff payload", 10) },
        { u"when"_s, QDateTime(QDate(2026, 12, 7), QTime(8, 30, 15), Qt::UTC) },
        { u"nested"_s, QVariantMap { { u"list"_s, QVariantList { u""_s } }, { u"map"_s, QVariantMap() } } },
    };
    const QJsonObject echo
        = sendBuilt(*KNPropertyListRequestSerializer::serializer(), "PUT", u"/plist"_s, document);
    EXPECT_EQ(echo[u"headers"_s][u"content-type"_s], u"application/x-plist"_s);
    ASSERT_TRUE(echo.contains(u"plist"_s)) << echo[u"plist_error"_s].toString().toStdString();

    QVariantMap expected = document;
    expected[u"data"_s] = QVariantMap { { u"$data"_s, QByteArray("\x00\xff payload", 10).toBase64() } };
    expected[u"when"_s] = QVariantMap { { u"$date"_s, u"2026-12-07T08:30:15"_s } };
    EXPECT_EQ(echo[u"plist"_s], QJsonValue::fromVariant(expected));
}
