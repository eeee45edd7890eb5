#include "model/mapping/MAPObjectGraph.h"

#include "model/mapping/MAPValue.h"

#include <QDateTime>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void raiseUnknownKey(const MAPEntityDescription& entity, const QString& key)
{
    throw MAPException(QString::fromLatin1(MAPUndefinedKeyException),
        u"The entity %1 has no property named \"%2\""_s.arg(entity.name(), key));
}

MAPError graphError(int code, const QString& description, const QString& reason)
{
    return MAPError::make(QString::fromLatin1(MAPObjectGraphErrorDomain), code, description, reason);
}

bool fitsType(const QVariant& value, MAPAttributeDescription::AttributeType type)
{
    switch (type) {
    case MAPAttributeDescription::Any:
        return true;
    case MAPAttributeDescription::String:
        return value.typeId() == QMetaType::QString;
    case MAPAttributeDescription::Integer:
        return MAPIsNumber(value) && value.toDouble() == double(value.toLongLong());
    case MAPAttributeDescription::Double:
    case MAPAttributeDescription::Boolean:
        return MAPIsNumber(value);
    case MAPAttributeDescription::Date:
        return value.typeId() == QMetaType::QDateTime;
    case MAPAttributeDescription::Binary:
        return value.typeId() == QMetaType::QByteArray;
    }
    return false;
}

} // namespace

MAPPropertyDescription::MAPPropertyDescription(Kind kind, QString name)
    : m_kind(kind), m_name(std::move(name))
{
}

MAPPropertyDescription::~MAPPropertyDescription() = default;

QString MAPPropertyDescription::className() const
{
    switch (m_kind) {
    case Attribute:
        return u"MAPAttributeDescription"_s;
    case Relationship:
        return u"MAPRelationshipDescription"_s;
    case FetchedProperty:
        break;
    }
    return u"MAPFetchedPropertyDescription"_s;
}

MAPAttributeDescription::MAPAttributeDescription(QString name, AttributeType type)
    : MAPPropertyDescription(Attribute, std::move(name)), m_type(type)
{
}

MAPRelationshipDescription::MAPRelationshipDescription(
    QString name, QString destinationEntityName, bool toMany, bool ordered)
    : MAPPropertyDescription(Relationship, std::move(name))
    , m_destination(std::move(destinationEntityName))
    , m_toMany(toMany)
    , m_ordered(ordered)
{
}

MAPEntityDescription::MAPEntityDescription(QString name) : m_name(std::move(name))
{
}

void MAPEntityDescription::addProperty(std::shared_ptr<MAPPropertyDescription> property)
{
    m_index.insert(property->name(), m_properties.size());
    m_properties.append(std::move(property));
}

std::shared_ptr<const MAPPropertyDescription> MAPEntityDescription::propertyNamed(const QString& name) const
{
    const auto it = m_index.constFind(name);
    return it == m_index.cend() ? nullptr : m_properties[*it];
}

void MAPManagedObjectModel::addEntity(std::shared_ptr<MAPEntityDescription> entity)
{
    m_entities.insert(entity->name(), std::move(entity));
}

std::shared_ptr<const MAPEntityDescription> MAPManagedObjectModel::entityNamed(const QString& name) const
{
    return m_entities.value(name);
}

// ---- managed objects

MAPManagedObject::MAPManagedObject(
    std::shared_ptr<const MAPEntityDescription> entity, MAPManagedObjectContext* context)
    : m_entity(std::move(entity)), m_context(context)
{
}

QVariant MAPManagedObject::valueForKey(const QString& key) const
{
    if (!m_entity->propertyNamed(key))
        raiseUnknownKey(*m_entity, key);
    return m_values.value(key);
}

void MAPManagedObject::setValueForKey(const QVariant& value, const QString& key)
{
    if (!m_entity->propertyNamed(key))
        raiseUnknownKey(*m_entity, key);
    if (value.isValid())
        m_values.insert(key, value);
    else
        m_values.remove(key);
}

