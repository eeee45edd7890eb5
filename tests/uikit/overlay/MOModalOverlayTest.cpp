#include "uikit/overlay/MOModalOverlay.h"

#include "platform/NotificationCenter.h"
#include "support/Eventually.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

// Stands in for the app-lock panel.
class LockPanel : public QWidget, public MOModalOverlayContent {
public:
    LockPanel()
    {
        m_lock = new QWidget(this);
        m_lock->setGeometry(100, 50, 200, 100);
        m_field = new QLineEdit(this);
        m_field->setGeometry(100, 170, 200, 24);
    }
    QWidget* lockView() const override { return m_lock; }
    QLineEdit* field() const { return m_field; }

private:
    QWidget* m_lock;
    QLineEdit* m_field;
};

struct OverlayDelegate : MOModalOverlayDelegate {
    bool allowClose = true;
    QStringList seen;
    bool modalOverlayShouldClose(MOModalOverlay*) override { return allowClose; }
    void modalOverlayWillShow(const platform::Notification& n) override { seen << n.name; }
    void modalOverlayDidClose(const platform::Notification& n) override { seen << n.name; }
};

class ModalOverlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        window->resize(600, 400);
        titleStrip = new QPushButton(u"Title"_s, window.get());
        titleStrip->setGeometry(0, 0, 600, 40);
        content = new QWidget(window.get());
        content->setGeometry(0, 40, 600, 360);
        behind = new QLineEdit(content);
        behind->setGeometry(10, 10, 200, 24);
        shortcut = new QShortcut(QKeySequence(u"Ctrl+L"_s), window.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        overlay = std::make_unique<MOModalOverlay>();
        panel = new LockPanel;
        overlay->setContentViewController(panel);
        overlay->setDelegate(&delegate);
        platform::NotificationCenter::defaultCenter().addObserver(
            &observer, {}, [this](const platform::Notification& n) {
                if (n.name.startsWith(u"MOModalOverlay"_s) && n.object.value<QObject*>() == overlay.get())
                    posted << n.name;
            });
    }

    // The widget covering the window while shown, and its dimming view.
    QWidget* modalWindow() const
    {
        return window->findChild<QWidget*>(u"modalWindow"_s, Qt::FindDirectChildrenOnly);
    }
    QWidget* overlayView() const { return window->findChild<QWidget*>(u"overlayView"_s); }

    std::unique_ptr<QWidget> window;
    QPushButton* titleStrip = nullptr;
    QWidget* content = nullptr;
    QLineEdit* behind = nullptr;
    QShortcut* shortcut = nullptr;
    std::unique_ptr<MOModalOverlay> overlay;
    LockPanel* panel = nullptr;
    OverlayDelegate delegate;
    QObject observer;
    QStringList posted;
};

TEST_F(ModalOverlayTest, MisuseIsAssertedWithItsReasonAndChangesNothing)
{
    MOModalOverlay empty;
#if defined(QT_NO_DEBUG) && !defined(QT_FORCE_ASSERTS)
    overlay->showInWindow(nullptr);
    empty.showInWindow(window.get());
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(overlay->showInWindow(nullptr), "window is nil");
    EXPECT_DEATH(empty.showInWindow(window.get()), "contentViewController is nil");
#endif
    // Refused, or died in the child: here nothing was shown and nothing posted.
    EXPECT_FALSE(overlay->isShown());
    EXPECT_FALSE(empty.isShown());
    EXPECT_EQ(modalWindow(), nullptr);
    EXPECT_TRUE(posted.isEmpty());
    // The overlay is still usable for a proper show.
    overlay->setAnimates(false);
    overlay->showInWindow(window.get());
    EXPECT_TRUE(overlay->isShown());
    EXPECT_EQ(posted.size(), 2);
}

TEST_F(ModalOverlayTest, NotificationsComeInOrderAndTheDelegateGetsThem)
{
    overlay->setAnimationDirection(MOModalOverlay::AnimationDirection::FromLeft);
    overlay->showInWindow(window.get());
    EXPECT_TRUE(overlay->isShown());
    EXPECT_EQ(posted, QStringList({ notifications::modalOverlayWillShow }));
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    EXPECT_EQ(posted.last(), u"MOModalOverlayDidShowNotification"_s);
    EXPECT_EQ(panel->pos(), QPoint(0, 0)); // slid in from the left to its place

    overlay->close();
    EXPECT_EQ(posted.last(), u"MOModalOverlayWillCloseNotification"_s);
    EXPECT_EVENTUALLY_EQ(posted.size(), 4);
    EXPECT_EQ(posted.last(), u"MOModalOverlayDidCloseNotification"_s);
    EXPECT_FALSE(overlay->isShown());
    EXPECT_EQ(modalWindow(), nullptr);
    EXPECT_EQ(delegate.seen,
        QStringList({ u"MOModalOverlayWillShowNotification"_s, u"MOModalOverlayDidCloseNotification"_s }));
}

