#include "CSVTestSupport.h"

#include "model/data/ImportModel.h"
#include "model/dates/DateUtilities.h"
#include "model/store/DataFileWriter.h"

#include <gtest/gtest.h>

#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// Accepts nothing, as a full disk does.
class FullDiskSaveFile : public QSaveFile {
public:
    using QSaveFile::QSaveFile;

protected:
    qint64 writeData(const char*, qint64) override { return -1; }
};

class CSVInstallTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        model().setAssetscat(MVX_CategoryList { makeCategory(u"OLD"_s, u"Old"_s) });
        model().setNwLogArray(MVX_NWLogList { makeRecord(2010, 1, { makeLog(u"OLD"_s, 2010, 1, 1) }) });
        ASSERT_EQ(store().saveData(false), std::nullopt);
        m_previousFile = readBytes(NWData::dataFilePath());
        ASSERT_FALSE(m_previousFile.isEmpty());

        const auto read = NWData::modelFromCSVData("Asset Categories,ID\n,A,Bank,,1,EUR\n"
                                                   "NW Logs,Year\n,,,,,,,A\n"
                                                   ",2020,1,,5,0,5,5\n,2021,3,,7,0,7,7\n,2020,12,,6,0,6,6\n");
        ASSERT_TRUE(read) << read.errorIfAny().value_or(QString()).toStdString();
        m_imported = *read;
    }

    QByteArray m_previousFile;
    std::shared_ptr<MVX_Model> m_imported;
};

TEST_F(CSVInstallTest, TheImportedModelIsCompletedSortedAndSavedAfterTheOldFileWasKept)
{
    store().setExchangeRateIsUpToDate(true);
    ASSERT_EQ(store().installImportedModel(m_imported), std::nullopt);

    EXPECT_EQ(readBytes(NWData::beforeImportFilePath()), m_previousFile);
    EXPECT_EQ(store().appData(), m_imported);
    EXPECT_TRUE(store().supportsForeignCurrencies());
    EXPECT_EQ(store().localCurrencyCode(), u"USD"_s);
    EXPECT_TRUE(store().exchangeRateIsUpToDate());
    EXPECT_EQ(m_imported->assetscat()->first()->tags(), QStringList());

    const MVX_NWLogList& records = *m_imported->nwLogArray();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records.at(0)->year(), 2021);
    EXPECT_EQ(records.at(2)->year(), 2020);
    EXPECT_EQ(records.at(2)->month(), 1);
    EXPECT_EQ(store().chartNwLogArray().first(), records.at(2));
    for (const auto& record : records)
        EXPECT_EQ(record->TS(), DateUtilities::dayNumber(*record->year(), *record->month()));

    const platform::Expected<ModelReadResult> saved = ImportModel::readFile(NWData::dataFilePath());
    ASSERT_TRUE(saved) << saved.errorIfAny().value_or(QString()).toStdString();
    EXPECT_EQ(*saved->model, *m_imported);
}

TEST_F(CSVInstallTest, AFailedSaveIsReportedAndLeavesTheStoreAndTheFileAsTheyWere)
{
    const std::shared_ptr<MVX_Model> previous = store().appData();
    const MVX_NWLogList previousChart = store().chartNwLogArray();
    store().writer().setSaveFileFactoryForTesting(
        [](const QString& path) { return std::make_unique<FullDiskSaveFile>(path); });

    const platform::MaybeError failure = store().installImportedModel(m_imported);
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->isEmpty());
    EXPECT_EQ(store().appData(), previous);
    EXPECT_EQ(store().chartNwLogArray(), previousChart);
    EXPECT_EQ(readBytes(NWData::dataFilePath()), m_previousFile);
}

TEST_F(CSVInstallTest, NoFileToKeepIsNoFailure)
{
    ASSERT_TRUE(QFile::remove(NWData::dataFilePath()));
    EXPECT_EQ(store().installImportedModel(m_imported), std::nullopt);
    EXPECT_FALSE(QFile::exists(NWData::beforeImportFilePath()));
    EXPECT_TRUE(QFile::exists(NWData::dataFilePath()));
    EXPECT_TRUE(store().installImportedModel(nullptr).has_value());
}

} // namespace
