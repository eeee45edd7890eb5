#include "StoreTestSupport.h"

#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/settings/Preferences.h"
#include "platform/UserDefaults.h"
#include "support/Contrast.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using mervane::test::StoreTest;

namespace {

// Made while this file's statics are initialised, which may come before the store's own
// file: the constants must already hold their texts then.
const QStringList constantsAtStart { notifications::dataReFetched, NWData::dataFileName,
    NWData::filterIDArrayKey, Preferences::goalAmountKey, QString::fromUtf8(NWData::unableToOpenFileMessage),
    NWData::csvExportFileName, NWData::beforeImportKind, NWData::beforeRestoreKind,
    NWData::beforeDeleteAllKind, QString::fromUtf8(NWData::csvImportFailureMessage),
    NWData::importedModelVersion };

TEST(NWDataConstantsTest, HoldTheirTextsDuringOtherFilesStaticInitialisation)
{
    EXPECT_EQ(constantsAtStart,
        QStringList({ u"dataReFetched"_s, u"mervane.json"_s, u"NWFilterIDArrayKey"_s, u"nwGoalAmount"_s,
            u"Unable to open selected file!"_s, u"mervaneExport.csv"_s, u"before-import"_s,
            u"before-restore"_s, u"before-delete-all"_s, u"CSV import failed: %1"_s, u"2.12"_s }));
}

QStringList notes(const MVX_NWLogList& records)
{
    QStringList result;
    for (const auto& record : records)
        result.append(u"%1-%2"_s.arg(*record->year()).arg(*record->month()));
    return result;
}

QStringList unreadableCopies(const QString& home)
{
    return QDir(home).entryList({ u"mervane.json.unreadable-*"_s }, QDir::Files | QDir::Dirs | QDir::Hidden);
}

TEST_F(StoreTest, FirstStartWithoutDataFileGivesAnEmptyWorkingModel)
{
    EXPECT_EQ(store().getApplicationData(), std::nullopt);
    const auto& model = store().appData();
    ASSERT_TRUE(model);
    EXPECT_EQ(model->version(), QStringLiteral(MERVANE_VERSION));
    EXPECT_TRUE(model->assetscat() && model->assetscat()->isEmpty());
    EXPECT_TRUE(model->liabilitycat() && model->liabilitycat()->isEmpty());
    EXPECT_TRUE(model->nwLogArray() && model->nwLogArray()->isEmpty());
    EXPECT_TRUE(model->tags() && model->tags()->isEmpty());
    EXPECT_TRUE(model->baseCurrency().isNull());
    EXPECT_FALSE(model->ridIrevuGoal());
    EXPECT_EQ(refetchCount(), 1);
    // The currency set-up ran on the empty model too: the locale's dollar.
    EXPECT_EQ(store().localCurrencyCode(), u"USD"_s);
    EXPECT_TRUE(store().supportsForeignCurrencies());
    EXPECT_FALSE(QFile::exists(dataFile())); // nothing written until something changes
}

TEST_F(StoreTest, LoadSortsBothWaysOverTheSameRecordObjects)
{
    writeFile(dataFile(), sampleDocument());
    EXPECT_EQ(store().getApplicationData(), std::nullopt);
    EXPECT_EQ(refetchCount(), 1);
    const auto& model = *store().appData();
    EXPECT_EQ(notes(*model.nwLogArray()), QStringList({ u"2021-6"_s, u"2020-1"_s, u"2019-12"_s }));
    EXPECT_EQ(notes(store().chartNwLogArray()), QStringList({ u"2019-12"_s, u"2020-1"_s, u"2021-6"_s }));
    EXPECT_EQ(model.nwLogArray()->at(0), store().chartNwLogArray().at(2));
    model.nwLogArray()->at(0)->setNote(u"edited"_s);
    EXPECT_EQ(store().chartNwLogArray().at(2)->note(), u"edited"_s);
    // Day numbers are recomputed, category tag lists made present.
    EXPECT_EQ(model.nwLogArray()->at(1)->TS(), 43829);
    ASSERT_TRUE(model.assetscat()->at(1)->tags());
    EXPECT_TRUE(model.assetscat()->at(1)->tags()->isEmpty());
    ASSERT_TRUE(model.liabilitycat()->at(0)->tags());
    EXPECT_EQ(model.liabilitycat()->at(0)->desc(), u"лв."_s);
    // Accepted model: the charts' goal setting and the currency state follow it.
    EXPECT_EQ(platform::UserDefaults::standard().real(Preferences::goalAmountKey, -1), 100000.0);
    EXPECT_EQ(store().localCurrency()->ShortName(), u"USD"_s);
    EXPECT_FALSE(store().exchangeRateIsUpToDate());
}

TEST_F(StoreTest, SaveKeepsRecordOrderAndRoundTripsThroughTheFile)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    auto older = std::make_shared<MVX_NWLog>();
    older->setYear(2020);
    older->setMonth(5);
    older->setNote(u"€ 5"_s);
    store().appData()->nwLogArray()->append(older);
    ASSERT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(store().appData()->nwLogArray()->at(1), older);
    EXPECT_EQ(store().chartNwLogArray().at(2), older);

