#include "model/mapping/MAPError.h"
#include "model/mapping/MAPValue.h"
#include "model/mapping/MAPValueTransformer.h"

#include <gtest/gtest.h>

#include <QUrl>

using namespace Qt::Literals::StringLiterals;

TEST(ValueTransformer, BlockTransformersAndDirections)
{
    const auto oneWay = MAPValueTransformer::transformerWithBlock(
        [](const QVariant& v) { return QVariant(v.toInt() * 2); });
    EXPECT_FALSE(oneWay->allowsReverseTransformation());
    EXPECT_EQ(oneWay->transformedValue(4).toInt(), 8);
    EXPECT_THROW(oneWay->reverseTransformedValue(4), MAPException);

    const auto twoWay = MAPValueTransformer::reversibleTransformerWithForwardBlock(
        [](const QVariant& v) { return QVariant(v.toInt() + 1); },
        [](const QVariant& v) { return QVariant(v.toInt() - 1); });
    EXPECT_TRUE(twoWay->allowsReverseTransformation());
    EXPECT_EQ(twoWay->reverseTransformedValue(twoWay->transformedValue(5)).toInt(), 5);

    const auto inverted = map_invertedTransformer(twoWay);
    EXPECT_EQ(inverted->transformedValue(5).toInt(), 4);
    EXPECT_EQ(inverted->reverseTransformedValue(5).toInt(), 6);
}

TEST(ValueTransformer, NamedURLAndBooleanTransformers)
{
    const auto url
        = MAPValueTransformer::valueTransformerForName(QString::fromLatin1(MAPURLValueTransformerName));
    ASSERT_TRUE(url);
    EXPECT_EQ(
        url->transformedValue(u"https://example.org/a?b=1"_s).toUrl(), QUrl(u"https://example.org/a?b=1"_s));
    EXPECT_FALSE(url->transformedValue(42).isValid());
    EXPECT_FALSE(url->transformedValue(QVariant()).isValid());
    EXPECT_EQ(url->reverseTransformedValue(QUrl(u"https://example.org/x"_s)).toString(),
        u"https://example.org/x"_s);
    EXPECT_FALSE(url->reverseTransformedValue(u"text"_s).isValid());
    const auto inverted = map_invertedTransformer(url);
    EXPECT_EQ(inverted->transformedValue(QUrl(u"file:///tmp/a"_s)).toString(), u"file:///tmp/a"_s);
    EXPECT_EQ(inverted->reverseTransformedValue(u"file:///tmp/a"_s).toUrl(), QUrl(u"file:///tmp/a"_s));

    const auto boolean
        = MAPValueTransformer::valueTransformerForName(QString::fromLatin1(MAPBooleanValueTransformerName));
    ASSERT_TRUE(boolean);
    EXPECT_EQ(boolean->transformedValue(2), QVariant(true));
    EXPECT_EQ(boolean->transformedValue(0.0), QVariant(false));
    EXPECT_FALSE(boolean->transformedValue(u"yes"_s).isValid());
    EXPECT_EQ(boolean->reverseTransformedValue(1), QVariant(true));

    MAPValueTransformer::setValueTransformer(url, u"custom"_s);
    EXPECT_EQ(MAPValueTransformer::valueTransformerForName(u"custom"_s), url);
    EXPECT_FALSE(MAPValueTransformer::valueTransformerForName(u"absent"_s));
}

TEST(ValueTransformer, ValueMappingWithDefaults)
{
    const auto mapping = map_valueMappingTransformerWithDictionary(
        QVariantMap { { u"A"_s, 1 }, { u"B"_s, 2 } }, QVariant(0), QVariant(u"D"_s));
    EXPECT_EQ(mapping->transformedValue(u"B"_s).toInt(), 2);
    EXPECT_EQ(mapping->transformedValue(u"C"_s).toInt(), 0);
    EXPECT_EQ(mapping->transformedValue(QVariant()).toInt(), 0);
    EXPECT_EQ(mapping->reverseTransformedValue(1).toString(), u"A"_s);
    EXPECT_EQ(mapping->reverseTransformedValue(1.0).toString(), u"A"_s) << "numbers compare by value";
    EXPECT_EQ(mapping->reverseTransformedValue(3).toString(), u"D"_s);
    EXPECT_EQ(mapping->reverseTransformedValue(QVariant()).toString(), u"D"_s);

    const auto withNull = map_valueMappingTransformerWithDictionary(
        MAPValueMappingEntries { { MAPNull(), u"none"_s }, { u"x"_s, u"ex"_s } }, QVariant(0));
    EXPECT_EQ(withNull->transformedValue(QVariant()).toString(), u"none"_s) << "nil looks up the null key";
    EXPECT_TRUE(MAPIsNull(withNull->reverseTransformedValue(u"none"_s)));
}

TEST(Collections, ArrayAndDictionaryAdditions)
{
    const QVariantList list { 1, 2, 1, 3 };
    EXPECT_EQ(map_firstObject(list).toInt(), 1);
    EXPECT_FALSE(map_firstObject({}).isValid());
    EXPECT_EQ(map_arrayByRemovingObject(list, 1), (QVariantList { 2, 3 }));
    EXPECT_EQ(map_arrayByRemovingFirstObject({ 9 }), QVariantList());
    EXPECT_EQ(map_arrayByRemovingFirstObject({}), QVariantList());
    EXPECT_EQ(map_arrayByRemovingLastObject(list), (QVariantList { 1, 2, 1 }));

    const QVariantMap base { { u"a"_s, 1 }, { u"b"_s, 2 } };
    const QVariantMap added
        = map_dictionaryByAddingEntriesFromDictionary(base, { { u"b"_s, 5 }, { u"c"_s, 6 } });
    EXPECT_EQ(added.value(u"b"_s).toInt(), 5);
    EXPECT_EQ(added.size(), 3);
    EXPECT_EQ(map_dictionaryByRemovingEntriesWithKeys(added, { u"a"_s, u"z"_s }).keys(),
        (QStringList { u"b"_s, u"c"_s }));
}
