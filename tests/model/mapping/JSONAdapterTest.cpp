#include "TestModels.h"

#include "model/mapping/MAPJSONDocument.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace {

QVariant json(const char* text)
{
    return QJsonDocument::fromJson(QByteArray(text)).toVariant();
}

QVariant jsonInPlace(const char* text)
{
    return MAPJSONValueFromDocument(QJsonDocument::fromJson(QByteArray(text)));
}

const char* kRecordJSON = R"({
    "meta": {"title": "Net €", "year": 2023},
    "count": 2, "rate": 0.5, "flag": true, "gold": null,
    "tags": ["x", "y"], "extra": {"k": [1, null]}, "anything": "ignored: mapped to null",
    "leaf": {"name": "solo", "value": 1.5},
    "leaves": [{"name": "a", "value": 1}, null, {"name": "b"}],
    "unknown": 1
})";

} // namespace

TEST(JSONAdapter, ReadsKeyPathsTransformersAndNestedModels)
{
    for (const QVariant& input : { json(kRecordJSON), jsonInPlace(kRecordJSON) }) {
        MAPError error;
        MAPSkippedElementCounter skipped;
        const auto record = MAPJSONAdapter::modelOfClass<TMRecord>(input, &error);
        ASSERT_TRUE(record) << qPrintable(error.toString());
        EXPECT_EQ(record->title(), u"Net €"_s);
        EXPECT_EQ(record->year(), 2023);
        EXPECT_EQ(record->count(), 2);
        EXPECT_TRUE(record->flag());
        EXPECT_FALSE(record->gold().has_value());
        EXPECT_EQ(record->tags(), (QStringList { u"x"_s, u"y"_s }));
        EXPECT_TRUE(MAPIsNull(record->extra().value(u"k"_s).toList().value(1)));
        EXPECT_FALSE(record->anything().isValid()) << "a key mapped to null is not read";
        ASSERT_TRUE(record->leaf());
        EXPECT_EQ(record->leaf()->amount(), 1.5);
        ASSERT_EQ(record->leaves().size(), 2) << "the null element is skipped by the typed list";
        EXPECT_EQ(record->leaves()[1]->name(), u"b"_s);
        EXPECT_FALSE(record->leaves()[1]->amount().has_value());
        EXPECT_EQ(skipped.count(), 1);
    }
}

TEST(JSONAdapter, WritesEveryPropertyWithNullForNil)
{
    const auto record = MAPJSONAdapter::modelOfClass<TMRecord>(json(kRecordJSON));
    ASSERT_TRUE(record);
    record->setGold(std::nullopt);
    const QVariantMap out = MAPJSONAdapter::JSONDictionaryFromModel(record);
    const QVariantMap meta = out.value(u"meta"_s).toMap();
    EXPECT_EQ(meta.value(u"title"_s).toString(), u"Net €"_s) << "two key paths share one nested dictionary";
    EXPECT_EQ(meta.value(u"year"_s).toLongLong(), 2023);
    EXPECT_TRUE(out.contains(u"gold"_s));
    EXPECT_TRUE(MAPIsNull(out.value(u"gold"_s)));
    EXPECT_FALSE(out.contains(u"anything"_s));
    EXPECT_FALSE(out.contains(u"title"_s));
    EXPECT_EQ(out.value(u"leaves"_s).toList().size(), 2);
    EXPECT_EQ(out.value(u"leaf"_s).toMap().value(u"value"_s).toDouble(), 1.5);

    // Through JSON text and back to an equal model.
    const QByteArray text = QJsonDocument(QJsonObject::fromVariantMap(out)).toJson(QJsonDocument::Compact);
    const auto again = MAPJSONAdapter::modelOfClass<TMRecord>(jsonInPlace(text.constData()));
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->isEqual(record.get()));
}

