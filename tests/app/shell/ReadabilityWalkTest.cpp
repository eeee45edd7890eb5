// Every text of every screen and of the popovers their buttons open, as drawn: made in one
// appearance, switched live to the other, enabled and disabled. A widget added anywhere is
// walked too, so that none slips below the readability rule.

#include "ShellTestSupport.h"

#include "app/shell/AppDelegate.h"
#include "app/shell/AppScreens.h"
#include "charts/history/line/LineChartViewController.h"
#include "dashboard/bigpie/BigPieChartViewController.h"
#include "dashboard/totals/TotalsViewController.h"
#include "support/Appearances.h"
#include "support/DrawnTexts.h"
#include "uikit/popover/PKPopoverController.h"
#include "uikit/popover/PKPopoverWindow.h"

#include <QPointer>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// Two years of records of a household with described, tagged categories.
QByteArray householdDocument()
{
    const auto category
        = [](const QString& id, const QString& name, const QString& desc, const QString& tag, int order) {
              return uR"({"ID": "%1", "name": "%2", "desc": "%3", "is_foreign": false, "currency": "USD",
            "tags": ["%4"], "is_depreciable": false, "sort_order": %5, "is_hidden": false})"_s.arg(
                  id, name, desc, tag, QString::number(order));
          };
    QStringList logs;
    for (int month = 24; month >= 1; --month) {
        const int year = 2023 + (month - 1) / 12;
        const int inYear = (month - 1) % 12 + 1;
        const double cash = 5000 + 100 * month;
        const double house = 250000 + 500 * month;
        const double loan = 180000 - 900 * month;
        logs.append(uR"({"year": %1, "month": %2, "assets": %3, "liabilities": %4, "nw": %5,
            "a_logs": [{"cat": "CASH", "year": %1, "month": %2, "value": %6},
                       {"cat": "HOUSE", "year": %1, "month": %2, "value": %7}],
            "l_logs": [{"cat": "LOAN", "year": %1, "month": %2, "value": %4}]})"_s.arg(year)
                        .arg(inYear)
                        .arg(cash + house)
                        .arg(loan)
                        .arg(cash + house - loan)
                        .arg(cash)
                        .arg(house));
    }
    return uR"({"version": "2.1", "base_currency": "USD",
        "tags": [{"ID": "T-HOME", "name": "Home", "desc": "Where we live", "hexColorString": "GREEN"},
                 {"ID": "T-SAVE", "name": "Savings", "desc": "Kept for later", "hexColorString": "BLUE"}],
        "a_cat": [%1, %2], "l_cat": [%3], "nw_logs": [%4]})"_s
        .arg(category(u"CASH"_s, u"Cash"_s, u"Current account"_s, u"T-SAVE"_s, 0),
            category(u"HOUSE"_s, u"House"_s, u"Our home"_s, u"T-HOME"_s, 1),
            category(u"LOAN"_s, u"Mortgage"_s, u"Paid monthly"_s, u"T-HOME"_s, 0), logs.join(u','))
        .toUtf8();
}

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

void waitForPopoversToSettle()
{
    EXPECT_TRUE(QTest::qWaitFor([] { return !PKPopoverController::anyPopoverMoving(); }));
}

class ReadabilityWalk : public ShellTest {
protected:
    // The screens show the application's one store: it holds the household too.
    void loadSharedStore()
    {
        writeDataFile(householdDocument());
        ASSERT_EQ(NWData::dataFilePath(), dataFilePath());
        ASSERT_EQ(NWData::shared()->getApplicationData(), std::nullopt);
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        NWData& shared = *NWData::shared();
        shared.waitForPendingWrites();
        shared.setAppData(nullptr);
        shared.sortNWArray({});
    }

    // Measures `root` as drawn in `window`, then once more with all of it disabled.
    static int walkEnabledAndDisabled(QWidget& window, QWidget& root, const std::string& where)
    {
        int measured = expectTextsReadable(window, root, where.c_str());
        root.setEnabled(false);
        QCoreApplication::processEvents();
        measured += expectTextsReadable(window, root, (where + " disabled").c_str());
        root.setEnabled(true);
        QCoreApplication::processEvents();
        return measured;
    }
};

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
                const std::string popoverName = where + " popover of " + button->toolTip().toStdString();
                appearance.setAppearance(
                    startDark ? platform::Appearance::Dark : platform::Appearance::Light);
                const QList<PKPopoverController*> before = PKPopoverController::shownPopovers();
                button->click();
                QCoreApplication::processEvents();
                QList<PKPopoverController*> opened = PKPopoverController::shownPopovers();
                opened.removeIf([&before](PKPopoverController* popover) { return before.contains(popover); });
                ASSERT_EQ(opened.size(), 1) << popoverName;
                const QPointer<PKPopoverController> popover = opened.first();
                waitForPopoversToSettle();
                appearance.setAppearance(
                    startDark ? platform::Appearance::Light : platform::Appearance::Dark);
                QCoreApplication::processEvents();
                ASSERT_TRUE(popover && popover->shown()) << popoverName;
                measured += walkEnabledAndDisabled(
                    *popover->popoverWindow(), *popover->contentView(), popoverName);
                ASSERT_TRUE(popover) << popoverName;
                popover->forceClosePopover();
                waitForPopoversToSettle();
            }
        }
        EXPECT_GE(measured, 150);
    }
    PKPopoverController::setApplicationActiveOverride(std::nullopt);
}

} // namespace
