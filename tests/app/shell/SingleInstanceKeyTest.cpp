#include "app/shell/SingleInstance.h"

#include "support/TempHomeTest.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using Claim = SingleInstance::Claim;

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

    // The later start blocks while it waits for the answer, so it runs on a thread of its
    // own and this one keeps the holder's event loop going.
    std::optional<platform::Expected<Claim>> later;
    std::unique_ptr<QThread> secondStart(QThread::create([&] {
        SingleInstance instance(second());
        later = instance.tryAcquire(30000);
    }));
    QEventLoop loop;
    QObject::connect(secondStart.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    secondStart->start();
    loop.exec();
    ASSERT_TRUE(secondStart->wait(30000));

    ASSERT_TRUE(later && *later) << "the later start found no answer";
    EXPECT_EQ(**later, Claim::OtherAnswered);
    EXPECT_EQ(raised.count(), 1);
    // The holder still owns its socket: the later start did not take it over.
    EXPECT_TRUE(QFileInfo::exists(SingleInstance::serverName(first())));
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
