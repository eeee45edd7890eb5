#include "uikit/popover/PKPopoverController.h"
#include "support/Eventually.h"
#include "uikit/popover/APPopover.h"
#include "uikit/popover/APPopoverWindow.h"
#include "uikit/popover/PKPopoverWindow.h"
#include "uikit/popover/PKPopoverWindowFrame.h"
#include "uikit/popover/PopoverGeometry.h"
#include "uikit/popover/PopoverShape.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

struct RecordingDelegate : PKPopoverControllerDelegate {
    int didShow = 0;
    void popoverDidShow(PKPopoverController*) override { ++didShow; }
};

// A parent window with a button, and a popover whose content is 200 by 100.
class PopoverFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        PKPopoverController::setApplicationActiveOverride(std::nullopt);
        parent = std::make_unique<QWidget>();
        parent->setGeometry(200, 200, 500, 300);
        button = new QPushButton(u"Open"_s, parent.get());
        button->setGeometry(20, 20, 80, 30);
        parent->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
        auto* content = new QWidget;
        content->resize(200, 100);
        controller = std::make_unique<PKPopoverController>(content);
        controller->setDelegate(&delegate);
        controller->setWillShowBlock([this](PKPopoverController*) { events << u"willShow"_s; });
        controller->setDidShowBlock([this](PKPopoverController*) { events << u"didShow"_s; });
        controller->setWillCloseBlock([this](PKPopoverController*) { events << u"willClose"_s; });
        controller->setDidCloseBlock([this](PKPopoverController*) { events << u"didClose"_s; });
    }
    void TearDown() override
    {
        controller.reset();
        parent.reset();
        PKPopoverController::setApplicationActiveOverride(std::nullopt);
    }
    void show() { controller->showRelativeToRect(QRectF(button->rect()), button, platform::RectEdge::MinX); }

    // The anchor button shows the popover, or closes it when it is shown.
    void toggleOnAnchorClick()
    {
        QObject::connect(button, &QPushButton::clicked, controller.get(), [this] {
            if (controller->shown())
                controller->close();
            else
                show();
        });
    }

    std::unique_ptr<QWidget> parent;
    QPushButton* button = nullptr;
    std::unique_ptr<PKPopoverController> controller;
    RecordingDelegate delegate;
    QStringList events;
};

TEST_F(PopoverFixture, PresetsSetTheLookAndTheClosingRules)
{
    EXPECT_EQ(controller->animationType(), PKPopoverController::AnimationType::Pop);
    EXPECT_EQ(controller->borderWidth(), 1.0);
    EXPECT_EQ(controller->cornerRadius(), 4.0);
    EXPECT_EQ(controller->arrowSize(), QSizeF(23, 12));

    controller->setDefaultProperties_ItemEdit();
    EXPECT_EQ(controller->borderWidth(), 2.0);
    EXPECT_EQ(controller->animationType(), PKPopoverController::AnimationType::FadeInOut);
    EXPECT_TRUE(controller->closesWhenEscapeKeyPressed());
    EXPECT_FALSE(controller->closesWhenPopoverResignsKey());
    EXPECT_FALSE(controller->closesWhenApplicationBecomesInactive());

    controller->setDefaultProperties_ItemWarning();
    EXPECT_TRUE(controller->closesWhenPopoverResignsKey());
    EXPECT_TRUE(controller->closesWhenApplicationBecomesInactive());

    controller->setDefaultProperties(false, true, false);
    EXPECT_FALSE(controller->closesWhenEscapeKeyPressed());
    EXPECT_TRUE(controller->closesWhenPopoverResignsKey());
    EXPECT_TRUE(controller->closesWhenApplicationBecomesInactive());
    EXPECT_TRUE(controller->animates());

    controller->setAnimationType(static_cast<PKPopoverController::AnimationType>(7)); // not a type: ignored
    EXPECT_EQ(controller->animationType(), PKPopoverController::AnimationType::FadeInOut);

    using Type = PKPopoverController::AnimationType;
    EXPECT_EQ(static_cast<int>(Type::Pop), 0);
    EXPECT_EQ(static_cast<int>(Type::FadeIn), 1);
    EXPECT_EQ(static_cast<int>(Type::FadeOut), 2);
    EXPECT_EQ(static_cast<int>(Type::FadeInOut), 3);
}

