#include "model/mapping/MAPRuntime.h"

#include "model/mapping/MAPClass.h"
#include "model/mapping/MAPModel.h"

#include <QStringEncoder>

#include <cctype>
#include <cstdio>

namespace {

std::optional<QByteArray> utf8(QStringView text)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

void report(const char* format, const QByteArray& a, const QByteArray& b = {}, const QByteArray& c = {})
{
    // The texts are data; only the fixed format above interprets anything.
    std::fprintf(stderr, format, a.constData(), b.constData(), c.constData());
    std::fputc('\n', stderr);
}

/// Length of the type encoding at the start of `type`, or -1 when it cannot be read past.
qsizetype typeLength(const QByteArray& type, qsizetype from)
{
    if (from >= type.size())
        return -1;
    const char c = type[from];
    switch (c) {
    case '@':
        if (from + 1 < type.size() && type[from + 1] == '"') {
            const qsizetype close = type.indexOf('"', from + 2);
            return close < 0 ? type.size() - from : close + 1 - from;
        }
        return 1;
    case '^': {
        const qsizetype inner = typeLength(type, from + 1);
        return inner < 0 ? -1 : inner + 1;
    }
    case '[':
    case '{':
    case '(': {
        const char close = c == '[' ? ']' : (c == '{' ? '}' : ')');
        int depth = 0;
        for (qsizetype i = from; i < type.size(); ++i) {
            if (type[i] == c)
                ++depth;
            else if (type[i] == close && --depth == 0)
                return i + 1 - from;
        }
        return -1;
    }
    case 'c':
    case 'i':
    case 's':
    case 'l':
    case 'q':
    case 'C':
    case 'I':
    case 'S':
    case 'L':
    case 'Q':
    case 'f':
    case 'd':
    case 'B':
    case 'v':
    case '*':
    case '#':
    case ':':
    case '?':
        return 1;
    default:
        return -1;
    }
}

QByteArray capitalizedSetter(const QByteArray& name)
{
    QByteArray setter = "set" + name;
    if (name.size() > 0)
        setter[3] = char(std::toupper(static_cast<unsigned char>(setter[3])));
    return setter + ":";
}

} // namespace

QByteArray MAPSelectorWithKeyAndSuffix(const QString& key, const char* suffix)
{
    const auto bytes = utf8(key);
    if (!bytes)
        return {};
    return *bytes + suffix;
}

QByteArray MAPSelectorWithPrefixCapitalizedKeyAndSuffix(
    const char* prefix, const QString& key, const char* suffix)
{
    if (key.isEmpty())
        return {};
    const auto first = utf8(QString(key.at(0)).toUpper());
    const auto rest = utf8(QStringView(key).mid(1));
    if (!first || !rest)
        return {};
    return QByteArray(prefix) + *first + *rest + suffix;
}

std::unique_ptr<map_propertyAttributes> map_parsePropertyAttributes(const QMetaProperty& property)
{
    return map_parsePropertyAttributes(MAPClass::attributeString(property), property.name());
}

std::unique_ptr<map_propertyAttributes> map_parsePropertyAttributes(const QByteArray& attrs, const char* name)
{
    const QByteArray propertyName(name ? name : "");
    if (attrs.isNull()) {
        report("ERROR: Could not get attribute string from property %s", propertyName);
        return nullptr;
    }
    if (!attrs.startsWith('T')) {
        report(
            "ERROR: Expected attribute string \"%s\" for property %s to start with 'T'", attrs, propertyName);
        return nullptr;
    }
    const qsizetype length = typeLength(attrs, 1);
    if (length < 0) {
        report("ERROR: Could not read past type in attribute string \"%s\" for property %s", attrs,
            propertyName);
        return nullptr;
    }
    if (length == 0) {
        report("ERROR: Invalid type in attribute string \"%s\" for property %s", attrs, propertyName);
        return nullptr;
    }
    auto result = std::make_unique<map_propertyAttributes>();
    result->type = attrs.mid(1, length);
    if (result->type.startsWith("@\"")) {
        const qsizetype close = result->type.indexOf('"', 2);
        if (close < 0) {
            report("ERROR: Could not read class name in attribute string \"%s\" for property %s", attrs,
                propertyName);
            return nullptr;
        }
        result->objectClassName = result->type.mid(2, close - 2);
        if (!result->objectClassName.isEmpty())
            result->objectClass = MAPClass::named(QString::fromLatin1(result->objectClassName));
    }

    qsizetype pos = attrs.indexOf(',', 1 + length);
    if (pos < 0)
        pos = attrs.size();
    while (pos < attrs.size() && attrs[pos] == ',') {
        if (pos + 1 >= attrs.size()) { // a comma at the very end
            ++pos;
            break;
        }
        const char flag = attrs[pos + 1];
        pos += 2;
        switch (flag) {
        case 'R':
            result->readonly = true;
            break;
        case 'C':
            result->memoryPolicy = map_propertyAttributes::Copy;
            break;
        case '&':
            result->memoryPolicy = map_propertyAttributes::Retain;
            break;
        case 'N':
            result->nonatomic = true;
            break;
        case 'D':
            result->dynamic = true;
            result->ivar = QByteArray();
            break;
        case 'W':
            result->weak = true;
            break;
        case 'P':
            result->canBeCollected = true;
            break;
        case 'G':
        case 'S': {
            qsizetype end = attrs.indexOf(',', pos);
            if (end < 0)
                end = attrs.size();
            const QByteArray selector = attrs.mid(pos, end - pos);
            if (selector.isEmpty()) {
                report("ERROR: Found zero length selector name in attribute string \"%s\" for property %s",
                    attrs, propertyName);
                return nullptr;
            }
            (flag == 'G' ? result->getter : result->setter) = selector;
            pos = end;
            break;
        }
        case 'V': {
            const QByteArray ivar = attrs.mid(pos);
            result->ivar = ivar.isEmpty() ? QByteArray() : ivar;
            pos = attrs.size();
            break;
        }
        case 't': {
            report("ERROR: Old-style type encoding is unsupported in attribute string \"%s\" for property %s",
                attrs, propertyName);
            const qsizetype end = attrs.indexOf(',', pos);
            pos = end < 0 ? attrs.size() : end;
            break;
        }
        default: {
            const char letter[2] = { flag, 0 };
            report(
                "ERROR: Unrecognized attribute string flag '%s' in attribute string \"%s\" for property %s",
                QByteArray(letter), attrs, propertyName);
            const qsizetype end = attrs.indexOf(',', pos);
            pos = end < 0 ? attrs.size() : end;
            break;
        }
        }
    }
    if (pos < attrs.size()) {
        report("Warning: Unparsed data \"%s\" in attribute string \"%s\" for property %s", attrs.mid(pos),
            attrs, propertyName);
    }
    if (result->getter.isEmpty())
        result->getter = propertyName;
    if (result->setter.isEmpty())
        result->setter = capitalizedSetter(propertyName);
    return result;
}

bool MAPValidateAndStoreValue(
    MAPModel* object, const QString& key, const QVariant& value, bool forceUpdate, MAPError* outError)
{
    const int index = object->modelClass()->indexOfPropertyKey(key);
    if (index < 0) {
        MAPSetError(outError,
            map_modelErrorWithException(MAPException(QString::fromLatin1(MAPUndefinedKeyException),
                QStringLiteral("%1 has no property named \"%2\"").arg(object->modelClass()->name(), key))));
        return false;
    }
    return object->validateAndStoreProperty(index, value, forceUpdate, outError);
}
