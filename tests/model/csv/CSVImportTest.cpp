#include "CSVTestSupport.h"

#include "model/csv/CSVExport.h"
#include "model/csv/CSVImport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <limits>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

const QByteArray recordsHeader = "NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n";

std::shared_ptr<MVX_Model> importText(const QByteArray& text, QString* error = nullptr)
{
    platform::Expected<std::shared_ptr<MVX_Model>> read = csv::modelFromCSVData(text);
    if (!read && error)
        *error = read.error();
    return read.valueOr(nullptr);
}

QString failureOf(const QByteArray& text)
{
    QString error;
    EXPECT_EQ(importText(text, &error), nullptr);
    return error;
}

TEST(CSVImportTest, SectionsAreFoundByTheirFirstFieldInAnyOrder)
{
    const QByteArray text = "preamble,ignored\n" + recordsHeader
        + ",,,,,,,A-1,L-1,gone\n"
          ",2018.9,,a note,10,4,6,10,4,99\n"
          "Liability Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"
          ",L-1,Loan,,true,USD\n"
          "TAGS,ID,Name,Description\n"
          ",T-1,Home\n"
          "TAGS,ID,Name,Description\n"
          "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"
          ",A-1,Bank,Savings,1,EUR,,T-1,\n";
    QString error;
    const auto model = importText(text, &error);
    ASSERT_TRUE(model) << error.toStdString();
    EXPECT_EQ(model->version(), u"2.12"_s);
    EXPECT_EQ(model->baseCurrency(), QString());
    EXPECT_EQ(model->ridIrevuGoal(), std::nullopt);

    ASSERT_EQ(model->tags()->size(), 2);
    EXPECT_EQ(model->tags()->at(0)->name(), u"Home"_s);
    EXPECT_TRUE(model->tags()->at(0)->desc().isNull());
    // A repeated header is a data line of its section.
    EXPECT_EQ(model->tags()->at(1)->ID(), u"ID"_s);
    EXPECT_EQ(model->tags()->at(1)->desc(), u"Description"_s);

    ASSERT_EQ(model->assetscat()->size(), 1);
    const MVX_Category& bank = *model->assetscat()->first();
    EXPECT_TRUE(bank.isForeignCurrency());
    EXPECT_EQ(bank.currency(), u"EUR"_s);
    EXPECT_EQ(bank.tags(), QStringList { u"T-1"_s });
    const MVX_Category& loan = *model->liabilitycat()->first();
    EXPECT_FALSE(loan.isForeignCurrency());
    EXPECT_EQ(loan.tags(), std::nullopt);

    ASSERT_EQ(model->nwLogArray()->size(), 1);
    const MVX_NWLog& record = *model->nwLogArray()->first();
    EXPECT_EQ(record.year(), 2018);
    EXPECT_EQ(record.month(), std::nullopt);
    EXPECT_EQ(record.note(), u"a note"_s);
    EXPECT_EQ(record.nw(), 6);
    EXPECT_EQ(record.TS(), std::nullopt);
    ASSERT_EQ(record.assetLogs()->size(), 1);
    const MVX_CategoryLog& value = *record.assetLogs()->first();
    EXPECT_EQ(value.categoryID(), u"A-1"_s);
    EXPECT_EQ(value.year(), 2018);
    EXPECT_EQ(value.month(), std::nullopt);
    EXPECT_EQ(value.value(), 10);
    ASSERT_EQ(record.liabilityLogs()->size(), 1);
    EXPECT_EQ(record.liabilityLogs()->first()->value(), 4);
}

