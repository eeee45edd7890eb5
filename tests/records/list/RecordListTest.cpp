#include "app/alerts/MessagePopover.h"
#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/store/DataFileWriter.h"
#include "model/store/NWData.h"
#include "platform/NotificationCenter.h"
#include "platform/Strings.h"
#include "records/RecordsNotifications.h"
#include "records/editor/NWEntryViewController.h"
#include "records/editor/RecordEditorPopover.h"
#include "records/list/NWCellView.h"
#include "records/list/RecordListModel.h"
#include "records/list/TableBaseViewController.h"
#include "support/Eventually.h"
#include "support/FailingDevices.h"
#include "support/SharedStoreTest.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

std::shared_ptr<MVX_NWLog> makeRecord(
    int year, int month, double assets, double liabilities, const QString& note = {})
{
    auto record = std::make_shared<MVX_NWLog>();
    record->setYear(year);
    record->setMonth(month);
    record->setAssets(assets);
    record->setLiabilities(liabilities);
    record->setNw(assets - liabilities);
    record->setNote(note);
    record->setAssetLogs(MVX_CategoryLogList());
    record->setLiabilityLogs(MVX_CategoryLogList());
    return record;
}

class RecordListTest : public SharedStoreTest {
protected:
    /// Writes a data file with one asset category (or one liability, or both) and these
    /// records and loads it, as the application does at start.
    void install(const MVX_NWLogList& records, bool assets = true, bool liabilities = false)
    {
        auto model = MVX_Model::makeEmpty();
        model->setBaseCurrency(u"USD"_s);
        auto cash = std::make_shared<MVX_Category>();
        cash->setID(u"CASH"_s);
        cash->setCategoryName(u"Cash"_s);
        if (assets)
            model->assetscat()->append(cash);
        if (liabilities) {
            auto loan = std::make_shared<MVX_Category>();
            loan->setID(u"LOAN"_s);
            loan->setCategoryName(u"Loan"_s);
            model->liabilitycat()->append(loan);
        }
        model->setNwLogArray(records);
        loadAsAtStart(*model);
    }

    static int recordsInFile()
    {
        const auto read = ImportModel::read(dataFileBytes());
        return read ? int(read->model->nwLogArray()->size()) : -1;
    }

    NWCellView* cell(int row) const
    {
        const QModelIndex index = m_list->tableView()->model()->index(row, 0);
        QWidget* widget = m_list->tableView()->indexWidget(index);
        return widget ? widget->findChild<NWCellView*>() : nullptr;
    }

    TableBaseViewController* makeList(int height = 500)
    {
        m_list = std::make_unique<TableBaseViewController>();
        m_list->resize(340, height);
        m_list->show();
        QCoreApplication::processEvents();
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_list->tableView()->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
        return m_list.get();
    }

    void select(int row) { m_list->tableView()->selectRow(row); }

    std::unique_ptr<TableBaseViewController> m_list;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

TEST_F(RecordListTest, RowsShowTheStoresRecordsNewestFirstAndFollowReloads)
{
    install({ makeRecord(2024, 1, 1000, 0, u"first"_s), makeRecord(2024, 3, 1100, 100, u"a\nlong note"_s),
        makeRecord(2024, 2, 1053, 0) });
    makeList();
    ASSERT_EQ(m_list->tableView()->model()->rowCount(), 3);
    ASSERT_NE(cell(0), nullptr);
    EXPECT_EQ(cell(0)->monthField()->text(), u"MAR"_s);
    EXPECT_EQ(cell(0)->yearField()->text(), u"2024"_s);
    EXPECT_EQ(cell(0)->nwField()->text(), u"$1,000"_s);
    EXPECT_EQ(cell(0)->nwDeltaField()->text(), u"($53)  (-5.0%)"_s);
    EXPECT_EQ(cell(0)->asField()->text(), u"$1,100"_s);
    EXPECT_EQ(cell(0)->lbField()->text(), u"$100"_s);
    EXPECT_EQ(cell(0)->commentField()->text(), u"a long note"_s);
    EXPECT_EQ(cell(1)->nwDeltaField()->text(), u"+$53  (5.3%)"_s);
    EXPECT_EQ(cell(2)->nwDeltaField()->text(), QString()); // the oldest has nothing to compare with
    EXPECT_EQ(cell(2)->commentField()->text(), u"first"_s);
    // A gain is drawn green, a loss red, with whichever role the label draws inside the list.
    auto drawn = [](QLabel* label) { return label->palette().color(label->foregroundRole()); };
    EXPECT_GT(drawn(cell(1)->nwDeltaField()).green(), drawn(cell(1)->nwDeltaField()).red() + 50);
    EXPECT_GT(drawn(cell(0)->nwDeltaField()).red(), drawn(cell(0)->nwDeltaField()).green() + 50);

    // The store changes; the list follows only "dataReFetched", and then wholly.
    std::shared_ptr<MVX_NWLog> april = store().insertNewNWLog();
    april->setYear(2024);
    april->setMonth(4);
    april->setAssets(2000);
    EXPECT_EQ(m_list->tableView()->model()->rowCount(), 3);
    store().sortNWArray(*store().appData()->nwLogArray());
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_list->tableView()->model()->rowCount(), 4);
    EXPECT_EQ(cell(0)->monthField()->text(), u"APR"_s);
    EXPECT_EQ(cell(0)->commentField()->text(), QString()); // no note, even in a reused place
}

