#include "model/mapping/MAPJSONAdapter.h"

#include "model/mapping/MAPJSONDocument.h"
#include "model/mapping/MAPJSONPlan.h"
#include "model/mapping/MAPPropertyCodec.h"
#include "model/mapping/MAPRuntime.h"
#include "platform/Strings.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QVarLengthArray>

using namespace Qt::Literals::StringLiterals;

namespace {

thread_local MAPSkippedElementCounter* t_innermostCounter = nullptr;
using JSONPlan = MAPJSONPlan;

MAPValueTransformerPtr transformerFromClass(const MAPClass* cls, const QString& key)
{
    bool found = false;
    MAPValueTransformerPtr transformer
        = cls->invokeTransformerHook(MAPSelectorWithKeyAndSuffix(key, "JSONTransformer"), &found);
    if (found)
        return transformer;
    if (cls->respondsToJSONTransformerForKey())
        return cls->JSONTransformerForKey(key);
    return nullptr;
}

} // namespace

/// The plan lives in its class's cache slot for the rest of the process.
struct MAPJSONPlanAccess {
    static std::atomic<const void*>& slot(const MAPClass* cls) { return cls->m_JSONPlan; }
};

const MAPJSONPlan& map_JSONPlanFor(const MAPClass* cls)
{
    std::atomic<const void*>& slot = MAPJSONPlanAccess::slot(cls);
    if (const void* cached = slot.load(std::memory_order_acquire))
        return *static_cast<const JSONPlan*>(cached);
    auto* plan = new JSONPlan;
    plan->keyPaths = cls->JSONKeyPathsByPropertyKey();
    for (auto it = plan->keyPaths.cbegin(); it != plan->keyPaths.cend(); ++it) {
        if (!cls->hasPropertyKey(it.key())
            || !(it.value().typeId() == QMetaType::QString || MAPIsNull(it.value())))
            plan->mappingValid = false;
    }
    for (const QString& key : cls->propertyKeys()) {
        JSONPlan::Entry entry;
        entry.key = key;
        const auto mapped = plan->keyPaths.constFind(key);
        if (mapped == plan->keyPaths.cend())
            entry.keyPath = key;
        else if (!MAPIsNull(mapped.value()))
            entry.keyPath = mapped.value().toString();
        if (!entry.keyPath.isNull()) {
            entry.components = entry.keyPath.split(u'.');
            plan->nested = plan->nested || entry.components.size() > 1;
            const bool latin1 = std::all_of(
                entry.keyPath.cbegin(), entry.keyPath.cend(), [](QChar c) { return c.unicode() < 0x80; });
            for (const QString& component : std::as_const(entry.components)) {
                if (latin1)
                    entry.latin1Components.append(component.toLatin1());
                entry.utf8Components.append(component.toUtf8());
            }
        }
        entry.transformer = transformerFromClass(cls, key);
        plan->entryIndex.insert(key, int(plan->entries.size()));
        plan->entries.append(entry);
    }
    // Two threads may build the plan at once; both are equal and the first one stays.
    const void* expected = nullptr;
    if (!slot.compare_exchange_strong(expected, plan, std::memory_order_acq_rel)) {
        delete plan;
        return *static_cast<const JSONPlan*>(expected);
    }
    return *plan;
}

namespace {

const MAPJSONPlan& planFor(const MAPClass* cls)
{
    return map_JSONPlanFor(cls);
}

MAPError adapterError(int code, const QString& description, const QString& reason, QVariantMap extra = {})
{
    return MAPError::make(
        QString::fromLatin1(MAPJSONAdapterErrorDomain), code, description, reason, std::move(extra));
}

enum class Lookup { Found, Absent, NotADictionary };

/// The member `key` of a dictionary value (a QVariantMap, a QJsonObject or a MAPJSONValue);
/// false when absent.
bool member(const QVariant& dictionary, const QString& key, const QByteArray* latin1, const QByteArray& utf8,
    QVariant* out)
{
    if (dictionary.metaType() == QMetaType::fromType<MAPJSONValue>()) {
        MAPJSONValue value;
        if (!static_cast<const MAPJSONValue*>(dictionary.constData())->member(utf8, &value))
            return false;
        *out = value.toValue();
        return true;
    }
    if (dictionary.typeId() == QMetaType::QJsonObject) {
        const auto* object = static_cast<const QJsonObject*>(dictionary.constData());
        const auto it = latin1 ? object->constFind(QLatin1StringView(*latin1)) : object->constFind(key);
        if (it == object->constEnd())
            return false;
        *out = MAPValueFromJSONValue(it.value());
        return true;
    }
    const auto* map = static_cast<const QVariantMap*>(dictionary.constData());
    const auto it = map->constFind(key);
    if (it == map->cend())
        return false;
    *out = it.value();
    return true;
}

Lookup valueAtKeyPath(const QVariant& dictionary, const MAPJSONPlan::Entry& entry, QVariant* out)
{
    const QStringList& components = entry.components;
    const auto latin1At = [&](qsizetype i) {
        return entry.latin1Components.isEmpty() ? nullptr : &entry.latin1Components[i];
    };
    if (components.size() == 1) {
        return member(dictionary, components.first(), latin1At(0), entry.utf8Components.first(), out)
            ? Lookup::Found
            : Lookup::Absent;
    }
    QVariant current = dictionary;
    for (qsizetype i = 0; i < components.size(); ++i) {
        QVariant next;
        if (!member(current, components[i], latin1At(i), entry.utf8Components[i], &next))
            return Lookup::Absent;
        if (i + 1 == components.size()) {
            *out = std::move(next);
            return Lookup::Found;
        }
        if (MAPIsNull(next))
            return Lookup::Absent;
        if (!MAPIsDictionary(next))
            return Lookup::NotADictionary;
        current = std::move(next);
    }
    return Lookup::Absent;
}

void setValueAtKeyPath(
    QVariantMap& dictionary, const QStringList& components, qsizetype from, const QVariant& value)
{
    if (from + 1 == components.size()) {
        dictionary.insert(components[from], value);
        return;
    }
    QVariant& slot = dictionary[components[from]];
    QVariantMap nested = MAPIsDictionary(slot) ? slot.toMap() : QVariantMap();
    slot = QVariant(); // drop the shared reference so `nested` is detached only once
    setValueAtKeyPath(nested, components, from + 1, value);
    slot = nested;
}

} // namespace

