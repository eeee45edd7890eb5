#include "StoreTestSupport.h"

#include "model/ModelNotifications.h"
#include "model/data/ImportModel.h"
#include "model/store/DataFileWriter.h"
#include "platform/Clock.h"
#include "platform/NotificationCenter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <atomic>
#include <cstring>
#include <map>
#include <set>
#include <utility>

#include <fcntl.h>
#include <signal.h>

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

mode_t modeOf(const QString& path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 07777;
}

// A device on a file system that cannot exchange two files.
class CannotExchange final : public WrappedDevice {
public:
    using WrappedDevice::WrappedDevice;
    Exchange exchange() override { return Exchange::Unsupported; }
};

// Runs the test body under the usual desktop umask, whatever the test runner's is.
class SafetyTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        m_umask = ::umask(022);
        platform::NotificationCenter::defaultCenter().addObserver(
            &m_observer, notifications::dataFileConflict, [this](const platform::Notification& n) {
                m_conflicts.append(n.userInfo.value(notifications::copyPathKey).toString());
            });
    }
    void TearDown() override
    {
        platform::setReplacementSeamForTesting({});
        ::umask(m_umask);
        StoreTest::TearDown();
    }

    void loadSample()
    {
        writeFile(dataFile(), sampleDocument());
        ASSERT_EQ(store().getApplicationData(), std::nullopt);
    }
    // Conflict notices come through the event loop.
    QStringList conflicts()
    {
        QCoreApplication::sendPostedEvents();
        return m_conflicts;
    }
    void failWrites(const DeviceFailure& failure, std::function<bool(const QString&)> affected = {})
    {
        store().writer().setDeviceFactoryForTesting(failingDevices(failure, std::move(affected)));
    }

private:
    mode_t m_umask = 022;
    QObject m_observer;
    QStringList m_conflicts;
};

TEST_F(SafetyTest, EveryFileTheStoreMakesIsPrivate)
{
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    ASSERT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(modeOf(dataFile()), 0600u);

    const QString backup = homePath(u"backup.json"_s);
    ASSERT_EQ(store().backupToFilePath(backup), std::nullopt);
    EXPECT_EQ(modeOf(backup), 0600u);
    const QString csv = homePath(u"export.csv"_s);
    ASSERT_EQ(store().exportToCSV(csv), std::nullopt);
    EXPECT_EQ(modeOf(csv), 0600u);

    ASSERT_EQ(store().restoreFromFilePath(backup), std::nullopt);
    ASSERT_EQ(store().installImportedModel(*NWData::modelFromCSVData(readFile(csv))), std::nullopt);
    ASSERT_EQ(store().deleteAllRecords(), std::nullopt);
    for (const QString& kind :
        { NWData::beforeRestoreKind, NWData::beforeImportKind, NWData::beforeDeleteAllKind }) {
        const QStringList copies = NWData::keptCopies(kind);
        ASSERT_EQ(copies.size(), 1) << kind.toStdString();
        EXPECT_EQ(modeOf(copies.first()), 0600u) << kind.toStdString();
    }
    EXPECT_EQ(modeOf(dataFile()), 0600u);
}

// Where the file system has no flagged renames, the first save (nothing at the path to exchange
// with, the no-replace rename refused) falls back to the plain rename. No save keeps a descriptor
// open: a thousand saves would run out of them.
TEST_F(SafetyTest, SavesLandWithoutFlaggedRenamesAndKeepNoDescriptorOpen)
{
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    platform::setReplacementSeamForTesting({ {}, EINVAL });
    ASSERT_EQ(store().saveData(false), std::nullopt);
    platform::setReplacementSeamForTesting({});
    ASSERT_TRUE(QFileInfo::exists(dataFile()));

    const auto openDescriptors
        = [] { return QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::System).size(); };
    const qsizetype before = openDescriptors();
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(SafetyTest, AnExistingFileKeepsItsModeAndCopiesAreNeverWider)
{
    loadSample();
    ASSERT_EQ(::chmod(QFile::encodeName(dataFile()).constData(), 0640), 0);
    ASSERT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(modeOf(dataFile()), 0640u);
    ASSERT_EQ(store().deleteAllRecords(), std::nullopt);
    EXPECT_EQ(modeOf(NWData::keptCopies(NWData::beforeDeleteAllKind).first()), 0600u & 0640u);

    ASSERT_EQ(::chmod(QFile::encodeName(dataFile()).constData(), 0400), 0);
    ASSERT_EQ(store().deleteAllRecords(), std::nullopt);
    EXPECT_EQ(modeOf(NWData::keptCopies(NWData::beforeDeleteAllKind).last()), 0400u);
}

