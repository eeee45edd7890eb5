// Writes models straight to compact JSON text: the same document as
// QJsonDocument(QJsonObject::fromVariantMap(JSONDictionaryFromModel(model))), without the
// dictionaries in between, which cost several times the writing itself for a large file.
#include "model/mapping/MAPJSONAdapter.h"
#include "model/mapping/MAPJSONPlan.h"
#include "model/mapping/MAPPropertyCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace {

void writeModel(QByteArray& out, const MAPModel& model);
void writeValue(QByteArray& out, const QVariant& value);

void writeString(QByteArray& out, const QString& text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u != '"' && u != '\\' && u < 0x80) {
            out += char(u);
            continue;
        }
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 0xF];
            } else {
                out += QStringView(&c, 1).toUtf8();
            }
        }
    }
    out += '"';
}

// Surrogate pairs must be encoded together; the loop above sees them one at a time.
void writeText(QByteArray& out, const QString& text)
{
    bool plain = true;
    for (const QChar c : text) {
        if (c.isSurrogate()) {
            plain = false;
            break;
        }
    }
    if (plain) {
        writeString(out, text);
        return;
    }
    // Rare: let Qt encode the whole string (it pairs surrogates and replaces lone ones).
    const QByteArray json = QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact);
    out += json.mid(1, json.size() - 2);
}

void writeDouble(QByteArray& out, double d)
{
    if (!std::isfinite(d)) {
        out += "null"; // JSON has no such number
        return;
    }
    out += QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
}

void writeJSONValue(QByteArray& out, const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        out += '{';
        bool first = true;
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!first)
                out += ',';
            first = false;
            writeText(out, it.key());
            out += ':';
            writeJSONValue(out, it.value());
        }
        out += '}';
        return;
    }
    case QJsonValue::Array: {
        out += '[';
        bool first = true;
        for (const QJsonValue& element : value.toArray()) {
            if (!first)
                out += ',';
            first = false;
            writeJSONValue(out, element);
        }
        out += ']';
        return;
    }
    default:
        out += QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact).chopped(1).mid(1);
    }
}

void writeValue(QByteArray& out, const QVariant& value)
{
    if (!value.isValid() || MAPIsNull(value)) {
        out += "null";
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        out += value.toBool() ? "true" : "false";
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UInt:
    case QMetaType::UShort:
        out += QByteArray::number(value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::ULongLong:
        writeDouble(out, value.toDouble());
        return;
    case QMetaType::QString:
        writeText(out, value.toString());
        return;
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        out += '{';
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (it != map.cbegin())
                out += ',';
            writeText(out, it.key());
            out += ':';
            writeValue(out, it.value());
        }
        out += '}';
        return;
    }
    case QMetaType::QJsonObject:
    case QMetaType::QJsonArray:
        writeJSONValue(out, QJsonValue::fromVariant(value));
        return;
    default:
        break;
    }
    if (MAPIsArray(value)) {
        const QVariantList list = value.toList();
        out += '[';
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (i)
                out += ',';
            writeValue(out, list[i]);
        }
        out += ']';
        return;
    }
    if (MAPModelFromValue(value)) { // a model with no transformer has no JSON form
        out += "null";
        return;
    }
    writeJSONValue(out, QJsonValue::fromVariant(value));
}

/// Nested models through the predefined transformers, written without dictionaries.
void writeThroughModelTransformer(
    QByteArray& out, const MAPModelValueTransformer& transformer, const QVariant& value)
{
    if (!transformer.isArray()) {
        const MAPModelPtr model = MAPModelFromValue(value);
        if (model)
            writeModel(out, *model);
        else
            out += "null";
        return;
    }
    if (!MAPIsArray(value)) {
        out += "null";
        return;
    }
    out += '[';
    bool first = true;
    for (const QVariant& element : value.toList()) {
        const MAPModelPtr model = MAPModelFromValue(element);
        if (!model && !MAPIsNull(element))
            continue; // as the transformer drops what it cannot convert
        if (!first)
            out += ',';
        first = false;
        if (model)
            writeModel(out, *model);
        else
            out += "null";
    }
    out += ']';
}

void writeModel(QByteArray& out, const MAPModel& model)
{
    const MAPClass* cls = model.modelClass();
    const MAPJSONPlan& plan = map_JSONPlanFor(cls);
    if (plan.nested) {
        // Dotted key paths share nested objects; the dictionary path builds them.
        writeValue(out, MAPJSONAdapter::JSONDictionaryFromModel(&model));
        return;
    }
    const QList<MAPClass::Property>& properties = cls->properties();
    out += '{';
    bool first = true;
    for (qsizetype index = 0; index < plan.entries.size(); ++index) {
        const MAPJSONPlan::Entry& entry = plan.entries[index];
        if (entry.keyPath.isNull())
            continue;
        if (!first)
            out += ',';
        first = false;
        writeText(out, entry.keyPath);
        out += ':';
        const MAPClass::Property& p = properties[index];
        const QVariant value = p.codec->toGeneric(p.meta.readOnGadget(&model));
        const MAPValueTransformer* transformer = entry.transformer.get();
        if (const auto* modelTransformer = dynamic_cast<const MAPModelValueTransformer*>(transformer)) {
            writeThroughModelTransformer(out, *modelTransformer, value);
        } else if (transformer && transformer->allowsReverseTransformation()) {
            try {
                writeValue(out, transformer->reverseTransformedValue(value));
            } catch (const MAPException& exception) {
                qWarning("MAPJSONAdapter: \"%s\" of %s cannot be written: %s", qUtf8Printable(entry.key),
                    qUtf8Printable(cls->name()), exception.what());
                out += "null";
            }
        } else {
            writeValue(out, value);
        }
    }
    out += '}';
}

} // namespace

QByteArray MAPJSONAdapter::JSONDataFromModel(const MAPModel* model)
{
    QByteArray out;
    if (!model)
        return "{}";
    writeModel(out, *model);
    return out;
}
