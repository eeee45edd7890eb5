#include "EditorTestSupport.h"

#include "records/editor/NWEntryLogic.h"

#include "model/data/ModelRules.h"
#include "model/dates/DateUtilities.h"
#include "platform/Strings.h"
#include "support/FailingDevices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class EntryLogicTest : public EditorTest {
protected:
    NWEntryLogic openNew()
    {
        NWEntryLogic logic(store(), QDate(2024, 6, 15));
        logic.open(nullptr, store().appData()->currentLog());
        return logic;
    }
    static QStringList names(const QList<EntryCategoryValue>& rows)
    {
        QStringList list;
        for (const auto& row : rows)
            list.append(row.categoryName());
        return list;
    }
    static std::shared_ptr<MVX_CategoryLog> logOf(const MVX_CategoryLogList& logs, const QString& id)
    {
        for (const auto& log : logs)
            if (log->categoryID() == id)
                return log;
        return nullptr;
    }
};

TEST_F(EntryLogicTest, NewRecordIsPrefilledFromThePreviousOneAndKeepsWhatItDoesNotShow)
{
    NWEntryLogic logic = openNew();
    EXPECT_FALSE(logic.isEditing());
    const auto& assets = logic.records(EntrySide::Assets);
    EXPECT_EQ(names(assets), (QStringList { u"Cash"_s, u"Car"_s }));
    EXPECT_EQ(assets.at(0).categoryValue(), 1000);
    EXPECT_EQ(assets.at(1).categoryValue(), 18000); // 10 % off
    EXPECT_TRUE(assets.at(0).prePopulated() && assets.at(1).prePopulated());
    ASSERT_EQ(logic.records(EntrySide::Liabilities).size(), 1);
    EXPECT_EQ(logic.records(EntrySide::Liabilities).at(0).categoryValue(), 5000);
    ASSERT_EQ(logic.carriedOver(EntrySide::Assets).size(), 1);
    EXPECT_EQ(logic.carriedOver(EntrySide::Assets).at(0)->categoryID(), old->ID());
    EXPECT_NEAR(logic.totalNW(), 14000.005, 1e-9);
    EXPECT_EQ(NWEntryLogic::toCurrencyString(logic.totalNW()), u"$14,000.01"_s);
    EXPECT_EQ(logic.initialYear(), 2024);
    EXPECT_EQ(logic.initialMonth(), 6);

    ASSERT_EQ(logic.prepareSave(2024, 6, u"June"_s), std::nullopt);
    const auto june = logic.nwLogRecord();
    ASSERT_TRUE(june && store().holdsNWLog(june.get()));
    // The totals shown are the totals saved, the hidden value counted and carried with the new period.
    EXPECT_EQ(june->nw(), logic.totalNW());
    EXPECT_EQ(june->assets(), 1000 + 18000 + 0.005);
    EXPECT_EQ(june->liabilities(), 5000);
    const auto kept = logOf(*june->assetLogs(), old->ID());
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->value(), 0.005);
    EXPECT_EQ(kept->year(), 2024);
    EXPECT_EQ(kept->month(), 6);
    EXPECT_EQ(june->TS(), DateUtilities::dayNumber(2024, 6));
    EXPECT_EQ(june->note(), u"June"_s);
    // The previous record is untouched.
    EXPECT_EQ(logOf(*may->assetLogs(), car->ID())->value(), 20000);
}