TEST_F(SafetyTest, RestoreAndDeleteAllKeepTheTenNewestCopiesOfTheirKind)
{
    loadSample();
    const QString backup = homePath(u"backup.json"_s);
    ASSERT_EQ(store().backupToFilePath(backup), std::nullopt);
    for (int minute = 0; minute < 12; ++minute) {
        const platform::ScopedClock clock(QDateTime(QDate(2026, 5, 1), QTime(10, minute)));
        ASSERT_EQ(store().restoreFromFilePath(backup), std::nullopt);
    }
    QStringList copies = NWData::keptCopies(NWData::beforeRestoreKind);
    ASSERT_EQ(copies.size(), 10);
    EXPECT_TRUE(copies.first().endsWith(u".before-restore-20260501-100200"_s))
        << copies.first().toStdString();
    EXPECT_TRUE(copies.last().endsWith(u".before-restore-20260501-101100"_s)) << copies.last().toStdString();

    // Two copies within one second get their own names, ordered after each other.
    const platform::ScopedClock clock(QDateTime(QDate(2026, 5, 2), QTime(8, 0)));
    const QByteArray restored = readFile(dataFile());
    ASSERT_EQ(store().deleteAllRecords(), std::nullopt);
    ASSERT_EQ(store().deleteAllRecords(), std::nullopt);
    copies = NWData::keptCopies(NWData::beforeDeleteAllKind);
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(readFile(copies.at(0)), restored);
    EXPECT_TRUE(copies.at(1).endsWith(u"-20260502-080000-2"_s)) << copies.at(1).toStdString();
    EXPECT_EQ(NWData::keptCopies(NWData::beforeRestoreKind).size(), 10);
}

TEST_F(SafetyTest, DeleteAllThatCannotSaveSaysSoAndChangesNothing)
{
    loadSample();
    const QByteArray original = readFile(dataFile());
    const auto model = store().appData();
    const int before = refetchCount();

    failWrites(failsAtCommit(EIO), fileNamed(NWData::dataFileName));
    const platform::MaybeError error = store().deleteAllRecords();
    ASSERT_TRUE(error);
    EXPECT_EQ(readFile(dataFile()), original);
    EXPECT_EQ(store().appData(), model);
    EXPECT_EQ(model->nwLogArray()->size(), 3);
    EXPECT_EQ(model->assetscat()->size(), 2);
    EXPECT_EQ(model->tags()->size(), 1);
    EXPECT_EQ(store().chartNwLogArray().size(), 3);
    EXPECT_EQ(refetchCount(), before);

    // Without a copy of the data file nothing is deleted either.
    failWrites(failsAfterBytes(3), namesContaining(u".before-delete-all-"_s));
    const platform::MaybeError refused = store().deleteAllRecords();
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->contains(u"nothing was changed"_s)) << refused->toStdString();
    EXPECT_EQ(model->nwLogArray()->size(), 3);
    EXPECT_EQ(readFile(dataFile()), original);
}

