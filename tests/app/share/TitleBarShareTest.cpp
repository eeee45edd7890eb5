// The title bar's share, about and help buttons of the real main window reach the share
// commands through the application's own command handlers.

#include "app/commands/AppCommands.h"
#include "app/share/ShareCommands.h"
#include "app/shell/AppDelegate.h"
#include "model/store/NWData.h"
#include "support/QuietCommands.h"
#include "support/TempHomeTest.h"
#include "uikit/window/TBWindowButton.h"

#include <QCoreApplication>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using mervane::test::QuietCommands;

namespace {

class TitleBarShare : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_delegate = std::make_unique<AppDelegate>(&m_store);
        auto commands = std::make_unique<QuietCommands>(*m_delegate, &m_store);
        m_commands = commands.get();
        m_delegate->setCommandHandlers(std::move(commands));
        m_delegate->start();
        QCoreApplication::processEvents();
        PKPopoverController::setApplicationActiveOverride(true);
    }
    void TearDown() override
    {
        PKPopoverController::setApplicationActiveOverride(std::nullopt);
        m_delegate.reset();
        QCoreApplication::processEvents();
        TempHomeTest::TearDown();
    }
    TBWindowButton* button(const QString& name) const
    {
        auto* found = m_delegate->windowWidget()->findChild<TBWindowButton*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }

    NWData m_store;
    std::unique_ptr<AppDelegate> m_delegate;
    QuietCommands* m_commands = nullptr;
};

TEST_F(TitleBarShare, TheThreeButtonsOpenTheirMenuSheetAndPopover)
{
    ShareCommands& share = m_commands->shareCommands();
    TBWindowButton* shareButton = button(u"shareButton"_s);
    ASSERT_TRUE(shareButton);
    shareButton->click();
    ASSERT_TRUE(share.sharePicker());
    EXPECT_TRUE(share.sharePicker()->isVisible());
    share.sharePicker()->hide();

    TBWindowButton* help = button(u"helpButton"_s);
    ASSERT_TRUE(help);
    help->click();
    ASSERT_TRUE(share.getManualPopover());
    EXPECT_TRUE(share.getManualPopover()->shown());
    EXPECT_EQ(share.getManualPopover()->positionView(), help);
    help->click();
    EXPECT_FALSE(share.getManualPopover());

    TBWindowButton* about = button(u"infoABoutButton"_s);
    ASSERT_TRUE(about);
    about->click();
    ASSERT_TRUE(share.aboutSheet());
    EXPECT_TRUE(share.aboutSheet()->isVisible());
    EXPECT_EQ(share.aboutSheet()->parentWidget(), m_delegate->windowWidget());
    share.aboutSheet()->closeAboutSheet(1);
}

} // namespace
