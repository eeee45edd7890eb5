#include "app/data/DataCommands.h"

#include "app/AppNotifications.h"
#include "app/alerts/AskDeleteAllData.h"
#include "app/data/CSVImportPanelVC.h"
#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/dates/DateUtilities.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/DataFileWriter.h"
#include "model/store/ModelExport.h"
#include "model/store/NWData.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "records/RecordsNotifications.h"
#include "records/rates/ExchangerateVC.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// A window with the title bar's document and settings buttons, and the delegate's part:
// the confirmations' notifications reach the commands, messages are collected.
class DataCommandsTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(100, 100, 700, 400);
        m_document = new QPushButton(u"Document"_s, m_window.get());
        m_document->setGeometry(600, 8, 23, 23);
        m_settings = new QPushButton(u"Settings"_s, m_window.get());
        m_settings->setGeometry(560, 8, 23, 23);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));

        fillModel();
        ASSERT_EQ(store().saveData(false), std::nullopt);
        m_dataFile = readFile(NWData::dataFilePath());
        m_commands = std::make_unique<DataCommands>(store(), host());

        m_observer = std::make_unique<QObject>();
        auto& center = platform::NotificationCenter::defaultCenter();
        center.addObserver(m_observer.get(), notifications::deleteAllData,
            [this](const platform::Notification&) { m_commands->nwDeleteAllData(); });
        center.addObserver(m_observer.get(), notifications::restoreAllData,
            [this](const platform::Notification&) { m_commands->nwRestoreAllData(); });
        center.addObserver(m_observer.get(), notifications::csvImporterClose,
            [this](const platform::Notification&) { m_commands->csvImporterClose(); });
        center.addObserver(
            m_observer.get(), notifications::csvImporterImport, [this](const platform::Notification&) {
                m_panelShownAtImport = m_commands->importPopover() && m_commands->importPopover()->shown();
                m_commands->csvImporterImport();
            });
        for (const QString& name : { notifications::dataReFetched, notifications::addNewRecord })
            center.addObserver(
                m_observer.get(), name, [this](const platform::Notification& n) { m_posted << n.name; });
    }
    void TearDown() override
    {
        platform::FileChooser::clearQueuedAnswers();
        platform::FileChooser::setPresenter({});
        m_observer.reset();
        m_commands.reset();
        m_editor.reset();
        m_window.reset();
        ModelTest::TearDown();
    }

    void fillModel()
    {
        model().setTags(MVX_TagsList { makeTag(u"T"_s, u"Home"_s) });
        model().setAssetscat(MVX_CategoryList { makeCategory(u"A"_s, u"Bank"_s, QStringList { u"T"_s }) });
        model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L"_s, u"Loan"_s) });
        auto record
            = makeRecord(2024, 2, { makeLog(u"A"_s, 2024, 2, 120.5) }, { makeLog(u"L"_s, 2024, 2, 20) });
        record->setAssets(120.5);
        record->setLiabilities(20);
        record->setNw(100.5);
        record->setNote(u"February, \"quoted\""_s);
        record->setTS(DateUtilities::dayNumber(2024, 2));
        store().sortNWArray(MVX_NWLogList { record });
    }

    DataCommands::Host host()
    {
        return {
            .documentButton = [this]() -> QWidget* { return m_document; },
            .settingsButton = [this]() -> QWidget* { return m_settings; },
            .showMessage = [this](const QString& text) { m_messages << text; },
            .isLocked = [this] { return m_locked; },
            .messagePopover = [this]() -> const PKPopoverController* { return m_kept; },
        };
    }

    static void answer(const QString& path) { platform::FileChooser::queueAnswer(path); }
    static void clickOK(PKPopoverController* popover)
    {
        ASSERT_TRUE(popover && popover->shown());
        auto* ok = popover->contentViewController()->findChild<QPushButton*>(u"okButton"_s);
        ASSERT_NE(ok, nullptr);
        QTest::mouseClick(ok, Qt::LeftButton);
    }
    // An editor left open somewhere in the window, as the record editor would be.
    PKPopoverController* openEditor()
    {
        m_editor = std::make_unique<PKPopoverController>(new QLineEdit);
        m_editor->setDefaultProperties_ItemEdit();
        m_editor->setAnimates(false);
        m_editor->showRelativeToRect(QRectF(m_settings->rect()), m_settings, platform::RectEdge::MaxY);
        EXPECT_TRUE(m_editor->shown());
        return m_editor.get();
    }
    void failWritesTo(const QString& fileName, DeviceFailure failure)
    {
        store().writer().setDeviceFactoryForTesting(failingDevices(failure, namesContaining(fileName)));
    }
    bool dataFileUnchanged() const { return readFile(NWData::dataFilePath()) == m_dataFile; }

    std::unique_ptr<QWidget> m_window;
    QPushButton* m_document = nullptr;
    QPushButton* m_settings = nullptr;
    std::unique_ptr<DataCommands> m_commands;
    std::unique_ptr<QObject> m_observer;
    std::unique_ptr<PKPopoverController> m_editor;
    const PKPopoverController* m_kept = nullptr;
    bool m_locked = false;
    bool m_panelShownAtImport = false;
    QStringList m_messages;
    QStringList m_posted;
    QByteArray m_dataFile;
};

