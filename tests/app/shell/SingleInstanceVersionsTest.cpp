#include "SingleInstanceTestSupport.h"

#include "model/store/DataFileWriter.h"
#include "support/TempHomeTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

using Claim = SingleInstance::Claim;
using mervane::test::claimElsewhere;
using mervane::test::hardLink;
using mervane::test::inodeOf;

/// A holder of "$HOME/mervane.json" whose saves go through the store's writer, as in the
/// application, and homes elsewhere whose data files are links made at chosen moments.
class SingleInstanceVersionsTest : public mervane::test::TempHomeTest {
protected:
    QString data() const { return homePath(u"mervane.json"_s); }

    void writeDirectly(const QByteArray& bytes) const
    {
        QFile file(data());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    /// Takes the data file as the application does, with its writer.
    void startHolder()
    {
        m_holder.emplace(data());
        const auto claim = m_holder->tryAcquire();
        ASSERT_TRUE(claim) << qPrintable(claim.error());
        ASSERT_EQ(*claim, Claim::Acquired);
        m_writer.beforeReplacing(data(), m_holder->versionLocker());
    }

    void save(int version)
    {
        ASSERT_EQ(m_writer.writeAndWait(
                      data(), "{\"version\": \"%1\"}"_ba.replace("%1", QByteArray::number(version))),
            std::nullopt);
    }

    /// A hard link to the data file as it is now, as another home's data file.
    QString linkFromAnotherHome(const QString& home)
    {
        EXPECT_TRUE(QDir().mkpath(homePath(home)));
        const QString link = homePath(home + u"/mervane.json"_s);
        // The kernel refuses a link to a file that a rename is replacing at that instant.
        bool linked = hardLink(data(), link);
        for (int tries = 0; !linked && errno == ENOENT && tries < 100; ++tries)
            linked = hardLink(data(), link);
        EXPECT_TRUE(linked) << qPrintable(link) << ": " << std::strerror(errno);
        return link;
    }

    /// Whether a start through `path` was answered by the holder.
    static ::testing::AssertionResult answered(const QString& path)
    {
        const auto claim = claimElsewhere(path);
        if (!claim)
            return ::testing::AssertionFailure()
                << "the start through " << qPrintable(path) << " did not end";
        if (!*claim)
            return ::testing::AssertionFailure() << qPrintable(claim->error());
        if (**claim != Claim::OtherAnswered)
            return ::testing::AssertionFailure()
                << "the start through " << qPrintable(path)
                << (**claim == Claim::Acquired ? " ran beside the holder" : " found no answer");
        return ::testing::AssertionSuccess();
    }

    /// How many names in the runtime folder lead to the holder's socket.
    int namesLeadingToHolder() const { return int(mervane::test::namesLeadingToHolder(data()).size()); }

    DataFileWriter m_writer;
    std::optional<SingleInstance> m_holder;
};

// A save puts a new file in the data file's place; a link made to it afterwards is a link to
// the data file as much as one made before.
TEST_F(SingleInstanceVersionsTest, HardLinksMadeBeforeAndAfterEachOfFiveSavesLeadToTheHolder)
{
    writeDirectly("{}");
    startHolder();
    QSignalSpy raised(&*m_holder, &SingleInstance::raiseRequested);
    for (int version = 1; version <= 5; ++version) {
        SCOPED_TRACE(version);
        const QString before = linkFromAnotherHome(u"before-%1"_s.arg(version));
        save(version);
        const QString after = linkFromAnotherHome(u"after-%1"_s.arg(version));
        ASSERT_EQ(inodeOf(after), inodeOf(data()));
        ASSERT_NE(inodeOf(before), inodeOf(data())) << "the save did not replace the file";
        EXPECT_TRUE(answered(after));
        EXPECT_TRUE(answered(before));
    }
    // A symbolic link to such a hard link, from yet another home.
    ASSERT_TRUE(QDir().mkpath(homePath(u"symbolic"_s)));
    ASSERT_TRUE(QFile::link(homePath(u"after-5/mervane.json"_s), homePath(u"symbolic/mervane.json"_s)));
    EXPECT_TRUE(answered(homePath(u"symbolic/mervane.json"_s)));
    EXPECT_EQ(raised.count(), 11);
}

TEST_F(SingleInstanceVersionsTest, TheFileTheFirstSaveMakesIsHeldFromTheStart)
{
    startHolder(); // no data file yet
    save(1);
    const QString link = linkFromAnotherHome(u"other"_s);
    EXPECT_TRUE(answered(link));
    EXPECT_TRUE(answered(data()));
    save(2);
    EXPECT_TRUE(answered(linkFromAnotherHome(u"later"_s)));
}

// Versions no path leads to any more are let go, so that the holder does not collect a
// descriptor and a name per save; one a link still leads to stays held, and every one is let
// go with the holder.
TEST_F(SingleInstanceVersionsTest, VersionsNoPathLeadsToAreLetGoAndTheRestGoWithTheHolder)
{
    writeDirectly("{}");
    startHolder();
    save(1);
    const QString kept = linkFromAnotherHome(u"kept"_s);
    save(2);
    save(3);
    // The linked version, the one in place and the one before it.
    const int names = namesLeadingToHolder();
    EXPECT_GE(names, 2);
    for (int version = 4; version < 40; ++version)
        save(version);
    EXPECT_LE(namesLeadingToHolder(), names);
    EXPECT_TRUE(answered(kept));
    const QString current = linkFromAnotherHome(u"current"_s);

    m_holder.reset();
    EXPECT_EQ(namesLeadingToHolder(), 0);
    for (const QString& path : { kept, current }) {
        SingleInstance next(path);
        EXPECT_EQ(next.tryAcquire(0).valueOr(Claim::OtherSilent), Claim::Acquired) << qPrintable(path);
    }
}

// Starts through links made while saves replace the file, each link to whichever version
// is in place at that moment.
TEST_F(SingleInstanceVersionsTest, StartsRacingSavesAllFindTheHolder)
{
    writeDirectly("{}");
    startHolder();
    constexpr int saves = 150;
    std::atomic<int> written = 0;
    for (int version = 0; version < saves; ++version)
        m_writer.write(data(), QByteArray(2000, char('a' + version % 26)),
            [&written](platform::MaybeError error) { written += !error; });
    int starts = 0;
    while (written.load() < saves || starts < 10) {
        ASSERT_TRUE(answered(linkFromAnotherHome(u"race-%1"_s.arg(starts)))) << "start " << starts;
        ++starts;
    }
    m_writer.waitForPendingWrites();
    EXPECT_EQ(written.load(), saves);
}

} // namespace
