// The chosen file is read on the background pool. A hook holds each read on its thread
// until the test lets it go, so that the panel can be stopped, closed or deleted while the
// read is under way.
#include "CSVImportPanelFixture.h"

#include "app/AppNotifications.h"
#include "model/csv/CSVExport.h"
#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"
#include "platform/FileChooser.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "support/Eventually.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <atomic>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class CSVImportPanelReadTest : public CSVImportPanelFixture {
protected:
    void TearDown() override
    {
        // A read still held would wait for ever.
        m_proceed.release(100);
        QThreadPool::globalInstance()->waitForDone();
        CSVImportPanelVC::setReadHookForTesting({});
        m_popover.reset();
        CSVImportPanelFixture::TearDown();
    }

    QString text(const QString& label) const { return part<QLabel>(label)->text(); }

    // Chooses `path` and returns once its read has begun on the pool and is held there.
    void chooseAndHold(const QString& path)
    {
        CSVImportPanelVC::setReadHookForTesting([this](const std::function<bool()>& stopRequested) {
            m_started.release();
            m_proceed.acquire();
            m_sawStop = stopRequested();
        });
        platform::FileChooser::queueAnswer(path);
        QTest::mouseClick(part<QPushButton>(u"selectButton"_s), Qt::LeftButton);
        ASSERT_TRUE(m_started.tryAcquire(1, 10000));
    }

    // Lets the held read go and delivers whatever it sends back to the main thread.
    void releaseAndSettle()
    {
        m_proceed.release();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // The panel's parts as the user sees them.
    struct Shown {
        QString file;
        QString message;
        std::shared_ptr<MVX_Model> model;
        bool selectEnabled;
        bool importEnabled;
        bool operator==(const Shown&) const = default;
    };
    Shown shown() const
    {
        return { text(u"csvFileLabel"_s), text(u"messageLabel"_s), m_panel->importedModel(),
            part<QPushButton>(u"selectButton"_s)->isEnabled(),
            part<QPushButton>(u"importButton"_s)->isEnabled() };
    }

    void expectDataUnchanged()
    {
        EXPECT_EQ(store().appData()->assetscat()->first()->ID(), u"OLD"_s);
        EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);
    }

    std::unique_ptr<PKPopoverController> m_popover;
    QSemaphore m_started;
    QSemaphore m_proceed;
    std::atomic<bool> m_sawStop { false };
};

TEST_F(CSVImportPanelReadTest, AClickOnTheOverlayStopsTheReadAndLeavesThePanelAsItWas)
{
    choose(writeCSV(u"first.csv"_s, goodCSVFile));
    ASSERT_TRUE(m_panel->importedModel());
    const Shown before = shown();
    QSignalSpy finished(m_panel, &CSVImportPanelVC::readFinished);

    const QString second = writeCSV(u"second.csv"_s, goodCSVFile + "Liability Categories\n,L,Loan\n");
    chooseAndHold(second);
    EXPECT_TRUE(m_panel->isReading());
    EXPECT_EQ(text(u"csvFileLabel"_s), second);
    EXPECT_FALSE(part<QPushButton>(u"selectButton"_s)->isEnabled());
    EXPECT_FALSE(part<QPushButton>(u"importButton"_s)->isEnabled());
    auto* overlay = m_panel->findChild<POProgressOverlay*>();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->labelText(), u"Reading ..."_s);
    EXPECT_EVENTUALLY(overlay->isShowing());

    QTest::mouseClick(overlay, Qt::LeftButton);
    EXPECT_FALSE(m_panel->isReading());
    EXPECT_TRUE(shown() == before);

    releaseAndSettle();
    EXPECT_TRUE(m_sawStop) << "the read was not asked to stop";
    EXPECT_TRUE(shown() == before);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(m_posted.isEmpty());
    expectDataUnchanged();

    // What was read before the stopped read is still the one Import installs.
    QTest::mouseClick(part<QPushButton>(u"importButton"_s), Qt::LeftButton);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterImport"_s });
    EXPECT_EQ(store().appData()->assetscat()->first()->ID(), u"A"_s);
    EXPECT_TRUE(store().appData()->liabilitycat()->isEmpty());
}