TEST_F(PopoverFixture, ShowsBesideTheAnchorAndFollowsTheParent)
{
    controller->setAnimates(false);
    show();
    EXPECT_TRUE(controller->shown());
    EXPECT_EQ(events, QStringList({ u"willShow"_s, u"didShow"_s }));
    EXPECT_EQ(controller->arrowDirection(), PKPopoverGeometry::ArrowDirection::Left);
    const QRect anchor(button->mapToGlobal(QPoint(0, 0)), button->size());
    PKPopoverWindow* window = controller->popoverWindow();
    // The min x edge puts the panel right of the anchor, vertically centred on it (content + 2 x 12).
    EXPECT_EQ(window->geometry().left(), anchor.right() + 1);
    EXPECT_EQ(window->size(), QSize(224, 124));
    EXPECT_NEAR(window->geometry().center().y(), anchor.center().y(), 1);
    EXPECT_EQ(window->popoverContentView()->geometry(), QRect(12, 12, 200, 100));
    EXPECT_EQ(window->windowHandle()->transientParent(), parent->windowHandle());

    const QPoint before = window->pos();
    parent->move(parent->pos() + QPoint(100, 0));
    EXPECT_EVENTUALLY_EQ(window->pos(), before + QPoint(100, 0));

    // Showing again while shown is ignored.
    show();
    EXPECT_EQ(events.count(u"willShow"_s), 1);
}

TEST_F(PopoverFixture, EscapeClosesUnlessForbiddenOrVetoed)
{
    controller->setAnimates(false);
    controller->setClosesWhenEscapeKeyPressed(false);
    show();
    QTest::keyClick(controller->popoverWindow(), Qt::Key_Escape);
    EXPECT_TRUE(controller->shown());

    controller->setClosesWhenEscapeKeyPressed(true);
    bool allow = false;
    controller->setShouldCloseBlock([&](PKPopoverController*) { return allow; });
    QTest::keyClick(controller->popoverWindow(), Qt::Key_Escape);
    EXPECT_TRUE(controller->shown());

    allow = true;
    QTest::keyClick(controller->popoverWindow(), Qt::Key_Escape);
    EXPECT_FALSE(controller->shown());
    EXPECT_FALSE(controller->popoverWindow()->isVisible());
    EXPECT_EQ(controller->arrowDirection(), PKPopoverGeometry::ArrowDirection::None);
    EXPECT_TRUE(controller->screenRect().isNull());
    EXPECT_EQ(controller->positionView(), nullptr);
    EXPECT_EQ(events.last(), u"didClose"_s);

    // Closing again while hidden is ignored.
    controller->close();
    EXPECT_EQ(events.count(u"willClose"_s), 1);
}

// The parent window may hold the keyboard (a message shown before it was activated, or a
// window manager that moves nothing on a click): Escape and clicks there still reach the popover.
TEST_F(PopoverFixture, EscapeInTheParentWindowClosesUnlessForbidden)
{
    controller->setAnimates(false);
    controller->setClosesWhenEscapeKeyPressed(false);
    show();
    parent->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return parent->isActiveWindow(); }));
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_TRUE(controller->shown());

    controller->setClosesWhenEscapeKeyPressed(true);
    QTest::keyClick(button, Qt::Key_A);
    QTest::keyClick(button, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_TRUE(controller->shown());
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_FALSE(controller->shown());

    // Another window's Escape is not the parent's.
    QWidget other;
    other.show();
    show();
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_TRUE(controller->shown());
}

TEST_F(PopoverFixture, PressInTheParentWindowClosesAWarningPopoverButNotAnEditOne)
{
    controller->setDefaultProperties_ItemEdit();
    controller->setAnimates(false);
    show();
    QTest::mouseClick(parent.get(), Qt::LeftButton, {}, QPoint(400, 250));
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown());
    QTest::mouseClick(controller->contentView(), Qt::LeftButton, {}, QPoint(100, 50));
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown());
    controller->forceClosePopover();

    controller->setDefaultProperties_ItemWarning();
    controller->setAnimates(false);
    show();
    QTest::mouseClick(controller->contentView(), Qt::LeftButton, {}, QPoint(100, 50));
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown()); // a click inside is no dismissal
    // The popover keeps the keyboard, as without a window manager: the press alone decides.
    ASSERT_TRUE(controller->popoverWindow()->isActiveWindow());
    QTest::mousePress(parent.get(), Qt::LeftButton, {}, QPoint(400, 250));
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown()); // decided when the click ends
    QTest::mouseRelease(parent.get(), Qt::LeftButton, {}, QPoint(400, 250));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !controller->shown(); }));

    // Vetoed like any ordinary close.
    controller->setShouldCloseBlock([](PKPopoverController*) { return false; });
    show();
    QTest::mouseClick(parent.get(), Qt::LeftButton, {}, QPoint(400, 250));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown());
}

