#include "CSVImportPanelFixture.h"

#include "app/AppNotifications.h"
#include "model/csv/CSVExport.h"
#include "model/data/ImportModel.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class CSVImportPanelVCTest : public CSVImportPanelFixture {
protected:
    QLabel* messageLabel() const { return part<QLabel>(u"messageLabel"_s); }
    void click(const QString& button) { QTest::mouseClick(part<QPushButton>(button), Qt::LeftButton); }

    bool messageIsRed() const
    {
        return messageLabel()->palette().color(QPalette::Window) == QColor(255, 59, 48);
    }
};

TEST_F(CSVImportPanelVCTest, ImportingAGoodFileSavesItAndPostsImport)
{
    const QString path = writeCSV(u"good.csv"_s, goodCSVFile);
    choose(path);
    EXPECT_EQ(platform::FileChooser::lastRequest().title, u"Import inventory items from a CSV file"_s);
    EXPECT_EQ(part<QLabel>(u"csvFileLabel"_s)->text(), path);
    ASSERT_TRUE(m_panel->importedModel());
    EXPECT_EQ(
        messageLabel()->text(), u"1 category and 1 monthly record will replace 1 category and 0 records."_s);
    EXPECT_FALSE(messageIsRed());
    // Choosing alone changes nothing.
    EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);

    click(u"importButton"_s);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterImport"_s });
    EXPECT_EQ(store().appData()->assetscat()->first()->categoryName(), u"Bank"_s);
    const platform::Expected<ModelReadResult> saved = ImportModel::readFile(NWData::dataFilePath());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->model->nwLogArray()->first()->note(), u"first"_s);
    const QStringList copies = NWData::keptCopies(NWData::beforeImportKind);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(copies.first()), m_dataFile);
}

TEST_F(CSVImportPanelVCTest, ABadFileIsReportedInRedAndImportsNothing)
{
    choose(writeCSV(u"bad.csv"_s, goodCSVFile + ",2020,2,second,1,0,1,1,2\n"));
    EXPECT_EQ(m_panel->importedModel(), nullptr);
    EXPECT_TRUE(messageLabel()->text().startsWith(u"CSV import failed: record line 2 has 2 values"_s))
        << messageLabel()->text().toStdString();
    EXPECT_TRUE(messageIsRed());

    click(u"importButton"_s);
    EXPECT_EQ(messageLabel()->text(), u"Import Error"_s);
    EXPECT_TRUE(messageIsRed());
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_EQ(store().appData()->assetscat()->first()->ID(), u"OLD"_s);
    EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);

    // A good file after a bad one imports.
    choose(writeCSV(u"good.csv"_s, goodCSVFile));
    click(u"importButton"_s);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterImport"_s });
}

TEST_F(CSVImportPanelVCTest, MalformedFilesNeverReachTheDataFile)
{
    const QByteArray ids = "NW Logs\n,,,,,,,A\nAsset Categories\n,A\nNW Logs\n";
    for (const QByteArray& text : { QByteArray(ids + ",2020,1,,1,0,1,1,5\n"),
             QByteArray(ids + ",2020,1,,abc,0,1,1\n"), QByteArray(ids + ",2020,1,\"never closed"),
             QByteArray(ids + ",2020,1,,1"), QByteArray(ids + ",2020,1,\xc3\x28,1,0,1,1\n") }) {
        choose(writeCSV(u"bad.csv"_s, text));
        EXPECT_EQ(m_panel->importedModel(), nullptr);
        EXPECT_TRUE(messageLabel()->text().startsWith(u"CSV import failed: "_s));
        click(u"importButton"_s);
        EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);
    }
    choose(homePath(u"missing.csv"_s));
    EXPECT_EQ(messageLabel()->text(), u"CSV import failed: the file does not exist"_s);
    EXPECT_TRUE(m_posted.isEmpty());
}

TEST_F(CSVImportPanelVCTest, TheSummaryCountsBothSidesOfTheReplacement)
{
    model().setLiabilitycat(MVX_CategoryList { makeCategory(u"DEBT"_s, u"Debt"_s) });
    model().setNwLogArray(MVX_NWLogList { makeRecord(2010, 1), makeRecord(2010, 2), makeRecord(2010, 3) });
    choose(writeCSV(u"larger.csv"_s,
        "Asset Categories\n,A,Bank\n,B,Cash\nLiability Categories\n,L,Loan\n"
        "NW Logs\n,,,,,,,A,B,L\n,2020,1,,3,1,2,1,2,1\n,2020,2,,3,1,2,1,2,1\n"));
    EXPECT_EQ(messageLabel()->text(),
        u"3 categories and 2 monthly records will replace 2 categories and 3 records."_s);
    EXPECT_FALSE(messageIsRed());

    store().setAppData(MVX_Model::makeEmpty());
    choose(writeCSV(u"empty.csv"_s, *csv::csvText(*MVX_Model::makeEmpty())));
    EXPECT_EQ(messageLabel()->text(),
        u"0 categories and 0 monthly records will replace 0 categories and 0 records."_s);
}

