#include "model/data/ImportModel.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The texts of a document as they arrive in the model: a note and a category name.
struct Texts {
    QString note;
    QString name;
};

Texts textsOf(const QByteArray& text)
{
    const QByteArray document = R"({"a_cat":[{"ID":"A","name":")" + text
        + R"("}],"nw_logs":[{"year":2020,"note":")" + text + R"("}]})";
    const platform::Expected<ModelReadResult> read = ImportModel::read(document);
    EXPECT_TRUE(read) << document.toStdString() << " -> "
                      << read.errorIfAny().value_or(QString()).toStdString();
    if (!read)
        return {};
    EXPECT_FALSE(read->hasUnreadableParts());
    return { read->model->nwLogArray()->first()->note(), read->model->assetscat()->first()->categoryName() };
}

TEST(DecodedText, EscapesAndCharactersOutsideTheBasicPlaneComeOutAsTheirCharacters)
{
    const std::pair<QByteArray, QString> cases[] = {
        { R"(a\"b\\c\/d)", u"a\"b\\c/d"_s }, { R"(\b\f\n\r\t)", u"\b\f\n\r\t"_s },
        { R"(caf\u00e9 \u20AC)", u"café €"_s }, { R"(\u0000end)", QString(QChar(u'\0')) + u"end"_s },
        { R"(\ud834\udd1e)", QString::fromUcs4(U"\U0001D11E") },
        { R"(clef \uD834\uDD1E!)", u"clef "_s + QString::fromUcs4(U"\U0001D11E") + u'!' },
        { "\xF0\x9F\x8F\xA0 home", QString::fromUcs4(U"\U0001F3E0") + u" home"_s }, // raw, not escaped
        { "\xE2\x82\xAC and \\u00e9", u"€ and é"_s }, // raw next to an escape
    };
    for (const auto& [text, expected] : cases) {
        const Texts read = textsOf(text);
        EXPECT_EQ(read.note, expected) << text.toStdString();
        EXPECT_EQ(read.name, expected) << text.toStdString();
    }
    EXPECT_EQ(textsOf(R"(\ud834\udd1e)").note.size(), 2); // one pair of UTF-16 units
}

// A surrogate without its partner is no character: it reads as U+FFFD, and what follows it
// is kept.
TEST(DecodedText, LoneSurrogatesBecomeTheReplacementCharacter)
{
    const std::pair<QByteArray, QString> cases[] = {
        { R"(\ud834)", u"\uFFFD"_s },
        { R"(\udd1e)", u"\uFFFD"_s },
        { R"(a\ud834b)", u"a\uFFFDb"_s },
        { R"(\ud834\u0041)", u"\uFFFDA"_s },
        { R"(\udd1e\ud834)", u"\uFFFD\uFFFD"_s },
        { R"(\ud834\ud834\udd1e)", u"\uFFFD"_s + QString::fromUcs4(U"\U0001D11E") },
    };
    for (const auto& [text, expected] : cases) {
        const Texts read = textsOf(text);
        EXPECT_EQ(read.note, expected) << text.toStdString();
        EXPECT_EQ(read.name, expected) << text.toStdString();
    }
}

} // namespace