MAPSkippedElementCounter::MAPSkippedElementCounter() : m_outer(t_innermostCounter)
{
    t_innermostCounter = this;
}

MAPSkippedElementCounter::~MAPSkippedElementCounter()
{
    t_innermostCounter = m_outer;
}

void MAPSkippedElementCounter::add(int n)
{
    for (MAPSkippedElementCounter* c = t_innermostCounter; c; c = c->m_outer)
        c->m_count += n;
}

MAPJSONAdapter::MAPJSONAdapter(const MAPClass* modelClass) : m_modelClass(modelClass)
{
}

MAPJSONAdapter::MAPJSONAdapter(MAPModelPtr model)
    : m_model(std::move(model)), m_modelClass(m_model ? m_model->modelClass() : nullptr)
{
    if (m_modelClass)
        m_JSONKeyPathsByPropertyKey = planFor(m_modelClass).keyPaths;
}

std::unique_ptr<MAPJSONAdapter> MAPJSONAdapter::adapterWithJSONDictionary(
    const QVariant& JSONDictionary, const MAPClass* modelClass, MAPError* error)
{
    if (!MAPIsDictionary(JSONDictionary)) {
        MAPSetError(error,
            adapterError(InvalidJSONDictionary, platform::Strings::tr("Missing JSON dictionary"),
                platform::Strings::tr(
                    "%1 could not be created because an invalid JSON dictionary was provided: %2")
                    .arg(modelClass ? modelClass->name() : u"nil"_s, MAPValueClassName(JSONDictionary))));
        return nullptr;
    }
    if (modelClass && modelClass->respondsToClassForParsingJSONDictionary()) {
        modelClass = modelClass->classForParsingJSONDictionary(JSONDictionary.toMap());
        if (!modelClass) {
            MAPSetError(error,
                adapterError(NoClassFound, platform::Strings::tr("Could not parse JSON"),
                    platform::Strings::tr("No model class could be found to parse the JSON dictionary.")));
            return nullptr;
        }
    }
    if (!modelClass)
        return nullptr;
    std::unique_ptr<MAPJSONAdapter> adapter(new MAPJSONAdapter(modelClass));
    if (!adapter->parse(JSONDictionary, error))
        return nullptr;
    return adapter;
}

bool MAPJSONAdapter::parse(const QVariant& JSONDictionary, MAPError* error)
{
    const JSONPlan& plan = planFor(m_modelClass);
    m_JSONKeyPathsByPropertyKey = plan.keyPaths;
    if (!plan.mappingValid)
        return false;

    // Property values by index into the class's properties (the plan's entries follow them).
    QVarLengthArray<std::pair<qsizetype, QVariant>, 16> values;
    for (qsizetype index = 0; index < plan.entries.size(); ++index) {
        const JSONPlan::Entry& entry = plan.entries[index];
        if (entry.keyPath.isNull())
            continue;
        QVariant value;
        switch (valueAtKeyPath(JSONDictionary, entry, &value)) {
        case Lookup::Absent:
            continue;
        case Lookup::NotADictionary: {
            const MAPException exception(QString::fromLatin1(MAPInvalidArgumentException),
                u"The key path \"%1\" passes through a value that is not a dictionary"_s.arg(entry.keyPath));
            MAPSetError(error,
                adapterError(InvalidJSONDictionary, platform::Strings::tr("Invalid JSON dictionary"),
                    platform::Strings::tr(
                        "%1 could not be parsed because an invalid JSON dictionary was provided for key "
                        "path \"%2\"")
                        .arg(m_modelClass->name(), entry.keyPath),
                    { { QString::fromLatin1(MAPJSONAdapterThrownExceptionErrorKey),
                        QVariant::fromValue(exception) } }));
            return false;
        }
        case Lookup::Found:
            break;
        }
        try {
            if (entry.transformer)
                value = MAPNullForNil(entry.transformer->transformedValue(MAPNilForNull(value)));
            values.append({ index, std::move(value) });
        } catch (const MAPException& exception) {
            MAPSetError(error,
                adapterError(ExceptionThrown, exception.description(), exception.reason(),
                    { { QString::fromLatin1(MAPJSONAdapterThrownExceptionErrorKey),
                        QVariant::fromValue(exception) } }));
            return false;
        }
    }
    MAPModelPtr model = m_modelClass->create();
    static const QVariant nil;
    for (const auto& [index, value] : values) {
        if (!model->validateAndStoreProperty(int(index), MAPIsNull(value) ? nil : value, true, error))
            return false;
    }
    m_model = std::move(model);
    return true;
}

