#include "model/mapping/MAPModel.h"

#include "model/mapping/MAPPropertyCodec.h"
#include "model/mapping/MAPRuntime.h"

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void raiseUndefinedKey(const MAPModel* model, const QString& key)
{
    throw MAPException(QString::fromLatin1(MAPUndefinedKeyException),
        u"%1 has no property named \"%2\""_s.arg(model->modelClass()->name(), key));
}

const MAPClass::Property& propertyOrRaise(const MAPModel* model, const QString& key)
{
    const MAPClass* cls = model->modelClass();
    const int index = cls->indexOfPropertyKey(key);
    if (index < 0)
        raiseUndefinedKey(model, key);
    return cls->properties()[index];
}

} // namespace

MAPModel::~MAPModel() = default;

const MAPClass* MAPModel::modelClass() const
{
    return MAPClass::of<MAPModel>();
}

MAPModelPtr MAPModel::modelWithDictionary(
    const MAPClass* modelClass, const QVariantMap& dictionary, MAPError* error)
{
    MAPModelPtr model = modelClass->create();
    if (!model || !model->initWithDictionary(dictionary, error))
        return nullptr;
    return model;
}

bool MAPModel::validateAndStoreProperty(int index, const QVariant& value, bool forceUpdate, MAPError* error)
{
    const MAPClass::Property& p = modelClass()->properties()[index];
    try {
        if (p.validateHook < 0) {
            if (forceUpdate)
                storeProperty(p, value);
            return true;
        }
        QVariant validated = value;
        if (!validateValue(validated, p.key, error))
            return false;
        // "Replaced" means the hook handed back another value: a change of type or content.
        if (forceUpdate || validated.metaType() != value.metaType() || !(validated == value))
            storeProperty(p, validated);
        return true;
    } catch (const MAPException& exception) {
        MAPSetError(error, map_modelErrorWithException(exception));
        return false;
    }
}

bool MAPModel::initWithDictionary(const QVariantMap& dictionary, MAPError* error)
{
    for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it) {
        if (!MAPValidateAndStoreValue(this, it.key(), MAPNilForNull(it.value()), true, error))
            return false;
    }
    return true;
}

QVariantMap MAPModel::dictionaryValue() const
{
    QVariantMap values;
    for (const MAPClass::Property& p : modelClass()->properties())
        values.insert(p.key, MAPNullForNil(p.codec->toGeneric(p.meta.readOnGadget(this))));
    return values;
}

QVariant MAPModel::valueForKey(const QString& key) const
{
    const MAPClass::Property& p = propertyOrRaise(this, key);
    return p.codec->toGeneric(p.meta.readOnGadget(this));
}

void MAPModel::setValueForKey(const QVariant& value, const QString& key)
{
    storeProperty(propertyOrRaise(this, key), value);
}

void MAPModel::storeProperty(const MAPClass::Property& p, const QVariant& value)
{
    const QString& key = p.key;
    const QVariant native = p.codec->fromGeneric(value, modelClass(), key);
    if (!p.meta.isWritable()) {
        // A read-only stored property keeps its value; storing that same value is harmless
        // (copies and round trips do it).
        if (MAPValuesEqual(p.codec->toGeneric(p.meta.readOnGadget(this)), value))
            return;
        throw MAPException(QString::fromLatin1(MAPInvalidArgumentException),
            u"The property \"%1\" of %2 is read-only"_s.arg(key, modelClass()->name()));
    }
    if (!p.meta.writeOnGadget(this, native)) {
        throw MAPException(QString::fromLatin1(MAPInvalidArgumentException),
            u"The property \"%1\" of %2 did not accept the value"_s.arg(key, modelClass()->name()));
    }
}

bool MAPModel::validateValue(QVariant& value, const QString& key, MAPError* error)
{
    const MAPClass::Property& p = propertyOrRaise(this, key);
    if (p.validateHook < 0)
        return true;
    const QMetaMethod hook = modelClass()->metaObject()->method(p.validateHook);
    bool accepted = false;
    MAPError hookError;
    MAPError* errorArgument = error ? error : &hookError;
    const QList<QByteArray> types = hook.parameterTypes();
    hook.invokeOnGadget(this, QGenericReturnArgument(hook.typeName(), &accepted),
        QGenericArgument(types[0].constData(), &value),
        QGenericArgument(types[1].constData(), &errorArgument));
    return accepted;
}

void MAPModel::mergeValueForKey(const QString& key, const MAPModel* model)
{
    const MAPClass* cls = modelClass();
    const int index = cls->indexOfPropertyKey(key);
    const int hookIndex = index >= 0
        ? cls->properties()[index].mergeHook
        : cls->indexOfHook(MAPSelectorWithPrefixCapitalizedKeyAndSuffix("merge", key, "FromModel"), 1);
    if (hookIndex >= 0) {
        const QMetaMethod hook = cls->metaObject()->method(hookIndex);
        hook.invokeOnGadget(this, QGenericArgument(hook.parameterTypes()[0].constData(), &model));
        return;
    }
    if (!model)
        return;
    try {
        setValueForKey(model->valueForKey(key), key);
    } catch (const MAPException& exception) {
        qWarning("MAPModel: merging \"%s\" failed: %s", qUtf8Printable(key), exception.what());
    }
}

void MAPModel::mergeValuesForKeysFromModel(const MAPModel* model)
{
    if (!model)
        return;
    const MAPClass* other = model->modelClass();
    for (const QString& key : modelClass()->propertyKeys()) {
        if (other->hasPropertyKey(key))
            mergeValueForKey(key, model);
    }
}

bool MAPModel::validate(MAPError* error)
{
    for (const MAPClass::Property& p : modelClass()->properties()) {
        const QVariant value = p.codec->toGeneric(p.meta.readOnGadget(this));
        if (!MAPValidateAndStoreValue(this, p.key, value, false, error))
            return false;
    }
    return true;
}

MAPModelPtr MAPModel::copy() const
{
    return modelWithDictionary(modelClass(), dictionaryValue(), nullptr);
}

QString MAPModel::description() const
{
    return u"<%1: 0x%2> %3"_s.arg(
        modelClass()->name(), QString::number(quintptr(this), 16), MAPValueDescription(dictionaryValue()));
}

size_t MAPModel::hash() const
{
    size_t value = 0;
    for (const MAPClass::Property& p : modelClass()->properties())
        value ^= MAPValueHash(p.codec->toGeneric(p.meta.readOnGadget(this)));
    return value;
}

bool MAPModel::isEqual(const MAPModel* other) const
{
    if (other == this)
        return true;
    if (!other || other->modelClass() != modelClass())
        return false;
    for (const MAPClass::Property& p : modelClass()->properties()) {
        const QVariant mine = p.codec->toGeneric(p.meta.readOnGadget(this));
        const QVariant theirs = p.codec->toGeneric(p.meta.readOnGadget(other));
        if (!MAPValuesEqual(mine, theirs))
            return false;
    }
    return true;
}
