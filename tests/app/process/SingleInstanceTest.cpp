#include "ProcessTestSupport.h"

#include "app/shell/ApplicationSetup.h"
#include "app/shell/SingleInstance.h"
#include "app/shell/SingleInstanceTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <utime.h>

namespace {

using Claim = SingleInstance::Claim;
using mervane::test::hardLink;

class SingleInstanceTest : public mervane::test::ProcessTest {
protected:
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    /// The names in the runtime folder that lead to the socket of this test's holder.
    QStringList namesLeadingToHolder() const { return mervane::test::namesLeadingToHolder(dataFilePath()); }

    /// Claims through `path` from this process, as a later start would.
    static Claim claimThrough(const QString& path)
    {
        SingleInstance later(path);
        const auto claim = later.tryAcquire();
        EXPECT_TRUE(claim) << qPrintable(claim.error());
        return claim.valueOr(Claim::OtherSilent);
    }
};

TEST_F(SingleInstanceTest, ALaterClaimFailsAndAsksTheHolderToComeForward)
{
    QProcess* first = startChild(QStringLiteral("hold"), "acquired");
    ASSERT_TRUE(first);
    EXPECT_TRUE(QFileInfo::exists(home() + QStringLiteral("/mervane.json.lock")));

    for (int asked = 0; asked < 2; ++asked) {
        SingleInstance later(dataFilePath());
        const auto claim = later.tryAcquire();
        ASSERT_TRUE(claim) << qPrintable(claim.error());
        EXPECT_EQ(*claim, Claim::OtherAnswered);
        EXPECT_TRUE(waitForLine(*first, "raise requested"));
    }
    EXPECT_EQ(first->state(), QProcess::Running);
}

// Two starts at the same instant: the one that loses finds the winner, which may not listen
// yet, and is answered; neither shows "already running".
TEST_F(SingleInstanceTest, OfTwoStartsAtTheSameInstantOneHoldsAndTheOtherIsAnswered)
{
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        QProcess* starts[]
            = { startChild(QStringLiteral("race"), "ready"), startChild(QStringLiteral("race"), "ready") };
        ASSERT_TRUE(starts[0] && starts[1]);
        for (QProcess* start : starts)
            start->write("go\n");
        for (QProcess* start : starts)
            start->waitForBytesWritten(30000);
        std::vector<std::string> outcomes;
        for (QProcess* start : starts) {
            while (!start->canReadLine() && start->waitForReadyRead(30000)) { }
            outcomes.push_back(start->readLine().trimmed().toStdString());
        }
        std::sort(outcomes.begin(), outcomes.end());
        ASSERT_EQ(outcomes, (std::vector<std::string> { "acquired", "answered" }));
        for (QProcess* start : starts)
            EXPECT_TRUE(start->waitForFinished(30000)) << "the holder was not asked";
    }
}

// Shorter than a start's own wait: these holders never answer, however long they are given.
constexpr int silentHolderWaitMs = 500;

TEST_F(SingleInstanceTest, AHolderThatDoesNotAnswerLeavesTheLaterOneSilentAndUnlocked)
{
    ASSERT_TRUE(startChild(QStringLiteral("lock-only"), "locked"));
    SingleInstance later(dataFilePath());
    // A holder that never listens is waited for until the time given runs out.
    const auto claim = later.tryAcquire(silentHolderWaitMs);
    ASSERT_TRUE(claim) << qPrintable(claim.error());
    EXPECT_EQ(*claim, Claim::OtherSilent);
}