MAPManagedObjectPtr MAPManagedObject::toOne(const QString& key) const
{
    return valueForKey(key).value<MAPManagedObjectPtr>();
}

QList<MAPManagedObjectPtr> MAPManagedObject::toMany(const QString& key) const
{
    return valueForKey(key).value<QList<MAPManagedObjectPtr>>();
}

bool MAPManagedObject::validateValue(QVariant& value, const QString& key, MAPError* error) const
{
    const auto property = m_entity->propertyNamed(key);
    if (!property)
        raiseUnknownKey(*m_entity, key);
    if (property->kind() != MAPPropertyDescription::Attribute || !value.isValid())
        return true;
    const auto& attribute = static_cast<const MAPAttributeDescription&>(*property);
    if (!fitsType(value, attribute.attributeType())) {
        MAPSetError(error,
            graphError(2, u"Invalid value"_s,
                u"The value for \"%1\" of %2 is of the wrong type (%3)"_s.arg(
                    key, m_entity->name(), MAPValueClassName(value))));
        return false;
    }
    return !attribute.validator() || attribute.validator()(value, error);
}

bool MAPManagedObject::validateForInsert(MAPError* error) const
{
    for (const auto& property : m_entity->properties()) {
        const QVariant value = m_values.value(property->name());
        const bool empty = !value.isValid()
            || (value.metaType() == QMetaType::fromType<QList<MAPManagedObjectPtr>>()
                && value.value<QList<MAPManagedObjectPtr>>().isEmpty());
        if (!property->isOptional() && empty) {
            MAPSetError(error,
                graphError(1, u"Missing value"_s,
                    u"The required property \"%1\" of %2 has no value"_s.arg(
                        property->name(), m_entity->name())));
            return false;
        }
    }
    return true;
}

// ---- predicates

MAPPredicatePtr MAPPredicate::equal(QString key, QVariant value)
{
    auto p = std::make_shared<MAPPredicate>();
    p->m_key = std::move(key);
    p->m_value = std::move(value);
    return p;
}

MAPPredicatePtr MAPPredicate::andPredicateWithSubpredicates(QList<MAPPredicatePtr> subpredicates)
{
    auto p = std::make_shared<MAPPredicate>();
    p->m_type = And;
    p->m_subpredicates = std::move(subpredicates);
    return p;
}

MAPPredicatePtr MAPPredicate::orPredicateWithSubpredicates(QList<MAPPredicatePtr> subpredicates)
{
    auto p = andPredicateWithSubpredicates(std::move(subpredicates));
    p->m_type = Or;
    return p;
}

MAPPredicatePtr MAPPredicate::notPredicateWithSubpredicate(MAPPredicatePtr subpredicate)
{
    auto p = andPredicateWithSubpredicates({ std::move(subpredicate) });
    p->m_type = Not;
    return p;
}

bool MAPPredicate::evaluateWithObject(const MAPManagedObject& object) const
{
    switch (m_type) {
    case Comparison: {
        const QVariant actual = object.valueForKey(m_key);
        const QVariant expected = MAPNilForNull(m_value);
        if (actual.metaType() == QMetaType::fromType<MAPManagedObjectPtr>()
            || expected.metaType() == QMetaType::fromType<MAPManagedObjectPtr>())
            return actual.value<MAPManagedObjectPtr>() == expected.value<MAPManagedObjectPtr>();
        return MAPValuesEqual(actual, expected);
    }
    case And:
        for (const MAPPredicatePtr& p : m_subpredicates) {
            if (!p->evaluateWithObject(object))
                return false;
        }
        return true;
    case Or:
        for (const MAPPredicatePtr& p : m_subpredicates) {
            if (p->evaluateWithObject(object))
                return true;
        }
        return false;
    case Not:
        return m_subpredicates.isEmpty() || !m_subpredicates.first()->evaluateWithObject(object);
    }
    return false;
}

