// Every text of the popovers, panels, menus, sheets and overlays the program shows beyond its
// screens, reached as a user reaches them (the title bar's buttons, the document menu, the
// screens' command bars, a click on a chart, a row's menu): made in one appearance, switched
// live to the other, and measured as drawn, enabled and disabled.

#include "ReadabilityWalk.h"

#include "app/data/DataCommands.h"
#include "app/share/AboutWindow.h"
#include "app/share/ShareCommands.h"
#include "categories/screen/CategoryListPane.h"
#include "charts/kit/BarPlot.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "dashboard/totals/TotalsViewController.h"
#include "model/settings/Preferences.h"
#include "uikit/popover/APPopover.h"
#include "uikit/popover/APPopoverWindow.h"

#include <QFile>
#include <QListView>
#include <QTableView>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class ReadabilityWalkPanels : public ReadabilityWalkProgram { };

TEST_F(ReadabilityWalkPanels, TheTitleBarsPopoversShareMenuAndAboutSheetReadAfterALiveSwitch)
{
    AppearanceRestorer restore;
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        int measured = 0;

        // The settings, and the searchable currency list their "Change..." opens.
        const QPointer<PKPopoverController> settings
            = popoverOpenedBy([this] { click(titleBarButton("settingsButton")); }, "settings");
        ASSERT_TRUE(settings);
        auto* change = settings->contentView()->findChild<QAbstractButton*>(u"currencyChangeBtn"_s);
        ASSERT_TRUE(change && change->isEnabled());
        const QPointer<PKPopoverController> currencies
            = popoverOpenedBy([change] { change->click(); }, "currency selection");
        setAppearance(!madeDark);
        measured += walkPopover(currencies, "currency selection");
        closePopover(currencies);
        measured += walkPopover(settings, "settings");
        closePopover(settings);

        measured += walkPopoverOpenedBy(
            madeDark, [this] { click(titleBarButton("printButton")); }, "report choice");
        measured += walkPopoverOpenedBy(
            madeDark, [this] { click(titleBarButton("helpButton")); }, "manual");
        // Without a password the lock button tells where to set one, once the keychain answered.
        measured += walkMessage(
            madeDark, [this] { click(titleBarButton("lockButton")); }, "lock message");
        measured += walkMessage(
            madeDark,
            [this] { m_delegate->showMessage(u"Net worth data successfully exported to a file."_s); },
            "message");

        setAppearance(madeDark);
        click(titleBarButton("shareButton"));
        measured += walkMenu(madeDark, m_commands->shareCommands().sharePicker(), "share menu");

        // The about sheet is a window of its own.
        setAppearance(madeDark);
        click(titleBarButton("infoABoutButton"));
        AboutWindow* about = m_commands->shareCommands().aboutSheet();
        ASSERT_TRUE(about && about->isVisible());
        setAppearance(!madeDark);
        measured += walkEnabledAndDisabled(*about, *about, "about");
        about->closeAboutSheet(1);

        EXPECT_GE(measured, 100);
    }
}

TEST_F(ReadabilityWalkPanels, TheDocumentMenuAndItsPopoversReadAfterALiveSwitch)
{
    AppearanceRestorer restore;
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        int measured = 0;
        click(titleBarButton("exportButton"));
        QMenu* document = m_commands->dataCommands().documentMenu();
        measured += walkMenu(madeDark, document, "document menu");

        const auto item = [document](const char* name) {
            return [document, name] {
                auto* action = document->findChild<QAction*>(QString::fromLatin1(name));
                ASSERT_TRUE(action) << name;
                action->trigger();
            };
        };
        measured += walkPopoverOpenedBy(madeDark, item("restoreFromFileMenuItem"), "restore confirmation");
        measured += walkPopoverOpenedBy(madeDark, item("deleteAllMenuItem"), "delete all confirmation");
        measured += walkPopoverOpenedBy(
            madeDark, [&] { m_commands->dataCommands().exchangeRatesAction()->trigger(); }, "exchange rates");

        // The CSV import panel, empty and with a file read.
        setAppearance(madeDark);
        const QPointer<PKPopoverController> import
            = popoverOpenedBy(item("importFromCSVMenuItem"), "CSV import");
        ASSERT_TRUE(import);
        setAppearance(!madeDark);
        measured += walkPopover(import, "CSV import");
        const QString csv = homePath(u"household.csv"_s);
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("TAGS,ID,Name,Description\n,T,Home,\n\n"
                   "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n,A,Bank,,0,,T\n\n"
                   "NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,,A\n"
                   ",2020,1,first,100,0,100,100\n");
        file.close();
        platform::FileChooser::queueAnswer(csv);
        click(import->contentView()->findChild<QAbstractButton*>(u"selectButton"_s));
        QCoreApplication::processEvents();
        EXPECT_EQ(platform::FileChooser::queuedAnswerCount(), 0);
        measured += walkPopover(import, "CSV import, file read");
        closePopover(import);

        EXPECT_GE(measured, 100);
    }
}

