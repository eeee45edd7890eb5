// What copies and archives of the request serializers keep.
#include "net/request/KNJSONRequestSerializer.h"
#include "net/request/KNPropertyListRequestSerializer.h"

#include <QDataStream>
#include <QIODevice>

#include <gtest/gtest.h>

using namespace net;
using namespace Qt::Literals::StringLiterals;

namespace {

const QVariantMap secret { { u"token"_s, u"s3cret"_s } };

void customise(KNHTTPRequestSerializer& serializer)
{
    serializer.setAuthorizationHeaderFieldWithUsername(u"user"_s, u"pass"_s);
    serializer.setValue("yes", "X-Custom");
    serializer.setQueryStringSerializationWithStyle(0);
    // Secrets in a DELETE go in the body, not into addresses that end up in logs.
    serializer.setHTTPMethodsEncodingParametersInURI({ u"GET"_s, u"HEAD"_s });
    serializer.setStringEncoding(u"ISO-8859-1"_s);
    serializer.setTimeoutInterval(5);
}

// The archive as bytes and back, as it would be stored.
QVariantMap throughBytes(const QVariantMap& archive)
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << archive;
    }
    QDataStream in(bytes);
    QVariantMap restored;
    in >> restored;
    return restored;
}

void expectKeptWhatSecurityNeeds(const KNHTTPRequestSerializer& copy)
{
    EXPECT_EQ(copy.valueForHTTPHeaderField("Authorization"), "Basic dXNlcjpwYXNz");
    EXPECT_EQ(copy.valueForHTTPHeaderField("X-Custom"), "yes");
    const auto request = copy.requestWithMethod("DELETE", u"http://h/item"_s, secret);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->url().toString(), u"http://h/item"_s);
    // Encoding and request settings are back to their defaults.
    EXPECT_EQ(copy.stringEncoding(), u"UTF-8"_s);
    EXPECT_TRUE(copy.mutableObservedChangedKeyPaths().isEmpty());
    EXPECT_EQ(request->timeoutInterval(), URLRequest::defaultTimeoutInterval);
}

} // namespace

TEST(RequestArchiveAndCopyTest, CopiesAndArchivesKeepHeadersStyleAndTheMethodsThatUseTheAddress)
{
    const std::shared_ptr<KNHTTPRequestSerializer> originals[] = { KNHTTPRequestSerializer::serializer(),
        KNJSONRequestSerializer::serializerWithWritingOptions(KNJSONRequestSerializer::prettyPrinted),
        KNPropertyListRequestSerializer::serializerWithFormat(
            KNPropertyListRequestSerializer::xmlFormat, 8) };
    for (const auto& original : originals) {
        customise(*original);
        const auto copy = original->clone();
        ASSERT_NE(copy, original);
        EXPECT_EQ(typeid(*copy), typeid(*original));
        expectKeptWhatSecurityNeeds(*copy);

        const auto restored = KNHTTPRequestSerializer::fromArchive(throughBytes(original->archive()));
        ASSERT_TRUE(restored);
        EXPECT_EQ(typeid(*restored), typeid(*original));
        expectKeptWhatSecurityNeeds(*restored);
        EXPECT_EQ(restored->HTTPRequestHeaders(), original->HTTPRequestHeaders());
    }
    const auto json = std::dynamic_pointer_cast<KNJSONRequestSerializer>(
        KNHTTPRequestSerializer::fromArchive(originals[1]->archive()));
    ASSERT_TRUE(json);
    EXPECT_EQ(json->writingOptions(), KNJSONRequestSerializer::prettyPrinted);
    EXPECT_EQ(std::static_pointer_cast<KNJSONRequestSerializer>(originals[1]->clone())->writingOptions(),
        KNJSONRequestSerializer::prettyPrinted);
    const auto plist = std::dynamic_pointer_cast<KNPropertyListRequestSerializer>(originals[2]->clone());
    ASSERT_TRUE(plist);
    EXPECT_EQ(plist->writeOptions(), 8u);
    EXPECT_EQ(plist->format(), KNPropertyListRequestSerializer::xmlFormat);

    EXPECT_FALSE(
        KNHTTPRequestSerializer::fromArchive({ { KNHTTPRequestSerializer::archiveClassKey, u"Other"_s } }));
}

TEST(RequestArchiveAndCopyTest, ACopyKeepsTheQueryStringBlock)
{
    KNHTTPRequestSerializer original;
    original.setQueryStringSerializationWithBlock(
        [](const URLRequest&, const QVariant&, std::optional<Error>*) { return u"fixed"_s; });
    const auto copy = original.clone();
    EXPECT_EQ(copy->requestWithMethod("GET", u"http://h/"_s, secret)->url().toString(), u"http://h/?fixed"_s);
    // An archive cannot hold a block: the restored serializer escapes the parameters itself.
    EXPECT_EQ(KNHTTPRequestSerializer::fromArchive(original.archive())
                  ->requestWithMethod("GET", u"http://h/"_s, secret)
                  ->url()
                  .toString(),
        u"http://h/?token=s3cret"_s);
}
