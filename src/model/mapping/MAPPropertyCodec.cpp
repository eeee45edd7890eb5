#include "model/mapping/MAPPropertyCodec.h"

#include "model/mapping/MAPClass.h"
#include "model/mapping/MAPError.h"
#include "model/mapping/MAPJSONAdapter.h"
#include "model/mapping/MAPModel.h"
#include "model/mapping/MAPValue.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QReadWriteLock>
#include <QStringList>
#include <QUrl>

#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

struct OptionalEntry {
    QMetaType inner;
    QVariant (*unwrap)(const QVariant&);
    QVariant (*wrap)(const QVariant&);
};

struct OptionalRegistry {
    QReadWriteLock lock;
    QHash<int, OptionalEntry> entries;
};

OptionalRegistry& optionalRegistry();

void registerBuiltinOptionals()
{
    MAPRegisterOptionalType<double>();
    MAPRegisterOptionalType<int>();
    MAPRegisterOptionalType<qint64>();
    MAPRegisterOptionalType<bool>();
    MAPRegisterOptionalType<QStringList>();
}

OptionalRegistry& optionalRegistry()
{
    static OptionalRegistry registry;
    return registry;
}

std::optional<OptionalEntry> optionalEntry(QMetaType type)
{
    static std::once_flag builtins;
    std::call_once(builtins, registerBuiltinOptionals);
    OptionalRegistry& r = optionalRegistry();
    QReadLocker locker(&r.lock);
    const auto it = r.entries.constFind(type.id());
    if (it == r.entries.cend())
        return std::nullopt;
    return *it;
}

[[noreturn]] void raiseStore(const MAPClass* owner, const QString& key, const QString& reason)
{
    Q_UNUSED(key);
    Q_UNUSED(owner);
    throw MAPException(QString::fromLatin1(MAPInvalidArgumentException), reason);
}

QString ownerName(const MAPClass* owner)
{
    return owner ? owner->name() : u"model"_s;
}

[[noreturn]] void raiseNil(const MAPClass* owner, const QString& key, QMetaType type)
{
    raiseStore(owner, key,
        u"Cannot store nothing in the property \"%1\" of %2, whose type %3 has no empty value"_s.arg(
            key, ownerName(owner), QString::fromLatin1(type.name())));
}

[[noreturn]] void raiseType(const MAPClass* owner, const QString& key, QMetaType type, const QVariant& value)
{
    raiseStore(owner, key,
        u"Cannot store a value of type %1 in the property \"%2\" of %3, whose type is %4"_s.arg(
            MAPValueClassName(value), key, ownerName(owner), QString::fromLatin1(type.name())));
}

bool isNumeric(const QVariant& v)
{
    return MAPIsNumber(v);
}

// The kind of a type the codec knows by its id alone; Other for every other type.
MAPPropertyCodec::Kind builtinKind(int typeId)
{
    switch (typeId) {
    case QMetaType::Bool:
        return MAPPropertyCodec::Bool;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::Char:
    case QMetaType::SChar:
        return MAPPropertyCodec::Integer;
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::UChar:
        return MAPPropertyCodec::Unsigned;
    case QMetaType::Double:
    case QMetaType::Float:
        return MAPPropertyCodec::Real;
    case QMetaType::QString:
        return MAPPropertyCodec::String;
    case QMetaType::QStringList:
        return MAPPropertyCodec::StringList;
    case QMetaType::QVariantList:
        return MAPPropertyCodec::List;
    case QMetaType::QVariantMap:
        return MAPPropertyCodec::Map;
    case QMetaType::QVariant:
        return MAPPropertyCodec::Variant;
    default:
        return MAPPropertyCodec::Other;
    }
}

} // namespace

void MAPRegisterOptionalTypeImpl(QMetaType optionalType, QMetaType innerType,
    QVariant (*unwrap)(const QVariant&), QVariant (*wrap)(const QVariant&))
{
    OptionalRegistry& r = optionalRegistry();
    QWriteLocker locker(&r.lock);
    r.entries.insert(optionalType.id(), OptionalEntry { innerType, unwrap, wrap });
}

