#pragma once

#include "model/mapping/MAPValue.h"

#include <QByteArray>
#include <QCborMap>
#include <QCborValue>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

/// A keyed coder: the archive container that models encode themselves into and decode
/// themselves from (`MAPModel::encodeWithCoder`, `MAPModel::modelWithCoder`). Values are
/// the layer's generic values (MAPValue.h); models inside values are archived as objects,
/// once each, so shared and cyclic references survive.
///
/// Class names used for secure decoding: a model class name (a subclass is accepted too),
/// "MAPModel" (any model), "MAPValue" or "MAPNumber" (numbers and flags), "QString",
/// "QByteArray", "QUrl", "QDateTime", "QVariantList", "QStringList", "QVariantMap".
class MAPCoder {
public:
    virtual ~MAPCoder();

    /// Whether decoding must name the classes it accepts (`decodeObjectOfClasses`).
    virtual bool requiresSecureCoding() const = 0;

    virtual void encodeObject(const QVariant& value, const QString& key) = 0;
    /// Stores `value` only if the archive also stores the same model unconditionally;
    /// other kinds of value are stored as by `encodeObject`.
    virtual void encodeConditionalObject(const QVariant& value, const QString& key) = 0;

    virtual bool containsValueForKey(const QString& key) const = 0;
    /// The value under `key`, nil when absent.
    virtual QVariant decodeObject(const QString& key) = 0;
    /// The value under `key` if it is of one of the named classes. Throws `MAPException`
    /// when it is not (the caller that started decoding handles it).
    virtual QVariant decodeObjectOfClasses(const QStringList& classNames, const QString& key) = 0;
    QVariant decodeObjectOfClass(const QString& className, const QString& key)
    {
        return decodeObjectOfClasses(QStringList { className }, key);
    }

    /// Whether `value` is of the class or kind `className` (see above).
    static bool valueIsKindOfClass(const QVariant& value, const QString& className);
};

/// Archives values and models into CBOR bytes.
class MAPKeyedArchiver : public MAPCoder {
public:
    /// `requiresSecureCoding`: encode only models whose classes support secure coding and
    /// whose keys all have allowed classes.
    explicit MAPKeyedArchiver(bool requiresSecureCoding = false);
    ~MAPKeyedArchiver() override;

    /// The bytes of `rootValue` archived under the key "root"; a null QByteArray with
    /// `*failure` set when a model refuses (secure coding check).
    static QByteArray archivedDataWithRootObject(
        const QVariant& rootValue, bool requiresSecureCoding = false, QString* failure = nullptr);

    bool requiresSecureCoding() const override { return m_secure; }
    void encodeObject(const QVariant& value, const QString& key) override;
    void encodeConditionalObject(const QVariant& value, const QString& key) override;
    bool containsValueForKey(const QString& key) const override;
    QVariant decodeObject(const QString& key) override;
    QVariant decodeObjectOfClasses(const QStringList& classNames, const QString& key) override;

    /// The finished archive.
    QByteArray encodedData();

private:
    QCborValue encodeValue(const QVariant& value);
    qsizetype encodeModel(const MAPModelPtr& model);

    struct Conditional {
        qsizetype object;
        QString key;
        const MAPModel* model;
    };
    bool m_secure;
    QList<QCborMap> m_objects; // [0] holds the top-level keys
    QHash<const MAPModel*, qsizetype> m_ids;
    QList<MAPModelPtr> m_keepAlive;
    QList<Conditional> m_conditionals;
    qsizetype m_current = 0;
};

/// Reads archives made by `MAPKeyedArchiver`.
class MAPKeyedUnarchiver : public MAPCoder {
public:
    /// Null when `data` is not an archive.
    static std::unique_ptr<MAPKeyedUnarchiver> unarchiverWithData(
        const QByteArray& data, bool requiresSecureCoding);
    /// The value archived under "root"; nil when the data is not an archive, a model in it
    /// refuses to decode, or (secure) a class is not allowed. Never throws.
    static QVariant unarchivedObjectOfClasses(const QStringList& classNames, const QByteArray& data,
        bool requiresSecureCoding, QString* failure = nullptr);

    bool requiresSecureCoding() const override { return m_secure; }
    void encodeObject(const QVariant& value, const QString& key) override;
    void encodeConditionalObject(const QVariant& value, const QString& key) override;
    bool containsValueForKey(const QString& key) const override;
    QVariant decodeObject(const QString& key) override;
    QVariant decodeObjectOfClasses(const QStringList& classNames, const QString& key) override;

private:
    MAPKeyedUnarchiver(QList<QCborMap> objects, bool secure);
    QVariant decodeValue(const QCborValue& value, const QStringList* allowed);
    MAPModelPtr decodeModel(qsizetype id, const QStringList* allowed);

    QList<QCborMap> m_objects;
    bool m_secure;
    QHash<qsizetype, MAPModelPtr> m_decoded;
    qsizetype m_current = 0;
};
