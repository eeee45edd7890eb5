#include "TestModels.h"

#include "model/mapping/MAPRuntime.h"

#include <gtest/gtest.h>

namespace {

QVariantMap fullRecordDictionary()
{
    auto leaf = TMLeaf::modelWithDictionary({ { u"name"_s, u"gold bar"_s }, { u"amount"_s, 2.5 } });
    auto other = TMLeaf::modelWithDictionary({ { u"name"_s, u"coin"_s }, { u"amount"_s, MAPNull() } });
    return {
        { u"title"_s, u"Savings €"_s },
        { u"count"_s, 3 },
        { u"rate"_s, 0.25 },
        { u"flag"_s, true },
        { u"year"_s, qint64(2024) },
        { u"gold"_s, MAPNull() },
        { u"tags"_s, QStringList { u"A"_s, u"B"_s } },
        { u"extra"_s, QVariantMap { { u"k"_s, 1 } } },
        { u"anything"_s, u"free"_s },
        { u"leaf"_s, MAPValueFromModel(leaf) },
        { u"leaves"_s, QVariantList { MAPValueFromModel(leaf), MAPValueFromModel(other) } },
    };
}

} // namespace

TEST(ModelBase, PropertyKeysListStoredPropertiesOnceSubclassFirst)
{
    const QStringList keys = TMRecord::propertyKeys();
    EXPECT_TRUE(keys.contains(u"stamp"_s)) << "read-only stored property";
    EXPECT_FALSE(keys.contains(u"computed"_s)) << "read-only computed property";
    EXPECT_FALSE(keys.contains(u"dictionaryValue"_s));
    EXPECT_EQ(keys.size(), 12);
    EXPECT_EQ(TMSpecialLeaf::propertyKeys(), (QStringList { u"level"_s, u"name"_s, u"amount"_s }));
    EXPECT_EQ(&TMRecord::propertyKeys(), &TMRecord::propertyKeys()) << "cached per class";
}

TEST(ModelBase, DictionaryRoundTripForEveryKindOfProperty)
{
    MAPError error;
    const auto record = TMRecord::modelWithDictionary(fullRecordDictionary(), &error);
    ASSERT_TRUE(record) << qPrintable(error.toString());
    EXPECT_EQ(record->title(), u"Savings €"_s);
    EXPECT_EQ(record->year(), 2024);
    EXPECT_FALSE(record->gold().has_value());
    ASSERT_EQ(record->leaves().size(), 2);
    EXPECT_EQ(record->leaves()[0], record->leaf()) << "shared by reference";

    const QVariantMap values = record->dictionaryValue();
    EXPECT_TRUE(MAPIsNull(values.value(u"gold"_s)));
    EXPECT_EQ(values.value(u"tags"_s).toStringList(), (QStringList { u"A"_s, u"B"_s }));
    const auto again = TMRecord::modelWithDictionary(values, &error);
    ASSERT_TRUE(again) << qPrintable(error.toString());
    EXPECT_TRUE(again->isEqual(record.get()));
    EXPECT_EQ(again->hash(), record->hash());
    EXPECT_TRUE(MAPValuesEqual(again->dictionaryValue(), values));
}

TEST(ModelBase, FreshModelGivesNullForNilAndFeedsBackEqual)
{
    const TMRecord fresh;
    const QVariantMap values = fresh.dictionaryValue();
    EXPECT_EQ(values.size(), 12);
    EXPECT_TRUE(MAPIsNull(values.value(u"title"_s)));
    EXPECT_TRUE(MAPIsNull(values.value(u"leaf"_s)));
    EXPECT_EQ(values.value(u"count"_s).toInt(), 7);
    const auto back = TMRecord::modelWithDictionary(values);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->isEqual(&fresh));
}

TEST(ModelBase, NullStoresNilAndAbsentKeysKeepInitValues)
{
    const auto record
        = TMRecord::modelWithDictionary({ { u"year"_s, MAPNull() }, { u"title"_s, MAPNull() } });
    ASSERT_TRUE(record);
    EXPECT_FALSE(record->year().has_value());
    EXPECT_TRUE(record->title().isNull());
    EXPECT_EQ(record->count(), 7);
}

