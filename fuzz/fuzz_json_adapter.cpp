// Feeds arbitrary bytes to the JSON reader of the mapping layer and maps what parses into
// nested models: it must refuse or load, never crash, and what it loads must write and
// read back to an equal model.
#include "model/mapping/MAPJSONAdapter.h"
#include "model/mapping/MAPJSONDocument.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

class FZLeaf : public MAPModelSubclass<FZLeaf> {
    Q_GADGET
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(std::optional<double> value MEMBER m_value)
    Q_PROPERTY(bool flag MEMBER m_flag)

public:
    static QVariantMap JSONKeyPathsByPropertyKey()
    {
        return { { QStringLiteral("name"), QStringLiteral("n") } };
    }

    QString m_name;
    std::optional<double> m_value;
    bool m_flag = false;
};

class FZRoot : public MAPModelSubclass<FZRoot> {
    Q_GADGET
    Q_PROPERTY(QString version MEMBER m_version)
    Q_PROPERTY(std::optional<qint64> year MEMBER m_year)
    Q_PROPERTY(QStringList tags MEMBER m_tags)
    Q_PROPERTY(QVariant extra MEMBER m_extra)
    Q_PROPERTY(QList<std::shared_ptr<FZLeaf>> leaves MEMBER m_leaves)
    Q_PROPERTY(std::shared_ptr<FZLeaf> leaf MEMBER m_leaf)

public:
    static QVariantMap JSONKeyPathsByPropertyKey() { return {}; }
    Q_INVOKABLE static MAPValueTransformerPtr leavesJSONTransformer()
    {
        return map_JSONArrayTransformerWithModelClass<FZLeaf>();
    }
    Q_INVOKABLE static MAPValueTransformerPtr leafJSONTransformer()
    {
        return map_JSONDictionaryTransformerWithModelClass<FZLeaf>();
    }

    QString m_version;
    std::optional<qint64> m_year;
    QStringList m_tags;
    QVariant m_extra;
    QList<std::shared_ptr<FZLeaf>> m_leaves;
    std::shared_ptr<FZLeaf> m_leaf;
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const platform::Expected<QVariant> parsed = MAPJSONDocument::parse(bytes);
    if (!parsed)
        return 0;
    const QVariant& json = *parsed;
    (void)json.toMap();
    (void)json.toList();
    MAPError error;
    const auto root = MAPJSONAdapter::modelOfClass<FZRoot>(json, &error);
    if (!root)
        return 0;
    const QByteArray written = MAPJSONAdapter::JSONDataFromModel(root);
    const auto again
        = MAPJSONAdapter::modelOfClass<FZRoot>(MAPJSONDocument::parse(written).valueOr(QVariant()));
    // NaN cannot occur (JSON has none), so a loaded model always writes and reads back equal.
    if (!again || !again->isEqual(root.get()))
        std::abort();
    return 0;
}

#include "fuzz_json_adapter.moc"