TEST_F(PopoverFixture, PanelStaysOnTheScreenThatHoldsTheAnchor)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // The window fills the screen; its button sits near the top right corner.
    parent->setGeometry(screen);
    button->setGeometry(screen.width() - 120, 4, 30, 30);
    controller->setAnimates(false);
    controller->showRelativeToRect(QRectF(button->rect()), button, platform::RectEdge::MinY);
    PKPopoverWindow* window = controller->popoverWindow();
    EXPECT_EQ(controller->arrowDirection(), PKPopoverGeometry::ArrowDirection::Up);
    EXPECT_TRUE(screen.contains(window->geometry()))
        << window->geometry().x() << "," << window->geometry().y();
    const QRect anchor(button->mapToGlobal(QPoint(0, 0)), button->size());
    EXPECT_EQ(window->geometry().top(), anchor.bottom() + 1);
    const qreal offset = window->frameView()->arrowOffset();
    EXPECT_GT(offset, 0); // shifted left, the arrow points right of the panel's middle

    // Following a parent that moves past the edge keeps the panel on the screen too.
    parent->move(parent->pos() + QPoint(40, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameView()->arrowOffset() > offset; }));
    EXPECT_TRUE(screen.contains(window->geometry()));
    controller->forceClosePopover();
    EXPECT_EQ(window->frameView()->arrowOffset(), 0);
}

TEST_F(PopoverFixture, PressingTheAnchorButtonAgainTogglesThePopover)
{
    controller->setAnimates(false);
    toggleOnAnchorClick();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(controller->shown());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(controller->shown());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(controller->shown());
}

TEST_F(PopoverFixture, ClickOnTheAnchorOfAResignKeyPopoverTogglesItClosed)
{
    controller->setDefaultProperties(true, true, true);
    controller->setAnimates(false);
    toggleOnAnchorClick();
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(controller->shown());
    EXPECT_EVENTUALLY(controller->popoverWindow()->isActiveWindow());

    // The press makes the parent key (as a window manager does); the popover resigns key.
    QTest::mousePress(button, Qt::LeftButton);
    parent->activateWindow();
    EXPECT_EVENTUALLY(parent->isActiveWindow());
    controller->popoverWindowDidResignKey();
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown()); // decided when the click ends
    QTest::mouseRelease(button, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(controller->shown()); // closed by the toggle, not reopened
    QCoreApplication::processEvents();
    EXPECT_FALSE(controller->shown());

    // A click anywhere else closes it when the button comes up.
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(controller->shown());
    EXPECT_EVENTUALLY(controller->popoverWindow()->isActiveWindow());
    QTest::mousePress(parent.get(), Qt::LeftButton, {}, QPoint(400, 250));
    parent->activateWindow();
    EXPECT_EVENTUALLY(parent->isActiveWindow());
    controller->popoverWindowDidResignKey();
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown());
    QTest::mouseRelease(parent.get(), Qt::LeftButton, {}, QPoint(400, 250));
    EXPECT_EVENTUALLY(!controller->shown());
}

// A message fading out while the click that closed it opens another popover on the same
// window: the end of the fade must not raise the window over the new popover or take its focus.
TEST_F(PopoverFixture, AFadeEndingAfterAnotherPopoverOpenedLeavesThatPopoverOnTop)
{
    controller->setDefaultProperties_ItemEdit(); // fades in and out
    show();
    EXPECT_EVENTUALLY_EQ(controller->state(), PKPopoverController::State::Shown);

    auto* otherContent = new QWidget;
    otherContent->resize(120, 80);
    PKPopoverController other(otherContent);
    other.setAnimates(false);
    controller->close();
    ASSERT_EQ(controller->state(), PKPopoverController::State::Closing);
    other.showRelativeToRect(QRectF(button->rect()), button, platform::RectEdge::MaxY);
    ASSERT_TRUE(other.shown());
    QWidget* otherWindow = other.popoverWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return otherWindow->isActiveWindow(); }));

    EXPECT_TRUE(QTest::qWaitFor([&] { return !controller->shown(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(other.shown());
    EXPECT_TRUE(otherWindow->isActiveWindow());
    EXPECT_FALSE(parent->isActiveWindow());

    // With no other popover left, closing gives the window back its focus.
    other.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return parent->isActiveWindow(); }));
}

