#include "model/mapping/MAPValue.h"

#include "model/mapping/MAPClass.h"
#include "model/mapping/MAPJSONDocument.h"
#include "model/mapping/MAPModel.h"
#include "platform/Variants.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

MAPModelPtr MAPModelFromValue(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<MAPModelPtr>())
        return value.value<MAPModelPtr>();
    if (const MAPClass* cls = MAPClass::forPointerType(value.metaType()))
        return cls->unwrapPointer(value);
    return nullptr;
}

bool MAPIsNumber(const QVariant& value)
{
    return platform::isNumber(value);
}

bool MAPIsDictionary(const QVariant& value)
{
    const int type = value.typeId();
    if (type == QMetaType::QVariantMap || type == QMetaType::QJsonObject)
        return true;
    return value.metaType() == QMetaType::fromType<MAPJSONValue>()
        && static_cast<const MAPJSONValue*>(value.constData())->isObject();
}

bool MAPIsArray(const QVariant& value)
{
    const int type = value.typeId();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList || type == QMetaType::QJsonArray)
        return true;
    return value.metaType() == QMetaType::fromType<MAPJSONValue>()
        && static_cast<const MAPJSONValue*>(value.constData())->isArray();
}

QVariant MAPJSONValueFromDocument(const QJsonDocument& document)
{
    if (document.isObject())
        return QVariant::fromValue(document.object());
    if (document.isArray())
        return QVariant::fromValue(document.array());
    return {};
}

QVariant MAPValueFromJSONValue(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Object:
        return QVariant::fromValue(value.toObject());
    case QJsonValue::Array:
        return QVariant::fromValue(value.toArray());
    case QJsonValue::Undefined:
        return {};
    default:
        return value.toVariant();
    }
}

namespace {

bool isInteger(const QVariant& v)
{
    return MAPIsNumber(v) && v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float
        && v.typeId() != QMetaType::ULongLong;
}

QVariant typedListAsGeneric(const QVariant& value)
{
    const MAPClass* cls = MAPClass::forListType(value.metaType());
    if (!cls)
        return value;
    QVariantList list;
    for (const MAPModelPtr& m : cls->unwrapList(value))
        list.append(MAPValueFromModel(m));
    return list;
}

} // namespace

bool MAPValuesEqual(const QVariant& a, const QVariant& b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    if (MAPIsNumber(a) && MAPIsNumber(b)) {
        if (isInteger(a) && isInteger(b)) {
            return a.toLongLong() == b.toLongLong();
        }
        return a.toDouble() == b.toDouble();
    }
    const MAPModelPtr ma = MAPModelFromValue(a);
    const MAPModelPtr mb = MAPModelFromValue(b);
    if (ma || mb)
        return ma && mb && ma->isEqual(mb.get());
    if (MAPIsArray(a) && MAPIsArray(b)) {
        const QVariantList la = a.toList();
        const QVariantList lb = b.toList();
        if (la.size() != lb.size())
            return false;
        for (qsizetype i = 0; i < la.size(); ++i) {
            if (!MAPValuesEqual(la[i], lb[i]))
                return false;
        }
        return true;
    }
    if (MAPIsDictionary(a) && MAPIsDictionary(b)) {
        const QVariantMap da = a.toMap();
        const QVariantMap db = b.toMap();
        if (da.size() != db.size())
            return false;
        for (auto it = da.cbegin(); it != da.cend(); ++it) {
            const auto other = db.constFind(it.key());
            if (other == db.cend() || !MAPValuesEqual(it.value(), other.value()))
                return false;
        }
        return true;
    }
    if (a.typeId() >= QMetaType::User || b.typeId() >= QMetaType::User) {
        const QVariant ga = typedListAsGeneric(a);
        const QVariant gb = typedListAsGeneric(b);
        if (ga.typeId() != a.typeId() || gb.typeId() != b.typeId())
            return MAPValuesEqual(ga, gb);
    }
    return a == b;
}

size_t MAPValueHash(const QVariant& value)
{
    if (!value.isValid() || MAPIsNull(value))
        return 0;
    if (MAPIsNumber(value)) {
        const double d = value.toDouble();
        return d == 0 ? 0 : qHash(d);
    }
    if (const MAPModelPtr model = MAPModelFromValue(value))
        return model->hash();
    if (MAPIsArray(value))
        return size_t(value.toList().size());
    if (const MAPClass* cls = MAPClass::forListType(value.metaType()))
        return size_t(cls->unwrapList(value).size());
    if (MAPIsDictionary(value))
        return size_t(value.toMap().size());
    switch (value.typeId()) {
    case QMetaType::QString:
        return qHash(value.toString());
    case QMetaType::QByteArray:
        return qHash(value.toByteArray());
    case QMetaType::QUrl:
        return qHash(value.toUrl());
    case QMetaType::QDateTime:
        return qHash(value.toDateTime().toMSecsSinceEpoch());
    default:
        return 0;
    }
}

namespace {

QString indent(int level)
{
    return QString(level * 4, u' ');
}

bool needsQuotes(const QString& text)
{
    if (text.isEmpty())
        return true;
    for (const QChar c : text) {
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$' || c == u'/' || c == u':'))
            return true;
    }
    return false;
}

QString quoted(const QString& text)
{
    if (!needsQuotes(text))
        return text;
    QString out = u"\""_s;
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        if (c == u'\n')
            out += u"\\n"_s;
        else
            out += c;
    }
    return out + u'"';
}

QString describe(const QVariant& value, int level)
{
    if (!value.isValid())
        return u"(null)"_s;
    if (MAPIsNull(value))
        return u"<null>"_s;
    if (const MAPModelPtr model = MAPModelFromValue(value))
        return model->description();
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? u"1"_s : u"0"_s;
    if (MAPIsNumber(value))
        return value.toString();
    if (value.typeId() == QMetaType::QString)
        return quoted(value.toString());
    if (MAPIsArray(value)) {
        const QVariantList list = value.toList();
        if (list.isEmpty())
            return u"(\n"_s + indent(level) + u")"_s;
        QStringList parts;
        for (const QVariant& element : list)
            parts.append(indent(level + 1) + describe(element, level + 1));
        return u"(\n"_s + parts.join(u",\n"_s) + u"\n"_s + indent(level) + u")"_s;
    }
    if (MAPIsDictionary(value)) {
        const QVariantMap map = value.toMap();
        QString out = u"{\n"_s;
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            out += indent(level + 1) + quoted(it.key()) + u" = "_s + describe(it.value(), level + 1)
                + u";\n"_s;
        return out + indent(level) + u"}"_s;
    }
    if (MAPClass::forListType(value.metaType()))
        return describe(typedListAsGeneric(value), level);
    if (value.canConvert<QString>())
        return quoted(value.toString());
    return u"<"_s + QString::fromLatin1(value.typeName()) + u">"_s;
}

} // namespace

QString MAPValueDescription(const QVariant& value)
{
    return describe(value, 0);
}

QString MAPValueClassName(const QVariant& value)
{
    if (!value.isValid())
        return u"nil"_s;
    if (MAPIsNull(value))
        return u"null"_s;
    if (const MAPModelPtr model = MAPModelFromValue(value))
        return model->modelClass()->name();
    if (value.metaType() == QMetaType::fromType<MAPJSONValue>())
        return MAPIsDictionary(value) ? u"QVariantMap"_s : u"QVariantList"_s;
    return QString::fromLatin1(value.typeName());
}
