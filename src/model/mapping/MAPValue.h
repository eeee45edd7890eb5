#pragma once

#include <QString>
#include <QVariant>

#include <cstddef>
#include <memory>

class MAPModel;
class MAPClass;
class QJsonDocument;
class QJsonValue;

/// Values of the mapping layer are `QVariant`s:
/// - nil (no value) is an invalid `QVariant` (`QVariant()`);
/// - the JSON null object is `MAPNull()`, a `QVariant` holding `nullptr`;
/// - a model is a `QVariant` holding `MAPModelPtr`;
/// - arrays are `QVariantList`, dictionaries `QVariantMap`, strings `QString`, numbers and
///   flags the numeric types and `bool`.
using MAPModelPtr = std::shared_ptr<MAPModel>;
// Two pointers that may be moved in memory: lets a QVariant hold a model without a heap block.
Q_DECLARE_TYPEINFO(MAPModelPtr, Q_RELOCATABLE_TYPE);
Q_DECLARE_METATYPE(MAPModelPtr)

/// The null object (JSON null), distinct from nil.
inline QVariant MAPNull()
{
    return QVariant::fromValue(nullptr);
}
inline bool MAPIsNull(const QVariant& value)
{
    return value.metaType() == QMetaType::fromType<std::nullptr_t>();
}
inline bool MAPIsNil(const QVariant& value)
{
    return !value.isValid();
}
/// Nil for the null object, the value itself otherwise.
inline QVariant MAPNilForNull(const QVariant& value)
{
    return MAPIsNull(value) ? QVariant() : value;
}
/// The null object for nil, the value itself otherwise.
inline QVariant MAPNullForNil(const QVariant& value)
{
    return value.isValid() ? value : MAPNull();
}

/// The model held by a value, or null.
MAPModelPtr MAPModelFromValue(const QVariant& value);
inline QVariant MAPValueFromModel(MAPModelPtr model)
{
    return model ? QVariant::fromValue(std::move(model)) : QVariant();
}

bool MAPIsNumber(const QVariant& value);
/// A `QVariantMap`, or a `QJsonObject` read without converting it first.
bool MAPIsDictionary(const QVariant& value);
/// A `QVariantList`, `QStringList`, or a `QJsonArray` read without converting it first.
bool MAPIsArray(const QVariant& value);

/// The top-level value of a parsed document, for `MAPJSONAdapter`, without the deep copy
/// that `QJsonDocument::toVariant()` makes: a `QJsonObject` or `QJsonArray` in a QVariant;
/// nil for a null document.
QVariant MAPJSONValueFromDocument(const QJsonDocument& document);
/// One JSON value as a layer value: objects and arrays stay JSON (shared, not copied),
/// null is `MAPNull()`, undefined is nil.
QVariant MAPValueFromJSONValue(const QJsonValue& value);

/// Value equality: models compare by their properties (`MAPModel::isEqual`), arrays and
/// dictionaries element by element, numbers by value (1 equals 1.0), nil only nil.
bool MAPValuesEqual(const QVariant& a, const QVariant& b);
/// A hash consistent with `MAPValuesEqual`: equal values hash alike; nil hashes to 0,
/// arrays and dictionaries to their count.
size_t MAPValueHash(const QVariant& value);

/// A readable, multi-line description of a value: dictionaries as "{ key = value; }",
/// arrays as "( a, b )", the null object as "<null>", nil as "(null)", models by their
/// description. Every text is inserted as plain data.
QString MAPValueDescription(const QVariant& value);

/// The name of a value's kind, used in error texts ("QString", "QVariantList", "nil", or
/// the model class name).
QString MAPValueClassName(const QVariant& value);