// Importing replaces everything: a file that is not a whole export must not read as an
// empty model.
TEST(CSVImportTest, AFileWithoutTheRecordsSectionAndItsIDLineIsRefused)
{
    const QByteArray fullExport = *csv::csvText(*MVX_Model::makeEmpty());
    const QByteArray beforeRecords = fullExport.left(fullExport.indexOf("NW Logs"));
    ASSERT_FALSE(beforeRecords.isEmpty());
    const QString noSection
        = u"the file has no monthly records section: it is not an export of Mervane, or it was cut short"_s;
    for (const QByteArray& text :
        { QByteArray(), QByteArray("\n\n"), QByteArray("Date,Amount\n2024-03-01,-42.50\n"),
            QByteArray("TAGS,ID,Name,Description\n,T,Home,\n"), beforeRecords,
            QByteArray("Asset Categories,ID\n,A,Bank\n,2020,1,,1,0,1,1\n") })
        EXPECT_EQ(failureOf(text), noSection) << text.toStdString();

    const QString noIDs
        = u"the monthly records section has no line of category IDs; the file may be cut short"_s;
    const qsizetype idLine = fullExport.indexOf('\n', fullExport.indexOf("NW Logs")) + 1;
    for (const QByteArray& text : { fullExport.left(idLine), recordsHeader, QByteArray("NW Logs\n"),
             QByteArray(recordsHeader + ",2020,1,,1,0,1,1\n"), QByteArray(recordsHeader + ",,,,,\n"),
             QByteArray(recordsHeader + "x,,,,,,,A\n") })
        EXPECT_EQ(failureOf(text), noIDs) << text.toStdString();
}

TEST(CSVImportTest, AnExportOfNoDataReadsAsEmptyLists)
{
    for (const QByteArray& text : { *csv::csvText(*MVX_Model::makeEmpty()),
             QByteArray(recordsHeader + ",,,,,,\n"), QByteArray(recordsHeader + ",,,,,,,A\n") }) {
        QString error;
        const auto model = importText(text, &error);
        ASSERT_TRUE(model) << text.toStdString() << " -> " << error.toStdString();
        EXPECT_TRUE(model->tags()->isEmpty());
        EXPECT_TRUE(model->assetscat()->isEmpty());
        EXPECT_TRUE(model->nwLogArray()->isEmpty());
    }
}

// The ID line does not say on which side an ID's values belong.
TEST(CSVImportTest, AnIDThatIsBothAnAssetAndALiabilityCategoryIsRefused)
{
    const QByteArray categories = "Asset Categories,ID,Name\n,A,Bank\n,X,House\n"
                                  "Liability Categories,ID,Name\n,L,Loan\n";
    const QByteArray records = recordsHeader + ",,,,,,,A,X,L\n,2020,1,,10,3,7,4,6,3\n";
    EXPECT_EQ(failureOf(categories + ",X,Mortgage\n" + records),
        u"the category ID \"X\" is both an asset and a liability category"_s);
    // Whichever section comes first.
    EXPECT_EQ(failureOf("Liability Categories\n,X,Mortgage\n" + categories + records),
        u"the category ID \"X\" is both an asset and a liability category"_s);

    const auto model = importText(categories + records);
    ASSERT_TRUE(model);
    const MVX_NWLog& record = *model->nwLogArray()->first();
    ASSERT_EQ(record.assetLogs()->size(), 2);
    EXPECT_EQ(record.assetLogs()->at(1)->categoryID(), u"X"_s);
    EXPECT_EQ(record.assetLogs()->at(1)->value(), 6);
    ASSERT_EQ(record.liabilityLogs()->size(), 1);
    EXPECT_EQ(record.liabilityLogs()->first()->value(), 3);
}

TEST(CSVImportTest, MalformedFilesFailWithAReason)
{
    const QByteArray ids = recordsHeader + ",,,,,,,A\n";
    EXPECT_EQ(failureOf(ids + ",2020,1,,1,0,1,1,2\n"),
        u"record line 1 has 2 values, but the ID line has 1 category IDs"_s);
    EXPECT_EQ(failureOf(ids + ",2020,1,,1,0,1,1\n,2020,2,,1\n"),
        u"record line 2 has 5 fields where 8 belong; the file may be cut short"_s);
    EXPECT_EQ(
        failureOf(ids + ",2020,1,,1,0,1,1\n,2020,x2,,1,0,1,1\n"), u"record line 2: \"x2\" is not a number"_s);
    EXPECT_EQ(failureOf(ids + ",2020,1,,1,0,1,nan\n"), u"record line 1: \"nan\" is not a number"_s);
    EXPECT_EQ(failureOf(ids + ",2020,1,\"cut"), u"line 3: a quoted field is not closed"_s);
    EXPECT_EQ(failureOf("TAGS,ID,Name,Description\n,T,\xff\xfe\n"), u"the file is not UTF-8 text"_s);
}

