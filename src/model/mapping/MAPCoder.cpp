#include "model/mapping/MAPCoder.h"

#include "model/mapping/MAPClass.h"
#include "model/mapping/MAPError.h"
#include "model/mapping/MAPModel.h"

#include <QCborArray>
#include <QDateTime>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

// A reference to an archived model: the tag's content is the model's index in "$objects".
constexpr QCborTag kObjectReferenceTag = QCborTag(27100);
const QString kObjectsKey = u"$objects"_s;
const QString kClassKey = u"$class"_s;
const QString kRootKey = u"root"_s;

[[noreturn]] void raise(const QString& reason)
{
    throw MAPException(QString::fromLatin1(MAPInvalidArgumentException), reason);
}

} // namespace

MAPCoder::~MAPCoder() = default;

bool MAPCoder::valueIsKindOfClass(const QVariant& value, const QString& className)
{
    if (!value.isValid())
        return true;
    if (const MAPModelPtr model = MAPModelFromValue(value)) {
        if (className == u"MAPModel")
            return true;
        const MAPClass* cls = MAPClass::named(className);
        return cls && model->modelClass()->isSubclassOf(cls);
    }
    if (className == u"MAPValue" || className == u"MAPNumber")
        return MAPIsNumber(value);
    if (className == u"QVariantList")
        return MAPIsArray(value);
    if (className == u"QStringList") {
        if (!MAPIsArray(value))
            return false;
        const QVariantList list = value.toList();
        return std::all_of(
            list.cbegin(), list.cend(), [](const QVariant& v) { return v.typeId() == QMetaType::QString; });
    }
    if (className == u"QVariantMap")
        return MAPIsDictionary(value);
    return QString::fromLatin1(value.typeName()) == className;
}

// ---- archiver

MAPKeyedArchiver::MAPKeyedArchiver(bool requiresSecureCoding) : m_secure(requiresSecureCoding)
{
    m_objects.append(QCborMap());
}

MAPKeyedArchiver::~MAPKeyedArchiver() = default;

QByteArray MAPKeyedArchiver::archivedDataWithRootObject(
    const QVariant& rootValue, bool requiresSecureCoding, QString* failure)
{
    try {
        MAPKeyedArchiver archiver(requiresSecureCoding);
        archiver.encodeObject(rootValue, kRootKey);
        return archiver.encodedData();
    } catch (const MAPException& exception) {
        if (failure)
            *failure = exception.reason();
        return {};
    }
}

void MAPKeyedArchiver::encodeObject(const QVariant& value, const QString& key)
{
    if (!value.isValid())
        return;
    const QCborValue encoded = encodeValue(value);
    m_objects[m_current].insert(key, encoded);
}

void MAPKeyedArchiver::encodeConditionalObject(const QVariant& value, const QString& key)
{
    const MAPModelPtr model = MAPModelFromValue(value);
    if (!model) {
        encodeObject(value, key);
        return;
    }
    m_keepAlive.append(model);
    m_conditionals.append({ m_current, key, model.get() });
}

bool MAPKeyedArchiver::containsValueForKey(const QString& key) const
{
    return m_objects[m_current].contains(key);
}

QVariant MAPKeyedArchiver::decodeObject(const QString&)
{
    raise(u"An archiver cannot decode"_s);
}

QVariant MAPKeyedArchiver::decodeObjectOfClasses(const QStringList&, const QString&)
{
    raise(u"An archiver cannot decode"_s);
}

