// The title bar's print button of the real main window, through the application's own
// commands: a report that cannot be printed is explained at the button that asked for it.

#include "app/AppNotifications.h"
#include "app/alerts/MessagePopover.h"
#include "app/commands/AppCommands.h"
#include "app/shell/AppDelegate.h"
#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "platform/UserDefaults.h"
#include "reports/choice/ReportChoiceController.h"
#include "reports/settings/ReportChoiceSettings.h"
#include "support/Eventually.h"
#include "support/QuietCommands.h"
#include "support/RecordBuilders.h"
#include "support/TempHomeTest.h"
#include "uikit/window/TBWindowButton.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class TitleBarPrint : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_delegate = std::make_unique<AppDelegate>(&m_store);
        m_delegate->setCommandHandlers(std::make_unique<QuietCommands>(*m_delegate, &m_store));
        m_delegate->start();
        QApplication::processEvents();
        PKPopoverController::setApplicationActiveOverride(true);
    }
    void TearDown() override
    {
        PKPopoverController::closeAllShownPopovers();
        PKPopoverController::setApplicationActiveOverride(std::nullopt);
        m_delegate.reset();
        QApplication::processEvents();
        TempHomeTest::TearDown();
    }
    TBWindowButton* printButton() const
    {
        return m_delegate->windowWidget()->findChild<TBWindowButton*>(u"printButton"_s);
    }
    // Presses the print button, chooses the statement of `month` of `year` and presses Print.
    void printStatementOf(int month, int year)
    {
        printButton()->click();
        ReportChoiceController* choice = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!choice && top->isVisible())
                choice = top->findChild<ReportChoiceController*>();
        }
        ASSERT_TRUE(choice);
        for (const auto& [name, number] :
            { std::pair { u"monthCtl"_s, month }, std::pair { u"yearCtl"_s, year } }) {
            auto* box = choice->findChild<QComboBox*>(name);
            ASSERT_TRUE(box);
            box->setCurrentIndex(box->findData(number));
        }
        choice->findChild<QPushButton*>(u"printButton"_s)->click();
    }
    bool messageShown() const
    {
        return m_delegate->messagePopover() && m_delegate->messagePopover()->isShown();
    }

    NWData m_store;
    std::unique_ptr<AppDelegate> m_delegate;
};

TEST_F(TitleBarPrint, NoRecordToPrintIsToldAtThePrintButton)
{
    ASSERT_TRUE(printButton());
    ASSERT_NE(printButton(), m_delegate->exportButton());

    // Nothing recorded yet.
    printStatementOf(12, 2026);
    EXPECT_EVENTUALLY(messageShown());
    ASSERT_TRUE(m_delegate->messagePopover());
    EXPECT_TRUE(m_delegate->messagePopover()->text().startsWith(u"There is no record to print yet"_s))
        << m_delegate->messagePopover()->text().toStdString();
    EXPECT_EQ(m_delegate->messagePopover()->popover()->positionView(), printButton());
    m_delegate->messagePopover()->close();
    EXPECT_EVENTUALLY(!messageShown());

    // Records, but none of the month asked for.
    auto model = MVX_Model::makeEmpty();
    model->setNwLogArray(MVX_NWLogList { recordWithTotals(2025, 12, 10, 5) });
    m_store.setAppData(model);
    printStatementOf(12, 2026);
    EXPECT_EVENTUALLY(messageShown());
    EXPECT_EQ(m_delegate->messagePopover()->text(), u"There is no record for December 2026 to print."_s);
    EXPECT_EQ(m_delegate->messagePopover()->popover()->positionView(), printButton());
}

} // namespace
