#pragma once

#include "model/mapping/MAPValue.h"

#include <QList>
#include <QMetaMethod>
#include <QMetaObject>
#include <QMetaProperty>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <concepts>
#include <functional>
#include <memory>
#include <mutex>

class MAPModel;
class MAPValueTransformer;
class MAPCoder;
class MAPManagedObject;
using MAPValueTransformerPtr = std::shared_ptr<MAPValueTransformer>;
struct MAPPropertyCodec;

/// The "class object" of a model class: what the layer knows about one `MAPModel`
/// subclass (its meta-object, how to make an instance, its superclass, its class-level
/// hooks) plus the per-class caches (property keys, hooks found by name). One instance
/// per class lives for the whole process; `MAPClass::of<T>()` returns it.
class MAPClass {
public:
    MAPClass(const MAPClass&) = delete;
    MAPClass& operator=(const MAPClass&) = delete;

    template <class T> static const MAPClass* of();
    /// The registered class of that name, or null (a class is registered by `of<T>()`,
    /// which every model constructor calls).
    static const MAPClass* named(const QString& className);

    QString name() const { return QString::fromLatin1(m_metaObject->className()); }
    const QMetaObject* metaObject() const { return m_metaObject; }
    /// Null for `MAPModel` itself.
    const MAPClass* superclass() const { return m_superclass; }
    bool isSubclassOf(const MAPClass* other) const;

    /// A new instance of this class, as `init` leaves it.
    MAPModelPtr create() const { return m_factory(); }

    /// The persistent property keys: every read-write property, and read-only ones marked
    /// STORED, of this class and its superclasses below `MAPModel`, each once, the
    /// subclass's own first. Computed once per class.
    const QStringList& propertyKeys() const;
    bool hasPropertyKey(const QString& key) const;

    /// Calls `block` with each declared property of this class and its superclasses below
    /// `MAPModel`, the subclass's own first; the block may set `*stop` to end early.
    void enumerateProperties(const std::function<void(const QMetaProperty&, bool* stop)>& block) const;

    /// The attribute string of a property ("T<type>,R,N,...", see MAPRuntime.h).
    static QByteArray attributeString(const QMetaProperty& property);

    // Class-level hooks. Each is the subclass's static member of the same name when it (or
    // a base) declares one; otherwise the layer's default or "not implemented".

    bool conformsToJSONSerializing() const { return bool(m_hooks.JSONKeyPathsByPropertyKey); }
    /// Property key -> JSON key path (QString) or the null object; empty when not declared.
    QVariantMap JSONKeyPathsByPropertyKey() const;
    bool respondsToJSONTransformerForKey() const { return bool(m_hooks.JSONTransformerForKey); }
    MAPValueTransformerPtr JSONTransformerForKey(const QString& key) const;
    bool respondsToClassForParsingJSONDictionary() const
    {
        return bool(m_hooks.classForParsingJSONDictionary);
    }
    const MAPClass* classForParsingJSONDictionary(const QVariantMap& dictionary) const;

    /// Calls the static Q_INVOKABLE hook `methodName()` that returns a transformer
    /// (`<key>JSONTransformer`, `<key>EntityAttributeTransformer`). `*found` tells whether
    /// the class has it.
    MAPValueTransformerPtr invokeTransformerHook(const QByteArray& methodName, bool* found) const;

    /// The index of the Q_INVOKABLE method called `name` with `parameterCount` parameters, or -1.
    int indexOfHook(const QByteArray& name, int parameterCount) const;

    // Archiving hooks (see MAPModel.h for their meaning).
    quint64 modelVersion() const;
    QVariantMap encodingBehaviorsByPropertyKey() const;
    QVariantMap defaultEncodingBehaviorsByPropertyKey() const;
    /// Property key -> list of allowed class names (QStringList), cached per class.
    const QVariantMap& allowedSecureCodingClassesByPropertyKey() const;
    QVariantMap defaultAllowedSecureCodingClassesByPropertyKey() const;
    bool respondsToDictionaryValueFromArchivedExternalRepresentation() const
    {
        return bool(m_hooks.dictionaryValueFromArchivedExternalRepresentation);
    }
    QVariant dictionaryValueFromArchivedExternalRepresentation(
        const QVariantMap& external, quint64 version) const;
    bool supportsSecureCoding() const;

