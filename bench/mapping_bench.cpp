// Cost of the model mapping layer on a data file of realistic size: JSON parse, JSON ->
// models, models -> JSON, and property access, against a plain QJsonDocument parse of the
// same bytes. Also compares gadget models with QObject models for the same properties.
#include "model/mapping/MAPJSONAdapter.h"
#include "model/mapping/MAPJSONDocument.h"
#include "model/mapping/MAPModel.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

class BMCategoryLog : public MAPModelSubclass<BMCategoryLog> {
    Q_GADGET
    Q_PROPERTY(QString categoryID MEMBER m_categoryID)
    Q_PROPERTY(std::optional<qint64> year MEMBER m_year)
    Q_PROPERTY(std::optional<qint64> month MEMBER m_month)
    Q_PROPERTY(std::optional<double> value MEMBER m_value)
    Q_PROPERTY(std::optional<double> exchangeRate MEMBER m_exchangeRate)
    Q_PROPERTY(std::optional<double> foreignValue MEMBER m_foreignValue)

public:
    static QVariantMap JSONKeyPathsByPropertyKey()
    {
        return { { u"categoryID"_s, u"cat"_s }, { u"exchangeRate"_s, u"exch"_s },
            { u"foreignValue"_s, u"fvalue"_s } };
    }

    QString m_categoryID;
    std::optional<qint64> m_year;
    std::optional<qint64> m_month;
    std::optional<double> m_value;
    std::optional<double> m_exchangeRate;
    std::optional<double> m_foreignValue;
};

/// The same properties on a QObject, for the gadget-or-QObject decision.
class BMCategoryLogObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString categoryID MEMBER m_categoryID)
    Q_PROPERTY(std::optional<qint64> year MEMBER m_year)
    Q_PROPERTY(std::optional<qint64> month MEMBER m_month)
    Q_PROPERTY(std::optional<double> value MEMBER m_value)
    Q_PROPERTY(std::optional<double> exchangeRate MEMBER m_exchangeRate)
    Q_PROPERTY(std::optional<double> foreignValue MEMBER m_foreignValue)

public:
    QString m_categoryID;
    std::optional<qint64> m_year;
    std::optional<qint64> m_month;
    std::optional<double> m_value;
    std::optional<double> m_exchangeRate;
    std::optional<double> m_foreignValue;
};

class BMNWLog : public MAPModelSubclass<BMNWLog> {
    Q_GADGET
    Q_PROPERTY(std::optional<qint64> year MEMBER m_year)
    Q_PROPERTY(std::optional<qint64> month MEMBER m_month)
    Q_PROPERTY(std::optional<qint64> TS MEMBER m_TS)
    Q_PROPERTY(QString note MEMBER m_note)
    Q_PROPERTY(std::optional<double> assets MEMBER m_assets)
    Q_PROPERTY(std::optional<double> liabilities MEMBER m_liabilities)
    Q_PROPERTY(std::optional<double> nw MEMBER m_nw)
    Q_PROPERTY(QList<std::shared_ptr<BMCategoryLog>> assetLogs MEMBER m_assetLogs)
    Q_PROPERTY(QList<std::shared_ptr<BMCategoryLog>> liabilityLogs MEMBER m_liabilityLogs)
    Q_PROPERTY(std::optional<double> gold MEMBER m_gold)
    Q_PROPERTY(std::optional<double> bitcoin MEMBER m_bitcoin)

public:
    static QVariantMap JSONKeyPathsByPropertyKey()
    {
        return { { u"assetLogs"_s, u"a_logs"_s }, { u"liabilityLogs"_s, u"l_logs"_s } };
    }
    Q_INVOKABLE static MAPValueTransformerPtr assetLogsJSONTransformer()
    {
        return map_JSONArrayTransformerWithModelClass<BMCategoryLog>();
    }
    Q_INVOKABLE static MAPValueTransformerPtr liabilityLogsJSONTransformer()
    {
        return map_JSONArrayTransformerWithModelClass<BMCategoryLog>();
    }

    std::optional<qint64> m_year, m_month, m_TS;
    QString m_note;
    std::optional<double> m_assets, m_liabilities, m_nw;
    QList<std::shared_ptr<BMCategoryLog>> m_assetLogs, m_liabilityLogs;
    std::optional<double> m_gold, m_bitcoin;
};

class BMRoot : public MAPModelSubclass<BMRoot> {
    Q_GADGET
    Q_PROPERTY(QString version MEMBER m_version)
    Q_PROPERTY(QList<std::shared_ptr<BMNWLog>> nwLogArray MEMBER m_nwLogArray)

public:
    static QVariantMap JSONKeyPathsByPropertyKey() { return { { u"nwLogArray"_s, u"nw_logs"_s } }; }
    Q_INVOKABLE static MAPValueTransformerPtr nwLogArrayJSONTransformer()
    {
        return map_JSONArrayTransformerWithModelClass<BMNWLog>();
    }

    QString m_version;
    QList<std::shared_ptr<BMNWLog>> m_nwLogArray;
};

