#include "uikit/popover/APPopover.h"
#include "support/Eventually.h"
#include "uikit/popover/APPopoverWindow.h"
#include "uikit/popover/APPopoverWindowFrame.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

namespace {

class APPopoverFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = std::make_unique<QWidget>();
        parent->setGeometry(100, 100, 600, 400);
        parent->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
        auto* content = new QWidget;
        content->resize(200, 100);
        popover = std::make_unique<APPopover>(content);
    }
    std::unique_ptr<QWidget> parent;
    std::unique_ptr<APPopover> popover;
};

TEST_F(APPopoverFixture, DisplaysWithItsAttachmentPointOnThePointAndCloses)
{
    APPopoverWindow* window = popover->popoverWindow();
    EXPECT_EQ(window->size(), QSize(208, 124));
    EXPECT_EQ(popover->contentView()->geometry(), QRect(4, 20, 200, 100)); // y-down: below the arrow room

    popover->setAnimates(false);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 50));
    EXPECT_TRUE(popover->isVisible());
    // Top: the middle of the window's top edge sits on the point.
    const QPoint point = parent->mapToGlobal(QPoint(300, 50));
    EXPECT_EQ(window->geometry().top(), point.y());
    EXPECT_EQ(window->geometry().left() + 104, point.x());

    const QPoint before = window->pos();
    parent->move(parent->pos() + QPoint(0, 100));
    EXPECT_EVENTUALLY_EQ(window->pos(), before + QPoint(0, 100));

    popover->displayPopoverInWindow(parent.get(), QPointF(10, 10)); // already shown: ignored
    EXPECT_EQ(window->pos(), before + QPoint(0, 100));

    popover->closePopover();
    EXPECT_FALSE(popover->isVisible());
    EXPECT_FALSE(window->isVisible());
    popover->closePopover(); // hidden: nothing happens
    EXPECT_FALSE(popover->isVisible());

    popover->displayPopoverInWindow(parent.get(), QPointF(300, 50));
    parent->hide(); // goes with its parent
    EXPECT_FALSE(popover->isVisible());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(APPopoverFixture, FadesOutAndCanBeShownAgainDuringTheFade)
{
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 50));
    popover->closePopover();
    EXPECT_TRUE(popover->isVisible()); // fading out
    popover->setAnimates(false);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 50)); // ignored while visible
    EXPECT_EVENTUALLY(!popover->isVisible());
    EXPECT_EQ(popover->popoverWindow()->windowOpacity(), 1.0);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 50));
    EXPECT_TRUE(popover->popoverWindow()->isVisible());
}

TEST_F(APPopoverFixture, ChangingPositionKeepsTheAttachmentPointOnScreen)
{
    popover->setAnimates(false);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 200));
    APPopoverWindow* window = popover->popoverWindow();
    const QPointF attachment = window->attachmentPointOnScreen();
    popover->setPosition(APPopoverGeometry::Position::Right);
    EXPECT_EQ(window->size(), QSize(224, 108));
    EXPECT_EQ(window->attachmentPointOnScreen(), attachment);

    popover->setBorderWidth(4); // grows on every side, arrow side kept
    EXPECT_EQ(window->size(), QSize(228, 112));
    EXPECT_EQ(window->attachmentPointOnScreen().x(), attachment.x());

    popover->setPosition(APPopoverGeometry::Position::Top);
    const QPointF top = window->attachmentPointOnScreen();
    const QSize before = window->size();
    popover->setDistance(10); // more room on the arrow side only
    EXPECT_EQ(window->size(), before + QSize(0, 10));
    EXPECT_EQ(window->attachmentPointOnScreen(), top);
    popover->setArrowHeight(20);
    EXPECT_EQ(window->size(), before + QSize(0, 14));
    EXPECT_EQ(window->attachmentPointOnScreen(), top);
    // The content keeps its place below the arrow room.
    EXPECT_EQ(popover->contentView()->geometry().top(), 4 + 2 + 30); // border, margin, arrow room
}

TEST_F(APPopoverFixture, ClosesOnLosingTheKeyboardOnlyWhenAsked)
{
    popover->setAnimates(false);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 200));
    EXPECT_EVENTUALLY(popover->popoverWindow()->isActiveWindow());
    parent->activateWindow();
    EXPECT_EVENTUALLY(parent->isActiveWindow());
    EXPECT_TRUE(popover->isVisible());
    popover->applicationDidResignActive();
    EXPECT_TRUE(popover->isVisible());

    popover->setClosesWhenPopoverResignsKey(true);
    popover->popoverWindow()->activateWindow();
    EXPECT_EVENTUALLY(popover->popoverWindow()->isActiveWindow());
    parent->activateWindow();
    EXPECT_EVENTUALLY(!popover->isVisible());

    popover->setClosesWhenApplicationBecomesInactive(true);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 200));
    popover->applicationDidResignActive();
    EXPECT_FALSE(popover->isVisible());
}

TEST_F(APPopoverFixture, EscapeInThePopoverOrItsWindowClosesItOnlyWhenAsked)
{
    auto* box = new QCheckBox(QStringLiteral("Show at start"), popover->contentView());
    auto* field = new QLineEdit(parent.get());
    popover->setAnimates(false);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 50));
    QTest::keyClick(box, Qt::Key_Escape);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(popover->isVisible()) << "closed without being asked to";

    popover->setClosesWhenEscapeKeyPressed(true);
    // Another key, or Escape with a modifier, leaves it open.
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(popover->isVisible());
    // The key reaches the popover's window through the check box, which does not take it.
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());

    // The parent window holds the keyboard.
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 50));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
}

TEST_F(APPopoverFixture, DraggingMovesOnlyWhenMovable)
{
    popover->setAnimates(false);
    popover->displayPopoverInWindow(parent.get(), QPointF(300, 200));
    APPopoverWindowFrame* frame = popover->popoverWindow()->popoverWindowFrame();
    const QPoint start = popover->popoverWindow()->pos();
    const QPoint inside(100, 60);
    QTest::mousePress(frame, Qt::LeftButton, {}, inside);
    QTest::mouseMove(frame, inside + QPoint(30, 10));
    QTest::mouseRelease(frame, Qt::LeftButton, {}, inside + QPoint(30, 10));
    EXPECT_EQ(popover->popoverWindow()->pos(), start);

    popover->setMovable(true);
    QTest::mousePress(frame, Qt::LeftButton, {}, inside);
    QTest::mouseMove(frame, inside + QPoint(30, 10));
    EXPECT_EVENTUALLY_EQ(popover->popoverWindow()->pos(), start + QPoint(30, 10));
    QTest::mouseRelease(frame, Qt::LeftButton, {}, inside + QPoint(30, 10));
}

} // namespace