TEST_F(ModalOverlayTest, ShowingDuringTheClosingAnimationShowsAgain)
{
    overlay->setAnimationDirection(MOModalOverlay::AnimationDirection::FromLeft);
    overlay->showInWindow(window.get());
    EXPECT_EVENTUALLY_EQ(posted.size(), 2);
    overlay->close();
    overlay->showInWindow(window.get()); // e.g. locking again at once
    EXPECT_EQ(posted,
        QStringList({ notifications::modalOverlayWillShow, notifications::modalOverlayDidShow,
            notifications::modalOverlayWillClose, notifications::modalOverlayDidClose,
            notifications::modalOverlayWillShow }));
    EXPECT_EVENTUALLY_EQ(posted.size(), 6);
    EXPECT_EQ(posted.last(), notifications::modalOverlayDidShow);
    EXPECT_TRUE(overlay->isShown());
    ASSERT_NE(modalWindow(), nullptr);
    EXPECT_TRUE(modalWindow()->isAncestorOf(panel));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), QPoint(0, 0));
}

TEST_F(ModalOverlayTest, TakesEveryInputOverTheWholeWindowAndRestoresResizing)
{
    overlay->setAnimates(false);
    overlay->setShouldOverlayTitleBar(false);
    overlay->setShouldCloseWhenClickOnBackground(false);
    QSignalSpy titleClicks(titleStrip, &QPushButton::clicked);
    QSignalSpy shortcutFired(shortcut, &QShortcut::activated);
    overlay->showInWindow(window.get(), content);
    EXPECT_EQ(posted.size(), 2); // without animation both at once

    // The whole window is covered, the dimming only the content area.
    EXPECT_EQ(modalWindow()->geometry(), window->rect());
    EXPECT_EQ(overlayView()->geometry(), content->geometry());
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(panel->isAncestorOf(QApplication::focusWidget()));

    // A click on the title strip lands on the overlay.
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(300, 20));
    QTest::mouseClick(titleStrip, Qt::LeftButton, {}, QPoint(300, 20));
    EXPECT_EQ(titleClicks.count(), 0);
    // The window's shortcuts are off.
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    QTest::keyClick(panel->field(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(shortcutFired.count(), 0);
    // Keys behind the overlay are dropped, the panel's field still types.
    QTest::keyClicks(behind, u"xy"_s);
    EXPECT_TRUE(behind->text().isEmpty());
    QTest::keyClicks(panel->field(), u"pw"_s);
    EXPECT_EQ(panel->field()->text(), u"pw"_s);
    // A widget added to the window later stays under the overlay.
    auto* late = new QPushButton(u"Late"_s, window.get());
    late->show();
    EXPECT_EVENTUALLY_EQ(window->children().last(), modalWindow());
    EXPECT_TRUE(overlay->isShown()); // background clicks do not close it

    overlay->close();
    EXPECT_NE(window->minimumSize(), window->maximumSize());
    QTest::mouseClick(titleStrip, Qt::LeftButton);
    EXPECT_EQ(titleClicks.count(), 1);
    shortcut->setContext(Qt::ApplicationShortcut);
    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(shortcutFired.count(), 1);
}

TEST_F(ModalOverlayTest, AFixedSizeParentStaysFixedAndTheOverlayFollowsResizes)
{
    overlay->setAnimates(false);
    overlay->showInWindow(window.get());
    overlay->close();
    EXPECT_NE(window->minimumSize(), window->maximumSize()); // resizable again

    window->setFixedSize(500, 300);
    overlay->showInWindow(window.get());
    overlay->close();
    EXPECT_EQ(window->minimumSize(), QSize(500, 300));
    EXPECT_EQ(window->maximumSize(), QSize(500, 300));

    window->setMinimumSize(0, 0);
    window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    overlay->showInWindow(window.get());
    window->setFixedSize(700, 450); // the window changes size by other means
    EXPECT_EQ(modalWindow()->geometry(), QRect(0, 0, 700, 450));
    EXPECT_EQ(panel->size(), QSize(700, 450));
}

TEST_F(ModalOverlayTest, BackgroundClicksAskTheDelegateButCloseDoesNot)
{
    overlay->setAnimates(false);
    overlay->showInWindow(window.get());
    QWidget* dimming = modalWindow()->childAt(5, 5);
    ASSERT_NE(dimming, nullptr);
    // The panel fills the dimming view; click a part of the overlay that is not the panel.
    panel->setGeometry(100, 100, 100, 100);
    delegate.allowClose = false;
    QTest::mouseClick(modalWindow()->childAt(5, 5), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(overlay->isShown());
    delegate.allowClose = true;
    QTest::mouseClick(modalWindow()->childAt(5, 5), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(overlay->isShown());

    overlay->showInWindow(window.get());
    delegate.allowClose = false;
    overlay->close();
    EXPECT_FALSE(overlay->isShown());
}

TEST_F(ModalOverlayTest, ReplacingTheContentWhileShownReplacesWhatIsSeen)
{
    overlay->setAnimates(false);
    overlay->showInWindow(window.get());
    QPointer<LockPanel> old = panel;
    auto* next = new LockPanel;
    overlay->setContentViewController(next);
    EXPECT_FALSE(old->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The replaced panel is the caller's again, not deleted behind its back.
    ASSERT_FALSE(old.isNull());
    EXPECT_EQ(old->parent(), nullptr);
    delete old.data();
    EXPECT_TRUE(next->isVisible());
    EXPECT_TRUE(modalWindow()->isAncestorOf(next));
    EXPECT_EQ(next->size(), window->size());
}

TEST_F(ModalOverlayTest, AWindowDestroyedUnderTheOverlayLeavesItHidden)
{
    overlay->setAnimates(false);
    overlay->showInWindow(window.get());
    window.reset();
    EXPECT_FALSE(overlay->isShown());
    QWidget other;
    overlay->setContentViewController(new QWidget);
    overlay->showInWindow(&other);
    EXPECT_TRUE(overlay->isShown());
    EXPECT_EQ(other.findChildren<QWidget*>(u"modalWindow"_s).size(), 1);
}

TEST_F(ModalOverlayTest, ShakeMovesTheLockViewAndPutsItBack)
{
    overlay->setAnimates(false);
    overlay->showInWindow(window.get());
    QWidget* lock = panel->lockView();
    const QPoint origin = lock->pos();
    overlay->shake();
    EXPECT_EVENTUALLY_WITHIN(lock->pos() != origin, 2000);
    EXPECT_EVENTUALLY_EQ(lock->pos(), origin);

    MOModalOverlay plain; // content without a lock view: nothing moves
    plain.setContentViewController(new QWidget);
    plain.shake();
}

} // namespace

TEST_F(ModalOverlayTest, WidgetsMarkedReachableStayReachableBehindIt)
{
    auto* close = new QPushButton(u"Close"_s, titleStrip);
    close->setGeometry(8, 8, 24, 24);
    close->show();
    close->setProperty(MOModalOverlay::reachableBehindOverlayProperty, true);
    shortcut->setContext(Qt::ApplicationShortcut);
    shortcut->setProperty(MOModalOverlay::reachableBehindOverlayProperty, true);
    QSignalSpy closeClicks(close, &QPushButton::clicked);
    QSignalSpy titleClicks(titleStrip, &QPushButton::clicked);
    QSignalSpy shortcutFired(shortcut, &QShortcut::activated);
    overlay->setAnimates(false);
    overlay->setShouldOverlayTitleBar(false);
    overlay->showInWindow(window.get(), content);

    EXPECT_EQ(window->childAt(20, 20), close) << "the overlay leaves a hole over the reachable button";
    EXPECT_EQ(window->childAt(300, 20), modalWindow()) << "but covers the rest of the title strip";
    QTest::mouseClick(close, Qt::LeftButton);
    QTest::mouseClick(titleStrip, Qt::LeftButton, {}, QPoint(300, 20));
    QTest::keyClick(panel->field(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(closeClicks.count(), 1);
    EXPECT_EQ(titleClicks.count(), 0);
    EXPECT_EQ(shortcutFired.count(), 1);
}

TEST_F(ModalOverlayTest, AContentViewUnderTheTitleStripLeavesTheStripInViewButNotInReach)
{
    // A window whose content view spans it whole, with its own strip over the content's top.
    content->setGeometry(window->rect());
    titleStrip->raise();
    QSignalSpy titleClicks(titleStrip, &QPushButton::clicked);
    overlay->setAnimates(false);
    overlay->setShouldOverlayTitleBar(false);
    overlay->setTitleBarHeight(40);
    overlay->showInWindow(window.get(), content);

    EXPECT_EQ(overlayView()->geometry(), QRect(0, 40, 600, 360));
    EXPECT_EQ(panel->mapTo(window.get(), QPoint(0, 0)), QPoint(0, 40));
    QTest::mouseClick(titleStrip, Qt::LeftButton, {}, QPoint(300, 20));
    EXPECT_EQ(titleClicks.count(), 0);

    // Covering the title bar, the same height changes nothing.
    overlay->close();
    overlay->setShouldOverlayTitleBar(true);
    overlay->showInWindow(window.get(), content);
    EXPECT_EQ(overlayView()->geometry(), window->rect());
}
