#include "MultipartTestSupport.h"

#include "net/request/KNHTTPRequestSerializer.h"
#include "net/request/KNStreamingMultipartFormData.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include "support/Eventually.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::readToEnd;
using net::KNHTTPRequestSerializer;
using net::KNMultipartFormData;

namespace {

/// The part names of a body in the order they come, read from its disposition lines.
QStringList namesIn(const QByteArray& body)
{
    QStringList names;
    for (const QByteArray& line : body.split('\n'))
        if (line.startsWith("Content-Disposition: form-data; name=\""))
            names << QString::fromUtf8(line.mid(38, line.indexOf('"', 38) - 38));
    return names;
}

struct Written {
    int calls = 0;
    std::optional<net::Error> error;
    QThread* thread = nullptr;
};

class MultipartRequestTest : public ::testing::Test {
protected:
    std::optional<net::URLRequest> multipart(const QVariantMap& parameters,
        const KNHTTPRequestSerializer::MultipartBodyBlock& block, std::optional<net::Error>* error = nullptr)
    {
        return serializer->multipartFormRequestWithMethod(
            "POST", u"http://127.0.0.1:9/upload"_s, parameters, block, error);
    }

    std::shared_ptr<Written> writeToFile(
        const net::URLRequest& request, const QString& path, net::URLRequest* result)
    {
        auto written = std::make_shared<Written>();
        *result = serializer->requestWithMultipartFormRequest(
            request, QUrl::fromLocalFile(path), [written](const std::optional<net::Error>& error) {
                ++written->calls;
                written->error = error;
                written->thread = QThread::currentThread();
            });
        return written;
    }

    std::shared_ptr<KNHTTPRequestSerializer> serializer = KNHTTPRequestSerializer::serializer();
    QTemporaryDir dir;
};

} // namespace

TEST_F(MultipartRequestTest, ParametersBecomeFieldsBeforeWhatTheBlockAppends)
{
    serializer->setValue("kept", "X-Default");
    const QVariantMap parameters { { u"b"_s, QVariantList { 1, 2 } },
        { u"a"_s, QVariantMap { { u"y"_s, u"v"_s }, { u"x"_s, u"u"_s } } },
        { u"none"_s, QVariant::fromValue(nullptr) }, { u"data"_s, QByteArray("\x01raw\x00", 5) } };
    int blockCalls = 0;
    std::optional<net::Error> error;
    const auto request = multipart(
        parameters,
        [&](KNMultipartFormData& formData) {
            ++blockCalls;
            formData.appendPartWithFormData("last", u"appended"_s);
        },
        &error);
    ASSERT_TRUE(request);
    EXPECT_FALSE(error);
    EXPECT_EQ(blockCalls, 1);
    EXPECT_EQ(request->httpMethod(), "POST");
    EXPECT_EQ(request->valueForHTTPHeaderField("X-Default"), QByteArray("kept"));
    ASSERT_TRUE(request->httpBodyStream());
    const QByteArray body = readToEnd(*request->httpBodyStream(), 4096);
    EXPECT_EQ(request->valueForHTTPHeaderField("Content-Length"), QByteArray::number(body.size()));
    EXPECT_TRUE(request->valueForHTTPHeaderField("Content-Type")
                    ->startsWith("multipart/form-data; boundary=Boundary+"));
    EXPECT_EQ(namesIn(body),
        (QStringList { u"a[x]"_s, u"a[y]"_s, u"b[]"_s, u"b[]"_s, u"data"_s, u"none"_s, u"appended"_s }));
    EXPECT_TRUE(body.contains(QByteArray("name=\"data\"\r\n\r\n\x01raw\x00\r\n", 22)));
    EXPECT_TRUE(body.contains("name=\"none\"\r\n\r\n\r\n"));
    EXPECT_TRUE(body.contains("name=\"b[]\"\r\n\r\n2\r\n"));

    // Nothing to send: no multipart headers and no body.
    const auto empty = multipart({}, {});
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->httpBodyStream());
    EXPECT_FALSE(empty->valueForHTTPHeaderField("Content-Type"));
    EXPECT_FALSE(empty->valueForHTTPHeaderField("Content-Length"));
}

