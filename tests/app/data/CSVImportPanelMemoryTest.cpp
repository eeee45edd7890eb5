// A read model takes many times its file's size, and the allocator keeps what was freed for
// later unless asked to give it back. Every model the panel reads and does not import must
// be destroyed, and the memory release asked for after that. The tests keep a weak
// reference to each model a read makes, and record at each release which were gone by then.
#include "CSVImportPanelFixture.h"

#include "support/Eventually.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/popover/PKPopoverController.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>
#include <QVariantAnimation>

#include <mutex>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class CSVImportPanelMemoryTest : public CSVImportPanelFixture {
protected:
    void SetUp() override
    {
        CSVImportPanelFixture::SetUp();
        CSVImportPanelVC::setModelHookForTesting([this](const std::shared_ptr<MVX_Model>& model) {
            const std::lock_guard lock(m_mutex);
            m_models.push_back(model);
        });
        CSVImportPanelVC::setMemoryReleaseForTesting([this] {
            const std::lock_guard lock(m_mutex);
            std::vector<bool> gone;
            for (const std::weak_ptr<MVX_Model>& model : m_models)
                gone.push_back(model.expired());
            m_releases.push_back(gone);
        });
    }
    void TearDown() override
    {
        // A read still held would wait for ever.
        m_proceed.release(100);
        m_popover.reset();
        m_window.reset();
        CSVImportPanelFixture::TearDown();
        // The panel's last model is freed on the pool, which calls the hooks.
        QThreadPool::globalInstance()->waitForDone();
        CSVImportPanelVC::setReadHookForTesting({});
        CSVImportPanelVC::setModelHookForTesting({});
        CSVImportPanelVC::setMemoryReleaseForTesting({});
    }

    // Shows the panel in a popover over a window, as the shell does (without animations): it
    // stays open while the file panel holds the keyboard.
    void showInPopover()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(800, 600);
        m_window->show();
        m_popover = std::make_unique<PKPopoverController>(m_panel);
        m_popover->setDefaultProperties_ItemEdit();
        m_popover->setAnimates(false);
        m_popover->showRelativeToRect(QRectF(0, 0, 20, 20), m_window.get(), platform::RectEdge::MaxY);
        QCoreApplication::processEvents();
        ASSERT_TRUE(m_popover->shown());
    }

    // Chooses `path` and returns once its read has begun on the pool and is held there.
    void chooseAndHold(const QString& path)
    {
        CSVImportPanelVC::setReadHookForTesting([this](const std::function<bool()>&) {
            m_started.release();
            m_proceed.acquire();
        });
        platform::FileChooser::queueAnswer(path);
        QTest::mouseClick(part<QPushButton>(u"selectButton"_s), Qt::LeftButton);
        ASSERT_TRUE(m_started.tryAcquire(1, 10000));
    }

    std::size_t modelsMade()
    {
        const std::lock_guard lock(m_mutex);
        return m_models.size();
    }
    std::size_t releases()
    {
        const std::lock_guard lock(m_mutex);
        return m_releases.size();
    }
    bool gone(std::size_t model)
    {
        const std::lock_guard lock(m_mutex);
        return model < m_models.size() && m_models[model].expired();
    }
    // Whether the memory release was asked for once the model was gone.
    bool releasedAfter(std::size_t model)
    {
        const std::lock_guard lock(m_mutex);
        for (const std::vector<bool>& gone : m_releases) {
            if (model < gone.size() && gone[model])
                return true;
        }
        return false;
    }

    void expectDataUnchanged()
    {
        EXPECT_EQ(store().appData()->assetscat()->first()->ID(), u"OLD"_s);
        EXPECT_EQ(readFile(NWData::dataFilePath()), m_dataFile);
    }

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<PKPopoverController> m_popover;
    QSemaphore m_started;
    QSemaphore m_proceed;
    std::mutex m_mutex;
    std::vector<std::weak_ptr<MVX_Model>> m_models;
    // For each release: which of the models made by then were gone.
    std::vector<std::vector<bool>> m_releases;
};