TEST_F(SafetyTest, AnotherProgramsVersionIsKeptAsAConflictCopy)
{
    loadSample();
    const QByteArray theirs = R"({"version":"2.12","nw_logs":[{"year":2030,"month":1}]})";
    writeFile(dataFile() + u".tmp"_s, theirs);
    ASSERT_TRUE(QFile::remove(dataFile()));
    ASSERT_TRUE(QFile::rename(dataFile() + u".tmp"_s, dataFile()));

    ASSERT_EQ(store().saveData(false), std::nullopt);
    const QStringList copies = NWData::keptCopies(DataFileWriter::conflictKind);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(copies.first()), theirs);
    EXPECT_EQ(conflicts(), copies);
    EXPECT_EQ(ImportModel::readFile(dataFile())->model->nwLogArray()->size(), 3);

    // What the store wrote itself is its own: the next saves keep nothing more.
    ASSERT_EQ(store().saveData(false), std::nullopt);
    ASSERT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(NWData::keptCopies(DataFileWriter::conflictKind).size(), 1);

    // Another program moves its version into place while a save runs, after the new file was
    // written and just before it takes the path's place; or later still, after the last check
    // of the path, which only the exchange itself sees.
    struct Case {
        const char* what;
        bool dataFileAtStart;
        bool canExchange;
        bool sameBytes; // the version the store read, as a new file
        bool afterLastCheck = false;
        int exchangeRefusedWith = 0; // by the real file system
    };
    for (const Case c : {
             Case { "moved in during a save", true, true, false },
             Case { "the bytes the store knows, as a new file", true, true, true },
             Case { "arrived in a home without a data file", false, true, false },
             Case { "on a file system that cannot exchange", true, false, false },
             Case { "moved in after the last check", true, true, false, true },
             Case { "arrived in a home without a data file after the last check", false, true, false, true },
             Case { "the exchange refused with EINVAL", true, true, false, false, EINVAL },
             Case { "the exchange refused with EXDEV", true, true, false, false, EXDEV },
             Case { "the exchange refused with EPERM", true, true, false, false, EPERM },
             Case { "the exchange refused with EBUSY", true, true, false, false, EBUSY },
         }) {
        SCOPED_TRACE(c.what);
        for (const auto& [name, bytes] : dataFiles())
            ASSERT_TRUE(QFile::remove(homePath(name)));
        if (c.dataFileAtStart)
            writeFile(dataFile(), sampleDocument());
        restart();
        ASSERT_EQ(store().getApplicationData(), std::nullopt);
        const QByteArray arriving = c.sameBytes ? sampleDocument() : theirs;
        std::atomic<int> moves = 0;
        const auto moveIn = [&] {
            if (moves++ > 0)
                return;
            writeFile(dataFile() + u".partial"_s, arriving);
            EXPECT_EQ(::rename(QFile::encodeName(dataFile() + u".partial"_s).constData(),
                          QFile::encodeName(dataFile()).constData()),
                0);
        };
        store().writer().beforeReplacing(dataFile(), [&](int) {
            if (!c.afterLastCheck)
                moveIn();
        });
        platform::setReplacementSeamForTesting({ [&](const QString& target) {
                                                    if (c.afterLastCheck && target == dataFile())
                                                        moveIn();
                                                },
            c.exchangeRefusedWith });
        if (!c.canExchange)
            store().writer().setDeviceFactoryForTesting(
                [](const QString& path) { return std::make_unique<CannotExchange>(path); });
        const qsizetype told = conflicts().size();

        ASSERT_EQ(store().saveData(false), std::nullopt);
        ASSERT_EQ(moves, 1);
        EXPECT_EQ(ImportModel::readFile(dataFile())->model->nwLogArray()->size(), c.dataFileAtStart ? 3 : 0);
        const QStringList copies = NWData::keptCopies(DataFileWriter::conflictKind);
        if (c.sameBytes) {
            EXPECT_EQ(copies, QStringList());
            EXPECT_EQ(conflicts().size(), told);
        } else {
            ASSERT_EQ(copies.size(), 1);
            EXPECT_EQ(readFile(copies.first()), theirs);
            EXPECT_EQ(conflicts().mid(told), copies);
        }
        // Nothing else is left beside them: the version taken out went, or became the copy.
        EXPECT_EQ(qsizetype(dataFiles().size()), 1 + copies.size());

        // The next save replaces only what it wrote itself.
        ASSERT_EQ(store().saveData(false), std::nullopt);
        EXPECT_EQ(NWData::keptCopies(DataFileWriter::conflictKind), copies);
        EXPECT_EQ(qsizetype(dataFiles().size()), 1 + copies.size());
        platform::setReplacementSeamForTesting({});
    }
}

// A device that lets another program's version arrive once, just after its own took its place.
class FollowedByAnotherVersion final : public WrappedDevice {
public:
    FollowedByAnotherVersion(const QString& path, std::function<void()> arrive)
        : WrappedDevice(path), m_arrive(std::move(arrive))
    {
    }
    bool commit() override
    {
        const bool committed = WrappedDevice::commit();
        if (committed && m_arrive)
            std::exchange(m_arrive, {})();
        return committed;
    }

private:
    std::function<void()> m_arrive;
};