    const QByteArray saved = readFile(dataFile());
    EXPECT_FALSE(saved.contains('\n'));
    EXPECT_TRUE(saved.contains("\"note\":\"€ 5\""));
    restart();
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    EXPECT_EQ(notes(*store().appData()->nwLogArray()),
        QStringList({ u"2021-6"_s, u"2020-5"_s, u"2020-1"_s, u"2019-12"_s }));
    EXPECT_EQ(store().appData()->nwLogArray()->at(1)->TS(), 43950);
}

TEST_F(StoreTest, AsynchronousSaveCompletesOnTheMainThreadInOrder)
{
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    QObject context;
    QEventLoop loop;
    QTimer::singleShot(30000, &loop, &QEventLoop::quit); // a guard, not a wait
    QList<platform::MaybeError> results;
    bool onMainThread = true;
    for (int i = 0; i < 3; ++i) {
        store().appData()->setBaseCurrency(u"C%1"_s.arg(i));
        store().saveDataAsync(&context, [&](platform::MaybeError result) {
            onMainThread = onMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
            results.append(result);
            if (results.size() == 3)
                loop.quit();
        });
    }
    loop.exec();
    ASSERT_EQ(results.size(), 3);
    EXPECT_TRUE(onMainThread);
    for (const auto& result : results)
        EXPECT_EQ(result, std::nullopt);
    EXPECT_TRUE(readFile(dataFile()).contains("\"base_currency\":\"C2\""));

    // A caller that is gone by then is not called.
    bool called = false;
    auto shortLived = std::make_unique<QObject>();
    store().saveDataAsync(shortLived.get(), [&](platform::MaybeError) { called = true; });
    shortLived.reset();
    store().waitForPendingWrites();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(called);
}

TEST_F(StoreTest, UnreadableDataFileIsCopiedAsideBeforeTheFirstSave)
{
    const QByteArray broken = "{\"nw_logs\": [ this is not JSON";
    writeFile(dataFile(), broken);
    const platform::MaybeError error = store().getApplicationData();
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"Missing JSON dictionary"_s)) << error->toStdString();
    EXPECT_EQ(refetchCount(), 0);
    // The empty model still works.
    const auto& model = store().appData();
    ASSERT_TRUE(model && model->nwLogArray() && model->assetscat() && model->tags());
    EXPECT_EQ(model->version(), QStringLiteral(MERVANE_VERSION));
    model->assetscat()->append(std::make_shared<MVX_Category>());

    EXPECT_EQ(store().saveData(false), std::nullopt);
    const QStringList copies = unreadableCopies(home());
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(homePath(copies.first())), broken);
    EXPECT_EQ(ImportModel::readFile(dataFile())->model->assetscat()->size(), 1);
    EXPECT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(unreadableCopies(home()).size(), 1); // only the unreadable file is kept
}

TEST_F(StoreTest, DataFileThatCannotBeCopiedIsNeverReplaced)
{
    // A directory where the data file belongs: unreadable, and no copy can be made.
    ASSERT_TRUE(QDir(home()).mkdir(NWData::dataFileName));
    writeFile(homePath(NWData::dataFileName + u"/inside.txt"_s), "keep me");
    ASSERT_TRUE(store().getApplicationData());
    const platform::MaybeError error = store().saveData(false);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"nothing was saved"_s)) << error->toStdString();
    EXPECT_EQ(readFile(homePath(NWData::dataFileName + u"/inside.txt"_s)), "keep me");
}

