#include "app/data/CSVImportPanelVC.h"

#include "app/AppNotifications.h"
#include "model/data/ImportModel.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CSVImportPanelVCTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        model().setAssetscat(MVX_CategoryList { makeCategory(u"OLD"_s, u"Old"_s) });
        ASSERT_EQ(store().saveData(false), std::nullopt);
        m_dataFile = readBytes(NWData::dataFilePath());
        m_panel = std::make_unique<CSVImportPanelVC>(&store());
        m_observer = std::make_unique<QObject>();
        for (const QString& name : { notifications::csvImporterImport, notifications::csvImporterClose }) {
            platform::NotificationCenter::defaultCenter().addObserver(m_observer.get(), name,
                [this](const platform::Notification& note) { m_posted << note.name; });
        }
    }
    void TearDown() override
    {
        platform::FileChooser::clearQueuedAnswers();
        m_observer.reset();
        m_panel.reset();
        ModelTest::TearDown();
    }

    QString writeCSV(const QString& name, const QByteArray& text)
    {
        const QString path = homePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    template <typename T> T* part(const QString& name) const
    {
        T* found = m_panel->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLabel* messageLabel() const { return part<QLabel>(u"messageLabel"_s); }
    void click(const QString& button) { QTest::mouseClick(part<QPushButton>(button), Qt::LeftButton); }

    void choose(const QString& path)
    {
        platform::FileChooser::queueAnswer(path);
        click(u"selectButton"_s);
    }

    bool messageIsRed() const
    {
        return messageLabel()->palette().color(QPalette::Window) == QColor(255, 59, 48);
    }

    std::unique_ptr<CSVImportPanelVC> m_panel;
    std::unique_ptr<QObject> m_observer;
    QStringList m_posted;
    QByteArray m_dataFile;
};

const QByteArray goodFile
    = "TAGS,ID,Name,Description\n,T,Home,\n\n"
      "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n,A,Bank,,0,,T\n\n"
      "NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,,A\n"
      ",2020,1,first,100,0,100,100\n";

TEST_F(CSVImportPanelVCTest, ImportingAGoodFileSavesItAndPostsImport)
{
    const QString path = writeCSV(u"good.csv"_s, goodFile);
    choose(path);
    EXPECT_EQ(platform::FileChooser::lastRequest().title, u"Import inventory items from a CSV file"_s);
    EXPECT_EQ(part<QLabel>(u"csvFileLabel"_s)->text(), path);
    ASSERT_TRUE(m_panel->importedModel());
    EXPECT_FALSE(messageIsRed());
    // Choosing alone changes nothing.
    EXPECT_EQ(readBytes(NWData::dataFilePath()), m_dataFile);

    click(u"importButton"_s);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterImport"_s });
    EXPECT_EQ(store().appData()->assetscat()->first()->categoryName(), u"Bank"_s);
    const platform::Expected<ModelReadResult> saved = ImportModel::readFile(NWData::dataFilePath());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->model->nwLogArray()->first()->note(), u"first"_s);
    const QStringList copies = NWData::keptCopies(NWData::beforeImportKind);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readBytes(copies.first()), m_dataFile);
}

TEST_F(CSVImportPanelVCTest, ABadFileIsReportedInRedAndImportsNothing)
{
    choose(writeCSV(u"bad.csv"_s, goodFile + ",2020,2,second,1,0,1,1,2\n"));
    EXPECT_EQ(m_panel->importedModel(), nullptr);
    EXPECT_TRUE(messageLabel()->text().startsWith(u"CSV import failed: record line 2 has 2 values"_s))
        << messageLabel()->text().toStdString();
    EXPECT_TRUE(messageIsRed());

    click(u"importButton"_s);
    EXPECT_EQ(messageLabel()->text(), u"Import Error"_s);
    EXPECT_TRUE(messageIsRed());
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_EQ(store().appData()->assetscat()->first()->ID(), u"OLD"_s);
    EXPECT_EQ(readBytes(NWData::dataFilePath()), m_dataFile);

    // A good file after a bad one imports.
    choose(writeCSV(u"good.csv"_s, goodFile));
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
        EXPECT_EQ(readBytes(NWData::dataFilePath()), m_dataFile);
    }
    choose(homePath(u"missing.csv"_s));
    EXPECT_EQ(messageLabel()->text(), u"CSV import failed: the file does not exist"_s);
    EXPECT_TRUE(m_posted.isEmpty());
}

TEST_F(CSVImportPanelVCTest, CancelPostsCloseAndACancelledChoiceChangesNothing)
{
    choose(writeCSV(u"good.csv"_s, goodFile));
    const auto chosen = m_panel->importedModel();
    choose(QString());
    EXPECT_EQ(m_panel->importedModel(), chosen);
    click(u"cancelButton"_s);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterClose"_s });
    EXPECT_EQ(readBytes(NWData::dataFilePath()), m_dataFile);
}

} // namespace
