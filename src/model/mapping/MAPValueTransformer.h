#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <utility>

/// Converts a property value forward (external form -> model form) and, when reversible,
/// backward. Transformers are immutable and may be used from any thread. A transformer
/// given a value of a kind it cannot handle may throw `MAPException`; the JSON adapter
/// reports that as an error (code 1). The predefined ones return nil instead.
class MAPValueTransformer {
public:
    using Block = std::function<QVariant(const QVariant&)>;

    MAPValueTransformer(Block forwardBlock, Block reverseBlock);
    virtual ~MAPValueTransformer();

    /// A one-way transformer.
    static std::shared_ptr<MAPValueTransformer> transformerWithBlock(Block forwardBlock);
    /// A reversible transformer using the same block in both directions.
    static std::shared_ptr<MAPValueTransformer> reversibleTransformerWithBlock(Block block);
    /// A reversible transformer (`MAPReversibleValueTransformer`).
    static std::shared_ptr<MAPValueTransformer> reversibleTransformerWithForwardBlock(
        Block forwardBlock, Block reverseBlock);

    const Block& forwardBlock() const { return m_forwardBlock; }
    const Block& reverseBlock() const { return m_reverseBlock; }

    /// False for a plain transformer, true for a reversible one.
    virtual bool allowsReverseTransformation() const { return false; }
    /// The forward block applied to the value (nil when there is no block).
    virtual QVariant transformedValue(const QVariant& value) const;
    /// The reverse block for a reversible transformer. A one-way transformer has no
    /// backward direction: it throws `MAPException` ("MAPInvalidArgumentException").
    virtual QVariant reverseTransformedValue(const QVariant& value) const;

    /// The process-wide registry by name. The URL and boolean transformers are registered
    /// before the first look-up.
    static void setValueTransformer(std::shared_ptr<MAPValueTransformer> transformer, const QString& name);
    static std::shared_ptr<MAPValueTransformer> valueTransformerForName(const QString& name);

private:
    Block m_forwardBlock;
    Block m_reverseBlock;
};
using MAPValueTransformerPtr = std::shared_ptr<MAPValueTransformer>;

/// The two-way kind.
class MAPReversibleValueTransformer : public MAPValueTransformer {
public:
    using MAPValueTransformer::MAPValueTransformer;
    bool allowsReverseTransformation() const override { return true; }
    QVariant reverseTransformedValue(const QVariant& value) const override;
};

/// Registry names (each is also its own value).
inline constexpr const char* MAPURLValueTransformerName = "MAPURLValueTransformerName";
inline constexpr const char* MAPBooleanValueTransformerName = "MAPBooleanValueTransformerName";

/// Entries of a value mapping, in lookup order; a key may be the null object.
using MAPValueMappingEntries = QList<std::pair<QVariant, QVariant>>;

/// A reversible lookup table: forward looks the value (the null object for nil) up among
/// the keys and gives the entry or `defaultValue`; backward gives the key of the first entry
/// whose value equals the input, or `reverseDefaultValue` (nil never matches).
MAPValueTransformerPtr map_valueMappingTransformerWithDictionary(const MAPValueMappingEntries& dictionary,
    const QVariant& defaultValue = {}, const QVariant& reverseDefaultValue = {});
MAPValueTransformerPtr map_valueMappingTransformerWithDictionary(const QVariantMap& dictionary,
    const QVariant& defaultValue = {}, const QVariant& reverseDefaultValue = {});

/// A reversible transformer whose forward direction is `transformer`'s backward one and
/// vice versa; it holds `transformer`.
MAPValueTransformerPtr map_invertedTransformer(const MAPValueTransformerPtr& transformer);

// Array and dictionary conveniences.
/// The first element, or nil for an empty array.
QVariant map_firstObject(const QVariantList& array);
/// A copy without any element equal (`MAPValuesEqual`) to `object`.
QVariantList map_arrayByRemovingObject(const QVariantList& array, const QVariant& object);
QVariantList map_arrayByRemovingFirstObject(const QVariantList& array);
QVariantList map_arrayByRemovingLastObject(const QVariantList& array);
/// A copy of `dictionary` with `other`'s entries added, `other` winning on shared keys.
QVariantMap map_dictionaryByAddingEntriesFromDictionary(
    const QVariantMap& dictionary, const QVariantMap& other);
QVariantMap map_dictionaryByRemovingEntriesWithKeys(const QVariantMap& dictionary, const QStringList& keys);