QCborValue MAPKeyedArchiver::encodeValue(const QVariant& value)
{
    if (MAPIsNull(value))
        return QCborValue(QCborValue::Null);
    if (const MAPModelPtr model = MAPModelFromValue(value))
        return QCborValue(kObjectReferenceTag, QCborValue(qint64(encodeModel(model))));
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QCborValue(value.toBool());
    case QMetaType::Double:
    case QMetaType::Float:
        return QCborValue(value.toDouble());
    case QMetaType::QString:
        return QCborValue(value.toString());
    case QMetaType::QByteArray:
        return QCborValue(value.toByteArray());
    case QMetaType::QUrl:
        return QCborValue(value.toUrl());
    case QMetaType::QDateTime:
        return QCborValue(value.toDateTime());
    case QMetaType::QVariantMap: {
        QCborMap map;
        const QVariantMap dictionary = value.toMap();
        for (auto it = dictionary.cbegin(); it != dictionary.cend(); ++it)
            map.insert(it.key(), encodeValue(MAPNullForNil(it.value())));
        return map;
    }
    default:
        break;
    }
    if (MAPIsArray(value)) {
        QCborArray array;
        for (const QVariant& element : value.toList())
            array.append(encodeValue(MAPNullForNil(element)));
        return array;
    }
    if (MAPIsNumber(value))
        return value.typeId() == QMetaType::ULongLong ? QCborValue(double(value.toULongLong()))
                                                      : QCborValue(value.toLongLong());
    raise(u"A value of type %1 cannot be archived"_s.arg(MAPValueClassName(value)));
}

qsizetype MAPKeyedArchiver::encodeModel(const MAPModelPtr& model)
{
    if (const auto it = m_ids.constFind(model.get()); it != m_ids.cend())
        return *it;
    const MAPClass* cls = model->modelClass();
    if (m_secure && !cls->supportsSecureCoding())
        raise(u"%1 does not support secure coding"_s.arg(cls->name()));
    const qsizetype id = m_objects.size();
    m_ids.insert(model.get(), id);
    m_keepAlive.append(model);
    QCborMap object;
    object.insert(kClassKey, cls->name());
    m_objects.append(object);
    const qsizetype outer = m_current;
    m_current = id;
    try {
        model->encodeWithCoder(*this);
    } catch (...) {
        m_current = outer;
        throw;
    }
    m_current = outer;
    return id;
}

QByteArray MAPKeyedArchiver::encodedData()
{
    for (const Conditional& c : m_conditionals) {
        if (const auto it = m_ids.constFind(c.model); it != m_ids.cend())
            m_objects[c.object].insert(c.key, QCborValue(kObjectReferenceTag, QCborValue(qint64(*it))));
    }
    m_conditionals.clear();
    QCborArray objects;
    for (const QCborMap& object : std::as_const(m_objects))
        objects.append(object);
    QCborMap archive;
    archive.insert(kObjectsKey, objects);
    return archive.toCborValue().toCbor();
}

// ---- unarchiver

MAPKeyedUnarchiver::MAPKeyedUnarchiver(QList<QCborMap> objects, bool secure)
    : m_objects(std::move(objects)), m_secure(secure)
{
}

std::unique_ptr<MAPKeyedUnarchiver> MAPKeyedUnarchiver::unarchiverWithData(
    const QByteArray& data, bool requiresSecureCoding)
{
    QCborParserError error;
    const QCborValue archive = QCborValue::fromCbor(data, &error);
    if (error.error != QCborError::NoError || !archive.isMap())
        return nullptr;
    const QCborValue objectsValue = archive.toMap().value(kObjectsKey);
    if (!objectsValue.isArray() || objectsValue.toArray().isEmpty())
        return nullptr;
    QList<QCborMap> objects;
    for (const QCborValue& object : objectsValue.toArray()) {
        if (!object.isMap())
            return nullptr;
        objects.append(object.toMap());
    }
    return std::unique_ptr<MAPKeyedUnarchiver>(
        new MAPKeyedUnarchiver(std::move(objects), requiresSecureCoding));
}

QVariant MAPKeyedUnarchiver::unarchivedObjectOfClasses(
    const QStringList& classNames, const QByteArray& data, bool requiresSecureCoding, QString* failure)
{
    const auto unarchiver = unarchiverWithData(data, requiresSecureCoding);
    if (!unarchiver) {
        if (failure)
            *failure = u"The data is not an archive"_s;
        return {};
    }
    try {
        return requiresSecureCoding ? unarchiver->decodeObjectOfClasses(classNames, kRootKey)
                                    : unarchiver->decodeObject(kRootKey);
    } catch (const MAPException& exception) {
        if (failure)
            *failure = exception.reason();
        return {};
    }
}

