#include "MultipartTestSupport.h"

#include "net/request/KNStreamingMultipartFormData.h"
#include "net/request/KNURLRequestSerialization.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using mervane::test::readToEnd;
using net::KNStreamingMultipartFormData;

namespace {

class MultipartFormDataTest : public mervane::test::TemporaryFilesTest {
protected:
    KNStreamingMultipartFormData builder()
    {
        return KNStreamingMultipartFormData(
            net::URLRequest(QUrl(u"http://127.0.0.1/upload"_s)), QStringConverter::Utf8);
    }
};

} // namespace

TEST_F(MultipartFormDataTest, TheBoundaryIsSixteenRandomHexDigits)
{
    const QRegularExpression shape(u"^Boundary\\+[0-9A-F]{16}$"_s);
    const QString first = builder().boundary();
    const QString second = builder().boundary();
    EXPECT_TRUE(shape.match(first).hasMatch()) << first.toStdString();
    EXPECT_NE(first, second);
    EXPECT_EQ(KNStreamingMultipartFormData::boundaryFor(0xab, 0x1), u"Boundary+000000AB00000001"_s);
    EXPECT_EQ(KNStreamingMultipartFormData::boundaryFor(0xffffffff, 0), u"Boundary+FFFFFFFF00000000"_s);
}

TEST_F(MultipartFormDataTest, FinalizingSetsTheStreamAndItsHeadersOnlyWhenThereAreParts)
{
    auto empty = builder();
    const net::URLRequest unchanged = empty.requestByFinalizingMultipartFormData();
    EXPECT_FALSE(unchanged.httpBodyStream());
    EXPECT_FALSE(unchanged.httpBody());
    EXPECT_FALSE(unchanged.valueForHTTPHeaderField("Content-Type"));
    EXPECT_FALSE(unchanged.valueForHTTPHeaderField("Content-Length"));

    auto formData = builder();
    formData.appendPartWithFormData("1", u"a"_s);
    formData.appendPartWithFileData("{}", u"doc"_s, u"doc.json"_s, u"application/json"_s);
    auto device = std::make_shared<QBuffer>();
    device->setData("device bytes");
    formData.appendPartWithInputStream(device, u"dev"_s, u"dev.txt"_s, 12, u"text/plain"_s);
    formData.appendPartWithHeaders({ { u"X-Own"_s, u"yes"_s } }, "raw");
    const net::URLRequest request = formData.requestByFinalizingMultipartFormData();
    ASSERT_TRUE(request.httpBodyStream());
    EXPECT_EQ(request.valueForHTTPHeaderField("Content-Type"),
        QByteArray("multipart/form-data; boundary=" + formData.boundary().toUtf8()));
    const QByteArray body = readToEnd(*request.httpBodyStream(), 4096);
    EXPECT_EQ(request.valueForHTTPHeaderField("Content-Length"), QByteArray::number(body.size()));
    const QByteArray b = formData.boundary().toUtf8();
    EXPECT_EQ(body,
        "--" + b + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--" + b
            + "\r\nContent-Disposition: form-data; name=\"doc\"; filename=\"doc.json\"\r\n"
              "Content-Type: application/json\r\n\r\n{}\r\n--"
            + b
            + "\r\nContent-Disposition: form-data; name=\"dev\"; filename=\"dev.txt\"\r\n"
              "Content-Type: text/plain\r\n\r\ndevice bytes\r\n--"
            + b + "\r\nX-Own: yes\r\n\r\nraw\r\n--" + b + "--\r\n");
}

TEST_F(MultipartFormDataTest, FilePartsTakeTheirNameAndTypeFromThePath)
{
    auto formData = builder();
    std::optional<net::Error> error;
    EXPECT_TRUE(formData.appendPartWithFileURL(
        QUrl::fromLocalFile(writeFile(u"chart.png"_s, "not really a png")), u"image"_s, &error));
    EXPECT_FALSE(error);
    EXPECT_TRUE(formData.appendPartWithFileURL(
        QUrl::fromLocalFile(writeFile(u"notes.txt"_s, "hello")), u"notes"_s, &error));
    EXPECT_TRUE(formData.appendPartWithFileURL(
        QUrl::fromLocalFile(writeFile(u"blob.zzqq"_s, "?")), u"blob"_s, &error));
    EXPECT_FALSE(formData.error());
    const auto& parts = formData.bodyStream()->HTTPBodyParts();
    ASSERT_EQ(parts.size(), 3u);
    const auto header = [&](size_t index, int line) { return parts[index]->headers()[line].second; };
    EXPECT_EQ(header(0, 0), u"form-data; name=\"image\"; filename=\"chart.png\""_s);
    EXPECT_EQ(header(0, 1), u"image/png"_s);
    EXPECT_EQ(header(1, 1), u"text/plain"_s);
    EXPECT_EQ(header(2, 1), u"application/octet-stream"_s);
    EXPECT_EQ(parts[0]->bodyContentLength(), 16u);
}