TEST_F(ReadabilityWalkPanels, TheDashboardsWelcomeRecordEditorsAndValuePopupReadAfterALiveSwitch)
{
    AppearanceRestorer restore;
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        // The welcome panel hangs over the dashboard at the start.
        Preferences::setShowStartForm(true);
        startProgram(madeDark);
        int measured = 0;

        QWidget* dashboard = showScreen(AppScreen::Dashboard);
        auto* totals = dashboard->findChild<TotalsViewController*>();
        ASSERT_TRUE(totals);
        APPopover* welcome = totals->firstStartSFBPopover();
        ASSERT_TRUE(welcome && welcome->popoverWindow()) << "no welcome panel";
        setAppearance(!madeDark);
        measured += walkEnabledAndDisabled(*welcome->popoverWindow(), *welcome->contentView(), "welcome");
        totals->closeWelcomeView();
        Preferences::setShowStartForm(false);

        // The records: a new one, the newest one, and its deletion.
        const std::string records = "records ";
        measured += walkPopoverOpenedBy(
            madeDark, [&] { click(buttonWithToolTip(dashboard, u"Add a new net worth record"_s)); },
            records + "new");
        auto* recordList = dashboard->findChild<QTableView*>(u"tableView"_s);
        ASSERT_TRUE(recordList);
        recordList->selectRow(0);
        measured += walkPopoverOpenedBy(
            madeDark, [&] { click(buttonWithToolTip(dashboard, u"Edit selected net worth record"_s)); },
            records + "edit");
        measured += walkPopoverOpenedBy(
            madeDark, [&] { click(buttonWithToolTip(dashboard, u"Delete selected net worth record"_s)); },
            records + "delete");

        // The value popup of a year-end bar.
        measured += walkPopoverOpenedBy(
            madeDark,
            [&] {
                for (chart::Plot* plot : totals->hostViewB()->hostedGraph()->allPlots()) {
                    if (auto* bars = qobject_cast<chart::BarPlot*>(plot)) {
                        clickAt(totals->hostViewB()->viewport(), bars->barRect(0).center());
                        return;
                    }
                }
            },
            "value popup");

        EXPECT_GE(measured, 150);
    }
}

TEST_F(ReadabilityWalkPanels, TheCategoryAndTagEditorsMenusAndValuesReadAfterALiveSwitch)
{
    AppearanceRestorer restore;
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        int measured = 0;

        // The categories: a new one, the first one, its deletion, its row menu and its values.
        setAppearance(madeDark);
        QWidget* categories = showScreen(AppScreen::Category);
        const QList<CategoryListPane*> panes = categories->findChildren<CategoryListPane*>();
        ASSERT_FALSE(panes.isEmpty());
        CategoryListPane* pane = panes.first();
        measured += walkPopoverOpenedBy(
            madeDark, [pane] { pane->addButton()->click(); }, "category new");
        pane->selectRow(0);
        measured += walkPopoverOpenedBy(
            madeDark, [pane] { pane->editButton()->click(); }, "category edit");
        measured += walkPopoverOpenedBy(
            madeDark, [pane] { pane->deleteButton()->click(); }, "category delete");
        setAppearance(madeDark);
        QListView* list = pane->tableView();
        Q_EMIT list->customContextMenuRequested(list->visualRect(list->model()->index(0, 0)).center());
        QCoreApplication::processEvents();
        auto* rowMenu = categories->findChild<QMenu*>(u"rowMenu"_s);
        ASSERT_TRUE(rowMenu);
        QAction* values = rowMenu->findChild<QAction*>(u"showValuesAction"_s);
        ASSERT_TRUE(values);
        measured += walkMenu(madeDark, rowMenu, "category row menu");
        measured += walkPopoverOpenedBy(
            madeDark, [values] { values->trigger(); }, "category values");

        // The tags: a new one, the first one and its deletion.
        setAppearance(madeDark);
        QWidget* tags = showScreen(AppScreen::Tags);
        measured += walkPopoverOpenedBy(
            madeDark, [&] { click(buttonWithToolTip(tags, u"Add a new tag"_s)); }, "tag new");
        auto* tagList = tags->findChild<QAbstractItemView*>(u"tableViewTag"_s);
        ASSERT_TRUE(tagList);
        tagList->setCurrentIndex(tagList->model()->index(0, 0));
        measured += walkPopoverOpenedBy(
            madeDark, [&] { click(buttonWithToolTip(tags, u"Edit selected tag"_s)); }, "tag edit");
        measured += walkPopoverOpenedBy(
            madeDark, [&] { click(buttonWithToolTip(tags, u"Delete selected tag"_s)); }, "tag delete");

        EXPECT_GE(measured, 100);
    }
}

TEST_F(ReadabilityWalkPanels, TheLockOverlayReadsAfterALiveSwitch)
{
    AppearanceRestorer restore;
    ASSERT_NO_FATAL_FAILURE(storePassword(u"s3cret"_s, u"pet"_s));
    for (const bool madeDark : { false, true }) {
        SCOPED_TRACE(madeDark ? "made dark, shown light" : "made light, shown dark");
        startProgram(madeDark);
        PasswordOverlayWindowController* overlay = lockWithButton();
        ASSERT_TRUE(overlay);
        ASSERT_TRUE(QTest::qWaitFor([overlay] {
            return overlay->keychainState() == PasswordOverlayWindowController::KeychainState::Ready;
        }));
        // Two wrong tries show the hint.
        for (const QString& wrong : { u"wrong"_s, u"wrong again"_s }) {
            overlay->pwdEditCtl()->setText(wrong);
            QTest::keyClick(overlay->pwdEditCtl(), Qt::Key_Return);
        }
        overlay->pwdEditCtl()->clear();
        EXPECT_TRUE(overlay->hintLabel()->isVisible());
        EXPECT_GE(walkLockOverlay(madeDark, "lock overlay"), 3);
    }
}

} // namespace
