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

TEST(JSONSyntax, EscapedKeysAndRepeatedMembers)
{
    const platform::Expected<ModelReadResult> result
        = ImportModel::read(R"({"vers\u0069on":"9","base_currency":"USD","base_currency":"EUR"})");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->model->version(), u"9"_s);
    EXPECT_EQ(result->model->baseCurrency(), u"EUR"_s); // the last one wins
}

} // namespace