TEST_F(EntryLogicTest, WhichHiddenCategoriesAreShown)
{
    EXPECT_FALSE(NWEntryLogic::isShownWhenHidden(std::nullopt));
    EXPECT_FALSE(NWEntryLogic::isShownWhenHidden(0.0));
    EXPECT_FALSE(NWEntryLogic::isShownWhenHidden(0.0099));
    EXPECT_FALSE(NWEntryLogic::isShownWhenHidden(-0.0099));
    EXPECT_TRUE(NWEntryLogic::isShownWhenHidden(0.01));
    EXPECT_TRUE(NWEntryLogic::isShownWhenHidden(-0.01));
    EXPECT_TRUE(NWEntryLogic::isShownWhenHidden(-250));

    // A hidden category owing money is shown, so that its value is not lost.
    logOf(*may->assetLogs(), old->ID())->setValue(-250);
    EXPECT_EQ(names(openNew().records(EntrySide::Assets)), (QStringList { u"Cash"_s, u"Car"_s, u"Old"_s }));
    // A hidden category without a value in the reference record is not shown.
    may->assetLogs()->removeIf([this](const auto& log) { return log->categoryID() == old->ID(); });
    EXPECT_EQ(names(openNew().records(EntrySide::Assets)), (QStringList { u"Cash"_s, u"Car"_s }));

    // Without any record every category is shown, all at 0 and typed rather than carried.
    store().deleteNWLog(may);
    NWEntryLogic empty = openNew();
    const auto& rows = empty.records(EntrySide::Assets);
    EXPECT_EQ(names(rows), (QStringList { u"Cash"_s, u"Car"_s, u"Old"_s }));
    for (const auto& row : rows) {
        EXPECT_EQ(row.categoryValue(), 0);
        EXPECT_FALSE(row.prePopulated());
    }
    EXPECT_TRUE(empty.carriedOver(EntrySide::Assets).isEmpty());
}

TEST_F(EntryLogicTest, DepreciationNeverInventsAForeignAmount)
{
    const auto eur = addForeignAsset(u"EUR"_s, 1.1);
    eur->setIsDepreciable(true);
    eur->setDepreciationRate(0.1);
    const auto gbp = addForeignAsset(u"GBP"_s, std::nullopt);
    gbp->setIsDepreciable(true);
    gbp->setDepreciationRate(1.5);
    auto eurLog = makeLog(eur->ID(), 2024, 5, 1000);
    auto gbpLog = makeLog(gbp->ID(), 2024, 5, 50);
    gbpLog->setForeignValue(40);
    may->assetLogs()->append(eurLog);
    may->assetLogs()->append(gbpLog);

    NWEntryLogic logic = openNew();
    const auto& rows = logic.records(EntrySide::Assets);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.at(2).categoryValue(), 900);
    EXPECT_EQ(rows.at(2).foreignValue(), std::nullopt);
    EXPECT_EQ(rows.at(2).exchangeRate(), 1.1);
    // Above 100 % depreciation ends at 0, in both currencies; a currency missing from the table has rate 1.
    EXPECT_EQ(rows.at(3).categoryValue(), 0);
    EXPECT_EQ(rows.at(3).foreignValue(), 0.0);
    EXPECT_EQ(rows.at(3).exchangeRate(), 1.0);
}

TEST_F(EntryLogicTest, ForeignEntriesRoundUpToTheNextCent)
{
    addForeignAsset(u"EUR"_s, 1.2345);
    const auto chf = addForeignAsset(u"CHF"_s, 1.23456);
    NWEntryLogic logic = openNew();
    ASSERT_EQ(logic.records(EntrySide::Assets).size(), 4);

    auto entered = logic.enterValue(EntrySide::Assets, 2, u"100"_s);
    ASSERT_TRUE(entered) << entered.error().toStdString();
    EXPECT_EQ(entered->categoryValue(), 123.45);
    EXPECT_EQ(entered->foreignValue(), 100.0);
    EXPECT_FALSE(entered->prePopulated());
    entered = logic.enterValue(EntrySide::Assets, 3, u"100"_s);
    ASSERT_TRUE(entered);
    EXPECT_EQ(entered->categoryValue(), 123.46);
    EXPECT_EQ(logic.rateText(*entered), u"1.23456"_s);

    // A row without a rate takes the store's current one and keeps it.
    store().exchangeRates().insert(u"CHF"_s, std::make_shared<MVX_ExchangeRate>(u"CHF"_s, 2.0));
    logic.open(nullptr, nullptr);
    EXPECT_EQ(logic.records(EntrySide::Assets).at(3).exchangeRate(), 2.0);
    store().exchangeRates().remove(u"CHF"_s);
    logic.open(nullptr, may);
    ASSERT_EQ(logic.records(EntrySide::Assets).at(3).exchangeRate(), std::nullopt); // no log in May
    EXPECT_EQ(logic.records(EntrySide::Assets).at(3).categoryID(), chf->ID());
    store().exchangeRates().insert(u"CHF"_s, std::make_shared<MVX_ExchangeRate>(u"CHF"_s, 0.5));
    entered = logic.enterValue(EntrySide::Assets, 3, u"10"_s);
    ASSERT_TRUE(entered);
    EXPECT_EQ(entered->exchangeRate(), 0.5);
    EXPECT_EQ(entered->categoryValue(), 5.0);

    EXPECT_EQ(NWEntryLogic::roundUp(12.341, 2), 12.35);
    EXPECT_EQ(NWEntryLogic::roundUp(-12.341, 2), -12.35);
    EXPECT_EQ(NWEntryLogic::roundUp(0.1 + 0.2, 2), 0.3);
    EXPECT_EQ(NWEntryLogic::toDecimalExchRateString(1.2, 5), u"1.2"_s);
    EXPECT_EQ(NWEntryLogic::toDecimalExchRateString(1.234567, 5), u"1.23457"_s);
}

