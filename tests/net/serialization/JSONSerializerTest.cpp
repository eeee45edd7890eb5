// Reading JSON bodies: encodings, the bodies that give nothing, decoding failures and
// taking nulls out.
#include "SerializerTestSupport.h"

#include "net/serialization/KNJSONResponseSerializer.h"

#include <gtest/gtest.h>

using namespace serializertest;

namespace {

const QVariant nullMarker = QVariant::fromValue(nullptr);

QVariant readJSON(const QByteArray& body, std::optional<net::Error>& error,
    const QByteArray& contentType = "application/json", int status = 200,
    const std::shared_ptr<KNJSONResponseSerializer>& serializer = KNJSONResponseSerializer::serializer())
{
    return serializer->responseObjectForResponse(httpResponse(status, contentType), body, &error);
}

} // namespace

TEST(JSONSerializerTest, ReadsValuesWithJSONNullAsTheNullMarker)
{
    std::optional<net::Error> error;
    const QVariant object = readJSON(R"({"base":"EUR","rates":[1.07,2],"open":true,"note":null})", error);
    EXPECT_FALSE(error);
    const QVariantMap map = object.toMap();
    EXPECT_EQ(map.value(QStringLiteral("base")), QStringLiteral("EUR"));
    EXPECT_EQ(map.value(QStringLiteral("rates")).toList(), (QVariantList { 1.07, 2 }));
    EXPECT_EQ(map.value(QStringLiteral("open")), true);
    EXPECT_EQ(map.value(QStringLiteral("note")).metaType(), QMetaType::fromType<std::nullptr_t>());
}

TEST(JSONSerializerTest, TheResponseCharsetWinsOverTheSerializersEncodingWhenItIsKnown)
{
    const QByteArray latin1 = "{\"city\":\"Z\xfcrich\"}";
    std::optional<net::Error> error;
    EXPECT_EQ(
        readJSON(latin1, error, "application/json; charset=iso-8859-1").toMap().value(QStringLiteral("city")),
        QStringLiteral("Z\u00fcrich"));
    EXPECT_FALSE(error);

    // A charset Qt has no decoder of its own for.
    EXPECT_EQ(readJSON("[\"\x80 5\"]", error, "text/json; charset=windows-1252").toList(),
        QVariantList { QStringLiteral("\u20ac 5") });
    EXPECT_FALSE(error);

    // An unknown name falls back to the serializer's encoding.
    const auto serializer = KNJSONResponseSerializer::serializer();
    serializer->setStringEncoding(QStringLiteral("ISO-8859-1"));
    EXPECT_EQ(readJSON(latin1, error, "application/json; charset=x-no-such-set", 200, serializer)
                  .toMap()
                  .value(QStringLiteral("city")),
        QStringLiteral("Z\u00fcrich"));
    EXPECT_FALSE(error);
}

TEST(JSONSerializerTest, OneSpaceOrAnEmptyBodyGivesNothingAndNoDecodingError)
{
    std::optional<net::Error> error = net::Error(QStringLiteral("stale"), 1);
    EXPECT_FALSE(readJSON(" ", error).isValid());
    EXPECT_FALSE(error);
    EXPECT_FALSE(readJSON(QByteArray(), error).isValid());
    EXPECT_FALSE(error);

    // The empty body keeps what validation said.
    EXPECT_FALSE(readJSON(QByteArray(), error, "application/json", 404).isValid());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1011);
    EXPECT_FALSE(error->underlyingError());
}

