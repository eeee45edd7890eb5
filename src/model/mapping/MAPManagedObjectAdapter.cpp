#include "model/mapping/MAPManagedObjectAdapter.h"

#include "model/mapping/MAPRuntime.h"
#include "model/mapping/MAPValue.h"
#include "model/mapping/MAPValueTransformer.h"
#include "platform/Strings.h"

using namespace Qt::Literals::StringLiterals;

namespace {

MAPError managedObjectError(int code, const QString& description, const QString& reason)
{
    return MAPError::make(QString::fromLatin1(MAPManagedObjectAdapterErrorDomain), code, description, reason);
}

QString readingDescription()
{
    return platform::Strings::tr("Could not deserialize managed object");
}

QString writingDescription()
{
    return platform::Strings::tr("Could not serialize managed object");
}

/// Work on a queue context goes through the context's queue; a confinement context is used
/// directly.
template <class Work> auto inContext(MAPManagedObjectContext* context, Work&& work)
{
    if (!context || context->concurrencyType() == MAPManagedObjectContext::ConfinementConcurrencyType)
        return work();
    decltype(work()) result {};
    context->performBlockAndWait([&] { result = work(); });
    return result;
}

void inContextVoid(MAPManagedObjectContext* context, const std::function<void()>& work)
{
    inContext(context, [&] {
        work();
        return true;
    });
}

/// Validates and stores one model property, as key-value validation would.
bool setModelValue(MAPModel* model, const QString& key, const QVariant& value, MAPError* error)
{
    try {
        QVariant validated = value;
        if (!model->validateValue(validated, key, error))
            return false;
        model->setValueForKey(validated, key);
        return true;
    } catch (const MAPException& exception) {
        MAPSetError(error, map_modelErrorWithException(exception));
        return false;
    }
}

} // namespace

MAPManagedObjectAdapter::MAPManagedObjectAdapter(const MAPClass* modelClass)
    : m_modelClass(modelClass)
    , m_managedObjectKeysByPropertyKey(modelClass->managedObjectKeysByPropertyKey())
    , m_relationshipModelClassesByPropertyKey(modelClass->relationshipModelClassesByPropertyKey())
{
}

QString MAPManagedObjectAdapter::managedObjectKeyForKey(const QString& key) const
{
    const auto it = m_managedObjectKeysByPropertyKey.constFind(key);
    if (it == m_managedObjectKeysByPropertyKey.cend())
        return key;
    return MAPIsNull(it.value()) ? QString() : it.value().toString();
}

MAPValueTransformerPtr MAPManagedObjectAdapter::entityAttributeTransformerForKey(const QString& key) const
{
    bool found = false;
    MAPValueTransformerPtr transformer = m_modelClass->invokeTransformerHook(
        MAPSelectorWithKeyAndSuffix(key, "EntityAttributeTransformer"), &found);
    if (found)
        return transformer;
    if (m_modelClass->respondsToEntityAttributeTransformerForKey())
        return m_modelClass->entityAttributeTransformerForKey(key);
    return nullptr;
}

void MAPManagedObjectAdapter::mergeValueOfModel(
    MAPModel* model, const QString& key, MAPManagedObject* managedObject) const
{
    const MAPClass* cls = model->modelClass();
    const int index = cls->indexOfHook("mergeValueForKey", 2);
    if (index < 0)
        return;
    const QMetaMethod hook = cls->metaObject()->method(index);
    const QList<QByteArray> types = hook.parameterTypes();
    hook.invokeOnGadget(model, QGenericArgument(types[0].constData(), &key),
        QGenericArgument(types[1].constData(), &managedObject));
}

void MAPManagedObjectAdapter::mergeValuesOfModel(MAPModel* model, MAPManagedObject* managedObject) const
{
    const MAPClass* cls = model->modelClass();
    const int all = cls->indexOfHook("mergeValuesForKeysFromManagedObject", 1);
    if (all >= 0) {
        const QMetaMethod hook = cls->metaObject()->method(all);
        hook.invokeOnGadget(model, QGenericArgument(hook.parameterTypes()[0].constData(), &managedObject));
        return;
    }
    if (cls->indexOfHook("mergeValueForKey", 2) < 0)
        return;
    const QVariantMap keys = cls->managedObjectKeysByPropertyKey();
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        mergeValueOfModel(model, it.key(), managedObject);
}