TEST(JSONAdapter, MissingKeysKeepInitValues)
{
    const auto record = MAPJSONAdapter::modelOfClass<TMRecord>(json(R"({"meta": {}})"));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->count(), 7);
    EXPECT_TRUE(record->title().isNull());
    const auto nullTitle = MAPJSONAdapter::modelOfClass<TMRecord>(json(R"({"meta": null, "count": 1})"));
    ASSERT_TRUE(nullTitle);
    EXPECT_EQ(nullTitle->count(), 1);
}

TEST(JSONAdapter, InvalidInputsGiveAdapterErrors)
{
    MAPError error;
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMRecord>(QVariant(u"text"_s), &error));
    EXPECT_EQ(error.domain, u"MAPJSONAdapterErrorDomain"_s);
    EXPECT_EQ(error.code, 3);
    EXPECT_EQ(error.localizedDescription(), u"Missing JSON dictionary"_s);
    EXPECT_EQ(error.localizedFailureReason(),
        u"TMRecord could not be created because an invalid JSON dictionary was provided: QString"_s);
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMRecord>(QVariant(), nullptr))
        << "silent without error pointer";

    error = {};
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMRecord>(json(R"({"meta": 5})"), &error));
    EXPECT_EQ(error.code, 3);
    EXPECT_EQ(error.localizedDescription(), u"Invalid JSON dictionary"_s);
    EXPECT_EQ(error.localizedFailureReason(),
        u"TMRecord could not be parsed because an invalid JSON dictionary was provided for key path \"meta.title\""_s);
    EXPECT_TRUE(error.exception(MAPJSONAdapterThrownExceptionErrorKey).has_value());

    error = {};
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMRecord>(json(R"({"leaves": {"a": 1}})"), &error));
    EXPECT_EQ(error.code, 1) << "the array transformer refuses a dictionary";
    EXPECT_TRUE(error.localizedFailureReason().contains(u"Expected an array"_s));

    error = {};
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMRecord>(json(R"({"count": "many"})"), &error));
    EXPECT_EQ(error.domain, u"MAPModelErrorDomain"_s) << "storing errors come from the model layer";
    EXPECT_EQ(error.code, 1);

    error = {};
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMRecord>(json(R"({"count": -3})"), &error));
    EXPECT_EQ(error.domain, u"TMErrorDomain"_s);

    error = {};
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMBadMapping>(json(R"({"name": "x"})"), &error));
    EXPECT_TRUE(error.domain.isEmpty()) << "a faulty declaration sets no error";
}

TEST(JSONAdapter, ClassForParsingChoosesTheClass)
{
    const auto special = MAPJSONAdapter::modelOfClass(
        MAPClass::of<TMChooser>(), json(R"({"kind": "special", "name": "s"})"));
    ASSERT_TRUE(special);
    EXPECT_EQ(special->modelClass(), MAPClass::of<TMSpecialLeaf>());
    MAPError error;
    EXPECT_FALSE(
        MAPJSONAdapter::modelOfClass(MAPClass::of<TMChooser>(), json(R"({"kind": "none"})"), &error));
    EXPECT_EQ(error.code, 2);
    EXPECT_EQ(error.localizedDescription(), u"Could not parse JSON"_s);
    EXPECT_EQ(
        error.localizedFailureReason(), u"No model class could be found to parse the JSON dictionary."_s);
}

