#include "platform/Clock.h"
#include "platform/FileIO.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <stdio.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(KeptCopiesTest, ManyCopiesWithinOneSecondKeepNamesOfTheirOwnAndTheNewestStay)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"data.json"_s);
    const QString kind = u"before-import"_s;
    QStringList returned;
    const auto copyVersion = [&](int version) {
        const QByteArray bytes = "version " + QByteArray::number(version);
        ASSERT_FALSE(platform::writeFileAtomically(path, bytes));
        const platform::Expected<QString> copy = platform::keepCopy(path, kind, 10);
        ASSERT_TRUE(copy) << copy.error().toStdString();
        // The copy just made is never the one the rotation removes.
        EXPECT_EQ(contentsOf(*copy), bytes) << copy->toStdString();
        returned.append(*copy);
    };
    {
        const platform::ScopedClock clock(QDateTime(QDate(2026, 5, 1), QTime(10, 0, 0)));
        for (int version = 1; version <= 12; ++version)
            copyVersion(version);
    }
    {
        const platform::ScopedClock clock(QDateTime(QDate(2026, 5, 1), QTime(10, 0, 1)));
        for (int version = 13; version <= 14; ++version)
            copyVersion(version);
    }
    ASSERT_EQ(returned.size(), 14);
    EXPECT_TRUE(returned.at(0).endsWith(u"data.json.before-import-20260501-100000"_s));
    EXPECT_TRUE(returned.at(11).endsWith(u"-20260501-100000-12"_s)) << returned.at(11).toStdString();
    EXPECT_TRUE(returned.at(12).endsWith(u"-20260501-100001"_s)) << returned.at(12).toStdString();
    EXPECT_EQ(QSet<QString>(returned.cbegin(), returned.cend()).size(), 14);

    // The newest ten, oldest first: "-10" after "-9".
    const QStringList kept = platform::keptCopies(path, kind);
    EXPECT_EQ(kept, returned.mid(4));
    for (qsizetype i = 0; i < kept.size(); ++i)
        EXPECT_EQ(contentsOf(kept.at(i)), "version " + QByteArray::number(i + 5));
}

// A data file reached through a symbolic link, written as the store writes it: the link stays,
// and a version another program moves onto the file it leads to while a write runs is kept
// beside the link. Other writes replace whatever is there, as they always did.
TEST(AtomicWriteTest, AVersionMovedInDuringAWriteIsKeptAndTheLinkStays)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"elsewhere"_s));
    const QString real = folder.filePath(u"elsewhere/data.json"_s);
    const QString link = folder.filePath(u"data.json"_s);
    ASSERT_TRUE(QFile::link(real, link)); // leads nowhere yet
    ASSERT_FALSE(platform::writeFileAtomically(link, "first"));

    QByteArray known = "first";
    QStringList kept;
    QByteArray arriving;
    platform::WriteOptions options;
    options.beforeCommit = [&](int) {
        if (arriving.isEmpty())
            return;
        QFile file(real + u".theirs"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(arriving) == arriving.size());
        file.close();
        EXPECT_EQ(
            ::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(real).constData()), 0);
        arriving.clear();
    };
    options.replaced
        = platform::ReplacedFileCheck { [&](const QString& path) { return contentsOf(path) == known; },
              u"conflict"_s, [&](const QString& copy) { kept.append(copy); } };
    const auto write = [&](const QByteArray& bytes, const QByteArray& theirs) {
        arriving = theirs;
        ASSERT_FALSE(platform::writeFileAtomically(link, bytes, options));
        known = bytes;
        EXPECT_TRUE(arriving.isEmpty());
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(contentsOf(real), bytes);
    };

    write("second", "theirs");
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept.first().startsWith(link + u".conflict-"_s)) << kept.first().toStdString();
    EXPECT_EQ(contentsOf(kept.first()), "theirs");
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(kept.first()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    write("third", "second"); // the bytes known already, as a new file: nothing to keep
    write("fourth", {});
    EXPECT_EQ(kept.size(), 1);

    options.replaced.reset();
    write("fifth", "theirs, replaced");
    EXPECT_EQ(kept.size(), 1);
    // No version taken out or temporary file is left anywhere.
    const auto names = [](const QString& path) {
        return QDir(path)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            .join(u' ')
            .toStdString();
    };
    EXPECT_EQ(
        names(folder.path()), "data.json " + QFileInfo(kept.first()).fileName().toStdString() + " elsewhere");
    EXPECT_EQ(names(folder.filePath(u"elsewhere"_s)), "data.json");
}

} // namespace
