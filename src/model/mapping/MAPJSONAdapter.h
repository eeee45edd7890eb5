#pragma once

#include "model/mapping/MAPError.h"
#include "model/mapping/MAPModel.h"
#include "model/mapping/MAPValue.h"
#include "model/mapping/MAPValueTransformer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <memory>
#include <optional>

/// Converts between models and JSON dictionaries: `QVariantMap` of strings, numbers,
/// `bool`, `QVariantList`, `QVariantMap` and `MAPNull()` for JSON null (as
/// `QJsonDocument::toVariant()` gives them), or, faster, a `QJsonObject` read in place
/// (`MAPJSONValueFromDocument`). Output is always `QVariantMap`. Parsing and writing JSON
/// text is the caller's business.
///
/// A model class takes part by declaring (see README.md):
///   static QVariantMap JSONKeyPathsByPropertyKey();           // required
///   static MAPValueTransformerPtr JSONTransformerForKey(const QString& key);  // optional
///   static const MAPClass* classForParsingJSONDictionary(const QVariantMap&); // optional
///   Q_INVOKABLE static MAPValueTransformerPtr <key>JSONTransformer();          // optional
/// Per-key transformers are asked for once per class and then reused.
///
/// Every failure returns null/nothing and sets `*error` when an error pointer is given.
class MAPJSONAdapter {
public:
    /// Error codes of "MAPJSONAdapterErrorDomain".
    enum ErrorCode { ExceptionThrown = 1, NoClassFound = 2, InvalidJSONDictionary = 3 };

    /// The model of `modelClass` made from a JSON dictionary, or null.
    static MAPModelPtr modelOfClass(
        const MAPClass* modelClass, const QVariant& JSONDictionary, MAPError* error = nullptr);
    template <class T>
    static std::shared_ptr<T> modelOfClass(const QVariant& JSONDictionary, MAPError* error = nullptr)
    {
        return std::static_pointer_cast<T>(modelOfClass(MAPClass::of<T>(), JSONDictionary, error));
    }
    /// One model per element; nothing when the input is not an array or any element fails.
    static std::optional<QList<MAPModelPtr>> modelsOfClass(
        const MAPClass* modelClass, const QVariant& JSONArray, MAPError* error = nullptr);
    /// The JSON dictionary of a model (empty for null). Nil properties are written as JSON null.
    static QVariantMap JSONDictionaryFromModel(const MAPModel* model);
    static QVariantMap JSONDictionaryFromModel(const MAPModelPtr& model)
    {
        return JSONDictionaryFromModel(model.get());
    }
    static std::optional<QVariantList> JSONArrayFromModels(const QList<MAPModelPtr>& models);
    /// `JSONDictionaryFromModel` written straight to compact UTF-8 JSON text, without the
    /// intermediate dictionaries: the fast way to write a document. Nested models reached
    /// through the predefined transformers are written directly too.
    static QByteArray JSONDataFromModel(const MAPModel* model);
    static QByteArray JSONDataFromModel(const MAPModelPtr& model) { return JSONDataFromModel(model.get()); }

    /// An adapter that parsed `JSONDictionary` into a model of `modelClass` (or of the class
    /// `classForParsingJSONDictionary` chose), or null.
    static std::unique_ptr<MAPJSONAdapter> adapterWithJSONDictionary(
        const QVariant& JSONDictionary, const MAPClass* modelClass, MAPError* error = nullptr);
    /// An adapter for serialising `model`.
    explicit MAPJSONAdapter(MAPModelPtr model);

    const MAPModelPtr& model() const { return m_model; }
    const MAPClass* modelClass() const { return m_modelClass; }
    const QVariantMap& JSONKeyPathsByPropertyKey() const { return m_JSONKeyPathsByPropertyKey; }

    /// A new dictionary holding the model's properties at their key paths.
    QVariantMap JSONDictionary() const;
    /// The transformer for a property key, or null.
    MAPValueTransformerPtr JSONTransformerForKey(const QString& key) const;
    /// The key path for a property key; the key itself when unmapped; a null QString when
    /// the key is mapped to the null object (not represented in JSON).
    QString JSONKeyPathForPropertyKey(const QString& key) const;

private:
    MAPJSONAdapter(const MAPClass* modelClass);
    bool parse(const QVariant& JSONDictionary, MAPError* error);

    MAPModelPtr m_model;
    const MAPClass* m_modelClass = nullptr;
    QVariantMap m_JSONKeyPathsByPropertyKey;
};

/// A reversible transformer between a JSON dictionary and a model of `modelClass`. Forward:
/// nil gives nil; a dictionary that cannot be converted gives nil (and is counted by any
/// active `MAPSkippedElementCounter`). Backward: the model's JSON dictionary.
MAPValueTransformerPtr map_JSONDictionaryTransformerWithModelClass(const MAPClass* modelClass);
template <class T> MAPValueTransformerPtr map_JSONDictionaryTransformerWithModelClass()
{
    return map_JSONDictionaryTransformerWithModelClass(MAPClass::of<T>());
}

/// A reversible transformer between a JSON array of dictionaries and a `QVariantList` of
/// models of `modelClass`, which a property of type `QList<std::shared_ptr<T>>` accepts.
/// Forward: nil gives nil; JSON null elements stay as the null object (a typed model list
/// skips them on storing); elements that cannot be converted are dropped. Both are counted
/// by any active `MAPSkippedElementCounter`. A value that is not an array throws
/// `MAPException` (reported by the adapter as code 1).
MAPValueTransformerPtr map_JSONArrayTransformerWithModelClass(const MAPClass* modelClass);
template <class T> MAPValueTransformerPtr map_JSONArrayTransformerWithModelClass()
{
    return map_JSONArrayTransformerWithModelClass(MAPClass::of<T>());
}

/// Counts, on the current thread and while it lives, the array elements and nested objects
/// that conversions dropped: elements that failed to convert, nested dictionaries that
/// failed, and null elements a typed model list skipped. Counters nest; each sees all.
///   MAPSkippedElementCounter skipped;
///   auto model = MAPJSONAdapter::modelOfClass<MVX_Model>(json, &error);
///   if (skipped.count() > 0) ...report...
class MAPSkippedElementCounter {
public:
    MAPSkippedElementCounter();
    ~MAPSkippedElementCounter();
    MAPSkippedElementCounter(const MAPSkippedElementCounter&) = delete;
    MAPSkippedElementCounter& operator=(const MAPSkippedElementCounter&) = delete;

    int count() const { return m_count; }
    /// Internal: adds `n` to every active counter of this thread.
    static void add(int n = 1);

private:
    int m_count = 0;
    MAPSkippedElementCounter* m_outer = nullptr;
};