TEST_F(EntryLogicTest, TextThatIsNotOneNumberIsRefusedAndTheValueKept)
{
    NWEntryLogic logic = openNew();
    for (const QString& typo : { u"12abc"_s, u""_s, u"abc"_s, u"1,000.00.5"_s }) {
        const auto refused = logic.enterValue(EntrySide::Assets, 0, typo);
        ASSERT_FALSE(refused) << typo.toStdString();
        EXPECT_EQ(refused.error(), u"Not a number: kept $1,000.00"_s);
        EXPECT_EQ(logic.records(EntrySide::Assets).at(0).categoryValue(), 1000);
        EXPECT_TRUE(logic.records(EntrySide::Assets).at(0).prePopulated());
    }
    const auto taken = logic.enterValue(EntrySide::Assets, 0, u"$1,500.25"_s);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->categoryValue(), 1500.25);
    EXPECT_NEAR(logic.totalNW(), 14500.255, 1e-9);
}

TEST_F(EntryLogicTest, AnAmountBeyondTheLargestIsRefusedAndTheValueKept)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    const auto eur = addForeignAsset(u"EUR"_s, 2.0);
    const QString justBeyond = QString::number(std::nextafter(ModelRules::largestAmount, inf), 'f', 0);
    const QString largestDouble = QString::number(std::numeric_limits<double>::max(), 'f', 0);
    const QString largest = u"1"_s + QString(250, u'0');
    NWEntryLogic logic = openNew();
    ASSERT_EQ(logic.records(EntrySide::Assets).at(2).categoryID(), eur->ID());
    // Just beyond 1e250 and the largest double, either way, and 1e250 euros at 2 dollars each.
    const std::vector<std::pair<int, QString>> refusedEntries { { 0, justBeyond }, { 0, u"-"_s + justBeyond },
        { 0, largestDouble }, { 0, u"-"_s + largestDouble }, { 2, largest } };
    for (const auto& [row, text] : refusedEntries) {
        const EntryCategoryValue before = logic.records(EntrySide::Assets).at(row);
        const auto refused = logic.enterValue(EntrySide::Assets, row, text);
        ASSERT_FALSE(refused) << row << " " << text.left(20).toStdString();
        EXPECT_EQ(refused.error(), u"Too large: kept %1"_s.arg(logic.valueText(before)));
        const EntryCategoryValue& kept = logic.records(EntrySide::Assets).at(row);
        EXPECT_EQ(kept.categoryValue(), before.categoryValue());
        EXPECT_EQ(kept.foreignValue(), before.foreignValue());
        EXPECT_TRUE(kept.prePopulated());
    }
    EXPECT_NEAR(logic.totalNW(), 14000.005, 1e-9);

    // The largest amount is taken, in either currency, and what is saved keeps the rules.
    const std::vector<std::pair<int, QString>> takenEntries { { 0, u"-"_s + largest },
        { 2, u"4"_s + QString(249, u'0') } };
    for (const auto& [row, text] : takenEntries) {
        const auto taken = logic.enterValue(EntrySide::Assets, row, text);
        ASSERT_TRUE(taken) << row << " " << taken.error().toStdString();
        EXPECT_TRUE(ModelRules::isAmount(taken->categoryValue()));
        EXPECT_GT(std::abs(taken->categoryValue()), 7e249);
    }
    ASSERT_EQ(logic.prepareSave(2024, 6, {}), std::nullopt);
    EXPECT_TRUE(ModelRules::check(*store().appData()).isEmpty());
}

