// The XML document, image and compound serializers.
#include "SerializerTestSupport.h"

#include "net/serialization/KNCompoundResponseSerializer.h"
#include "net/serialization/KNImageResponseSerializer.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/serialization/KNXMLDocumentResponseSerializer.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"
#include "platform/XMLParser.h"

#include <QBuffer>
#include <QDomDocument>
#include <QImage>

#include <gtest/gtest.h>

using namespace serializertest;

namespace {

QByteArray encodedImage(const QSize& size, const char* format)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A member that is not an HTTP response serializer: the compound must not ask it.
class ForeignSerialization : public KNURLResponseSerialization {
public:
    QVariant responseObjectForResponse(const std::optional<net::URLResponse>&,
        const std::optional<QByteArray>&, std::optional<net::Error>*) const override
    {
        ++calls;
        return QStringLiteral("foreign");
    }
    mutable int calls = 0;
};

} // namespace

TEST(XMLDocumentSerializerTest, ReadsTheDocumentOrReportsWhereItBreaks)
{
    const auto serializer = KNXMLDocumentResponseSerializer::serializer();
    std::optional<net::Error> error;
    const QVariant object = serializer->responseObjectForResponse(httpResponse(200, "application/xml"),
        QByteArrayLiteral("<rates><rate currency=\"USD\"/></rates>"), &error);
    EXPECT_FALSE(error);
    const QDomDocument document = object.value<QDomDocument>();
    EXPECT_EQ(document.documentElement().tagName(), QStringLiteral("rates"));
    EXPECT_EQ(document.documentElement().firstChildElement().attribute(QStringLiteral("currency")),
        QStringLiteral("USD"));

    const QByteArray broken = QByteArrayLiteral("<rates>\n<rate></rates>");
    EXPECT_FALSE(
        serializer->responseObjectForResponse(httpResponse(404, "text/xml"), broken, &error).isValid());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1016);
    EXPECT_TRUE(error->localizedDescription().contains(QStringLiteral("line 2")))
        << qPrintable(error->localizedDescription());
    EXPECT_EQ(
        error->userInfo().value(KNNetworkingOperationFailingURLResponseDataErrorKey).toByteArray(), broken);
    ASSERT_TRUE(error->underlyingError());
    EXPECT_EQ(error->underlyingError()->code(), -1011);
}

TEST(ImageSerializerTest, DecodesImagesAtTheirPixelSize)
{
    const auto serializer = KNImageResponseSerializer::serializer();
    for (const auto& [format, type] :
        { std::pair { "PNG", "image/png" }, std::pair { "BMP", "image/bmp" } }) {
        std::optional<net::Error> error;
        const QVariant object = serializer->responseObjectForResponse(
            httpResponse(200, type), encodedImage({ 37, 19 }, format), &error);
        EXPECT_FALSE(error) << format;
        const QImage image = object.value<QImage>();
        EXPECT_EQ(image.size(), QSize(37, 19)) << format;
        EXPECT_EQ(image.devicePixelRatio(), 1.0);
        EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::darkCyan)) << format;
    }
    std::optional<net::Error> error;
    EXPECT_FALSE(serializer->responseObjectForResponse(httpResponse(200, "image/png"), QByteArray(), &error)
                     .isValid());
    EXPECT_FALSE(error);
}

TEST(ImageSerializerTest, AnUndecodableImageFailsWith1016)
{
    const auto serializer = KNImageResponseSerializer::serializer();
    QByteArray truncated = encodedImage({ 8, 8 }, "PNG").left(20);
    for (const QByteArray& body : { truncated, QByteArrayLiteral("not an image at all") }) {
        std::optional<net::Error> error;
        EXPECT_FALSE(
            serializer->responseObjectForResponse(httpResponse(200, "image/png"), body, &error).isValid());
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->is(KNURLResponseSerializationErrorDomain, net::cannotDecodeContentData));
        EXPECT_EQ(
            error->userInfo().value(KNNetworkingOperationFailingURLResponseDataErrorKey).toByteArray(), body);
    }
}

TEST(CompoundSerializerTest, TheFirstMemberThatGivesAnObjectWinsWithItsError)
{
    const auto foreign = std::make_shared<ForeignSerialization>();
    const auto compound = KNCompoundResponseSerializer::compoundSerializerWithResponseSerializers(
        { foreign, KNJSONResponseSerializer::serializer(), KNXMLParserResponseSerializer::serializer() });
    std::optional<net::Error> error = net::Error(QStringLiteral("stale"), 1);

    const QVariant xml = compound->responseObjectForResponse(
        httpResponse(200, "text/xml"), QByteArrayLiteral("<a/>"), &error);
    EXPECT_TRUE(xml.value<std::shared_ptr<platform::XMLParser>>());
    EXPECT_FALSE(error);

    const QVariant json = compound->responseObjectForResponse(
        httpResponse(404, "application/json"), QByteArrayLiteral("{\"x\":1}"), &error);
    EXPECT_EQ(json.toMap().value(QStringLiteral("x")), 1);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1011);
    EXPECT_EQ(foreign->calls, 0);
}

TEST(CompoundSerializerTest, WhenNoMemberGivesAnObjectTheRawBodyComesBack)
{
    const auto compound = KNCompoundResponseSerializer::compoundSerializerWithResponseSerializers(
        { KNJSONResponseSerializer::serializer(), KNXMLDocumentResponseSerializer::serializer() });
    const QByteArray body = QByteArrayLiteral("plain words");
    std::optional<net::Error> error;
    EXPECT_EQ(
        compound->responseObjectForResponse(httpResponse(200, "text/plain"), body, &error).toByteArray(),
        body);
    EXPECT_FALSE(error);

    EXPECT_EQ(
        compound->responseObjectForResponse(httpResponse(503, "text/plain"), body, &error).toByteArray(),
        body);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1011);
    EXPECT_FALSE(error->underlyingError());

    EXPECT_FALSE(KNCompoundResponseSerializer::serializer()->acceptableContentTypes());
}