// Versions that pass a look at the file for the one the last save wrote: one renamed into
// place right after that save, and one written into the file itself with as many bytes and
// its modification time put back. The next save keeps each.
TEST_F(SafetyTest, AVersionThatLooksLikeTheLastSaveIsKeptByTheNext)
{
    loadSample();
    const QByteArray theirs = QByteArray(sampleDocument()).replace("USD", "EUR");
    ASSERT_EQ(theirs.size(), sampleDocument().size());
    bool renamedIn = false;
    store().writer().setDeviceFactoryForTesting([&](const QString& path) {
        return std::make_unique<FollowedByAnotherVersion>(path, [&, path] {
            if (path != dataFile() || std::exchange(renamedIn, true))
                return;
            writeFile(dataFile() + u".partial"_s, theirs);
            ASSERT_EQ(::rename(QFile::encodeName(dataFile() + u".partial"_s).constData(),
                          QFile::encodeName(dataFile()).constData()),
                0);
        });
    });
    ASSERT_EQ(store().saveData(false), std::nullopt);
    ASSERT_TRUE(renamedIn);
    ASSERT_EQ(readFile(dataFile()), theirs);
    // Where the file system cannot exchange, only the stamp of the last save tells.
    platform::setReplacementSeamForTesting({ {}, EINVAL });
    ASSERT_EQ(store().saveData(false), std::nullopt);
    platform::setReplacementSeamForTesting({});
    QStringList copies = NWData::keptCopies(DataFileWriter::conflictKind);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(copies.last()), theirs);
    EXPECT_EQ(conflicts(), copies);

    const QByteArray ours = readFile(dataFile());
    const QByteArray edited = QByteArray(ours).replace("USD", "EUR");
    ASSERT_NE(edited, ours);
    const QByteArray path = QFile::encodeName(dataFile());
    struct stat saved { };
    ASSERT_EQ(::stat(path.constData(), &saved), 0);
    // Rewritten until the file system's clock has moved on from the save's, so that the
    // change time tells the two apart as it does when a person edits the file.
    struct stat rewritten { };
    for (const QDeadlineTimer deadline(10000); !deadline.hasExpired();) {
        QFile file(dataFile());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_EQ(file.write(edited), edited.size());
        file.close();
        const struct timespec times[2] = { saved.st_atim, saved.st_mtim };
        ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
        ASSERT_EQ(::stat(path.constData(), &rewritten), 0);
        if (rewritten.st_ctim.tv_sec != saved.st_ctim.tv_sec
            || rewritten.st_ctim.tv_nsec != saved.st_ctim.tv_nsec)
            break;
    }
    ASSERT_EQ(rewritten.st_ino, saved.st_ino);
    ASSERT_EQ(rewritten.st_size, saved.st_size);
    ASSERT_EQ(rewritten.st_mtim.tv_nsec, saved.st_mtim.tv_nsec);
    ASSERT_EQ(store().saveData(false), std::nullopt);
    copies = NWData::keptCopies(DataFileWriter::conflictKind);
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(readFile(copies.last()), edited);
    EXPECT_EQ(readFile(dataFile()), ours);
}