TEST_F(DataCommandsTest, TheBackupIsProposedUnderTodaysDateInTheLastFolder)
{
    EXPECT_EQ(DataCommands::suggestedBackupName(QDate(2024, 3, 5)), u"mervaneBackup_5_3_2024.json"_s);
    EXPECT_EQ(DataCommands::suggestedBackupName(QDate(1999, 12, 31)), u"mervaneBackup_31_12_1999.json"_s);

    const platform::ScopedClock clock(QDateTime(QDate(2024, 3, 5), QTime(23, 59)));
    platform::UserDefaults::standard().setValue(ModelExport::exportPathKey, homePath(u"backups"_s));
    answer(QString());
    m_commands->backupClick();
    const platform::FileRequest request = platform::FileChooser::lastRequest();
    EXPECT_EQ(request.mode, platform::FileRequest::Mode::Save);
    EXPECT_EQ(request.suggestedName, u"mervaneBackup_5_3_2024.json"_s);
    EXPECT_EQ(request.title, u"Backup all records to a file"_s);
    EXPECT_EQ(request.directory, homePath(u"backups"_s));
    // Cancelled: nothing is said or written.
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_TRUE(dataFileUnchanged());
}

TEST_F(DataCommandsTest, BackupDeleteAllAndRestoreBringEverythingBack)
{
    QDir().mkpath(homePath(u"saved"_s));
    const QString backup = homePath(u"saved/all.json"_s);
    answer(backup);
    m_commands->backupClick();
    EXPECT_EQ(m_messages, QStringList { u"Net worth data successfully exported to a file."_s });
    EXPECT_EQ(platform::UserDefaults::standard().string(ModelExport::exportPathKey), homePath(u"saved"_s));
    const QByteArray backupBytes = readFile(backup);
    ASSERT_FALSE(backupBytes.isEmpty());

    // Delete all asks first; nothing happens until OK.
    m_commands->deleteAllDataClick();
    PKPopoverController* confirmation = m_commands->confirmationPopover();
    ASSERT_TRUE(confirmation && confirmation->shown());
    EXPECT_FALSE(
        qobject_cast<AskDeleteAllData*>(confirmation->contentViewController())->showRestoreWarning());
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 1);
    EXPECT_TRUE(m_posted.isEmpty());

    clickOK(confirmation);
    // The message follows once the question has faded out.
    EXPECT_EVENTUALLY_EQ(m_messages.last(), u"All net worth data successfully deleted."_s);
    EXPECT_EQ(m_posted, QStringList { notifications::dataReFetched });
    EXPECT_TRUE(store().appData()->nwLogArray()->isEmpty());
    EXPECT_TRUE(store().appData()->assetscat()->isEmpty());
    EXPECT_TRUE(store().appData()->tags()->isEmpty());
    const platform::Expected<ModelReadResult> emptied = ImportModel::readFile(NWData::dataFilePath());
    ASSERT_TRUE(emptied);
    EXPECT_TRUE(emptied->model->nwLogArray().value_or(MVX_NWLogList()).isEmpty());
    EXPECT_TRUE(emptied->model->liabilitycat().value_or(MVX_CategoryList()).isEmpty());

    m_commands->restoreClick();
    confirmation = m_commands->confirmationPopover();
    ASSERT_TRUE(confirmation && confirmation->shown());
    EXPECT_TRUE(qobject_cast<AskDeleteAllData*>(confirmation->contentViewController())->showRestoreWarning());
    answer(backup);
    clickOK(confirmation);
    EXPECT_EVENTUALLY_EQ(platform::FileChooser::lastRequest().title, u"Restore all records from a file"_s);
    EXPECT_EVENTUALLY_EQ(m_messages.last(), u"Net worth data successfully loaded from selected file."_s);
    EXPECT_EQ(readFile(NWData::dataFilePath()), backupBytes);
    EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);
    EXPECT_EQ(store().appData()->nwLogArray()->first()->note(), u"February, \"quoted\""_s);
    EXPECT_EQ(m_posted.count(notifications::dataReFetched), 2);
}

