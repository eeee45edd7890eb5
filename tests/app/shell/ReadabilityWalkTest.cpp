// Every text of every screen and of the popovers their buttons open, as drawn: made in one
// appearance, switched live to the other, enabled and disabled. A widget added anywhere is
// walked too, so that none slips below the readability rule.

#include "ReadabilityWalk.h"

#include "app/shell/AppDelegate.h"
#include "app/shell/AppScreens.h"
#include "charts/history/line/LineChartViewController.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/totals/TotalsViewController.h"

#include <QToolButton>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The buttons of a screen that open a popover.
QList<QAbstractButton*> popoverButtons(QWidget* view)
{
    QList<QAbstractButton*> buttons;
    QList<LineChartViewController*> charts = view->findChildren<LineChartViewController*>();
    if (auto* chart = qobject_cast<LineChartViewController*>(view))
        charts << chart;
    for (LineChartViewController* chart : std::as_const(charts)) {
        buttons << chart->menuButton();
        for (QToolButton* button : chart->findChildren<QToolButton*>()) {
            if (button->toolTip() == u"Tag filtering"_s)
                buttons << button;
        }
    }
    for (auto* totals : view->findChildren<TotalsViewController*>())
        buttons << totals->menuButton();
    if (auto* pies = qobject_cast<BigPieChartViewController*>(view))
        buttons << pies->menuButton();
    return buttons;
}

TEST_F(ReadabilityWalk, EveryTextOfEveryScreenAndPopoverReadsAfterALiveSwitch)
{
    AppearanceRestorer restore;
    // Popovers that close when the application is inactive stay open while they are read.
    PKPopoverController::setApplicationActiveOverride(true);
    auto& appearance = platform::AppearanceController::instance();
    loadSharedStore();
    for (const bool startDark : { false, true }) {
        SCOPED_TRACE(startDark ? "made dark, shown light" : "made light, shown dark");
        appearance.setAppearance(startDark ? platform::Appearance::Dark : platform::Appearance::Light);
        AppDelegate& delegate = makeDelegate();
        delegate.start();
        QWidget* window = delegate.windowWidget();
        window->resize(1300, 800);
        // Each screen and each popover is made in the first appearance...
        for (const AppScreenInfo& info : appScreens)
            delegate.showScreen(info.screen);
        QCoreApplication::processEvents();
        appearance.setAppearance(startDark ? platform::Appearance::Light : platform::Appearance::Dark);
        QCoreApplication::processEvents();

        // ...and read in the second.
        int measured = 0;
        for (const AppScreenInfo& info : appScreens) {
            delegate.showScreen(info.screen);
            QCoreApplication::processEvents();
            QWidget* view = delegate.currentView();
            ASSERT_TRUE(view);
            const std::string where = info.className;
            measured += walkEnabledAndDisabled(*window, *view, where);
            for (QAbstractButton* button : popoverButtons(view)) {
                measured += walkPopoverOpenedBy(
                    startDark, [button] { button->click(); },
                    where + " popover of " + button->toolTip().toStdString());
            }
        }
        EXPECT_GE(measured, 150);
    }
    PKPopoverController::setApplicationActiveOverride(std::nullopt);
}

} // namespace