// A save killed just after its exchange leaves the version it took out under its temporary
// name; one killed while it writes, where the file system has no O_TMPFILE, a partial file.
// The next start keeps a version that is not the data file's as a conflict copy (also one of as
// many bytes) and removes the rest, but leaves the files of a live process; also where the
// temporary file had a name from its start, and beside a data file whose name holds wildcards.
TEST_F(SafetyTest, WhatAKilledSaveLeftIsSettledAtTheNextStart)
{
    const QByteArray theirs = R"({"version":"2.12","nw_logs":[{"year":2030,"month":1}]})";
    struct Case {
        const char* what;
        QString target; // where the data file's link leads; none: no link
        bool namedFromTheStart;
    };
    // The data file, its copies and leftovers, wherever the link leads (links left out).
    const auto files = [this] {
        std::map<QString, QByteArray> found;
        for (const QString& folder : { home(), homePath(u"store"_s) }) {
            for (const QFileInfo& file :
                QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
                if (file.fileName().startsWith(NWData::dataFileName)
                    || file.fileName().startsWith(u"m[1].json"_s))
                    found[QDir(home()).relativeFilePath(file.filePath())] = readFile(file.filePath());
            }
        }
        return found;
    };
    for (const Case& c : {
             Case { "with O_TMPFILE", {}, false },
             Case { "without O_TMPFILE", {}, true },
             Case { "through a link to a name with wildcards", u"store/m[1].json"_s, false },
         }) {
        SCOPED_TRACE(c.what);
        for (const auto& [name, bytes] : files())
            ASSERT_TRUE(QFile::remove(homePath(name)));
        QFile::remove(dataFile());
        QString target = dataFile();
        if (!c.target.isEmpty()) {
            target = homePath(c.target);
            ASSERT_TRUE(QDir().mkpath(QFileInfo(target).path()));
            ASSERT_TRUE(QFile::link(target, dataFile()));
        }
        writeFile(target, theirs);
        QProcess killed;
        killed.start(QStringLiteral(MERVANE_CRASH_WRITER),
            { dataFile(), u"killed-after-exchange"_s, c.namedFromTheStart ? u"named"_s : u"unnamed"_s });
        ASSERT_TRUE(killed.waitForStarted());
        const QString gone = QString::number(killed.processId());
        ASSERT_TRUE(killed.waitForFinished(30000));
        ASSERT_EQ(killed.exitStatus(), QProcess::CrashExit);
        const QByteArray ours = readFile(target);
        ASSERT_EQ(ours, "{}");

        const QString live = QString::number(::getpid());
        const QByteArray asLong = "[]";
        const std::map<QString, QByteArray> made {
            { u".part-%1-aaaaaa"_s.arg(gone), "{\"version\":\"2.12\",\"nw_lo" },
            { u".new-%1-bbbbbb"_s.arg(gone), ours },
            { u".new-%1-eeeeee"_s.arg(gone), asLong },
            { u".part-%1-cccccc"_s.arg(live), "{\"vers" },
            { u".new-%1-dddddd"_s.arg(live), theirs },
        };
        for (const auto& [suffix, bytes] : made)
            writeFile(target + suffix, bytes);

        restart();
        store().getApplicationData();
        const QStringList copies = NWData::keptCopies(DataFileWriter::conflictKind);
        ASSERT_EQ(copies.size(), 2);
        const QString relativeTarget = QDir(home()).relativeFilePath(target);
        std::map<QString, QByteArray> left { { relativeTarget, ours } };
        for (const QString& suffix : { u".part-%1-cccccc"_s.arg(live), u".new-%1-dddddd"_s.arg(live) })
            left[relativeTarget + suffix] = made.at(suffix);
        const std::set<QByteArray> kept { readFile(copies[0]), readFile(copies[1]) };
        EXPECT_EQ(kept, (std::set<QByteArray> { theirs, asLong }));
        for (const QString& copy : copies)
            left[QDir(home()).relativeFilePath(copy)] = readFile(copy);
        EXPECT_EQ(files(), left);
    }
}

TEST_F(SafetyTest, SameBytesWrittenAgainAreNoConflictButAFileThatAppearedIs)
{
    loadSample();
    const QByteArray same = readFile(dataFile());
    ASSERT_TRUE(QFile::remove(dataFile()));
    writeFile(dataFile(), same); // a new inode and time, the same content
    ASSERT_EQ(store().saveData(false), std::nullopt);
    EXPECT_EQ(NWData::keptCopies(DataFileWriter::conflictKind), QStringList());

    // Started without a data file; one arrives before the first save (a late sync).
    ASSERT_TRUE(QFile::remove(dataFile()));
    restart();
    ASSERT_EQ(store().getApplicationData(), std::nullopt);
    writeFile(dataFile(), sampleDocument());
    ASSERT_EQ(store().saveData(false), std::nullopt);
    const QStringList copies = NWData::keptCopies(DataFileWriter::conflictKind);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(copies.first()), sampleDocument());
}

TEST_F(SafetyTest, AConflictCopyThatCannotBeMadeStopsTheSave)
{
    loadSample();
    const QByteArray theirs = "their edit";
    ASSERT_TRUE(QFile::remove(dataFile()));
    writeFile(dataFile(), theirs);

    failWrites(takesOnly(2), namesContaining(u".conflict-"_s));
    const platform::MaybeError error = store().saveData(false);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"nothing was saved"_s)) << error->toStdString();
    EXPECT_EQ(readFile(dataFile()), theirs);
    EXPECT_EQ(conflicts(), QStringList());
}