TEST_F(DataCommandsTest, EveryFailureIsShownWithItsReasonAndLeavesTheDataFileAlone)
{
    // A backup into a folder that does not exist.
    platform::UserDefaults::standard().setValue(ModelExport::exportPathKey, homePath(u"earlier"_s));
    answer(homePath(u"missing/folder/backup.json"_s));
    m_commands->backupClick();
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages.last().startsWith(u"Backup failed: "_s)) << m_messages.last().toStdString();
    EXPECT_GT(m_messages.last().size(), u"Backup failed: "_s.size());
    EXPECT_EQ(platform::UserDefaults::standard().string(ModelExport::exportPathKey), homePath(u"earlier"_s));

    // A restore of a file that is not there.
    answer(homePath(u"nothing-here.json"_s));
    m_commands->nwRestoreAllData();
    EXPECT_EQ(m_messages.last(), u"Restore failed: Unable to open selected file!"_s);

    // A CSV export onto a device that fills up, and one that takes fewer bytes than given.
    for (const DeviceFailure& full : { failsAfterBytes(16), takesOnly(16) }) {
        failWritesTo(u".csv"_s, full);
        answer(homePath(u"export.csv"_s));
        m_commands->exportToCSV();
        EXPECT_TRUE(m_messages.last().startsWith(u"Export failed: "_s)) << m_messages.last().toStdString();
        EXPECT_FALSE(QFile::exists(homePath(u"export.csv"_s)));
    }
    EXPECT_EQ(platform::FileChooser::lastRequest().suggestedName, u"mervaneExport.csv"_s);

    for (const QString& message : std::as_const(m_messages))
        EXPECT_FALSE(message.contains(u"successfully"_s)) << message.toStdString();
    EXPECT_EQ(m_messages.size(), 4);
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_TRUE(dataFileUnchanged());
}

TEST_F(DataCommandsTest, ARestoreOrDeleteWhoseSaveFailsKeepsTheModelAndTheFile)
{
    QDir().mkpath(homePath(u"saved"_s));
    const QString backup = homePath(u"saved/other.json"_s);
    store().appData()->nwLogArray()->first()->setNote(u"other"_s);
    ASSERT_EQ(store().backupToFilePath(backup), std::nullopt);
    store().appData()->nwLogArray()->first()->setNote(u"mine"_s);
    const std::shared_ptr<MVX_Model> before = store().appData();

    failWritesTo(NWData::dataFileName, failsAfterBytes(40));
    answer(backup);
    m_commands->nwRestoreAllData();
    EXPECT_TRUE(m_messages.last().startsWith(u"Restore failed: "_s)) << m_messages.last().toStdString();

    m_commands->nwDeleteAllData();
    EXPECT_TRUE(m_messages.last().startsWith(u"Delete failed: "_s)) << m_messages.last().toStdString();

    EXPECT_EQ(m_messages.size(), 2);
    EXPECT_EQ(store().appData(), before);
    EXPECT_EQ(store().appData()->nwLogArray()->first()->note(), u"mine"_s);
    EXPECT_TRUE(m_posted.isEmpty());
    EXPECT_TRUE(dataFileUnchanged());
}