TEST_F(RecordListTest, OnlyRowsInViewAreBuilt)
{
    MVX_NWLogList records;
    for (int i = 0; i < 600; ++i)
        records.append(makeRecord(1970 + i / 12, i % 12 + 1, 1000 + i, 0));
    install(records);
    makeList(600);
    EXPECT_NE(cell(0), nullptr);
    EXPECT_EQ(cell(300), nullptr);
    EXPECT_EQ(cell(599), nullptr);
    m_list->tableView()->scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_NE(cell(599), nullptr);
    EXPECT_EQ(cell(300), nullptr);
}

TEST_F(RecordListTest, EditAndDeleteFollowTheSelection)
{
    install({ makeRecord(2024, 1, 1000, 0), makeRecord(2024, 2, 1000, 0) });
    makeList();
    auto* edit = m_list->findChild<QAbstractButton*>(u"editButton"_s);
    auto* remove = m_list->findChild<QAbstractButton*>(u"deleteButton"_s);
    ASSERT_TRUE(edit && remove);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(m_list->getSelectedNWLogItem(), nullptr);

    select(1);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(remove->isEnabled());
    int row = -1;
    EXPECT_EQ(m_list->getSelectedNWLogItem(&row), store().appData()->nwLogArray()->at(1));
    EXPECT_EQ(row, 1);

    // A reload drops the selection, and with it the commands that need one.
    platform::NotificationCenter::defaultCenter().post(notifications::dataReFetched);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
    remove->click();
    EXPECT_FALSE(m_list->askDeletePopover()->shown());
}

TEST_F(RecordListTest, DeletingAsksFirstThenTakesTheRecordOutOfListSeriesAndFile)
{
    install({ makeRecord(2024, 1, 1000, 0), makeRecord(2024, 2, 1100, 0), makeRecord(2024, 3, 1200, 0) });
    makeList();
    const std::shared_ptr<MVX_NWLog> february = store().appData()->nwLogArray()->at(1);
    int refetched = 0;
    QObject observer;
    platform::NotificationCenter::defaultCenter().addObserver(
        &observer, notifications::dataReFetched, [&refetched](auto&&...) { ++refetched; });

    select(1);
    m_list->findChild<QAbstractButton*>(u"deleteButton"_s)->click();
    ASSERT_TRUE(m_list->askDeletePopover()->shown());
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 3); // asking changes nothing
    // Pressing delete again closes the question.
    m_list->findChild<QAbstractButton*>(u"deleteButton"_s)->click();
    EXPECT_EVENTUALLY(!m_list->askDeletePopover()->shown());
    m_list->findChild<QAbstractButton*>(u"deleteButton"_s)->click();
    ASSERT_TRUE(m_list->askDeletePopover()->shown());

    m_list->askDeletePopover()->contentViewController()->findChild<QPushButton*>(u"okButton"_s)->click();
    EXPECT_EQ(m_list->askDeletePopover()->state(), PKPopoverController::State::Closing);
    EXPECT_EQ(m_list->tableView()->model()->rowCount(), 2);
    EXPECT_FALSE(store().holdsNWLog(february.get()));
    EXPECT_EQ(store().chartNwLogArray().size(), 2);
    EXPECT_EVENTUALLY_EQ(refetched, 1);
    EXPECT_EQ(recordsInFile(), 2);
    // The others are as they were.
    EXPECT_EQ(*store().appData()->nwLogArray()->at(0)->assets(), 1200);
    EXPECT_EQ(*store().appData()->nwLogArray()->at(1)->assets(), 1000);
}

TEST_F(RecordListTest, AFailedDeleteSaysWhyAndKeepsTheRecordInListAndFile)
{
    install({ makeRecord(2024, 1, 1000, 0), makeRecord(2024, 2, 1100, 0) });
    makeList();
    const QByteArray before = dataFileBytes();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    select(0);
    m_list->findChild<QAbstractButton*>(u"deleteButton"_s)->click();
    m_list->askDeletePopover()->contentViewController()->findChild<QPushButton*>(u"okButton"_s)->click();

    EXPECT_EVENTUALLY(m_list->messagePopover()->isShown());
    EXPECT_TRUE(m_list->messagePopover()->text().startsWith(u"The record could not be deleted: "_s))
        << qPrintable(m_list->messagePopover()->text());
    EXPECT_EQ(m_list->tableView()->model()->rowCount(), 2);
    EXPECT_EQ(store().chartNwLogArray().size(), 2);
    EXPECT_EQ(store().appData()->nwLogArray()->first()->month(), 2);
    EXPECT_EQ(dataFileBytes(), before);
    EXPECT_TRUE(modelIsTheDataFile());
}