// A file that would replace every record with none is refused, and so is Import, also
// after a good file was read.
TEST_F(CSVImportPanelVCTest, AFileThatIsNotAnExportIsRefusedInRedAndImportStaysRefused)
{
    choose(writeCSV(u"good.csv"_s, goodCSVFile));
    ASSERT_TRUE(m_panel->importedModel());
    for (const QByteArray& text : { QByteArray("Date,Amount\n2024-03-01,-42.50\n"), QByteArray(),
             goodCSVFile.left(goodCSVFile.indexOf("NW Logs")) }) {
        choose(writeCSV(u"statement.csv"_s, text));
        EXPECT_EQ(m_panel->importedModel(), nullptr);
        EXPECT_EQ(messageLabel()->text(),
            u"CSV import failed: the file has no monthly records section: it is not an export of Mervane, or "
            u"it was cut short"_s);
        EXPECT_TRUE(messageIsRed());
        click(u"importButton"_s);
        EXPECT_EQ(messageLabel()->text(), u"Import Error"_s);
    }
    choose(writeCSV(u"both.csv"_s, goodCSVFile + "Liability Categories\n,A,Loan\n"));
    EXPECT_TRUE(messageLabel()->text().contains(u"\"A\" is both an asset and a liability category"_s));
    click(u"importButton"_s);
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_EQ(store().appData()->assetscat()->first()->ID(), u"OLD"_s);
    EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);
}

// Its model would take many times the file's size before Import refused it: the read
// refuses it, and the panel lets go of what an earlier read left it.
TEST_F(CSVImportPanelVCTest, AFileWhoseDataFileWouldBeTooLargeIsRefusedWhenReadAndNothingIsHeld)
{
    QByteArray larger = goodCSVFile;
    for (int m = 2; m <= 12; ++m)
        larger += ",2020," + QByteArray::number(m) + ",a note for the month,100,0,100,100\n";
    // The data file of the one record fits, that of the twelve does not.
    store().setMaxDataFileSizeForTesting(1500);

    choose(writeCSV(u"good.csv"_s, goodCSVFile));
    const std::weak_ptr<MVX_Model> earlier = m_panel->importedModel();
    ASSERT_FALSE(earlier.expired()) << messageLabel()->text().toStdString();

    choose(writeCSV(u"larger.csv"_s, larger));
    EXPECT_EQ(messageLabel()->text(),
        u"CSV import failed: the data would make a data file larger than 1500 bytes, the largest Mervane "
        u"can read back"_s);
    EXPECT_TRUE(messageIsRed());
    EXPECT_EQ(m_panel->importedModel(), nullptr);
    // A dropped model is freed on the background pool.
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_TRUE(earlier.expired());
    click(u"importButton"_s);
    EXPECT_EQ(messageLabel()->text(), u"Import Error"_s);
    EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);

    // Under the limit a file still imports.
    choose(writeCSV(u"good.csv"_s, goodCSVFile));
    click(u"importButton"_s);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterImport"_s });
    EXPECT_EQ(store().appData()->assetscat()->first()->ID(), u"A"_s);
}

TEST_F(CSVImportPanelVCTest, APanelThatGoesWhileItsFileIsChosenIsLeftAlone)
{
    // The panel's popover may be dropped while the file panel is up (its command toggled, the
    // window locked): the chosen file is then read by no one and nothing is said.
    const QString path = writeCSV(u"good.csv"_s, *csv::csvText(model()));
    QTimer::singleShot(0, m_panel, &QObject::deleteLater);
    platform::FileChooser::queueAnswer(path);
    QTest::mouseClick(part<QPushButton>(u"selectButton"_s), Qt::LeftButton);
    EXPECT_TRUE(m_alive.isNull());
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);
}

TEST_F(CSVImportPanelVCTest, CancelPostsCloseAndACancelledChoiceChangesNothing)
{
    choose(writeCSV(u"good.csv"_s, goodCSVFile));
    const auto chosen = m_panel->importedModel();
    choose(QString());
    EXPECT_EQ(m_panel->importedModel(), chosen);
    click(u"cancelButton"_s);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterClose"_s });
    EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);
}

} // namespace
