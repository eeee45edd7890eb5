#include "platform/UserDefaults.h"

#include "platform/Clock.h"

#include "support/TempHomeTest.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

#include <sys/stat.h>

using platform::UserDefaults;

namespace {

class UserDefaultsTest : public mervane::test::TempHomeTest { };

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

int modeOf(const QString& path)
{
    struct stat info { };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

TEST_F(UserDefaultsTest, ContainsTellsAnEmptyValueFromAnAbsentOne)
{
    auto& defaults = UserDefaults::standard();
    EXPECT_FALSE(defaults.contains(QStringLiteral("exportPath")));
    EXPECT_TRUE(defaults.value(QStringLiteral("exportPath")).isNull());

    defaults.setValue(QStringLiteral("exportPath"), QStringLiteral(""));
    defaults.setValue(QStringLiteral("NWFilterIDArrayKey"), QVariantList {});
    EXPECT_TRUE(defaults.contains(QStringLiteral("exportPath")));
    EXPECT_TRUE(defaults.contains(QStringLiteral("NWFilterIDArrayKey")));
    EXPECT_EQ(defaults.string(QStringLiteral("exportPath"), QStringLiteral("fallback")), QString());

    defaults.setValue(QStringLiteral("exportPath"), QVariant());
    EXPECT_FALSE(defaults.contains(QStringLiteral("exportPath")));
}

TEST_F(UserDefaultsTest, TypedReadsUseTheFallbackForAbsentOrMismatchedValues)
{
    auto& defaults = UserDefaults::standard();
    EXPECT_EQ(defaults.integer(QStringLiteral("MaxAnnualYears"), 10), 10);
    EXPECT_EQ(defaults.real(QStringLiteral("nwGoalAmount"), 2.5), 2.5);
    EXPECT_TRUE(defaults.boolean(QStringLiteral("ShowStartForm"), true));
    EXPECT_EQ(defaults.stringList(QStringLiteral("ids"), { QStringLiteral("x") }),
        QStringList { QStringLiteral("x") });

    defaults.setValue(QStringLiteral("text"), QStringLiteral("not a number"));
    EXPECT_EQ(defaults.integer(QStringLiteral("text"), 7), 7);
    EXPECT_EQ(defaults.real(QStringLiteral("text"), 1.25), 1.25);
    EXPECT_TRUE(defaults.boolean(QStringLiteral("text"), true));
    EXPECT_EQ(defaults.list(QStringLiteral("text"), { 1 }), QVariantList { 1 });
    EXPECT_EQ(defaults.map(QStringLiteral("text")), QVariantMap());

    defaults.setValue(QStringLiteral("number"), 3);
    EXPECT_EQ(defaults.integer(QStringLiteral("number"), 0), 3);
    EXPECT_EQ(defaults.real(QStringLiteral("number"), 0), 3.0);
    EXPECT_TRUE(defaults.boolean(QStringLiteral("number"), false));
    EXPECT_EQ(defaults.stringList(QStringLiteral("number"), { QStringLiteral("f") }),
        QStringList { QStringLiteral("f") });

    defaults.setValue(QStringLiteral("mixed"), QVariantList { QStringLiteral("a"), 1 });
    EXPECT_EQ(defaults.stringList(QStringLiteral("mixed"), { QStringLiteral("f") }),
        QStringList { QStringLiteral("f") });
}

// A settings file is input from disk: numbers far outside what a key can hold, and numbers
// that are no numbers, must come out as numbers within the range the reader asks for.
TEST_F(UserDefaultsTest, EdgeNumbersFromTheFileNeitherOverflowNorEscapeTheirRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const qint64 most = std::numeric_limits<qint64>::max();
    const qint64 least = std::numeric_limits<qint64>::min();
    QCborMap map;
    map.insert(QStringLiteral("nan"), nan);
    map.insert(QStringLiteral("inf"), inf);
    map.insert(QStringLiteral("-inf"), -inf);
    map.insert(QStringLiteral("huge"), 1e300);
    map.insert(QStringLiteral("-huge"), -1e300);
    map.insert(QStringLiteral("fraction"), -2.75);
    map.insert(QStringLiteral("int max"), qint64(std::numeric_limits<int>::max()));
    map.insert(QStringLiteral("int min"), qint64(std::numeric_limits<int>::min()));
    map.insert(QStringLiteral("most"), most);
    map.insert(QStringLiteral("least"), least);
    map.insert(QStringLiteral("huge text"), QStringLiteral("1e300"));
    map.insert(QStringLiteral("nan text"), QStringLiteral("nan"));
    const QString path = UserDefaults::standardFilePath();
    QDir().mkpath(QFileInfo(path).path());
    writeFile(path, map.toCborValue().toCbor());
    UserDefaults::resetStandard();
    const auto& defaults = UserDefaults::standard();

    const auto integer = [&](const char* key) { return defaults.integer(QString::fromLatin1(key), 7); };
    EXPECT_EQ(integer("nan"), 7);
    EXPECT_EQ(integer("nan text"), 7);
    EXPECT_EQ(integer("inf"), most);
    EXPECT_EQ(integer("-inf"), least);
    EXPECT_EQ(integer("huge"), most);
    EXPECT_EQ(integer("-huge"), least);
    EXPECT_EQ(integer("huge text"), most);
    EXPECT_EQ(integer("fraction"), -2);
    EXPECT_EQ(integer("most"), most);
    EXPECT_EQ(integer("least"), least);

    const auto within = [&](const char* key) { return defaults.integer(QString::fromLatin1(key), 5, 1, 10); };
    EXPECT_EQ(within("int max"), 10);
    EXPECT_EQ(within("int min"), 1);
    EXPECT_EQ(within("huge"), 10);
    EXPECT_EQ(within("-inf"), 1);
    EXPECT_EQ(within("nan"), 5);
    EXPECT_EQ(within("absent"), 5);
    EXPECT_EQ(within("fraction"), 1);

    const auto real
        = [&](const char* key) { return defaults.real(QString::fromLatin1(key), 1.5, -100, 100); };
    EXPECT_EQ(real("nan"), 1.5);
    EXPECT_EQ(real("nan text"), 1.5);
    EXPECT_EQ(real("inf"), 1.5);
    EXPECT_EQ(real("huge"), 100);
    EXPECT_EQ(real("-huge"), -100);
    EXPECT_EQ(real("fraction"), -2.75);
    EXPECT_EQ(real("absent"), 1.5);
}

TEST_F(UserDefaultsTest, ValuesKeepTheirTypesAcrossInstances)
{
    const QDateTime when(QDate(2026, 12, 6), QTime(10, 30), Qt::UTC);
    {
        auto& defaults = UserDefaults::standard();
        defaults.setValue(QStringLiteral("SelectedAppearance"), 2);
        defaults.setValue(QStringLiteral("nwGoalAmount"), 1234567.89);
        defaults.setValue(QStringLiteral("ShowStartForm"), false);
        defaults.setValue(QStringLiteral("empty"), QStringList {});
        defaults.setValue(QStringLiteral("one"), QStringList { QStringLiteral("only") });
        defaults.setValue(
            QStringLiteral("nested"), QVariantMap { { QStringLiteral("k"), QVariantList { 1, 2 } } });
        defaults.setValue(QStringLiteral("bytes"), QByteArray("\x00\x01\xff", 3));
        defaults.setValue(QStringLiteral("when"), when);
        ASSERT_TRUE(defaults.synchronize());
    }
    UserDefaults::resetStandard();

    auto& reread = UserDefaults::standard();
    EXPECT_TRUE(QFileInfo::exists(UserDefaults::standardFilePath()));
    EXPECT_EQ(reread.integer(QStringLiteral("SelectedAppearance"), 0), 2);
    EXPECT_DOUBLE_EQ(reread.real(QStringLiteral("nwGoalAmount"), 0), 1234567.89);
    EXPECT_FALSE(reread.boolean(QStringLiteral("ShowStartForm"), true));
    EXPECT_TRUE(reread.contains(QStringLiteral("empty")));
    EXPECT_EQ(reread.stringList(QStringLiteral("empty"), { QStringLiteral("fallback") }), QStringList());
    EXPECT_EQ(reread.stringList(QStringLiteral("one")), QStringList { QStringLiteral("only") });
    EXPECT_EQ(
        reread.map(QStringLiteral("nested")).value(QStringLiteral("k")).toList(), (QVariantList { 1, 2 }));
    EXPECT_EQ(reread.data(QStringLiteral("bytes")), QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(reread.value(QStringLiteral("when")).toDateTime(), when);
}

TEST_F(UserDefaultsTest, ACorruptFileReadsAsEmptyAndReportsIt)
{
    const QString path = UserDefaults::standardFilePath();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not cbor");
    file.close();

    UserDefaults defaults(path);
    EXPECT_FALSE(defaults.contains(QStringLiteral("anything")));
    EXPECT_EQ(defaults.integer(QStringLiteral("anything"), 5), 5);
    EXPECT_FALSE(defaults.synchronize());
}

// Well-formed CBOR of another shape is as unreadable as garbage, and the user's bytes are
// kept aside before anything new replaces them.
TEST_F(UserDefaultsTest, AFileThatIsNotAMapIsReportedAndKeptAsideBeforeItIsReplaced)
{
    const QString path = UserDefaults::standardFilePath();
    const QString folder = QFileInfo(path).path();
    const struct {
        const char* shape;
        QByteArray bytes;
    } cases[] = {
        { "array", QCborArray { 1, QStringLiteral("mcmain") }.toCborValue().toCbor() },
        { "number", QCborValue(42).toCbor() },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        writeFile(path, c.bytes);

        UserDefaults defaults(path);
        EXPECT_FALSE(defaults.contains(QStringLiteral("0")));
        EXPECT_EQ(defaults.integer(QStringLiteral("anything"), 5), 5);
        EXPECT_FALSE(defaults.synchronize());
        EXPECT_EQ(readFile(path), c.bytes) << "a read must not touch the file";

        defaults.setValue(QStringLiteral("mcmain"), QStringLiteral("{{1, 2}, {900, 600}}"));
        defaults.synchronize();
        const QStringList copies
            = QDir(folder).entryList({ QStringLiteral("Mervane.cbor.unreadable-*") }, QDir::Files);
        ASSERT_EQ(copies.size(), 1) << qPrintable(QDir(folder).entryList().join(u' '));
        EXPECT_EQ(readFile(QDir(folder).filePath(copies.first())), c.bytes);

        UserDefaults reread(path);
        EXPECT_EQ(reread.string(QStringLiteral("mcmain")), QStringLiteral("{{1, 2}, {900, 600}}"));
        EXPECT_TRUE(reread.synchronize());
    }
}

TEST_F(UserDefaultsTest, AnUnreadableFileThatCannotBeKeptAsideIsNotReplaced)
{
    const platform::ScopedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 30), Qt::UTC));
    const QString path = UserDefaults::standardFilePath();
    QDir().mkpath(QFileInfo(path).path());
    const QByteArray damaged = QCborValue(7).toCbor();
    writeFile(path, damaged);
    // Every name the copy could take is already a folder.
    const QString stem = path + QStringLiteral(".unreadable-20261206-103000");
    ASSERT_TRUE(QDir().mkdir(stem));
    for (int n = 2; n < 1000; ++n)
        ASSERT_TRUE(QDir().mkdir(stem + u'-' + QString::number(n)));