    // Managed-object hooks.
    bool conformsToManagedObjectSerializing() const { return bool(m_hooks.managedObjectEntityName); }
    QString managedObjectEntityName() const;
    QVariantMap managedObjectKeysByPropertyKey() const;
    bool respondsToPropertyKeysForManagedObjectUniquing() const
    {
        return bool(m_hooks.propertyKeysForManagedObjectUniquing);
    }
    QStringList propertyKeysForManagedObjectUniquing() const;
    bool respondsToEntityAttributeTransformerForKey() const
    {
        return bool(m_hooks.entityAttributeTransformerForKey);
    }
    MAPValueTransformerPtr entityAttributeTransformerForKey(const QString& key) const;
    bool respondsToRelationshipModelClassesByPropertyKey() const
    {
        return bool(m_hooks.relationshipModelClassesByPropertyKey);
    }
    /// Property key -> `const MAPClass*` of the related objects.
    QHash<QString, const MAPClass*> relationshipModelClassesByPropertyKey() const;
    bool respondsToClassForDeserializingManagedObject() const
    {
        return bool(m_hooks.classForDeserializingManagedObject);
    }
    const MAPClass* classForDeserializingManagedObject(const std::shared_ptr<MAPManagedObject>& object) const;

    /// Internal: per-property facts, in `propertyKeys()` order.
    struct Property {
        QString key;
        QMetaProperty meta;
        std::shared_ptr<const MAPPropertyCodec> codec;
        int validateHook = -1; // validate<Key>(QVariant&, MAPError*)
        int mergeHook = -1; // merge<Key>FromModel(const MAPModel*)
        int decodeHook = -1; // decode<Key>WithCoder(MAPCoder*, quint64)
    };
    const QList<Property>& properties() const;
    /// Index into `properties()`, or -1.
    int indexOfPropertyKey(const QString& key) const;
    /// An instance kept for calling static hooks through the meta-object system.
    const MAPModel* prototype() const;

private:
    struct Hooks {
        std::function<QVariantMap()> JSONKeyPathsByPropertyKey;
        std::function<MAPValueTransformerPtr(const QString&)> JSONTransformerForKey;
        std::function<const MAPClass*(const QVariantMap&)> classForParsingJSONDictionary;
        std::function<quint64()> modelVersion;
        std::function<QVariantMap()> encodingBehaviorsByPropertyKey;
        std::function<QVariantMap()> allowedSecureCodingClassesByPropertyKey;
        std::function<QVariant(const QVariantMap&, quint64)>
            dictionaryValueFromArchivedExternalRepresentation;
        std::function<bool()> supportsSecureCoding;
        std::function<QString()> managedObjectEntityName;
        std::function<QVariantMap()> managedObjectKeysByPropertyKey;
        std::function<QStringList()> propertyKeysForManagedObjectUniquing;
        std::function<MAPValueTransformerPtr(const QString&)> entityAttributeTransformerForKey;
        std::function<QHash<QString, const MAPClass*>()> relationshipModelClassesByPropertyKey;
        std::function<const MAPClass*(const std::shared_ptr<MAPManagedObject>&)>
            classForDeserializingManagedObject;
    };
    struct TypeSupport {
        QMetaType pointerType; // std::shared_ptr<T>
        QMetaType listType; // QList<std::shared_ptr<T>>
        std::function<QVariant(const MAPModelPtr&)> toPointer;
        std::function<MAPModelPtr(const QVariant&)> fromPointer;
        std::function<QVariant(const QList<MAPModelPtr>&)> toList;
        std::function<QList<MAPModelPtr>(const QVariant&)> fromList;
    };

    MAPClass(const QMetaObject* metaObject, const MAPClass* superclass, std::function<MAPModelPtr()> factory,
        Hooks hooks, TypeSupport types);
    static const MAPClass* registerClass(MAPClass* cls);
    template <class T> static Hooks hooksOf();
    template <class T> static TypeSupport typesOf();
    void buildCaches() const;

    friend struct MAPPropertyCodec;
    friend class MAPModel;

    const QMetaObject* m_metaObject;
    const MAPClass* m_superclass;
    std::function<MAPModelPtr()> m_factory;
    Hooks m_hooks;
    TypeSupport m_types;

    mutable std::once_flag m_cacheOnce;
    mutable QList<Property> m_properties;
    mutable QStringList m_propertyKeys;
    mutable QHash<QString, int> m_propertyIndex;
    mutable std::once_flag m_allowedOnce;
    mutable QVariantMap m_allowedClasses;
    mutable std::atomic<const void*> m_JSONPlan { nullptr };
    friend class MAPJSONAdapter;
    friend struct MAPJSONPlanAccess;
    mutable std::once_flag m_prototypeOnce;
    mutable MAPModelPtr m_prototype;

public:
    /// Internal: the model class whose `std::shared_ptr<T>` or `QList<std::shared_ptr<T>>`
    /// has this meta-type, or null.
    static const MAPClass* forPointerType(QMetaType type);
    static const MAPClass* forListType(QMetaType type);
    QVariant wrapPointer(const MAPModelPtr& model) const { return m_types.toPointer(model); }
    MAPModelPtr unwrapPointer(const QVariant& value) const { return m_types.fromPointer(value); }
    QVariant wrapList(const QList<MAPModelPtr>& models) const { return m_types.toList(models); }
    QList<MAPModelPtr> unwrapList(const QVariant& value) const { return m_types.fromList(value); }
};

