#include "SingleInstanceTestSupport.h"

#include "app/shell/DataFolderWatch.h"

#include "model/store/DataFileWriter.h"
#include "support/TempHomeTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Claim = SingleInstance::Claim;
using mervane::test::claimElsewhere;
using mervane::test::hardLink;

/// Two homes of one user: `first` holds the data file, `second`'s data file is a link to it.
class SingleInstanceKeyTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(homePath(u"first"_s)));
        ASSERT_TRUE(QDir().mkpath(homePath(u"second"_s)));
        QFile data(first());
        ASSERT_TRUE(data.open(QIODevice::WriteOnly));
        data.write("{}");
        data.close();
        ASSERT_TRUE(QFile::link(first(), second()));
    }
    QString first() const { return homePath(u"first/mervane.json"_s); }
    QString second() const { return homePath(u"second/mervane.json"_s); }
    QString canonicalHome() const { return QFileInfo(home()).canonicalFilePath(); }
};

TEST_F(SingleInstanceKeyTest, EveryPathToOneDataFileHasOneLockAndOneSocket)
{
    const QString lock = SingleInstance::lockFilePath(first());
    EXPECT_EQ(lock, canonicalHome() + u"/first/mervane.json.lock"_s);
    EXPECT_EQ(SingleInstance::lockFilePath(second()), lock);
    EXPECT_EQ(SingleInstance::serverName(second()), SingleInstance::serverName(first()));

    // A link to the link, and a linked folder.
    ASSERT_TRUE(QFile::link(second(), homePath(u"third.json"_s)));
    ASSERT_TRUE(QFile::link(homePath(u"first"_s), homePath(u"alias"_s)));
    for (const QString& path : { homePath(u"third.json"_s), homePath(u"alias/mervane.json"_s) }) {
        EXPECT_EQ(SingleInstance::lockFilePath(path), lock) << qPrintable(path);
        EXPECT_EQ(SingleInstance::serverName(path), SingleInstance::serverName(first())) << qPrintable(path);
    }

    // Before the first save the link points at nothing yet; it still names that file.
    ASSERT_TRUE(QDir().mkpath(homePath(u"new"_s)));
    ASSERT_TRUE(QFile::link(homePath(u"new/mervane.json"_s), homePath(u"second/unsaved.json"_s)));
    EXPECT_EQ(SingleInstance::lockFilePath(homePath(u"second/unsaved.json"_s)),
        canonicalHome() + u"/new/mervane.json.lock"_s);
    EXPECT_EQ(SingleInstance::serverName(homePath(u"second/unsaved.json"_s)),
        SingleInstance::serverName(homePath(u"new/mervane.json"_s)));

    // Other files keep other keys.
    EXPECT_NE(SingleInstance::lockFilePath(homePath(u"new/mervane.json"_s)), lock);
    EXPECT_NE(
        SingleInstance::serverName(homePath(u"new/mervane.json"_s)), SingleInstance::serverName(first()));

    // Links that point at each other end somewhere in their folder.
    ASSERT_TRUE(QFile::link(homePath(u"loop-a"_s), homePath(u"loop-b"_s)));
    ASSERT_TRUE(QFile::link(homePath(u"loop-b"_s), homePath(u"loop-a"_s)));
    EXPECT_EQ(QFileInfo(SingleInstance::lockFilePath(homePath(u"loop-a"_s))).path(), canonicalHome());
}

TEST_F(SingleInstanceKeyTest, AStartThroughALinkAsksTheHolderOfTheFileToComeForward)
{
    SingleInstance holder(first());
    const auto held = holder.tryAcquire();
    ASSERT_TRUE(held) << qPrintable(held.error());
    ASSERT_EQ(*held, Claim::Acquired);
    QSignalSpy raised(&holder, &SingleInstance::raiseRequested);

    const auto later = claimElsewhere(second());
    ASSERT_TRUE(later && *later) << "the later start found no answer";
    EXPECT_EQ(**later, Claim::OtherAnswered);
    EXPECT_EQ(raised.count(), 1);
    // The holder still owns its socket: the later start did not take it over.
    EXPECT_TRUE(QFileInfo::exists(SingleInstance::serverName(first())));
}

