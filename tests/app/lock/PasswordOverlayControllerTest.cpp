#include "app/lock/PasswordOverlayWindowController.h"
#include "uikit/controls/fields/NW_SecureTextField.h"
#include "uikit/overlay/SASpringAnimation.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class PasswordOverlayControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_controller = std::make_unique<PasswordOverlayWindowController>();
        m_controller->resize(800, 600);
        m_controller->setCompletion([this](bool unlocked) { m_results.push_back(unlocked); });
        m_controller->show();
        m_controller->showPasswordReady(u"s3cret"_s, u"pet"_s);
    }

    void type(const QString& text) { m_controller->pwdEditCtl()->setText(text); }
    void pressReturn() { QTest::keyClick(m_controller->pwdEditCtl(), Qt::Key_Return); }

    std::unique_ptr<PasswordOverlayWindowController> m_controller;
    std::vector<bool> m_results;
};

TEST_F(PasswordOverlayControllerTest, WrongPasswordsReportFailureAndShowTheHintFromTheSecondTry)
{
    type(u"S3cret"_s); // the comparison heeds case
    pressReturn();
    EXPECT_EQ(m_results, std::vector<bool> { false });
    EXPECT_EQ(m_controller->passwordErrorCount(), 1);
    EXPECT_TRUE(m_controller->hintLabel()->isHidden());
    EXPECT_EQ(m_controller->pwdEditCtl()->text(), u"S3cret"_s);

    pressReturn();
    EXPECT_EQ(m_results, (std::vector<bool> { false, false }));
    EXPECT_FALSE(m_controller->hintLabel()->isHidden());
    EXPECT_EQ(m_controller->hintLabel()->text(), u"Password hint: pet"_s);

    m_controller->unlockBtnPress();
    EXPECT_EQ(m_controller->passwordErrorCount(), 3);
    EXPECT_EQ(m_controller->hintLabel()->text(), u"Password hint: pet"_s);
    EXPECT_EQ(m_controller->animation()->state(), QAbstractAnimation::Stopped);
}

TEST_F(PasswordOverlayControllerTest, TheRightPasswordSpinsTheLockThenCompletesOnce)
{
    type(u"x"_s);
    pressReturn();
    pressReturn();
    m_results.clear();

    type(u"s3cret"_s);
    pressReturn();
    EXPECT_EQ(m_controller->passwordErrorCount(), 0);
    SASpringAnimation* spin = m_controller->animation();
    ASSERT_EQ(spin->state(), QAbstractAnimation::Running);
    EXPECT_LE(spin->duration(), 500);
    EXPECT_TRUE(m_results.empty()) << "completed before the spin ended";

    pressReturn(); // a press during the spin starts nothing new
    spin->setCurrentTime(spin->totalDuration());
    EXPECT_EQ(m_results, std::vector<bool> { true });
    EXPECT_NEAR(m_controller->safeLockImage()->rotation(), 2 * std::numbers::pi, 0.05);

    // The next lock starts clean: empty field, no hint, the lock upright.
    m_controller->setFocusOnPasswordField();
    EXPECT_TRUE(m_controller->pwdEditCtl()->text().isEmpty());
    EXPECT_TRUE(m_controller->hintLabel()->isHidden());
    EXPECT_EQ(m_controller->safeLockImage()->rotation(), 0.0);
    type(u"y"_s);
    pressReturn();
    EXPECT_TRUE(m_controller->hintLabel()->isHidden()) << "a success resets the count of wrong tries";
}

TEST_F(PasswordOverlayControllerTest, TheUnlockButtonTriesOnPressAndShowsItsPressedGlyph)
{
    SBSubtleButton* button = m_controller->customUnlockButton();
    EXPECT_EQ(button->title(), PasswordOverlayWindowController::unlockGlyph);
    type(u"wrong"_s);
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(button->title(), PasswordOverlayWindowController::pressedUnlockGlyph);
    EXPECT_EQ(m_results, std::vector<bool> { false });
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(button->title(), PasswordOverlayWindowController::unlockGlyph);
    EXPECT_EQ(m_results, std::vector<bool> { false }) << "the release makes no second try";

    type(u"s3cret"_s);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(m_controller->animation()->state(), QAbstractAnimation::Running);
}

