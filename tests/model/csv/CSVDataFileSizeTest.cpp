// A CSV whose data file would be larger than the store reads back is refused while it is
// read, before its model is made; one whose data file fits, to the byte, still imports.
#include "CSVTestSupport.h"

#include "model/csv/CSVExport.h"
#include "model/csv/CSVImport.h"
#include "model/csv/CSVImportRules.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

class CSVDataFileSizeTest : public ModelTest {
protected:
    // The size of the data file the store writes when it installs what `text` holds.
    qint64 installedSize(const QByteArray& text)
    {
        const platform::Expected<std::shared_ptr<MVX_Model>> read = csv::modelFromCSVData(text);
        EXPECT_TRUE(read) << read.errorIfAny().value_or(QString()).toStdString();
        if (!read)
            return -1;
        const platform::MaybeError installed = store().installImportedModel(*read);
        EXPECT_EQ(installed, std::nullopt) << installed.value_or(QString()).toStdString();
        return QFileInfo(NWData::dataFilePath()).size();
    }

    // A household with texts and numbers of every kind the data file writes differently.
    static std::shared_ptr<MVX_Model> household()
    {
        auto model = MVX_Model::makeEmpty();
        model->setTags(MVX_TagsList { makeTag(u"T-1"_s, u"Home, \"sweet\"\thome"_s),
            makeTag(u"T-\u00e9"_s, u"\u65e5\u672c \U0001F3E0 back\\slash"_s) });
        model->setAssetscat(
            MVX_CategoryList { makeCategory(u"A"_s, u"Bank\nmain"_s, QStringList { u"T-1"_s }),
                makeCategory(u"B\u00df"_s, QString(), QStringList { u"T-1"_s, u"T-\u00e9"_s }),
                makeCategory(u"C"_s, u"Cash\x01"_s, std::nullopt) });
        model->assetscat()->at(0)->setDesc(u"Savings \"plus\""_s);
        model->assetscat()->at(0)->setIsForeignCurrency(true);
        model->assetscat()->at(0)->setCurrency(u"EUR"_s);
        model->setLiabilitycat(MVX_CategoryList { makeCategory(u"L"_s, u"Loan"_s) });
        // With the longest texts a number the data may hold takes: 17 digits and an exponent of three.
        const double values[] = { 0, -0.0, 1e-7, 123.456, -1e21, 1e22, 100000, 0.1, 5e-324,
            -1.2345678901234567e249, -7.25, 1234567.89 };
        for (int m = 1; m <= 12; ++m) {
            const double v = values[m - 1];
            auto record = makeRecord(m <= 9 ? 1999 : 2024, m,
                { makeLog(u"A"_s, 0, 0, v),
                    makeLog(u"B\u00df"_s, 0, 0, m % 3 ? std::optional(m * 1.5) : std::nullopt),
                    makeLog(u"C"_s, 0, 0, -v) },
                { makeLog(u"L"_s, 0, 0, m * 1000.0) });
            record->setNote(m % 4 == 0 ? QString() : u"note %1, \"q\"\r\nline\b\f\u00e9"_s.arg(m));
            record->setAssets(v);
            record->setLiabilities(m % 5 ? std::optional(m * 1000.0) : std::nullopt);
            record->setNw(v - m * 1000.0);
            model->nwLogArray()->append(record);
        }
        return model;
    }
};

TEST_F(CSVDataFileSizeTest, AFileIsReadUpToTheByteOfItsDataFileAndRefusedOneByteBelow)
{
    const QByteArray categories = "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"
                                  ",A,\"\",,1,EUR,,T,\"\",U,\n,B\n"
                                  "Asset Categories,ID\n"
                                  "Liability Categories\n,L,Loan,\"with \"\"quotes\"\"\",0\n";
    QList<QByteArray> texts = { *csv::csvText(*household()), *csv::csvText(*MVX_Model::makeEmpty()),
        // Fields quoted and empty, missing, repeated headers, tags, numbers in other notations,
        // an ID that names no category, a byte-order mark and CRLF.
        "TAGS,ID,Name,Description\n,T,\"\",\nTAGS,ID\n" + categories
            + "NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n,,,,,,,A,nobody,L,B,Asset\n"
              ",2020,1,\"\",1e5,+3, 7 ,100.000,9,-0,,0.0000001\n"
              ",2020.7,2,,,,,1E22,5,2,\" 3\",4\n"
              ",2020,3,,123456789012345,0.12345678901234567890,0.000001,0.1020,-0.5,05,0.30000000000000004,-"
              "12.5\n"
              ",2020,4,,0,-0,0.5,12345678901234.5,1,99999999999999999999,0.0000010,1e-6\n",
        "\xEF\xBB\xBFNW Logs\r\n,,,,,,,A\r\n,1900,12,\x7f,1,2,3,4\r\nAsset Categories\r\n,A,\xc3\xa9\r\n" };
    for (const QString& folder :
        QDir(QStringLiteral(MERVANE_CSV_GOLDEN_DIR)).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        texts.append(readBytes(QStringLiteral(MERVANE_CSV_GOLDEN_DIR) + u'/' + folder + u"/expected.csv"_s));

    for (const QByteArray& text : texts) {
        SCOPED_TRACE(text.left(120).toStdString());
        const qint64 size = installedSize(text);
        ASSERT_GT(size, 0);
        const auto fits = csv::modelFromCSVData(text, {}, size);
        EXPECT_TRUE(fits) << fits.errorIfAny().value_or(QString()).toStdString();
        const auto refused = csv::modelFromCSVData(text, {}, size - 1);
        EXPECT_EQ(refused.errorIfAny(), csv::rules::tooLargeReason(size - 1));
    }
}

TEST_F(CSVDataFileSizeTest, TheRefusalComesAsSoonAsTheCountPassesTheLimit)
{
    QByteArray text = "Asset Categories\n,A,Bank\nNW Logs\n,,,,,,,A\n";
    for (int m = 1; m <= 12; ++m)
        text += ",2020," + QByteArray::number(m) + ",,1,0,1,1\n";
    const qint64 size = installedSize(text);
    // A line the reader refuses, after the limit is passed, is not reached; below the limit it is.
    text += ",2021,1,,1,0,1,broken\n";
    EXPECT_EQ(csv::modelFromCSVData(text, {}, size - 1).errorIfAny(), csv::rules::tooLargeReason(size - 1));
    EXPECT_EQ(csv::modelFromCSVData(text, {}, size * 2).errorIfAny(),
        u"record line 13: \"broken\" is not a number"_s);

    // Categories alone may pass it, with no records section to read at all.
    EXPECT_EQ(csv::modelFromCSVData("Asset Categories\n,A,Bank\n,B,Cash\n", {}, 200).errorIfAny(),
        csv::rules::tooLargeReason(200));
}

TEST(CSVDataFileSizeReasonTest, SaysWhatMervaneReadsBack)
{
    EXPECT_EQ(csv::rules::tooLargeReason(platform::maxReadableFileSize),
        u"the data would make a data file larger than 1 GiB, the largest Mervane can read back"_s);
    EXPECT_EQ(csv::rules::tooLargeReason(3 << 20),
        u"the data would make a data file larger than 3 MiB, the largest Mervane can read back"_s);
    EXPECT_EQ(csv::rules::tooLargeReason(5000),
        u"the data would make a data file larger than 5000 bytes, the largest Mervane can read back"_s);
}

} // namespace
