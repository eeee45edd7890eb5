#include "StoreTestSupport.h"

#include "model/data/ModelJSONWriter.h"
#include "model/settings/Preferences.h"
#include "model/store/DataFileWriter.h"
#include "platform/UserDefaults.h"

#include <QSet>
#include <QTest>

#include <atomic>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

// The data file's writes whose turn is in `failing` (0 the first) fail as a full disk does.
platform::AtomicFileFactory failingTurns(QSet<int> failing)
{
    auto turn = std::make_shared<std::atomic<int>>(0);
    const platform::AtomicFileFactory full = failingDevices(failsAfterBytes(10));
    return [turn, failing, full](const QString& path) {
        return failing.contains((*turn)++) ? full(path) : platform::makeAtomicFileDevice(path);
    };
}

class RevertTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        writeFile(dataFile(), sampleDocument());
        ASSERT_EQ(store().getApplicationData(), std::nullopt);
    }

    /// Starts a save; its answer lands in the returned slot.
    std::shared_ptr<std::optional<platform::MaybeError>> save()
    {
        auto answer = std::make_shared<std::optional<platform::MaybeError>>();
        store().saveDataAsync(&m_context, [answer](platform::MaybeError result) { *answer = result; });
        return answer;
    }
    static bool answered(const std::shared_ptr<std::optional<platform::MaybeError>>& answer)
    {
        return QTest::qWaitFor([&] { return answer->has_value(); });
    }

    /// The store's model as a load of the data file by another store makes it.
    QByteArray modelOfTheFile()
    {
        NWData other;
        other.getApplicationData();
        const auto bytes = ModelJSONWriter::toJSON(*other.appData());
        return bytes ? *bytes : QByteArray();
    }
    QByteArray modelOfTheStore()
    {
        const auto bytes = ModelJSONWriter::toJSON(*store().appData());
        return bytes ? *bytes : QByteArray();
    }
    QString newestNote() { return store().appData()->currentLog()->note(); }

    QObject m_context;
};

TEST_F(RevertTest, AFailedSaveInstallsTheFilesModelAndSaysSoBeforeTheCompletionRuns)
{
    const QByteArray file = readFile(dataFile());
    const auto before = store().appData();
    // Changes of several screens at once: a deleted category, a tag, the base currency.
    store().deleteAssetCategory(*before->assetscat()->at(0));
    store().deleteTagEverywhere(*before->tags()->at(0));
    before->setBaseCurrency(u"EUR"_s);
    store().exchangeRateUpdateOnBaseCurrencyChange();
    ASSERT_EQ(store().localCurrency()->ShortName(), u"EUR"_s);

    store().writer().setDeviceFactoryForTesting(failingTurns({ 0 }));
    int refetchesAtCompletion = -1;
    std::optional<platform::MaybeError> answer;
    store().saveDataAsync(&m_context, [&](platform::MaybeError result) {
        refetchesAtCompletion = refetchCount();
        answer = result;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }));
    ASSERT_TRUE(answer->has_value());
    EXPECT_TRUE((*answer)->contains(u"the disk is full"_s)) << (*answer)->toStdString();
    EXPECT_EQ(refetchesAtCompletion, 2); // the load's, then the store's own before the completion
    EXPECT_EQ(readFile(dataFile()), file);

    const auto& after = store().appData();
    EXPECT_NE(after, before);
    EXPECT_EQ(after->assetscat()->size(), 2);
    EXPECT_EQ(after->tags()->size(), 1);
    EXPECT_EQ(after->baseCurrency(), u"USD"_s);
    EXPECT_EQ(store().localCurrency()->ShortName(), u"USD"_s);
    EXPECT_EQ(store().chartNwLogArray().size(), 3);
    EXPECT_EQ(store().chartNwLogArray().last(), after->currentLog());
    EXPECT_EQ(modelOfTheStore(), modelOfTheFile());
}

TEST_F(RevertTest, AWriteQueuedBeforeTheFailedOneWasTakenBackWinsWhenItReachesTheFile)
{
    store().appData()->currentLog()->setNote(u"A"_s);
    store().writer().setDeviceFactoryForTesting(failingTurns({ 0 }));
    const auto first = save();
    store().appData()->currentLog()->setNote(u"B"_s);
    const auto second = save();
    ASSERT_TRUE(answered(first) && answered(second));
    EXPECT_TRUE(first->value().has_value());
    EXPECT_EQ(second->value(), std::nullopt);
    // The file holds B, and so does the model, after the first's failure took it back.
    EXPECT_TRUE(readFile(dataFile()).contains("\"note\":\"B\""));
    EXPECT_EQ(newestNote(), u"B"_s);
    EXPECT_EQ(refetchCount(), 3);
    EXPECT_EQ(modelOfTheStore(), modelOfTheFile());
}

