#include "LockTestSupport.h"

#include "app/AppNotifications.h"
#include "app/alerts/MessagePopover.h"
#include "app/lock/PasswordStore.h"
#include "platform/Keychain.h"
#include "support/Eventually.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QLabel>
#include <QPropertyAnimation>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class AppLockTest : public mervane::test::InMemoryLockTest {
protected:
    TBWindowButton* standardButton(TBStandardButtons::Kind kind) const
    {
        return m_delegate->window()->standardWindowButton(kind);
    }
    void expectCommandsShown(bool shown)
    {
        ASSERT_EQ(m_delegate->titleBarButtons().size(), 7);
        for (TBWindowButton* button : m_delegate->titleBarButtons()) {
            EXPECT_EQ(button->isVisible(), shown) << button->objectName().toStdString();
            EXPECT_EQ(button->isEnabled(), shown) << button->objectName().toStdString();
        }
        // Zoom is off while locked; minimising stays possible.
        if (TBWindowButton* zoom = standardButton(TBStandardButtons::Kind::Zoom)) {
            EXPECT_EQ(zoom->isEnabled(), shown);
        }
        if (TBWindowButton* minimise = standardButton(TBStandardButtons::Kind::Miniaturize)) {
            EXPECT_TRUE(minimise->isEnabled());
        }
    }
    bool shaking() const { return !controller()->lockView()->findChildren<QPropertyAnimation*>().isEmpty(); }
};

TEST_F(AppLockTest, LaunchWithAPasswordBuildsNothingUntilTheFirstUnlock)
{
    ASSERT_EQ(mervane::test::storeAndWait(u"s3cret"_s, u"pet"_s), std::nullopt);
    AppDelegate& delegate = makeDelegate();
    delegate.start();

    EXPECT_TRUE(delegate.usePasswords());
    EXPECT_TRUE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(lock().modalOverlay().isShown());
    EXPECT_FALSE(delegate.initializedAfterPwd());
    EXPECT_TRUE(delegate.titleBarButtons().isEmpty());
    EXPECT_FALSE(delegate.window()->contentView()->isVisible());
    const int refetchesWhileLocked = m_refetches;
    waitUntilReady();

    attempt(u"wrong"_s);
    EXPECT_TRUE(shaking());
    EXPECT_TRUE(controller()->hintLabel()->isHidden());
    attempt(u"wrong again"_s);
    EXPECT_EQ(controller()->hintLabel()->text(), u"Password hint: pet"_s);
    EXPECT_TRUE(delegate.pwdWinDisplayed());

    attempt(u"s3cret"_s);
    EXPECT_FALSE(delegate.initializedAfterPwd()) << "built before the spin ended";
    finishSpin();
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_EQ(m_refetches, refetchesWhileLocked + 1);
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
    expectCommandsShown(true);

    // A later lock only covers the window again.
    m_delegate->titleBarButtons().first()->click();
    EXPECT_TRUE(delegate.pwdWinDisplayed());
    waitUntilReady();
    attempt(u"s3cret"_s);
    finishSpin();
    EXPECT_EQ(m_refetches, refetchesWhileLocked + 1);
}

TEST_F(AppLockTest, WhileLockedNoCommandPopoverOrButtonCanBeReached)
{
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    EXPECT_EVENTUALLY(delegate.initializedAfterPwd());
    ASSERT_FALSE(delegate.pwdWinDisplayed());
    delegate.showMessage(u"An open message"_s);
    ASSERT_TRUE(delegate.messagePopover()->isShown());

    ASSERT_EQ(mervane::test::storeAndWait(u"s3cret"_s, u"pet"_s), std::nullopt);
    TBWindowButton* lockButton = delegate.titleBarButtons().first();
    lockButton->click();
    ASSERT_TRUE(delegate.pwdWinDisplayed());
    EXPECT_EVENTUALLY(PKPopoverController::shownPopovers().isEmpty());
    waitUntilReady();
    expectCommandsShown(false);

    // Neither a button's signal (as a key equivalent sends it) nor a command notification
    // gets through.
    TBWindowButton* settings = delegate.titleBarButtons().at(1);
    Q_EMIT settings->clicked();
    platform::NotificationCenter::defaultCenter().post(notifications::deleteAllData);
    EXPECT_TRUE(m_calls.isEmpty()) << m_calls.join(u", "_s).toStdString();

    attempt(u"s3cret"_s);
    finishSpin();
    expectCommandsShown(true);
    Q_EMIT settings->clicked();
    platform::NotificationCenter::defaultCenter().post(notifications::deleteAllData);
    EXPECT_EQ(m_calls, (QStringList { u"settings"_s, u"deleteAll"_s }));
}

TEST_F(AppLockTest, LockButtonWithoutAPasswordTogglesItsNotice)
{
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    EXPECT_EVENTUALLY(delegate.initializedAfterPwd());
    TBWindowButton* lockButton = delegate.titleBarButtons().first();

    lockButton->click();
    EXPECT_EVENTUALLY(delegate.messagePopover() && delegate.messagePopover()->isShown());
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    ASSERT_NE(delegate.messagePopover(), nullptr);
    EXPECT_EQ(delegate.messagePopover()->text(), u"You haven't set your password yet ('Settings' form)! "_s);
    EXPECT_EQ(delegate.messagePopover()->popover()->positionView(), lockButton);

    lockButton->click();
    EXPECT_EVENTUALLY(!delegate.messagePopover()->isShown());
}

TEST_F(AppLockTest, EachLockReadsThePasswordAndHintAfresh)
{
    ASSERT_EQ(mervane::test::storeAndWait(u"first"_s, u"one"_s), std::nullopt);
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    waitUntilReady();
    attempt(u"first"_s);
    finishSpin();

    ASSERT_EQ(mervane::test::storeAndWait(u"second"_s, u"two"_s), std::nullopt);
    delegate.titleBarButtons().first()->click();
    waitUntilReady();
    attempt(u"first"_s);
    attempt(u"first"_s);
    EXPECT_TRUE(delegate.pwdWinDisplayed());
    EXPECT_EQ(controller()->hintLabel()->text(), u"Password hint: two"_s);
    attempt(u"second"_s);
    finishSpin();
    EXPECT_FALSE(delegate.pwdWinDisplayed());

    // Removed in the settings: the lock button only tells that there is none.
    ASSERT_EQ(mervane::test::storeAndWait({}, {}), std::nullopt);
    delegate.titleBarButtons().first()->click();
    EXPECT_EVENTUALLY(delegate.messagePopover()->isShown());
    EXPECT_FALSE(delegate.pwdWinDisplayed());
}

TEST_F(AppLockTest, WithoutAKeychainTheApplicationRunsUnlocked)
{
    // No password was ever set (no "AppLockIsSet"): a keychain that cannot be reached holds none.
    m_keychain->setUnavailable(u"No secret service"_s);
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    const int afterLoad = m_refetches;
    EXPECT_EVENTUALLY(delegate.initializedAfterPwd());
    EXPECT_FALSE(delegate.usePasswords());
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    EXPECT_EQ(controller(), nullptr);
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
    EXPECT_EQ(m_refetches, afterLoad + 1) << "the screens made after the load must fill themselves";
}

} // namespace
