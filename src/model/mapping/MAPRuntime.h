#pragma once

#include "model/mapping/MAPError.h"

#include <QByteArray>
#include <QMetaProperty>
#include <QString>
#include <QVariant>

#include <memory>

class MAPModel;
class MAPClass;

/// A "selector" is a method name. Null when the key cannot be encoded as UTF-8 (an
/// unpaired surrogate).
QByteArray MAPSelectorWithKeyAndSuffix(const QString& key, const char* suffix);
/// prefix + key with its first UTF-16 unit upper-cased + the rest of the key + suffix.
/// Null for an empty key or one that cannot be encoded as UTF-8.
QByteArray MAPSelectorWithPrefixCapitalizedKeyAndSuffix(
    const char* prefix, const QString& key, const char* suffix);

/// Validates `value` for `key` on `object` (through its validation hook, which may replace
/// it) and stores it when `forceUpdate` is set or the hook replaced it. False when the hook
/// refuses (its error) or storing fails ("MAPModelErrorDomain" code 1).
bool MAPValidateAndStoreValue(
    MAPModel* object, const QString& key, const QVariant& value, bool forceUpdate, MAPError* outError);

/// The parsed attribute string of a property. Attribute strings are made by
/// `MAPClass::attributeString` from Q_PROPERTY declarations:
///   "T" + type encoding, then ",R" (read-only), ",C" (copy), ",&" (retain), ",W" (weak),
///   ",N" (non-atomic), ",D" (dynamic: not STORED), ",G<name>", ",S<name>", ",V<field>".
/// Type encodings: "B" bool, "c" char, "i" int, "s" short, "q" qint64, "I" uint, "Q" quint64,
/// "f" float, "d" double, "@" any value, "@\"Name\"" a value of the class or kind Name,
/// "#" a class.
struct map_propertyAttributes {
    enum MemoryPolicy { Assign = 0, Retain = 1, Copy = 2 };

    bool readonly = false;
    bool nonatomic = false;
    bool weak = false;
    bool canBeCollected = false;
    bool dynamic = false;
    MemoryPolicy memoryPolicy = Assign;
    QByteArray getter;
    QByteArray setter;
    /// Null when absent, empty, or after "D".
    QByteArray ivar;
    /// The model class named by "@\"Name\"", or null.
    const MAPClass* objectClass = nullptr;
    /// The class or kind name inside "@\"...\"", empty otherwise.
    QByteArray objectClassName;
    QByteArray type;
};

/// Parses an attribute string for the property `name`; null (and a message on the standard
/// error stream) when it is malformed. The caller owns the result.
std::unique_ptr<map_propertyAttributes> map_parsePropertyAttributes(
    const QByteArray& attributes, const char* name);
std::unique_ptr<map_propertyAttributes> map_parsePropertyAttributes(const QMetaProperty& property);