TEST(CSVImportTest, NumbersAreReadWithoutTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German));
    const auto model = importText(
        recordsHeader + ",,,,,,,A\n, 2020 ,12,,1.5e3,-0.25,+1500.25,2147483648\n" + "Asset Categories\n,A\n");
    QLocale::setDefault(previous);
    ASSERT_TRUE(model);
    const MVX_NWLog& record = *model->nwLogArray()->first();
    EXPECT_EQ(record.year(), 2020);
    EXPECT_EQ(record.assets(), 1500);
    EXPECT_EQ(record.liabilities(), -0.25);
    EXPECT_EQ(record.nw(), 1500.25);
    EXPECT_EQ(record.assetLogs()->first()->value(), 2147483648.0);
}

TEST(CSVImportTest, MissingFilesFoldersPipesAndDevicesAreNoInput)
{
    EXPECT_EQ(
        csv::importCSVFromFilePath(u"/nonexistent/file.csv"_s).errorIfAny(), u"the file does not exist"_s);
    EXPECT_EQ(csv::importCSVFromFilePath(QDir::tempPath()).errorIfAny(), u"the path is a folder"_s);
    // Neither blocks: nothing writes to the pipe, and the device never ends.
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe.csv"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : { fifo, u"/dev/zero"_s }) {
        const auto read = csv::importCSVFromFilePath(path);
        ASSERT_FALSE(read);
        EXPECT_TRUE(read.error().contains(u"not a regular file"_s)) << read.error().toStdString();
    }
}

TEST(CSVImportTest, AFileLargerThanMervaneReadsIsRefusedUnread)
{
    // Sparse: it takes no room on the disk, and is refused by its size before any read.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"huge.csv"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(platform::maxReadableFileSize + 1));
    file.close();
    EXPECT_EQ(csv::importCSVFromFilePath(path).errorIfAny(),
        u"\"%1\" is larger than 1024 MB and is not read"_s.arg(QDir::toNativeSeparators(path)));
}

class CSVRoundTripTest : public ModelTest { };

TEST_F(CSVRoundTripTest, ANoteWithACommaAQuoteAndALineBreakSurvivesWithEveryValueInItsColumn)
{
    model().setAssetscat(MVX_CategoryList { makeCategory(u"A"_s, u"Bank, \"main\""_s) });
    model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L"_s, u"Loan"_s) });
    const auto record
        = makeRecord(2020, 5, { makeLog(u"A"_s, 2020, 5, 10) }, { makeLog(u"L"_s, 2020, 5, 3) });
    record->setNote(u"Sold the car, \"finally\"\r\nnext: the boat"_s);
    // The extremes take over 300 digits in plain notation.
    record->setAssets(std::numeric_limits<double>::max());
    record->setLiabilities(std::numeric_limits<double>::denorm_min());
    record->setNw(-std::numeric_limits<double>::max());
    model().setNwLogArray(MVX_NWLogList { record });

    const auto model = importText(exportedText(store()));
    ASSERT_TRUE(model);
    const MVX_NWLog& back = *model->nwLogArray()->first();
    EXPECT_EQ(back.note(), record->note());
    EXPECT_EQ(back.assets(), record->assets());
    EXPECT_EQ(back.liabilities(), record->liabilities());
    EXPECT_EQ(back.nw(), record->nw());
    EXPECT_EQ(model->assetscat()->first()->categoryName(), u"Bank, \"main\""_s);
    EXPECT_EQ(back.assetLogs()->first()->value(), 10);
    EXPECT_EQ(back.liabilityLogs()->first()->value(), 3);
}

} // namespace
