#include "app/alerts/MessagePopover.h"
#include "categories/CategoriesNotifications.h"
#include "categories/editor/CategoryEditorPopover.h"
#include "categories/editor/EditCategoryViewController.h"
#include "categories/screen/CategoryBuilders.h"
#include "categories/screen/CategoryDragPayload.h"
#include "categories/screen/CategoryListModel.h"
#include "categories/screen/CategoryListPane.h"
#include "categories/screen/CategoryScreenSettings.h"
#include "categories/screen/CategoryViewController.h"
#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "records/history/NWCategoryLogsController.h"
#include "support/Appearances.h"
#include "support/DrawnTexts.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

std::shared_ptr<MVX_CategoryLog> makeLog(const QString& id, double value)
{
    auto log = std::make_shared<MVX_CategoryLog>();
    log->setCategoryID(id);
    log->setValue(value);
    return log;
}

/// A record valuing the assets CASH, HOUSE, CAR and SHARES and the liabilities LOAN and CARD.
std::shared_ptr<MVX_NWLog> makeRecord(int month, double cash, double house, double car, double loan)
{
    auto record = std::make_shared<MVX_NWLog>();
    record->setYear(2024);
    record->setMonth(month);
    record->setAssetLogs(MVX_CategoryLogList { makeLog(u"CASH"_s, cash), makeLog(u"HOUSE"_s, house),
        makeLog(u"CAR"_s, car), makeLog(u"SHARES"_s, 1000) });
    record->setLiabilityLogs(MVX_CategoryLogList { makeLog(u"LOAN"_s, loan), makeLog(u"CARD"_s, 300) });
    record->setAssets(cash + house + car + 1000);
    record->setLiabilities(loan + 300);
    record->setNw(*record->assets() - *record->liabilities());
    return record;
}

class CategoryScreenTest : public SharedStoreTest {
protected:
    void TearDown() override
    {
        m_screen.reset();
        SharedStoreTest::TearDown();
    }

