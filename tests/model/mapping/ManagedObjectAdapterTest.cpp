#include "TestModels.h"

#include "model/mapping/MAPManagedObjectAdapter.h"

#include <gtest/gtest.h>

/// A person with a best friend (to-one) and pets (to-many, ordered); unique by "ident".
class TMPerson : public MAPModelSubclass<TMPerson> {
    Q_GADGET
    Q_PROPERTY(QString ident READ ident WRITE setIdent)
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(std::optional<qint64> age READ age WRITE setAge)
    Q_PROPERTY(std::shared_ptr<TMPerson> friendOf READ friendOf WRITE setFriendOf)
    Q_PROPERTY(QList<std::shared_ptr<TMPerson>> pets READ pets WRITE setPets)
    Q_PROPERTY(QString scratch READ scratch WRITE setScratch)

public:
    QString ident() const { return m_ident; }
    void setIdent(const QString& v) { m_ident = v; }
    QString name() const { return m_name; }
    void setName(const QString& v) { m_name = v; }
    std::optional<qint64> age() const { return m_age; }
    void setAge(std::optional<qint64> v) { m_age = v; }
    std::shared_ptr<TMPerson> friendOf() const { return m_friend; }
    void setFriendOf(const std::shared_ptr<TMPerson>& v) { m_friend = v; }
    QList<std::shared_ptr<TMPerson>> pets() const { return m_pets; }
    void setPets(const QList<std::shared_ptr<TMPerson>>& v) { m_pets = v; }
    QString scratch() const { return m_scratch; }
    void setScratch(const QString& v) { m_scratch = v; }

    static QString managedObjectEntityName() { return u"Person"_s; }
    static QVariantMap managedObjectKeysByPropertyKey()
    {
        return { { u"name"_s, u"fullName"_s }, { u"friendOf"_s, u"buddy"_s }, { u"scratch"_s, MAPNull() } };
    }
    static QStringList propertyKeysForManagedObjectUniquing()
    {
        return s_unique ? QStringList { u"ident"_s } : QStringList();
    }
    static QHash<QString, const MAPClass*> relationshipModelClassesByPropertyKey()
    {
        return { { u"friendOf"_s, MAPClass::of<TMPerson>() }, { u"pets"_s, MAPClass::of<TMPerson>() } };
    }
    /// Names are stored upper-case.
    Q_INVOKABLE static MAPValueTransformerPtr nameEntityAttributeTransformer()
    {
        return MAPValueTransformer::reversibleTransformerWithForwardBlock(
            [](const QVariant& v) { return v.isValid() ? QVariant(v.toString().toUpper()) : QVariant(); },
            [](const QVariant& v) { return v.isValid() ? QVariant(v.toString().toLower()) : QVariant(); });
    }
    Q_INVOKABLE void mergeValuesForKeysFromManagedObject(MAPManagedObject* object)
    {
        mergedFrom = object->valueForKey(u"fullName"_s).toString();
    }

    QString mergedFrom;
    static inline bool s_unique = false;

private:
    QString m_ident;
    QString m_name;
    std::optional<qint64> m_age;
    std::shared_ptr<TMPerson> m_friend;
    QList<std::shared_ptr<TMPerson>> m_pets;
    QString m_scratch;
};

/// Its mapping names a key that is not a property.
class TMBadPerson : public MAPModelSubclass<TMBadPerson> {
    Q_GADGET
    Q_PROPERTY(QString ident READ ident WRITE setIdent)

public:
    QString ident() const { return m_ident; }
    void setIdent(const QString& v) { m_ident = v; }
    static QString managedObjectEntityName() { return u"Person"_s; }
    static QVariantMap managedObjectKeysByPropertyKey() { return { { u"missing"_s, u"x"_s } }; }

private:
    QString m_ident;
};

