// The JSON and property-list request serializers: which requests get a body, and what
// happens to parameters the writers cannot write.
#include "net/request/KNJSONRequestSerializer.h"
#include "net/request/KNPropertyListRequestSerializer.h"

#include <QDateTime>
#include <QSet>

#include <gtest/gtest.h>

#include <limits>

using namespace net;
using namespace Qt::Literals::StringLiterals;

namespace {

const QVariantMap parameters { { u"b"_s, QVariantList { 1, u"x"_s } }, { u"a"_s, u"q \"1\""_s } };

URLRequest post(
    const KNHTTPRequestSerializer& serializer, const QVariant& values, std::optional<Error>* error = nullptr)
{
    return serializer.requestWithMethod("POST", u"http://h/p"_s, values, error).value_or(URLRequest());
}

} // namespace

TEST(BodySerializerTest, AddressMethodsBehaveAsTheBaseSerializer)
{
    const KNHTTPRequestSerializer base;
    const std::shared_ptr<KNHTTPRequestSerializer> serializers[]
        = { KNJSONRequestSerializer::serializer(), KNPropertyListRequestSerializer::serializer() };
    for (const auto& serializer : serializers) {
        const auto request = serializer->requestWithMethod("GET", u"http://h/p"_s, parameters);
        ASSERT_TRUE(request);
        EXPECT_EQ(request->url(), base.requestWithMethod("GET", u"http://h/p"_s, parameters)->url());
        EXPECT_FALSE(request->httpBody());
        EXPECT_FALSE(request->valueForHTTPHeaderField("Content-Type"));

        // Without parameters a body method gets neither body nor content type.
        const URLRequest bare = post(*serializer, QVariant());
        EXPECT_FALSE(bare.httpBody());
        EXPECT_FALSE(bare.valueForHTTPHeaderField("Content-Type"));
        EXPECT_TRUE(bare.valueForHTTPHeaderField("User-Agent"));
    }
}

TEST(BodySerializerTest, JSONBodiesAreCompactUnlessPrettyPrinted)
{
    auto serializer = KNJSONRequestSerializer::serializer();
    URLRequest request = post(*serializer, parameters);
    EXPECT_EQ(request.valueForHTTPHeaderField("Content-Type"), "application/json");
    EXPECT_EQ(request.httpBody(), R"({"a":"q \"1\"","b":[1,"x"]})");

    serializer->setWritingOptions(KNJSONRequestSerializer::prettyPrinted);
    EXPECT_EQ(post(*serializer, parameters).httpBody(),
        "{\n  \"a\" : \"q \\\"1\\\"\",\n  \"b\" : [\n    1,\n    \"x\"\n  ]\n}");

    // A content type the request names stays.
    URLRequest own(QUrl(u"http://h/p"_s));
    own.setHttpMethod("PUT");
    own.setValue("application/vnd.test+json", "Content-Type");
    EXPECT_EQ(serializer->requestBySerializingRequest(own, parameters, nullptr)
                  ->valueForHTTPHeaderField("Content-Type"),
        "application/vnd.test+json");
}

TEST(BodySerializerTest, PropertyListBodiesAreXML)
{
    const QVariantMap values {
        { u"text"_s, u"<a & b>\r\n"_s },
        { u"data"_s, QByteArray("\x00\x01", 2) },
        { u"when"_s, QDateTime(QDate(2026, 12, 7), QTime(8, 30, 15, 500), Qt::UTC) },
        { u"n"_s, QVariantList { -3, 2.5, false } },
        { u"empty"_s, QVariantMap() },
    };
    const URLRequest request = post(*KNPropertyListRequestSerializer::serializer(), values);
    EXPECT_EQ(request.valueForHTTPHeaderField("Content-Type"), "application/x-plist");
    EXPECT_EQ(request.httpBody(),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
        "\t<key>data</key>\n\t<data>AAE=</data>\n"
        "\t<key>empty</key>\n\t<dict/>\n"
        "\t<key>n</key>\n\t<array>\n\t\t<integer>-3</integer>\n\t\t<real>2.5</real>\n\t\t<false/>\n\t</"
        "array>\n"
        "\t<key>text</key>\n\t<string>&lt;a &amp; b&gt;&#13;\n</string>\n"
        "\t<key>when</key>\n\t<date>2026-12-07T08:30:15Z</date>\n"
        "</dict>\n</plist>\n");
}

TEST(BodySerializerTest, ValuesAWriterCannotWriteAreReportedAndLeaveTheBodyOut)
{
    const auto json = KNJSONRequestSerializer::serializer();
    const auto plist = KNPropertyListRequestSerializer::serializer();
    auto binary = KNPropertyListRequestSerializer::serializerWithFormat(200, 0);
    const struct {
        const KNHTTPRequestSerializer* serializer;
        QVariant values;
    } cases[] = {
        { json.get(), QVariantMap { { u"x"_s, std::numeric_limits<double>::quiet_NaN() } } },
        { json.get(), QVariantMap { { u"x"_s, QVariant::fromValue(QSet<QString> { u"a"_s }) } } },
        { json.get(), QVariantMap { { u"x"_s, QString(QChar(0xDC00)) } } },
        { json.get(), u"top-level text"_s },
        { plist.get(), QVariantMap { { u"x"_s, QVariant::fromValue(nullptr) } } },
        { plist.get(), QVariantMap { { u"x"_s, QString(QChar(0x1)) } } },
        { binary.get(), QVariantMap { { u"x"_s, 1 } } },
    };
    for (const auto& [serializer, values] : cases) {
        std::optional<Error> error;
        const URLRequest request = post(*serializer, values, &error);
        ASSERT_TRUE(error) << values.toString().toStdString();
        EXPECT_TRUE(error->is(KNURLRequestSerializationErrorDomain, KNRequestSerializationWriteInvalidError));
        EXPECT_FALSE(request.httpBody());
    }
    // Fragments when asked for; null is JSON.
    EXPECT_EQ(post(*KNJSONRequestSerializer::serializerWithWritingOptions(
                       KNJSONRequestSerializer::fragmentsAllowed),
                  u"t\u0001"_s)
                  .httpBody(),
        "\"t\\u0001\"");
    EXPECT_EQ(post(*json, QVariantList { QVariant::fromValue(nullptr) }).httpBody(), "[null]");
}