QVariantMap MAPJSONAdapter::JSONDictionary() const
{
    QVariantMap result;
    if (!m_model)
        return result;
    const JSONPlan& plan = planFor(m_modelClass);
    const QVariantMap values = m_model->dictionaryValue();
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const int index = plan.entryIndex.value(it.key(), -1);
        if (index < 0)
            continue;
        const JSONPlan::Entry& entry = plan.entries[index];
        if (entry.keyPath.isNull())
            continue;
        QVariant value = it.value();
        if (entry.transformer && entry.transformer->allowsReverseTransformation()) {
            try {
                value = MAPNullForNil(entry.transformer->reverseTransformedValue(MAPNilForNull(value)));
            } catch (const MAPException& exception) {
                // Only a faulty class declaration gets here; the key is written as null.
                qWarning("MAPJSONAdapter: \"%s\" of %s cannot be written: %s", qUtf8Printable(entry.key),
                    qUtf8Printable(m_modelClass->name()), exception.what());
                value = MAPNull();
            }
        }
        setValueAtKeyPath(result, entry.components, 0, value);
    }
    return result;
}

MAPValueTransformerPtr MAPJSONAdapter::JSONTransformerForKey(const QString& key) const
{
    const JSONPlan& plan = planFor(m_modelClass);
    const int index = plan.entryIndex.value(key, -1);
    return index >= 0 ? plan.entries[index].transformer : transformerFromClass(m_modelClass, key);
}

QString MAPJSONAdapter::JSONKeyPathForPropertyKey(const QString& key) const
{
    const auto it = m_JSONKeyPathsByPropertyKey.constFind(key);
    if (it == m_JSONKeyPathsByPropertyKey.cend())
        return key;
    if (MAPIsNull(it.value()))
        return QString();
    return it.value().toString();
}

MAPModelPtr MAPJSONAdapter::modelOfClass(
    const MAPClass* modelClass, const QVariant& JSONDictionary, MAPError* error)
{
    const auto adapter = adapterWithJSONDictionary(JSONDictionary, modelClass, error);
    return adapter ? adapter->model() : nullptr;
}

std::optional<QList<MAPModelPtr>> MAPJSONAdapter::modelsOfClass(
    const MAPClass* modelClass, const QVariant& JSONArray, MAPError* error)
{
    if (!MAPIsArray(JSONArray)) {
        MAPSetError(error,
            adapterError(InvalidJSONDictionary, platform::Strings::tr("Missing JSON array"),
                platform::Strings::tr(
                    "%1 could not be created because an invalid JSON array was provided: %2")
                    .arg(modelClass ? modelClass->name() : u"nil"_s, MAPValueClassName(JSONArray))));
        return std::nullopt;
    }
    QList<MAPModelPtr> models;
    const QVariantList array = JSONArray.toList();
    models.reserve(array.size());
    for (const QVariant& element : array) {
        MAPModelPtr model = modelOfClass(modelClass, element, error);
        if (!model)
            return std::nullopt;
        models.append(std::move(model));
    }
    return models;
}

QVariantMap MAPJSONAdapter::JSONDictionaryFromModel(const MAPModel* model)
{
    if (!model)
        return {};
    // The adapter keeps its model by reference; this one is only borrowed for the call.
    const MAPJSONAdapter adapter(MAPModelPtr(const_cast<MAPModel*>(model), [](MAPModel*) {}));
    return adapter.JSONDictionary();
}

std::optional<QVariantList> MAPJSONAdapter::JSONArrayFromModels(const QList<MAPModelPtr>& models)
{
    QVariantList array;
    array.reserve(models.size());
    for (const MAPModelPtr& model : models) {
        if (!model)
            return std::nullopt;
        array.append(JSONDictionaryFromModel(model));
    }
    return array;
}
