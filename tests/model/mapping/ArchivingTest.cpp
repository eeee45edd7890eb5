#include "TestModels.h"

#include "model/mapping/MAPCoder.h"

#include <gtest/gtest.h>

#include <QCborArray>
#include <QCborMap>

/// Version 1, secure, a conditional reference and a custom decoder for "note".
class TMArchived : public MAPModelSubclass<TMArchived> {
    Q_GADGET
    Q_PROPERTY(QString note READ note WRITE setNote)
    Q_PROPERTY(double amount READ amount WRITE setAmount)
    Q_PROPERTY(std::shared_ptr<TMArchived> partner READ partner WRITE setPartner)
    Q_PROPERTY(std::shared_ptr<TMArchived> weakPartner READ weakPartner WRITE setWeakPartner)
    Q_PROPERTY(QString secret READ secret WRITE setSecret)

public:
    QString note() const { return m_note; }
    void setNote(const QString& v) { m_note = v; }
    double amount() const { return m_amount; }
    void setAmount(double v) { m_amount = v; }
    std::shared_ptr<TMArchived> partner() const { return m_partner; }
    void setPartner(const std::shared_ptr<TMArchived>& v) { m_partner = v; }
    std::shared_ptr<TMArchived> weakPartner() const { return m_weakPartner; }
    void setWeakPartner(const std::shared_ptr<TMArchived>& v) { m_weakPartner = v; }
    QString secret() const { return m_secret; }
    void setSecret(const QString& v) { m_secret = v; }

    static quint64 modelVersion() { return s_version; }
    static bool supportsSecureCoding() { return true; }
    static QVariantMap encodingBehaviorsByPropertyKey()
    {
        QVariantMap behaviors = MAPClass::of<TMArchived>()->defaultEncodingBehaviorsByPropertyKey();
        behaviors.insert(u"weakPartner"_s, uint(MAPModel::Conditional));
        behaviors.insert(u"secret"_s, uint(MAPModel::Excluded));
        return behaviors;
    }
    static QVariant dictionaryValueFromArchivedExternalRepresentation(
        const QVariantMap& external, quint64 version)
    {
        if (!s_acceptOldFormat)
            return {};
        const QString note = external.value(u"text"_s).toString() + u" v"_s + QString::number(version);
        return QVariantMap { { u"note"_s, note } };
    }
    Q_INVOKABLE QVariant decodeNoteWithCoder(MAPCoder* coder, quint64 version)
    {
        const QVariant stored = coder->requiresSecureCoding()
            ? coder->decodeObjectOfClass(u"QString"_s, u"note"_s)
            : coder->decodeObject(u"note"_s);
        return stored.isValid() ? QVariant(stored.toString() + u"@"_s + QString::number(version))
                                : QVariant();
    }

    static inline quint64 s_version = 1;
    static inline bool s_acceptOldFormat = false;

private:
    QString m_note;
    double m_amount = 0;
    std::shared_ptr<TMArchived> m_partner;
    std::shared_ptr<TMArchived> m_weakPartner;
    QString m_secret;
};

namespace {

std::shared_ptr<TMArchived> archived(const QString& note, double amount)
{
    auto model = std::make_shared<TMArchived>();
    model->setNote(note);
    model->setAmount(amount);
    return model;
}

std::shared_ptr<TMArchived> roundTrip(const QVariant& root, bool secure)
{
    QString failure;
    const QByteArray data = MAPKeyedArchiver::archivedDataWithRootObject(root, secure, &failure);
    EXPECT_FALSE(data.isNull()) << qPrintable(failure);
    const QVariant back
        = MAPKeyedUnarchiver::unarchivedObjectOfClasses({ u"TMArchived"_s }, data, secure, &failure);
    EXPECT_TRUE(back.isValid()) << qPrintable(failure);
    return MAPModelCast<TMArchived>(MAPModelFromValue(back));
}

} // namespace

TEST(Archiving, RoundTripPlainAndSecureKeepsValuesAndShape)
{
    for (const bool secure : { false, true }) {
        auto first = archived(u"a"_s, 1.5);
        auto second = archived(QString(), 2);
        first->setPartner(second);
        second->setPartner(first); // a cycle
        first->setSecret(u"never stored"_s);
        const auto back = roundTrip(MAPValueFromModel(first), secure);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->note(), u"a@1"_s) << "the decode hook ran with the archived version";
        EXPECT_EQ(back->amount(), 1.5);
        EXPECT_TRUE(back->secret().isNull()) << "an excluded key is not stored";
        ASSERT_TRUE(back->partner());
        EXPECT_TRUE(back->partner()->note().isNull()) << "nil is absent and decodes to the init value";
        EXPECT_EQ(back->partner()->partner(), back) << "the cycle comes back to the same object";
        first->setPartner(nullptr); // break the cycles for the leak checker
        back->partner()->setPartner(nullptr);
    }
}