TEST_F(SafetyTest, AnUnreadableFileWhoseCopyFailsIsNeverReplaced)
{
    const QByteArray broken = "{\"nw_logs\": [ broken";
    writeFile(dataFile(), broken);
    ASSERT_TRUE(store().getApplicationData());

    for (const DeviceFailure& failure : { failsAtOpen(EACCES), takesOnly(4), failsAtCommit() }) {
        failWrites(failure, namesContaining(u".unreadable-"_s));
        const platform::MaybeError error = store().saveData(false);
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->contains(u"nothing was saved"_s)) << error->toStdString();
        EXPECT_EQ(readFile(dataFile()), broken);
        EXPECT_TRUE(store().writer().isPreservePending());
    }
    failWrites(failsAtOpen(EACCES), namesContaining(u".unreadable-"_s));
    EXPECT_TRUE(store().saveData(false)->contains(u"permission was denied"_s));

    store().writer().setDeviceFactoryForTesting({});
    ASSERT_EQ(store().saveData(false), std::nullopt);
    const QStringList copies = NWData::keptCopies(DataFileWriter::unreadableKind);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(copies.first()), broken);
}

TEST_F(SafetyTest, WritesThatFailLateOrShortAreReportedAndTheOldFilesSurvive)
{
    loadSample();
    const QByteArray original = readFile(dataFile());
    const QString backup = homePath(u"backup.json"_s);
    const QString csv = homePath(u"export.csv"_s);
    writeFile(backup, "old backup");
    writeFile(csv, "old export");

    struct Case {
        DeviceFailure failure;
        QString says;
    };
    const Case cases[] = {
        { takesOnly(0), u"only 0 of"_s },
        { takesOnly(100), u"only 100 of"_s },
        { failsAfterBytes(50, ENOSPC), u"the disk is full"_s },
        { failsAfterBytes(50, EDQUOT), u"quota"_s },
        { failsAtOpen(EROFS), u"read-only"_s },
        { failsAtOpen(EACCES), u"permission was denied"_s },
        { failsAtFlush(ENOSPC), u"the disk is full"_s },
        { failsAtCommit(EIO), QString::fromLocal8Bit(std::strerror(EIO)) },
    };
    for (const Case& c : cases) {
        failWrites(c.failure);
        for (const auto& [what, error] : {
                 std::pair { "save", store().saveData(false) },
                 std::pair { "backup", store().backupToFilePath(backup) },
                 std::pair { "export", store().exportToCSV(csv) },
             }) {
            ASSERT_TRUE(error) << what << " " << c.says.toStdString();
            EXPECT_TRUE(error->contains(c.says)) << what << ": " << error->toStdString();
        }
        EXPECT_EQ(readFile(dataFile()), original);
        EXPECT_EQ(readFile(backup), "old backup");
        EXPECT_EQ(readFile(csv), "old export");
    }
    // No temporary file is left behind by any of them.
    EXPECT_EQ(QDir(home()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

TEST_F(SafetyTest, OnlyARegularFileIsReadAsTheDataFile)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(dataFile()).constData(), 0600), 0);
    // Returns at once although nothing will ever write to the pipe.
    platform::MaybeError error = store().getApplicationData();
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"not a regular file"_s)) << error->toStdString();
    EXPECT_TRUE(store().saveData(false)); // nothing can be kept of it, so nothing replaces it
    EXPECT_FALSE(QFileInfo(dataFile()).isFile());

    ASSERT_TRUE(QFile::remove(dataFile()));
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, dataFile()));
    restart();
    error = store().getApplicationData();
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"not a regular file"_s)) << error->toStdString();

    // A sparse file above the cap is refused before a byte of it is read.
    ASSERT_TRUE(QFile::remove(dataFile()));
    QFile huge(dataFile());
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(platform::maxReadableFileSize + 1));
    huge.close();
    restart();
    error = store().getApplicationData();
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(u"larger than 1024 MB"_s)) << error->toStdString();
}

TEST(FileErrorTextTest, TheErrnoBehindAFailureBecomesAnAnswer)
{
    EXPECT_TRUE(platform::describeFileError(ENOSPC, u"x"_s).startsWith(u"the disk is full"_s));
    // Without an errno, the system's own text of a known failure is recognised.
    EXPECT_TRUE(platform::describeFileError(0, QString::fromLocal8Bit(std::strerror(EROFS)))
                    .contains(u"read-only"_s));
    EXPECT_EQ(platform::describeFileError(0, u"Strange failure"_s), u"Strange failure"_s);
    EXPECT_EQ(platform::describeFileError(EIO, u""_s), QString::fromLocal8Bit(std::strerror(EIO)));
}

} // namespace