// A hard link is another name of the same file in another folder: no path leads from one to
// the other, only the file itself does.
TEST_F(SingleInstanceKeyTest, AStartThroughAHardLinkAsksTheHolderOfTheFileToComeForward)
{
    ASSERT_TRUE(QDir().mkpath(homePath(u"hard"_s)));
    const QString hard = homePath(u"hard/mervane.json"_s);
    ASSERT_TRUE(hardLink(first(), hard));
    const QString hardLock = homePath(u"hard/mervane.json.lock"_s);

    std::optional<SingleInstance> holder(std::in_place, first());
    const auto held = holder->tryAcquire();
    ASSERT_TRUE(held) << qPrintable(held.error());
    ASSERT_EQ(*held, Claim::Acquired);
    QSignalSpy raised(&*holder, &SingleInstance::raiseRequested);

    const auto later = claimElsewhere(hard);
    ASSERT_TRUE(later && *later) << "the later start found no answer";
    EXPECT_EQ(**later, Claim::OtherAnswered);
    EXPECT_EQ(raised.count(), 1);
    EXPECT_FALSE(QFileInfo::exists(hardLock)) << "the later start kept a lock of its own";

    // The holder saves: a new file takes the old one's place under its path, and the hard
    // link keeps the file as it was. Both still lead to the holder.
    ASSERT_TRUE(QFile::rename(first(), homePath(u"first/old.json"_s)));
    QFile saved(first());
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
    saved.write("{ }");
    saved.close();
    for (const QString& path : { first(), hard }) {
        const auto again = claimElsewhere(path);
        ASSERT_TRUE(again && *again) << qPrintable(path);
        EXPECT_EQ(**again, Claim::OtherAnswered) << qPrintable(path);
    }
    EXPECT_EQ(raised.count(), 3);

    // Once the holder is gone, a start through the hard link is the holder.
    holder.reset();
    SingleInstance next(hard);
    const auto claim = next.tryAcquire();
    ASSERT_TRUE(claim) << qPrintable(claim.error());
    EXPECT_EQ(*claim, Claim::Acquired);
    EXPECT_TRUE(QFileInfo::exists(hardLock));
}

// Sync clients replace a whole folder: the old one is renamed away or deleted, and a new one
// with a data file is made at its path. The holder follows the folder at the path and holds the
// data file in it, whether that is the data file's own folder or the one its link leads to.
TEST_F(SingleInstanceKeyTest, AFolderPutInPlaceOfTheDataFilesFolderIsFollowedAndItsDataFileHeld)
{
    const QString folder = homePath(u"first"_s);
    int replaced = 0;
    for (const QString& path : { first(), second() }) {
        SCOPED_TRACE(qPrintable(path));
        SingleInstance holder(path);
        ASSERT_EQ(holder.tryAcquire().valueOr(Claim::OtherSilent), Claim::Acquired);
        // Named after the folder as it was: the new one is another folder.
        const QString socket = SingleInstance::serverName(path);
        QSignalSpy raised(&holder, &SingleInstance::raiseRequested);
        for (const bool deleted : { false, true }) {
            SCOPED_TRACE(deleted ? "deleted" : "renamed away");
            const QStringList before = mervane::test::namesLeadingTo(socket);
            if (deleted)
                ASSERT_TRUE(QDir(folder).removeRecursively());
            else
                ASSERT_TRUE(QDir().rename(folder, homePath(u"replaced-%1"_s.arg(++replaced))));
            ASSERT_TRUE(QDir().mkpath(folder));
            QFile data(first());
            ASSERT_TRUE(data.open(QIODevice::WriteOnly));
            data.write("{\"version\": \"synced\"}");
            data.close();

            const bool held = QTest::qWaitFor(
                [&] {
                    const QStringList names = mervane::test::namesLeadingTo(socket);
                    return std::any_of(names.begin(), names.end(),
                        [&](const QString& name) { return !before.contains(name); });
                },
                10000);
            ASSERT_TRUE(held)
                << "the holder did not take the data file in the folder put in place of its own";
            for (const QString& start : { first(), second() }) {
                const auto later = claimElsewhere(start);
                ASSERT_TRUE(later && *later) << "the start through " << qPrintable(start) << " did not end";
                EXPECT_EQ(**later, Claim::OtherAnswered) << qPrintable(start);
            }
        }
        EXPECT_EQ(raised.count(), 4);
    }
}