TEST_F(PopoverFixture, ClosedAndShownAgainInOneTurnKeepsWorking)
{
    controller->setDefaultProperties_ItemEdit(); // fades in and out
    show();
    EXPECT_EVENTUALLY_EQ(controller->state(), PKPopoverController::State::Shown);
    EXPECT_EQ(delegate.didShow, 1);
    const quint64 first = controller->generation();

    controller->close();
    EXPECT_EQ(controller->state(), PKPopoverController::State::Closing);
    show(); // same turn: the fade-out is finished at once and a new show starts
    EXPECT_EQ(controller->state(), PKPopoverController::State::Showing);
    EXPECT_GT(controller->generation(), first);
    EXPECT_EQ(events.count(u"didClose"_s), 1);

    EXPECT_EVENTUALLY_EQ(controller->state(), PKPopoverController::State::Shown);
    EXPECT_EQ(delegate.didShow, 2);
    EXPECT_TRUE(controller->popoverWindow()->isVisible());
    EXPECT_EQ(controller->popoverWindow()->windowHandle()->transientParent(), parent->windowHandle());
    EXPECT_EQ(controller->positionView(), button);

    // A did-close block that shows the popover again, met by a show request of its own.
    controller->setDidCloseBlock([this](PKPopoverController*) { show(); });
    controller->close();
    show();
    controller->setDidCloseBlock({});
    EXPECT_EVENTUALLY_EQ(controller->state(), PKPopoverController::State::Shown);
    EXPECT_EQ(delegate.didShow, 3);

    // No fade of an earlier show is left to end and close this one.
    EXPECT_FALSE(controller->popoverWindow()->isAnimating());
    QCoreApplication::processEvents();
    EXPECT_EQ(controller->state(), PKPopoverController::State::Shown);
}

TEST_F(PopoverFixture, AnimationTypesDecideWhichStepsAnimate)
{
    controller->setAnimationType(PKPopoverController::AnimationType::FadeIn); // close at once
    show();
    EXPECT_EQ(controller->state(), PKPopoverController::State::Showing);
    EXPECT_EVENTUALLY_EQ(controller->state(), PKPopoverController::State::Shown);
    EXPECT_FALSE(events.contains(u"didShow"_s)); // the delegate is told instead
    EXPECT_EQ(delegate.didShow, 1);
    controller->close();
    EXPECT_EQ(controller->state(), PKPopoverController::State::Hidden);

    events.clear();
    controller->setAnimationType(PKPopoverController::AnimationType::FadeOut); // show at once
    show();
    EXPECT_EQ(controller->state(), PKPopoverController::State::Shown);
    EXPECT_TRUE(events.contains(u"didShow"_s));
    controller->close();
    EXPECT_EQ(controller->state(), PKPopoverController::State::Closing);
    controller->close(); // a second request during the fade runs the will-close block again
    EXPECT_EQ(events.count(u"willClose"_s), 2);
    EXPECT_EVENTUALLY_EQ(controller->state(), PKPopoverController::State::Hidden);
    EXPECT_EQ(events.count(u"didClose"_s), 1);

    events.clear();
    controller->setAnimationType(PKPopoverController::AnimationType::Pop); // through a snapshot window
    show();
    ASSERT_NE(controller->popoverWindow()->zoomWindow(), nullptr);
    EXPECT_EVENTUALLY_EQ(controller->state(), PKPopoverController::State::Shown);
    EXPECT_EQ(controller->popoverWindow()->zoomWindow(), nullptr);
    EXPECT_TRUE(controller->popoverWindow()->isVisible());
}