/// Plain strings where the entity has relationships.
class TMOwner : public MAPModelSubclass<TMOwner> {
    Q_GADGET
    Q_PROPERTY(QString pets READ pets WRITE setPets)
    Q_PROPERTY(QString buddy READ buddy WRITE setBuddy)

public:
    QString pets() const { return m_pets; }
    void setPets(const QString& v) { m_pets = v; }
    QString buddy() const { return m_buddy; }
    void setBuddy(const QString& v) { m_buddy = v; }
    static QString managedObjectEntityName() { return u"Person"_s; }
    static QVariantMap managedObjectKeysByPropertyKey() { return {}; }

private:
    QString m_pets;
    QString m_buddy;
};

namespace {

std::shared_ptr<MAPManagedObjectModel> storeModel(bool withFetchedProperty = false)
{
    auto person = std::make_shared<MAPEntityDescription>(u"Person"_s);
    person->addProperty(
        std::make_shared<MAPAttributeDescription>(u"ident"_s, MAPAttributeDescription::String));
    person->addProperty(
        std::make_shared<MAPAttributeDescription>(u"fullName"_s, MAPAttributeDescription::String));
    person->addProperty(
        std::make_shared<MAPAttributeDescription>(u"age"_s, MAPAttributeDescription::Integer));
    person->addProperty(std::make_shared<MAPRelationshipDescription>(u"buddy"_s, u"Person"_s, false));
    person->addProperty(std::make_shared<MAPRelationshipDescription>(u"pets"_s, u"Person"_s, true, true));
    if (withFetchedProperty)
        person->addProperty(
            std::make_shared<MAPPropertyDescription>(MAPPropertyDescription::FetchedProperty, u"ident"_s));
    auto model = std::make_shared<MAPManagedObjectModel>();
    model->addEntity(person);
    return model;
}

std::shared_ptr<TMPerson> person(const QString& ident, const QString& name)
{
    auto p = std::make_shared<TMPerson>();
    p->setIdent(ident);
    p->setName(name);
    return p;
}

} // namespace

class ManagedObjectAdapter : public ::testing::TestWithParam<MAPManagedObjectContext::ConcurrencyType> {
protected:
    void TearDown() override { TMPerson::s_unique = false; }
    MAPManagedObjectContext m_context { storeModel(), GetParam() };
};

TEST_P(ManagedObjectAdapter, CyclesAndSharedModelsConvertOnceBothWays)
{
    auto ann = person(u"1"_s, u"ann"_s);
    auto bob = person(u"2"_s, u"bob"_s);
    ann->setFriendOf(bob);
    bob->setFriendOf(ann);
    auto cat = person(u"3"_s, u"cat"_s);
    ann->setPets({ cat, person(u"4"_s, u"cat"_s), cat }); // an equal twin and the same cat twice
    ann->setAge(40);
    ann->setScratch(u"not stored"_s);

    MAPError error;
    const MAPManagedObjectPtr annObject
        = MAPManagedObjectAdapter::managedObjectFromModel(ann, &m_context, &error);
    ASSERT_TRUE(annObject) << qPrintable(error.toString());
    EXPECT_EQ(m_context.registeredObjects().size(), 4) << "ann, bob, the cat and its twin";
    EXPECT_EQ(annObject->valueForKey(u"fullName"_s).toString(), u"ANN"_s);
    const MAPManagedObjectPtr bobObject = annObject->toOne(u"buddy"_s);
    ASSERT_TRUE(bobObject);
    EXPECT_EQ(bobObject->toOne(u"buddy"_s), annObject);
    EXPECT_EQ(annObject->toMany(u"pets"_s).size(), 2);

    const auto back = MAPModelCast<TMPerson>(
        MAPManagedObjectAdapter::modelOfClass(MAPClass::of<TMPerson>(), annObject, &error));
    ASSERT_TRUE(back) << qPrintable(error.toString());
    EXPECT_EQ(back->name(), u"ann"_s);
    EXPECT_EQ(back->age(), 40);
    EXPECT_TRUE(back->scratch().isNull()) << "a key mapped to null is neither written nor read";
    ASSERT_TRUE(back->friendOf());
    EXPECT_EQ(back->friendOf()->friendOf(), back);
    ASSERT_EQ(back->pets().size(), 2);
    EXPECT_NE(back->pets()[0], back->pets()[1]);
    // Mutual friends are a cycle of shared pointers: break it.
    back->friendOf()->setFriendOf(nullptr);
    bob->setFriendOf(nullptr);
}