MAPPredicatePtr MAPManagedObjectAdapter::uniquingPredicateForModel(const MAPModel* model) const
{
    if (!m_modelClass->respondsToPropertyKeysForManagedObjectUniquing())
        return nullptr;
    const QStringList keys = m_modelClass->propertyKeysForManagedObjectUniquing();
    // No keys would match any object of the entity and overwrite it; that is no uniquing.
    if (keys.isEmpty())
        return nullptr;
    QList<MAPPredicatePtr> comparisons;
    for (const QString& key : keys) {
        QVariant value = model->valueForKey(key);
        if (const MAPValueTransformerPtr transformer = entityAttributeTransformerForKey(key))
            value = transformer->transformedValue(value);
        comparisons.append(MAPPredicate::equal(managedObjectKeyForKey(key), value));
    }
    return MAPPredicate::andPredicateWithSubpredicates(comparisons);
}

// ---- reading

MAPModelPtr MAPManagedObjectAdapter::modelOfClass(
    const MAPClass* modelClass, const MAPManagedObjectPtr& managedObject, MAPError* error)
{
    const QVariantMap keys = modelClass->managedObjectKeysByPropertyKey();
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        if (!modelClass->hasPropertyKey(it.key())) {
            MAPSetError(error,
                managedObjectError(InvalidManagedObjectMapping,
                    platform::Strings::tr("Invalid entity attribute mapping"),
                    platform::Strings::tr(
                        "%1 could not be parsed because its entity attribute mapping contains illegal "
                        "property keys.")
                        .arg(modelClass->name())));
            return nullptr;
        }
    }
    ProcessedObjects processed;
    return modelOfClass(modelClass, managedObject, processed, error);
}

MAPModelPtr MAPManagedObjectAdapter::modelOfClass(const MAPClass* modelClass,
    const MAPManagedObjectPtr& managedObject, ProcessedObjects& processedObjects, MAPError* error)
{
    if (!managedObject)
        return nullptr;
    if (const auto it = processedObjects.models.constFind(managedObject.get());
        it != processedObjects.models.cend())
        return *it;
    if (modelClass->respondsToClassForDeserializingManagedObject()) {
        modelClass = modelClass->classForDeserializingManagedObject(managedObject);
        if (!modelClass) {
            MAPSetError(error,
                managedObjectError(NoClassFound, readingDescription(),
                    platform::Strings::tr("No model class could be found to deserialize the object.")));
            return nullptr;
        }
    }
    MAPManagedObjectAdapter adapter(modelClass);
    return adapter.modelFromManagedObject(managedObject, processedObjects, error);
}