TEST_F(PasswordOverlayControllerTest, NothingOfTheSpinRunsOnceTheControllerIsGone)
{
    type(u"s3cret"_s);
    pressReturn();
    QPointer<SASpringAnimation> spin = m_controller->animation();
    ASSERT_EQ(spin->state(), QAbstractAnimation::Running);

    m_controller.reset();
    EXPECT_TRUE(spin.isNull()) << "the spin outlived its controller";
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_results.empty());
}

TEST_F(PasswordOverlayControllerTest, UntilTheKeychainHandsOverThePasswordNothingUnlocks)
{
    QSignalSpy tryAgain(m_controller.get(), &PasswordOverlayWindowController::tryAgainRequested);
    m_controller->showWaitingForKeychain();
    EXPECT_FALSE(m_controller->pwdEditCtl()->isEnabled());
    EXPECT_FALSE(m_controller->customUnlockButton()->isEnabled());
    EXPECT_FALSE(m_controller->keychainStatus()->isHidden());
    EXPECT_TRUE(m_controller->tryAgainButton()->isHidden());
    // The password known before this lock is forgotten: neither it nor an empty field opens.
    for (const QString& typed : { QString(), u"s3cret"_s }) {
        type(typed);
        m_controller->unlockBtnPress();
    }
    EXPECT_TRUE(m_results.empty());
    EXPECT_NE(m_controller->animation()->state(), QAbstractAnimation::Running);

    m_controller->showKeychainFailure(u"The collection is locked."_s);
    EXPECT_TRUE(m_controller->keychainStatus()->text().endsWith(u"\nThe collection is locked."_s));
    ASSERT_FALSE(m_controller->tryAgainButton()->isHidden());
    QTest::mouseClick(m_controller->tryAgainButton(), Qt::LeftButton);
    EXPECT_EQ(tryAgain.count(), 1);
    m_controller->unlockBtnPress();
    EXPECT_TRUE(m_results.empty());

    m_controller->showPasswordReady(u"other"_s, u"hint"_s);
    EXPECT_TRUE(m_controller->keychainStatus()->isHidden());
    EXPECT_TRUE(m_controller->tryAgainButton()->isHidden());
    type(u"other"_s);
    pressReturn();
    EXPECT_EQ(m_controller->animation()->state(), QAbstractAnimation::Running);
}

TEST_F(PasswordOverlayControllerTest, AnEmptyPasswordFromTheKeychainOpensNothing)
{
    // The keychain answered, but with no password: an empty field must not match it.
    m_controller->showPasswordReady(QString(), u"pet"_s);
    type(QString());
    pressReturn();
    QTest::mouseClick(m_controller->customUnlockButton(), Qt::LeftButton);
    SASpringAnimation* spin = m_controller->animation();
    EXPECT_NE(spin->state(), QAbstractAnimation::Running) << "the lock spins open";
    spin->setCurrentTime(spin->totalDuration());
    EXPECT_TRUE(std::find(m_results.cbegin(), m_results.cend(), true) == m_results.cend());
}

TEST_F(PasswordOverlayControllerTest, ALongKeychainReasonShowsWholeAboveTryAgainInsideThePanel)
{
    const QSize normal = m_controller->lockView()->size();
    m_controller->showKeychainFailure(u"The keychain refused: Could not connect: No such file or directory. "
                                      "The secret service did not answer on the session bus."_s);
    const QLabel* status = m_controller->keychainStatus();
    const QRect button = m_controller->tryAgainButton()->geometry();
    EXPECT_GE(status->height(), status->heightForWidth(status->width()));
    EXPECT_LE(status->geometry().bottom(), button.top());
    EXPECT_TRUE(m_controller->lockView()->rect().contains(button));
    EXPECT_TRUE(m_controller->rect().contains(m_controller->lockView()->geometry()));

    m_controller->showPasswordReady(u"s3cret"_s, u"pet"_s);
    EXPECT_EQ(m_controller->lockView()->size(), normal);
}

} // namespace