// The lock file of a live instance, as that instance wrote it years ago, but without the
// kernel lock that would otherwise keep it: only its age could make it look stale.
TEST_F(SingleInstanceTest, ALiveHoldersLockNeverGoesStaleByAge)
{
    QByteArray liveContents;
    {
        QLockFile live(home() + QStringLiteral("/elsewhere.lock"));
        ASSERT_TRUE(live.tryLock(0));
        QFile written(home() + QStringLiteral("/elsewhere.lock"));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        liveContents = written.readAll();
    }
    const QString lockPath = SingleInstance::lockFilePath(dataFilePath());
    {
        QFile lock(lockPath);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(liveContents);
    }
    const utimbuf longAgo { 1'000'000'000, 1'000'000'000 }; // 2001
    ASSERT_EQ(::utime(QFile::encodeName(lockPath).constData(), &longAgo), 0);

    SingleInstance later(dataFilePath());
    const auto claim = later.tryAcquire(silentHolderWaitMs);
    ASSERT_TRUE(claim) << qPrintable(claim.error());
    EXPECT_EQ(*claim, Claim::OtherSilent);
    EXPECT_EQ(QFileInfo(lockPath).lastModified().toSecsSinceEpoch(), 1'000'000'000);
}

TEST_F(SingleInstanceTest, TheLockOfAKilledInstanceIsTakenOverAndTheNewHolderAnswers)
{
    QProcess* crashed = startChild(QStringLiteral("hold"), "acquired");
    ASSERT_TRUE(crashed);
    crashed->kill(); // SIGKILL: the lock file and the socket stay behind
    ASSERT_TRUE(crashed->waitForFinished(30000));
    ASSERT_TRUE(QFileInfo::exists(SingleInstance::lockFilePath(dataFilePath())));

    SingleInstance instance(dataFilePath());
    const auto claim = instance.tryAcquire();
    ASSERT_TRUE(claim) << qPrintable(claim.error());
    ASSERT_EQ(*claim, Claim::Acquired);

    // The later instance is another process: this one must keep its event loop running.
    QSignalSpy raised(&instance, &SingleInstance::raiseRequested);
    QProcess later;
    later.start(QStringLiteral(MERVANE_PROCESS_CHILD), { QStringLiteral("claim") });
    ASSERT_TRUE(raised.wait(30000));
    ASSERT_TRUE(later.waitForFinished(30000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_EQ(later.readAllStandardOutput(), "answered\n");
}

// Sync clients and editors replace a file by renaming a new one into its place. The holder
// takes such a file as it appears, not at its next save, so that no start through a link to
// the new file runs beside it; also where the data file is a symbolic link into another folder
// and the new file appears there.
TEST_F(SingleInstanceTest, AFileRenamedIntoPlaceIsHeldAtOnceWhateverLinkLeadsToIt)
{
    const QString target = home() + QStringLiteral("/synced/mervane.json");
    for (const bool linked : { false, true }) {
        SCOPED_TRACE(linked ? "a symbolic link into another folder" : "a file");
        if (linked) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(target).path()));
            writeFile(target, "{}");
            ASSERT_TRUE(QFile::remove(dataFilePath()));
            ASSERT_TRUE(QFile::link(target, dataFilePath()));
        } else {
            writeFile(dataFilePath(), "{}");
        }
        const QString real = linked ? target : dataFilePath();
        QProcess* holder = startChild(QStringLiteral("hold"), "acquired");
        ASSERT_TRUE(holder);
        const QStringList before = namesLeadingToHolder();
        QFileSystemWatcher runtime({ QFileInfo(SingleInstance::serverName(dataFilePath())).path() });
        QSignalSpy changed(&runtime, &QFileSystemWatcher::directoryChanged);

        // Made next to the file it replaces, as such programs do.
        const QString made = QFileInfo(real).path() + QStringLiteral("/new.json");
        writeFile(made, "{\"version\": \"other\"}");
        ASSERT_EQ(::rename(QFile::encodeName(made).constData(), QFile::encodeName(real).constData()), 0);
        // The holder makes each name under a passing one ("<name>.new-<pid>-<n>") and renames it
        // into place: only a name in place stays to be found again.
        const auto heldNewFile = [&] {
            const QStringList names = namesLeadingToHolder();
            return std::any_of(names.begin(), names.end(),
                [&](const QString& name) { return !name.contains(u'.') && !before.contains(name); });
        };
        const QDeadlineTimer deadline(10000);
        while (!heldNewFile() && !deadline.hasExpired())
            changed.wait(int(std::max<qint64>(deadline.remainingTime(), 1)));
        ASSERT_TRUE(heldNewFile()) << "the holder did not take the file moved into its place";

        const QString hard = home() + QStringLiteral("/other-%1/mervane.json").arg(linked);
        const QString symbolic = home() + QStringLiteral("/third-%1/mervane.json").arg(linked);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(hard).path()) && QDir().mkpath(QFileInfo(symbolic).path()));
        ASSERT_TRUE(hardLink(real, hard));
        ASSERT_TRUE(QFile::link(hard, symbolic));
        for (const QString& path : { hard, symbolic }) {
            EXPECT_EQ(claimThrough(path), Claim::OtherAnswered) << qPrintable(path);
            EXPECT_TRUE(waitForLine(*holder, "raise requested"));
        }
        holder->kill();
        ASSERT_TRUE(holder->waitForFinished(30000));
    }
}