TEST(ModelBase, StoringFailuresAreModelErrorsWithCodeOne)
{
    struct Case {
        QVariantMap dictionary;
        QString reasonFragment;
    };
    const QList<Case> cases = {
        { { { u"nope"_s, 1 } }, u"has no property named \"nope\""_s },
        { { { u"count"_s, MAPNull() } }, u"Cannot store nothing in the property \"count\""_s },
        { { { u"rate"_s, u"12"_s } }, u"Cannot store a value of type QString in the property \"rate\""_s },
        { { { u"title"_s, 5 } }, u"type int in the property \"title\""_s },
        { { { u"count"_s, 2.5 } }, u"property \"count\""_s },
        { { { u"leaf"_s, MAPValueFromModel(std::make_shared<TMRecord>()) } }, u"property \"leaf\""_s },
        { { { u"tags"_s, QVariantList { 1 } } }, u"property \"tags\""_s },
    };
    for (const Case& c : cases) {
        MAPError error;
        EXPECT_FALSE(TMRecord::modelWithDictionary(c.dictionary, &error)) << qPrintable(c.reasonFragment);
        EXPECT_EQ(error.domain, u"MAPModelErrorDomain"_s);
        EXPECT_EQ(error.code, 1);
        EXPECT_TRUE(error.localizedFailureReason().contains(c.reasonFragment))
            << qPrintable(error.localizedFailureReason());
        EXPECT_EQ(error.localizedDescription(), error.localizedFailureReason());
        EXPECT_TRUE(error.exception(MAPModelThrownExceptionErrorKey).has_value());
    }
    EXPECT_FALSE(TMRecord::modelWithDictionary({ { u"nope"_s, 1 } }, nullptr))
        << "silent without error pointer";
}

TEST(ModelBase, NumbersConvertWithoutLoss)
{
    const auto record = TMRecord::modelWithDictionary(
        { { u"count"_s, 4.0 }, { u"rate"_s, 3 }, { u"flag"_s, 2 }, { u"year"_s, 1999.0 } });
    ASSERT_TRUE(record);
    EXPECT_EQ(record->count(), 4);
    EXPECT_EQ(record->rate(), 3.0);
    EXPECT_TRUE(record->flag());
    EXPECT_EQ(record->year(), 1999);
    EXPECT_FALSE(TMRecord::modelWithDictionary({ { u"count"_s, 1e12 } })) << "out of range for int";
}

TEST(ModelBase, ValidationHooksRefuseOrReplace)
{
    MAPError error;
    EXPECT_FALSE(TMRecord::modelWithDictionary({ { u"count"_s, -1 } }, &error));
    EXPECT_EQ(error.domain, u"TMErrorDomain"_s) << "the hook's own error passes through";
    EXPECT_EQ(error.code, 42);

    const auto record = TMRecord::modelWithDictionary({ { u"title"_s, u"untitled"_s } });
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->title().isNull());

    record->setTitle(u"untitled"_s);
    EXPECT_TRUE(record->validate(&error));
    EXPECT_TRUE(record->title().isNull()) << "validate stores a substituted value";
    record->setCount(-5);
    EXPECT_FALSE(record->validate(&error));
    EXPECT_EQ(error.code, 42);
}

TEST(ModelBase, EqualityHashAndSubclasses)
{
    const auto a = TMLeaf::modelWithDictionary({ { u"name"_s, u"x"_s } });
    const auto b = TMLeaf::modelWithDictionary({ { u"name"_s, u"x"_s } });
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->isEqual(b.get()));
    EXPECT_EQ(a->hash(), b->hash());
    b->setAmount(1.0);
    EXPECT_FALSE(a->isEqual(b.get())) << "nil against a value";

    const auto special = TMSpecialLeaf::modelWithDictionary({ { u"name"_s, u"x"_s } });
    EXPECT_FALSE(a->isEqual(special.get()));
    EXPECT_FALSE(special->isEqual(a.get()));
    EXPECT_EQ(MAPModelCast<TMLeaf>(special), special);
    EXPECT_EQ(MAPModelCast<TMSpecialLeaf>(a), nullptr);
}