TEST_F(EntryLogicTest, RowsAreKeyedByCategoryIDNotByName)
{
    auto twin = makeCategory(u"A-TWIN"_s, u"Cash"_s);
    store().appData()->assetscat()->append(twin);
    NWEntryLogic logic = openNew();
    ASSERT_EQ(logic.records(EntrySide::Assets).size(), 3);
    ASSERT_TRUE(logic.enterValue(EntrySide::Assets, 2, u"7"_s));
    ASSERT_EQ(logic.prepareSave(2024, 6, {}), std::nullopt);
    const auto saved = logic.nwLogRecord();
    EXPECT_EQ(logOf(*saved->assetLogs(), cash->ID())->value(), 1000);
    EXPECT_EQ(logOf(*saved->assetLogs(), twin->ID())->value(), 7);
}

TEST_F(EntryLogicTest, CategoriesWithoutOrderAreNumberedInListOrder)
{
    loan->setSortOrder(0);
    NWEntryLogic logic = openNew();
    EXPECT_EQ(cash->sortOrder(), 0);
    EXPECT_EQ(car->sortOrder(), 1);
    EXPECT_EQ(old->sortOrder(), 0); // not shown, not numbered

    cash->setSortOrder(5);
    logic.open(nullptr, may);
    EXPECT_EQ(names(logic.records(EntrySide::Assets)), (QStringList { u"Car"_s, u"Cash"_s }));
}

TEST_F(EntryLogicTest, PeriodChecksAndTheYearList)
{
    NWEntryLogic logic = openNew();
    ASSERT_EQ(logic.yearArray().size(), 80);
    EXPECT_EQ(logic.yearArray().first(), 1984);
    EXPECT_EQ(logic.yearArray().last(), 2063);

    // A taken period changes nothing.
    EXPECT_EQ(logic.prepareSave(2024, 5, {}), platform::localized(NWEntryLogic::periodTakenMessage));
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 1);
    EXPECT_FALSE(logic.isEditing());

    // Editing without changing the period skips the check; moving onto a taken period does not.
    auto april = makeRecord(2024, 4, { makeLog(cash->ID(), 2024, 4, 10) });
    store().reinsertNWLog(april);
    NWEntryLogic edit(store(), QDate(2024, 6, 15));
    edit.open(may, nullptr);
    EXPECT_TRUE(edit.isEditing());
    EXPECT_EQ(edit.initialMonth(), 5);
    EXPECT_EQ(edit.prepareSave(2024, 4, u"x"_s), platform::localized(NWEntryLogic::periodTakenMessage));
    EXPECT_EQ(may->month(), 5);
    EXPECT_EQ(may->note(), u"May"_s);
    ASSERT_EQ(edit.prepareSave(2024, 5, u"x"_s), std::nullopt);
    EXPECT_EQ(may->note(), u"x"_s);
    ASSERT_EQ(edit.prepareSave(2023, 2, u"x"_s), std::nullopt);
    EXPECT_EQ(may->TS(), DateUtilities::dayNumber(2023, 2));

    // A record of January 1900 lies outside the list: its year joins it, in order; its day number is 0.
    auto old1900 = makeRecord(1900, 1, { makeLog(cash->ID(), 1900, 1, 1) });
    store().reinsertNWLog(old1900);
    NWEntryLogic early(store(), QDate(2024, 6, 15));
    early.open(old1900, nullptr);
    ASSERT_EQ(early.yearArray().size(), 81);
    EXPECT_EQ(early.yearArray().first(), 1900);
    EXPECT_EQ(early.yearArray().at(1), 1984);
    EXPECT_EQ(early.initialYear(), 1900);
    ASSERT_EQ(early.prepareSave(1900, 1, {}), std::nullopt);
    EXPECT_EQ(old1900->TS(), 0);
}