TEST_P(ManagedObjectAdapter, UniquingUpdatesTheMatchingObjectAfterMerging)
{
    TMPerson::s_unique = true;
    ASSERT_TRUE(MAPManagedObjectAdapter::managedObjectFromModel(person(u"7"_s, u"old"_s), &m_context));
    ASSERT_TRUE(MAPManagedObjectAdapter::managedObjectFromModel(person(u"8"_s, u"other"_s), &m_context));
    auto update = person(u"7"_s, u"new"_s);
    const MAPManagedObjectPtr object = MAPManagedObjectAdapter::managedObjectFromModel(update, &m_context);
    ASSERT_TRUE(object);
    EXPECT_EQ(m_context.registeredObjects().size(), 2);
    EXPECT_EQ(update->mergedFrom, u"OLD"_s) << "merged from the existing object first";
    EXPECT_EQ(object->valueForKey(u"fullName"_s).toString(), u"NEW"_s);

    const MAPPredicatePtr predicate
        = MAPManagedObjectAdapter(MAPClass::of<TMPerson>()).uniquingPredicateForModel(update.get());
    ASSERT_TRUE(predicate);
    EXPECT_EQ(predicate->predicateFormat(), u"ident == \"7\""_s);
}

TEST_P(ManagedObjectAdapter, FailuresReportCodesAndLeaveNoHalfFilledObject)
{
    MAPError error;
    EXPECT_FALSE(MAPManagedObjectAdapter::modelOfClass(
        MAPClass::of<TMBadPerson>(), m_context.insertNewObjectForEntityForName(u"Person"_s), &error));
    EXPECT_EQ(error.domain, u"MAPManagedObjectAdapterErrorDomain"_s);
    EXPECT_EQ(error.code, 8);
    EXPECT_EQ(error.localizedFailureReason(),
        u"TMBadPerson could not be parsed because its entity attribute mapping contains illegal property keys."_s);

    // Values that are not models or collections cannot go into relationships.
    const qsizetype before = m_context.registeredObjects().size();
    auto owner = std::make_shared<TMOwner>();
    owner->setPets(u"rex"_s);
    EXPECT_FALSE(MAPManagedObjectAdapter::managedObjectFromModel(owner, &m_context, &error));
    EXPECT_EQ(error.code, 6);
    EXPECT_EQ(error.localizedFailureReason(),
        u"Property of class QString cannot be encoded into a to-many relationship."_s);
    owner->setPets(QString());
    owner->setBuddy(u"bob"_s);
    EXPECT_FALSE(MAPManagedObjectAdapter::managedObjectFromModel(owner, &m_context, &error));
    EXPECT_EQ(error.code, 6);
    EXPECT_EQ(error.localizedFailureReason(),
        u"Property of class QString cannot be encoded into a managed object."_s);
    EXPECT_EQ(m_context.registeredObjects().size(), before) << "the failed objects were deleted";

    MAPManagedObjectContext unknown(std::make_shared<MAPManagedObjectModel>(), GetParam());
    EXPECT_FALSE(MAPManagedObjectAdapter::managedObjectFromModel(person(u"1"_s, u"x"_s), &unknown, &error));
    EXPECT_EQ(error.code, 3);
    EXPECT_EQ(error.localizedFailureReason(),
        u"Failed to initialize a managed object from entity named \"Person\"."_s);

    MAPManagedObjectContext fetched(storeModel(true), GetParam());
    const MAPManagedObjectPtr object = fetched.insertNewObjectForEntityForName(u"Person"_s);
    EXPECT_FALSE(MAPManagedObjectAdapter::modelOfClass(MAPClass::of<TMPerson>(), object, &error));
    EXPECT_EQ(error.code, 5);
    EXPECT_EQ(error.localizedDescription(), u"Could not deserialize managed object"_s);

    // A store without the "age" attribute: code 4 on writing, and the object is deleted.
    auto slim = std::make_shared<MAPEntityDescription>(u"Person"_s);
    slim->addProperty(std::make_shared<MAPAttributeDescription>(u"ident"_s));
    slim->addProperty(std::make_shared<MAPAttributeDescription>(u"fullName"_s));
    auto slimModel = std::make_shared<MAPManagedObjectModel>();
    slimModel->addEntity(slim);
    MAPManagedObjectContext slimContext(slimModel, GetParam());
    EXPECT_FALSE(
        MAPManagedObjectAdapter::managedObjectFromModel(person(u"1"_s, u"x"_s), &slimContext, &error));
    EXPECT_EQ(error.code, 4);
    EXPECT_EQ(error.localizedDescription(), u"Could not serialize managed object"_s);
    EXPECT_TRUE(slimContext.registeredObjects().isEmpty());
}