TEST_F(PopoverFixture, ResignKeyClosesOnlyWhileTheApplicationIsActive)
{
    controller->setAnimates(false);
    controller->setClosesWhenPopoverResignsKey(true);
    controller->setClosesWhenApplicationBecomesInactive(false);
    show();

    // Switching to another application: the popover stays open.
    PKPopoverController::setApplicationActiveOverride(false);
    controller->popoverWindowDidResignKey();
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown());

    // Back in the application with the parent key, the popover takes the keyboard again.
    parent->activateWindow();
    EXPECT_EVENTUALLY(parent->isActiveWindow());
    controller->checkPopoverKeyWindowStatus();
    EXPECT_EVENTUALLY(controller->popoverWindow()->isActiveWindow());

    // A click elsewhere in the application closes it.
    PKPopoverController::setApplicationActiveOverride(true);
    parent->activateWindow();
    controller->popoverWindowDidResignKey();
    EXPECT_EVENTUALLY(!controller->shown());

    // With the warning preset the application going inactive closes it too.
    controller->setDefaultProperties_ItemWarning();
    controller->setAnimates(false);
    show();
    controller->applicationDidResignActive();
    EXPECT_FALSE(controller->shown());
}

TEST_F(PopoverFixture, GoesWithItsParentWindowAndNoticesBeingClosedFromOutside)
{
    controller->setAnimates(false);
    show();
    parent->hide();
    EXPECT_FALSE(controller->shown());
    EXPECT_FALSE(controller->popoverWindow()->isVisible());
    EXPECT_EQ(events.last(), u"didClose"_s);

    parent->show();
    show();
    controller->popoverWindow()->close();
    EXPECT_FALSE(controller->shown());

    show();
    parent.reset();
    EXPECT_FALSE(controller->shown());
    EXPECT_FALSE(controller->popoverWindow()->isVisible());
}

TEST_F(PopoverFixture, AnchorLeavingItsSuperviewForceClosesDespiteTheVeto)
{
    controller->setAnimates(false);
    controller->setShouldCloseBlock([](PKPopoverController*) { return false; });
    show();
    button->move(30, 20); // still inside: the popover follows
    EXPECT_TRUE(controller->shown());
    button->move(480, 20); // partly outside the parent
    EXPECT_FALSE(controller->shown());
}

TEST_F(PopoverFixture, ContentSizeResizesTheShownWindowAndContentIsReplaceable)
{
    controller->setAnimates(false);
    show();
    controller->setContentSize(QSizeF(300, 150));
    EXPECT_EQ(controller->popoverWindow()->size(), QSize(324, 174));
    auto* replacement = new QWidget;
    replacement->resize(50, 40);
    QPointer<QWidget> old = controller->contentViewController();
    controller->setContentViewController(replacement);
    EXPECT_EQ(controller->contentSize(), QSizeF(50, 40));
    EXPECT_EQ(controller->contentView(), replacement);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The replaced content is the caller's again, not deleted behind its back.
    ASSERT_FALSE(old.isNull());
    EXPECT_EQ(old->parent(), nullptr);
    EXPECT_TRUE(old->isHidden());
    delete old.data();
}

TEST(PKPopoverWindowFrame, PaintsThePanelWithItsArrowOnTheChosenSide)
{
    PKPopoverWindowFrame frame;
    frame.resize(100, 60);
    frame.setColor(Qt::black);
    frame.setArrowDirection(PKPopoverGeometry::ArrowDirection::Up); // arrow on the top edge
    QImage image(100, 60, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    frame.render(&image);
    EXPECT_GT(qAlpha(image.pixel(50, 3)), 200); // near the tip, at the top in Qt's coordinates
    EXPECT_EQ(qAlpha(image.pixel(20, 3)), 0);
    EXPECT_GT(qAlpha(image.pixel(50, 40)), 200); // the body
    EXPECT_EQ(qAlpha(image.pixel(50, 55)), 0); // no arrow at the bottom

    frame.setArrowDirection(PKPopoverGeometry::ArrowDirection::Left);
    image.fill(Qt::transparent);
    frame.render(&image);
    EXPECT_GT(qAlpha(image.pixel(2, 30)), 200);
    EXPECT_EQ(qAlpha(image.pixel(50, 3)), 0);
}

// Real windows under an X server (run by the uikit_popover_xvfb test).
class PopoverOnX11 : public PopoverFixture {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != u"xcb"_s)
            GTEST_SKIP() << "needs an X server";
        PopoverFixture::SetUp();
    }
};

