#pragma once

// Internal to the mapping layer: what the JSON adapter and writer know about a class.

#include "model/mapping/MAPClass.h"
#include "model/mapping/MAPValueTransformer.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

/// Computed once per class: the declared key paths (checked) and, per property in
/// `MAPClass::properties()` order, its key path and transformer. Class methods are pure, so
/// their answers may be kept.
struct MAPJSONPlan {
    struct Entry {
        QString key;
        QString keyPath; // null: not in JSON
        QStringList components;
        // The same in Latin-1 when every character fits: JSON objects compare those fastest.
        QList<QByteArray> latin1Components;
        QList<QByteArray> utf8Components;
        MAPValueTransformerPtr transformer;
    };
    bool mappingValid = true;
    /// Some key path has more than one component.
    bool nested = false;
    QVariantMap keyPaths;
    QList<Entry> entries;
    QHash<QString, int> entryIndex;
};

const MAPJSONPlan& map_JSONPlanFor(const MAPClass* cls);

/// The transformers made by `map_JSONDictionaryTransformerWithModelClass` and
/// `map_JSONArrayTransformerWithModelClass`, recognisable so that the writer can follow
/// nested models directly.
class MAPModelValueTransformer : public MAPReversibleValueTransformer {
public:
    MAPModelValueTransformer(
        const MAPClass* modelClass, bool isArray, Block forwardBlock, Block reverseBlock);

    const MAPClass* modelClass() const { return m_modelClass; }
    bool isArray() const { return m_isArray; }

private:
    const MAPClass* m_modelClass;
    bool m_isArray;
};