namespace {

constexpr int kRecords = 600;
constexpr int kLogsPerSide = 98; // 600 x 196 category values: a data file of about 13 MB

QByteArray categoryLogJSON(int record, int index)
{
    return "{\"cat\":\"6F9619FF-8B86-D011-B42D-00C04FC9" + QByteArray::number(1000 + index) + "\",\"year\":"
        + QByteArray::number(1990 + record / 12) + ",\"month\":" + QByteArray::number(record % 12 + 1)
        + ",\"value\":" + QByteArray::number(1000.0 + index * 3.17 + record * 0.01, 'g', 17)
        + ",\"exch\":1.0,\"fvalue\":null}";
}

/// The synthetic data file; `objects` receives the number of models it holds.
const QByteArray& document(int* objects = nullptr)
{
    static int count = 0;
    static const QByteArray bytes = [] {
        QByteArray b = "{\"version\":\"2.12\",\"nw_logs\":[";
        for (int r = 0; r < kRecords; ++r) {
            if (r)
                b += ',';
            b += "{\"year\":" + QByteArray::number(1990 + r / 12)
                + ",\"month\":" + QByteArray::number(r % 12 + 1)
                + ",\"TS\":0,\"note\":\"Monthly "
                  "note\",\"assets\":123456.78,\"liabilities\":2345.5,\"nw\":121111.28,"
                  "\"gold\":null,\"bitcoin\":null,\"a_logs\":[";
            for (int c = 0; c < kLogsPerSide; ++c)
                b += (c ? "," : "") + categoryLogJSON(r, c);
            b += "],\"l_logs\":[";
            for (int c = 0; c < kLogsPerSide; ++c)
                b += (c ? "," : "") + categoryLogJSON(r, kLogsPerSide + c);
            b += "]}";
            ++count;
            count += 2 * kLogsPerSide;
        }
        b += "]}";
        return b;
    }();
    if (objects)
        *objects = count + 1;
    return bytes;
}

void reportDocument(benchmark::State& state)
{
    int objects = 0;
    state.SetBytesProcessed(int64_t(state.iterations()) * document(&objects).size());
    state.counters["objects"] = objects;
    state.counters["per_object"] = benchmark::Counter(
        double(objects) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The three ways to turn the bytes into what the adapter reads.
QVariant ownDocument(const QByteArray& bytes)
{
    return *MAPJSONDocument::parse(bytes);
}

QVariant qtDocumentInPlace(const QByteArray& bytes)
{
    return MAPJSONValueFromDocument(QJsonDocument::fromJson(bytes));
}

QVariant qtDocumentAsVariant(const QByteArray& bytes)
{
    return QJsonDocument::fromJson(bytes).toVariant();
}

std::shared_ptr<BMRoot> loadedRoot()
{
    return MAPJSONAdapter::modelOfClass<BMRoot>(ownDocument(document()));
}

} // namespace

template <class Parse> static void BM_Parse(benchmark::State& state, Parse parse)
{
    const QByteArray& bytes = document();
    for (auto _ : state)
        benchmark::DoNotOptimize(parse(bytes));
    reportDocument(state);
}
BENCHMARK_CAPTURE(BM_Parse, MAPJSONDocument, ownDocument)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Parse, QJsonDocument, [](const QByteArray& b) {
    return QJsonDocument::fromJson(b);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Parse, QJsonDocumentToVariant, qtDocumentAsVariant)->Unit(benchmark::kMillisecond);

/// Bytes to models: parse and map.
template <class Read> static void BM_Load(benchmark::State& state, Read read)
{
    const QByteArray& bytes = document();
    for (auto _ : state) {
        MAPError error;
        auto root = MAPJSONAdapter::modelOfClass<BMRoot>(read(bytes), &error);
        if (!root || root->m_nwLogArray.size() != kRecords)
            state.SkipWithError("the document did not load");
        benchmark::DoNotOptimize(root);
    }
    reportDocument(state);
}
BENCHMARK_CAPTURE(BM_Load, MAPJSONDocument, ownDocument)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, QJsonObjectInPlace, qtDocumentInPlace)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, QJsonDocumentToVariant, qtDocumentAsVariant)->Unit(benchmark::kMillisecond);

/// Parsed document to models: the mapping alone.
template <class Read> static void BM_Map(benchmark::State& state, Read read)
{
    const QVariant json = read(document());
    for (auto _ : state)
        benchmark::DoNotOptimize(MAPJSONAdapter::modelOfClass<BMRoot>(json));
    reportDocument(state);
}
BENCHMARK_CAPTURE(BM_Map, MAPJSONDocument, ownDocument)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Map, QJsonObjectInPlace, qtDocumentInPlace)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Map, QVariantMap, qtDocumentAsVariant)->Unit(benchmark::kMillisecond);