TEST_F(MultipartRequestTest, ABodyThatCannotBeBuiltWithholdsTheRequest)
{
    std::optional<net::Error> error;
    const QString missing = dir.filePath(u"missing.pdf"_s);
    EXPECT_FALSE(multipart(
        { { u"year"_s, 2026 } },
        [&](KNMultipartFormData& formData) {
            std::optional<net::Error> ignored;
            formData.appendPartWithFileURL(QUrl::fromLocalFile(missing), u"file"_s, &ignored);
        },
        &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), net::KNURLRequestSerializationErrorDomain);
    EXPECT_EQ(error->userInfo().value(net::localizedFailureReasonErrorKey).toString(),
        u"File URL not reachable."_s);

    error.reset();
    EXPECT_FALSE(multipart(
        {},
        [&](KNMultipartFormData& formData) {
            formData.appendPartWithInputStream(
                std::make_shared<QFile>(dir.filePath(u"nowhere/x"_s)), u"d"_s, u"x"_s, 4, u"text/plain"_s);
        },
        &error));
    EXPECT_TRUE(error);

    // A value the form's text encoding cannot write is not left out silently either.
    serializer->setStringEncoding(u"US-ASCII"_s);
    error.reset();
    EXPECT_FALSE(multipart({ { u"currency"_s, u"€uro"_s } }, {}, &error));
    EXPECT_TRUE(error);
    EXPECT_TRUE(multipart({ { u"currency"_s, u"EUR"_s } }, {}, &error));
    EXPECT_FALSE(error);
}

TEST_F(MultipartRequestTest, TheBodyIsWrittenToAFileAndTheHandlerRunsOnTheMainThread)
{
    auto device = std::make_shared<QBuffer>();
    device->setData(QByteArray(5000, 'd'));
    const auto request = multipart({ { u"a"_s, 1 } }, [&](KNMultipartFormData& formData) {
        formData.appendPartWithFileData(
            QByteArray(3000, 'f'), u"f"_s, u"f.bin"_s, u"application/octet-stream"_s);
        formData.appendPartWithInputStream(device, u"d"_s, u"d.bin"_s, 5000, u"application/octet-stream"_s);
    });
    ASSERT_TRUE(request);
    const auto* stream = qobject_cast<net::KNMultipartBodyStream*>(request->httpBodyStream().get());
    ASSERT_TRUE(stream);
    std::unique_ptr<net::KNMultipartBodyStream> copy = stream->copy();
    copy->open();
    const QByteArray expected = readToEnd(*copy, 4096);

    const QString path = dir.filePath(u"body.multipart"_s);
    net::URLRequest withoutStream;
    const auto written = writeToFile(*request, path, &withoutStream);
    EXPECT_FALSE(withoutStream.httpBodyStream());
    EXPECT_EQ(withoutStream.valueForHTTPHeaderField("Content-Length"), QByteArray::number(expected.size()));
    EXPECT_EVENTUALLY_WITHIN(written->calls == 1, 60000);
    EXPECT_FALSE(written->error);
    EXPECT_EQ(written->thread, qApp->thread());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);

    // A request without a body stream comes back as it is, and nobody is called.
    const auto none = writeToFile(withoutStream, dir.filePath(u"never"_s), &withoutStream);
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(none->calls, 0);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"never"_s)));
}

TEST_F(MultipartRequestTest, AFailedCopyLeavesTheFileThatWasThere)
{
    const QString path = dir.filePath(u"body.multipart"_s);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the earlier body");
    }
    const auto request = multipart({ { u"a"_s, 1 } }, [&](KNMultipartFormData& formData) {
        formData.appendPartWithInputStream(
            std::make_shared<mervane::test::FailingReadDevice>(QByteArray(4000, 'x')), u"d"_s, u"d.bin"_s,
            9000, u"application/octet-stream"_s);
    });
    ASSERT_TRUE(request);
    net::URLRequest result;
    const auto written = writeToFile(*request, path, &result);
    EXPECT_EVENTUALLY_WITHIN(written->calls == 1, 60000);
    ASSERT_TRUE(written->error);
    EXPECT_EQ(written->error->localizedDescription(), u"Input/output error"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "the earlier body");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { u"body.multipart"_s });

    // A folder that does not exist: the write fails and says so.
    const auto again = multipart({ { u"a"_s, 1 } }, {});
    const auto unwritable = writeToFile(*again, dir.filePath(u"no/such/folder/body"_s), &result);
    EXPECT_EVENTUALLY_WITHIN(unwritable->calls == 1, 60000);
    ASSERT_TRUE(unwritable->error);
    EXPECT_EQ(unwritable->error->code(), net::cannotWriteToFile);
}