TEST(JSONSerializerTest, BodiesThatCannotBeDecodedFailWith1016AndCarryTheBody)
{
    const QByteArray bodies[] = { "{\"a\":", "  ", "{\"city\":\"Z\xfcrich\"}", "42" };
    for (const QByteArray& body : bodies) {
        std::optional<net::Error> error;
        EXPECT_FALSE(readJSON(body, error).isValid()) << body.constData();
        ASSERT_TRUE(error) << body.constData();
        EXPECT_TRUE(error->is(KNURLResponseSerializationErrorDomain, net::cannotDecodeContentData));
        EXPECT_EQ(
            error->userInfo().value(KNNetworkingOperationFailingURLResponseDataErrorKey).toByteArray(), body);
        EXPECT_EQ(error->failingURL(), rateURL);
        EXPECT_FALSE(error->localizedDescription().isEmpty());
    }
    // Not ASCII, in a charset only ICU decodes: refused, not patched up.
    std::optional<net::Error> error;
    EXPECT_FALSE(readJSON("[\"caf\xe9\"]", error, "application/json; charset=us-ascii").isValid());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), QStringLiteral("Data failed decoding as a us-ascii string"));

    readJSON("{\"city\":\"Z\xfcrich\"}", error);
    EXPECT_EQ(error->localizedDescription(), QStringLiteral("Data failed decoding as a UTF-8 string"));

    // A rejected status stays in the chain, under the decoding error.
    readJSON("not json", error, "application/json", 500);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1016);
    ASSERT_TRUE(error->underlyingError());
    EXPECT_EQ(error->underlyingError()->code(), -1011);
}

TEST(JSONSerializerTest, ARejectedStatusStillGivesTheObjectWithTheStatusError)
{
    std::optional<net::Error> error;
    EXPECT_EQ(readJSON("{\"error\":\"gone\"}", error, "application/json", 410)
                  .toMap()
                  .value(QStringLiteral("error")),
        QStringLiteral("gone"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), -1011);
    EXPECT_FALSE(readJSON("{}", error, "text/plain").isValid());
    EXPECT_EQ(error->code(), -1016);
}

TEST(JSONSerializerTest, FragmentsOnlyWhenTheReadingOptionsAllowThem)
{
    const auto serializer
        = KNJSONResponseSerializer::serializerWithReadingOptions(KNJSONResponseSerializer::allowFragments);
    std::optional<net::Error> error;
    EXPECT_EQ(readJSON("42", error, "application/json", 200, serializer), 42);
    EXPECT_FALSE(error);
    EXPECT_EQ(readJSON("\"EUR\"", error, "application/json", 200, serializer), QStringLiteral("EUR"));
    EXPECT_EQ(readJSON("[1]", error, "application/json", 200, serializer).toList(), QVariantList { 1 });
    for (const QByteArray& body : { QByteArray("1,2"), QByteArray("1],[2"), QByteArray("]") }) {
        EXPECT_FALSE(readJSON(body, error, "application/json", 200, serializer).isValid())
            << body.constData();
        EXPECT_TRUE(error) << body.constData();
    }
}

TEST(JSONSerializerTest, RemovingNullValuesWalksObjectsAndArrays)
{
    const QByteArray body = R"({"a":null,"b":[{"c":null,"d":1},null]})";
    std::optional<net::Error> error;
    const QVariant kept = readJSON(body, error);
    EXPECT_EQ(kept.toMap().value(QStringLiteral("a")), nullMarker);
    EXPECT_EQ(kept.toMap().value(QStringLiteral("b")).toList().first().toMap().value(QStringLiteral("c")),
        nullMarker);

    const auto serializer = KNJSONResponseSerializer::serializer();
    serializer->setRemovesKeysWithNullValues(true);
    const QVariantMap expected { { QStringLiteral("b"),
        QVariantList { QVariantMap { { QStringLiteral("d"), 1 } }, nullMarker } } };
    EXPECT_EQ(readJSON(body, error, "application/json", 200, serializer).toMap(), expected);
    EXPECT_FALSE(error);

    EXPECT_EQ(KNJSONRemovingNullValues(QStringLiteral("x"), 0), QStringLiteral("x"));
    EXPECT_EQ(KNJSONRemovingNullValues(nullMarker, 0), nullMarker);
}
