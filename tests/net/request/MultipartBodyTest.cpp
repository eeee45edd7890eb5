#include "MultipartTestSupport.h"

#include "net/request/KNHTTPBodyPart.h"
#include "net/request/KNMultipartBodyStream.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace Qt::Literals::StringLiterals;
using mervane::test::fieldPart;
using mervane::test::readToEnd;
using net::KNHTTPBodyPart;
using net::KNMultipartBodyStream;

namespace {

std::unique_ptr<KNHTTPBodyPart> filePart(const QString& boundary, const QString& path, quint64 length)
{
    auto part = std::make_unique<KNHTTPBodyPart>();
    part->setBoundary(boundary);
    part->setHeaders({ { u"Content-Disposition"_s, u"form-data; name=\"f\"; filename=\"f.bin\""_s },
        { u"Content-Type"_s, u"application/octet-stream"_s } });
    part->setBody(QUrl::fromLocalFile(path));
    part->setBodyContentLength(length);
    return part;
}

std::unique_ptr<KNHTTPBodyPart> devicePart(
    const QString& boundary, std::shared_ptr<QIODevice> device, quint64 length)
{
    auto part = fieldPart(boundary, u"d"_s, {});
    part->setBody(std::move(device));
    part->setBodyContentLength(length);
    return part;
}

QByteArray pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i % 251);
    return bytes;
}

class MultipartBodyTest : public mervane::test::TemporaryFilesTest { };

} // namespace

TEST_F(MultipartBodyTest, OneAndTwoFieldsHaveTheWireFormatAndTheirContentLength)
{
    KNMultipartBodyStream one;
    one.appendHTTPBodyPart(fieldPart(u"B"_s, u"a"_s, "1"));
    ASSERT_TRUE(one.open());
    const QByteArray expected = "--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1\r\n--B--\r\n";
    EXPECT_EQ(one.contentLength(), quint64(expected.size()));
    EXPECT_EQ(readToEnd(one, 4096), expected);
    EXPECT_TRUE(one.atEnd());
    EXPECT_FALSE(one.hasFailed());

    KNMultipartBodyStream two;
    two.appendHTTPBodyPart(fieldPart(u"B"_s, u"a"_s, "1"));
    two.appendHTTPBodyPart(fieldPart(u"B"_s, u"b"_s, "22"));
    ASSERT_TRUE(two.open());
    const QByteArray both = "--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n1"
                            "\r\n--B\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\n22\r\n--B--\r\n";
    EXPECT_EQ(two.contentLength(), quint64(both.size()));
    EXPECT_EQ(readToEnd(two, 4096), both);
    // The marks are set on opening: the first part opens, only the last closes.
    EXPECT_TRUE(two.HTTPBodyParts()[0]->hasInitialBoundary());
    EXPECT_FALSE(two.HTTPBodyParts()[0]->hasFinalBoundary());
    EXPECT_FALSE(two.HTTPBodyParts()[1]->hasInitialBoundary());
    EXPECT_TRUE(two.HTTPBodyParts()[1]->hasFinalBoundary());
}

TEST_F(MultipartBodyTest, SmallReadsSplitEveryPhaseAndGiveTheSameBytes)
{
    const QByteArray fileBytes = pattern(3000);
    const QString path = writeFile(u"data.bin"_s, fileBytes);
    const auto build = [&](KNMultipartBodyStream& stream) {
        stream.appendHTTPBodyPart(fieldPart(u"Boundary+0123456789ABCDEF"_s, u"name"_s, "value"));
        stream.appendHTTPBodyPart(filePart(u"Boundary+0123456789ABCDEF"_s, path, quint64(fileBytes.size())));
        auto buffer = std::make_shared<QBuffer>();
        buffer->setData(pattern(700));
        stream.appendHTTPBodyPart(devicePart(u"Boundary+0123456789ABCDEF"_s, buffer, 700));
        stream.appendHTTPBodyPart(fieldPart(u"Boundary+0123456789ABCDEF"_s, u"empty"_s, {}));
        ASSERT_TRUE(stream.open());
    };
    KNMultipartBodyStream whole;
    build(whole);
    const QByteArray reference = readToEnd(whole, 1 << 20);
    EXPECT_EQ(quint64(reference.size()), whole.contentLength());
    EXPECT_TRUE(reference.contains(fileBytes));
    EXPECT_TRUE(reference.contains(pattern(700)));

    for (const qint64 chunk : { 1, 2, 7, 1024 }) {
        KNMultipartBodyStream stream;
        build(stream);
        EXPECT_EQ(readToEnd(stream, chunk), reference) << "chunk " << chunk;
    }

    // A part read one byte at a time is in each phase for many calls, part-way through
    // its text.
    auto part = fieldPart(u"B"_s, u"a"_s, "xyz");
    part->setHasInitialBoundary(true);
    part->setHasFinalBoundary(true);
    std::set<int> splitPhases;
    QByteArray bytes;
    char byte = 0;
    while (part->hasBytesAvailable()) {
        const qint64 count = part->read(&byte, 1);
        ASSERT_GE(count, 0);
        bytes.append(&byte, count);
        if (part->phaseReadOffset() > 0)
            splitPhases.insert(part->phase());
    }
    EXPECT_EQ(bytes, "--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nxyz\r\n--B--\r\n");
    EXPECT_EQ(splitPhases,
        (std::set<int> { KNHTTPBodyPart::EncapsulationBoundaryPhase, KNHTTPBodyPart::HeaderPhase,
            KNHTTPBodyPart::FinalBoundaryPhase }));
    EXPECT_EQ(part->read(&byte, 1), 0);
}

