#include "model/data/ImportModel.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

using namespace Qt::Literals::StringLiterals;

namespace {

// The reader holds to RFC 8259 exactly, also where a lenient parser would guess. Each
// text is tried as the value of a member the model ignores and as a record's note.
TEST(JSONSyntax, StrictGrammar)
{
    const std::pair<const char*, bool> values[] = { { R"("plain")", true },
        { R"("esc \" \\ \/ \b \f \n \r \t")", true }, { R"("\u00e9\u20AC")", true },
        { R"("\ud834\udd1e")", true }, { R"("\x")", false }, { R"("\u12")", false }, { R"("\u12G4")", false },
        { "\"tab\there\"", false }, { R"("unterminated)", false }, { "0", true }, { "-0", true },
        { "-", false }, { "01", false }, { "1.", false }, { ".5", false }, { "1.5e", false },
        { "1e+5", true }, { "-12.5E-3", true }, { "+1", false }, { "0x10", false }, { "NaN", false },
        { "Infinity", false }, { "true", true }, { "tru", false }, { "false", true }, { "null", true },
        { "nul", false }, { "[]", true }, { "[1,]", false }, { "[,1]", false }, { "[1 2]", false },
        { "[[[]]]", true }, { "{}", true }, { R"({"a":1,})", false }, { R"({"a" 1})", false },
        { R"({,"a":1})", false }, { R"({"a":1 "b":2})", false }, { R"({1:2})", false },
        { R"([{"a":[{"b":null}]}])", true }, { "", false }, { "  ", false } };
    for (const auto& [value, valid] : values) {
        const QByteArray asIgnored = QByteArray(R"({"ignored":)") + value + "}";
        const QByteArray asNote = QByteArray(R"({"nw_logs":[{"year":2020,"note":)") + value + "}]}";
        for (const QByteArray& document : { asIgnored, asNote }) {
            const platform::Expected<ModelReadResult> result = ImportModel::read(document);
            const bool syntaxError
                = result.errorIfAny().value_or(QString()).contains(u"not a JSON document"_s);
            EXPECT_EQ(valid, !syntaxError)
                << document.toStdString() << " -> " << result.errorIfAny().value_or(QString()).toStdString();
            if (valid) {
                // Where the grammar allows it, a general parser agrees.
                QJsonParseError error;
                QJsonDocument::fromJson(document, &error);
                EXPECT_EQ(error.error, QJsonParseError::NoError) << document.toStdString();
            }
        }
    }
    // A text where a note belongs makes only that record unreadable.
    const platform::Expected<ModelReadResult> noteAsList
        = ImportModel::read(R"({"nw_logs":[{"year":2020,"note":[1]},{"year":2021}]})");
    ASSERT_TRUE(noteAsList);
    EXPECT_EQ(noteAsList->unreadableRecords, 1);
}

TEST(JSONSyntax, TextAroundTheDocument)
{
    EXPECT_TRUE(ImportModel::read(" \n\t{\"version\":\"1\"}\r\n ").hasValue());
    EXPECT_FALSE(ImportModel::read("{\"version\":\"1\"} x").hasValue());
    EXPECT_FALSE(ImportModel::read("{\"version\":\"1\"}{}").hasValue());
    EXPECT_FALSE(ImportModel::read("{\"version\":\"1\"").hasValue());
    const platform::Expected<ModelReadResult> scalar = ImportModel::read("42");
    EXPECT_TRUE(scalar.errorIfAny().value_or(QString()).contains(u"not an object"_s))
        << scalar.errorIfAny().value_or(QString()).toStdString();
}

TEST(JSONSyntax, DeepNestingFailsCleanly)
{
    const QByteArray deep = "{\"ignored\":" + QByteArray(100000, '[') + QByteArray(100000, ']') + "}";
    const platform::Expected<ModelReadResult> result = ImportModel::read(deep);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.errorIfAny().value_or(QString()).contains(u"nested too deeply"_s))
        << result.errorIfAny().value_or(QString()).toStdString();
}

TEST(JSONSyntax, NumbersOutsideTheDoubleRange)
{
    // Too large to hold: the value is unreadable; too small rounds to zero.
    const platform::Expected<ModelReadResult> result = ImportModel::read(
        R"({"nw_logs":[{"year":2020,"month":1,"assets":1e999},{"year":2021,"month":1,"assets":1e-999}],"net_worth_goal":-1e400})");
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.errorIfAny().value_or(QString()).contains(u"net_worth_goal"_s))
        << result.errorIfAny().value_or(QString()).toStdString();

    const platform::Expected<ModelReadResult> records = ImportModel::read(
        R"({"nw_logs":[{"year":2020,"month":1,"assets":1e999},{"year":3e9,"month":1},{"year":2021,"month":1,"assets":1e-999}]})");
    ASSERT_TRUE(records);
    EXPECT_EQ(records->unreadableRecords, 2);
    ASSERT_EQ(records->model->nwLogArray()->size(), 1);
    EXPECT_EQ(records->model->nwLogArray()->first()->assets(), 0.0);
}

