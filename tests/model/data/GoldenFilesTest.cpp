#include "model/data/ImportModel.h"
#include "model/data/ModelJSONWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

// Each folder under golden/ is one case: input.json, and either expected-error.txt (a text
// the reader's error must contain) or expected.json (the exact bytes of re-saving what was
// read) with expected-unreadable.txt (the summary of what was left out, when anything was).
// MERVANE_BLESS=1 writes the expected files from the current output, for review.

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

std::vector<std::string> caseNames()
{
    std::vector<std::string> names;
    const QDir dir(QStringLiteral(MERVANE_DATA_GOLDEN_DIR));
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

class GoldenFilesTest : public ::testing::TestWithParam<std::string> { };

TEST_P(GoldenFilesTest, ReadsAndResavesAsExpected)
{
    const QDir dir(QStringLiteral(MERVANE_DATA_GOLDEN_DIR) + u'/' + QString::fromStdString(GetParam()));
    const bool bless = qEnvironmentVariableIntValue("MERVANE_BLESS") == 1;
    const platform::Expected<ModelReadResult> result = ImportModel::readFile(dir.filePath(u"input.json"_s));

    const QString errorPath = dir.filePath(u"expected-error.txt"_s);
    if (QFile::exists(errorPath)) {
        const QString expected = QString::fromUtf8(readAll(errorPath)).trimmed();
        EXPECT_FALSE(result);
        EXPECT_TRUE(result.errorIfAny().value_or(QString()).contains(expected))
            << result.errorIfAny().value_or(QString()).toStdString();
        return;
    }
    ASSERT_TRUE(result) << result.errorIfAny().value_or(QString()).toStdString();

    const platform::Expected<QByteArray> written = ModelJSONWriter::toJSON(*result->model);
    ASSERT_TRUE(written) << written.errorIfAny().value_or(QString()).toStdString();
    const QString unreadablePath = dir.filePath(u"expected-unreadable.txt"_s);
    if (bless) {
        writeAll(dir.filePath(u"expected.json"_s), *written);
        if (result->hasUnreadableParts())
            writeAll(unreadablePath, result->unreadableSummary().toUtf8() + '\n');
        return;
    }
    EXPECT_EQ(readAll(dir.filePath(u"expected.json"_s)).toStdString(), written->toStdString());
    const QString expectedSummary = QString::fromUtf8(readAll(unreadablePath)).trimmed();
    EXPECT_EQ(expectedSummary.toStdString(), result->unreadableSummary().toStdString());

    // What was written reads back to the same model and writes the same bytes again.
    const platform::Expected<ModelReadResult> again = ImportModel::read(*written);
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->hasUnreadableParts());
    EXPECT_TRUE(*again->model == *result->model);
    EXPECT_EQ(ModelJSONWriter::toJSON(*again->model)->toStdString(), written->toStdString());
}

INSTANTIATE_TEST_SUITE_P(DataFiles, GoldenFilesTest, ::testing::ValuesIn(caseNames()),
    [](const ::testing::TestParamInfo<std::string>& info) {
        std::string name = info.param;
        for (char& c : name) {
            if (c == '-')
                c = '_';
        }
        return name;
    });

} // namespace