TEST(ModelBase, MergeUsesHooksAndCopiesValues)
{
    const auto target = TMRecord::modelWithDictionary({ { u"title"_s, u"old"_s }, { u"rate"_s, 1.0 } });
    const auto source = TMRecord::modelWithDictionary({ { u"rate"_s, 0.5 }, { u"count"_s, 9 } });
    target->mergeValuesForKeysFromModel(source.get());
    EXPECT_TRUE(target->title().isNull()) << "nil is merged too";
    EXPECT_EQ(target->count(), 9);
    EXPECT_EQ(target->rate(), 1.0) << "the custom merge keeps the larger rate";

    target->mergeValueForKey(u"title"_s, nullptr);
    target->setTitle(u"kept"_s);
    target->mergeValueForKey(u"title"_s, nullptr);
    EXPECT_EQ(target->title(), u"kept"_s);
    const int calls = target->mergeRateCalls;
    target->mergeValueForKey(u"rate"_s, nullptr);
    EXPECT_EQ(target->mergeRateCalls, calls + 1) << "the hook is called with a null model";
}

TEST(ModelBase, CopyIsShallowAndEqual)
{
    const auto record = TMRecord::modelWithDictionary(fullRecordDictionary());
    const auto copy = std::static_pointer_cast<TMRecord>(record->copy());
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, record);
    EXPECT_TRUE(copy->isEqual(record.get()));
    EXPECT_EQ(copy->leaf(), record->leaf());
}

TEST(ModelBase, DescriptionShowsClassAddressAndValuesAsData)
{
    const auto leaf = TMLeaf::modelWithDictionary({ { u"name"_s, u"%1 %2 \"q\""_s } });
    const QString text = leaf->description();
    const QString prefix = u"<TMLeaf: 0x%1> "_s.arg(QString::number(quintptr(leaf.get()), 16));
    EXPECT_TRUE(text.startsWith(prefix)) << qPrintable(text);
    EXPECT_TRUE(text.contains(u"name = \"%1 %2 \\\"q\\\"\";"_s)) << qPrintable(text);
    EXPECT_TRUE(text.contains(u"amount = <null>;"_s)) << qPrintable(text);
}

TEST(Runtime, SelectorsFromKeys)
{
    EXPECT_EQ(MAPSelectorWithKeyAndSuffix(u"nwLogArray"_s, "JSONTransformer"), "nwLogArrayJSONTransformer");
    EXPECT_EQ(
        MAPSelectorWithPrefixCapitalizedKeyAndSuffix("merge", u"x"_s, "FromModel:"), "mergeXFromModel:");
    EXPECT_EQ(
        MAPSelectorWithPrefixCapitalizedKeyAndSuffix("merge", u"aBc"_s, "FromModel:"), "mergeABcFromModel:");
    EXPECT_EQ(MAPSelectorWithPrefixCapitalizedKeyAndSuffix("decode", u"ßeta"_s, ""), "decodeSSeta");
    EXPECT_TRUE(MAPSelectorWithPrefixCapitalizedKeyAndSuffix("merge", QString(), "").isNull());
    EXPECT_TRUE(MAPSelectorWithKeyAndSuffix(QString(QChar(0xD800)), "x").isNull()) << "unpaired surrogate";
}

TEST(Runtime, AttributeStringsParse)
{
    auto a = map_parsePropertyAttributes(QByteArray("T@\"TMLeaf\",R,&,N,Gget,SputIt:,V_leaf"), "leaf");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->readonly);
    EXPECT_TRUE(a->nonatomic);
    EXPECT_EQ(a->memoryPolicy, map_propertyAttributes::Retain);
    EXPECT_EQ(a->getter, "get");
    EXPECT_EQ(a->setter, "putIt:");
    EXPECT_EQ(a->ivar, "_leaf");
    EXPECT_EQ(a->objectClass, MAPClass::of<TMLeaf>());
    EXPECT_EQ(a->type, "@\"TMLeaf\"");

    a = map_parsePropertyAttributes(QByteArray("Td,D,C,W,P"), "rate");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->dynamic && a->weak && a->canBeCollected);
    EXPECT_TRUE(a->ivar.isNull());
    EXPECT_EQ(a->setter, "setRate:");
    EXPECT_EQ(a->getter, "rate");
    EXPECT_EQ(a->objectClass, nullptr);

    EXPECT_FALSE(map_parsePropertyAttributes(QByteArray("d,N"), "x"));
    EXPECT_FALSE(map_parsePropertyAttributes(QByteArray("T"), "x"));
    EXPECT_FALSE(map_parsePropertyAttributes(QByteArray("T@\"Open"), "x"));
    EXPECT_FALSE(map_parsePropertyAttributes(QByteArray("Ti,G"), "x"));
    EXPECT_TRUE(map_parsePropertyAttributes(QByteArray("Ti,Z,N"), "x"))
        << "unknown flags are reported, not fatal";
}