// Where a snapshot tool keeps a hard link to every version, the holder still holds only the
// current version and a few before it: under a low descriptor limit every save is held. A
// holder killed with -9 leaves its names behind, also one it was making or removing at that
// moment; the next start, of any data file, clears them, but not a name a live process is
// making.
TEST_F(SingleInstanceTest, HeldVersionsStayFewWhateverLinksKeepThemAndAKilledHoldersNamesGo)
{
    QProcess* holder = startChild(QStringLiteral("save-linked"), "saved");
    ASSERT_TRUE(holder);
    const qint64 killed = holder->processId();
    // The current version and three before it.
    EXPECT_LE(namesLeadingToHolder().size(), 4);
    const QString current = home() + QStringLiteral("/current.json");
    ASSERT_TRUE(hardLink(dataFilePath(), current));
    EXPECT_EQ(claimThrough(current), Claim::OtherAnswered);

    holder->kill();
    ASSERT_TRUE(holder->waitForFinished(30000));
    const QStringList left = namesLeadingToHolder();
    ASSERT_GT(left.size(), 0);
    // Each leads to a socket nobody listens at: only the process named in it tells them apart.
    const QString socket = SingleInstance::serverName(dataFilePath());
    const QString halfMade = QStringLiteral("%1.new-%2-1").arg(left.first()).arg(killed);
    const QString halfRemoved = QStringLiteral("%1.gone-%2-1").arg(left.first()).arg(killed);
    const QString beingMade
        = QStringLiteral("%1.new-%2-1").arg(left.first()).arg(QCoreApplication::applicationPid());
    for (const QString& name : { halfMade, halfRemoved, beingMade })
        ASSERT_TRUE(QFile::link(socket, QFileInfo(socket).dir().filePath(name))) << qPrintable(name);

    EXPECT_EQ(claimThrough(home() + QStringLiteral("/elsewhere.json")), Claim::Acquired);
    EXPECT_EQ(namesLeadingToHolder().join(u' ').toStdString(), beingMade.toStdString());
}

TEST_F(SingleInstanceTest, TheHoldersMinimisedWindowComesForwardWhenALaterOneAsks)
{
    SingleInstance instance(dataFilePath());
    ASSERT_EQ(instance.tryAcquire().valueOr(Claim::OtherSilent), Claim::Acquired);
    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window,
        [&window] { ApplicationSetup::bringToFront(&window); });

    QSignalSpy raised(&instance, &SingleInstance::raiseRequested);
    QProcess later;
    later.start(QStringLiteral(MERVANE_PROCESS_CHILD), { QStringLiteral("claim") });
    ASSERT_TRUE(raised.wait(30000));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    ASSERT_TRUE(later.waitForFinished(30000));
    EXPECT_EQ(later.readAllStandardOutput(), "answered\n");
}

TEST_F(SingleInstanceTest, ALockFileThatCannotBeMadeIsAnError)
{
    SingleInstance instance(home() + QStringLiteral("/missing/mervane.json"));
    const auto claim = instance.tryAcquire();
    ASSERT_FALSE(claim);
    EXPECT_TRUE(claim.error().contains(QStringLiteral("missing/mervane.json.lock")))
        << qPrintable(claim.error());
}

TEST_F(SingleInstanceTest, TheSocketNameFollowsTheCanonicalDataFileInTheUsersRuntimeFolder)
{
    const QString real = home() + QStringLiteral("/real");
    ASSERT_TRUE(QDir().mkpath(real));
    ASSERT_TRUE(QFile::link(real, home() + QStringLiteral("/alias")));

    const QString name = SingleInstance::serverName(real + QStringLiteral("/mervane.json"));
    EXPECT_EQ(SingleInstance::serverName(home() + QStringLiteral("/alias/mervane.json")), name);
    EXPECT_EQ(SingleInstance::serverName(home() + QStringLiteral("/real/../real/mervane.json")), name);
    EXPECT_NE(SingleInstance::serverName(real + QStringLiteral("/other.json")), name);
    EXPECT_EQ(QFileInfo(name).path(), QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
}

} // namespace
