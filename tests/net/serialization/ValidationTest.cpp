// Status and content-type checks, the errors they build and how the XML parser serializer
// (the one the rate download uses) goes on from them.
#include "SerializerTestSupport.h"

#include "net/serialization/KNHTTPResponseSerializer.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"
#include "platform/XMLParser.h"

#include <gtest/gtest.h>

using namespace serializertest;

namespace {

const QByteArray rateDocument
    = QByteArrayLiteral("<?xml version=\"1.0\"?><Envelope><Cube><Cube time=\"2024-05-02\"><Cube "
                        "currency=\"USD\" rate=\"1.0702\"/>"
                        "</Cube></Cube></Envelope>");

std::shared_ptr<platform::XMLParser> parserIn(const QVariant& object)
{
    return object.value<std::shared_ptr<platform::XMLParser>>();
}

class CountingDelegate : public platform::XMLParserDelegate {
public:
    void didStartElement(platform::XMLParser&, const QString&, const QString&, const QString&,
        const QMap<QString, QString>& attributes) override
    {
        if (attributes.contains(QStringLiteral("rate")))
            rates.append(attributes.value(QStringLiteral("rate")));
    }
    QStringList rates;
};

} // namespace

TEST(ValidationTest, AcceptedXMLGivesAParserOverTheBodyThatTheCallerRuns)
{
    std::optional<net::Error> error = net::Error(QStringLiteral("stale"), 1);
    const QVariant object = KNXMLParserResponseSerializer::serializer()->responseObjectForResponse(
        httpResponse(200, "text/xml; charset=UTF-8"), rateDocument, &error);

    EXPECT_FALSE(error);
    const auto parser = parserIn(object);
    ASSERT_TRUE(parser);
    CountingDelegate delegate;
    parser->setDelegate(&delegate);
    EXPECT_TRUE(parser->parse());
    EXPECT_EQ(delegate.rates, QStringList { QStringLiteral("1.0702") });

    EXPECT_TRUE(parserIn(KNXMLParserResponseSerializer::serializer()->responseObjectForResponse(
        httpResponse(299, "application/xml"), rateDocument, nullptr)));
}

TEST(ValidationTest, UnacceptableContentTypeWithABodyStopsDecodingWithError1016)
{
    const auto response = httpResponse(200, "text/html");
    std::optional<net::Error> error;
    const QVariant object = KNXMLParserResponseSerializer::serializer()->responseObjectForResponse(
        response, QByteArrayLiteral("<html/>"), &error);

    EXPECT_FALSE(object.isValid());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), QStringLiteral("kitnet.error.serialization.response"));
    EXPECT_EQ(error->code(), -1016);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Request failed: unacceptable content-type: text/html"));
    EXPECT_EQ(error->failingURL(), rateURL);
    EXPECT_EQ(
        error->userInfo().value(KNNetworkingOperationFailingURLResponseErrorKey).value<net::URLResponse>(),
        response);
    EXPECT_EQ(error->userInfo().value(KNNetworkingOperationFailingURLResponseDataErrorKey).toByteArray(),
        QByteArrayLiteral("<html/>"));
    EXPECT_FALSE(error->underlyingError());
}

TEST(ValidationTest, UnacceptableStatusAloneStillDecodesButOnlyForACallerWithAnErrorSlot)
{
    std::optional<net::Error> error;
    const auto serializer = KNXMLParserResponseSerializer::serializer();
    const QVariant object
        = serializer->responseObjectForResponse(httpResponse(404, "text/xml"), rateDocument, &error);

    EXPECT_TRUE(parserIn(object));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), KNURLResponseSerializationErrorDomain);
    EXPECT_EQ(error->code(), -1011);
    EXPECT_EQ(error->localizedDescription(), QStringLiteral("Request failed: not found (404)"));
    EXPECT_FALSE(error->underlyingError());
    EXPECT_FALSE(KNErrorChainContainsCode(error));

    EXPECT_FALSE(serializer->responseObjectForResponse(httpResponse(404, "text/xml"), rateDocument, nullptr)
                     .isValid());
}

TEST(ValidationTest, BadStatusAndBadContentTypeChainTheContentTypeErrorUnderTheStatusError)
{
    const QByteArray body = QByteArrayLiteral("<h1>oops</h1>");
    std::optional<net::Error> error;
    EXPECT_FALSE(KNXMLParserResponseSerializer::serializer()
                     ->responseObjectForResponse(httpResponse(500, "text/html"), body, &error)
                     .isValid());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1011);
    EXPECT_EQ(error->localizedDescription(), QStringLiteral("Request failed: internal server error (500)"));
    EXPECT_EQ(
        error->userInfo().value(KNNetworkingOperationFailingURLResponseDataErrorKey).toByteArray(), body);
    const auto underlying = error->underlyingError();
    ASSERT_TRUE(underlying);
    EXPECT_EQ(underlying->code(), -1016);
    EXPECT_TRUE(KNErrorChainContainsCode(error));

    // The base serializer hands back the body whatever the checks say.
    std::optional<net::Error> baseError;
    auto base = KNHTTPResponseSerializer::serializer();
    base->setAcceptableContentTypes(QSet<QString> { QStringLiteral("text/xml") });
    EXPECT_EQ(base->responseObjectForResponse(httpResponse(500, "text/html"), body, &baseError).toByteArray(),
        body);
    EXPECT_EQ(baseError, error);
}

