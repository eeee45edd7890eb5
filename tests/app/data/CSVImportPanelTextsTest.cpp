#include "app/data/CSVImportPanelVC.h"

#include "model/queries/ModelBuilders.h"
#include "model/store/NWData.h"
#include "platform/FileChooser.h"
#include "support/TextFits.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

const QByteArray goodFile
    = "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n,A,Bank,,0,,\n\n"
      "NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,,A\n"
      ",2020,1,first,100,0,100,100\n";

// The panel as the shell shows it: in a popover below the document button.
class CSVImportPanelTexts : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(50, 50, 1000, 760);
        m_anchor = new QPushButton(u"Document"_s, m_window.get());
        m_anchor->setGeometry(800, 8, 23, 23);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_panel = new CSVImportPanelVC(&store());
        m_popover = std::make_unique<PKPopoverController>(m_panel);
        m_popover->setDefaultProperties_ItemEdit();
        m_popover->setAnimates(false);
        m_popover->showRelativeToRect(QRectF(m_anchor->rect()), m_anchor, platform::RectEdge::MaxY);
        settle();
    }
    void TearDown() override
    {
        platform::FileChooser::clearQueuedAnswers();
        m_popover.reset();
        m_window.reset();
        ModelTest::TearDown();
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    void choose(const QString& path)
    {
        platform::FileChooser::queueAnswer(path);
        QSignalSpy finished(m_panel, &CSVImportPanelVC::readFinished);
        QTest::mouseClick(m_panel->findChild<QPushButton*>(u"selectButton"_s), Qt::LeftButton);
        ASSERT_TRUE(!m_panel->isReading() || finished.wait(10000));
        settle();
    }
    // A file deep in the household's folders, so that its path takes more than one line.
    QString writeDeepCSV(const QByteArray& text)
    {
        const QString folder = homePath(
            u"Documents/Household finances/Net worth exports from the old laptop/2025 year end/December"_s);
        EXPECT_TRUE(QDir().mkpath(folder));
        const QString path
            = folder + u"/mervane net worth records exported on the last day of the year.csv"_s;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    void expectPanelFits(const char* when) const
    {
        EXPECT_EQ(QSizeF(m_panel->size()), m_popover->contentSize()) << when;
        const QRect inWindow(m_panel->mapTo(m_panel->window(), QPoint(0, 0)), m_panel->size());
        EXPECT_TRUE(m_panel->window()->rect().contains(inWindow)) << when;
        expectEveryTextFits(*m_panel, when);
        // The buttons are not pushed out either.
        for (const QPushButton* button : m_panel->findChildren<QPushButton*>()) {
            const QRect inPanel(button->mapTo(m_panel, QPoint(0, 0)), button->size());
            EXPECT_TRUE(m_panel->rect().contains(inPanel)) << when << ": " << qPrintable(button->text());
            EXPECT_GE(button->height(), button->minimumSizeHint().height()) << when;
        }
    }

    std::unique_ptr<QWidget> m_window;
    QPushButton* m_anchor = nullptr;
    CSVImportPanelVC* m_panel = nullptr;
    std::unique_ptr<PKPopoverController> m_popover;
};

TEST_F(CSVImportPanelTexts, PanelGrowsWithTheChosenFileAndItsSummary)
{
    expectPanelFits("opened");
    const int openedHeight = m_popover->popoverWindow()->height();
    const int top = m_popover->popoverWindow()->y();

    const QString path = writeDeepCSV(goodFile);
    choose(path);
    ASSERT_TRUE(m_panel->importedModel());
    ASSERT_EQ(m_panel->findChild<QLabel*>(u"csvFileLabel"_s)->text(), path);
    expectPanelFits("file chosen");
    const QLabel* summary = m_panel->findChild<QLabel*>(u"messageLabel"_s);
    EXPECT_GE(m_popover->popoverWindow()->height(), openedHeight + 2 * summary->fontMetrics().lineSpacing());
    EXPECT_EQ(m_popover->popoverWindow()->y(), top) << "it grows downwards, away from the document button";
    // A summary is the panel's own text, not a band of another colour.
    EXPECT_FALSE(summary->autoFillBackground());
}

TEST_F(CSVImportPanelTexts, LongFailuresAreShownWholeAndTheExplanationStays)
{
    choose(writeDeepCSV(goodFile + ",2020,2,second,1,0,1,1,2\n"));
    EXPECT_EQ(m_panel->importedModel(), nullptr);
    expectPanelFits("bad file");
    const QLabel* message = m_panel->findChild<QLabel*>(u"messageLabel"_s);
    EXPECT_TRUE(message->autoFillBackground()) << "a failure stands on its red band";

    const QString failure = u"CSV import failed: the data file could not be written: "_s
        + u"No space left on device. Free some space on the disk that holds your home folder "
          "and try again; the current data are unchanged and a copy was kept."_s.repeated(2);
    m_panel->exportImportErrorMessage(failure);
    settle();
    EXPECT_EQ(message->text(), failure);
    expectPanelFits("long failure");

    // The explanation names the copy it keeps, exactly and whole.
    const auto* explanation = m_panel->findChild<QLabel*>(u"warningLabel"_s);
    ASSERT_TRUE(explanation);
    EXPECT_EQ(explanation->textFormat(), Qt::PlainText);
    EXPECT_TRUE(explanation->text().endsWith(u"mervane.json.before-import-<date>-<time>."_s))
        << qPrintable(explanation->text());

    // A shorter text gives the room back.
    const int longHeight = m_popover->popoverWindow()->height();
    m_panel->exportImportErrorMessage(u"Import Error"_s);
    settle();
    expectPanelFits("short failure");
    EXPECT_LT(m_popover->popoverWindow()->height(), longHeight);
}

} // namespace
