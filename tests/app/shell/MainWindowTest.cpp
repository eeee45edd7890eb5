#include "ShellTestSupport.h"

#include "app/shell/AppDelegate.h"
#include "app/shell/DashboardController.h"
#include "app/shell/MainView.h"
#include "app/shell/ScreenPlaceholder.h"
#include "app/shell/TitleBarLayout.h"
#include "model/store/NWData.h"
#include "support/Eventually.h"
#include "uikit/window/TBAppWindow.h"
#include "uikit/window/TBWindowButton.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

class MainWindow : public mervane::test::ShellTest {
protected:
    AppDelegate& startDelegate()
    {
        AppDelegate& delegate = makeDelegate();
        delegate.start();
        return delegate;
    }

    QList<AppScreen> checkedSidebarButtons() const
    {
        QList<AppScreen> on;
        for (const AppScreenInfo& info : appScreens) {
            if (sidebarButton(info.screen)->state() == 1)
                on.append(info.screen);
        }
        return on;
    }

    void resizeWindow(int width)
    {
        m_delegate->windowWidget()->resize(width, 700);
        QCoreApplication::processEvents();
    }
};

TEST_F(MainWindow, ExactlyOneSidebarButtonIsOn)
{
    AppDelegate& delegate = startDelegate();
    EXPECT_EQ(checkedSidebarButtons(), QList<AppScreen> { AppScreen::Dashboard });
    for (const AppScreenInfo& info : appScreens) {
        sidebarButton(info.screen)->click();
        EXPECT_EQ(checkedSidebarButtons(), QList<AppScreen> { info.screen }) << info.className;
        // Pressing the button of the screen shown leaves it on.
        sidebarButton(info.screen)->click();
        EXPECT_EQ(checkedSidebarButtons(), QList<AppScreen> { info.screen }) << info.className;
        EXPECT_EQ(delegate.currentView()->objectName(), QString::fromLatin1(info.className));
    }
    EXPECT_EQ(sidebarButton(AppScreen::Tags)->toolTip(), u"Category Tags"_s);
    EXPECT_EQ(sidebarButton(AppScreen::Compare)->toolTip(), u"Compare Net Worth Records"_s);
}

TEST_F(MainWindow, EachScreenIsCreatedOnceAndPlacedBesideTheSidebar)
{
    AppDelegate& delegate = startDelegate();
    resizeWindow(1200);
    for (int round = 0; round < 2; ++round) {
        for (const AppScreenInfo& info : appScreens) {
            delegate.showScreen(info.screen);
            QWidget* view = delegate.currentView();
            ASSERT_TRUE(view);
            EXPECT_EQ(view, screenView(info.screen));
            EXPECT_TRUE(view->isVisible());
            EXPECT_EQ(view->geometry(), QRect(72, 0, mainView()->width() - 72, mainView()->height()));
        }
    }
    for (const AppScreenInfo& info : appScreens)
        EXPECT_EQ(m_screens.created[info.screen], 1) << info.className;
    EXPECT_EQ(delegate.mainViews().size(), 8);
    // Only the shown screen is visible.
    int visible = 0;
    for (const AppScreenInfo& info : appScreens)
        visible += screenView(info.screen)->isVisible() ? 1 : 0;
    EXPECT_EQ(visible, 1);
    // Every screen is the real one now; none is a placeholder.
    for (const AppScreenInfo& info : appScreens)
        EXPECT_FALSE(qobject_cast<ScreenPlaceholder*>(screenView(info.screen))) << info.className;
    EXPECT_EQ(screenView(AppScreen::PieChart)->objectName(), u"BigPieChartViewController"_s);
    EXPECT_EQ(screenView(AppScreen::Compare)->objectName(), u"CompareViewController"_s);

    // A value cast from an integer outside the sidebar's screens changes nothing.
    QWidget* shown = delegate.currentView();
    for (const int outside : { -1, 7, std::numeric_limits<int>::max() }) {
        delegate.showScreen(static_cast<AppScreen>(outside));
        EXPECT_EQ(delegate.currentView(), shown) << outside;
        EXPECT_EQ(appScreenInfo(static_cast<AppScreen>(outside)).screen, AppScreen::Dashboard);
    }
    EXPECT_EQ(delegate.mainViews().size(), 8);
}