MAPModelPtr MAPManagedObjectAdapter::modelFromManagedObject(
    const MAPManagedObjectPtr& managedObject, ProcessedObjects& processedObjects, MAPError* error)
{
    const auto entity = managedObject->entity();
    MAPManagedObjectContext* context = managedObject->managedObjectContext();
    MAPModelPtr model = m_modelClass->create();
    // Entered before anything is read, so that a cycle of relationships comes back here.
    processedObjects.models.insert(managedObject.get(), model);

    for (const QString& key : m_modelClass->propertyKeys()) {
        const QString managedObjectKey = managedObjectKeyForKey(key);
        if (managedObjectKey.isNull())
            continue;
        const auto description = entity->propertyNamed(managedObjectKey);
        if (!description) {
            MAPSetError(error,
                managedObjectError(InvalidManagedObjectKey, readingDescription(),
                    platform::Strings::tr("No property by name \"%1\" exists on the entity.")
                        .arg(managedObjectKey)));
            return nullptr;
        }
        switch (description->kind()) {
        case MAPPropertyDescription::Attribute: {
            QVariant value = inContext(context, [&] { return managedObject->valueForKey(managedObjectKey); });
            try {
                if (const MAPValueTransformerPtr transformer = entityAttributeTransformerForKey(key))
                    value = transformer->reverseTransformedValue(value);
            } catch (const MAPException& exception) {
                MAPSetError(error, map_modelErrorWithException(exception));
                return nullptr;
            }
            if (!setModelValue(model.get(), key, value, error))
                return nullptr;
            break;
        }
        case MAPPropertyDescription::Relationship: {
            const MAPClass* relatedClass = m_relationshipModelClassesByPropertyKey.value(key, nullptr);
            if (!relatedClass) {
                MAPSetError(error,
                    managedObjectError(1, readingDescription(),
                        u"No class specified for decoding relationship at key \"%1\" in managed object of entity %2"_s
                            .arg(managedObjectKey, entity->name())));
                return nullptr;
            }
            const auto& relationship = static_cast<const MAPRelationshipDescription&>(*description);
            if (!relationship.isToMany()) {
                const MAPManagedObjectPtr related
                    = inContext(context, [&] { return managedObject->toOne(managedObjectKey); });
                if (!related)
                    break;
                const MAPModelPtr relatedModel = modelOfClass(relatedClass, related, processedObjects, error);
                if (!relatedModel || !setModelValue(model.get(), key, MAPValueFromModel(relatedModel), error))
                    return nullptr;
            } else {
                const QList<MAPManagedObjectPtr> members
                    = inContext(context, [&] { return managedObject->toMany(managedObjectKey); });
                QVariantList models;
                for (const MAPManagedObjectPtr& member : members) {
                    const MAPModelPtr memberModel
                        = modelOfClass(relatedClass, member, processedObjects, error);
                    if (!memberModel)
                        return nullptr;
                    models.append(MAPValueFromModel(memberModel));
                }
                if (!setModelValue(model.get(), key, models, error))
                    return nullptr;
            }
            break;
        }
        default:
            MAPSetError(error,
                managedObjectError(UnsupportedManagedObjectPropertyType, readingDescription(),
                    platform::Strings::tr("Property descriptions of class %1 are unsupported.")
                        .arg(description->className())));
            return nullptr;
        }
    }
    return model;
}

// ---- writing

MAPManagedObjectPtr MAPManagedObjectAdapter::managedObjectFromModel(
    const MAPModelPtr& model, MAPManagedObjectContext* context, MAPError* error)
{
    ProcessedObjects processed;
    return managedObjectFromModel(model, context, processed, error);
}

MAPManagedObjectPtr MAPManagedObjectAdapter::managedObjectFromModel(const MAPModelPtr& model,
    MAPManagedObjectContext* context, ProcessedObjects& processedObjects, MAPError* error)
{
    if (!model)
        return nullptr;
    if (const auto it = processedObjects.managedObjects.constFind(model.get());
        it != processedObjects.managedObjects.cend())
        return *it;
    MAPManagedObjectAdapter adapter(model->modelClass());
    return adapter.managedObjectFromModelInsertingIntoContext(model, context, processedObjects, error);
}

