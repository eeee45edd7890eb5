#include "CSVTestSupport.h"

#include "model/data/ImportModel.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

QStringList goldenCases()
{
    return QDir(QStringLiteral(MERVANE_CSV_GOLDEN_DIR))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

class CSVGoldenTest : public ModelTest, public ::testing::WithParamInterface<QString> {
protected:
    QString casePath(const QString& name) const
    {
        return QDir(QStringLiteral(MERVANE_CSV_GOLDEN_DIR)).filePath(GetParam() + u'/' + name);
    }
};

TEST_P(CSVGoldenTest, ExportMatchesByteForByteAndSurvivesAnImport)
{
    const platform::Expected<ModelReadResult> read = ImportModel::readFile(casePath(u"input.json"_s));
    ASSERT_TRUE(read) << read.errorIfAny().value_or(QString()).toStdString();
    const QByteArray expected = readBytes(casePath(u"expected.csv"_s));
    ASSERT_FALSE(expected.isEmpty());

    store().setAppData(read->model);
    EXPECT_EQ(exportedText(store()), expected);

    const QString path = homePath(NWData::csvExportFileName);
    EXPECT_EQ(store().exportToCSV(path), std::nullopt);
    EXPECT_EQ(readBytes(path), expected);

    const auto imported = NWData::importCSVFromFilePath(path);
    ASSERT_TRUE(imported) << imported.errorIfAny().value_or(QString()).toStdString();
    EXPECT_EQ((*imported)->version(), u"2.12"_s);
    store().setAppData(*imported);
    EXPECT_EQ(exportedText(store()), expected);
}

INSTANTIATE_TEST_SUITE_P(Golden, CSVGoldenTest, ::testing::ValuesIn(goldenCases()),
    [](const ::testing::TestParamInfo<QString>& info) {
        return QString(info.param).replace(u'-', u'_').toStdString();
    });

class CSVExportTest : public ModelTest { };

TEST_F(CSVExportTest, FieldHelpersQuoteOnlyWhatNeedsIt)
{
    EXPECT_EQ(NWData::csvField(u"plain text; 'single' quotes"_s), u"plain text; 'single' quotes"_s);
    EXPECT_EQ(NWData::csvField(u"a\rb"_s), u"\"a\rb\""_s);
    EXPECT_EQ(NWData::exportTagsAsCSV(std::nullopt), QString());
    EXPECT_EQ(NWData::exportTagsAsCSV(QStringList { u"a"_s, u"b,c"_s }), u"a,\"b,c\""_s);
    EXPECT_EQ(NWData::csvNumber(std::nullopt), QString());
    EXPECT_EQ(NWData::csvNumber(100000), u"100000"_s);
    EXPECT_EQ(NWData::csvNumber(1e21), u"1000000000000000000000"_s);
    EXPECT_EQ(NWData::csvNumber(0.1 + 0.2), u"0.30000000000000004"_s);
    EXPECT_EQ(NWData::csvNumber(-2.5e-7), u"-0.00000025"_s);
}

TEST_F(CSVExportTest, AssetAndLiabilityValuesShareOneList)
{
    model().setAssetscat(MVX_CategoryList { makeCategory(u"A1"_s, u"a"_s), makeCategory(u"A2"_s, u"b"_s) });
    model().setLiabilitycat(MVX_CategoryList { makeCategory(u"L1"_s, u"c"_s) });
    const auto record = makeRecord(2020, 1, { makeLog(u"A2"_s, 2020, 1, 2), makeLog(u"A2"_s, 2020, 1, 99) },
        { makeLog(u"L1"_s, 2020, 1, 3), makeLog(u"A1"_s, 2020, 1, 98) });
    EXPECT_EQ(store().exportCategoryIDs(), u",A1,A2,L1"_s);
    EXPECT_EQ(store().exportCategoryValues(*record), u"0,2,3"_s);
}

TEST_F(CSVExportTest, FailuresWriteNothingAndSayWhy)
{
    const QString path = homePath(u"out.csv"_s);
    writeBytes(path, "previous");

    const auto record = makeRecord(2020, 1);
    record->setAssets(std::nan(""));
    model().setNwLogArray(MVX_NWLogList { record });
    EXPECT_TRUE(store().exportToCSV(path).has_value());
    EXPECT_EQ(readBytes(path), "previous");

    EXPECT_TRUE(store().exportToCSV(homePath(u"missing/folder/out.csv"_s)).has_value());

    store().setAppData(nullptr);
    EXPECT_TRUE(store().exportToCSV(path).has_value());
    EXPECT_EQ(readBytes(path), "previous");
}

} // namespace