// Each way the panel is left without importing what it read.
enum class GivingUp {
    Cancel,
    Escape,
    ClosingThePopover,
    ClosingTheWindow,
    DeletingThePanel,
    ChoosingAnother
};

class CSVImportPanelGivingUp : public CSVImportPanelMemoryTest,
                               public ::testing::WithParamInterface<GivingUp> { };

TEST_P(CSVImportPanelGivingUp, DestroysTheReadModelAndGivesItsMemoryBack)
{
    const GivingUp way = GetParam();
    if (way != GivingUp::DeletingThePanel)
        showInPopover();
    choose(writeCSV(u"good.csv"_s, goodCSVFile));
    ASSERT_TRUE(way == GivingUp::DeletingThePanel || m_popover->shown());
    ASSERT_EQ(modelsMade(), 1u);
    ASSERT_TRUE(m_panel->importedModel());
    EXPECT_EQ(releases(), 0u) << "a model that is kept gave memory back";

    switch (way) {
    case GivingUp::Cancel:
        QTest::mouseClick(part<QPushButton>(u"cancelButton"_s), Qt::LeftButton);
        EXPECT_EQ(m_posted, QStringList { u"CSVImporterClose"_s });
        break;
    case GivingUp::Escape:
        QTest::keyClick(m_panel, Qt::Key_Escape);
        EXPECT_FALSE(m_popover->shown());
        break;
    case GivingUp::ClosingThePopover:
        m_popover->close();
        break;
    case GivingUp::ClosingTheWindow:
        m_window->close();
        EXPECT_FALSE(m_popover->shown());
        break;
    case GivingUp::DeletingThePanel:
        delete m_panel;
        break;
    case GivingUp::ChoosingAnother:
        choose(writeCSV(u"other.csv"_s, goodCSVFile + "Liability Categories\n,L,Loan\n"));
        ASSERT_EQ(modelsMade(), 2u);
        EXPECT_EVENTUALLY(gone(0) && releasedAfter(0));
        EXPECT_FALSE(gone(1));
        EXPECT_FALSE(m_panel->importedModel()->liabilitycat()->isEmpty());
        return;
    }
    EXPECT_EVENTUALLY(gone(0) && releasedAfter(0));
    if (m_alive) {
        EXPECT_EQ(m_panel->importedModel(), nullptr);
        EXPECT_EQ(part<QLabel>(u"csvFileLabel"_s)->text(), QString());
        EXPECT_EQ(part<QLabel>(u"messageLabel"_s)->text(), QString());
        // Nothing is left to import.
        QTest::mouseClick(part<QPushButton>(u"importButton"_s), Qt::LeftButton);
        EXPECT_EQ(part<QLabel>(u"messageLabel"_s)->text(), u"Import Error"_s);
    }
    expectDataUnchanged();
}

constexpr const char* kWayNames[]
    = { "Cancel", "Escape", "ClosingThePopover", "ClosingTheWindow", "DeletingThePanel", "ChoosingAnother" };

void PrintTo(GivingUp way, std::ostream* out)
{
    *out << kWayNames[int(way)];
}

