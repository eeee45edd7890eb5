// The lock against a keychain that is slow, silent, failing or gone, with and without
// "AppLockIsSet".
#include "LockTestSupport.h"

#include "app/alerts/MessagePopover.h"
#include "app/shell/AppSettings.h"
#include "platform/Keychain.h"
#include "support/Eventually.h"
#include "uikit/overlay/MOModalOverlay.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using Answering = platform::InMemoryKeychain::Answering;
using KeychainState = PasswordOverlayWindowController::KeychainState;

namespace {

class AppLockKeychainTest : public mervane::test::InMemoryLockTest {
protected:
    /// A password kept by an earlier run, with or without the flag.
    void storedEarlier(bool flag)
    {
        m_keychain->setItem(u"UserAccount"_s, u"s3cret"_s);
        m_keychain->setItem(u"PasswordHint"_s, u"pet"_s);
        if (flag)
            AppSettings::setAppLockIsSet(true);
    }
    void answerAll()
    {
        while (m_keychain->heldCount() > 0)
            m_keychain->answerHeld();
    }
    /// Locked, with nothing of the data in view and nothing able to open it.
    void expectLockedWithoutData()
    {
        EXPECT_TRUE(m_delegate->pwdWinDisplayed());
        EXPECT_TRUE(lock().modalOverlay().isShown());
        EXPECT_FALSE(m_delegate->window()->contentView()->isVisible());
        EXPECT_FALSE(m_delegate->initializedAfterPwd());
        ASSERT_NE(controller(), nullptr);
        EXPECT_FALSE(controller()->pwdEditCtl()->isEnabled());
        EXPECT_FALSE(controller()->customUnlockButton()->isEnabled());
        // Not even an empty field against a password not known yet.
        controller()->unlockBtnPress();
        EXPECT_NE(controller()->animation()->state(), QAbstractAnimation::Running);
    }
    QString status() const { return controller()->keychainStatus()->text(); }
    static bool reachable(QWidget* window, QWidget* button)
    {
        const QPoint centre = button->mapTo(window, button->rect().center());
        return button->isVisible() && button->isEnabled() && window->childAt(centre) == button;
    }
};

TEST_F(AppLockKeychainTest, WithTheFlagASlowKeychainKeepsTheLockUpUntilItHandsOverThePassword)
{
    storedEarlier(true);
    m_keychain->setAnswering(Answering::WhenReleased);
    AppDelegate& delegate = makeDelegate();
    delegate.start();

    // At once, before the keychain has said anything: the lock, never a blank window.
    expectLockedWithoutData();
    EXPECT_EQ(controller()->keychainState(), KeychainState::Waiting);
    EXPECT_TRUE(status().startsWith(u"Waiting for the keychain"_s)) << status().toStdString();
    EXPECT_TRUE(controller()->keychainStatus()->isVisibleTo(controller()));
    EXPECT_FALSE(controller()->tryAgainButton()->isVisibleTo(controller()));
    attempt(QString());
    EXPECT_TRUE(delegate.pwdWinDisplayed());

    answerAll();
    ASSERT_EQ(controller()->keychainState(), KeychainState::Ready);
    EXPECT_FALSE(controller()->keychainStatus()->isVisibleTo(controller()));
    EXPECT_TRUE(controller()->pwdEditCtl()->isEnabled());
    attempt(u"wrong"_s);
    EXPECT_TRUE(delegate.pwdWinDisplayed());
    attempt(u"s3cret"_s);
    finishSpin();
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
}

TEST_F(AppLockKeychainTest, WithTheFlagAFailingOrEmptyKeychainKeepsTheLockAndTryAgainOpensIt)
{
    storedEarlier(true);
    m_keychain->setUnavailable(u"The secret service is not running."_s);
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    EXPECT_EVENTUALLY(controller() && controller()->keychainState() == KeychainState::Failed);
    expectLockedWithoutData();
    EXPECT_TRUE(status().contains(u"The secret service is not running."_s)) << status().toStdString();
    QPushButton* tryAgain = controller()->tryAgainButton();
    ASSERT_TRUE(tryAgain->isVisibleTo(controller()));

    // The keychain answers, but hands over no password (a locked collection whose unlock
    // was declined answers so): still locked.
    m_keychain->setUnavailable(std::nullopt);
    m_keychain->setItem(u"UserAccount"_s, QString());
    QTest::mouseClick(tryAgain, Qt::LeftButton);
    EXPECT_EQ(controller()->keychainState(), KeychainState::Waiting);
    EXPECT_EVENTUALLY(controller()->keychainState() == KeychainState::Failed);
    expectLockedWithoutData();
    EXPECT_TRUE(status().contains(u"holds no password"_s)) << status().toStdString();

    // A read error, then the service answers: the right password opens the window.
    m_keychain->failReads(u"UserAccount"_s, u"Timed out"_s);
    QTest::mouseClick(tryAgain, Qt::LeftButton);
    EXPECT_EVENTUALLY(controller()->keychainState() == KeychainState::Failed);
    EXPECT_TRUE(status().contains(u"Timed out"_s));
    m_keychain->stopFailing();
    m_keychain->setItem(u"UserAccount"_s, u"s3cret"_s);
    QTest::mouseClick(tryAgain, Qt::LeftButton);
    waitUntilReady();
    attempt(u"s3cret"_s);
    finishSpin();
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_TRUE(AppSettings::appLockIsSet());
}

TEST_F(AppLockKeychainTest, ASilentKeychainLeavesTheTitleBarUncoveredAndQuittingReachable)
{
    storedEarlier(true);
    m_keychain->setAnswering(Answering::Never);
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    QWidget* window = delegate.windowWidget();
    window->resize(1000, 700);
    QCoreApplication::processEvents();
    expectLockedWithoutData();

    // The overlay dims and holds the panel below the 40-point title strip only.
    auto* dimmed = window->findChild<QWidget*>(u"overlayView"_s);
    ASSERT_NE(dimmed, nullptr);
    EXPECT_EQ(dimmed->geometry(), QRect(0, 40, window->width(), window->height() - 40));
    EXPECT_EQ(controller()->mapTo(window, QPoint(0, 0)).y(), 40);
    QWidget* titleImage = lock().titleImage();
    ASSERT_NE(titleImage, nullptr);
    EXPECT_EQ(titleImage->parentWidget(), delegate.window()->titleBarView());
    EXPECT_EQ(titleImage->geometry(), QRect(120, 0, 248, 40));

    // Close and minimise stay reachable, zoom does not.
    for (const auto kind : { TBStandardButtons::Kind::Close, TBStandardButtons::Kind::Miniaturize }) {
        TBWindowButton* button = delegate.window()->standardWindowButton(kind);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(reachable(window, button));
    }
    if (TBWindowButton* zoom = delegate.window()->standardWindowButton(TBStandardButtons::Kind::Zoom)) {
        EXPECT_FALSE(zoom->isEnabled());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(controller()->keychainState(), KeychainState::Waiting);
}

TEST_F(AppLockKeychainTest, WithoutTheFlagAPasswordFromTheKeychainLocksAndTheFlagIsGained)
{
    storedEarlier(false);
    m_keychain->setAnswering(Answering::WhenReleased);
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    // Asked as before: the content stays hidden until the keychain answers.
    EXPECT_FALSE(delegate.window()->contentView()->isVisible());
    EXPECT_FALSE(delegate.initializedAfterPwd());
    EXPECT_FALSE(delegate.pwdWinDisplayed());

    answerAll();
    ASSERT_TRUE(delegate.pwdWinDisplayed());
    EXPECT_EQ(controller()->keychainState(), KeychainState::Ready);
    EXPECT_TRUE(AppSettings::appLockIsSet());
    EXPECT_FALSE(delegate.window()->contentView()->isVisible());
    attempt(u"s3cret"_s);
    finishSpin();
    EXPECT_TRUE(delegate.initializedAfterPwd());
}

TEST_F(AppLockKeychainTest, WithoutTheFlagASlowKeychainWithoutAPasswordOpensOnceItAnswers)
{
    m_keychain->setAnswering(Answering::WhenReleased);
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    const int afterLoad = m_refetches;
    EXPECT_FALSE(delegate.window()->contentView()->isVisible());
    answerAll();
    EXPECT_TRUE(delegate.initializedAfterPwd());
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(delegate.window()->contentView()->isVisible());
    EXPECT_EQ(m_refetches, afterLoad + 1);
    EXPECT_FALSE(AppSettings::appLockIsSet());
}

TEST_F(AppLockKeychainTest, TheLockButtonNeverWaitsForTheKeychain)
{
    AppDelegate& delegate = makeDelegate();
    delegate.start();
    EXPECT_EVENTUALLY(delegate.initializedAfterPwd());
    TBWindowButton* lockButton = delegate.titleBarButtons().first();

    // No flag: the keychain is asked; a second press meanwhile asks nothing more.
    m_keychain->setAnswering(Answering::WhenReleased);
    lockButton->click();
    lockButton->click();
    EXPECT_EQ(m_keychain->heldCount(), 1);
    EXPECT_FALSE(delegate.pwdWinDisplayed());
    answerAll();
    ASSERT_NE(delegate.messagePopover(), nullptr);
    EXPECT_TRUE(delegate.messagePopover()->isShown());
    lockButton->click();
    EXPECT_EVENTUALLY(!delegate.messagePopover()->isShown());

    // With the flag the window locks at once, whatever the keychain does.
    m_keychain->setAnswering(Answering::Never);
    storedEarlier(true);
    lockButton->click();
    EXPECT_TRUE(delegate.pwdWinDisplayed());
    EXPECT_TRUE(lock().modalOverlay().isShown());
    EXPECT_EQ(controller()->keychainState(), KeychainState::Waiting);
    for (TBWindowButton* button : delegate.titleBarButtons())
        EXPECT_FALSE(button->isVisible()) << button->objectName().toStdString();
}

} // namespace