TEST_F(DataCommandsTest, TheConfirmationTogglesAndEachCommandClosesTheOthers)
{
    m_commands->deleteAllDataClick();
    ASSERT_TRUE(m_commands->confirmationPopover()->shown());
    m_commands->deleteAllDataClick();
    EXPECT_EQ(m_commands->confirmationPopover(), nullptr);

    m_commands->restoreClick();
    ASSERT_TRUE(m_commands->confirmationPopover()->shown());
    m_commands->deleteAllDataClick(); // only closes the restore question
    EXPECT_EQ(m_commands->confirmationPopover(), nullptr);

    // Cancel answers nothing, and the next press asks anew.
    m_commands->deleteAllDataClick();
    QPointer<PKPopoverController> cancelled = m_commands->confirmationPopover();
    cancelled->setAnimates(false);
    QTest::mouseClick(
        cancelled->contentViewController()->findChild<QPushButton*>(u"cancelButton"_s), Qt::LeftButton);
    EXPECT_TRUE(!cancelled || !cancelled->shown());
    EXPECT_EQ(m_commands->confirmationPopover(), nullptr);
    m_commands->restoreClick();
    ASSERT_NE(m_commands->confirmationPopover(), nullptr);
    EXPECT_TRUE(m_commands->confirmationPopover()->shown());
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 1);
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(DataCommandsTest, RestoreAndDeleteCloseOpenEditorsButNotTheMessage)
{
    PKPopoverController message(new QLineEdit);
    message.setAnimates(false);
    // Stays up while the file panel has the focus; only the commands could close it.
    message.setDefaultProperties(true, false, false);
    message.showRelativeToRect(QRectF(m_document->rect()), m_document, platform::RectEdge::MaxY);
    m_kept = &message;

    // A cancelled choice closes nothing.
    PKPopoverController* editor = openEditor();
    answer(QString());
    m_commands->nwRestoreAllData();
    EXPECT_TRUE(editor->shown());

    answer(homePath(u"nothing-here.json"_s));
    m_commands->nwRestoreAllData();
    EXPECT_FALSE(editor->shown());
    EXPECT_TRUE(message.shown());

    editor = openEditor();
    m_commands->nwDeleteAllData();
    EXPECT_FALSE(editor->shown());
    EXPECT_TRUE(message.shown());
    EXPECT_EQ(m_messages.last(), u"All net worth data successfully deleted."_s);
}

TEST_F(DataCommandsTest, TheImportPanelOpensClosesAndAnnouncesTheNewModelOnce)
{
    m_commands->importFromCSV();
    PKPopoverController* panel = m_commands->importPopover();
    ASSERT_TRUE(panel && panel->shown());
    ASSERT_NE(qobject_cast<CSVImportPanelVC*>(panel->contentViewController()), nullptr);
    m_commands->importFromCSV();
    EXPECT_EQ(m_commands->importPopover(), nullptr);

    // Cancel closes it and announces nothing.
    m_commands->importFromCSV();
    QTest::mouseClick(
        m_commands->importPopover()->contentViewController()->findChild<QPushButton*>(u"cancelButton"_s),
        Qt::LeftButton);
    EXPECT_EQ(m_commands->importPopover(), nullptr);
    EXPECT_TRUE(m_posted.isEmpty());

    // An import closes the editors but not the panel until it is done, then reloads once.
    ASSERT_EQ(store().exportToCSV(homePath(u"all.csv"_s)), std::nullopt);
    m_commands->importFromCSV();
    panel = m_commands->importPopover();
    panel->setAnimates(false);
    PKPopoverController* editor = openEditor();
    answer(homePath(u"all.csv"_s));
    auto* importer = qobject_cast<CSVImportPanelVC*>(panel->contentViewController());
    QSignalSpy read(importer, &CSVImportPanelVC::readFinished);
    QTest::mouseClick(
        panel->contentViewController()->findChild<QPushButton*>(u"selectButton"_s), Qt::LeftButton);
    ASSERT_TRUE(!importer->isReading() || read.wait(10000));
    QTest::mouseClick(
        panel->contentViewController()->findChild<QPushButton*>(u"importButton"_s), Qt::LeftButton);
    EXPECT_TRUE(m_panelShownAtImport);
    EXPECT_FALSE(editor->shown());
    EXPECT_EQ(m_commands->importPopover(), nullptr);
    EXPECT_EQ(m_posted, QStringList { notifications::dataReFetched });
    EXPECT_EQ(store().appData()->assetscat()->first()->categoryName(), u"Bank"_s);
}