TEST_F(RevertTest, OfQueuedWritesTheModelEndsAsTheLastOneThatReachedTheFile)
{
    // Both fail: one taking back, to the file as it was loaded.
    store().writer().setDeviceFactoryForTesting(failingTurns({ 0, 1 }));
    store().appData()->currentLog()->setNote(u"A"_s);
    auto first = save();
    store().appData()->currentLog()->setNote(u"B"_s);
    auto second = save();
    ASSERT_TRUE(answered(first) && answered(second));
    EXPECT_TRUE(first->value() && second->value());
    EXPECT_EQ(newestNote(), u"June €"_s);
    EXPECT_EQ(refetchCount(), 2);
    EXPECT_EQ(modelOfTheStore(), modelOfTheFile());

    // The first reaches the file, the second does not: the first's version stays.
    store().writer().setDeviceFactoryForTesting(failingTurns({ 1 }));
    store().appData()->currentLog()->setNote(u"C"_s);
    first = save();
    store().appData()->currentLog()->setNote(u"D"_s);
    second = save();
    ASSERT_TRUE(answered(first) && answered(second));
    EXPECT_EQ(first->value(), std::nullopt);
    EXPECT_TRUE(second->value().has_value());
    EXPECT_EQ(newestNote(), u"C"_s);
    EXPECT_EQ(modelOfTheStore(), modelOfTheFile());

    // A failure after a failure that another write overtook: the file's version throughout.
    store().writer().setDeviceFactoryForTesting(failingTurns({ 0, 2 }));
    store().appData()->currentLog()->setNote(u"E"_s);
    first = save();
    store().appData()->currentLog()->setNote(u"F"_s);
    second = save();
    store().appData()->currentLog()->setNote(u"G"_s);
    auto third = save();
    ASSERT_TRUE(answered(first) && answered(second) && answered(third));
    EXPECT_EQ(newestNote(), u"F"_s);
    EXPECT_EQ(modelOfTheStore(), modelOfTheFile());
}

TEST_F(RevertTest, ARestoreOvertakesWritesQueuedBeforeIt)
{
    const QString backup = homePath(u"backup.json"_s);
    store().appData()->currentLog()->setNote(u"backed up"_s);
    ASSERT_EQ(store().backupToFilePath(backup), std::nullopt);
    store().appData()->currentLog()->setNote(u"A"_s);
    store().writer().setDeviceFactoryForTesting(failingTurns({ 0 }));
    const auto failed = save();
    ASSERT_EQ(store().restoreFromFilePath(backup), std::nullopt);
    ASSERT_TRUE(answered(failed));
    EXPECT_TRUE(failed->value().has_value());
    // The failure of a write made before the restore takes nothing back.
    EXPECT_EQ(newestNote(), u"backed up"_s);
    EXPECT_EQ(modelOfTheStore(), modelOfTheFile());
}

TEST_F(StoreTest, WithoutADataFileAFailedSaveGoesBackToTheEmptyModel)
{
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    store().insertNewAssetCategory(u"Cash"_s, {});
    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10)));
    QObject context;
    std::optional<platform::MaybeError> answer;
    store().saveDataAsync(&context, [&](platform::MaybeError result) { answer = result; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }));
    EXPECT_TRUE(answer->has_value());
    EXPECT_FALSE(QFile::exists(dataFile()));
    EXPECT_TRUE(store().appData()->assetscat()->isEmpty());
    // Still a working model: what screens insert is saved once the disk is back.
    store().writer().setDeviceFactoryForTesting({});
    ASSERT_TRUE(store().insertNewAssetCategory(u"Cash"_s, {}));
    EXPECT_EQ(store().saveData(), std::nullopt);
    EXPECT_TRUE(readFile(dataFile()).contains("\"name\":\"Cash\""));
}

TEST_F(StoreTest, AClearedGoalStaysClearedAfterARestart)
{
    platform::UserDefaults& defaults = platform::UserDefaults::standard();
    // A data file without a goal leaves the setting absent: "No goal".
    writeFile(dataFile(), R"({"nw_logs":[]})");
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    EXPECT_FALSE(defaults.contains(Preferences::goalAmountKey));

    // A data file with a goal gives the setting its amount.
    writeFile(dataFile(), R"({"nw_logs":[],"net_worth_goal":250000})");
    restart();
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    EXPECT_EQ(Preferences::goalAmount(), 250000.0);

    // The user clears the goal; after a restart it is still cleared.
    store().appData()->setRidIrevuGoal(std::nullopt);
    Preferences::setGoalAmount(std::nullopt);
    ASSERT_EQ(store().saveData(), std::nullopt);
    restart();
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    EXPECT_FALSE(store().appData()->ridIrevuGoal());
    EXPECT_FALSE(defaults.contains(Preferences::goalAmountKey));
    EXPECT_EQ(Preferences::goalAmount(), std::nullopt);
}

} // namespace