TEST(ValidationTest, FailedContentTypeWithoutBodyOrAddressFailsWithoutAnError)
{
    const auto serializer = KNXMLParserResponseSerializer::serializer();
    struct Case {
        net::URLResponse response;
        std::optional<QByteArray> body;
    };
    const Case cases[] = {
        { httpResponse(200, "text/html"), QByteArray() },
        { httpResponse(200, "text/html"), std::nullopt },
        { httpResponse(200, "text/html", QUrl()), QByteArrayLiteral("<a/>") },
        { httpResponse(200, QByteArray()), QByteArray() },
    };
    for (const Case& c : cases) {
        std::optional<net::Error> error = net::Error(QStringLiteral("stale"), 1);
        EXPECT_FALSE(serializer->validateResponse(c.response, c.body, &error));
        EXPECT_FALSE(error);
        // Decoding goes on: a parser over what there is.
        const auto parser = parserIn(serializer->responseObjectForResponse(c.response, c.body, &error));
        ASSERT_TRUE(parser);
        EXPECT_EQ(parser->data(), c.body.value_or(QByteArray()));
        EXPECT_FALSE(error);
    }
    // A missing MIME type is never acceptable; with a body it is an error.
    std::optional<net::Error> error;
    EXPECT_FALSE(
        serializer->validateResponse(httpResponse(200, QByteArray()), QByteArrayLiteral("x"), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1016);
}

TEST(ValidationTest, ResponsesThatAreNotHTTPAndOpenSettingsPass)
{
    const auto serializer = KNXMLParserResponseSerializer::serializer();
    std::optional<net::Error> error;
    const net::URLResponse file(
        QUrl(QStringLiteral("file:///tmp/rates.html")), QStringLiteral("text/html"), 5, {});
    EXPECT_TRUE(serializer->validateResponse(file, QByteArrayLiteral("hello"), &error));
    EXPECT_TRUE(serializer->validateResponse(std::nullopt, QByteArrayLiteral("hello"), &error));
    EXPECT_FALSE(error);

    serializer->setAcceptableContentTypes(std::nullopt);
    serializer->setAcceptableStatusCodes(std::nullopt);
    EXPECT_TRUE(serializer->validateResponse(httpResponse(503, "image/png"), QByteArrayLiteral("x"), &error));
    EXPECT_FALSE(error);

    // The default range ends at 299 and starts at 200.
    const auto base = KNHTTPResponseSerializer::serializer();
    EXPECT_TRUE(base->validateResponse(httpResponse(200, "image/png"), QByteArrayLiteral("x"), nullptr));
    EXPECT_FALSE(base->validateResponse(httpResponse(300, "image/png"), QByteArrayLiteral("x"), nullptr));
    EXPECT_FALSE(base->validateResponse(httpResponse(199, "image/png"), QByteArrayLiteral("x"), nullptr));
}

TEST(ErrorChainTest, WrappingKeepsTheFirstUnderlyingErrorAndPassesAbsentOnes)
{
    const net::Error outer(
        QStringLiteral("outer"), 1, { { net::localizedDescriptionKey, QStringLiteral("o") } });
    const net::Error inner(KNURLResponseSerializationErrorDomain, -1016);
    const net::Error other(QStringLiteral("other"), 3);

    EXPECT_EQ(KNErrorByWrapping(std::nullopt, inner), inner);
    EXPECT_EQ(KNErrorByWrapping(outer, std::nullopt), outer);
    EXPECT_FALSE(KNErrorByWrapping(std::nullopt, std::nullopt));

    const auto wrapped = KNErrorByWrapping(outer, inner);
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->domain(), outer.domain());
    EXPECT_EQ(wrapped->code(), outer.code());
    EXPECT_EQ(wrapped->localizedDescription(), QStringLiteral("o"));
    EXPECT_EQ(wrapped->underlyingError(), inner);
    EXPECT_EQ(KNErrorByWrapping(wrapped, other), wrapped);
}

TEST(ErrorChainTest, ChainContainsCodeLooksDownTheWholeChainForTheDomainAndCode)
{
    const net::Error decoding(KNURLResponseSerializationErrorDomain, -1016);
    EXPECT_TRUE(KNErrorChainContainsCode(decoding));
    EXPECT_FALSE(KNErrorChainContainsCode(std::nullopt));
    EXPECT_FALSE(KNErrorChainContainsCode(net::Error(net::urlErrorDomain, -1016)));
    EXPECT_FALSE(KNErrorChainContainsCode(net::Error(KNURLResponseSerializationErrorDomain, -1011)));

    std::optional<net::Error> chain = decoding;
    for (int level = 0; level < 5; ++level)
        chain = KNErrorByWrapping(net::Error(QStringLiteral("level"), level), chain);
    EXPECT_TRUE(KNErrorChainContainsCode(chain));
    EXPECT_FALSE(KNErrorChainContainsCode(KNErrorByWrapping(
        net::Error(QStringLiteral("a"), 1), net::Error(KNURLResponseSerializationErrorDomain, -1011))));
}
