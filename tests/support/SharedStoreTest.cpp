#include "support/SharedStoreTest.h"

#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"

#include <QFile>
#include <QTest>

#include <algorithm>

namespace mervane::test {

namespace {

// The document as a load makes it: read, with every category's tag list present and the
// records newest first.
platform::Expected<QByteArray> asLoaded(const QByteArray& bytes)
{
    const platform::Expected<ModelReadResult> read = ImportModel::read(bytes);
    if (!read)
        return platform::Unexpected(read.error());
    if (auto& records = read->model->nwLogArray()) {
        std::stable_sort(records->begin(), records->end(), [](const auto& a, const auto& b) {
            return std::pair(a->year().value_or(0), a->month().value_or(0))
                > std::pair(b->year().value_or(0), b->month().value_or(0));
        });
    }
    for (const auto* list : { &read->model->assetscat(), &read->model->liabilitycat() }) {
        for (const auto& category : list->value_or(MVX_CategoryList()))
            if (category && !category->tags())
                category->setTags(QStringList());
    }
    return ModelJSONWriter::toJSON(*read->model);
}

} // namespace

void SharedStoreTest::SetUp()
{
    TempHomeTest::SetUp();
    store().writer().setDeviceFactoryForTesting({});
}

void SharedStoreTest::TearDown()
{
    store().waitForPendingWrites();
    store().writer().setDeviceFactoryForTesting({});
    store().setAppData(nullptr);
    store().sortNWArray({});
    TempHomeTest::TearDown();
}

void SharedStoreTest::loadAsAtStart(const MVX_Model& model)
{
    QFile file(NWData::dataFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const auto bytes = ModelJSONWriter::toJSON(model);
    ASSERT_TRUE(bytes.hasValue()) << bytes.error().toStdString();
    file.write(*bytes);
    file.close();
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
}

void SharedStoreTest::installAndSave(const std::shared_ptr<MVX_Model>& model)
{
    store().setAppData(model);
    store().sortNWArray(model->nwLogArray().value_or(MVX_NWLogList()));
    ASSERT_EQ(store().saveData(false), std::nullopt);
}

QByteArray SharedStoreTest::dataFileBytes()
{
    QFile file(NWData::dataFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

::testing::AssertionResult SharedStoreTest::modelIsTheDataFile()
{
    if (!store().appData())
        return ::testing::AssertionFailure() << "the store holds no model";
    const auto written = ModelJSONWriter::toJSON(*store().appData());
    if (!written)
        return ::testing::AssertionFailure() << written.error().toStdString();
    const auto model = asLoaded(*written);
    const auto file = asLoaded(dataFileBytes());
    if (!model || !file)
        return ::testing::AssertionFailure()
            << "unreadable: " << (model ? file : model).error().toStdString();
    if (*model == *file)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << "the model differs from the data file:\n  model: " << model->toStdString()
        << "\n  file:  " << file->toStdString();
}

platform::MaybeError SharedStoreTest::saveAsyncAndWait()
{
    QObject context;
    std::optional<platform::MaybeError> answer;
    store().saveDataAsync(&context, [&answer](platform::MaybeError result) { answer = std::move(result); });
    if (!QTest::qWaitFor([&] { return answer.has_value(); }))
        return QStringLiteral("the save never answered");
    return *answer;
}

} // namespace mervane::test
