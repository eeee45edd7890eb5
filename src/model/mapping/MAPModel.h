#pragma once

#include "model/mapping/MAPClass.h"
#include "model/mapping/MAPError.h"
#include "model/mapping/MAPValue.h"

#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include <memory>

class MAPCoder;

/// Base of every serialisable model class. A subclass declares its persistent properties
/// with Q_PROPERTY on a Q_GADGET and gets, with no code of its own: its property keys,
/// construction from a dictionary with per-key validation, `dictionaryValue`, merging,
/// validation, equality, hash, description, copying and keyed archiving.
///
/// Subclasses derive from `MAPModelSubclass<Self>` (or `MAPModelSubclass<Self, Super>`),
/// never from `MAPModel` directly; see README.md in this folder.
///
/// Models are shared by reference (`MAPModelPtr`, a `std::shared_ptr`) and are not
/// thread-safe. Failures are reported by returning null/false and filling an optional
/// `MAPError*`; no exception leaves these operations.
class MAPModel {
    Q_GADGET
    Q_PROPERTY(QVariantMap dictionaryValue READ dictionaryValue STORED false)

public:
    MAPModel() = default;
    virtual ~MAPModel();
    MAPModel(const MAPModel&) = delete;
    MAPModel& operator=(const MAPModel&) = delete;

    /// The class of this object.
    virtual const MAPClass* modelClass() const;

    /// A new model of `modelClass` filled from `dictionary`, or null with `*error` set.
    static MAPModelPtr modelWithDictionary(
        const MAPClass* modelClass, const QVariantMap& dictionary, MAPError* error = nullptr);

    /// Fills this freshly made model from a dictionary of property key to value (the null
    /// object stores nil). Keys absent from the dictionary keep their `init` value. Stops at
    /// the first key that validation refuses or that cannot be stored (unknown key, nothing
    /// for a scalar, a value of the wrong type: "MAPModelErrorDomain" code 1) and returns
    /// false; the half-filled object must then be dropped.
    /// Not virtual: subclasses have nothing to add, and the JSON adapter stores through the
    /// same per-property path directly.
    bool initWithDictionary(const QVariantMap& dictionary, MAPError* error = nullptr);

    /// Every property key with its value; the null object for nil.
    QVariantMap dictionaryValue() const;

    /// Reads one property. Model-typed properties come back as `MAPModelPtr`, typed model
    /// lists as `QVariantList` of `MAPModelPtr`, absent values as nil.
    /// Throws `MAPException` for a key that names no property (internal use).
    QVariant valueForKey(const QString& key) const;
    /// Stores one property. Throws `MAPException` for an unknown key, nil for a scalar or a
    /// value of the wrong type (internal use; `MAPValidateAndStoreValue` catches).
    void setValueForKey(const QVariant& value, const QString& key);
    /// Calls the per-key hook `validate<Key>(QVariant& value, MAPError* error)` if the class
    /// has one (it may replace the value); accepts the value unchanged otherwise.
    /// Throws `MAPException` for a key that names no property.
    bool validateValue(QVariant& value, const QString& key, MAPError* error);

    /// Calls the hook `merge<Key>FromModel(const MAPModel* model)` if the class has one (also
    /// with a null model); otherwise copies `model`'s value for the key (nil included), or
    /// does nothing when `model` is null.
    void mergeValueForKey(const QString& key, const MAPModel* model);
    /// `mergeValueForKey` for each property key this class shares with `model`'s class.
    void mergeValuesForKeysFromModel(const MAPModel* model);

    /// Runs every key's validation over the current values (a validation hook that
    /// substitutes a value changes the model). False with `*error` at the first refusal.
    bool validate(MAPError* error = nullptr);

    /// A shallow copy: a new model of the same class made from `dictionaryValue`; null when
    /// that fails.
    MAPModelPtr copy() const;
    /// "<ClassName: 0x...> " followed by the description of `dictionaryValue`.
    QString description() const;
    /// Exclusive-or of the hashes of all property values (nil contributes 0).
    size_t hash() const;
    /// Same class exactly (a subclass instance never equals a base-class one) and equal
    /// values for every property key, nil matching only nil.
    bool isEqual(const MAPModel* other) const;
    bool operator==(const MAPModel& other) const { return isEqual(&other); }

    // Keyed archiving (see MAPCoder.h). Class-level tuning is done by static members of the
    // subclass, found by the layer: `modelVersion()`, `encodingBehaviorsByPropertyKey()`,
    // `allowedSecureCodingClassesByPropertyKey()`,
    // `dictionaryValueFromArchivedExternalRepresentation(const QVariantMap&, quint64)`,
    // `supportsSecureCoding()`.

    /// Writes the model version and every non-nil property by its encoding behaviour.
    /// Throws `MAPException` when secure coding is required and a key has no allowed classes
    /// (the caller who started the archiving handles it).
    virtual void encodeWithCoder(MAPCoder& coder) const;
    /// A model of `modelClass` decoded from `coder`, or null (newer version, refused older
    /// format, validation failure). The coder's `MAPException`s pass through to whoever
    /// started decoding (`MAPKeyedUnarchiver::unarchivedObjectOfClasses` catches them).
    static MAPModelPtr modelWithCoder(const MAPClass* modelClass, MAPCoder& coder);
    /// Decodes one key: the hook `decode<Key>WithCoder(MAPCoder* coder, quint64 version)` if
    /// the class has one, else the coder's value (restricted to the allowed classes when the
    /// coder is secure).
    QVariant decodeValueForKey(const QString& key, MAPCoder& coder, quint64 modelVersion);

    /// Internal: validates and stores the value of `modelClass()->properties()[index]`
    /// (see `MAPValidateAndStoreValue`).
    bool validateAndStoreProperty(int index, const QVariant& value, bool forceUpdate, MAPError* error);

    /// Encoding behaviours.
    enum EncodingBehavior : uint { Excluded = 0, Unconditional = 1, Conditional = 2 };

private:
    void storeProperty(const MAPClass::Property& property, const QVariant& value);

protected:
    /// Fills this freshly made model from `coder`; false when the archive is refused.
    virtual bool initWithCoder(MAPCoder& coder);
    friend class MAPKeyedUnarchiver;
};

/// The base every model class derives from: `class MVX_Tags : public
/// MAPModelSubclass<MVX_Tags> { Q_GADGET ... }`. It ties the class to its `MAPClass`.
template <class Self, class Super = MAPModel> class MAPModelSubclass : public Super {
public:
    using MAPSuperclass = Super;

    MAPModelSubclass() { (void)s_registered; }
    const MAPClass* modelClass() const override { return MAPClass::of<Self>(); }

    /// A new `Self` filled from `dictionary`, or null with `*error` set.
    static std::shared_ptr<Self> modelWithDictionary(const QVariantMap& dictionary, MAPError* error = nullptr)
    {
        return std::static_pointer_cast<Self>(
            MAPModel::modelWithDictionary(MAPClass::of<Self>(), dictionary, error));
    }
    /// The property keys of `Self`.
    static const QStringList& propertyKeys() { return MAPClass::of<Self>()->propertyKeys(); }

private:
    // Registers the class at start-up, so that `MAPClass::named` finds every class the
    // program can make (archives name their classes).
    static inline const MAPClass* const s_registered = MAPClass::of<Self>();
};

/// The typed model behind a value, or null when it holds none or another class.
template <class T> std::shared_ptr<T> MAPModelCast(const MAPModelPtr& model)
{
    if (!model || !model->modelClass()->isSubclassOf(MAPClass::of<T>()))
        return nullptr;
    return std::static_pointer_cast<T>(model);
}