TEST(JSONAdapter, ArraysOfModels)
{
    MAPError error;
    const auto models = MAPJSONAdapter::modelsOfClass(
        MAPClass::of<TMLeaf>(), json(R"([{"name": "a"}, {"name": "b"}])"), &error);
    ASSERT_TRUE(models);
    ASSERT_EQ(models->size(), 2);
    const auto back = MAPJSONAdapter::JSONArrayFromModels(*models);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->at(1).toMap().value(u"name"_s).toString(), u"b"_s);

    EXPECT_FALSE(
        MAPJSONAdapter::modelsOfClass(MAPClass::of<TMLeaf>(), json(R"([{"name": "a"}, 3])"), &error));
    EXPECT_EQ(error.code, 3);
    EXPECT_EQ(error.localizedDescription(), u"Missing JSON dictionary"_s);
    EXPECT_FALSE(MAPJSONAdapter::modelsOfClass(MAPClass::of<TMLeaf>(), QVariant(QVariantMap()), &error));
    EXPECT_EQ(error.localizedDescription(), u"Missing JSON array"_s);
    EXPECT_EQ(error.localizedFailureReason(),
        u"TMLeaf could not be created because an invalid JSON array was provided: QVariantMap"_s);
    EXPECT_FALSE(MAPJSONAdapter::JSONArrayFromModels({ nullptr }));
}

TEST(JSONAdapter, ArrayTransformerKeepsNullAndDropsMalformedElements)
{
    const auto transformer = map_JSONArrayTransformerWithModelClass<TMLeaf>();
    MAPSkippedElementCounter skipped;
    const QVariantList out
        = transformer->transformedValue(json(R"([{"name": "a"}, null, "text", {"name": 5}, {"name": "b"}])"))
              .toList();
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(MAPModelCast<TMLeaf>(MAPModelFromValue(out[0]))->name(), u"a"_s);
    EXPECT_TRUE(MAPIsNull(out[1]));
    EXPECT_EQ(MAPModelCast<TMLeaf>(MAPModelFromValue(out[2]))->name(), u"b"_s);
    EXPECT_EQ(skipped.count(), 2) << "the string and the malformed dictionary";

    const QVariantList back = transformer->reverseTransformedValue(out).toList();
    ASSERT_EQ(back.size(), 3);
    EXPECT_TRUE(MAPIsNull(back[1]));
    EXPECT_EQ(back[2].toMap().value(u"name"_s).toString(), u"b"_s);
    EXPECT_FALSE(transformer->transformedValue(QVariant()).isValid());
    EXPECT_THROW(transformer->transformedValue(QVariant(3)), MAPException);
}

TEST(JSONAdapter, DictionaryTransformerAndAdapterAccessors)
{
    const auto transformer = map_JSONDictionaryTransformerWithModelClass<TMLeaf>();
    EXPECT_FALSE(transformer->transformedValue(json(R"({"name": 1})")).isValid());
    EXPECT_FALSE(transformer->transformedValue(QVariant()).isValid());
    const MAPModelPtr leaf = MAPModelFromValue(transformer->transformedValue(json(R"({"name": "n"})")));
    ASSERT_TRUE(leaf);
    EXPECT_EQ(transformer->reverseTransformedValue(MAPValueFromModel(leaf)).toMap().value(u"name"_s), u"n"_s);

    const MAPJSONAdapter adapter(leaf);
    EXPECT_EQ(adapter.JSONKeyPathForPropertyKey(u"amount"_s), u"value"_s);
    EXPECT_EQ(adapter.JSONKeyPathForPropertyKey(u"name"_s), u"name"_s);
    const MAPJSONAdapter recordAdapter(std::make_shared<TMRecord>());
    EXPECT_TRUE(recordAdapter.JSONKeyPathForPropertyKey(u"anything"_s).isNull());
    EXPECT_TRUE(recordAdapter.JSONTransformerForKey(u"leaves"_s));
    EXPECT_FALSE(recordAdapter.JSONTransformerForKey(u"count"_s));
    EXPECT_TRUE(MAPJSONAdapter::JSONDictionaryFromModel(nullptr).isEmpty());
}

