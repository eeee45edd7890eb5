#include "app/alerts/AskDeleteAllData.h"
#include "app/alerts/AskManualDownload.h"
#include "app/alerts/MessagePopover.h"
#include "app/alerts/NoCategoriesWarningViewController.h"
#include "app/alerts/SimpleAlertViewController.h"
#include "app/shell/ScreenPlaceholder.h"
#include "app/shell/ScreenProvider.h"
#include "categories/editor/EditCategoryViewController.h"
#include "categories/filter/TagsFilterController.h"
#include "categories/screen/CategoryViewController.h"
#include "categories/tags/NW_TagBgView.h"
#include "categories/tags/TagArrowGeometry.h"
#include "categories/tags/TagEditControl.h"
#include "categories/tags/TagsViewController.h"
#include "records/cells/HoverTableView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/RowEditing.h"
#include "records/editor/NWEntryLogic.h"
#include "records/editor/NWEntryViewController.h"
#include "records/list/TableBaseViewController.h"
#include "screens/SweepSupport.h"
#include "uikit/controls/fields/FittingLabel.h"
#include "uikit/popover/PKPopoverController.h"

#include <QLabel>
#include <QStringListModel>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace mervane::test;
using namespace mervane::test::sweep;

namespace {

using ListScreensSweep = ScreenSweepTest;

TEST_F(ListScreensSweep, recordListAndEditorTakeEveryModelAndEdgePeriods)
{
    forEachModel([] {
        TableBaseViewController list;
        showInHost(list);
        list.nwDataReFetchedHandler();
        list.exchangeRateNotificationHandler();
        resizeAndPaint(list);
        list.rowEditClickHandler();
        list.deleteNewRecordClickHandler();
        list.editTheNWLogRecord(nullptr);
        settle();

        NWEntryViewController editor;
        editor.setValuesForNWLog(nullptr, INT_MIN, INT_MAX);
        showInHost(editor);
        for (int value : edgeInts) {
            editor.selectPeriod(value, value);
            for (EntrySide side : { EntrySide::Assets, EntrySide::Liabilities, static_cast<EntrySide>(2),
                     static_cast<EntrySide>(-1) }) {
                editor.cellAt(side, value);
                if (side != EntrySide::Assets && side != EntrySide::Liabilities) {
                    EXPECT_EQ(editor.tableOf(side), nullptr);
                }
            }
        }
        if (!store().chartNwLogArray().isEmpty())
            editor.setValuesForNWLog(store().chartNwLogArray().first());
        resizeAndPaint(editor);
        editor.focusFirstValue();
        editor.cancelButtonHandler();
    });
}

TEST_F(ListScreensSweep, editorLogicRefusesRowsAndDigitsOutOfRange)
{
    install(edgeHousehold(4, 30));
    NWEntryLogic logic(store(), QDate(2026, 12, 7));
    logic.open(nullptr, nullptr);
    for (int value : edgeInts) {
        for (EntrySide side : { EntrySide::Assets, EntrySide::Liabilities, static_cast<EntrySide>(5) }) {
            const bool known = side != static_cast<EntrySide>(5) && value >= 0 && value < 4;
            EXPECT_EQ(logic.enterValue(side, value, QStringLiteral("12")).hasValue(), known) << value;
            logic.ensureRate(side, value);
            EXPECT_EQ(logic.categories(side).isEmpty(), side == static_cast<EntrySide>(5));
            logic.records(side);
            logic.carriedOver(side);
        }
        for (double rate : edgeNumbers) {
            const QString text = NWEntryLogic::toDecimalExchRateString(rate, value);
            EXPECT_LT(text.size(), 400) << rate << " " << value;
            NWEntryLogic::roundUp(rate, value);
            NWEntryLogic::toCurrencyString(rate);
        }
    }
}

TEST_F(ListScreensSweep, editingTablesRefuseNoRowAndBoundTheirRuledLines)
{
    for (double rowHeight : edgeNumbers) {
        for (double height : edgeNumbers) {
            const QList<QRectF> lines = HoverTableView::emptyRowLines(0, rowHeight, 500, height);
            EXPECT_LE(lines.size(), 10000) << rowHeight << " " << height;
            for (const QRectF& line : lines)
                ASSERT_TRUE(std::isfinite(line.y()) && std::isfinite(line.width()));
        }
    }
    EXPECT_TRUE(HoverTableView::emptyRowLines(0, 1.0e-9, 500, 1.0e9).isEmpty());
    EXPECT_EQ(HoverTableView::emptyRowLines(0, 25, 500, 100).size(), 3);

    QStringListModel rows(QStringList(1000, QStringLiteral("row")));
    HoverEditTableView table;
    table.setModel(&rows);
    showInHost(table);
    for (int height : edgeInts) {
        table.setRowHeight(height);
        EXPECT_GE(table.rowHeight(), 1);
        EXPECT_LE(table.rowHeight(), 10000);
        EXPECT_FALSE(table.startEditModeForRow(height));
        paintCorners(table);
    }
    table.setRowHeight(26);
    resizeAndPaint(table);
    HoverEditTableView2 plain;
    plain.setModel(&rows);
    for (int row : edgeInts)
        EXPECT_FALSE(plain.startEditModeForRow(row));
    resizeAndPaint(plain);

    EXPECT_DEATH(table.mouseDownOnRow(nullptr), "ASSERT");
    EXPECT_DEATH(plain.mouseDownOnRow(nullptr), "ASSERT");
    EXPECT_DEATH(RowEditing::rowViewPressed(nullptr), "ASSERT");

    NWCategoryLogCellViewEx cell;
    for (const QString& text : edgeTexts()) {
        cell.setEntryMessage(text);
        paintCorners(cell);
    }
    resizeAndPaint(cell);

    QFont font;
    font.setPixelSize(13);
    FittingLabel label(font, INT_MIN);
    for (const QString& text : edgeTexts()) {
        label.setFullText(text);
        for (int width : edgeInts) {
            label.fitToWidth(width);
            EXPECT_GT(label.fittedPoints(), 0);
        }
    }
    resizeAndPaint(label);
}

TEST_F(ListScreensSweep, categoryScreenTakesEdgeRowsAndEveryModel)
{
    forEachModel([] {
        CategoryViewController screen;
        showInHost(screen);
        screen.reloadData();
        for (int row : edgeRows) {
            EXPECT_TRUE(screen.getSelectedAssetCategory(nullptr, row) == nullptr || row >= 0);
            screen.getSelectedLiabilityCategory(nullptr, row);
            screen.editAssetCategory(row);
            screen.editLblCategory(row);
            screen.deleteAssetCategory(row);
            screen.deleteLblCategory(row);
            screen.showAssetLogs(row);
            screen.showLiabilityLogs(row);
            settle();
        }
        for (TBWindowButton* sender : { static_cast<TBWindowButton*>(nullptr) }) {
            screen.deleteCategoryHandler(sender);
            screen.categoryEditClickHandler(sender);
            screen.categoryEditHandler(sender, true);
        }
        resizeAndPaint(screen);
        settle();

        EditCategoryViewController editor;
        editor.setCategory(nullptr);
        editor.setValues();
        resizeAndPaint(editor);
    });
}

TEST_F(ListScreensSweep, tagsScreenAndArrowsTakeEdgeRowsAndPositions)
{
    forEachModel([] {
        TagsViewController screen;
        showInHost(screen);
        screen.reloadData();
        if (screen.tableViewTag()->model()->rowCount() > 0)
            screen.tableViewTag()->setCurrentIndex(screen.tableViewTag()->model()->index(0, 0));
        for (int row : edgeRows) {
            screen.categoryDoubleClickHandler(row);
            screen.showCategoryLogs(true, row);
            screen.showCategoryLogs(false, row);
            settle();
        }
        screen.doTheMasterDetailArrowLine();
        resizeAndPaint(screen);

        TagsFilterController filter;
        showInHost(filter);
        for (int row : edgeRows)
            filter.tagRowCheckHandler(row, true);
        resizeAndPaint(filter);

        TagEditControl tagEditor;
        tagEditor.setTagRecord(nullptr);
        tagEditor.setValues();
        EXPECT_EQ(tagEditor.colorButton(QString(10000, QLatin1Char('x'))), nullptr);
        resizeAndPaint(tagEditor);
    });

    NW_TagBgView background;
    background.setRecordSelected(true);
    for (float position : edgeFloats) {
        background.setRecordPosition(position);
        background.setLiabilityTablePosition(-position);
        EXPECT_TRUE(std::isfinite(background.RecordPosition()));
        EXPECT_TRUE(std::isfinite(background.LiabilityTablePosition()));
        paintCorners(background);
        const TagArrowGeometry::Arrows arrows = TagArrowGeometry::arrows(position, position, position);
        EXPECT_TRUE(std::isfinite(arrows.asset[1].from.y()) && std::isfinite(arrows.liability[2].to.y()));
        EXPECT_TRUE(std::isfinite(TagArrowGeometry::recordPosition(position, -position, position)));
    }
    resizeAndPaint(background);
}

TEST_F(ListScreensSweep, messagePopoverSurvivesItsContentBeingReplacedOrDeleted)
{
    QWidget anchor;
    anchor.resize(100, 40);
    anchor.show();
    MessagePopover messages;
    messages.showMessage(QStringLiteral("first"), &anchor);
    ASSERT_TRUE(messages.popover());

    auto* panel = qobject_cast<SimpleAlertViewController*>(messages.popover()->contentViewController());
    ASSERT_TRUE(panel);

    // Someone holding the popover gives it other content, which takes the panel's place and
    // hands the panel back; the next message puts the same panel in again and hands the
    // other content back to whoever gave it.
    auto other = std::make_unique<QLabel>(QStringLiteral("other"));
    messages.popover()->setContentViewController(other.get());
    settle();
    messages.showMessage(QStringLiteral("second"), &anchor);
    EXPECT_EQ(messages.text(), QStringLiteral("second"));
    EXPECT_EQ(messages.popover()->contentViewController(), panel);
    EXPECT_EQ(panel->alertCtl()->text(), QStringLiteral("second"));
    EXPECT_EQ(other->parent(), nullptr);

    // The same while it is closed, and with the popover itself deleted.
    messages.close();
    messages.popover()->setContentViewController(nullptr);
    settle();
    messages.showMessage(QStringLiteral("third"), &anchor, true);
    EXPECT_EQ(messages.text(), QStringLiteral("third"));
    delete messages.popover();
    for (const QString& text : edgeTexts())
        messages.showMessage(text, nullptr);
    messages.showMessage(QStringLiteral("fourth"), &anchor);
    EXPECT_EQ(messages.text(), QStringLiteral("fourth"));
    settle();
}

TEST_F(ListScreensSweep, alertPanelsTakeEdgeTextsAndSizes)
{
    SimpleAlertViewController alert;
    for (const QString& text : edgeTexts()) {
        alert.alertCtl()->setText(text);
        EXPECT_LE(alert.fittingSize().height(), SimpleAlertViewController::maximumHeight);
        paintCorners(alert);
    }
    resizeAndPaint(alert);
    AskDeleteAllData askDelete;
    resizeAndPaint(askDelete);
    AskManualDownload askDownload;
    resizeAndPaint(askDownload);
    NoCategoriesWarningViewController warning;
    resizeAndPaint(warning);
}

TEST_F(ListScreensSweep, screenProviderMakesAPlaceholderForAnUnknownScreen)
{
    ScreenProvider provider;
    for (int screen : { -1, 7, 8, INT_MAX, INT_MIN }) {
        std::unique_ptr<QWidget> view(provider.createScreen(static_cast<AppScreen>(screen)));
        ASSERT_TRUE(view);
        EXPECT_TRUE(qobject_cast<ScreenPlaceholder*>(view.get())) << screen;
        provider.screenPlaced(static_cast<AppScreen>(screen), view.get());
        provider.compareWithNetWorth(view.get(), edgeNaN);
    }
    provider.screenPlaced(AppScreen::Compare, nullptr);
    provider.compareWithNetWorth(nullptr, edgeInf);
}

} // namespace