QString errorOf(const QByteArray& document)
{
    return ImportModel::read(document).errorIfAny().value_or(QString());
}

// One of two values would be lost, whichever won: the document as a whole is refused.
TEST(JSONSyntax, AMemberNamedTwiceInAnyObjectFailsTheDocument)
{
    QByteArray wide = "{";
    for (int i = 0; i < 20; ++i)
        wide += "\"m" + QByteArray::number(i) + "\":" + QByteArray::number(i) + ",";
    const std::pair<QByteArray, const char*> repeated[] = {
        { R"({"nw_logs":[],"tags":[],"nw_logs":[{"year":2020}]})", "nw_logs" },
        { R"({"nw_logs":[{"year":2020,"month":1,"year":2021}]})", "year" },
        { R"({"nw_logs":[{"year":2020,"a_logs":[{"cat":"A","value":1,"cat":"B"}]}]})", "cat" },
        { R"({"a_cat":[{"ID":"A","tags":[],"tags":["T"]}]})", "tags" },
        { R"({"extra":1,"version":"1","extra":2})", "extra" },
        { R"({"ignored":[{"inner":{"b":1,"c":{},"b":2}}]})", "b" },
        { R"({"nw_logs":[{"note":"x","x":1,"\u006eote":"y"}]})", "note" },
        { R"({"\u006ew_logs":[],"n\u0077_logs":[]})", "nw_logs" },
        { R"({"nw_logs":[{"\u006eote":"x","\u0079ear":2020,"note":"y"}]})", "note" },
        { R"({"":1,"":2})", "" },
        { wide + R"("m3":0})", "m3" },
        { wide + R"("m18":0})", "m18" },
    };
    for (const auto& [document, name] : repeated) {
        EXPECT_TRUE(errorOf(document).contains(u"the member \"%1\" appears twice"_s.arg(QLatin1String(name))))
            << document.toStdString() << " -> " << errorOf(document).toStdString();
    }

    // Names are compared per object and by their decoded text; escaped names do not share
    // the buffer they were decoded in.
    const platform::Expected<ModelReadResult> distinct = ImportModel::read(wide
        + R"("\u0061_cat":[],"\u006c_cat":[],"nw_logs":[{"year":2020,"a_logs":[{"year":2020,"cat":"A"}]},)"
          R"({"year":2021,"a_logs":[{"cat":"A"}]}],"ignored":{"year":1,"x":{"year":2}}})");
    ASSERT_TRUE(distinct) << distinct.error().toStdString();
    EXPECT_EQ(distinct->model->nwLogArray()->size(), 2);
    EXPECT_EQ(distinct->model->nwLogArray()->at(1)->assetLogs()->first()->categoryID(), u"A"_s);
}

TEST(JSONSyntax, BytesThatAreNotUtf8FailTheDocumentWhereverTheyStand)
{
    const QByteArray invalid[] = {
        "{\"nw_logs\":[{\"year\":2020,\"note\":\"caf\xe9\"}]}", // Latin-1 in a note
        "{\"a_cat\":[{\"ID\":\"A\",\"name\":\"Bank \xa3\"}]}",
        "{\"caf\xe9\":1}", // in a name the reader ignores
        "{\"ignored\":[{\"x\":\"\xff\"}]}",
        "{\"version\":\"\xc3\"}", // a sequence cut short
        "{\"version\":\"\xc0\xaf\"}", // an overlong form
        "{\"version\":\"\xed\xa0\x80\"}", // an encoded surrogate
        "{\"version\":\"\xf4\x90\x80\x80\"}", // beyond U+10FFFF
        "{\"version\":\"1\"\x85}", // between tokens
        "{}\xfe", // after the document
    };
    for (const QByteArray& document : invalid) {
        EXPECT_TRUE(errorOf(document).contains(u"the file is not UTF-8 text"_s))
            << document.toStdString() << " -> " << errorOf(document).toStdString();
    }
    EXPECT_TRUE(errorOf("{\"version\":\"1\"}\xc3\xa9").contains(u"not a JSON document"_s));

    // A byte-order mark is skipped at the very start only.
    const platform::Expected<ModelReadResult> marked = ImportModel::read("\xEF\xBB\xBF{\"version\":\"7\"}");
    ASSERT_TRUE(marked) << marked.error().toStdString();
    EXPECT_EQ(marked->model->version(), u"7"_s);
    EXPECT_TRUE(errorOf(" \xEF\xBB\xBF{}").contains(u"not a JSON document"_s));
    EXPECT_TRUE(errorOf("\xEF\xBB\xBF\xEF\xBB\xBF{}").contains(u"not a JSON document"_s));
}

} // namespace