TEST(JSONAdapter, DirectTextWriterMatchesTheDictionary)
{
    const auto leaf = TMLeaf::modelWithDictionary(
        { { u"name"_s, u"quote \" slash \\ tab \t nl \n bell \x07 € 😀 лв."_s }, { u"amount"_s, 0.1 } });
    auto special = std::make_shared<TMSpecialLeaf>();
    special->setName(u"special"_s);
    special->setAmount(1e300);
    special->setLevel(-3);
    for (const MAPModelPtr& model :
        { MAPModelPtr(leaf), MAPModelPtr(special), MAPModelPtr(std::make_shared<TMLeaf>()) }) {
        QJsonParseError parseError;
        const QByteArray text = MAPJSONAdapter::JSONDataFromModel(model);
        const QJsonDocument written = QJsonDocument::fromJson(text, &parseError);
        ASSERT_EQ(parseError.error, QJsonParseError::NoError) << text.constData();
        EXPECT_EQ(
            written.object(), QJsonObject::fromVariantMap(MAPJSONAdapter::JSONDictionaryFromModel(model)))
            << text.constData();
        const auto back
            = MAPJSONAdapter::modelOfClass(model->modelClass(), MAPJSONValueFromDocument(written));
        ASSERT_TRUE(back);
        EXPECT_TRUE(back->isEqual(model.get())) << "every double reads back the same";
    }

    // Nested models, null elements and dotted key paths.
    const auto record = MAPJSONAdapter::modelOfClass<TMRecord>(json(kRecordJSON));
    ASSERT_TRUE(record);
    const QJsonDocument written = QJsonDocument::fromJson(MAPJSONAdapter::JSONDataFromModel(record));
    EXPECT_EQ(written.object(), QJsonObject::fromVariantMap(MAPJSONAdapter::JSONDictionaryFromModel(record)));

    special->setAmount(std::nan(""));
    EXPECT_TRUE(MAPJSONAdapter::JSONDataFromModel(special).contains("\"value\":null")) << "JSON has no NaN";
    EXPECT_EQ(MAPJSONAdapter::JSONDataFromModel(nullptr), "{}");
}

TEST(JSONAdapter, OptionalModelListsKeepNilApartFromEmpty)
{
    const QByteArray text = R"({"leaves": [{"n": "x", "name": "a"}, null], "names": null})";
    MAPError error;
    // Used before its optional type is registered: refused with a clear error, not stored wrongly.
    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMOptionalLists>(json(text.constData()), &error));
    EXPECT_EQ(error.code, 1);
    EXPECT_TRUE(error.localizedFailureReason().contains(u"MAPRegisterOptionalType"_s))
        << qPrintable(error.toString());

    MAPRegisterOptionalType<QList<std::shared_ptr<TMLeaf>>>();
    const auto model = MAPJSONAdapter::modelOfClass<TMOptionalLists>(json(text.constData()), &error);
    ASSERT_TRUE(model) << qPrintable(error.toString());
    ASSERT_TRUE(model->leaves().has_value());
    ASSERT_EQ(model->leaves()->size(), 1);
    EXPECT_EQ(model->leaves()->first()->name(), u"a"_s);
    EXPECT_FALSE(model->names().has_value());

    for (const QByteArray& written : { MAPJSONAdapter::JSONDataFromModel(model),
             QJsonDocument(QJsonObject::fromVariantMap(MAPJSONAdapter::JSONDictionaryFromModel(model)))
                 .toJson() }) {
        const QJsonObject object = QJsonDocument::fromJson(written).object();
        EXPECT_EQ(object.value(u"leaves"_s).toArray().size(), 1) << written.constData();
        EXPECT_TRUE(object.value(u"names"_s).isNull()) << written.constData();
        const auto back = MAPJSONAdapter::modelOfClass<TMOptionalLists>(*MAPJSONDocument::parse(written));
        ASSERT_TRUE(back);
        EXPECT_TRUE(back->isEqual(model.get()));
    }

    model->setLeaves(std::nullopt);
    model->setNames(QStringList());
    const QJsonObject object = QJsonDocument::fromJson(MAPJSONAdapter::JSONDataFromModel(model)).object();
    EXPECT_TRUE(object.value(u"leaves"_s).isNull());
    EXPECT_TRUE(object.value(u"names"_s).isArray()) << "an empty list is written as []";
}