TEST_F(MainWindow, OnlyTheAnnualAndComparisonScreensArePlacedAgain)
{
    writeDataFile(twoRecordsDocument());
    AppDelegate& delegate = startDelegate();
    EXPECT_EQ(m_screens.placed[AppScreen::Dashboard], 1);
    delegate.showDashboardView();
    delegate.showChartView();
    delegate.showChartView();
    delegate.showAnnualView();
    delegate.showAnnualView();
    delegate.showCompareView();
    delegate.showCompareView();
    EXPECT_EQ(m_screens.placed[AppScreen::Dashboard], 1);
    EXPECT_EQ(m_screens.placed[AppScreen::LineChart], 1);
    EXPECT_EQ(m_screens.placed[AppScreen::Annual], 2);
    EXPECT_EQ(m_screens.placed[AppScreen::Compare], 2);
    // The comparison takes the newest record's net worth each time.
    EXPECT_EQ(m_screens.comparedNetWorth, (std::vector<double> { 8.0, 8.0 }));
}

TEST_F(MainWindow, ComparisonWithoutRecordsComparesZero)
{
    AppDelegate& delegate = startDelegate();
    delegate.compareBtnHandler();
    EXPECT_EQ(m_screens.comparedNetWorth, std::vector<double> { 0.0 });
}

TEST_F(MainWindow, TitleBarButtonsKeepTheirPlacesAsTheWindowWidens)
{
    AppDelegate& delegate = startDelegate();
    QWidget* bar = delegate.window()->titleBarView();
    for (int width : { 1000, 1440 }) {
        resizeWindow(width);
        ASSERT_EQ(bar->width(), width);
        const QList<TBWindowButton*> buttons = titleBarButtons();
        // Origins y-up: lock (90, 10), settings (W-50, 8), about (W-95, 7), share (W-137, 9),
        // document (W-182, 9), print (W-227, 9), help (W-267, 9); 23 x 23 in a 40-point bar.
        const std::array<QPoint, 7> expected { QPoint(90, 7), QPoint(width - 50, 9), QPoint(width - 95, 10),
            QPoint(width - 137, 8), QPoint(width - 182, 8), QPoint(width - 227, 8), QPoint(width - 267, 8) };
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(buttons.at(qsizetype(i))->geometry(), QRect(expected[i], QSize(23, 23)))
                << TitleBarLayout::buttons[i].objectName << " at width " << width;
        }
    }
    EXPECT_EQ(bar->height(), 40);
}

TEST_F(MainWindow, TitleBarButtonsCarryTooltipsAndReachTheirHandlers)
{
    AppDelegate& delegate = startDelegate();
    const QList<TBWindowButton*> buttons = titleBarButtons();
    m_calls.clear();
    EXPECT_EQ(buttons.at(0)->toolTip(), u"Lock Mervane"_s);
    EXPECT_EQ(buttons.at(4)->toolTip(), u"Backup or restore your data to/from a file, ..."_s);
    EXPECT_EQ(buttons.at(4), delegate.exportButton());
    for (TBWindowButton* button : buttons)
        button->click();
    // The handlers not overridden by the recorder do nothing.
    EXPECT_EQ(m_calls.filter(u"observed"_s).size(), 0);
    EXPECT_EQ(m_calls, (QStringList { u"lock"_s, u"settings"_s, u"document"_s, u"help"_s }));
    EXPECT_FALSE(buttons.at(0)->image().isNull());
}

TEST_F(MainWindow, DashboardRecordListKeepsItsWidth)
{
    startDelegate();
    auto* dashboard = qobject_cast<DashboardController*>(screenView(AppScreen::Dashboard));
    ASSERT_TRUE(dashboard);
    QSignalSpy refit(
        dashboard->dashboardContentViewController(), &DashboardContentViewController::splitResized);
    for (int width : { 1000, 1400 }) {
        refit.clear();
        resizeWindow(width);
        // The totals refit their pie after every resize of the panes.
        EXPECT_GE(refit.count(), 1);
        EXPECT_EQ(dashboard->tableBaseViewController()->width(), 340);
        EXPECT_EQ(dashboard->dashboardContentViewController()->width(), dashboard->width() - 340);
    }
    EXPECT_EQ(dashboard->dashboardContentViewController()->totalsVC()->height(), 290);
}