MAPPropertyCodec MAPPropertyCodec::forType(QMetaType type)
{
    MAPPropertyCodec codec;
    codec.type = type;
    codec.kind = builtinKind(type.id());
    if (codec.kind != Other)
        return codec;
    if (const auto entry = optionalEntry(type)) {
        codec.kind = Optional;
        codec.innerType = entry->inner;
        codec.unwrapOptional = entry->unwrap;
        codec.wrapOptional = entry->wrap;
        codec.inner = std::make_shared<const MAPPropertyCodec>(forType(entry->inner));
        return codec;
    }
    const QByteArray name = type.name();
    if (name.startsWith("std::optional<")) {
        // Not registered (yet): resolved again when used, refused if it never is.
        codec.kind = Optional;
        return codec;
    }
    if (type == QMetaType::fromType<MAPModelPtr>() || name.startsWith("std::shared_ptr<"))
        codec.kind = ModelPointer;
    else if (name.startsWith("QList<std::shared_ptr<"))
        codec.kind = ModelList;
    return codec;
}

const MAPPropertyCodec* MAPPropertyCodec::resolvedOptional(MAPPropertyCodec& scratch) const
{
    if (unwrapOptional)
        return this;
    scratch = forType(type);
    return scratch.unwrapOptional ? &scratch : nullptr;
}

QVariant MAPPropertyCodec::toGeneric(const QVariant& native) const
{
    switch (kind) {
    case Bool:
    case Integer:
    case Unsigned:
    case Real:
    case StringList:
    case List:
    case Map:
    case Variant:
        return native;
    case Optional: {
        MAPPropertyCodec scratch;
        const MAPPropertyCodec* codec = resolvedOptional(scratch);
        if (!codec) {
            qWarning("MAPPropertyCodec: %s is not registered with MAPRegisterOptionalType", type.name());
            return {};
        }
        const QVariant value = codec->unwrapOptional(native);
        return value.isValid() ? codec->inner->toGeneric(value) : QVariant();
    }
    case String:
        return native.toString().isNull() ? QVariant() : native;
    case ModelPointer:
        return MAPValueFromModel(MAPModelFromValue(native));
    case ModelList: {
        QVariantList list;
        if (const MAPClass* cls = MAPClass::forListType(type)) {
            const QList<MAPModelPtr> models = cls->unwrapList(native);
            list.reserve(models.size());
            for (const MAPModelPtr& m : models)
                list.append(MAPValueFromModel(m));
        }
        return list;
    }
    case Other:
        break;
    }
    if (type == QMetaType::fromType<QUrl>())
        return native.toUrl().isEmpty() ? QVariant() : native;
    if (type == QMetaType::fromType<QDateTime>())
        return native.toDateTime().isValid() ? native : QVariant();
    if (type == QMetaType::fromType<QByteArray>())
        return native.toByteArray().isNull() ? QVariant() : native;
    return native;
}

