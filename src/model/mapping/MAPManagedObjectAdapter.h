#pragma once

#include "model/mapping/MAPError.h"
#include "model/mapping/MAPModel.h"
#include "model/mapping/MAPObjectGraph.h"
#include "model/mapping/MAPValueTransformer.h"

#include <QHash>
#include <QString>
#include <QVariantMap>

/// Converts between models and the managed objects of the object-graph store
/// (MAPObjectGraph.h), following relationships both ways without duplicating shared objects.
///
/// A model class takes part by declaring static members:
///   static QString managedObjectEntityName();                              // required
///   static QVariantMap managedObjectKeysByPropertyKey();                   // required
///   static QStringList propertyKeysForManagedObjectUniquing();             // optional
///   static MAPValueTransformerPtr entityAttributeTransformerForKey(const QString&);   // optional
///   static QHash<QString, const MAPClass*> relationshipModelClassesByPropertyKey(); // optional
///   static const MAPClass* classForDeserializingManagedObject(const MAPManagedObjectPtr&); // optional
/// and optionally the Q_INVOKABLE members
///   static MAPValueTransformerPtr <key>EntityAttributeTransformer();
///   void mergeValueForKey(const QString& key, MAPManagedObject* managedObject);
///   void mergeValuesForKeysFromManagedObject(MAPManagedObject* managedObject);
///
/// Errors are in "MAPManagedObjectAdapterErrorDomain" (codes 2 to 8); validation errors of
/// models and managed objects pass through unchanged.
class MAPManagedObjectAdapter {
public:
    enum ErrorCode {
        NoClassFound = 2,
        InitializationFailed = 3,
        InvalidManagedObjectKey = 4,
        UnsupportedManagedObjectPropertyType = 5,
        UnsupportedRelationshipClass = 6,
        UniqueFetchRequestFailed = 7,
        InvalidManagedObjectMapping = 8,
    };

    /// What one top-level conversion has converted already: managed objects to models
    /// (reading) and models, by identity, to managed objects (writing).
    struct ProcessedObjects {
        QHash<const MAPManagedObject*, MAPModelPtr> models;
        QHash<const MAPModel*, MAPManagedObjectPtr> managedObjects;
    };

    static MAPModelPtr modelOfClass(
        const MAPClass* modelClass, const MAPManagedObjectPtr& managedObject, MAPError* error = nullptr);
    static MAPModelPtr modelOfClass(const MAPClass* modelClass, const MAPManagedObjectPtr& managedObject,
        ProcessedObjects& processedObjects, MAPError* error);

    /// A managed object for `model`, inserted into `context` or, with uniquing keys, the
    /// existing object that matches (updated). On failure the object being filled is deleted.
    static MAPManagedObjectPtr managedObjectFromModel(
        const MAPModelPtr& model, MAPManagedObjectContext* context, MAPError* error = nullptr);
    static MAPManagedObjectPtr managedObjectFromModel(const MAPModelPtr& model,
        MAPManagedObjectContext* context, ProcessedObjects& processedObjects, MAPError* error);

    explicit MAPManagedObjectAdapter(const MAPClass* modelClass);

    const MAPClass* modelClass() const { return m_modelClass; }
    const QVariantMap& managedObjectKeysByPropertyKey() const { return m_managedObjectKeysByPropertyKey; }
    const QHash<QString, const MAPClass*>& relationshipModelClassesByPropertyKey() const
    {
        return m_relationshipModelClassesByPropertyKey;
    }

    MAPModelPtr modelFromManagedObject(
        const MAPManagedObjectPtr& managedObject, ProcessedObjects& processedObjects, MAPError* error);
    /// The instance form of `managedObjectFromModel` (the static one of the same arguments
    /// takes the name).
    MAPManagedObjectPtr managedObjectFromModelInsertingIntoContext(const MAPModelPtr& model,
        MAPManagedObjectContext* context, ProcessedObjects& processedObjects, MAPError* error);

    /// The managed-object key for a property key: the mapped key, the key itself when
    /// unmapped, a null QString when mapped to the null object.
    QString managedObjectKeyForKey(const QString& key) const;
    MAPValueTransformerPtr entityAttributeTransformerForKey(const QString& key) const;
    void mergeValueOfModel(MAPModel* model, const QString& key, MAPManagedObject* managedObject) const;
    void mergeValuesOfModel(MAPModel* model, MAPManagedObject* managedObject) const;
    /// "key == value" for each uniquing key, joined by AND; null without uniquing keys.
    MAPPredicatePtr uniquingPredicateForModel(const MAPModel* model) const;

private:
    const MAPClass* m_modelClass;
    QVariantMap m_managedObjectKeysByPropertyKey;
    QHash<QString, const MAPClass*> m_relationshipModelClassesByPropertyKey;
};
