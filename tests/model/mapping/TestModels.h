#pragma once

// Small model classes that exercise every kind of property and hook of the mapping layer.
#include "model/mapping/MAPJSONAdapter.h"
#include "model/mapping/MAPModel.h"
#include "model/mapping/MAPPropertyCodec.h"

#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;

class TMLeaf : public MAPModelSubclass<TMLeaf> {
    Q_GADGET
    Q_PROPERTY(QString name READ name WRITE setName)
    Q_PROPERTY(std::optional<double> amount READ amount WRITE setAmount)

public:
    QString name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    std::optional<double> amount() const { return m_amount; }
    void setAmount(std::optional<double> amount) { m_amount = amount; }

    static QVariantMap JSONKeyPathsByPropertyKey() { return { { u"amount"_s, u"value"_s } }; }

private:
    QString m_name;
    std::optional<double> m_amount;
};

/// Every kind of property the layer stores, plus validation and merge hooks.
class TMRecord : public MAPModelSubclass<TMRecord> {
    Q_GADGET
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(int count READ count WRITE setCount)
    Q_PROPERTY(double rate READ rate WRITE setRate)
    Q_PROPERTY(bool flag READ flag WRITE setFlag)
    Q_PROPERTY(std::optional<qint64> year READ year WRITE setYear)
    Q_PROPERTY(std::optional<double> gold READ gold WRITE setGold)
    Q_PROPERTY(QStringList tags READ tags WRITE setTags)
    Q_PROPERTY(QVariantMap extra READ extra WRITE setExtra)
    Q_PROPERTY(QVariant anything READ anything WRITE setAnything)
    Q_PROPERTY(std::shared_ptr<TMLeaf> leaf READ leaf WRITE setLeaf)
    Q_PROPERTY(QList<std::shared_ptr<TMLeaf>> leaves READ leaves WRITE setLeaves)
    Q_PROPERTY(QString computed READ computed STORED false)
    Q_PROPERTY(QString stamp READ stamp)

public:
    TMRecord() { m_count = 7; } // an init default

    QString title() const { return m_title; }
    void setTitle(const QString& v) { m_title = v; }
    int count() const { return m_count; }
    void setCount(int v) { m_count = v; }
    double rate() const { return m_rate; }
    void setRate(double v) { m_rate = v; }
    bool flag() const { return m_flag; }
    void setFlag(bool v) { m_flag = v; }
    std::optional<qint64> year() const { return m_year; }
    void setYear(std::optional<qint64> v) { m_year = v; }
    std::optional<double> gold() const { return m_gold; }
    void setGold(std::optional<double> v) { m_gold = v; }
    QStringList tags() const { return m_tags; }
    void setTags(const QStringList& v) { m_tags = v; }
    QVariantMap extra() const { return m_extra; }
    void setExtra(const QVariantMap& v) { m_extra = v; }
    QVariant anything() const { return m_anything; }
    void setAnything(const QVariant& v) { m_anything = v; }
    std::shared_ptr<TMLeaf> leaf() const { return m_leaf; }
    void setLeaf(const std::shared_ptr<TMLeaf>& v) { m_leaf = v; }
    QList<std::shared_ptr<TMLeaf>> leaves() const { return m_leaves; }
    void setLeaves(const QList<std::shared_ptr<TMLeaf>>& v) { m_leaves = v; }
    QString computed() const { return m_title + u"!"_s; }
    QString stamp() const { return m_stamp; }

    /// Refuses negative counts; turns "untitled" into a null title.
    Q_INVOKABLE bool validateCount(QVariant& value, MAPError* error)
    {
        if (value.toInt() >= 0)
            return true;
        if (error)
            *error = MAPError::make(
                u"TMErrorDomain"_s, 42, u"Negative count"_s, u"The count must not be negative"_s);
        return false;
    }
    Q_INVOKABLE bool validateTitle(QVariant& value, MAPError*)
    {
        if (value.toString() == u"untitled")
            value = QVariant();
        return true;
    }
    /// Keeps the larger rate.
    Q_INVOKABLE void mergeRateFromModel(const MAPModel* other)
    {
        ++mergeRateCalls;
        if (const auto* record = dynamic_cast<const TMRecord*>(other); record && record->rate() > m_rate)
            m_rate = record->rate();
    }
    int mergeRateCalls = 0;

