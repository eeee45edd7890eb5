#include "support/SharedStoreTest.h"

#include "model/data/ModelJSONWriter.h"

#include <QFile>

namespace mervane::test {

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

} // namespace mervane::test
