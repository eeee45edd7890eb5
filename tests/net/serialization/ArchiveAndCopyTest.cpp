// Copies and archives: what each serializer class keeps, and that an archive restores the
// class it was made from.
#include "SerializerTestSupport.h"

#include "net/serialization/KNHTTPResponseSerializer.h"
#include "net/serialization/KNXMLParserResponseSerializer.h"

#include <gtest/gtest.h>

using namespace serializertest;

namespace {

const QSet<int> onlyOK { 200 };
const QSet<QString> onlyCSV { QStringLiteral("text/csv") };

template <typename Serializer> std::shared_ptr<Serializer> customised()
{
    auto serializer = Serializer::serializer();
    serializer->setAcceptableStatusCodes(onlyOK);
    serializer->setAcceptableContentTypes(onlyCSV);
    serializer->setStringEncoding(QStringLiteral("ISO-8859-1"));
    return serializer;
}

} // namespace

TEST(ArchiveAndCopyTest, BaseAndXMLParserCopiesKeepTheChecksButNotTheEncoding)
{
    const std::shared_ptr<KNHTTPResponseSerializer> originals[]
        = { customised<KNHTTPResponseSerializer>(), customised<KNXMLParserResponseSerializer>() };
    for (const auto& original : originals) {
        const auto copy = original->clone();
        ASSERT_NE(copy, original);
        EXPECT_EQ(typeid(*copy), typeid(*original));
        EXPECT_EQ(copy->acceptableStatusCodes(), onlyOK);
        EXPECT_EQ(copy->acceptableContentTypes(), onlyCSV);
        EXPECT_EQ(copy->stringEncoding(), QStringLiteral("UTF-8"));
        // Copies are independent.
        original->setAcceptableStatusCodes(std::nullopt);
        EXPECT_EQ(copy->acceptableStatusCodes(), onlyOK);
    }
}

TEST(ArchiveAndCopyTest, ArchivesRestoreTheClassAndItsChecks)
{
    const auto xml = customised<KNXMLParserResponseSerializer>();
    const QVariantMap archive = xml->archive();
    EXPECT_EQ(archive.value(QStringLiteral("acceptableStatusCodes")).toList(), QVariantList { 200 });
    EXPECT_EQ(archive.value(QStringLiteral("acceptableContentTypes")).toStringList(),
        QStringList { QStringLiteral("text/csv") });

    const auto restored = KNHTTPResponseSerializer::fromArchive(archive);
    ASSERT_TRUE(restored);
    EXPECT_TRUE(std::dynamic_pointer_cast<KNXMLParserResponseSerializer>(restored));
    EXPECT_EQ(restored->acceptableStatusCodes(), onlyOK);
    EXPECT_EQ(restored->acceptableContentTypes(), onlyCSV);
    EXPECT_EQ(restored->stringEncoding(), QStringLiteral("UTF-8"));

    // The default range survives as the hundred codes it is.
    const auto base
        = KNHTTPResponseSerializer::fromArchive(KNHTTPResponseSerializer::serializer()->archive());
    ASSERT_TRUE(base);
    EXPECT_EQ(base->acceptableStatusCodes(), KNHTTPResponseSerializer::serializer()->acceptableStatusCodes());
    EXPECT_FALSE(base->acceptableContentTypes());
}

TEST(ArchiveAndCopyTest, AbsentKeysMeanNoneAndUnknownClassesRestoreNothing)
{
    QVariantMap archive = KNXMLParserResponseSerializer::serializer()->archive();
    archive.remove(QStringLiteral("acceptableStatusCodes"));
    archive.remove(QStringLiteral("acceptableContentTypes"));
    const auto open = KNHTTPResponseSerializer::fromArchive(archive);
    ASSERT_TRUE(open);
    EXPECT_FALSE(open->acceptableStatusCodes());
    EXPECT_FALSE(open->acceptableContentTypes());
    EXPECT_TRUE(open->validateResponse(httpResponse(418, "text/plain"), QByteArrayLiteral("x"), nullptr));

    archive.insert(KNHTTPResponseSerializer::archiveClassKey, QStringLiteral("KNNoSuchSerializer"));
    EXPECT_FALSE(KNHTTPResponseSerializer::fromArchive(archive));
    EXPECT_FALSE(KNHTTPResponseSerializer::fromArchive({}));
}
