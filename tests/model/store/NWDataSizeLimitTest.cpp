#include "StoreTestSupport.h"

#include "model/data/ModelJSONWriter.h"
#include "model/store/DataFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <map>

using namespace Qt::Literals::StringLiterals;
using mervane::test::StoreTest;

namespace {

constexpr qint64 limit = 4096;

const QString tooLarge
    = u"The data would make a file larger than 4096 bytes, the most Mervane can read back, so nothing was written."_s;

class SizeLimitTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        writeFile(dataFile(), sampleDocument());
        store().setMaxDataFileSizeForTesting(limit);
        ASSERT_EQ(store().getApplicationData(), std::nullopt);
        m_before = dataFiles();
    }

    // A note long enough to take the model's data file past the limit.
    static QString longNote() { return QString(int(limit), u'x'); }

    std::map<QString, QByteArray> m_before;
};

TEST_F(SizeLimitTest, ASaveOrBackupThatCouldNotBeReadBackIsRefusedAndTheFileStays)
{
    // Up to the limit itself, a save is written.
    const auto model = store().appData();
    const qsizetype room = limit - ModelJSONWriter::toJSON(*model)->size();
    model->currentLog()->setNote(model->currentLog()->note() + QString(int(room), u'x'));
    ASSERT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(QFileInfo(dataFile()).size(), limit);
    const QByteArray atTheLimit = readFile(dataFile());

    model->currentLog()->setNote(model->currentLog()->note() + u'x');
    EXPECT_EQ(store().saveData(false), tooLarge);
    EXPECT_EQ(readFile(dataFile()), atTheLimit);

    const QString backup = homePath(u"backup.json"_s);
    EXPECT_EQ(store().backupToFilePath(backup), tooLarge);
    EXPECT_FALSE(QFile::exists(backup));
}

TEST_F(SizeLimitTest, AnAsynchronousSaveRefusedForItsSizeTakesTheModelBack)
{
    const auto record = store().insertNewNWLog();
    record->setYear(2022);
    record->setMonth(3);
    record->setNote(longNote());
    const int refetches = refetchCount();
    std::optional<platform::MaybeError> answer;
    QObject context;
    store().saveDataAsync(&context, [&](platform::MaybeError result) {
        // The model is the file's again before the screen hears of the refusal.
        EXPECT_EQ(refetchCount(), refetches + 1);
        answer = std::move(result);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }));
    EXPECT_EQ(*answer, tooLarge);
    EXPECT_EQ(dataFiles(), m_before);
    EXPECT_FALSE(store().holdsNWLog(record.get()));
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 3);
    // Saves after it are written again.
    EXPECT_EQ(store().saveData(false), std::nullopt);
}

TEST_F(SizeLimitTest, RestoreAndImportWhoseDataFileWouldPassTheLimitChangeNothing)
{
    const auto model = store().appData();
    const int refetches = refetchCount();

    // A backup within the limit whose data file would not be: the store writes every
    // member of every value, this file only the few it needs.
    QByteArray compact = R"({"a_cat":[{"ID":"A","name":"Bank"}],"nw_logs":[)";
    for (int month = 1; month <= 12; ++month) {
        for (int year = 2000; year < 2004; ++year)
            compact += u"{\"year\":%1,\"month\":%2,\"a_logs\":[{\"cat\":\"A\",\"value\":1}]},"_s.arg(year)
                           .arg(month)
                           .toUtf8();
    }
    compact.chop(1);
    compact += "]}";
    ASSERT_LE(compact.size(), limit);
    const QString backup = homePath(u"compact.json"_s);
    writeFile(backup, compact);
    EXPECT_EQ(store().restoreFromFilePath(backup), tooLarge);

    // A backup above the limit is not even read.
    writeFile(backup, compact + QByteArray(int(limit), ' '));
    const platform::MaybeError unread = store().restoreFromFilePath(backup);
    ASSERT_TRUE(unread);
    EXPECT_TRUE(unread->contains(u"is larger than 0 MB and is not read"_s)) << unread->toStdString();

    // The same records as an export: well within the limit as text, not as a data file.
    QByteArray csv = "Asset Categories,ID\n,A,Bank,,0,USD,\nNW Logs,Year\n,,,,,,,A\n";
    for (int month = 1; month <= 12; ++month) {
        for (int year = 2000; year < 2004; ++year)
            csv += u",%1,%2,,1,0,1,1\n"_s.arg(year).arg(month).toUtf8();
    }
    ASSERT_LE(csv.size(), limit / 2);
    const QString exported = homePath(u"export.csv"_s);
    writeFile(exported, csv);
    const platform::Expected<std::shared_ptr<MVX_Model>> read = NWData::importCSVFromFilePath(exported);
    ASSERT_TRUE(read);
    EXPECT_EQ(store().installImportedModel(*read), tooLarge);

    EXPECT_EQ(dataFiles(), m_before);
    EXPECT_EQ(store().appData(), model);
    EXPECT_EQ(store().appData()->nwLogArray()->size(), 3);
    EXPECT_EQ(refetchCount(), refetches);
}

TEST_F(SizeLimitTest, TheStartUpReadsUpToTheSameLimit)
{
    writeFile(dataFile(), sampleDocument() + QByteArray(int(limit), ' '));
    restart();
    store().setMaxDataFileSizeForTesting(limit);
    const platform::MaybeError error = store().getApplicationData();
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"is larger than 0 MB and is not read"_s)) << error->toStdString();
}

TEST_F(StoreTest, ADataFileTooLargeToReadIsNotTakenForAnotherProgramsVersion)
{
    // Sparse: above the real limit without a byte written.
    QFile huge(dataFile());
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(platform::maxReadableFileSize + 1));
    huge.close();
    ASSERT_TRUE(store().getApplicationData());

    // It can be neither read nor copied, so it is never replaced; and it is the version
    // the store found at the start, not one another program wrote since.
    const platform::MaybeError refused = store().saveData(false);
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->startsWith(u"The data file \""_s)) << refused->toStdString();
    EXPECT_TRUE(refused->contains(u"could not be read, and a copy of it could not be kept"_s))
        << refused->toStdString();
    EXPECT_FALSE(refused->contains(u"Another program"_s));
    EXPECT_EQ(QFileInfo(dataFile()).size(), platform::maxReadableFileSize + 1);
    EXPECT_TRUE(platform::keptCopies(dataFile(), DataFileWriter::conflictKind).isEmpty());
}

} // namespace
