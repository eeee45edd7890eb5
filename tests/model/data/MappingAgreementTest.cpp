#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"
#include "model/mapping/MAPJSONAdapter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

// The data file is read and written by a streaming reader and a direct writer for speed;
// the model classes also declare their JSON keys to the mapping layer. Both must agree.

namespace {

// Flags are written as 1 and 0; the generic layer writes booleans.
QJsonValue flagsAsNumbers(const QJsonValue& value)
{
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue& element : value.toArray())
            array.append(flagsAsNumbers(element));
        return array;
    }
    if (value.isObject()) {
        QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            *it = flagsAsNumbers(*it);
        return object;
    }
    return value;
}

QByteArray golden(const char* name)
{
    QFile file(QStringLiteral(MERVANE_DATA_GOLDEN_DIR) + u'/' + QString::fromLatin1(name) + u"/input.json"_s);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject genericJSON(const MAPModel* model)
{
    return flagsAsNumbers(QJsonObject::fromVariantMap(MAPJSONAdapter::JSONDictionaryFromModel(model)))
        .toObject();
}

// Element by element: the generic layer cannot yet write the optional object lists of the
// root and of the records (its optional codec hands the list on unconverted).
TEST(MappingAgreement, WriterWritesWhatTheDeclaredMappingWrites)
{
    for (const char* name : { "valid-full", "missing-keys", "flags-numbers-and-booleans" }) {
        const platform::Expected<ModelReadResult> read = ImportModel::read(golden(name));
        ASSERT_TRUE(read) << name;
        const QJsonObject ours = QJsonDocument::fromJson(*ModelJSONWriter::toJSON(*read->model)).object();
        const auto compareList = [&](const QString& key, const auto& items) {
            const QJsonArray written = ours[key].toArray();
            ASSERT_EQ(written.size(), items.size()) << name;
            for (qsizetype i = 0; i < items.size(); ++i)
                EXPECT_EQ(written[i].toObject(), genericJSON(items[i].get()))
                    << name << " " << key.toStdString();
        };
        compareList(u"a_cat"_s, *read->model->assetscat());
        compareList(u"l_cat"_s, *read->model->liabilitycat());
        compareList(u"tags"_s, *read->model->tags());
        const QJsonArray records = ours[u"nw_logs"_s].toArray();
        for (qsizetype r = 0; r < records.size(); ++r) {
            const auto& record = read->model->nwLogArray()->at(r);
            const QJsonArray values = records[r].toObject()[u"a_logs"_s].toArray();
            for (qsizetype i = 0; record->assetLogs() && i < record->assetLogs()->size(); ++i)
                EXPECT_EQ(values[i].toObject(), genericJSON(record->assetLogs()->at(i).get())) << name;
        }
    }
}

TEST(MappingAgreement, GenericAdapterReadsTheWrittenFileToAnEqualModel)
{
    const platform::Expected<ModelReadResult> read = ImportModel::read(golden("valid-full"));
    ASSERT_TRUE(read);
    const QByteArray written = *ModelJSONWriter::toJSON(*read->model);
    MAPError error;
    const auto generic
        = MAPJSONAdapter::modelOfClass<MVX_Model>(QJsonDocument::fromJson(written).toVariant(), &error);
    ASSERT_TRUE(generic) << error.localizedDescription().toStdString();
    EXPECT_TRUE(*generic == *read->model);
    EXPECT_TRUE(generic->isEqual(read->model.get()));
}

} // namespace
