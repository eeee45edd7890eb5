// Property lists in both forms, and the property-list serializer around them.
#include "SerializerTestSupport.h"

#include "net/serialization/KNPropertyListResponseSerializer.h"
#include "net/serialization/PropertyListReading.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cstring>

using namespace serializertest;

namespace {

// A binary property list of the given encoded objects (object 0 is the top), with one-byte
// object references and offsets.
QByteArray binaryList(const QList<QByteArray>& objects, int top = 0)
{
    QByteArray bytes = "bplist00";
    QByteArray offsets;
    for (const QByteArray& object : objects) {
        offsets.append(char(bytes.size()));
        bytes.append(object);
    }
    const qsizetype tableOffset = bytes.size();
    bytes.append(offsets);
    QByteArray trailer(32, '\0');
    trailer[6] = 1;
    trailer[7] = 1;
    trailer[15] = char(objects.size());
    trailer[23] = char(top);
    trailer[31] = char(tableOffset);
    return bytes + trailer;
}

QByteArray bigEndianDouble(double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes;
    for (int shift = 56; shift >= 0; shift -= 8)
        bytes.append(char((bits >> shift) & 0xFF));
    return bytes;
}

const QDateTime firstOfMay = QDateTime(QDate(2024, 5, 1), QTime(12, 30), QTimeZone::utc());

} // namespace

TEST(PropertyListTest, ReadsEveryValueOfTheXMLForm)
{
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <key>name</key><string>Savings &amp; loans</string>
    <key>count</key><integer>-12</integer>
    <key>huge</key><integer>18446744073709551615</integer>
    <key>rate</key><real>1.5</real>
    <key>open</key><true/>
    <key>closed</key><false/>
    <key>when</key><date>2024-05-01T12:30:00Z</date>
    <key>blob</key><data>
        AAEC
        /w==
    </data>
    <key>list</key><array><string/><dict/></array>
</dict>
</plist>)";
    const auto list = net::readPropertyList(xml);
    ASSERT_TRUE(list) << qPrintable(list.error());
    const QVariantMap map = list->toMap();
    EXPECT_EQ(map.value(QStringLiteral("name")), QStringLiteral("Savings & loans"));
    EXPECT_EQ(map.value(QStringLiteral("count")), qint64(-12));
    EXPECT_EQ(map.value(QStringLiteral("huge")), std::numeric_limits<quint64>::max());
    EXPECT_EQ(map.value(QStringLiteral("rate")), 1.5);
    EXPECT_EQ(map.value(QStringLiteral("open")), true);
    EXPECT_EQ(map.value(QStringLiteral("closed")), false);
    EXPECT_EQ(map.value(QStringLiteral("when")).toDateTime(), firstOfMay);
    EXPECT_EQ(map.value(QStringLiteral("blob")).toByteArray(), QByteArray("\x00\x01\x02\xff", 4));
    EXPECT_EQ(map.value(QStringLiteral("list")).toList(), (QVariantList { QString(), QVariantMap() }));
}

TEST(PropertyListTest, RefusesXMLThatIsNoPropertyList)
{
    const QByteArray bad[] = {
        "<plist><dict><key>a</key></dict></plist>",
        "<plist><dict><string>a</string><true/></dict></plist>",
        "<plist><integer>12x</integer></plist>",
        "<plist><data>@@@</data></plist>",
        "<plist><date>yesterday</date></plist>",
        "<plist><string>a</string><string>b</string></plist>",
        "<plist><set/></plist>",
        "<plist><array><string>a</array></plist>",
        "<html><body/></html>",
        "plain words",
    };
    for (const QByteArray& body : bad)
        EXPECT_FALSE(net::readPropertyList(body)) << body.constData();

    QByteArray deep;
    for (int i = 0; i < 2000; ++i)
        deep.append("<array>");
    EXPECT_FALSE(net::readPropertyList(deep));
}

