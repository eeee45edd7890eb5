#include "model/mapping/MAPValueTransformer.h"

#include "model/mapping/MAPError.h"
#include "model/mapping/MAPValue.h"

#include <QHash>
#include <QReadWriteLock>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

struct TransformerRegistry {
    QReadWriteLock lock;
    QHash<QString, MAPValueTransformerPtr> byName;
};

MAPValueTransformerPtr makeURLTransformer()
{
    return MAPValueTransformer::reversibleTransformerWithForwardBlock(
        [](const QVariant& value) -> QVariant {
            if (value.typeId() != QMetaType::QString)
                return {};
            const QUrl url(value.toString(), QUrl::StrictMode);
            return url.isValid() && !url.isEmpty() ? QVariant(url) : QVariant();
        },
        [](const QVariant& value) -> QVariant {
            if (value.typeId() != QMetaType::QUrl)
                return {};
            return value.toUrl().toString(QUrl::FullyEncoded);
        });
}

MAPValueTransformerPtr makeBooleanTransformer()
{
    return MAPValueTransformer::reversibleTransformerWithBlock([](const QVariant& value) -> QVariant {
        if (!MAPIsNumber(value))
            return {};
        return QVariant(value.toDouble() != 0);
    });
}

TransformerRegistry& transformerRegistry()
{
    static TransformerRegistry* r = [] {
        auto* created = new TransformerRegistry;
        created->byName.insert(QString::fromLatin1(MAPURLValueTransformerName), makeURLTransformer());
        created->byName.insert(QString::fromLatin1(MAPBooleanValueTransformerName), makeBooleanTransformer());
        return created;
    }();
    return *r;
}

} // namespace

MAPValueTransformer::MAPValueTransformer(Block forwardBlock, Block reverseBlock)
    : m_forwardBlock(std::move(forwardBlock)), m_reverseBlock(std::move(reverseBlock))
{
}

MAPValueTransformer::~MAPValueTransformer() = default;

MAPValueTransformerPtr MAPValueTransformer::transformerWithBlock(Block forwardBlock)
{
    return std::make_shared<MAPValueTransformer>(std::move(forwardBlock), nullptr);
}

MAPValueTransformerPtr MAPValueTransformer::reversibleTransformerWithBlock(Block block)
{
    return reversibleTransformerWithForwardBlock(block, block);
}

MAPValueTransformerPtr MAPValueTransformer::reversibleTransformerWithForwardBlock(
    Block forwardBlock, Block reverseBlock)
{
    return std::make_shared<MAPReversibleValueTransformer>(std::move(forwardBlock), std::move(reverseBlock));
}

QVariant MAPValueTransformer::transformedValue(const QVariant& value) const
{
    return m_forwardBlock ? m_forwardBlock(value) : QVariant();
}

QVariant MAPValueTransformer::reverseTransformedValue(const QVariant&) const
{
    throw MAPException(QString::fromLatin1(MAPInvalidArgumentException),
        u"A one-way value transformer cannot transform backward"_s);
}

QVariant MAPReversibleValueTransformer::reverseTransformedValue(const QVariant& value) const
{
    return reverseBlock() ? reverseBlock()(value) : QVariant();
}

void MAPValueTransformer::setValueTransformer(MAPValueTransformerPtr transformer, const QString& name)
{
    TransformerRegistry& r = transformerRegistry();
    QWriteLocker locker(&r.lock);
    if (transformer)
        r.byName.insert(name, std::move(transformer));
    else
        r.byName.remove(name);
}

MAPValueTransformerPtr MAPValueTransformer::valueTransformerForName(const QString& name)
{
    TransformerRegistry& r = transformerRegistry();
    QReadLocker locker(&r.lock);
    return r.byName.value(name);
}

MAPValueTransformerPtr map_valueMappingTransformerWithDictionary(const MAPValueMappingEntries& dictionary,
    const QVariant& defaultValue, const QVariant& reverseDefaultValue)
{
    return MAPValueTransformer::reversibleTransformerWithForwardBlock(
        [dictionary, defaultValue](const QVariant& value) -> QVariant {
            const QVariant key = MAPNullForNil(value);
            for (const auto& [entryKey, entryValue] : dictionary) {
                if (MAPValuesEqual(entryKey, key))
                    return entryValue;
            }
            return defaultValue;
        },
        [dictionary, reverseDefaultValue](const QVariant& value) -> QVariant {
            if (!value.isValid())
                return reverseDefaultValue;
            for (const auto& [entryKey, entryValue] : dictionary) {
                if (MAPValuesEqual(value, entryValue))
                    return entryKey;
            }
            return reverseDefaultValue;
        });
}

MAPValueTransformerPtr map_valueMappingTransformerWithDictionary(
    const QVariantMap& dictionary, const QVariant& defaultValue, const QVariant& reverseDefaultValue)
{
    MAPValueMappingEntries entries;
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it)
        entries.append({ QVariant(it.key()), it.value() });
    return map_valueMappingTransformerWithDictionary(entries, defaultValue, reverseDefaultValue);
}

MAPValueTransformerPtr map_invertedTransformer(const MAPValueTransformerPtr& transformer)
{
    return MAPValueTransformer::reversibleTransformerWithForwardBlock(
        [transformer](const QVariant& value) { return transformer->reverseTransformedValue(value); },
        [transformer](const QVariant& value) { return transformer->transformedValue(value); });
}

QVariant map_firstObject(const QVariantList& array)
{
    return array.isEmpty() ? QVariant() : array.first();
}

QVariantList map_arrayByRemovingObject(const QVariantList& array, const QVariant& object)
{
    QVariantList result;
    result.reserve(array.size());
    for (const QVariant& element : array) {
        if (!MAPValuesEqual(element, object))
            result.append(element);
    }
    return result;
}

QVariantList map_arrayByRemovingFirstObject(const QVariantList& array)
{
    return array.isEmpty() ? array : array.mid(1);
}

QVariantList map_arrayByRemovingLastObject(const QVariantList& array)
{
    return array.isEmpty() ? array : array.first(array.size() - 1);
}

QVariantMap map_dictionaryByAddingEntriesFromDictionary(
    const QVariantMap& dictionary, const QVariantMap& other)
{
    QVariantMap result = dictionary;
    for (auto it = other.cbegin(); it != other.cend(); ++it)
        result.insert(it.key(), it.value());
    return result;
}

QVariantMap map_dictionaryByRemovingEntriesWithKeys(const QVariantMap& dictionary, const QStringList& keys)
{
    QVariantMap result = dictionary;
    for (const QString& key : keys)
        result.remove(key);
    return result;
}