TEST_F(CSVImportPanelReadTest, AReadThatEndsAfterThePanelWasDeletedDoesNothing)
{
    chooseAndHold(writeCSV(u"good.csv"_s, goodCSVFile));
    delete m_panel;
    ASSERT_TRUE(m_alive.isNull());
    releaseAndSettle();
    EXPECT_TRUE(m_sawStop);
    EXPECT_TRUE(m_posted.isEmpty());
    expectDataUnchanged();
}

TEST_F(CSVImportPanelReadTest, ClosingThePopoverStopsTheReadAndItsEndIsDropped)
{
    QSignalSpy finished(m_panel, &CSVImportPanelVC::readFinished);
    chooseAndHold(writeCSV(u"good.csv"_s, goodCSVFile));
    QWidget window;
    window.resize(800, 600);
    window.show();
    m_popover = std::make_unique<PKPopoverController>(m_panel);
    m_popover->setAnimates(false);
    m_popover->showRelativeToRect(QRectF(0, 0, 20, 20), &window, platform::RectEdge::MaxY);
    QCoreApplication::processEvents();
    ASSERT_TRUE(m_popover->shown());
    ASSERT_TRUE(m_panel->isReading());

    m_popover->close();
    ASSERT_TRUE(m_alive);
    EXPECT_FALSE(m_panel->isReading());
    releaseAndSettle();
    EXPECT_TRUE(m_sawStop);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(m_panel->importedModel(), nullptr);
    EXPECT_EQ(text(u"csvFileLabel"_s), QString());
    expectDataUnchanged();
}

TEST_F(CSVImportPanelReadTest, CancelDuringAReadStopsItAndPostsClose)
{
    chooseAndHold(writeCSV(u"good.csv"_s, goodCSVFile));
    QTest::mouseClick(part<QPushButton>(u"cancelButton"_s), Qt::LeftButton);
    EXPECT_FALSE(m_panel->isReading());
    releaseAndSettle();
    EXPECT_TRUE(m_sawStop);
    EXPECT_EQ(m_posted, QStringList { u"CSVImporterClose"_s });
    EXPECT_EQ(m_panel->importedModel(), nullptr);
    expectDataUnchanged();
}

// The read on the pool gives the model, or the failure message, the store's synchronous read
// gives for the same file.
TEST_F(CSVImportPanelReadTest, TheBackgroundReadGivesWhatTheSynchronousReadGives)
{
    auto household = MVX_Model::makeEmpty();
    household->setTags(MVX_TagsList { makeTag(u"T"_s, u"Home, \"sweet\""_s) });
    household->setAssetscat(MVX_CategoryList { makeCategory(u"A"_s, u"Bank"_s, QStringList { u"T"_s }) });
    household->setLiabilitycat(MVX_CategoryList { makeCategory(u"L"_s, u"Loan"_s) });
    for (int m = 1; m <= 12; ++m) {
        auto record
            = makeRecord(2021, m, { makeLog(u"A"_s, 2021, m, m * 100.5) }, { makeLog(u"L"_s, 2021, m, 7) });
        record->setNote(u"note %1,\nwith a line"_s.arg(m));
        household->nwLogArray()->append(record);
    }
    const QByteArray ids = "NW Logs\n,,,,,,,A\nAsset Categories\n,A\n";
    int n = 0;
    for (const QByteArray& csvText : { *csv::csvText(*household), goodCSVFile,
             QByteArray(ids + ",2020,1,,1,0,1,1,5\n"), QByteArray(ids + ",2020,1,,abc,0,1,1\n"),
             QByteArray(ids + ",2020,1,\"never closed"), QByteArray(ids + ",2020,1,\xc3\x28,1,0,1,1\n"),
             QByteArray("Date,Amount\n2024-03-01,-42.50\n") }) {
        const QString path = writeCSV(u"file%1.csv"_s.arg(++n), csvText);
        SCOPED_TRACE(csvText.left(80).toStdString());
        choose(path);
        const platform::Expected<std::shared_ptr<MVX_Model>> direct = NWData::importCSVFromFilePath(path);
        if (direct) {
            ASSERT_TRUE(m_panel->importedModel());
            EXPECT_TRUE(*m_panel->importedModel() == **direct);
        } else {
            EXPECT_EQ(m_panel->importedModel(), nullptr);
            EXPECT_EQ(text(u"messageLabel"_s),
                platform::localized(NWData::csvImportFailureMessage).arg(direct.error()));
        }
    }
    EXPECT_TRUE(m_posted.isEmpty());
    expectDataUnchanged();
}

} // namespace
