// Keyed archiving of models: each non-nil property under its key, beside the model version.
#include "model/mapping/MAPCoder.h"
#include "model/mapping/MAPModel.h"
#include "model/mapping/MAPRuntime.h"

#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kVersionKey = u"MAPModelVersion"_s;
const QString kExternalRepresentationKey = u"externalRepresentation"_s;

void verifySecureCoding(const MAPClass* cls)
{
    const QVariantMap allowed = cls->allowedSecureCodingClassesByPropertyKey();
    const QVariantMap behaviors = cls->encodingBehaviorsByPropertyKey();
    QStringList missing;
    for (auto it = behaviors.cbegin(); it != behaviors.cend(); ++it) {
        if (it.value().toUInt() != MAPModel::Excluded && !allowed.contains(it.key()))
            missing.append(it.key());
    }
    if (!missing.isEmpty()) {
        throw MAPException(QString::fromLatin1(MAPInvalidArgumentException),
            u"Cannot encode %1 securely, because keys are missing from +allowedSecureCodingClassesByPropertyKey: %2"_s
                .arg(cls->name(), MAPValueDescription(missing)));
    }
}

} // namespace

void MAPModel::encodeWithCoder(MAPCoder& coder) const
{
    const MAPClass* cls = modelClass();
    if (coder.requiresSecureCoding())
        verifySecureCoding(cls);
    coder.encodeObject(QVariant(cls->modelVersion()), kVersionKey);
    const QVariantMap behaviors = cls->encodingBehaviorsByPropertyKey();
    const QVariantMap values = dictionaryValue();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (MAPIsNull(it.value()))
            continue;
        switch (behaviors.value(it.key()).toUInt()) {
        case Unconditional:
            coder.encodeObject(it.value(), it.key());
            break;
        case Conditional:
            coder.encodeConditionalObject(it.value(), it.key());
            break;
        default:
            break;
        }
    }
}

MAPModelPtr MAPModel::modelWithCoder(const MAPClass* modelClass, MAPCoder& coder)
{
    MAPModelPtr model = modelClass->create();
    if (!model->initWithCoder(coder))
        return nullptr;
    return model;
}

bool MAPModel::initWithCoder(MAPCoder& coder)
{
    const MAPClass* cls = modelClass();
    const QVariant archivedVersion = coder.requiresSecureCoding()
        ? coder.decodeObjectOfClass(u"MAPNumber"_s, kVersionKey)
        : coder.decodeObject(kVersionKey);
    const quint64 version = archivedVersion.isValid() ? archivedVersion.toULongLong() : 0;
    if (version > cls->modelVersion())
        return false;

    if (coder.requiresSecureCoding()) {
        verifySecureCoding(cls);
    } else {
        const QVariant external = coder.decodeObject(kExternalRepresentationKey);
        if (external.isValid()) {
            const QVariant dictionary
                = cls->dictionaryValueFromArchivedExternalRepresentation(external.toMap(), version);
            if (!MAPIsDictionary(dictionary))
                return false;
            MAPError ignored;
            return initWithDictionary(dictionary.toMap(), &ignored);
        }
    }

    QVariantMap values;
    for (const QString& key : cls->propertyKeys()) {
        const QVariant value = decodeValueForKey(key, coder, version);
        if (value.isValid())
            values.insert(key, value);
    }
    MAPError ignored;
    return initWithDictionary(values, &ignored);
}

QVariant MAPModel::decodeValueForKey(const QString& key, MAPCoder& coder, quint64 modelVersion)
{
    const MAPClass* cls = modelClass();
    const int index = cls->indexOfPropertyKey(key);
    const int hookIndex = index >= 0
        ? cls->properties()[index].decodeHook
        : cls->indexOfHook(MAPSelectorWithPrefixCapitalizedKeyAndSuffix("decode", key, "WithCoder"), 2);
    if (hookIndex >= 0) {
        const QMetaMethod hook = cls->metaObject()->method(hookIndex);
        QVariant result;
        MAPCoder* coderPointer = &coder;
        const QList<QByteArray> types = hook.parameterTypes();
        hook.invokeOnGadget(this, QGenericReturnArgument(hook.typeName(), &result),
            QGenericArgument(types[0].constData(), &coderPointer),
            QGenericArgument(types[1].constData(), &modelVersion));
        return result;
    }
    if (coder.requiresSecureCoding()) {
        const QStringList allowed = cls->allowedSecureCodingClassesByPropertyKey().value(key).toStringList();
        return coder.decodeObjectOfClasses(allowed, key);
    }
    return coder.decodeObject(key);
}
