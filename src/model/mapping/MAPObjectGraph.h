#pragma once

// A small in-memory object-graph store: entities with attributes and relationships,
// managed objects living in a context, and fetch requests with equality and compound
// predicates. It is what the managed-object adapter converts models to and from.

#include "model/mapping/MAPError.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class MAPManagedObject;
class MAPManagedObjectContext;
using MAPManagedObjectPtr = std::shared_ptr<MAPManagedObject>;
Q_DECLARE_METATYPE(MAPManagedObjectPtr)

/// Error domain of the store itself (fetch and validation failures).
inline constexpr const char* MAPObjectGraphErrorDomain = "MAPObjectGraphErrorDomain";

/// A property of an entity: an attribute or a relationship (or another kind the adapter does
/// not handle).
class MAPPropertyDescription {
public:
    enum Kind { Attribute, Relationship, FetchedProperty };

    MAPPropertyDescription(Kind kind, QString name);
    virtual ~MAPPropertyDescription();

    Kind kind() const { return m_kind; }
    const QString& name() const { return m_name; }
    /// The class name of the description, as errors show it.
    QString className() const;
    bool isOptional() const { return m_optional; }
    void setOptional(bool optional) { m_optional = optional; }

private:
    Kind m_kind;
    QString m_name;
    bool m_optional = true;
};

class MAPAttributeDescription : public MAPPropertyDescription {
public:
    enum AttributeType { Any, String, Integer, Double, Boolean, Date, Binary };
    using Validator = std::function<bool(QVariant& value, MAPError* error)>;

    MAPAttributeDescription(QString name, AttributeType type = Any);

    AttributeType attributeType() const { return m_type; }
    /// An extra check run by `MAPManagedObject::validateValue`; it may replace the value.
    void setValidator(Validator validator) { m_validator = std::move(validator); }
    const Validator& validator() const { return m_validator; }

private:
    AttributeType m_type;
    Validator m_validator;
};

class MAPRelationshipDescription : public MAPPropertyDescription {
public:
    MAPRelationshipDescription(
        QString name, QString destinationEntityName, bool toMany, bool ordered = false);

    const QString& destinationEntityName() const { return m_destination; }
    bool isToMany() const { return m_toMany; }
    bool isOrdered() const { return m_ordered; }

private:
    QString m_destination;
    bool m_toMany;
    bool m_ordered;
};

class MAPEntityDescription {
public:
    explicit MAPEntityDescription(QString name);

    const QString& name() const { return m_name; }
    void addProperty(std::shared_ptr<MAPPropertyDescription> property);
    /// The property of that name, or null.
    std::shared_ptr<const MAPPropertyDescription> propertyNamed(const QString& name) const;
    const QList<std::shared_ptr<MAPPropertyDescription>>& properties() const { return m_properties; }

private:
    QString m_name;
    QList<std::shared_ptr<MAPPropertyDescription>> m_properties;
    QHash<QString, qsizetype> m_index;
};

/// The entities of a store.
class MAPManagedObjectModel {
public:
    void addEntity(std::shared_ptr<MAPEntityDescription> entity);
    std::shared_ptr<const MAPEntityDescription> entityNamed(const QString& name) const;

private:
    QHash<QString, std::shared_ptr<MAPEntityDescription>> m_entities;
};

/// An object of the store. Attribute values are layer values (MAPValue.h); a to-one
/// relationship holds a `MAPManagedObjectPtr`, a to-many one a `QList<MAPManagedObjectPtr>`.
class MAPManagedObject : public std::enable_shared_from_this<MAPManagedObject> {
public:
    MAPManagedObject(std::shared_ptr<const MAPEntityDescription> entity, MAPManagedObjectContext* context);

    const std::shared_ptr<const MAPEntityDescription>& entity() const { return m_entity; }
    MAPManagedObjectContext* managedObjectContext() const { return m_context; }
    bool isDeleted() const { return m_deleted; }

    /// Nil when unset. Throws `MAPException` for a name the entity does not have.
    QVariant valueForKey(const QString& key) const;
    void setValueForKey(const QVariant& value, const QString& key);
    MAPManagedObjectPtr toOne(const QString& key) const;
    QList<MAPManagedObjectPtr> toMany(const QString& key) const;