// Files made and removed beside a folder on the way to the data file cost the watch no work;
// a folder put in place of one on the way is still followed. The watch asks for its folders
// once at the start and each time it works out the way again, which it does only for a data
// folder's change (then tells of it) or for a replacement (then too).
TEST_F(SingleInstanceKeyTest, TheFolderWatchWorksOnlyForChangesOnTheWayToTheDataFile)
{
    const QString data = homePath(u"above/way/data"_s);
    ASSERT_TRUE(QDir().mkpath(data));
    int asked = 0;
    int told = 0;
    bool sawMarker = false;
    DataFolderWatch watch(
        [&] {
            ++asked;
            return QStringList { data };
        },
        [&] {
            ++told;
            sawMarker = sawMarker || QFileInfo::exists(data + u"/marker"_s);
        });
    ASSERT_EQ(watch.follow(), QStringList());
    for (int i = 0; i < 5; ++i) {
        for (const QString& folder : { homePath(u"above"_s), homePath(u"above/way"_s) }) {
            QFile unrelated(folder + u"/unrelated"_s);
            ASSERT_TRUE(unrelated.open(QIODevice::WriteOnly));
            unrelated.close();
            ASSERT_TRUE(unrelated.remove());
        }
    }
    QFile inData(data + u"/new.json"_s);
    ASSERT_TRUE(inData.open(QIODevice::WriteOnly));
    inData.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return told > 0; }, 10000));
    EXPECT_EQ(asked, 1 + told);

    const QString fresh = homePath(u"fresh/way"_s);
    ASSERT_TRUE(QDir().mkpath(fresh + u"/data"_s));
    ASSERT_TRUE(QDir().rename(homePath(u"above/way"_s), homePath(u"old-way"_s)));
    ASSERT_TRUE(QDir().rename(fresh, homePath(u"above/way"_s)));
    QFile marker(data + u"/marker"_s);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sawMarker; }, 10000))
        << "the data folder put in place was not followed";
    EXPECT_EQ(asked, 1 + told);
}

// More changes than the kernel queues while the watch is busy: the events after them are lost,
// among them the replacement of the folder above the data folder. The watch works out the whole
// way again, follows the new folder and tells of it.
TEST_F(SingleInstanceKeyTest, AFolderReplacedWhileTheWatchLostItsEventsIsFollowed)
{
    QFile limit(u"/proc/sys/fs/inotify/max_queued_events"_s);
    ASSERT_TRUE(limit.open(QIODevice::ReadOnly));
    const int queued = limit.readAll().trimmed().toInt();
    if (queued <= 0 || queued > 1'000'000)
        GTEST_SKIP() << "the kernel queues " << queued << " folder events";
    const QString data = homePath(u"above/way/data"_s);
    ASSERT_TRUE(QDir().mkpath(data));
    int told = 0;
    bool sawMarker = false;
    DataFolderWatch watch([&] { return QStringList { data }; },
        [&] {
            ++told;
            sawMarker = sawMarker || QFileInfo::exists(data + u"/marker"_s);
        });
    ASSERT_EQ(watch.follow(), QStringList());

    // Each file made and removed is two events; none is read until the event loop runs.
    const QByteArray churn = QFile::encodeName(data + u"/churn"_s);
    for (int i = 0; i <= queued / 2; ++i) {
        const int file = ::open(churn.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        ASSERT_GE(file, 0);
        ::close(file);
        ASSERT_EQ(::unlink(churn.constData()), 0);
    }
    const QString fresh = homePath(u"fresh/way"_s);
    ASSERT_TRUE(QDir().mkpath(fresh + u"/data"_s));
    ASSERT_TRUE(QDir().rename(homePath(u"above/way"_s), homePath(u"old-way"_s)));
    ASSERT_TRUE(QDir().rename(fresh, homePath(u"above/way"_s)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return told > 0; }, 10000)) << "the lost events were not told of";

    QFile marker(data + u"/marker"_s);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sawMarker; }, 10000))
        << "the data folder put in place while the events were lost was not followed";
}