TEST_P(ManagedObjectAdapter, ToManyNeedsACollectionAndAttributesTheirType)
{
    // "age" holds text in the store: validation on the model side refuses it.
    const MAPManagedObjectPtr object = m_context.insertNewObjectForEntityForName(u"Person"_s);
    object->setValueForKey(u"old"_s, u"age"_s);
    MAPError error;
    EXPECT_FALSE(MAPManagedObjectAdapter::modelOfClass(MAPClass::of<TMPerson>(), object, &error));
    EXPECT_EQ(error.domain, u"MAPModelErrorDomain"_s);

    // The managed object refuses a value of the wrong type for its attribute.
    QVariant text = u"x"_s;
    EXPECT_FALSE(object->validateValue(text, u"age"_s, &error));
    EXPECT_EQ(error.domain, u"MAPObjectGraphErrorDomain"_s);
}

TEST_P(ManagedObjectAdapter, FetchRequestsWithCompoundPredicates)
{
    for (int i = 0; i < 4; ++i) {
        const MAPManagedObjectPtr object = m_context.insertNewObjectForEntityForName(u"Person"_s);
        object->setValueForKey(QString::number(i), u"ident"_s);
        object->setValueForKey(i % 2, u"age"_s);
    }
    MAPError error;
    auto results = m_context.executeFetchRequest(
        { u"Person"_s,
            MAPPredicate::andPredicateWithSubpredicates({ MAPPredicate::equal(u"age"_s, 1),
                MAPPredicate::notPredicateWithSubpredicate(MAPPredicate::equal(u"ident"_s, u"1"_s)) }),
            false, 0 },
        &error);
    ASSERT_TRUE(results);
    ASSERT_EQ(results->size(), 1);
    EXPECT_EQ(results->first()->valueForKey(u"ident"_s).toString(), u"3"_s);

    results = m_context.executeFetchRequest(
        { u"Person"_s,
            MAPPredicate::orPredicateWithSubpredicates(
                { MAPPredicate::equal(u"ident"_s, u"0"_s), MAPPredicate::equal(u"ident"_s, u"2"_s) }),
            false, 1 },
        &error);
    ASSERT_TRUE(results);
    EXPECT_EQ(results->size(), 1) << "fetch limit";

    EXPECT_FALSE(
        m_context.executeFetchRequest({ u"Person"_s, MAPPredicate::equal(u"nope"_s, 1), false, 0 }, &error));
    EXPECT_FALSE(m_context.executeFetchRequest({ u"Nobody"_s, nullptr, false, 0 }, &error));

    const MAPManagedObjectPtr first = m_context.registeredObjects().first();
    m_context.registeredObjects()[1]->setValueForKey(QVariant::fromValue(first), u"buddy"_s);
    m_context.deleteObject(first);
    EXPECT_TRUE(first->isDeleted());
    EXPECT_FALSE(m_context.registeredObjects()[0]->toOne(u"buddy"_s))
        << "a deleted object leaves relationships";
}

INSTANTIATE_TEST_SUITE_P(BothContextKinds, ManagedObjectAdapter,
    ::testing::Values(MAPManagedObjectContext::ConfinementConcurrencyType,
        MAPManagedObjectContext::PrivateQueueConcurrencyType));

#include "ManagedObjectAdapterTest.moc"