TEST_F(DataCommandsTest, NothingRunsForCommandsThatWentWhileAskingForAFile)
{
    platform::FileChooser::setPresenter([this](const platform::FileRequest&) {
        m_commands.reset();
        return homePath(u"chosen.json"_s);
    });
    QDir().mkpath(homePath(u"saved"_s));
    m_commands->backupClick();
    EXPECT_FALSE(QFile::exists(homePath(u"chosen.json"_s)));

    m_commands = std::make_unique<DataCommands>(store(), host());
    m_commands->nwRestoreAllData();
    m_commands = std::make_unique<DataCommands>(store(), host());
    m_commands->exportToCSV();
    EXPECT_TRUE(m_messages.isEmpty());
    EXPECT_TRUE(dataFileUnchanged());
}

TEST_F(DataCommandsTest, TheDocumentMenuAndTheWindowShortcuts)
{
    QMenu* menu = m_commands->documentMenu();
    QStringList names;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            names << action->objectName();
    EXPECT_EQ(names,
        QStringList({ u"backupToFileMenuItem"_s, u"restoreFromFileMenuItem"_s, u"deleteAllMenuItem"_s,
            u"exportToCSVMenuItem"_s, u"importFromCSVMenuItem"_s, u"newRecordAction"_s,
            u"exchangeRatesAction"_s }));
    menu->findChild<QAction*>(u"deleteAllMenuItem"_s)->trigger();
    EXPECT_TRUE(m_commands->confirmationPopover()->shown());

    m_commands->installWindowActions(m_window.get());
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(m_posted, QStringList { notifications::addNewRecord });

    QTest::keyClick(m_window.get(), Qt::Key_E, Qt::ControlModifier);
    PKPopoverController* rates = m_commands->ratesPopover();
    ASSERT_TRUE(rates && rates->shown());
    EXPECT_NE(qobject_cast<ExchangerateVC*>(rates->contentViewController()), nullptr);
    EXPECT_EQ(rates->positionView(), m_settings);
    m_commands->showExchangeRates();
    EXPECT_EQ(m_commands->ratesPopover(), nullptr);

    m_locked = true;
    m_commands->showExchangeRates();
    EXPECT_EQ(m_commands->ratesPopover(), nullptr);
}

} // namespace

TEST_F(DataCommandsTest, TheOutcomeOfAConfirmedDeleteIsShownOnceTheQuestionHasGone)
{
    // Shown while the question fades out, the message would go with it when the active
    // window changes back to the main window.
    m_commands->deleteAllDataClick();
    QPointer<PKPopoverController> question = m_commands->confirmationPopover();
    ASSERT_TRUE(question && question->shown());
    QTest::mouseClick(
        question->contentViewController()->findChild<QPushButton*>(u"okButton"_s), Qt::LeftButton);
    QCoreApplication::processEvents(); // the click is handled before the delete runs
    EXPECT_TRUE(store().appData()->nwLogArray()->isEmpty()) << "the delete itself does not wait";
    EXPECT_TRUE(question.isNull() || m_messages.isEmpty());
    EXPECT_EVENTUALLY(question.isNull());
    EXPECT_EQ(m_messages, QStringList { u"All net worth data successfully deleted."_s });
}