void MAPKeyedUnarchiver::encodeObject(const QVariant&, const QString&)
{
    raise(u"An unarchiver cannot encode"_s);
}

void MAPKeyedUnarchiver::encodeConditionalObject(const QVariant&, const QString&)
{
    raise(u"An unarchiver cannot encode"_s);
}

bool MAPKeyedUnarchiver::containsValueForKey(const QString& key) const
{
    return m_objects[m_current].contains(key);
}

QVariant MAPKeyedUnarchiver::decodeObject(const QString& key)
{
    const QCborValue value = m_objects[m_current].value(key);
    if (value.isUndefined())
        return {};
    return decodeValue(value, nullptr);
}

QVariant MAPKeyedUnarchiver::decodeObjectOfClasses(const QStringList& classNames, const QString& key)
{
    const QCborValue value = m_objects[m_current].value(key);
    if (value.isUndefined())
        return {};
    QVariant decoded = decodeValue(value, &classNames);
    if (MAPIsNull(decoded))
        return decoded;
    for (const QString& name : classNames) {
        if (valueIsKindOfClass(decoded, name))
            return decoded;
    }
    raise(u"The value for the key \"%1\" is of type %2, which is not among the allowed classes %3"_s.arg(
        key, MAPValueClassName(decoded), classNames.join(u", "_s)));
}

QVariant MAPKeyedUnarchiver::decodeValue(const QCborValue& value, const QStringList* allowed)
{
    if (value.isTag() && value.tag() == kObjectReferenceTag) {
        const qint64 id = value.taggedValue().toInteger(-1);
        return MAPValueFromModel(decodeModel(id, allowed));
    }
    if (value.isNull())
        return MAPNull();
    if (value.isArray()) {
        QVariantList list;
        for (const QCborValue& element : value.toArray())
            list.append(decodeValue(element, allowed));
        return list;
    }
    if (value.isMap()) {
        QVariantMap map;
        const QCborMap cbor = value.toMap();
        for (auto it = cbor.cbegin(); it != cbor.cend(); ++it)
            map.insert(it.key().toString(), decodeValue(it.value(), allowed));
        return map;
    }
    if (value.isInteger())
        return value.toInteger();
    if (value.isDouble())
        return value.toDouble();
    if (value.isBool())
        return value.toBool();
    if (value.isString())
        return value.toString();
    if (value.isByteArray())
        return value.toByteArray();
    if (value.isUrl())
        return value.toUrl();
    if (value.isDateTime())
        return value.toDateTime();
    raise(u"The archive holds a value of an unknown kind"_s);
}

MAPModelPtr MAPKeyedUnarchiver::decodeModel(qsizetype id, const QStringList* allowed)
{
    if (id <= 0 || id >= m_objects.size())
        raise(u"The archive refers to an object it does not hold"_s);
    if (const auto it = m_decoded.constFind(id); it != m_decoded.cend())
        return *it;
    const QString className = m_objects[id].value(kClassKey).toString();
    const MAPClass* cls = MAPClass::named(className);
    if (!cls)
        raise(u"The archive holds an object of the unknown class \"%1\""_s.arg(className));
    if (m_secure) {
        const bool permitted
            = allowed && std::any_of(allowed->cbegin(), allowed->cend(), [cls](const QString& name) {
                  const MAPClass* allowedClass = MAPClass::named(name);
                  return name == u"MAPModel" || (allowedClass && cls->isSubclassOf(allowedClass));
              });
        if (!permitted || !cls->supportsSecureCoding())
            raise(u"The class %1 is not allowed here"_s.arg(className));
    }
    MAPModelPtr model = cls->create();
    m_decoded.insert(id, model); // before decoding, so that cycles come back to this model
    const qsizetype outer = m_current;
    m_current = id;
    bool decoded = false;
    try {
        decoded = model->initWithCoder(*this);
    } catch (...) {
        m_current = outer;
        m_decoded.remove(id);
        throw;
    }
    m_current = outer;
    if (!decoded) {
        m_decoded.remove(id);
        return nullptr;
    }
    return model;
}
