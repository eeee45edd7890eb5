#include "model/mapping/MAPClass.h"

#include "model/mapping/MAPModel.h"
#include "model/mapping/MAPPropertyCodec.h"
#include "model/mapping/MAPRuntime.h"
#include "model/mapping/MAPValueTransformer.h"

#include <QHash>
#include <QReadWriteLock>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Registry {
    QReadWriteLock lock;
    QHash<QString, const MAPClass*> byName;
    QHash<int, const MAPClass*> byPointerType;
    QHash<int, const MAPClass*> byListType;
};

Registry& registry()
{
    static Registry r;
    return r;
}

const MAPClass* lookUp(const QHash<int, const MAPClass*>& table, QMetaType type)
{
    Registry& r = registry();
    QReadLocker locker(&r.lock);
    return table.value(type.id(), nullptr);
}

} // namespace

MAPClass::MAPClass(const QMetaObject* metaObject, const MAPClass* superclass,
    std::function<MAPModelPtr()> factory, Hooks hooks, TypeSupport types)
    : m_metaObject(metaObject)
    , m_superclass(superclass)
    , m_factory(std::move(factory))
    , m_hooks(std::move(hooks))
    , m_types(std::move(types))
{
}

const MAPClass* MAPClass::registerClass(MAPClass* cls)
{
    Registry& r = registry();
    QWriteLocker locker(&r.lock);
    r.byName.insert(cls->name(), cls);
    r.byPointerType.insert(cls->m_types.pointerType.id(), cls);
    r.byListType.insert(cls->m_types.listType.id(), cls);
    return cls;
}

const MAPClass* MAPClass::named(const QString& className)
{
    Registry& r = registry();
    QReadLocker locker(&r.lock);
    return r.byName.value(className, nullptr);
}

const MAPClass* MAPClass::forPointerType(QMetaType type)
{
    return lookUp(registry().byPointerType, type);
}

const MAPClass* MAPClass::forListType(QMetaType type)
{
    return lookUp(registry().byListType, type);
}

bool MAPClass::isSubclassOf(const MAPClass* other) const
{
    for (const MAPClass* c = this; c; c = c->m_superclass) {
        if (c == other)
            return true;
    }
    return false;
}

void MAPClass::enumerateProperties(const std::function<void(const QMetaProperty&, bool*)>& block) const
{
    bool stop = false;
    const QMetaObject* base = &MAPModel::staticMetaObject;
    for (const QMetaObject* mo = m_metaObject; mo && mo != base && !stop; mo = mo->superClass()) {
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i) {
            block(mo->property(i), &stop);
            if (stop)
                break;
        }
    }
}

QByteArray MAPClass::attributeString(const QMetaProperty& property)
{
    const MAPPropertyCodec codec = MAPPropertyCodec::forType(property.metaType());
    QByteArray attributes = "T" + codec.typeEncoding();
    if (!property.isWritable())
        attributes += ",R";
    if (codec.kind == MAPPropertyCodec::ModelPointer)
        attributes += ",&";
    else if (codec.isObject() && codec.kind != MAPPropertyCodec::Variant)
        attributes += ",C";
    attributes += ",N";
    if (!property.isStored())
        attributes += ",D";
    else
        attributes += ",Vm_" + QByteArray(property.name());
    return attributes;
}

void MAPClass::buildCaches() const
{
    std::call_once(m_cacheOnce, [this] {
        QSet<QString> seen;
        enumerateProperties([&](const QMetaProperty& meta, bool*) {
            const auto attributes = map_parsePropertyAttributes(meta);
            if (!attributes)
                return; // a property whose attributes cannot be read is not persistent
            if (attributes->readonly && attributes->ivar.isNull())
                return;
            const QString key = QString::fromLatin1(meta.name());
            if (seen.contains(key))
                return;
            seen.insert(key);
            Property p;
            p.key = key;
            p.meta = meta;
            p.codec = std::make_shared<const MAPPropertyCodec>(MAPPropertyCodec::forType(meta.metaType()));
            p.validateHook
                = indexOfHook(MAPSelectorWithPrefixCapitalizedKeyAndSuffix("validate", key, ""), 2);
            p.mergeHook
                = indexOfHook(MAPSelectorWithPrefixCapitalizedKeyAndSuffix("merge", key, "FromModel"), 1);
            p.decodeHook
                = indexOfHook(MAPSelectorWithPrefixCapitalizedKeyAndSuffix("decode", key, "WithCoder"), 2);
            m_propertyIndex.insert(key, int(m_properties.size()));
            m_properties.append(p);
            m_propertyKeys.append(key);
        });
    });
}

const QStringList& MAPClass::propertyKeys() const
{
    buildCaches();
    return m_propertyKeys;
}

bool MAPClass::hasPropertyKey(const QString& key) const
{
    return indexOfPropertyKey(key) >= 0;
}

const QList<MAPClass::Property>& MAPClass::properties() const
{
    buildCaches();
    return m_properties;
}

int MAPClass::indexOfPropertyKey(const QString& key) const
{
    buildCaches();
    return m_propertyIndex.value(key, -1);
}

int MAPClass::indexOfHook(const QByteArray& name, int parameterCount) const
{
    if (name.isEmpty())
        return -1;
    for (const QMetaObject* mo = m_metaObject; mo; mo = mo->superClass()) {
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (m.methodType() == QMetaMethod::Method && m.parameterCount() == parameterCount
                && m.name() == name)
                return i;
        }
    }
    return -1;
}