/// Models to bytes.
template <class Write> static void BM_Write(benchmark::State& state, Write write)
{
    const auto root = loadedRoot();
    for (auto _ : state)
        benchmark::DoNotOptimize(write(root));
    reportDocument(state);
}
BENCHMARK_CAPTURE(BM_Write, JSONDataFromModel, [](const MAPModelPtr& root) {
    return MAPJSONAdapter::JSONDataFromModel(root);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, JSONDictionaryFromModelThenQJsonDocument, [](const MAPModelPtr& root) {
    return QJsonDocument(QJsonObject::fromVariantMap(MAPJSONAdapter::JSONDictionaryFromModel(root)))
        .toJson(QJsonDocument::Compact);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, JSONDictionaryFromModelOnly, [](const MAPModelPtr& root) {
    return MAPJSONAdapter::JSONDictionaryFromModel(root);
})->Unit(benchmark::kMillisecond);

static void BM_QJsonDocumentWriteParsed(benchmark::State& state)
{
    const QJsonDocument parsed = QJsonDocument::fromJson(document());
    for (auto _ : state)
        benchmark::DoNotOptimize(parsed.toJson(QJsonDocument::Compact));
    reportDocument(state);
}
BENCHMARK(BM_QJsonDocumentWriteParsed)->Unit(benchmark::kMillisecond);

static void BM_SmallModelsFromDictionariesAndBack(benchmark::State& state)
{
    QVariantList dictionaries;
    for (int i = 0; i < 100000; ++i)
        dictionaries.append(QJsonDocument::fromJson(categoryLogJSON(i / 160, i % 160)).toVariant());
    const MAPClass* cls = MAPClass::of<BMCategoryLog>();
    for (auto _ : state) {
        for (const QVariant& dictionary : dictionaries) {
            const MAPModelPtr model = MAPJSONAdapter::modelOfClass(cls, dictionary);
            benchmark::DoNotOptimize(MAPJSONAdapter::JSONDictionaryFromModel(model));
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * dictionaries.size());
}
BENCHMARK(BM_SmallModelsFromDictionariesAndBack)->Unit(benchmark::kMillisecond);

static void BM_PropertyAccessThroughLayer(benchmark::State& state)
{
    const auto log
        = BMCategoryLog::modelWithDictionary({ { u"value"_s, 12.5 }, { u"categoryID"_s, u"A"_s } });
    const QString key = u"value"_s;
    double sum = 0;
    for (auto _ : state)
        sum += log->valueForKey(key).toDouble();
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PropertyAccessThroughLayer);

static void BM_PropertyAccessDirect(benchmark::State& state)
{
    const auto log = BMCategoryLog::modelWithDictionary({ { u"value"_s, 12.5 } });
    double sum = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(log.get());
        sum += log->m_value.value_or(0);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PropertyAccessDirect);

namespace {

// Gadget or QObject: make an object and store its six properties through the meta-object.
template <class Store> void fillSixProperties(Store&& store)
{
    store("categoryID", QVariant(u"6F9619FF-8B86-D011-B42D-00C04FC964FF"_s));
    store("year", QVariant::fromValue(std::optional<qint64>(2020)));
    store("month", QVariant::fromValue(std::optional<qint64>(5)));
    store("value", QVariant::fromValue(std::optional<double>(12.5)));
    store("exchangeRate", QVariant::fromValue(std::optional<double>(1.0)));
    store("foreignValue", QVariant::fromValue(std::optional<double>()));
}

/// Writes one property through the meta-object: QObjects and gadgets have different calls.
void writeProperty(BMCategoryLog* model, const QMetaProperty& p, const QVariant& v)
{
    p.writeOnGadget(model, v);
}

void writeProperty(BMCategoryLogObject* model, const QMetaProperty& p, const QVariant& v)
{
    p.write(model, v);
}

} // namespace

template <class Model> static void BM_CreateModel(benchmark::State& state)
{
    const QMetaObject& mo = Model::staticMetaObject;
    QHash<QByteArray, QMetaProperty> properties;
    for (int i = mo.propertyOffset(); i < mo.propertyCount(); ++i)
        properties.insert(mo.property(i).name(), mo.property(i));
    for (auto _ : state) {
        auto model = std::make_shared<Model>();
        fillSixProperties(
            [&](const char* name, const QVariant& v) { writeProperty(model.get(), properties[name], v); });
        benchmark::DoNotOptimize(model);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_TEMPLATE(BM_CreateModel, BMCategoryLog);
BENCHMARK_TEMPLATE(BM_CreateModel, BMCategoryLogObject);

// Making and dropping 100,000 objects without touching properties: allocation and set-up only.
template <class Model> static void BM_Allocate(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::shared_ptr<Model>> models;
        models.reserve(100000);
        for (int i = 0; i < 100000; ++i)
            models.push_back(std::make_shared<Model>());
        benchmark::DoNotOptimize(models);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 100000);
    state.counters["bytes_per_object"] = double(sizeof(Model));
}
BENCHMARK_TEMPLATE(BM_Allocate, BMCategoryLog)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Allocate, BMCategoryLogObject)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "mapping_bench.moc"