TEST(PropertyListTest, ReadsTheBinaryForm)
{
    const QByteArray bytes = binaryList({
        QByteArray("\xD6\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C", 13), // dict of six
        "\x54name",
        "\x55"
        "count",
        "\x54rate",
        "\x54when",
        "\x54"
        "blob",
        "\x55items",
        QByteArray("\x63\x00Z\x00\xfc\x00r", 7), // "Zür" in UTF-16
        QByteArray("\x13\xff\xff\xff\xff\xff\xff\xff\xf4", 9), // -12
        QByteArray("\x23") + bigEndianDouble(1.5),
        QByteArray("\x33") + bigEndianDouble(firstOfMay.toSecsSinceEpoch() - 978307200.0),
        QByteArray("\x42\x00\xff", 3),
        QByteArray("\xA3\x0D\x0E\x0F", 4), // [true, false, UID 7]
        "\x09",
        "\x08",
        "\x80\x07",
    });
    const auto list = net::readPropertyList(bytes);
    ASSERT_TRUE(list) << qPrintable(list.error());
    const QVariantMap map = list->toMap();
    EXPECT_EQ(map.value(QStringLiteral("name")), QStringLiteral("Z\u00fcr"));
    EXPECT_EQ(map.value(QStringLiteral("count")), qint64(-12));
    EXPECT_EQ(map.value(QStringLiteral("rate")), 1.5);
    EXPECT_EQ(map.value(QStringLiteral("when")).toDateTime(), firstOfMay);
    EXPECT_EQ(map.value(QStringLiteral("blob")).toByteArray(), QByteArray("\x00\xff", 2));
    EXPECT_EQ(map.value(QStringLiteral("items")).toList(),
        (QVariantList { true, false, QVariantMap { { QStringLiteral("CF$UID"), quint64(7) } } }));

    // Long lengths follow the marker as an integer object; one-byte integers are unsigned.
    const auto longString = net::readPropertyList(binaryList({ QByteArray("\xA2\x01\x02", 3),
        QByteArray("\x5F\x10\x11", 3) + QByteArray(17, 'x'), QByteArray("\x10\xff", 2) }));
    ASSERT_TRUE(longString) << qPrintable(longString.error());
    EXPECT_EQ(longString->toList(), (QVariantList { QString(17, u'x'), qint64(255) }));
}

TEST(PropertyListTest, RefusesDamagedBinaryLists)
{
    const QByteArray good = binaryList({ QByteArray("\xA1\x01", 2), "\x09" });
    ASSERT_TRUE(net::readPropertyList(good));

    QByteArray badTop = good;
    badTop[good.size() - 9] = 5;
    QByteArray badTable = good;
    badTable[good.size() - 1] = char(0x7F);
    QByteArray badRefSize = good;
    badRefSize[good.size() - 25] = 9;
    const QByteArray damaged[] = {
        good.left(good.size() - 1),
        badTop,
        badTable,
        badRefSize,
        binaryList({ QByteArray("\xA1\x00", 2) }), // an array holding itself
        binaryList({ QByteArray("\xA2\x01\x00", 3), "\x09" }), // ... a level down
        binaryList({ QByteArray("\xA1\x05", 2) }), // a reference past the last object
        binaryList({ QByteArray("\xD1\x01\x02", 3), "\x09", "\x08" }), // a key that is no string
        binaryList({ QByteArray("\x5F\x10\x7F", 3) + "abc" }), // a length past the objects
        binaryList({ QByteArray("\x14", 1) + QByteArray(16, '\x7f') }), // beyond 64 bits
        binaryList({ "\x00" }),
        binaryList({ QByteArray("\x33") + bigEndianDouble(std::numeric_limits<double>::infinity()) }),
        "bplist00",
    };
    for (const QByteArray& bytes : damaged)
        EXPECT_FALSE(net::readPropertyList(bytes)) << bytes.toHex().constData();
}

TEST(PropertyListTest, TheSerializerReportsWhatCannotBeRead)
{
    const auto serializer = KNPropertyListResponseSerializer::serializer();
    std::optional<net::Error> error;
    EXPECT_EQ(serializer
                  ->responseObjectForResponse(httpResponse(200, "application/x-plist"),
                      QByteArrayLiteral("<plist><array><integer>3</integer></array></plist>"), &error)
                  .toList(),
        QVariantList { qint64(3) });
    EXPECT_FALSE(error);

    for (const QByteArray& body : { QByteArray(), QByteArrayLiteral("<plist><oops/></plist>") }) {
        EXPECT_FALSE(
            serializer->responseObjectForResponse(httpResponse(200, "application/x-plist"), body, &error)
                .isValid());
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->is(KNURLResponseSerializationErrorDomain, net::cannotDecodeContentData));
        EXPECT_EQ(
            error->userInfo().value(KNNetworkingOperationFailingURLResponseDataErrorKey).toByteArray(), body);
    }
    EXPECT_FALSE(
        serializer->responseObjectForResponse(httpResponse(200, "application/x-plist"), std::nullopt, &error)
            .isValid());
    EXPECT_FALSE(error);
}