TEST_F(EntryLogicTest, SaveIsRefusedWhenTheDataChangedUnderTheEditor)
{
    NWEntryLogic edit(store(), QDate(2024, 6, 15));
    edit.open(may, nullptr);
    store().deleteNWLog(may);
    EXPECT_EQ(edit.prepareSave(2024, 5, {}), platform::localized(NWEntryLogic::recordGoneMessage));

    NWEntryLogic logic = openNew();
    const auto previous = store().appData();
    store().setAppData(MVX_Model::makeEmpty());
    EXPECT_EQ(logic.prepareSave(2024, 6, {}), platform::localized(NWEntryLogic::modelReplacedMessage));
    EXPECT_TRUE(store().appData()->nwLogArray()->isEmpty());
    store().setAppData(previous);
}

TEST_F(EntryLogicTest, AfterAFailedSaveOfANewRecordTheEditorKeepsItsRowsForTheFilesModel)
{
    NWEntryLogic logic = openNew();
    ASSERT_TRUE(logic.enterValue(EntrySide::Assets, 0, u"1234"_s));
    ASSERT_EQ(logic.prepareSave(2024, 6, u"June"_s), std::nullopt);
    const auto inserted = logic.nwLogRecord();
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    ASSERT_TRUE(saveAsyncAndWait());
    logic.rebindToStore();
    EXPECT_TRUE(modelIsTheDataFile());
    EXPECT_FALSE(store().holdsNWLog(inserted.get()));
    EXPECT_EQ(store().chartNwLogArray().size(), 1);
    EXPECT_FALSE(logic.isEditing());
    EXPECT_EQ(logic.records(EntrySide::Assets).at(0).categoryValue(), 1234);
    EXPECT_EQ(logic.categories(EntrySide::Assets).at(0), store().appData()->assetscat()->at(0));
    EXPECT_EQ(logic.categories(EntrySide::Liabilities).at(0), store().appData()->liabilitycat()->at(0));

    // With the disk back the same rows make one record, in the file's categories.
    store().writer().setDeviceFactoryForTesting({});
    ASSERT_EQ(logic.prepareSave(2024, 6, u"June"_s), std::nullopt);
    EXPECT_EQ(saveAsyncAndWait(), std::nullopt);
    EXPECT_TRUE(modelIsTheDataFile());
    ASSERT_EQ(store().appData()->nwLogArray()->size(), 2);
    const auto june = store().appData()->currentLog();
    EXPECT_EQ(june->note(), u"June"_s);
    EXPECT_EQ(june->assetLogs()->at(0)->categoryID(), cash->ID());
    EXPECT_EQ(june->assetLogs()->at(0)->value(), 1234);
}

TEST_F(EntryLogicTest, AfterAFailedSaveOfAMovedRecordTheEditorWorksOnTheFilesRecord)
{
    NWEntryLogic edit(store(), QDate(2024, 6, 15));
    edit.open(may, nullptr);
    ASSERT_TRUE(edit.enterValue(EntrySide::Assets, 0, u"1"_s));
    ASSERT_EQ(edit.prepareSave(2024, 3, u"moved"_s), std::nullopt);
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    ASSERT_TRUE(saveAsyncAndWait());
    edit.rebindToStore();
    EXPECT_TRUE(modelIsTheDataFile());
    const auto fileMay = store().appData()->currentLog();
    ASSERT_TRUE(fileMay);
    EXPECT_NE(fileMay, may);
    EXPECT_EQ(fileMay->month(), 5);
    EXPECT_EQ(fileMay->note(), u"May"_s);
    EXPECT_EQ(fileMay->nw(), 16000.005);
    EXPECT_EQ(edit.nwLogRecord(), fileMay);
    EXPECT_EQ(edit.totalAssets(), 1 + 20000 + 0.005);

    store().writer().setDeviceFactoryForTesting({});
    ASSERT_EQ(edit.prepareSave(2024, 3, u"moved"_s), std::nullopt);
    EXPECT_EQ(saveAsyncAndWait(), std::nullopt);
    EXPECT_TRUE(modelIsTheDataFile());
    ASSERT_EQ(store().appData()->nwLogArray()->size(), 1);
    EXPECT_EQ(store().appData()->currentLog(), fileMay);
    EXPECT_EQ(fileMay->month(), 3);
    EXPECT_EQ(fileMay->note(), u"moved"_s);
}

} // namespace
