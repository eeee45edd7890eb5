// Copies and archives: what each serializer class keeps, and that an archive restores the
// class it was made from.
#include "SerializerTestSupport.h"

#include "net/serialization/KNCompoundResponseSerializer.h"
#include "net/serialization/KNHTTPResponseSerializer.h"
#include "net/serialization/KNImageResponseSerializer.h"
#include "net/serialization/KNJSONResponseSerializer.h"
#include "net/serialization/KNPropertyListResponseSerializer.h"
#include "net/serialization/KNXMLDocumentResponseSerializer.h"
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

TEST(ArchiveAndCopyTest, DecodingSerializerCopiesKeepOnlyTheirOwnFields)
{
    const auto json = customised<KNJSONResponseSerializer>();
    json->setReadingOptions(KNJSONResponseSerializer::allowFragments);
    json->setRemovesKeysWithNullValues(true);
    const auto jsonCopy = std::dynamic_pointer_cast<KNJSONResponseSerializer>(json->clone());
    ASSERT_TRUE(jsonCopy);
    EXPECT_EQ(jsonCopy->readingOptions(), KNJSONResponseSerializer::allowFragments);
    EXPECT_TRUE(jsonCopy->removesKeysWithNullValues());
    EXPECT_EQ(
        jsonCopy->acceptableContentTypes(), KNJSONResponseSerializer::serializer()->acceptableContentTypes());
    EXPECT_EQ(
        jsonCopy->acceptableStatusCodes(), KNJSONResponseSerializer::serializer()->acceptableStatusCodes());

    const auto document = KNXMLDocumentResponseSerializer::serializerWithXMLDocumentOptions(6);
    document->setAcceptableContentTypes(onlyCSV);
    const auto documentCopy = std::dynamic_pointer_cast<KNXMLDocumentResponseSerializer>(document->clone());
    ASSERT_TRUE(documentCopy);
    EXPECT_EQ(documentCopy->options(), 6u);
    EXPECT_NE(documentCopy->acceptableContentTypes(), onlyCSV);

    const auto plist = KNPropertyListResponseSerializer::serializerWithFormat(200, 2);
    const auto plistCopy = std::dynamic_pointer_cast<KNPropertyListResponseSerializer>(plist->clone());
    ASSERT_TRUE(plistCopy);
    EXPECT_EQ(plistCopy->format(), 200u);
    EXPECT_EQ(plistCopy->readOptions(), 2u);

    const auto image = customised<KNImageResponseSerializer>();
    const auto imageCopy = image->clone();
    EXPECT_TRUE(std::dynamic_pointer_cast<KNImageResponseSerializer>(imageCopy));
    EXPECT_EQ(imageCopy->acceptableContentTypes(),
        KNImageResponseSerializer::serializer()->acceptableContentTypes());

    const auto compound
        = KNCompoundResponseSerializer::compoundSerializerWithResponseSerializers({ json, image });
    const auto compoundCopy = std::dynamic_pointer_cast<KNCompoundResponseSerializer>(compound->clone());
    ASSERT_TRUE(compoundCopy);
    EXPECT_EQ(compoundCopy->responseSerializers(), compound->responseSerializers());
}

TEST(ArchiveAndCopyTest, EveryClassComesBackFromItsArchiveWithItsFields)
{
    const auto json = KNJSONResponseSerializer::serializerWithReadingOptions(5);
    json->setRemovesKeysWithNullValues(true);
    json->setAcceptableStatusCodes(onlyOK);
    const auto plist = KNPropertyListResponseSerializer::serializerWithFormat(200, 1);
    const auto compound = KNCompoundResponseSerializer::compoundSerializerWithResponseSerializers(
        { json, KNXMLDocumentResponseSerializer::serializerWithXMLDocumentOptions(3), plist,
            KNImageResponseSerializer::serializer() });

    const auto restored = std::dynamic_pointer_cast<KNCompoundResponseSerializer>(
        KNHTTPResponseSerializer::fromArchive(compound->archive()));
    ASSERT_TRUE(restored);
    const auto& members = restored->responseSerializers();
    ASSERT_EQ(members.size(), 4);
    const auto restoredJSON = std::dynamic_pointer_cast<KNJSONResponseSerializer>(members[0]);
    ASSERT_TRUE(restoredJSON);
    EXPECT_EQ(restoredJSON->readingOptions(), 5u);
    EXPECT_TRUE(restoredJSON->removesKeysWithNullValues());
    EXPECT_EQ(restoredJSON->acceptableStatusCodes(), onlyOK);
    const auto restoredDocument = std::dynamic_pointer_cast<KNXMLDocumentResponseSerializer>(members[1]);
    ASSERT_TRUE(restoredDocument);
    EXPECT_EQ(restoredDocument->options(), 3u);
    const auto restoredPlist = std::dynamic_pointer_cast<KNPropertyListResponseSerializer>(members[2]);
    ASSERT_TRUE(restoredPlist);
    EXPECT_EQ(restoredPlist->format(), 200u);
    EXPECT_EQ(restoredPlist->readOptions(), 1u);
    const auto restoredImage = std::dynamic_pointer_cast<KNImageResponseSerializer>(members[3]);
    ASSERT_TRUE(restoredImage);
    EXPECT_EQ(restoredImage->archive(), KNImageResponseSerializer::serializer()->archive());
}
