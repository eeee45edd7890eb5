// The import reads the records straight from the file's bytes. These tests hold it to the
// reader over lines of texts (the parser's delegate and `modelFromLines`), which reads the
// whole text decoded first: both must give the same model, or fail with the same reason.
#include "CSVTestSupport.h"

#include "model/csv/CSVExport.h"
#include "model/csv/CSVImport.h"
#include "model/csv/CSVParseDelegate.h"
#include "model/csv/CSVParser.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

using Read = platform::Expected<std::shared_ptr<MVX_Model>>;

Read throughLines(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return platform::Unexpected(u"the file is not UTF-8 text"_s);
    CSVParser parser(text);
    CSVParseDelegate delegate;
    parser.setDelegate(&delegate);
    if (!parser.parse())
        return platform::Unexpected(delegate.error());
    return csv::modelFromLines(delegate.lines());
}

// Texts compare equal whether null or empty; the data file tells them apart.
void expectSameNullness(const QString& a, const QString& b, const char* what)
{
    EXPECT_EQ(a.isNull(), b.isNull()) << what << " \"" << a.toStdString() << '"';
}

void expectSameModel(const MVX_Model& bytes, const MVX_Model& lines)
{
    EXPECT_TRUE(bytes == lines);
    ASSERT_EQ(bytes.nwLogArray()->size(), lines.nwLogArray()->size());
    for (qsizetype i = 0; i < bytes.nwLogArray()->size(); ++i)
        expectSameNullness(bytes.nwLogArray()->at(i)->note(), lines.nwLogArray()->at(i)->note(), "note");
    ASSERT_EQ(bytes.tags()->size(), lines.tags()->size());
    for (qsizetype i = 0; i < bytes.tags()->size(); ++i) {
        expectSameNullness(bytes.tags()->at(i)->name(), lines.tags()->at(i)->name(), "tag name");
        expectSameNullness(bytes.tags()->at(i)->desc(), lines.tags()->at(i)->desc(), "tag description");
    }
    ASSERT_EQ(bytes.assetscat()->size(), lines.assetscat()->size());
    for (qsizetype i = 0; i < bytes.assetscat()->size(); ++i) {
        const MVX_Category& a = *bytes.assetscat()->at(i);
        const MVX_Category& b = *lines.assetscat()->at(i);
        expectSameNullness(a.categoryName(), b.categoryName(), "category name");
        expectSameNullness(a.desc(), b.desc(), "category description");
        expectSameNullness(a.currency(), b.currency(), "currency");
    }
}

void expectSameRead(const QByteArray& text)
{
    SCOPED_TRACE(text.left(300).toStdString());
    const Read lines = throughLines(text);
    const Read bytes = csv::modelFromCSVData(text);
    ASSERT_EQ(bytes.hasValue(), lines.hasValue())
        << "bytes: " << bytes.errorIfAny().value_or(QString()).toStdString()
        << ", lines: " << lines.errorIfAny().value_or(QString()).toStdString();
    if (!lines)
        EXPECT_EQ(bytes.error(), lines.error());
    else
        expectSameModel(**bytes, **lines);
}

const QByteArray recordsTitle = "NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs\n";
const QByteArray categories = "TAGS,ID,Name,Description\n,T,Home,\"at home, \"\"mostly\"\"\"\n\n"
                              "Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"
                              ",A,Bank,,1,EUR,T,\n,B,\"Cash\",\"\",0,,\n\n"
                              "Liability Categories,ID,Name,Description,isForeignCurrency,Currency,Tags\n"
                              ",L,Loan,\"due\r\nin 2030\",0,USD\n\n";
const QByteArray ids = recordsTitle + ",,,,,,,A,B,L,GONE\n";

TEST(CSVByteReaderTest, EveryGoldenExportReadsAsTheLinesReadIt)
{
    const QDir golden(QStringLiteral(MERVANE_CSV_GOLDEN_DIR));
    const QStringList cases = golden.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_FALSE(cases.isEmpty());
    for (const QString& name : cases) {
        const QByteArray text = readBytes(golden.filePath(name + u"/expected.csv"_s));
        ASSERT_FALSE(text.isEmpty()) << name.toStdString();
        expectSameRead(text);
        // The same with a byte-order mark and with each of the other line ends.
        expectSameRead("\xEF\xBB\xBF" + text);
        expectSameRead(QByteArray(text).replace("\n", "\r\n"));
        expectSameRead(QByteArray(text).replace("\n", "\r"));
    }
}

TEST(CSVByteReaderTest, QuotesBlankLinesAndTextsBeyondAsciiReadAsTheLinesReadThem)
{
    for (const QByteArray& records :
        { // A quoted note with a doubled quote, a comma and a line break; an empty quoted
          // note (a null text) and an empty unquoted one.
            QByteArray(",2020,1,\"said \"\"sold\"\", then\nleft\",1,0,1,1,0,0,9\n,2020,2,\"\",1,0,1,1,0,0,9\n"
                       ",2020,3,,1,0,1,1,0,0,9\n"),
            // Blank lines of every kind between records, and no line end at the very end.
            QByteArray("\r\n\r\r\n,2020,1,caf\xC3\xA9,1,0,1,1,0,0,9\n\n\n,2020,2,\xE2\x82\xAC,1,0,1,1,0,0,9"),
            // Numbers with spaces, signs and exponents; a no-break space around one.
            QByteArray(", 2020 ,+12,,1.5e3,-0.25,+1500.25,\xC2\xA0"
                       "7\xC2\xA0,\t8\t,0,+-1\n"),
            // A value of a column whose ID names no category must still be a number.
            QByteArray(",2020,1,,1,0,1,1,0,0,x\n"), QByteArray(",2020,1,,1,0,1,1,0,0,\xC2\xA0x\n"),
            // 2018.9 is 2018; a year beyond the range of int is clamped.
            QByteArray(",2018.9,99999999999,,1,0,1,1,0,0,9\n"),
            // Too many and too few values.
            QByteArray(",2020,1,,1,0,1,1,0,0,9,10\n"), QByteArray(",2020,1,,1,0,1,1,0\n"),
            // A number longer than any double's plain notation.
            QByteArray(",2020,1,,1" + QByteArray(600, '0') + ",0,1,1,0,0,9\n"),
            // A byte-order mark inside the text is a character, also where a field starts.
            QByteArray(",2020,1,\xEF\xBB\xBF\xEF\xBB\xBFnote,1,0,1,1,0,0,9\n"),
            QByteArray(",2020,1,,1,0,1,\xEF\xBB\xBF"
                       "12,0,0,9\n"),
            // A NUL in a note, and a text cut off inside its last character.
            QByteArray(",2020,1,a\0b,1,0,1,1,0,0,9\n", 27),
            QByteArray(",2020,1,\xC3\xA9,1,0,1,1,0,0,9\n\xC3"),
            QByteArray(",2020,1,end,1,0,1,1,0,0,9\xE2\x82") }) {
        expectSameRead(categories + ids + records);
    }
}

