#include "model/data/ImportModel.h"
#include "model/data/MVX_CategoryEx.h"
#include "model/data/ModelJSONWriter.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>
#include <ctime>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

std::shared_ptr<MVX_NWLog> record(int year, int month)
{
    auto log = std::make_shared<MVX_NWLog>();
    log->setYear(year);
    log->setMonth(month);
    return log;
}

TEST(ModelFormat, DoublesReadBackAsTheSameValues)
{
    const double values[] = { 0.1, 1.0 / 3.0, 1e300, -1e-300, 5e-324, 123456789.123456789,
        std::numeric_limits<double>::max(), 2500000.0 };
    auto model = MVX_Model::makeEmpty();
    for (double v : values) {
        auto log = record(2020, 1);
        log->setAssets(v);
        log->setGold(-v);
        auto value = std::make_shared<MVX_CategoryLog>();
        value->setValue(v);
        value->setExchangeRate(v);
        log->setAssetLogs(MVX_CategoryLogList { value });
        model->nwLogArray()->append(log);
    }
    model->setRidIrevuGoal(0.30000000000000004);
    const auto bytes = ModelJSONWriter::toJSON(*model);
    ASSERT_TRUE(bytes);
    const platform::Expected<ModelReadResult> back = ImportModel::read(*bytes);
    ASSERT_TRUE(back) << back.errorIfAny().value_or(QString()).toStdString();
    ASSERT_EQ(back->model->nwLogArray()->size(), std::size(values));
    for (qsizetype i = 0; i < back->model->nwLogArray()->size(); ++i) {
        const auto& log = back->model->nwLogArray()->at(i);
        EXPECT_EQ(*log->assets(), values[i]);
        EXPECT_EQ(*log->assetLogs()->first()->exchangeRate(), values[i]);
    }
    EXPECT_EQ(*back->model->ridIrevuGoal(), 0.30000000000000004);
}

TEST(ModelFormat, NonFiniteNumbersAreRefusedWithTheirKey)
{
    for (double bad : { std::nan(""), std::numeric_limits<double>::infinity() }) {
        auto model = MVX_Model::makeEmpty();
        auto log = record(2020, 1);
        auto value = std::make_shared<MVX_CategoryLog>();
        value->setForeignValue(bad);
        log->setLiabilityLogs(MVX_CategoryLogList { value });
        model->nwLogArray()->append(log);
        const platform::Expected<QByteArray> refused = ModelJSONWriter::toJSON(*model);
        ASSERT_FALSE(refused);
        EXPECT_TRUE(refused.error().contains(u"fvalue"_s)) << refused.error().toStdString();
    }
    auto model = MVX_Model::makeEmpty();
    model->setRidIrevuGoal(-std::numeric_limits<double>::infinity());
    const platform::Expected<QByteArray> refused = ModelJSONWriter::toJSON(*model);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().contains(u"net_worth_goal"_s));
}

TEST(ModelFormat, TextsWithControlCharactersAndAnyScriptRoundTrip)
{
    QString awkward = u"€ лв. ₹ 𝄞 \"q\" \\ / "_s;
    for (char16_t c = 0; c < 0x20; ++c)
        awkward.append(QChar(c));
    auto model = MVX_Model::makeEmpty();
    auto tag = std::make_shared<MVX_Tags>();
    tag->setName(awkward);
    tag->setDesc(QString(0, QChar()));
    model->tags()->append(tag);
    model->setBaseCurrency(u"BGN"_s);
    const auto bytes = ModelJSONWriter::toJSON(*model);
    ASSERT_TRUE(bytes);
    EXPECT_FALSE(bytes->contains('\n'));
    // Standard JSON: another parser reads the same text.
    const QJsonObject root = QJsonDocument::fromJson(*bytes).object();
    EXPECT_EQ(root[u"tags"_s].toArray()[0].toObject()[u"name"_s].toString(), awkward);
    const platform::Expected<ModelReadResult> back = ImportModel::read(*bytes);
    ASSERT_TRUE(back);
    const auto& readTag = back->model->tags()->first();
    EXPECT_EQ(readTag->name(), awkward);
    EXPECT_FALSE(readTag->desc().isNull()); // empty stays distinct from absent
    EXPECT_TRUE(readTag->ID().isNull());
    EXPECT_TRUE(root[u"tags"_s].toArray()[0].toObject()[u"ID"_s].isNull());
}

TEST(ModelFormat, DayNumbersComeFromYearAndMonthWhateverTheTimeZone)
{
    const QByteArray previous = qgetenv("TZ");
    for (const char* zone : { "UTC", "Europe/Berlin", "America/Santiago", "Pacific/Kiritimati" }) {
        qputenv("TZ", zone);
        tzset();
        const platform::Expected<ModelReadResult> result = ImportModel::read(
            R"({"nw_logs":[{"year":2020,"month":3,"TS":5},{"year":2024,"month":3},{"year":1900,"month":1},{"year":2020,"month":13},{"year":2021,"month":0}]})");
        ASSERT_TRUE(result) << zone;
        const auto& logs = *result->model->nwLogArray();
        EXPECT_EQ(logs[0]->TS(), 43889) << zone;
        EXPECT_EQ(logs[1]->TS(), 45350) << zone;
        EXPECT_EQ(logs[2]->TS(), 0) << zone;
        EXPECT_EQ(logs[3]->TS(), 44195) << zone; // 2021-01-01
        EXPECT_EQ(logs[4]->TS(), 44164) << zone; // 2020-12-01
    }
    qputenv("TZ", previous);
    tzset();
}

TEST(ModelFormat, FilesThatCannotBeOpenedAreErrors)
{
    QTemporaryDir dir;
    const auto missing = ImportModel().open(dir.filePath(u"missing.json"_s));
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.error().startsWith(u"Error opening data file."_s)) << missing.error().toStdString();
    const auto folder = ImportModel().open(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_FALSE(folder.error().isEmpty());
}

TEST(ModelFormat, ModelHelpers)
{
    auto model = MVX_Model::makeEmpty();
    EXPECT_EQ(model->version(), QStringLiteral(MERVANE_VERSION));
    EXPECT_FALSE(model->currentLog());
    model->setNwLogArray(std::nullopt);
    EXPECT_FALSE(model->currentLog());
    model->setNwLogArray(MVX_NWLogList { record(2021, 5), record(2020, 1) });
    EXPECT_EQ(model->currentLog()->year(), 2021);

    // Equality looks into the lists' objects.
    auto other = MVX_Model::makeEmpty();
    other->setNwLogArray(MVX_NWLogList { record(2021, 5), record(2020, 1) });
    EXPECT_TRUE(*model == *other);
    other->nwLogArray()->at(1)->setNote(u"changed"_s);
    EXPECT_FALSE(*model == *other);

    auto category = std::make_shared<MVX_Category>();
    category->setCategoryName(u"Bank"_s);
    const MVX_CategoryEx pair(category, true);
    EXPECT_EQ(pair.category(), category);
    EXPECT_TRUE(pair.isAsset());
    EXPECT_TRUE(pair.categoryName().isNull());
}

} // namespace