// The later start lets go of its own path's lock before it asks: a start through that path
// meanwhile must find the holder, not an instance that is about to give up.
TEST_F(SingleInstanceKeyTest, AStartThatFindsTheFileHeldHoldsNoLockOfItsOwnWhileItAsks)
{
    ASSERT_TRUE(QDir().mkpath(homePath(u"hard"_s)));
    const QString hard = homePath(u"hard/mervane.json"_s);
    ASSERT_TRUE(hardLink(first(), hard));
    SingleInstance holder(first());
    ASSERT_EQ(holder.tryAcquire().valueOr(Claim::OtherSilent), Claim::Acquired);
    std::optional<bool> pathFreeWhileAsked;
    QObject::connect(&holder, &SingleInstance::raiseRequested, &holder, [&] {
        QLockFile probe(SingleInstance::lockFilePath(hard));
        pathFreeWhileAsked = probe.tryLock(0);
    });

    const auto later = claimElsewhere(hard);
    ASSERT_TRUE(later && *later) << "the later start found no answer";
    EXPECT_EQ(**later, Claim::OtherAnswered);
    ASSERT_TRUE(pathFreeWhileAsked.has_value()) << "the holder was not asked";
    EXPECT_TRUE(*pathFreeWhileAsked) << "the later start kept its path locked while it asked";
}

// A bind mount of the data folder is another path to the very folder. Mounting needs a mount
// namespace of its own: ctest runs this case in one (app_shell_tests.bind_mount).
TEST_F(SingleInstanceKeyTest, AStartThroughABindMountOfTheDataFolderAsksTheHolder)
{
    if (!qEnvironmentVariableIsSet("MERVANE_BIND_MOUNTS"))
        GTEST_SKIP() << "runs in a mount namespace of its own";
    const QByteArray bound = QFile::encodeName(homePath(u"bound"_s));
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(bound)));
    ASSERT_EQ(::mount(QFile::encodeName(homePath(u"first"_s)).constData(), bound.constData(), nullptr,
                  MS_BIND, nullptr),
        0)
        << std::strerror(errno);
    const auto unmount = qScopeGuard([&bound] { ::umount2(bound.constData(), MNT_DETACH); });

    SingleInstance holder(first());
    ASSERT_EQ(holder.tryAcquire().valueOr(Claim::OtherSilent), Claim::Acquired);
    DataFileWriter writer;
    writer.beforeReplacing(first(), holder.versionLocker());
    QSignalSpy raised(&holder, &SingleInstance::raiseRequested);
    // Before and after a save.
    for (int saves = 0; saves < 2; ++saves) {
        const auto later = claimElsewhere(QFile::decodeName(bound) + u"/mervane.json"_s);
        ASSERT_TRUE(later && *later) << "the start through the bind mount found no answer";
        EXPECT_EQ(**later, Claim::OtherAnswered) << saves << " saves";
        ASSERT_EQ(writer.writeAndWait(first(), "{ }"), std::nullopt);
    }
    EXPECT_EQ(raised.count(), 2);
}

TEST_F(SingleInstanceKeyTest, TheInstanceSocketIsOpenToItsUserAlone)
{
    // With no mask at all, only the socket's own mode keeps others out.
    const mode_t previous = ::umask(0);
    SingleInstance holder(first());
    const auto held = holder.tryAcquire();
    ::umask(previous);
    ASSERT_TRUE(held) << qPrintable(held.error());
    ASSERT_EQ(*held, Claim::Acquired);

    struct stat status { };
    const QByteArray socket = QFile::encodeName(SingleInstance::serverName(first()));
    ASSERT_EQ(::stat(socket.constData(), &status), 0) << socket.constData();
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & (S_IRWXG | S_IRWXO), 0u) << std::oct << status.st_mode;
}

} // namespace
