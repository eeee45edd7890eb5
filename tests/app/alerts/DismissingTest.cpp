#include "app/alerts/AskDeleteAllData.h"
#include "app/alerts/AskManualDownload.h"
#include "app/alerts/ExternalLinks.h"
#include "app/alerts/MessagePopover.h"
#include "platform/NotificationCenter.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using Dir = PKPopoverGeometry::ArrowDirection;

namespace {

// A main window with the document button in its title strip.
class MainWindowWithMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->setGeometry(100, 100, 600, 400);
        anchor = new QPushButton(u"Document"_s, window.get());
        anchor->setGeometry(500, 8, 23, 23);
        elsewhere = new QPushButton(u"Records"_s, window.get());
        elsewhere->setGeometry(20, 200, 80, 30);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        messages.reset();
        window.reset();
    }
    // As at start-up: the message comes first, then the main window takes the keyboard.
    void showStickyThenActivateTheWindow()
    {
        messages->showMessage(u"The data file could not be read."_s, anchor, true);
        ASSERT_TRUE(messages->isShown());
        messages->popover()->setAnimates(false);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }));
        QCoreApplication::processEvents();
        ASSERT_TRUE(messages->isShown());
    }

    std::unique_ptr<QWidget> window;
    QPushButton* anchor = nullptr;
    QPushButton* elsewhere = nullptr;
    std::unique_ptr<MessagePopover> messages = std::make_unique<MessagePopover>();
};

TEST_F(MainWindowWithMessages, MessageHangsBelowTheDocumentButton)
{
    messages->showMessage(u"Backup written."_s, anchor);
    ASSERT_TRUE(messages->isShown());
    EXPECT_EQ(messages->popover()->arrowDirection(), Dir::Up);
    const QRect button(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    EXPECT_EQ(messages->popover()->popoverWindow()->geometry().top(), button.bottom() + 1);
}

TEST_F(MainWindowWithMessages, EscapeInTheMainWindowClosesAStickyMessage)
{
    showStickyThenActivateTheWindow();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(messages->isShown());

    // Escape with a control in the main window holding the keyboard.
    showStickyThenActivateTheWindow();
    elsewhere->setFocus();
    QTest::keyClick(elsewhere, Qt::Key_Escape, Qt::ShiftModifier); // not Escape alone
    EXPECT_TRUE(messages->isShown());
    QTest::keyClick(elsewhere, Qt::Key_Escape);
    EXPECT_FALSE(messages->isShown());
}

TEST_F(MainWindowWithMessages, ClickOnTheMainWindowClosesAStickyMessage)
{
    showStickyThenActivateTheWindow();
    // The application going to the background is not the user dismissing it.
    PKPopoverController::setApplicationActiveOverride(false);
    messages->popover()->popoverWindowDidResignKey();
    QCoreApplication::processEvents();
    PKPopoverController::setApplicationActiveOverride(std::nullopt);
    EXPECT_TRUE(messages->isShown());

    QTest::mouseClick(elsewhere, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages->isShown(); }));

    // A plain message closes the same way.
    messages->showMessage(u"Backup written."_s, anchor);
    messages->popover()->setAnimates(false);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(300, 300));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages->isShown(); }));
}

// A confirmation shown in its popover, as the shell shows it.
class Confirmations : public MainWindowWithMessages {
protected:
    void show(QWidget* content)
    {
        popover = std::make_unique<PKPopoverController>(content);
        popover->setDefaultProperties_ItemWarning();
        popover->setAnimates(false);
        popover->showRelativeToRect(QRectF(anchor->rect()), anchor, platform::RectEdge::MaxY);
        ASSERT_TRUE(popover->shown());
        ASSERT_TRUE(QTest::qWaitFor([&] { return popover->popoverWindow()->isActiveWindow(); }));
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : popover->popoverWindow(), key, modifiers);
    }
    std::unique_ptr<PKPopoverController> popover;
};

TEST_F(Confirmations, ReturnAndEnterAnswerWithTheDefaultButton)
{
    QStringList posted;
    QObject listener;
    platform::NotificationCenter::defaultCenter().addObserver(
        &listener, {}, [&](const platform::Notification& n) { posted.append(n.name); });

    auto* deleting = new AskDeleteAllData;
    show(deleting);
    deleting->findChild<QPushButton*>(u"cancelButton"_s)->setFocus(); // Return still means OK
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(posted, QStringList { u"DeleteAllMERVANEData"_s });
    EXPECT_FALSE(popover->shown());

    QList<QUrl> opened;
    ExternalLinks::setOpenerForTesting([&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    show(new AskManualDownload);
    press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(opened, QList<QUrl> { ExternalLinks::userManual() });
    EXPECT_FALSE(popover->shown());
    ExternalLinks::setOpenerForTesting({});
    EXPECT_EQ(posted.size(), 1);
}

TEST_F(Confirmations, EscapeStillCancels)
{
    QStringList posted;
    QObject listener;
    platform::NotificationCenter::defaultCenter().addObserver(
        &listener, {}, [&](const platform::Notification& n) { posted.append(n.name); });
    show(new AskDeleteAllData);
    press(Qt::Key_Escape);
    EXPECT_FALSE(popover->shown());
    EXPECT_TRUE(posted.isEmpty());
}

} // namespace
