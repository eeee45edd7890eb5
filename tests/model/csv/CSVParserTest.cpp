#include "model/csv/CSVParser.h"
#include "model/csv/CSVParseDelegate.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Parsed {
    bool ok = false;
    QList<QStringList> lines;
    QString error;
};

Parsed parse(const QString& text)
{
    CSVParser parser(text);
    CSVParseDelegate delegate;
    parser.setDelegate(&delegate);
    Parsed result;
    result.ok = parser.parse();
    result.lines = delegate.lines();
    result.error = delegate.error();
    return result;
}

// Records every callback as one text, to check their order and arguments.
class RecordingDelegate : public CSVParserDelegate {
public:
    QStringList calls;
    void parserDidBeginDocument() override { calls << u"begin"_s; }
    void parserDidBeginLine(qsizetype n) override { calls << u"line %1"_s.arg(n); }
    void parserDidReadField(const QString& field, qsizetype index) override
    {
        calls << u"field %1 %2"_s.arg(index).arg(field);
    }
    void parserDidEndLine(qsizetype n) override { calls << u"end line %1"_s.arg(n); }
    void parserDidEndDocument() override { calls << u"end"_s; }
    void parserDidFailWithError(const QString&) override { calls << u"fail"_s; }
};

TEST(CSVParserTest, CallbacksComeInDocumentOrderAndBlankLinesAreNoRecords)
{
    CSVParser parser(u"a,b\n\n\r\n,c"_s);
    RecordingDelegate delegate;
    parser.setDelegate(&delegate);
    EXPECT_TRUE(parser.parse());
    EXPECT_EQ(delegate.calls,
        (QStringList { u"begin"_s, u"line 1"_s, u"field 0 a"_s, u"field 1 b"_s, u"end line 1"_s, u"line 2"_s,
            u"field 0 "_s, u"field 1 c"_s, u"end line 2"_s, u"end"_s }));
}

TEST(CSVParserTest, QuotedFieldsHoldSeparatorsLineBreaksAndDoubledQuotes)
{
    const Parsed parsed = parse(u"\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"\"\r\nx,\"\"\"\",y\"z\"\r\n"_s);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.lines,
        (QList<QStringList> { { u"a,b"_s, u"say \"hi\""_s, u"two\nlines"_s, QString() },
            // A quote inside an unquoted field is taken as it is.
            { u"x"_s, u"\""_s, u"y\"z\""_s } }));
}

TEST(CSVParserTest, LineEndsOfEveryKindAndTrailingEmptyFields)
{
    const Parsed parsed = parse(u"a,\rb,,\r\nc\n,"_s);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.lines,
        (QList<QStringList> {
            { u"a"_s, QString() }, { u"b"_s, QString(), QString() }, { u"c"_s }, { QString(), QString() } }));
    EXPECT_TRUE(parse(QString()).lines.isEmpty());
}

TEST(CSVParserTest, MalformedQuotesFailWithTheLineAndLeaveNoLines)
{
    const Parsed open = parse(u"a,b\nc,\"never\nclosed"_s);
    EXPECT_FALSE(open.ok);
    EXPECT_TRUE(open.lines.isEmpty());
    EXPECT_EQ(open.error, u"line 2: a quoted field is not closed"_s);

    const Parsed trailing = parse(u"a\n\n\"quoted\"text,b\n"_s);
    EXPECT_FALSE(trailing.ok);
    EXPECT_EQ(trailing.error, u"line 3: unexpected text after a quoted field"_s);

    CSVParser withoutDelegate(u"\"x"_s);
    EXPECT_FALSE(withoutDelegate.parse());
}

} // namespace