    static QVariantMap JSONKeyPathsByPropertyKey()
    {
        return { { u"title"_s, u"meta.title"_s }, { u"year"_s, u"meta.year"_s }, { u"anything"_s, MAPNull() },
            { u"leaf"_s, u"leaf"_s }, { u"leaves"_s, u"leaves"_s } };
    }
    Q_INVOKABLE static MAPValueTransformerPtr leafJSONTransformer()
    {
        return map_JSONDictionaryTransformerWithModelClass<TMLeaf>();
    }
    Q_INVOKABLE static MAPValueTransformerPtr leavesJSONTransformer()
    {
        return map_JSONArrayTransformerWithModelClass<TMLeaf>();
    }

private:
    QString m_title;
    int m_count = 0;
    double m_rate = 0;
    bool m_flag = false;
    std::optional<qint64> m_year;
    std::optional<double> m_gold;
    QStringList m_tags;
    QVariantMap m_extra;
    QVariant m_anything;
    std::shared_ptr<TMLeaf> m_leaf;
    QList<std::shared_ptr<TMLeaf>> m_leaves;
    QString m_stamp;
};

/// A subclass adds a property; its instances never equal a base-class instance.
class TMSpecialLeaf : public MAPModelSubclass<TMSpecialLeaf, TMLeaf> {
    Q_GADGET
    Q_PROPERTY(int level READ level WRITE setLevel)

public:
    int level() const { return m_level; }
    void setLevel(int v) { m_level = v; }

private:
    int m_level = 0;
};

/// Picks its class from the dictionary: "special" gives TMSpecialLeaf, "none" no class.
class TMChooser : public MAPModelSubclass<TMChooser, TMLeaf> {
    Q_GADGET

public:
    static const MAPClass* classForParsingJSONDictionary(const QVariantMap& dictionary)
    {
        const QString kind = dictionary.value(u"kind"_s).toString();
        if (kind == u"none")
            return nullptr;
        return kind == u"special" ? MAPClass::of<TMSpecialLeaf>() : MAPClass::of<TMLeaf>();
    }
};

/// Lists that may be absent: nil is distinct from empty.
class TMOptionalLists : public MAPModelSubclass<TMOptionalLists> {
    Q_GADGET
    Q_PROPERTY(std::optional<QList<std::shared_ptr<TMLeaf>>> leaves READ leaves WRITE setLeaves)
    Q_PROPERTY(std::optional<QStringList> names READ names WRITE setNames)

public:
    std::optional<QList<std::shared_ptr<TMLeaf>>> leaves() const { return m_leaves; }
    void setLeaves(const std::optional<QList<std::shared_ptr<TMLeaf>>>& v) { m_leaves = v; }
    std::optional<QStringList> names() const { return m_names; }
    void setNames(const std::optional<QStringList>& v) { m_names = v; }

    static QVariantMap JSONKeyPathsByPropertyKey() { return {}; }
    Q_INVOKABLE static MAPValueTransformerPtr leavesJSONTransformer()
    {
        return map_JSONArrayTransformerWithModelClass<TMLeaf>();
    }

private:
    std::optional<QList<std::shared_ptr<TMLeaf>>> m_leaves;
    std::optional<QStringList> m_names;
};

/// A mapping that names a key which is not a property.
class TMBadMapping : public MAPModelSubclass<TMBadMapping> {
    Q_GADGET
    Q_PROPERTY(QString name READ name WRITE setName)

public:
    QString name() const { return m_name; }
    void setName(const QString& v) { m_name = v; }
    static QVariantMap JSONKeyPathsByPropertyKey() { return { { u"nope"_s, u"x"_s } }; }

private:
    QString m_name;
};