TEST(CSVByteReaderTest, BrokenFilesFailWithTheReasonsOfTheLinesReader)
{
    for (const QByteArray& text :
        { QByteArray(), QByteArray("\n\r\n"), QByteArray("Date,Amount\n2024-03-01,-42.50\n"),
            // Not UTF-8, also after a parse error and in a line the parser never reaches.
            QByteArray(categories + ids + ",2020,1,\xFF,1,0,1,1,0,0,9\n"),
            QByteArray(categories + ids + ",2020,1,\"open\n\xC3\x28"),
            // Quoted fields left open or followed by text, on the physical line they start.
            QByteArray(categories + ids + ",2020,1,\"never closed\n,2020,2,,1,0,1,1,0,0,9\n"),
            QByteArray(categories + "\"a\nb\"x,1\n" + ids),
            QByteArray(categories + ",\"a\r\n\r\nb\" ,1\n" + ids),
            // No ID line, or one that is not one.
            QByteArray(categories + recordsTitle), QByteArray(categories + recordsTitle + ",,,,,,\n"),
            QByteArray(categories + recordsTitle + "x,,,,,,,A\n"),
            // An ID on both sides, whichever section comes first.
            QByteArray(categories + "Liability Categories\n,A,Debt\n" + ids + ",2020,1,,1,0,1,1,0,0,9\n"),
            QByteArray("Liability Categories\n,A,Debt\n" + categories + ids),
            // A header repeated: a tag named "Name", a record line that is a header.
            QByteArray(categories + "TAGS,ID,Name,Description\n" + ids + recordsTitle) }) {
        expectSameRead(text);
    }
}

TEST(CSVByteReaderTest, AnExportOfAHouseholdReadsAsTheLinesReadIt)
{
    auto model = MVX_Model::makeEmpty();
    for (int c = 0; c < 12; ++c) {
        auto category = makeCategory(u"ID-%1"_s.arg(c), u"Category %1, \"quoted\""_s.arg(c));
        category->setTags(QStringList { u"T-%1"_s.arg(c % 3) });
        (c < 8 ? model->assetscat() : model->liabilitycat())->append(category);
    }
    for (int m = 0; m < 60; ++m) {
        MVX_CategoryLogList assets;
        MVX_CategoryLogList liabilities;
        for (int c = 0; c < 12; ++c)
            (c < 8 ? assets : liabilities)
                .append(
                    makeLog(u"ID-%1"_s.arg(c), 2000 + m / 12, m % 12 + 1, (m + 1) * 1234.56 - c * 999.99));
        auto record = makeRecord(2000 + m / 12, m % 12 + 1);
        record->setAssetLogs(assets);
        record->setLiabilityLogs(liabilities);
        record->setAssets(m * 10.5);
        record->setLiabilities(-m * 0.125);
        record->setNw(m * 10.625);
        record->setNote(m % 5 ? u"Month %1"_s.arg(m) : QString());
        model->nwLogArray()->append(record);
    }
    const platform::Expected<QByteArray> text = csv::csvText(*model);
    ASSERT_TRUE(text);
    expectSameRead(*text);
}

// The read asks between lines whether to stop, and stops at the first yes.
TEST(CSVByteReaderTest, AStopRequestEndsTheReadAtOnceInEveryPass)
{
    const QByteArray text
        = categories + ids + QByteArray(",2020,1,,1,0,1,1,0,0,9\n").repeated(20) + "\n\nTAGS\n,T2,Other\n";
    int asked = 0;
    const Read whole = csv::modelFromCSVData(text, [&] {
        ++asked;
        return false;
    });
    ASSERT_TRUE(whole) << whole.error().toStdString();
    // The check of the text, every line of the first pass and every record of the second.
    ASSERT_GT(asked, 40);
    for (const int stopAt : { 1, 2, 10, asked / 2, asked - 1, asked }) {
        int calls = 0;
        const Read stopped = csv::modelFromCSVData(text, [&] { return ++calls >= stopAt; });
        ASSERT_FALSE(stopped) << stopAt;
        EXPECT_EQ(stopped.error(), csv::stoppedReason());
        EXPECT_EQ(calls, stopAt) << "the read went on after it was asked to stop";
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(u"records.csv"_s);
    writeBytes(path, text);
    EXPECT_EQ(csv::importCSVFromFilePath(path, [] { return true; }).errorIfAny(), csv::stoppedReason());
    EXPECT_TRUE(csv::importCSVFromFilePath(path, [] { return false; }));
}

} // namespace