std::string wayName(const ::testing::TestParamInfo<GivingUp>& info)
{
    return kWayNames[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, CSVImportPanelGivingUp,
    ::testing::Values(GivingUp::Cancel, GivingUp::Escape, GivingUp::ClosingThePopover,
        GivingUp::ClosingTheWindow, GivingUp::DeletingThePanel, GivingUp::ChoosingAnother),
    wayName);

// A file the read refuses, or cannot read, leaves no model, and what its read made is given
// back on the reading thread.
TEST_F(CSVImportPanelMemoryTest, ARefusedOrUnreadableFileGivesWhatItsReadMadeBack)
{
    QByteArray larger = goodCSVFile;
    for (int m = 2; m <= 12; ++m)
        larger += ",2020," + QByteArray::number(m) + ",a note for the month,100,0,100,100\n";
    store().setMaxDataFileSizeForTesting(1500);
    choose(writeCSV(u"larger.csv"_s, larger));
    EXPECT_TRUE(part<QLabel>(u"messageLabel"_s)->text().contains(u"larger than 1500 bytes"_s));
    EXPECT_EQ(modelsMade(), 0u);
    EXPECT_EQ(releases(), 1u);

    choose(writeCSV(u"statement.csv"_s, "Date,Amount\n2024-03-01,-42.50\n"));
    EXPECT_TRUE(part<QLabel>(u"messageLabel"_s)->text().startsWith(u"CSV import failed"_s));
    EXPECT_EQ(modelsMade(), 0u);
    EXPECT_EQ(releases(), 2u);
    EXPECT_EQ(m_panel->importedModel(), nullptr);
}

TEST_F(CSVImportPanelMemoryTest, AReadStoppedWhileItRunsGivesWhatItMadeBack)
{
    chooseAndHold(writeCSV(u"good.csv"_s, goodCSVFile));
    auto* overlay = m_panel->findChild<POProgressOverlay*>();
    ASSERT_NE(overlay, nullptr);
    QTest::mouseClick(overlay, Qt::LeftButton);
    ASSERT_FALSE(m_panel->isReading());
    m_proceed.release();
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_EQ(releases(), 1u);
    EXPECT_EQ(modelsMade(), 0u);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_panel->importedModel(), nullptr);
    expectDataUnchanged();
}

// The read had made its model when the stop came (or the panel went), before its end reached
// the main thread or while "Reading ..." faded out after it: that model is destroyed at once,
// and its memory given back. Nothing of a deleted panel runs after it.
TEST_F(CSVImportPanelMemoryTest, AModelMadeBeforeTheStopArrivedIsDestroyed)
{
    for (const bool deletePanel : { false, true }) {
        SCOPED_TRACE(deletePanel ? "panel deleted" : "read stopped");
        const std::size_t model = modelsMade();
        chooseAndHold(writeCSV(u"good.csv"_s, goodCSVFile));
        m_proceed.release();
        QThreadPool::globalInstance()->waitForDone();
        ASSERT_EQ(modelsMade(), model + 1);
        ASSERT_FALSE(gone(model));
        if (deletePanel)
            delete m_panel;
        else
            m_panel->stopReading();
        EXPECT_EVENTUALLY(gone(model) && releasedAfter(model));
        EXPECT_TRUE(!m_alive || !m_panel->importedModel());
    }
    // Deleted at several moments (ms) of the fade: the overlay, the panel's child, goes with it.
    for (const int fadeMs : { 0, 100, 200, 290 }) {
        SCOPED_TRACE(fadeMs);
        m_panel = new CSVImportPanelVC(&store());
        m_alive = m_panel;
        const std::size_t model = modelsMade();
        chooseAndHold(writeCSV(u"good.csv"_s, goodCSVFile));
        auto* overlay = m_panel->findChild<POProgressOverlay*>();
        ASSERT_NE(overlay, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([overlay] { return overlay->alpha() == 1.0; }));
        m_proceed.release();
        ASSERT_TRUE(QTest::qWaitFor([overlay] { return !overlay->isShowing(); }));
        QVariantAnimation* fade = nullptr;
        for (auto* animation : overlay->findChildren<QVariantAnimation*>(Qt::FindDirectChildrenOnly)) {
            if (animation->state() == QAbstractAnimation::Running)
                fade = animation;
        }
        ASSERT_NE(fade, nullptr);
        fade->setCurrentTime(fadeMs);
        ASSERT_FALSE(overlay->isFinished());
        QSignalSpy finished(m_panel, &CSVImportPanelVC::readFinished);
        delete m_panel;
        EXPECT_EQ(finished.count(), 0);
        EXPECT_EVENTUALLY(gone(model) && releasedAfter(model));
    }
    expectDataUnchanged();
}

} // namespace