TEST_F(StoreTest, PartlyReadableFileLoadsTheRestAndIsKept)
{
    QByteArray document = sampleDocument();
    document.replace("\"nw_logs\":[", "\"nw_logs\":[null,{\"year\":\"2020\"},");
    writeFile(dataFile(), document);
    EXPECT_EQ(store().getApplicationData(), u"2 records could not be read"_s);
    EXPECT_EQ(refetchCount(), 1);
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 3);
    ASSERT_EQ(store().saveData(false), std::nullopt);
    const QStringList copies = unreadableCopies(home());
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(homePath(copies.first())), document);
}

TEST_F(StoreTest, BackupAndRestoreRoundTripNonAsciiTextAndReplaceTheDataFile)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    const QString backup = homePath(u"mervaneBackup_6_12_2026.json"_s);
    ASSERT_EQ(store().backupToFilePath(backup), std::nullopt);

    restart();
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    store().deleteAllRecords();
    store().appData()->setBaseCurrency(u"GBP"_s);
    store().exchangeRateUpdateOnBaseCurrencyChange();
    const int before = refetchCount();

    EXPECT_EQ(store().restoreFromFilePath(backup), std::nullopt);
    EXPECT_EQ(refetchCount(), before + 1);
    const auto& model = *store().appData();
    EXPECT_EQ(model.assetscat()->at(0)->categoryName(), u"Bank €"_s);
    EXPECT_EQ(model.nwLogArray()->at(0)->note(), u"June €"_s);
    EXPECT_EQ(notes(store().chartNwLogArray()), QStringList({ u"2019-12"_s, u"2020-1"_s, u"2021-6"_s }));
    EXPECT_TRUE(model.assetscat()->at(1)->tags().has_value());
    EXPECT_EQ(store().localCurrency()->ShortName(), u"USD"_s);
    // The data file now holds the restored model.
    const platform::Expected<ModelReadResult> onDisk = ImportModel::readFile(dataFile());
    ASSERT_TRUE(onDisk);
    EXPECT_TRUE(*onDisk->model == model);
}

TEST_F(StoreTest, RestoreOfAModelWithoutBaseCurrencyDropsThePreviousRates)
{
    writeFile(dataFile(), sampleDocument()); // base USD
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    const QString backup = homePath(u"noBase.json"_s);
    writeFile(backup, R"({"version":"2.0","a_cat":[],"l_cat":[],"nw_logs":[],"tags":[]})");
    QLocale::setDefault(QLocale(u"de_CH"_s));
    const auto result = store().restoreFromFilePath(backup);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(result, std::nullopt);
    EXPECT_EQ(store().localCurrencyCode(), u"CHF"_s);
    EXPECT_EQ(store().localCurrency()->ShortName(), u"CHF"_s);
    EXPECT_DOUBLE_EQ(store().getExchangeRateFor(u"EUR"_s), 1.2016);
}

TEST_F(StoreTest, FailedRestoreKeepsEverythingAndPostsNothing)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    const auto model = store().appData();
    const auto localCurrency = store().localCurrency();
    const QByteArray onDisk = readFile(dataFile());
    const int before = refetchCount();

    EXPECT_EQ(store().restoreFromFilePath(homePath(u"nowhere.json"_s)), u"Unable to open selected file!"_s);

    const QString notJson = homePath(u"notJson.json"_s);
    writeFile(notJson, "garbage");
    EXPECT_TRUE(store().restoreFromFilePath(notJson));

    const QString partly = homePath(u"partly.json"_s);
    QByteArray document = sampleDocument();
    document.replace("\"tags\":[{", "\"tags\":[7,{");
    writeFile(partly, document);
    const auto refused = store().restoreFromFilePath(partly);
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->contains(u"1 tag could not be read"_s)) << refused->toStdString();

    EXPECT_EQ(store().appData(), model);
    EXPECT_EQ(store().localCurrency(), localCurrency);
    EXPECT_EQ(readFile(dataFile()), onDisk);
    EXPECT_EQ(refetchCount(), before);
}

