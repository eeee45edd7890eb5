#include "platform/Clock.h"
#include "platform/FileIO.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

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

} // namespace