    /// Writes the household's data file and loads it, as the application does at start. The
    /// car is hidden and worth nothing in the newest record.
    void install()
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        model->assetscat()->append(makeCategory(u"CASH"_s, 0));
        model->assetscat()->append(makeCategory(u"HOUSE"_s, 1));
        model->assetscat()->append(makeCategory(u"CAR"_s, 2, true));
        model->assetscat()->append(makeCategory(u"SHARES"_s, 3));
        model->liabilitycat()->append(makeCategory(u"LOAN"_s, 0));
        model->liabilitycat()->append(makeCategory(u"CARD"_s, 1));
        model->setNwLogArray(MVX_NWLogList {
            makeRecord(1, 5000, 250000, 9000, 180000), makeRecord(2, 5200, 251000, 0, 179000) });
        loadAsAtStart(*model);
    }

    static std::shared_ptr<MVX_Model> fileModel()
    {
        auto read = ImportModel::read(dataFileBytes());
        return read ? read->model : nullptr;
    }

    /// "ID<number>" of each category of a side as the data file holds them, in the file's order.
    static QString numbersInFile(bool isAsset)
    {
        const auto model = fileModel();
        if (!model)
            return u"unreadable"_s;
        QStringList numbers;
        for (const auto& category : *(isAsset ? model->assetscat() : model->liabilitycat()))
            numbers.append(category->ID() + QString::number(category->sortOrder()));
        return numbers.join(u',');
    }

    CategoryViewController* makeScreen()
    {
        m_screen = std::make_unique<CategoryViewController>();
        m_screen->resize(900, 600);
        m_screen->show();
        QCoreApplication::processEvents();
        for (QListView* list : { m_screen->tableViewA(), m_screen->tableViewL() })
            m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
                list->model(), QAbstractItemModelTester::FailureReportingMode::Warning));
        return m_screen.get();
    }

    QString listed(bool isAsset) const
    {
        QStringList ids;
        const CategoryListPane* pane = isAsset ? m_screen->assetPane() : m_screen->liabilityPane();
        for (const auto& category : pane->listModel()->categories())
            ids.append(category->ID());
        return ids.join(u',');
    }

    /// Sends a drag of `data` over the list and drops it at `pos` (viewport coordinates);
    /// returns whether the list took the drop.
    static bool drop(QListView* list, const QMimeData* data, QPoint pos)
    {
        QDragEnterEvent enter(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        QDragMoveEvent move(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        QDropEvent dropped(pos, Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &dropped);
        return dropped.isAccepted();
    }

    /// A point just inside the top edge of `row`: a drop there lands above it.
    static QPoint aboveRow(QListView* list, int row)
    {
        return list->visualRect(list->model()->index(row, 0)).topLeft() + QPoint(20, 2);
    }

    static std::unique_ptr<QMimeData> dragOf(QListView* list, int row)
    {
        return std::unique_ptr<QMimeData>(list->model()->mimeData({ list->model()->index(row, 0) }));
    }

    std::unique_ptr<CategoryViewController> m_screen;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
};

TEST_F(CategoryScreenTest, BothListsShowTheirCategoriesInOrderAndTheSwitchShowsTheHiddenOne)
{
    install();
    makeScreen();
    EXPECT_EQ(listed(true), u"CASH,HOUSE,SHARES"_s);
    EXPECT_EQ(listed(false), u"LOAN,CARD"_s);

    auto* showHidden = m_screen->findChild<QCheckBox*>(categoryscreensettings::showHiddenAssetsKey);
    ASSERT_NE(showHidden, nullptr);
    EXPECT_FALSE(showHidden->isChecked());
    m_screen->tableViewA()->selectionModel()->select(
        m_screen->tableViewA()->model()->index(1, 0), QItemSelectionModel::Select);
    showHidden->setChecked(true);
    EXPECT_EQ(listed(true), u"CASH,HOUSE,CAR,SHARES"_s);
    EXPECT_FALSE(m_screen->tableViewA()->selectionModel()->hasSelection());
    EXPECT_TRUE(
        platform::UserDefaults::standard().boolean(categoryscreensettings::showHiddenAssetsKey, false));
    EXPECT_EQ(listed(false), u"LOAN,CARD"_s); // the other list has its own switch

    // The switch is remembered: a screen made later starts with it.
    m_screen.reset();
    m_testers.clear();
    makeScreen();
    EXPECT_TRUE(m_screen->findChild<QCheckBox*>(categoryscreensettings::showHiddenAssetsKey)->isChecked());
    EXPECT_EQ(listed(true), u"CASH,HOUSE,CAR,SHARES"_s);
    m_screen->findChild<QCheckBox*>(categoryscreensettings::showHiddenAssetsKey)->setChecked(false);
    EXPECT_EQ(listed(true), u"CASH,HOUSE,SHARES"_s);

    // A value entered for the car brings it back with the next reload.
    store().appData()->currentLog()->assetLogs()->at(2)->setValue(0.01);
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    EXPECT_EQ(listed(true), u"CASH,HOUSE,CAR,SHARES"_s);
}

TEST_F(CategoryScreenTest, DeleteAndEditFollowTheSelectionOfTheirOwnList)
{
    install();
    makeScreen();
    CategoryListPane* assets = m_screen->assetPane();
    CategoryListPane* liabilities = m_screen->liabilityPane();
    EXPECT_FALSE(assets->deleteButton()->isEnabled());
    EXPECT_FALSE(assets->editButton()->isEnabled());
    EXPECT_TRUE(assets->addButton()->isEnabled());

    liabilities->selectRow(1);
    EXPECT_TRUE(liabilities->deleteButton()->isEnabled());
    EXPECT_TRUE(liabilities->editButton()->isEnabled());
    EXPECT_FALSE(assets->deleteButton()->isEnabled());
    int row = -1;
    EXPECT_EQ(m_screen->getSelectedLiabilityCategory(&row)->ID(), u"CARD"_s);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(m_screen->getSelectedAssetCategory(), nullptr);
    EXPECT_EQ(m_screen->getSelectedAssetCategory(nullptr, 2)->ID(), u"SHARES"_s); // the clicked row
    EXPECT_EQ(m_screen->getSelectedAssetCategory(nullptr, 3), nullptr);

    // Delete with nothing selected asks nothing.
    assets->deleteButton()->click();
    EXPECT_FALSE(m_screen->askDeletePopover()->shown());
    EXPECT_EQ(m_screen->waitingAssetCategory(), nullptr);
}

TEST_F(CategoryScreenTest, ADroppedRowTakesItsPlaceAndTheWholeSideIsSavedNumberedWithoutGaps)
{
    install();
    makeScreen();
    int refetched = 0;
    int pies = 0;
    QObject observer;
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(&observer, notifications::dataReFetched, [&refetched](auto&&...) { ++refetched; });
    center.addObserver(&observer, notifications::pieChartSettingsChange, [&pies](auto&&...) { ++pies; });

    QListView* list = m_screen->tableViewA();
    // SHARES (row 2) goes above CASH; the hidden CAR keeps its place in the side's order.
    EXPECT_TRUE(drop(list, dragOf(list, 2).get(), aboveRow(list, 0)));
    EXPECT_EQ(listed(true), u"SHARES,CASH,HOUSE"_s);
    EXPECT_EVENTUALLY_EQ(pies, 1);
    EXPECT_EQ(refetched, 1);
    EXPECT_EQ(numbersInFile(true), u"CASH1,HOUSE3,CAR2,SHARES0"_s);
    EXPECT_EQ(numbersInFile(false), u"LOAN0,CARD1"_s);

    // Below the last row: CASH goes to the end, behind the hidden CAR.
    const QRect last = list->visualRect(list->model()->index(2, 0));
    ASSERT_LT(last.bottom() + 20, list->viewport()->height());
    EXPECT_TRUE(drop(list, dragOf(list, 1).get(), QPoint(20, last.bottom() + 20)));
    EXPECT_EQ(listed(true), u"SHARES,HOUSE,CASH"_s);
    EXPECT_EVENTUALLY_EQ(pies, 2);
    EXPECT_EQ(numbersInFile(true), u"CASH3,HOUSE1,CAR2,SHARES0"_s);

    // Just below itself: nothing moves and nothing is written.
    const QByteArray before = dataFileBytes();
    EXPECT_TRUE(drop(list, dragOf(list, 0).get(), aboveRow(list, 1)));
    QCoreApplication::processEvents();
    EXPECT_EQ(listed(true), u"SHARES,HOUSE,CASH"_s);
    EXPECT_EQ(pies, 2);
    EXPECT_EQ(dataFileBytes(), before);
}

TEST_F(CategoryScreenTest, TextFromElsewhereAndRowsOfTheOtherListAreRefusedWithoutChange)
{
    install();
    makeScreen();
    const QByteArray before = dataFileBytes();
    QListView* assets = m_screen->tableViewA();
    QListView* liabilities = m_screen->tableViewL();

    QMimeData text;
    text.setText(u"2"_s);
    text.setData(u"text/plain"_s, "2");
    EXPECT_FALSE(drop(assets, &text, aboveRow(assets, 0)));
    EXPECT_FALSE(drop(assets, dragOf(liabilities, 1).get(), aboveRow(assets, 0)));
    EXPECT_FALSE(drop(liabilities, dragOf(assets, 2).get(), aboveRow(liabilities, 0)));
    // Said to come from the liability list, even if it names an asset category.
    const std::unique_ptr<QMimeData> otherList(CategoryDragPayload { false, 1, u"HOUSE"_s }.toMimeData());
    EXPECT_FALSE(drop(assets, otherList.get(), aboveRow(assets, 0)));
    // A row whose list was reloaded with another category in its place since the drag began.
    const std::unique_ptr<QMimeData> shares = dragOf(assets, 2);
    auto* showHidden = m_screen->findChild<QCheckBox*>(categoryscreensettings::showHiddenAssetsKey);
    showHidden->setChecked(true);
    EXPECT_EQ(listed(true), u"CASH,HOUSE,CAR,SHARES"_s);
    EXPECT_FALSE(drop(assets, shares.get(), aboveRow(assets, 0)));
    showHidden->setChecked(false);

    QCoreApplication::processEvents();
    EXPECT_EQ(listed(true), u"CASH,HOUSE,SHARES"_s);
    EXPECT_EQ(listed(false), u"LOAN,CARD"_s);
    store().waitForPendingWrites();
    EXPECT_EQ(dataFileBytes(), before);
}

TEST_F(CategoryScreenTest, ADeleteAsksFirstThenTakesEveryValueOutOfEveryRecordAndTheTotals)
{
    install();
    makeScreen();
    CategoryListPane* assets = m_screen->assetPane();
    assets->selectRow(1); // HOUSE
    assets->deleteButton()->click();
    ASSERT_TRUE(m_screen->askDeletePopover()->shown());
    EXPECT_EQ(store().appData()->assetscat()->size(), 4); // asking changes nothing
    assets->deleteButton()->click(); // a second press closes the question
    EXPECT_EVENTUALLY(!m_screen->askDeletePopover()->shown());
    assets->deleteButton()->click();
    ASSERT_TRUE(m_screen->askDeletePopover()->shown());
    EXPECT_EQ(m_screen->waitingAssetCategory()->ID(), u"HOUSE"_s);

    m_screen->askDeletePopover()->contentViewController()->findChild<QPushButton*>(u"okButton"_s)->click();
    EXPECT_EQ(m_screen->waitingAssetCategory(), nullptr);
    EXPECT_EQ(listed(true), u"CASH,SHARES"_s);
    store().waitForPendingWrites();
    EXPECT_EVENTUALLY(numbersInFile(true) == u"CASH0,CAR1,SHARES2"_s);
    EXPECT_EQ(numbersInFile(true), u"CASH0,CAR1,SHARES2"_s);

    const auto model = fileModel();
    ASSERT_NE(model, nullptr);
    ASSERT_EQ(model->nwLogArray()->size(), 2);
    for (const auto& record : *model->nwLogArray()) {
        for (const auto& log : *record->assetLogs())
            EXPECT_NE(log->categoryID(), u"HOUSE"_s);
        const bool february = record->month() == 2;
        const double cash = february ? 5200 : 5000;
        const double car = february ? 0 : 9000;
        const double loan = february ? 179000 : 180000;
        EXPECT_DOUBLE_EQ(*record->assets(), cash + car + 1000);
        EXPECT_DOUBLE_EQ(*record->liabilities(), loan + 300);
        EXPECT_DOUBLE_EQ(*record->nw(), cash + car + 1000 - loan - 300);
    }
}

TEST_F(CategoryScreenTest, AFailedSaveIsShownAtTheListAndTheListsShowTheFileAgain)
{
    install();
    makeScreen();
    const QByteArray before = dataFileBytes();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    CategoryListPane* liabilities = m_screen->liabilityPane();
    liabilities->selectRow(0); // LOAN
    liabilities->deleteButton()->click();
    m_screen->askDeletePopover()->contentViewController()->findChild<QPushButton*>(u"okButton"_s)->click();

    EXPECT_EVENTUALLY(m_screen->messagePopover()->isShown());
    EXPECT_TRUE(m_screen->messagePopover()->text().startsWith(u"The change could not be saved: "_s))
        << qPrintable(m_screen->messagePopover()->text());
    EXPECT_GT(
        m_screen->messagePopover()->text().size(), QString(u"The change could not be saved: "_s).size());
    // The deleted category is back, in the list, the model and the record's totals.
    EXPECT_EQ(listed(false), u"LOAN,CARD"_s);
    EXPECT_EQ(store().appData()->liabilitycat()->size(), 2);
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_TRUE(modelIsTheDataFile());

    // A reorder that cannot be saved is shown as well, and the list is in the file's order.
    m_screen->messagePopover()->close();
    QListView* assets = m_screen->tableViewA();
    EXPECT_TRUE(drop(assets, dragOf(assets, 2).get(), aboveRow(assets, 0)));
    EXPECT_EQ(listed(true), u"SHARES,CASH,HOUSE"_s);
    EXPECT_EVENTUALLY_EQ(listed(true), u"CASH,HOUSE,SHARES"_s);
    // The lists show the file again before the save's completion shows the message.
    EXPECT_EVENTUALLY(m_screen->messagePopover()->isShown());
    EXPECT_TRUE(m_screen->messagePopover()->text().startsWith(u"The change could not be saved: "_s));
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_TRUE(modelIsTheDataFile());

    // Nothing unsaved is left for an unrelated save to write.
    store().writer().setDeviceFactoryForTesting({});
    ASSERT_FALSE(store().saveData().has_value());
    EXPECT_EQ(numbersInFile(false), u"LOAN0,CARD1"_s);
    EXPECT_EQ(numbersInFile(true), u"CASH0,HOUSE1,CAR2,SHARES3"_s);
}

TEST_F(CategoryScreenTest, ARowsMenuOpensTheValueHistoryOfThatRow)
{
    install();
    makeScreen();
    QListView* liabilities = m_screen->tableViewL();
    QWidget* row = liabilities->indexWidget(liabilities->model()->index(1, 0));
    ASSERT_NE(row, nullptr);
    const QPoint inside(30, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, row->mapToGlobal(inside));
    QApplication::sendEvent(row, &event);
    auto* menu = m_screen->findChild<QMenu*>(u"rowMenu"_s);
    ASSERT_NE(menu, nullptr);
    menu->findChild<QAction*>(u"showValuesAction"_s)->trigger();
    menu->close();

    ASSERT_TRUE(m_screen->categoryLogPopover() && m_screen->categoryLogPopover()->shown());
    auto* logs
        = qobject_cast<NWCategoryLogsController*>(m_screen->categoryLogPopover()->contentViewController());
    ASSERT_NE(logs, nullptr);
    EXPECT_EQ(logs->viewCategory()->ID(), u"CARD"_s);
    EXPECT_FALSE(logs->showAssetCategory());
    EXPECT_EQ(m_screen->getSelectedLiabilityCategory()->ID(), u"CARD"_s);

    // Asked again while shown, it closes.
    m_screen->showLiabilityLogs(1);
    EXPECT_EVENTUALLY(!m_screen->categoryLogPopover());
}

TEST_F(CategoryScreenTest, AddEditAndADoubleClickOpenTheEditorForTheirListAndASaveClosesIt)
{
    install();
    makeScreen();
    CategoryListPane* liabilities = m_screen->liabilityPane();
    liabilities->addButton()->click();
    ASSERT_TRUE(m_screen->editCategoryPopover() && m_screen->editCategoryPopover()->shown());
    const EditCategoryViewController* editor = categoryEditorOf(m_screen->editCategoryPopover());
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->isAssetCategory());
    EXPECT_EQ(editor->logic().category(), nullptr);
    liabilities->addButton()->click(); // a second press closes it
    EXPECT_EVENTUALLY(!m_screen->editCategoryPopover());

    liabilities->selectRow(1);
    liabilities->editButton()->click();
    ASSERT_TRUE(m_screen->editCategoryPopover() && m_screen->editCategoryPopover()->shown());
    EXPECT_EQ(categoryEditorOf(m_screen->editCategoryPopover())->logic().category()->ID(), u"CARD"_s);
    platform::NotificationCenter::defaultCenter().post(notifications::assetCategorySave);
    EXPECT_EQ(m_screen->editCategoryPopover()->state(), PKPopoverController::State::Closing);
    EXPECT_EVENTUALLY(!m_screen->editCategoryPopover()->shown());

    // The row's own widget lies over the list: its double click still opens the editor.
    QWidget* row = m_screen->tableViewA()->indexWidget(m_screen->tableViewA()->model()->index(2, 0));
    ASSERT_NE(row, nullptr);
    QTest::mouseDClick(row, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(m_screen->editCategoryPopover() && m_screen->editCategoryPopover()->shown());
    editor = categoryEditorOf(m_screen->editCategoryPopover());
    EXPECT_TRUE(editor->isAssetCategory());
    EXPECT_EQ(editor->logic().category()->ID(), u"SHARES"_s);
}

// A screen made in one appearance and switched live to the other draws every text at the
// readability rule, the grey descriptions under the names included.
TEST_F(CategoryScreenTest, EveryTextReadsAfterALiveAppearanceSwitch)
{
    install();
    for (const auto& category : *store().appData()->assetscat())
        category->setDesc(u"Held in the family's name"_s);
    for (const auto& category : *store().appData()->liabilitycat())
        category->setDesc(u"Paid monthly"_s);
    AppearanceRestorer restore;
    auto& appearance = platform::AppearanceController::instance();
    for (const bool startDark : { true, false }) {
        SCOPED_TRACE(startDark ? "dark to light" : "light to dark");
        appearance.setAppearance(startDark ? platform::Appearance::Dark : platform::Appearance::Light);
        CategoryViewController* screen = makeScreen();
        screen->tableViewA()->setCurrentIndex(screen->tableViewA()->model()->index(1, 0));
        QCoreApplication::processEvents();
        appearance.setAppearance(startDark ? platform::Appearance::Light : platform::Appearance::Dark);
        QCoreApplication::processEvents();
        EXPECT_GE(expectTextsReadable(*screen, *screen, "categories"), 10);
    }
}

} // namespace