QString MAPPredicate::predicateFormat() const
{
    switch (m_type) {
    case Comparison: {
        const QVariant value = MAPNilForNull(m_value);
        QString text;
        if (!value.isValid())
            text = u"nil"_s;
        else if (value.typeId() == QMetaType::QString)
            text = u"\""_s + value.toString() + u"\""_s;
        else
            text = MAPValueDescription(value);
        return m_key + u" == "_s + text;
    }
    case And:
    case Or: {
        QStringList parts;
        for (const MAPPredicatePtr& p : m_subpredicates)
            parts.append(
                p->type() == Comparison ? p->predicateFormat() : u"("_s + p->predicateFormat() + u")"_s);
        return parts.join(m_type == And ? u" AND "_s : u" OR "_s);
    }
    case Not:
        return u"NOT ("_s
            + (m_subpredicates.isEmpty() ? QString() : m_subpredicates.first()->predicateFormat()) + u")"_s;
    }
    return {};
}

// ---- context

MAPManagedObjectContext::MAPManagedObjectContext(
    std::shared_ptr<const MAPManagedObjectModel> model, ConcurrencyType type)
    : m_model(std::move(model)), m_type(type)
{
}

MAPManagedObjectContext::~MAPManagedObjectContext()
{
    // Relationships may form cycles of shared pointers; the context breaks them.
    for (const MAPManagedObjectPtr& object : std::as_const(m_objects)) {
        object->m_values.clear();
        object->m_context = nullptr;
    }
}

void MAPManagedObjectContext::performBlockAndWait(const std::function<void()>& block)
{
    if (m_type == ConfinementConcurrencyType) {
        block();
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_queue);
    block();
}

MAPManagedObjectPtr MAPManagedObjectContext::insertNewObjectForEntityForName(const QString& entityName)
{
    const auto entity = m_model->entityNamed(entityName);
    if (!entity)
        return nullptr;
    auto object = std::make_shared<MAPManagedObject>(entity, this);
    m_objects.append(object);
    return object;
}

std::optional<QList<MAPManagedObjectPtr>> MAPManagedObjectContext::executeFetchRequest(
    const MAPFetchRequest& request, MAPError* error)
{
    const auto entity = m_model->entityNamed(request.entityName);
    if (!entity) {
        MAPSetError(error,
            graphError(3, u"Fetch failed"_s, u"There is no entity named \"%1\""_s.arg(request.entityName)));
        return std::nullopt;
    }
    QList<MAPManagedObjectPtr> results;
    try {
        for (const MAPManagedObjectPtr& object : std::as_const(m_objects)) {
            if (object->entity() != entity)
                continue;
            if (request.predicate && !request.predicate->evaluateWithObject(*object))
                continue;
            results.append(object);
            if (request.fetchLimit > 0 && results.size() >= request.fetchLimit)
                break;
        }
    } catch (const MAPException& exception) {
        MAPSetError(error, graphError(3, u"Fetch failed"_s, exception.reason()));
        return std::nullopt;
    }
    return results;
}

void MAPManagedObjectContext::deleteObject(const MAPManagedObjectPtr& object)
{
    if (!object || object->m_context != this)
        return;
    m_objects.removeOne(object);
    object->m_deleted = true;
    object->m_values.clear();
    for (const MAPManagedObjectPtr& other : std::as_const(m_objects)) {
        for (auto it = other->m_values.begin(); it != other->m_values.end();) {
            if (it.value().metaType() == QMetaType::fromType<MAPManagedObjectPtr>()
                && it.value().value<MAPManagedObjectPtr>() == object) {
                it = other->m_values.erase(it);
                continue;
            }
            if (it.value().metaType() == QMetaType::fromType<QList<MAPManagedObjectPtr>>()) {
                auto members = it.value().value<QList<MAPManagedObjectPtr>>();
                if (members.removeAll(object) > 0)
                    it.value() = QVariant::fromValue(members);
            }
            ++it;
        }
    }
}

QList<MAPManagedObjectPtr> MAPManagedObjectContext::registeredObjects() const
{
    return m_objects;
}