const MAPModel* MAPClass::prototype() const
{
    std::call_once(m_prototypeOnce, [this] { m_prototype = m_factory(); });
    return m_prototype.get();
}

MAPValueTransformerPtr MAPClass::invokeTransformerHook(const QByteArray& methodName, bool* found) const
{
    *found = false;
    const int index = indexOfHook(methodName, 0);
    if (index < 0)
        return nullptr;
    const QMetaMethod method = m_metaObject->method(index);
    if (method.returnMetaType() != QMetaType::fromType<MAPValueTransformerPtr>())
        return nullptr;
    *found = true;
    MAPValueTransformerPtr result;
    method.invokeOnGadget(
        const_cast<MAPModel*>(prototype()), QGenericReturnArgument(method.typeName(), &result));
    return result;
}

QVariantMap MAPClass::JSONKeyPathsByPropertyKey() const
{
    return m_hooks.JSONKeyPathsByPropertyKey ? m_hooks.JSONKeyPathsByPropertyKey() : QVariantMap();
}

MAPValueTransformerPtr MAPClass::JSONTransformerForKey(const QString& key) const
{
    return m_hooks.JSONTransformerForKey ? m_hooks.JSONTransformerForKey(key) : nullptr;
}

const MAPClass* MAPClass::classForParsingJSONDictionary(const QVariantMap& dictionary) const
{
    return m_hooks.classForParsingJSONDictionary ? m_hooks.classForParsingJSONDictionary(dictionary) : this;
}

quint64 MAPClass::modelVersion() const
{
    return m_hooks.modelVersion ? m_hooks.modelVersion() : 0;
}

QVariantMap MAPClass::encodingBehaviorsByPropertyKey() const
{
    return m_hooks.encodingBehaviorsByPropertyKey ? m_hooks.encodingBehaviorsByPropertyKey()
                                                  : defaultEncodingBehaviorsByPropertyKey();
}

QVariantMap MAPClass::defaultEncodingBehaviorsByPropertyKey() const
{
    QVariantMap behaviors;
    for (const Property& p : properties()) {
        const auto attributes = map_parsePropertyAttributes(p.meta);
        const bool weak = attributes && attributes->weak;
        behaviors.insert(p.key, uint(weak ? MAPModel::Conditional : MAPModel::Unconditional));
    }
    return behaviors;
}

const QVariantMap& MAPClass::allowedSecureCodingClassesByPropertyKey() const
{
    std::call_once(m_allowedOnce, [this] {
        m_allowedClasses = m_hooks.allowedSecureCodingClassesByPropertyKey
            ? m_hooks.allowedSecureCodingClassesByPropertyKey()
            : defaultAllowedSecureCodingClassesByPropertyKey();
    });
    return m_allowedClasses;
}

QVariantMap MAPClass::defaultAllowedSecureCodingClassesByPropertyKey() const
{
    QVariantMap allowed;
    const QVariantMap behaviors = encodingBehaviorsByPropertyKey();
    for (auto it = behaviors.cbegin(); it != behaviors.cend(); ++it) {
        if (it.value().toUInt() == MAPModel::Excluded)
            continue;
        const int index = indexOfPropertyKey(it.key());
        if (index < 0)
            continue;
        const auto attributes = map_parsePropertyAttributes(m_properties[index].meta);
        if (!attributes)
            continue;
        if (!attributes->type.startsWith('@') && !attributes->type.startsWith('#'))
            allowed.insert(it.key(), QStringList { u"MAPValue"_s });
        else if (!attributes->objectClassName.isEmpty())
            allowed.insert(it.key(), QStringList { QString::fromLatin1(attributes->objectClassName) });
    }
    return allowed;
}

QVariant MAPClass::dictionaryValueFromArchivedExternalRepresentation(
    const QVariantMap& external, quint64 version) const
{
    return m_hooks.dictionaryValueFromArchivedExternalRepresentation
        ? m_hooks.dictionaryValueFromArchivedExternalRepresentation(external, version)
        : QVariant();
}

bool MAPClass::supportsSecureCoding() const
{
    return m_hooks.supportsSecureCoding ? m_hooks.supportsSecureCoding() : false;
}

QString MAPClass::managedObjectEntityName() const
{
    return m_hooks.managedObjectEntityName ? m_hooks.managedObjectEntityName() : QString();
}

QVariantMap MAPClass::managedObjectKeysByPropertyKey() const
{
    return m_hooks.managedObjectKeysByPropertyKey ? m_hooks.managedObjectKeysByPropertyKey() : QVariantMap();
}

QStringList MAPClass::propertyKeysForManagedObjectUniquing() const
{
    return m_hooks.propertyKeysForManagedObjectUniquing ? m_hooks.propertyKeysForManagedObjectUniquing()
                                                        : QStringList();
}

MAPValueTransformerPtr MAPClass::entityAttributeTransformerForKey(const QString& key) const
{
    return m_hooks.entityAttributeTransformerForKey ? m_hooks.entityAttributeTransformerForKey(key) : nullptr;
}

QHash<QString, const MAPClass*> MAPClass::relationshipModelClassesByPropertyKey() const
{
    return m_hooks.relationshipModelClassesByPropertyKey ? m_hooks.relationshipModelClassesByPropertyKey()
                                                         : QHash<QString, const MAPClass*>();
}

const MAPClass* MAPClass::classForDeserializingManagedObject(
    const std::shared_ptr<MAPManagedObject>& object) const
{
    return m_hooks.classForDeserializingManagedObject ? m_hooks.classForDeserializingManagedObject(object)
                                                      : this;
}
