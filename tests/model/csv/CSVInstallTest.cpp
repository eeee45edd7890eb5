#include "CSVTestSupport.h"

#include "model/data/ImportModel.h"
#include "model/dates/DateUtilities.h"
#include "model/store/DataFileWriter.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include "support/FailingDevices.h"

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

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

    const QStringList copies = NWData::keptCopies(NWData::beforeImportKind);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readBytes(copies.first()), m_previousFile);
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
    store().writer().setDeviceFactoryForTesting(
        failingDevices(failsAfterBytes(0), fileNamed(NWData::dataFileName)));

    const platform::MaybeError failure = store().installImportedModel(m_imported);
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->isEmpty());
    EXPECT_EQ(store().appData(), previous);
    EXPECT_EQ(store().chartNwLogArray(), previousChart);
    EXPECT_EQ(readBytes(NWData::dataFilePath()), m_previousFile);
}

TEST_F(CSVInstallTest, ACopyThatCannotBeKeptRefusesTheImport)
{
    const std::shared_ptr<MVX_Model> previous = store().appData();
    for (const DeviceFailure& failure : { takesOnly(5), failsAtCommit(), failsAtOpen(EACCES) }) {
        store().writer().setDeviceFactoryForTesting(
            failingDevices(failure, namesContaining(u".before-import-"_s)));
        const platform::MaybeError refused = store().installImportedModel(m_imported);
        ASSERT_TRUE(refused.has_value());
        EXPECT_TRUE(refused->contains(u"nothing was changed"_s)) << refused->toStdString();
        EXPECT_EQ(store().appData(), previous);
        EXPECT_EQ(readBytes(NWData::dataFilePath()), m_previousFile);
        EXPECT_EQ(NWData::keptCopies(NWData::beforeImportKind), QStringList());
    }
}

TEST_F(CSVInstallTest, EveryImportKeepsItsOwnCopy)
{
    {
        const platform::ScopedClock clock(QDateTime(QDate(2026, 3, 1), QTime(9, 0)));
        ASSERT_EQ(store().installImportedModel(m_imported), std::nullopt);
    }
    const QByteArray afterFirst = readBytes(NWData::dataFilePath());
    const auto second
        = NWData::modelFromCSVData("Asset Categories,ID\n,B,Cash,,0,\nNW Logs,Year\n,,,,,,,B\n");
    ASSERT_TRUE(second);
    {
        const platform::ScopedClock clock(QDateTime(QDate(2026, 3, 1), QTime(9, 5)));
        ASSERT_EQ(store().installImportedModel(*second), std::nullopt);
    }
    const QStringList copies = NWData::keptCopies(NWData::beforeImportKind);
    ASSERT_EQ(copies.size(), 2);
    EXPECT_TRUE(copies.at(0).endsWith(u"mervane.json.before-import-20260301-090000"_s))
        << copies.at(0).toStdString();
    EXPECT_EQ(readBytes(copies.at(0)), m_previousFile);
    EXPECT_EQ(readBytes(copies.at(1)), afterFirst);
}

TEST_F(CSVInstallTest, NoFileToKeepIsNoFailure)
{
    ASSERT_TRUE(QFile::remove(NWData::dataFilePath()));
    EXPECT_EQ(store().installImportedModel(m_imported), std::nullopt);
    EXPECT_EQ(NWData::keptCopies(NWData::beforeImportKind), QStringList());
    EXPECT_TRUE(QFile::exists(NWData::dataFilePath()));
    EXPECT_TRUE(store().installImportedModel(nullptr).has_value());
}

} // namespace