TEST_F(PopoverOnX11, OpensRightOfTheButtonStaysOnClicksClosesOnEscapeAndFollowsItsParent)
{
    controller->setDefaultProperties_ItemWarning();
    controller->setAnimates(false);
    show();
    PKPopoverWindow* window = controller->popoverWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EVENTUALLY(window->isActiveWindow());
    const QRect anchor(button->mapToGlobal(QPoint(0, 0)), button->size());
    EXPECT_GT(window->geometry().left(), anchor.right());

    QTest::mouseClick(controller->contentView(), Qt::LeftButton, {}, QPoint(100, 50));
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller->shown());

    const QPoint before = window->pos();
    parent->move(parent->pos() + QPoint(100, 0));
    EXPECT_EVENTUALLY_EQ(window->pos(), before + QPoint(100, 0));

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Escape);
    EXPECT_EVENTUALLY(!controller->shown());
}

TEST_F(PopoverOnX11, ActivatingTheParentClosesTheWarningPopover)
{
    controller->setDefaultProperties_ItemWarning();
    controller->setAnimates(false);
    show();
    EXPECT_EVENTUALLY(controller->popoverWindow()->isActiveWindow());
    parent->activateWindow();
    EXPECT_EVENTUALLY(!controller->shown());
}

// The colour on the screen at a global point, as "#rrggbb".
QString screenPixel(const QPoint& global)
{
    const QImage pixel
        = QGuiApplication::primaryScreen()->grabWindow(0, global.x(), global.y(), 1, 1).toImage();
    return pixel.pixelColor(0, 0).name();
}

// The X server of these tests runs no compositing manager, so transparent pixels of a
// translucent window would show black: the window must be cut to its panel.
TEST_F(PopoverOnX11, WithoutACompositorTheWindowBehindShowsAroundTheRoundedCorner)
{
    ASSERT_FALSE(PopoverShape::compositingManagerRunning());
    const QString behind = u"#28a05a"_s;
    QWidget backdrop;
    QPalette palette = backdrop.palette();
    palette.setColor(QPalette::Window, QColor(behind));
    backdrop.setPalette(palette);
    backdrop.setAutoFillBackground(true);
    backdrop.setGeometry(parent->geometry().adjusted(-50, -50, 400, 300));
    backdrop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&backdrop));
    EXPECT_EVENTUALLY_EQ(screenPixel(backdrop.geometry().center()), behind);

    controller->setDefaultProperties_ItemWarning(); // border 2, corner radius 4, arrow height 12
    controller->setAnimates(false);
    show();
    PKPopoverWindow* window = controller->popoverWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    const QPoint outsideCorner = origin + QPoint(window->width() - 12, window->height() - 12);
    const QPoint insidePanel = origin + QPoint(window->width() - 30, window->height() - 30);
    EXPECT_EVENTUALLY(screenPixel(insidePanel) != behind); // the panel has painted
    EXPECT_EQ(screenPixel(outsideCorner), behind);
    EXPECT_FALSE(window->mask().contains(window->mapFromGlobal(outsideCorner)));
    EXPECT_TRUE(window->mask().contains(window->mapFromGlobal(insidePanel)));

    // The point popover has the same kind of window.
    auto* content = new QWidget;
    content->resize(200, 100);
    APPopover point(content);
    point.setAnimates(false);
    point.displayPopoverInWindow(parent.get(), QPointF(300, 50));
    APPopoverWindow* pointWindow = point.popoverWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pointWindow));
    EXPECT_FALSE(pointWindow->mask().isEmpty());
    EXPECT_FALSE(pointWindow->mask().contains(QPoint(0, pointWindow->height() - 1)));
    EXPECT_TRUE(pointWindow->mask().contains(pointWindow->rect().center()));
    point.closePopover();
}

} // namespace

TEST_F(PopoverFixture, EveryShownPopoverCanBeClosedAtOnce)
{
    auto* otherContent = new QWidget;
    otherContent->resize(120, 80);
    PKPopoverController other(otherContent);
    show();
    other.showRelativeToRect(QRectF(button->rect()), button, platform::RectEdge::MaxX);
    EXPECT_EVENTUALLY(controller->shown() && other.shown());
    EXPECT_EQ(
        PKPopoverController::shownPopovers(), (QList<PKPopoverController*> { controller.get(), &other }));

    PKPopoverController::closeAllShownPopovers();
    EXPECT_EVENTUALLY(!controller->shown() && !other.shown());
    EXPECT_TRUE(PKPopoverController::shownPopovers().isEmpty());
    EXPECT_TRUE(events.contains(u"didClose"_s));
}