    UserDefaults defaults(path);
    defaults.setValue(QStringLiteral("mcmain"), QStringLiteral("{{1, 2}, {900, 600}}"));
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_EQ(readFile(path), damaged);
}

TEST_F(UserDefaultsTest, TheFileAndTheFolderWeCreateArePrivateWhateverTheUmask)
{
    const mode_t previous = ::umask(022);
    const QString path = UserDefaults::standardFilePath();
    {
        UserDefaults defaults(path);
        defaults.setValue(QStringLiteral("SelectedAppearance"), 1);
        EXPECT_TRUE(defaults.synchronize());
        // A replacement keeps the mode too.
        defaults.setValue(QStringLiteral("SelectedAppearance"), 2);
        EXPECT_TRUE(defaults.synchronize());
    }
    ::umask(previous);
    EXPECT_EQ(modeOf(path), 0600);
    EXPECT_EQ(modeOf(QFileInfo(path).path()), 0700);
}

TEST_F(UserDefaultsTest, AnExistingFileAndFolderKeepTheirModes)
{
    const mode_t previous = ::umask(077);
    const QString path = UserDefaults::standardFilePath();
    const QString folder = QFileInfo(path).path();
    QDir().mkpath(folder);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0750), 0);
    writeFile(path, QCborMap().toCborValue().toCbor());
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    {
        UserDefaults defaults(path);
        defaults.setValue(QStringLiteral("ShowStartForm"), false);
        EXPECT_TRUE(defaults.synchronize());
    }
    ::umask(previous);
    EXPECT_FALSE(UserDefaults(path).boolean(QStringLiteral("ShowStartForm"), true));
    EXPECT_EQ(modeOf(path), 0640);
    EXPECT_EQ(modeOf(folder), 0750);
}

} // namespace