TEST_F(MultipartFormDataTest, APartThatCannotBeReadIsRefusedAndRemembered)
{
    const auto expectRefused = [](const std::optional<net::Error>& error, const QString& reason) {
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), net::KNURLRequestSerializationErrorDomain);
        EXPECT_EQ(error->code(), net::badURL);
        if (!reason.isEmpty()) {
            EXPECT_EQ(error->userInfo().value(net::localizedFailureReasonErrorKey).toString(), reason);
        }
    };
    auto formData = builder();
    formData.appendPartWithFormData("kept", u"a"_s);
    std::optional<net::Error> error;
    EXPECT_FALSE(
        formData.appendPartWithFileURL(QUrl::fromLocalFile(dir.filePath(u"missing.bin"_s)), u"f"_s, &error));
    expectRefused(error, u"File URL not reachable."_s);
    const std::optional<net::Error> first = formData.error();
    expectRefused(first, u"File URL not reachable."_s);

    EXPECT_FALSE(formData.appendPartWithFileURL(QUrl(u"http://127.0.0.1/x.png"_s), u"f"_s, &error));
    expectRefused(error, u"Expected URL to be a file URL"_s);
    EXPECT_FALSE(formData.appendPartWithFileURL(QUrl::fromLocalFile(dir.path()), u"f"_s, &error));
    expectRefused(error, u"The file is not a regular file."_s);
    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(formData.appendPartWithFileURL(QUrl::fromLocalFile(fifo), u"f"_s, &error));
    expectRefused(error, u"The file is not a regular file."_s);

    formData.appendPartWithInputStream(
        std::make_shared<QFile>(dir.filePath(u"absent/file"_s)), u"d"_s, u"d"_s, 10, u"text/plain"_s);
    auto writeOnly = std::make_shared<QBuffer>();
    writeOnly->open(QIODevice::WriteOnly);
    formData.appendPartWithInputStream(writeOnly, u"d"_s, u"d"_s, 10, u"text/plain"_s);
    formData.appendPartWithInputStream(nullptr, u"d"_s, u"d"_s, 10, u"text/plain"_s);
    auto readable = std::make_shared<QBuffer>();
    formData.appendPartWithInputStream(readable, u"d"_s, u"d"_s, -1, u"text/plain"_s);

    // None was appended, and the first failure is the one kept.
    EXPECT_EQ(formData.bodyStream()->HTTPBodyParts().size(), 1u);
    EXPECT_EQ(formData.error(), first);
}

TEST_F(MultipartFormDataTest, NamesAreEscapedSoThatTheyCannotEndTheirHeader)
{
    EXPECT_EQ(KNStreamingMultipartFormData::escapedParameterValue(u"plain name.txt"_s), u"plain name.txt"_s);
    EXPECT_EQ(KNStreamingMultipartFormData::escapedParameterValue(u"a\"b\\c\r\nd"_s), u"a%22b%5Cc%0D%0Ad"_s);

    auto formData = builder();
    formData.appendPartWithFormData("1", u"x\"\r\nContent-Type: text/html\r\n\r\nforged"_s);
    formData.appendPartWithFileData("2", u"f"_s, u"evil\".txt\r\nX: y"_s, u"text/plain"_s);
    const net::URLRequest request = formData.requestByFinalizingMultipartFormData();
    const QByteArray body = readToEnd(*request.httpBodyStream(), 4096);
    EXPECT_TRUE(body.contains("Content-Disposition: form-data; name=\"x%22%0D%0AContent-Type: "
                              "text/html%0D%0A%0D%0Aforged\"\r\n\r\n1"));
    EXPECT_TRUE(body.contains("filename=\"evil%22.txt%0D%0AX: y\"\r\nContent-Type: text/plain\r\n"));
    EXPECT_FALSE(body.contains("\r\nContent-Type: text/html"));
}