MAPManagedObjectPtr MAPManagedObjectAdapter::managedObjectFromModelInsertingIntoContext(
    const MAPModelPtr& model, MAPManagedObjectContext* context, ProcessedObjects& processedObjects,
    MAPError* error)
{
    const QString entityName = m_modelClass->managedObjectEntityName();
    MAPManagedObjectPtr managedObject;

    if (const MAPPredicatePtr predicate = uniquingPredicateForModel(model.get())) {
        const MAPFetchRequest request { entityName, predicate, false, 1 };
        MAPError fetchError;
        const auto results
            = inContext(context, [&] { return context->executeFetchRequest(request, &fetchError); });
        if (!results && error) {
            *error = managedObjectError(UniqueFetchRequestFailed, writingDescription(),
                platform::Strings::tr("Failed to fetch a managed object for uniqing predicate \"%1\".")
                    .arg(predicate->predicateFormat()));
            return nullptr;
        }
        if (results && !results->isEmpty())
            managedObject = results->first();
    }
    if (managedObject)
        mergeValuesOfModel(model.get(), managedObject.get());
    else
        managedObject = context->insertNewObjectForEntityForName(entityName);
    if (!managedObject) {
        MAPSetError(error,
            managedObjectError(InitializationFailed, writingDescription(),
                platform::Strings::tr("Failed to initialize a managed object from entity named \"%1\".")
                    .arg(entityName)));
        return nullptr;
    }
    processedObjects.managedObjects.insert(model.get(), managedObject);

    const auto entity = managedObject->entity();
    MAPError lastError;
    bool failed = false;
    const QVariantMap values = model->dictionaryValue();
    for (auto it = values.cbegin(); it != values.cend() && !failed; ++it) {
        const QString managedObjectKey = managedObjectKeyForKey(it.key());
        if (managedObjectKey.isNull())
            continue;
        QVariant value = MAPNilForNull(it.value());
        const auto description = entity->propertyNamed(managedObjectKey);
        if (!description) {
            lastError = managedObjectError(InvalidManagedObjectKey, writingDescription(),
                platform::Strings::tr("No property by name \"%1\" exists on the entity.")
                    .arg(managedObjectKey));
            failed = true;
            break;
        }
        switch (description->kind()) {
        case MAPPropertyDescription::Attribute:
            try {
                if (const MAPValueTransformerPtr transformer = entityAttributeTransformerForKey(it.key()))
                    value = transformer->transformedValue(value);
            } catch (const MAPException& exception) {
                lastError = map_modelErrorWithException(exception);
                failed = true;
                break;
            }
            if (!managedObject->validateValue(value, managedObjectKey, &lastError)) {
                failed = true;
                break;
            }
            managedObject->setValueForKey(value, managedObjectKey);
            break;
        case MAPPropertyDescription::Relationship: {
            if (!value.isValid())
                break;
            const auto& relationship = static_cast<const MAPRelationshipDescription&>(*description);
            const auto convert = [&](const QVariant& element) -> MAPManagedObjectPtr {
                const MAPModelPtr related = MAPModelFromValue(element);
                if (!related || !related->modelClass()->conformsToManagedObjectSerializing()) {
                    lastError = managedObjectError(UnsupportedRelationshipClass, writingDescription(),
                        platform::Strings::tr("Property of class %1 cannot be encoded into a managed object.")
                            .arg(MAPValueClassName(element)));
                    return nullptr;
                }
                return managedObjectFromModel(related, context, processedObjects, &lastError);
            };
            if (!relationship.isToMany()) {
                const MAPManagedObjectPtr related = convert(value);
                if (!related) {
                    failed = true;
                    break;
                }
                managedObject->setValueForKey(QVariant::fromValue(related), managedObjectKey);
                break;
            }
            if (!MAPIsArray(value)) {
                lastError = managedObjectError(UnsupportedRelationshipClass, writingDescription(),
                    platform::Strings::tr(
                        "Property of class %1 cannot be encoded into a to-many relationship.")
                        .arg(MAPValueClassName(value)));
                failed = true;
                break;
            }
            QList<MAPManagedObjectPtr> members;
            for (const QVariant& element : value.toList()) {
                const MAPManagedObjectPtr related = convert(element);
                if (!related) {
                    failed = true;
                    break;
                }
                if (!members.contains(related)) // a set: each object once
                    members.append(related);
            }
            if (!failed)
                managedObject->setValueForKey(QVariant::fromValue(members), managedObjectKey);
            break;
        }
        default:
            lastError = managedObjectError(UnsupportedManagedObjectPropertyType, writingDescription(),
                platform::Strings::tr("Property descriptions of class %1 are unsupported.")
                    .arg(description->className()));
            failed = true;
            break;
        }
    }
    if (!failed && !managedObject->validateForInsert(&lastError))
        failed = true;
    if (failed) {
        inContextVoid(context, [&] { context->deleteObject(managedObject); });
        processedObjects.managedObjects.remove(model.get());
        managedObject.reset();
    }
    if (error)
        *error = lastError;
    return managedObject;
}