TEST_F(MultipartBodyTest, APacketSizeEndsAReadOnceThatManyBytesCameAndDelaysKeepTheBytes)
{
    const auto build = [](KNMultipartBodyStream& stream) {
        for (int i = 0; i < 6; ++i)
            stream.appendHTTPBodyPart(fieldPart(u"B"_s, u"field%1"_s.arg(i), QByteArray(20, char('a' + i))));
        ASSERT_TRUE(stream.open());
    };
    KNMultipartBodyStream plain;
    build(plain);
    const QByteArray reference = readToEnd(plain, 1000);

    KNMultipartBodyStream throttled;
    build(throttled);
    throttled.setNumberOfBytesInPacket(100);
    throttled.setDelay(0.0005);
    QByteArray buffer(1000, '\0');
    const qint64 first = throttled.read(buffer.data(), buffer.size());
    // Each part is about 70 bytes: the read stops after the second one.
    EXPECT_GE(first, 100);
    EXPECT_LT(first, reference.size());
    EXPECT_EQ(buffer.left(int(first)), reference.left(int(first)));
    EXPECT_EQ(buffer.left(int(first)) + readToEnd(throttled, 1000), reference);

    // A copy starts afresh, without the throttle.
    const std::unique_ptr<KNMultipartBodyStream> copy = throttled.copy();
    EXPECT_EQ(copy->numberOfBytesInPacket(), quint64(std::numeric_limits<qint64>::max()));
    EXPECT_EQ(copy->delay(), 0.0);
    ASSERT_TRUE(copy->open());
    EXPECT_EQ(readToEnd(*copy, 1000), reference);
}

TEST_F(MultipartBodyTest, ABodyThatCannotBeReadFailsTheStreamInsteadOfEndingIt)
{
    // A device failing after 10 of 50 bytes.
    {
        KNMultipartBodyStream stream;
        stream.appendHTTPBodyPart(fieldPart(u"B"_s, u"a"_s, "1"));
        stream.appendHTTPBodyPart(
            devicePart(u"B"_s, std::make_shared<mervane::test::FailingReadDevice>(QByteArray(10, 'x')), 50));
        stream.appendHTTPBodyPart(fieldPart(u"B"_s, u"after"_s, "2"));
        ASSERT_TRUE(stream.open());
        const QByteArray sent = readToEnd(stream, 7);
        EXPECT_TRUE(stream.hasFailed());
        EXPECT_FALSE(stream.atEnd());
        EXPECT_EQ(stream.errorString(), u"Input/output error"_s);
        EXPECT_LT(quint64(sent.size()), stream.contentLength());
        EXPECT_FALSE(sent.contains("after")) << "the parts after a failed one are not sent";
        char byte = 0;
        EXPECT_EQ(stream.read(&byte, 1), -1);
    }
    // A body that ends before its declared length.
    {
        KNMultipartBodyStream stream;
        auto buffer = std::make_shared<QBuffer>();
        buffer->setData("short");
        stream.appendHTTPBodyPart(devicePart(u"B"_s, buffer, 20));
        ASSERT_TRUE(stream.open());
        readToEnd(stream, 4096);
        EXPECT_TRUE(stream.hasFailed());
        EXPECT_EQ(stream.errorString(), u"The body of a part ended after 5 of 20 bytes."_s);
    }
    // A file that went away after it was appended.
    {
        const QString path = writeFile(u"gone.bin"_s, pattern(100));
        KNMultipartBodyStream stream;
        stream.appendHTTPBodyPart(filePart(u"B"_s, path, 100));
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(stream.open());
        readToEnd(stream, 4096);
        EXPECT_TRUE(stream.hasFailed());
        EXPECT_FALSE(stream.errorString().isEmpty());
    }
}

TEST_F(MultipartBodyTest, ABodyLongerThanDeclaredSendsTheDeclaredBytes)
{
    // A file that grew after it was appended must not push the closing boundary past the
    // announced length.
    const QString path = writeFile(u"grows.bin"_s, pattern(100));
    KNMultipartBodyStream stream;
    stream.appendHTTPBodyPart(filePart(u"B"_s, path, 60));
    ASSERT_TRUE(stream.open());
    const QByteArray sent = readToEnd(stream, 4096);
    EXPECT_FALSE(stream.hasFailed());
    EXPECT_EQ(quint64(sent.size()), stream.contentLength());
    EXPECT_TRUE(sent.contains(QByteArray(pattern(60) + "\r\n--B--\r\n")));
}