QVariant MAPPropertyCodec::fromGeneric(
    const QVariant& generic, const MAPClass* owner, const QString& key) const
{
    const QVariant value = MAPNilForNull(generic);
    switch (kind) {
    case Bool:
    case Integer:
    case Unsigned:
    case Real: {
        if (!value.isValid())
            raiseNil(owner, key, type);
        if (!isNumeric(value))
            raiseType(owner, key, type, value);
        if (value.metaType() == type)
            return value;
        if (kind == Real) {
            return type.id() == QMetaType::Float ? QVariant(float(value.toDouble()))
                                                 : QVariant(value.toDouble());
        }
        if (kind == Bool)
            return QVariant(value.toDouble() != 0);
        // Integers: whole numbers within range only, never a silent truncation.
        const double d = value.toDouble();
        const bool whole = value.typeId() != QMetaType::Double && value.typeId() != QMetaType::Float
            ? true
            : (std::isfinite(d) && std::trunc(d) == d);
        if (!whole || (kind == Unsigned && d < 0))
            raiseType(owner, key, type, value);
        QVariant converted = value.typeId() == QMetaType::Double ? QVariant(qint64(d)) : value;
        if (!converted.convert(type))
            raiseType(owner, key, type, value);
        if (!MAPValuesEqual(converted, value))
            raiseType(owner, key, type, value);
        return converted;
    }
    case Optional: {
        MAPPropertyCodec scratch;
        const MAPPropertyCodec* codec = resolvedOptional(scratch);
        if (!codec) {
            raiseStore(owner, key,
                u"The type %1 of the property \"%2\" of %3 is not registered with MAPRegisterOptionalType"_s
                    .arg(QString::fromLatin1(type.name()), key, ownerName(owner)));
        }
        if (!value.isValid())
            return codec->wrapOptional(QVariant());
        return codec->wrapOptional(codec->inner->fromGeneric(value, owner, key));
    }
    case String:
        if (!value.isValid())
            return QVariant(QString());
        if (value.typeId() != QMetaType::QString)
            raiseType(owner, key, type, value);
        return value;
    case StringList: {
        if (!value.isValid())
            return QVariant(QStringList());
        if (value.typeId() == QMetaType::QStringList)
            return value;
        if (!MAPIsArray(value))
            raiseType(owner, key, type, value);
        QStringList strings;
        for (const QVariant& element : value.toList()) {
            if (element.typeId() != QMetaType::QString)
                raiseType(owner, key, type, value);
            strings.append(element.toString());
        }
        return strings;
    }
    case List:
        if (!value.isValid())
            return QVariant(QVariantList());
        if (!MAPIsArray(value))
            raiseType(owner, key, type, value);
        return QVariant(value.toList());
    case Map:
        if (!value.isValid())
            return QVariant(QVariantMap());
        if (!MAPIsDictionary(value))
            raiseType(owner, key, type, value);
        return QVariant(value.toMap());
    case Variant:
        // JSON objects and arrays read without conversion become the layer's own kinds here.
        if (MAPIsDictionary(value))
            return QVariant(value.toMap());
        if (MAPIsArray(value) && value.typeId() != QMetaType::QStringList)
            return QVariant(value.toList());
        return generic;
    case ModelPointer: {
        if (!value.isValid())
            return QVariant(type, nullptr);
        const MAPModelPtr model = MAPModelFromValue(value);
        const MAPClass* target
            = type == QMetaType::fromType<MAPModelPtr>() ? nullptr : MAPClass::forPointerType(type);
        if (!model
            || (type != QMetaType::fromType<MAPModelPtr>()
                && (!target || !model->modelClass()->isSubclassOf(target))))
            raiseType(owner, key, type, value);
        return target ? target->wrapPointer(model) : QVariant::fromValue(model);
    }
    case ModelList: {
        if (!value.isValid())
            return QVariant(type, nullptr);
        if (value.metaType() == type)
            return value;
        if (!MAPIsArray(value))
            raiseType(owner, key, type, value);
        const MAPClass* target = MAPClass::forListType(type);
        const QVariantList list = value.toList();
        QList<MAPModelPtr> models;
        models.reserve(list.size());
        int skipped = 0;
        for (const QVariant& element : list) {
            if (MAPIsNull(element) || !element.isValid()) {
                ++skipped;
                continue;
            }
            const MAPModelPtr model = MAPModelFromValue(element);
            if (!model || !target || !model->modelClass()->isSubclassOf(target))
                raiseType(owner, key, type, element);
            models.append(model);
        }
        if (skipped)
            MAPSkippedElementCounter::add(skipped);
        if (!target) // an empty list of a class not made yet
            return QVariant(type, nullptr);
        return target->wrapList(models);
    }
    case Other:
        break;
    }
    if (!value.isValid())
        return QVariant(type, nullptr);
    if (value.metaType() == type)
        return value;
    QVariant converted = value;
    if (value.typeId() == QMetaType::QString && type != QMetaType::fromType<QUrl>()
        && type != QMetaType::fromType<QDateTime>() && type != QMetaType::fromType<QByteArray>())
        raiseType(owner, key, type, value);
    if (!converted.convert(type))
        raiseType(owner, key, type, value);
    return converted;
}

QByteArray MAPPropertyCodec::typeEncoding() const
{
    switch (kind) {
    case Bool:
        return "B";
    case Integer:
        switch (type.id()) {
        case QMetaType::Int:
            return "i";
        case QMetaType::Short:
            return "s";
        case QMetaType::Char:
        case QMetaType::SChar:
            return "c";
        default:
            return "q";
        }
    case Unsigned:
        switch (type.id()) {
        case QMetaType::UInt:
            return "I";
        case QMetaType::UShort:
            return "S";
        case QMetaType::UChar:
            return "C";
        default:
            return "Q";
        }
    case Real:
        return type.id() == QMetaType::Float ? "f" : "d";
    case Optional:
        if (!inner)
            return "@";
        if (inner->kind == StringList || inner->kind == List || inner->kind == ModelList)
            return "@\"QVariantList\"";
        if (inner->isObject())
            return inner->typeEncoding();
        return "@\"MAPNumber\"";
    case String:
        return "@\"QString\"";
    case StringList:
        return "@\"QStringList\"";
    case List:
    case ModelList:
        return "@\"QVariantList\"";
    case Map:
        return "@\"QVariantMap\"";
    case Variant:
        return "@";
    case ModelPointer: {
        QByteArray name = type.name();
        if (type == QMetaType::fromType<MAPModelPtr>())
            return "@\"MAPModel\"";
        name = name.mid(int(sizeof("std::shared_ptr<")) - 1);
        name.chop(1);
        return "@\"" + name + "\"";
    }
    case Other:
        break;
    }
    return "@\"" + QByteArray(type.name()) + "\"";
}
