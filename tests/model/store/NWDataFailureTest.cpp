#include "StoreTestSupport.h"

#include "model/store/DataFileWriter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

TEST_F(StoreTest, DeviceFailingMidWriteIsReportedAndTheOldFileSurvives)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    const QByteArray original = readFile(dataFile());
    const QString backupPath = homePath(u"backup.json"_s);
    writeFile(backupPath, "previous backup");

    for (qint64 budget : { 0, 1, 100 }) {
        store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(budget)));
        const auto saveError = store().saveData(false);
        ASSERT_TRUE(saveError) << budget;
        EXPECT_TRUE(saveError->contains(u"the disk is full"_s)) << saveError->toStdString();
        EXPECT_EQ(readFile(dataFile()), original);
        EXPECT_TRUE(store().backupToFilePath(backupPath));
        EXPECT_EQ(readFile(backupPath), "previous backup");
    }

    // The asynchronous save brings the same failure back to its caller.
    QObject context;
    QEventLoop loop;
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    std::optional<platform::MaybeError> asyncResult;
    store().saveDataAsync(&context, [&](platform::MaybeError result) {
        asyncResult = result;
        loop.quit();
    });
    loop.exec();
    ASSERT_TRUE(asyncResult);
    EXPECT_TRUE(asyncResult->has_value());
    EXPECT_EQ(readFile(dataFile()), original);

    store().writer().setDeviceFactoryForTesting({});
    EXPECT_EQ(store().saveData(false), std::nullopt);
}

TEST_F(StoreTest, RestoreWhoseSaveFailsKeepsThePreviousModel)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    const auto model = store().appData();
    const auto newest = model->currentLog();
    const QByteArray original = readFile(dataFile());
    const QString backup = homePath(u"backup.json"_s);
    writeFile(backup, R"({"version":"2.0","base_currency":"GBP","nw_logs":[{"year":2030,"month":1}]})");
    const int before = refetchCount();

    store().writer().setDeviceFactoryForTesting(failingDevices(failsAfterBytes(10), fileNamed(NWData::dataFileName)));
    EXPECT_TRUE(store().restoreFromFilePath(backup));
    EXPECT_EQ(store().appData(), model);
    EXPECT_EQ(store().appData()->currentLog(), newest);
    EXPECT_EQ(store().chartNwLogArray().size(), 3);
    EXPECT_EQ(store().localCurrency()->ShortName(), u"USD"_s);
    EXPECT_EQ(readFile(dataFile()), original);
    EXPECT_EQ(refetchCount(), before);
}

TEST_F(StoreTest, UnwritableLocationsAreReported)
{
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    const QString aFile = homePath(u"plain.txt"_s);
    writeFile(aFile, "x");
    // Below a plain file nothing can be created, whoever runs the test.
    const auto backupError = store().backupToFilePath(aFile + u"/backup.json"_s);
    ASSERT_TRUE(backupError);
    EXPECT_TRUE(backupError->contains(aFile)) << backupError->toStdString();
    EXPECT_TRUE(store().backupToFilePath(homePath(u"missing/folder/backup.json"_s)));
    EXPECT_EQ(readFile(aFile), "x");
}

TEST_F(StoreTest, NonFiniteNumbersAreNeverWritten)
{
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    const QByteArray original = readFile(dataFile());
    store().appData()->nwLogArray()->first()->setNw(std::nan(""));
    const auto error = store().saveData(false);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"\"nw\""_s)) << error->toStdString();
    EXPECT_TRUE(store().backupToFilePath(homePath(u"b.json"_s)));
    EXPECT_FALSE(QFile::exists(homePath(u"b.json"_s)));
    EXPECT_EQ(readFile(dataFile()), original);
}

TEST(DataFileCrash, KilledWriterLeavesOldOrNewFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"mervane.json"_s);
    const QByteArray old(16'000'000, 'o');
    ASSERT_EQ(platform::writeFileAtomically(path, old), std::nullopt);

    QProcess child;
    child.start(QStringLiteral(MERVANE_CRASH_WRITER), { path });
    ASSERT_TRUE(child.waitForStarted());
    while (!child.readAllStandardOutput().contains("writing\n"))
        ASSERT_TRUE(child.waitForReadyRead(30000));
    child.kill(); // SIGKILL
    ASSERT_TRUE(child.waitForFinished(30000));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray left = file.readAll();
    const bool whole
        = left == old || left == QByteArray(20'000'000, 'n') || left == QByteArray(12'000'000, 'm');
    EXPECT_TRUE(whole) << "size " << left.size();
}

} // namespace
