#include "MultipartTestSupport.h"

#include "net/operation/KNHTTPRequestOperation.h"
#include "net/request/KNHTTPRequestSerializer.h"
#include "net/request/KNStreamingMultipartFormData.h"
#include "net/serialization/KNJSONResponseSerializer.h"

#include "net/support/EchoServer.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using net::KNStreamingMultipartFormData;

namespace {

struct Outcome {
    bool done = false;
    QVariantMap echo;
    std::optional<net::Error> error;
};

class MultipartSendTest : public ::testing::Test {
protected:
    KNStreamingMultipartFormData builder() const
    {
        return KNStreamingMultipartFormData(
            net::URLRequest(server.url(u"/upload"_s)), QStringConverter::Utf8);
    }

    static std::shared_ptr<Outcome> send(const net::URLRequest& request)
    {
        auto outcome = std::make_shared<Outcome>();
        auto operation = std::make_shared<KNHTTPRequestOperation>(request);
        operation->setResponseSerializer(KNJSONResponseSerializer::serializer());
        operation->setCompletionBlockWithSuccess(
            [outcome](KNHTTPRequestOperation&, const QVariant& object) {
                outcome->echo = object.toMap();
                outcome->done = true;
            },
            [outcome](KNHTTPRequestOperation&, const net::Error& error) {
                outcome->error = error;
                outcome->done = true;
            });
        operation->start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome->done; }, 60000)) << "the request never ended";
        return outcome;
    }

    static QVariantList parts(const Outcome& outcome)
    {
        const QVariantMap multipart = outcome.echo.value(u"multipart"_s).toMap();
        EXPECT_EQ(multipart.value(u"defects"_s).toList(), QVariantList());
        return multipart.value(u"parts"_s).toList();
    }

    mervane::test::EchoServer server;
    QTemporaryDir dir;
};

} // namespace

TEST_F(MultipartSendTest, AThreeMebibyteFileAndTwoFieldsArriveAsTheSameParts)
{
    ASSERT_TRUE(server.isRunning());
    QByteArray bytes(3 * 1024 * 1024, '\0');
    QRandomGenerator random(20261207);
    random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    const QString path = dir.filePath(u"statement.pdf"_s);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    std::optional<net::Error> error;
    const auto request = net::KNHTTPRequestSerializer::serializer()->multipartFormRequestWithMethod(
        "POST", server.urlString(u"/upload"_s),
        { { u"year"_s, 2026 }, { u"title"_s, u"Zürich – net worth"_s } },
        [&](net::KNMultipartFormData& formData) {
            formData.appendPartWithFileURL(QUrl::fromLocalFile(path), u"statement"_s, &error);
        },
        &error);
    ASSERT_TRUE(request) << error->localizedDescription().toStdString();
    const quint64 length = request->valueForHTTPHeaderField("Content-Length")->toULongLong();

    const auto outcome = send(*request);
    ASSERT_FALSE(outcome->error) << outcome->error->localizedDescription().toStdString();
    EXPECT_EQ(outcome->echo.value(u"body_size"_s).toULongLong(), length);
    EXPECT_EQ(outcome->echo.value(u"headers"_s).toMap().value(u"content-length"_s).toString(),
        QString::number(length));
    EXPECT_FALSE(outcome->echo.value(u"chunked"_s).toBool());
    const QVariantList received = parts(*outcome);
    ASSERT_EQ(received.size(), 3);
    // The parameters come first, by name, then what the block appended.
    const QVariantMap title = received[0].toMap();
    const QVariantMap year = received[1].toMap();
    const QVariantMap file = received[2].toMap();
    EXPECT_EQ(year.value(u"name"_s).toString(), u"year"_s);
    EXPECT_EQ(QByteArray::fromBase64(year.value(u"body_base64"_s).toByteArray()), "2026");
    EXPECT_EQ(title.value(u"name"_s).toString(), u"title"_s);
    EXPECT_EQ(QByteArray::fromBase64(title.value(u"body_base64"_s).toByteArray()),
        u"Zürich – net worth"_s.toUtf8());
    EXPECT_EQ(file.value(u"name"_s).toString(), u"statement"_s);
    EXPECT_EQ(file.value(u"filename"_s).toString(), u"statement.pdf"_s);
    EXPECT_EQ(file.value(u"size"_s).toLongLong(), bytes.size());
    EXPECT_EQ(file.value(u"sha256"_s).toByteArray(),
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    EXPECT_TRUE(
        file.value(u"headers"_s).toList().contains(QVariantList { u"Content-Type"_s, u"application/pdf"_s }));
}

TEST_F(MultipartSendTest, ANameWithAQuoteAndALineBreakArrivesAsOneEscapedName)
{
    ASSERT_TRUE(server.isRunning());
    auto formData = builder();
    formData.appendPartWithFormData("1", u"evil\"\r\nX-Injected: yes"_s);
    formData.appendPartWithFileData("2", u"file"_s, u"C:\\dir\\\"quoted\".txt"_s, u"text/plain"_s);
    net::URLRequest request = formData.requestByFinalizingMultipartFormData();
    request.setHttpMethod("POST");

    const auto outcome = send(request);
    ASSERT_FALSE(outcome->error) << outcome->error->localizedDescription().toStdString();
    const QVariantList received = parts(*outcome);
    ASSERT_EQ(received.size(), 2);
    const QVariantMap field = received[0].toMap();
    EXPECT_EQ(field.value(u"name"_s).toString(), u"evil%22%0D%0AX-Injected: yes"_s);
    EXPECT_EQ(field.value(u"headers"_s).toList().size(), 1) << "no header was forged";
    EXPECT_EQ(QByteArray::fromBase64(field.value(u"body_base64"_s).toByteArray()), "1");
    const QVariantMap file = received[1].toMap();
    EXPECT_EQ(file.value(u"filename"_s).toString(), u"C:%5Cdir%5C%22quoted%22.txt"_s);
    EXPECT_EQ(QByteArray::fromBase64(file.value(u"body_base64"_s).toByteArray()), "2");
}

TEST_F(MultipartSendTest, ABodyThatFailsWhileSendingFailsTheRequest)
{
    ASSERT_TRUE(server.isRunning());
    auto formData = builder();
    formData.appendPartWithFormData("1", u"before"_s);
    formData.appendPartWithInputStream(
        std::make_shared<mervane::test::FailingReadDevice>(QByteArray(100000, 'x')), u"data"_s, u"data.bin"_s,
        400000, u"application/octet-stream"_s);
    ASSERT_FALSE(formData.error());
    net::URLRequest request = formData.requestByFinalizingMultipartFormData();
    request.setHttpMethod("POST");

    const auto outcome = send(request);
    EXPECT_TRUE(outcome->error) << "a body cut short must not pass for a whole one";
    ASSERT_TRUE(outcome->error);
    EXPECT_EQ(outcome->error->localizedDescription(), u"Input/output error"_s);
    EXPECT_TRUE(outcome->echo.isEmpty());
    EXPECT_TRUE(formData.bodyStream()->hasFailed());
    EXPECT_EQ(formData.bodyStream()->errorString(), u"Input/output error"_s);
}