// On an X server the server's answer: what the program knows may still be what it asked for.
bool keyboardIn(QWidget* window)
{
    if (QGuiApplication::platformName() != u"xcb"_s)
        return QGuiApplication::focusWindow() == window->windowHandle();
    QProcess xdotool;
    xdotool.start(u"xdotool"_s, { u"getwindowfocus"_s });
    xdotool.waitForFinished();
    return xdotool.readAllStandardOutput().trimmed().toULongLong() == window->winId();
}

TEST_F(MainWindow, TheKeyboardComesBackToTheWindowAfterAPanel)
{
    AppDelegate& delegate = startDelegate();
    QWidget* window = delegate.windowWidget();
    // The welcome panel at start, closed with Escape.
    QWidget* welcome = nullptr;
    EXPECT_EVENTUALLY((welcome = QApplication::activeWindow()) && welcome != window);
    ASSERT_TRUE(welcome);
    QTest::keyClick(welcome, Qt::Key_Escape);
    EXPECT_EVENTUALLY(!welcome->isVisible());
    EXPECT_EVENTUALLY(keyboardIn(window));
    // A panel over the window, and one over no window (a box asking before the window is up).
    for (QWidget* owner : { window, static_cast<QWidget*>(nullptr) }) {
        SCOPED_TRACE(owner ? "over the window" : "over no window");
        QDialog panel(owner);
        panel.setWindowModality(Qt::ApplicationModal);
        QWindow* panelWindow = nullptr;
        QTimer::singleShot(0, &panel, [&panel, &panelWindow] {
            panelWindow = panel.windowHandle();
            panel.reject();
        });
        panel.exec();
        ASSERT_TRUE(panelWindow);
        // The window system says where the keyboard went before the program hears of it.
        EXPECT_EVENTUALLY(keyboardIn(window) && QApplication::activeWindow() == window);
    }
    {
        // The panel closes what it opened, then itself, before the window system has told
        // the program where the keyboard went: the popover still has it as the panel hides.
        SCOPED_TRACE("a panel closed while a popover attached to it has the keyboard");
        QDialog panel(window);
        panel.show();
        panel.activateWindow();
        EXPECT_EVENTUALLY(keyboardIn(&panel));
        QWidget popover(&panel, Qt::Tool | Qt::FramelessWindowHint);
        popover.resize(120, 80);
        popover.show();
        popover.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return keyboardIn(&popover); }));
        ASSERT_EQ(popover.windowHandle()->transientParent(), panel.windowHandle());
        popover.hide();
        panel.reject();
        // The window system says where the keyboard went before the program hears of it.
        EXPECT_EVENTUALLY(keyboardIn(window) && QApplication::activeWindow() == window);
    }
    {
        // A click into the window asks the window system to give it the keyboard.
        SCOPED_TRACE("a window-modal sheet, and the window below it asking for the keyboard");
        QDialog sheet(window);
        sheet.setWindowModality(Qt::WindowModal);
        sheet.open();
        EXPECT_EVENTUALLY(keyboardIn(&sheet));
        QWindow* below = window->windowHandle();
        QSignalSpy focusChanges(qApp, &QGuiApplication::focusWindowChanged);
        below->requestActivate();
        EXPECT_EVENTUALLY(std::any_of(focusChanges.cbegin(), focusChanges.cend(),
            [below](const QList<QVariant>& change) { return change.at(0).value<QWindow*>() == below; }));
        EXPECT_EVENTUALLY(keyboardIn(&sheet) && QApplication::activeWindow() == &sheet);
        sheet.reject();
        // The window system says where the keyboard went before the program hears of it.
        EXPECT_EVENTUALLY(keyboardIn(window) && QApplication::activeWindow() == window);
    }
}

} // namespace