template <class T> MAPClass::Hooks MAPClass::hooksOf()
{
    Hooks h;
    if constexpr (requires {
                      {
                          T::JSONKeyPathsByPropertyKey()
                          } -> std::convertible_to<QVariantMap>;
                  })
        h.JSONKeyPathsByPropertyKey = [] { return QVariantMap(T::JSONKeyPathsByPropertyKey()); };
    if constexpr (requires(const QString& k) { T::JSONTransformerForKey(k); })
        h.JSONTransformerForKey
            = [](const QString& k) { return MAPValueTransformerPtr(T::JSONTransformerForKey(k)); };
    if constexpr (requires(const QVariantMap& d) { T::classForParsingJSONDictionary(d); })
        h.classForParsingJSONDictionary
            = [](const QVariantMap& d) { return T::classForParsingJSONDictionary(d); };
    if constexpr (requires { T::modelVersion(); })
        h.modelVersion = [] { return quint64(T::modelVersion()); };
    if constexpr (requires { T::encodingBehaviorsByPropertyKey(); })
        h.encodingBehaviorsByPropertyKey = [] { return QVariantMap(T::encodingBehaviorsByPropertyKey()); };
    if constexpr (requires { T::allowedSecureCodingClassesByPropertyKey(); })
        h.allowedSecureCodingClassesByPropertyKey
            = [] { return QVariantMap(T::allowedSecureCodingClassesByPropertyKey()); };
    if constexpr (requires(
                      const QVariantMap& d) { T::dictionaryValueFromArchivedExternalRepresentation(d, 0); })
        h.dictionaryValueFromArchivedExternalRepresentation = [](const QVariantMap& d, quint64 v) {
            return QVariant(T::dictionaryValueFromArchivedExternalRepresentation(d, v));
        };
    if constexpr (requires { T::supportsSecureCoding(); })
        h.supportsSecureCoding = [] { return bool(T::supportsSecureCoding()); };
    if constexpr (requires { T::managedObjectEntityName(); })
        h.managedObjectEntityName = [] { return QString(T::managedObjectEntityName()); };
    if constexpr (requires { T::managedObjectKeysByPropertyKey(); })
        h.managedObjectKeysByPropertyKey = [] { return QVariantMap(T::managedObjectKeysByPropertyKey()); };
    if constexpr (requires { T::propertyKeysForManagedObjectUniquing(); })
        h.propertyKeysForManagedObjectUniquing
            = [] { return QStringList(T::propertyKeysForManagedObjectUniquing()); };
    if constexpr (requires(const QString& k) { T::entityAttributeTransformerForKey(k); })
        h.entityAttributeTransformerForKey
            = [](const QString& k) { return MAPValueTransformerPtr(T::entityAttributeTransformerForKey(k)); };
    if constexpr (requires { T::relationshipModelClassesByPropertyKey(); })
        h.relationshipModelClassesByPropertyKey = [] { return T::relationshipModelClassesByPropertyKey(); };
    if constexpr (requires(const std::shared_ptr<MAPManagedObject>& o) {
                      T::classForDeserializingManagedObject(o);
                  })
        h.classForDeserializingManagedObject = [](const std::shared_ptr<MAPManagedObject>& o) {
            return T::classForDeserializingManagedObject(o);
        };
    return h;
}

template <class T> MAPClass::TypeSupport MAPClass::typesOf()
{
    TypeSupport t;
    t.pointerType = QMetaType::fromType<std::shared_ptr<T>>();
    t.listType = QMetaType::fromType<QList<std::shared_ptr<T>>>();
    t.toPointer = [](const MAPModelPtr& m) { return QVariant::fromValue(std::static_pointer_cast<T>(m)); };
    t.fromPointer = [](const QVariant& v) { return MAPModelPtr(v.value<std::shared_ptr<T>>()); };
    t.toList = [](const QList<MAPModelPtr>& models) {
        QList<std::shared_ptr<T>> list;
        list.reserve(models.size());
        for (const MAPModelPtr& m : models)
            list.append(std::static_pointer_cast<T>(m));
        return QVariant::fromValue(std::move(list));
    };
    t.fromList = [](const QVariant& v) {
        const auto typed = v.value<QList<std::shared_ptr<T>>>();
        QList<MAPModelPtr> list;
        list.reserve(typed.size());
        for (const auto& m : typed)
            list.append(m);
        return list;
    };
    return t;
}

template <class T> const MAPClass* MAPClass::of()
{
    static const MAPClass* const cls = [] {
        const MAPClass* super = nullptr;
        if constexpr (requires { typename T::MAPSuperclass; })
            super = MAPClass::of<typename T::MAPSuperclass>();
        return registerClass(new MAPClass(
            &T::staticMetaObject, super, [] { return MAPModelPtr(std::make_shared<T>()); }, hooksOf<T>(),
            typesOf<T>()));
    }();
    return cls;
}