    /// Checks a value against the attribute's type and validator (which may replace it).
    /// Relationships accept any value of their kind.
    bool validateValue(QVariant& value, const QString& key, MAPError* error) const;
    /// Every required property has a value.
    bool validateForInsert(MAPError* error) const;

private:
    friend class MAPManagedObjectContext;
    std::shared_ptr<const MAPEntityDescription> m_entity;
    MAPManagedObjectContext* m_context;
    QHash<QString, QVariant> m_values;
    bool m_deleted = false;
};

/// A condition on managed objects: "key == value", or AND / OR / NOT of others.
class MAPPredicate {
public:
    enum Type { Comparison, And, Or, Not };

    /// The comparison "%K == %@".
    static std::shared_ptr<MAPPredicate> equal(QString key, QVariant value);
    static std::shared_ptr<MAPPredicate> andPredicateWithSubpredicates(
        QList<std::shared_ptr<MAPPredicate>> subpredicates);
    static std::shared_ptr<MAPPredicate> orPredicateWithSubpredicates(
        QList<std::shared_ptr<MAPPredicate>> subpredicates);
    static std::shared_ptr<MAPPredicate> notPredicateWithSubpredicate(
        std::shared_ptr<MAPPredicate> subpredicate);

    Type type() const { return m_type; }
    const QString& key() const { return m_key; }
    const QVariant& value() const { return m_value; }
    const QList<std::shared_ptr<MAPPredicate>>& subpredicates() const { return m_subpredicates; }

    /// Throws `MAPException` when a key is not a property of the object's entity.
    bool evaluateWithObject(const MAPManagedObject& object) const;
    /// `name == "x" AND year == 2020`.
    QString predicateFormat() const;

private:
    Type m_type = Comparison;
    QString m_key;
    QVariant m_value;
    QList<std::shared_ptr<MAPPredicate>> m_subpredicates;
};
using MAPPredicatePtr = std::shared_ptr<MAPPredicate>;

struct MAPFetchRequest {
    QString entityName;
    MAPPredicatePtr predicate; // null: every object of the entity
    bool returnsObjectsAsFaults = true; // kept for callers; objects are always complete here
    qsizetype fetchLimit = 0; // 0: no limit
};

/// The scratch pad that owns managed objects. A confinement context is used directly by
/// the thread that owns it; a queue context serialises all work given to
/// `performBlockAndWait`, so several threads may share it.
class MAPManagedObjectContext {
public:
    enum ConcurrencyType { ConfinementConcurrencyType = 0, PrivateQueueConcurrencyType = 1 };

    MAPManagedObjectContext(std::shared_ptr<const MAPManagedObjectModel> model, ConcurrencyType type);
    ~MAPManagedObjectContext();
    MAPManagedObjectContext(const MAPManagedObjectContext&) = delete;
    MAPManagedObjectContext& operator=(const MAPManagedObjectContext&) = delete;

    ConcurrencyType concurrencyType() const { return m_type; }
    const std::shared_ptr<const MAPManagedObjectModel>& model() const { return m_model; }

    /// Runs `block` with the context to itself and returns when it has run.
    void performBlockAndWait(const std::function<void()>& block);

    /// A new object of the entity, or null when the store has no such entity.
    MAPManagedObjectPtr insertNewObjectForEntityForName(const QString& entityName);
    /// The objects of the request's entity that match its predicate, in insertion order; nothing
    /// (with `*error`) for an unknown entity or a predicate naming an unknown key.
    std::optional<QList<MAPManagedObjectPtr>> executeFetchRequest(
        const MAPFetchRequest& request, MAPError* error);
    /// Removes the object: it leaves every fetch and every relationship of other objects.
    void deleteObject(const MAPManagedObjectPtr& object);
    /// The live objects, in insertion order.
    QList<MAPManagedObjectPtr> registeredObjects() const;

private:
    std::shared_ptr<const MAPManagedObjectModel> m_model;
    ConcurrencyType m_type;
    std::recursive_mutex m_queue;
    QList<MAPManagedObjectPtr> m_objects;
};