TEST_F(RecordListTest, WarningButtonAppearsWhenADownloadLeftTheRatesStale)
{
    install({});
    makeList();
    auto* warning = m_list->findChild<QAbstractButton*>(u"warningButton"_s);
    ASSERT_NE(warning, nullptr);
    EXPECT_FALSE(warning->isVisibleTo(m_list.get()));

    store().setExchangeRateIsUpToDate(false);
    platform::NotificationCenter::defaultCenter().post(notifications::exchangeRateParserDone);
    EXPECT_TRUE(warning->isVisibleTo(m_list.get()));
    warning->click();
    EXPECT_TRUE(m_list->messagePopover()->isShown());
    EXPECT_EQ(
        m_list->messagePopover()->text(), platform::localized(TableBaseViewController::rateWarningText));
    EXPECT_FALSE(warning->isVisibleTo(m_list.get())); // seen: hidden until the next download

    store().setExchangeRateIsUpToDate(true);
    platform::NotificationCenter::defaultCenter().post(notifications::exchangeRateParserDone);
    EXPECT_FALSE(warning->isVisibleTo(m_list.get()));
    EXPECT_TRUE(m_list->warningMessage().isEmpty());
}

TEST_F(RecordListTest, AddOpensTheEditorForANewRecordAndPressingAgainClosesIt)
{
    install({ makeRecord(2024, 1, 1000, 0) }, false, true); // liabilities only will do
    makeList();
    auto* add = m_list->findChild<QAbstractButton*>(u"addButton"_s);
    add->click();
    ASSERT_TRUE(m_list->editRecordPopover() && m_list->editRecordPopover()->shown());
    const NWEntryViewController* editor = recordEditorOf(m_list->editRecordPopover());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->nwLogRecord(), nullptr);
    EXPECT_EQ(editor->previousEntry(), store().appData()->nwLogArray()->first());
    add->click();
    EXPECT_EVENTUALLY(!m_list->editRecordPopover());

    // The menu command's notification opens it as well, and a save closes it.
    platform::NotificationCenter::defaultCenter().post(notifications::addNewRecord);
    ASSERT_TRUE(m_list->editRecordPopover() && m_list->editRecordPopover()->shown());
    platform::NotificationCenter::defaultCenter().post(notifications::nwRecordSave);
    EXPECT_EQ(m_list->editRecordPopover()->state(), PKPopoverController::State::Closing);
}

TEST_F(RecordListTest, WithoutCategoriesAddExplainsInsteadOfOpeningTheEditor)
{
    install({}, false, false);
    makeList();
    auto* add = m_list->findChild<QAbstractButton*>(u"addButton"_s);
    add->click();
    EXPECT_EQ(m_list->editRecordPopover(), nullptr);
    ASSERT_TRUE(m_list->categoryWarningPopover() && m_list->categoryWarningPopover()->shown());
    add->click();
    EXPECT_EVENTUALLY(!m_list->categoryWarningPopover());
}

TEST_F(RecordListTest, EditAndADoubleClickOpenTheEditorOnThatRecord)
{
    install({ makeRecord(2024, 1, 1000, 0), makeRecord(2024, 2, 1100, 0) });
    makeList();
    select(1);
    m_list->findChild<QAbstractButton*>(u"editButton"_s)->click();
    ASSERT_TRUE(m_list->editRecordPopover() && m_list->editRecordPopover()->shown());
    EXPECT_EQ(
        recordEditorOf(m_list->editRecordPopover())->nwLogRecord(), store().appData()->nwLogArray()->at(1));
    m_list->findChild<QAbstractButton*>(u"editButton"_s)->click();
    EXPECT_EVENTUALLY(!m_list->editRecordPopover());

    // The row's own widget lies over the table: the double click must still reach it.
    QWidget* row = m_list->tableView()->indexWidget(m_list->tableView()->model()->index(0, 0));
    ASSERT_NE(row, nullptr);
    QTest::mouseDClick(row->findChild<NWCellView*>()->nwField(), Qt::LeftButton);
    ASSERT_TRUE(m_list->editRecordPopover() && m_list->editRecordPopover()->shown());
    EXPECT_EQ(
        recordEditorOf(m_list->editRecordPopover())->nwLogRecord(), store().appData()->nwLogArray()->at(0));
}

} // namespace