TEST(Archiving, ConditionalObjectsSurviveOnlyWithAnUnconditionalReference)
{
    auto owner = archived(u"owner"_s, 0);
    auto other = archived(u"other"_s, 0);
    owner->setWeakPartner(other);
    auto back = roundTrip(MAPValueFromModel(owner), false);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->weakPartner()) << "nothing else stores it";

    owner->setPartner(other);
    back = roundTrip(MAPValueFromModel(owner), false);
    ASSERT_TRUE(back);
    ASSERT_TRUE(back->weakPartner());
    EXPECT_EQ(back->weakPartner(), back->partner());
}

TEST(Archiving, NewerVersionsAndOldFormatsAreRefused)
{
    TMArchived::s_version = 2;
    const QByteArray v2
        = MAPKeyedArchiver::archivedDataWithRootObject(MAPValueFromModel(archived(u"n"_s, 1)));
    TMArchived::s_version = 1;
    QString failure;
    EXPECT_FALSE(MAPKeyedUnarchiver::unarchivedObjectOfClasses({}, v2, false, &failure).isValid());

    // An archive written by hand: no version (read as 0) and the older format.
    MAPKeyedArchiver archiver;
    archiver.encodeObject(QVariantMap { { u"text"_s, u"legacy"_s } }, u"externalRepresentation"_s);
    QCborMap archive = QCborValue::fromCbor(archiver.encodedData()).toMap();
    QCborArray objects = archive.value(u"$objects"_s).toArray();
    QCborMap legacy = objects.at(0).toMap();
    legacy.insert(u"$class"_s, u"TMArchived"_s);
    objects.append(legacy);
    objects[0] = QCborMap { { u"root"_s, QCborValue(QCborTag(27100), QCborValue(1)) } };
    archive.insert(u"$objects"_s, objects);
    const QByteArray old = archive.toCborValue().toCbor();
    EXPECT_FALSE(MAPKeyedUnarchiver::unarchivedObjectOfClasses({}, old, false).isValid());
    TMArchived::s_acceptOldFormat = true;
    const auto translated = MAPModelCast<TMArchived>(
        MAPModelFromValue(MAPKeyedUnarchiver::unarchivedObjectOfClasses({}, old, false)));
    TMArchived::s_acceptOldFormat = false;
    ASSERT_TRUE(translated);
    EXPECT_EQ(translated->note(), u"legacy v0"_s);
}

TEST(Archiving, SecureCodingChecksClasses)
{
    // TMRecord does not support secure coding and has keys without allowed classes.
    QString failure;
    EXPECT_TRUE(MAPKeyedArchiver::archivedDataWithRootObject(
        MAPValueFromModel(std::make_shared<TMRecord>()), true, &failure)
                    .isNull());
    EXPECT_FALSE(failure.isEmpty());

    const QVariantMap allowed = MAPClass::of<TMArchived>()->allowedSecureCodingClassesByPropertyKey();
    EXPECT_EQ(allowed.value(u"amount"_s).toStringList(), QStringList { u"MAPValue"_s })
        << "a scalar: boxed values";
    EXPECT_EQ(allowed.value(u"note"_s).toStringList(), QStringList { u"QString"_s });
    EXPECT_EQ(allowed.value(u"partner"_s).toStringList(), QStringList { u"TMArchived"_s });
    EXPECT_FALSE(allowed.contains(u"secret"_s));

    // A value of the wrong kind under a key refuses the whole object when decoding securely.
    MAPKeyedArchiver archiver;
    archiver.encodeObject(MAPValueFromModel(archived(u"x"_s, 1)), u"root"_s);
    QCborMap archive = QCborValue::fromCbor(archiver.encodedData()).toMap();
    QCborArray objects = archive.value(u"$objects"_s).toArray();
    QCborMap object = objects.at(1).toMap();
    object.insert(u"amount"_s, u"not a number"_s);
    objects[1] = object;
    archive.insert(u"$objects"_s, objects);
    const QByteArray tampered = archive.toCborValue().toCbor();
    EXPECT_FALSE(MAPKeyedUnarchiver::unarchivedObjectOfClasses({ u"TMArchived"_s }, tampered, true, &failure)
                     .isValid());
    EXPECT_TRUE(failure.contains(u"amount"_s)) << qPrintable(failure);
    EXPECT_FALSE(MAPKeyedUnarchiver::unarchivedObjectOfClasses({ u"TMLeaf"_s },
        MAPKeyedArchiver::archivedDataWithRootObject(MAPValueFromModel(archived(u"x"_s, 1))), true)
                     .isValid())
        << "a root class that is not allowed";
    EXPECT_FALSE(MAPKeyedUnarchiver::unarchivedObjectOfClasses({}, QByteArray("junk"), false).isValid());
}

#include "ArchivingTest.moc"