TEST_F(StoreTest, DeleteAllKeepsSettingsAndPostsOnce)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    store().selectedTagIDs() = { u"T1"_s };
    const int before = refetchCount();
    EXPECT_EQ(store().deleteAllRecords(), std::nullopt);
    EXPECT_EQ(refetchCount(), before + 1);
    const auto& model = *store().appData();
    EXPECT_TRUE(model.nwLogArray()->isEmpty() && model.assetscat()->isEmpty()
        && model.liabilitycat()->isEmpty() && model.tags()->isEmpty() && store().chartNwLogArray().isEmpty());
    EXPECT_EQ(model.baseCurrency(), u"USD"_s);
    EXPECT_EQ(model.ridIrevuGoal(), 100000.0);
    EXPECT_EQ(store().selectedTagIDs(), QStringList { u"T1"_s });
    EXPECT_EQ(readFile(dataFile()).toStdString(),
        R"({"version":"2.12","a_cat":[],"l_cat":[],"nw_logs":[],"tags":[],"base_currency":"USD","net_worth_goal":100000})");
}

TEST_F(StoreTest, SortingEdgeCases)
{
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    store().sortNWArray({});
    EXPECT_TRUE(store().appData()->nwLogArray()->isEmpty());
    EXPECT_TRUE(store().chartNwLogArray().isEmpty());

    // Month 0 is December of the year before, month 13 January of the next; no year sorts as 0.
    MVX_NWLogList records;
    for (auto [year, month] :
        { std::pair(2020, 13), std::pair(2020, 0), std::pair(2020, 6), std::pair(0, 1) }) {
        auto record = std::make_shared<MVX_NWLog>();
        record->setYear(year);
        record->setMonth(month);
        records.append(record);
    }
    records.append(std::make_shared<MVX_NWLog>());
    store().sortNWArray(records);
    const auto& sorted = *store().appData()->nwLogArray();
    EXPECT_EQ(sorted[0], records[0]);
    EXPECT_EQ(sorted[1], records[2]);
    EXPECT_EQ(sorted[2], records[1]);
    EXPECT_EQ(store().chartNwLogArray().first(), records[4]); // year 0, month 0
}

TEST_F(StoreTest, TagFilterAndTagColoursAtCreation)
{
    platform::UserDefaults::standard().setValue(NWData::filterIDArrayKey, QStringList { u"B"_s, u"A"_s });
    restart();
    EXPECT_EQ(store().selectedTagIDs(), QStringList({ u"B"_s, u"A"_s }));

    const auto& colors = store().tagColors();
    EXPECT_EQ(colors.size(), 24);
    for (const char* name : { "BLUE", "RED", "YELLOW", "ORANGE", "GREEN", "PINK", "GRAY", "WHITE" }) {
        const QString key = QString::fromLatin1(name);
        EXPECT_TRUE(
            colors.contains(key) && colors.contains(key + u"_LINE"_s) && colors.contains(key + u"_TEXT"_s));
        // A token's text on its fill.
        EXPECT_GE(mervane::test::contrast(colors[key + u"_TEXT"_s], colors[key]), 4.5) << name;
    }
    EXPECT_NEAR(colors[u"BLUE"_s].redF(), 0.29, 0.002);
    EXPECT_NEAR(colors[u"BLUE_LINE"_s].blueF(), 0.96, 0.002);
    EXPECT_EQ(colors[u"PINK_TEXT"_s], QColor(Qt::black));
    EXPECT_EQ(colors[u"RED_TEXT"_s], QColor(Qt::black));
    EXPECT_NEAR(colors[u"YELLOW_TEXT"_s].greenF(), 0.3, 0.002);
    EXPECT_EQ(store().startDate(), QDate(1900, 1, 1));
}

} // namespace

namespace {

TEST_F(StoreTest, SharedStoreIsOneAndLivesOnTheMainThread)
{
    // First asked for from several other threads at once.
    std::vector<NWData*> seen(4, nullptr);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = NWData::shared(); });
    for (auto& thread : threads)
        thread.join();
    for (NWData* store : seen)
        EXPECT_EQ(store, NWData::shared());
    EXPECT_EQ(NWData::shared()->thread(), QCoreApplication::instance()->thread());
    EXPECT_EQ(NWData::shared()->supportedCurrencies().size(), 31);
}

} // namespace
