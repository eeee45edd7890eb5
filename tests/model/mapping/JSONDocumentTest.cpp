#include "TestModels.h"

#include "model/mapping/MAPJSONDocument.h"
#include "model/mapping/MAPJSONScanner.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

#include <cmath>

namespace {

/// What Qt's own reader makes of the same text, for comparison.
QVariant qtReading(const QByteArray& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    return error.error == QJsonParseError::NoError ? document.toVariant() : QVariant();
}

QVariant deep(const QVariant& value)
{
    if (MAPIsDictionary(value))
        return value.toMap();
    if (MAPIsArray(value))
        return value.toList();
    return value;
}

} // namespace

TEST(JSONDocument, ReadsWhatQtReads)
{
    const QList<QByteArray> texts = {
        R"({"a": [1, -2, 3.5, 1e3, -0.25E-2, 12345678901234], "b": {"c": null, "d": true, "e": false}})",
        R"(["plain", "esc \" \\ \/ \b \f \n \r \t", "\u00e9\u20ac", "\ud83d\ude00", "€ лв. 😀"])",
        R"({"dup": 1, "dup": 2})",
        " \n\t[ ] ",
        "{}",
        "[-0, 9223372036854775807, 123456789012345678901234567890]",
    };
    for (const QByteArray& text : texts) {
        const platform::Expected<QVariant> mine = MAPJSONDocument::parse(text);
        ASSERT_TRUE(mine) << text.constData() << " " << qPrintable(mine.errorIfAny().value_or(QString()));
        EXPECT_TRUE(MAPValuesEqual(deep(*mine), qtReading(text))) << text.constData();
    }
    EXPECT_EQ((*MAPJSONDocument::parse(R"("top")")).toString(), u"top"_s) << "any value may stand at the top";
    EXPECT_EQ((*MAPJSONDocument::parse("-12")).toLongLong(), -12);
    EXPECT_EQ((*MAPJSONDocument::parse("1e-400")).toDouble(), 0.0) << "underflow reads as zero";
    const QVariant duplicate = *MAPJSONDocument::parse(R"({"dup": 1, "dup": 2})");
    EXPECT_EQ(duplicate.toMap().value(u"dup"_s).toInt(), 2) << "the last member of a name wins";
}

// Stricter than Qt's reader, which lets "[1.]", "[.5]", unknown escapes and raw tabs pass.
TEST(JSONDocument, RefusesInvalidTextWithOffset)
{
    const QList<QByteArray> texts = {
        "",
        "   ",
        "{",
        "[1,]",
        "{\"a\" 1}",
        "{\"a\":1,}",
        "[01]",
        "[1.]",
        "[.5]",
        "[1e]",
        "[+1]",
        "[tru]",
        "[\"unterminated]",
        "[\"bad \\x escape\"]",
        "[\"\\u12G4\"]",
        "[\"tab\tinside\"]",
        "[\"\xC3\x28\"]",
        "[\"\xED\xA0\x80\"]",
        "[1] 2",
        "[1e999]",
        QByteArray(600, '[') + QByteArray(600, ']'),
    };
    for (const QByteArray& text : texts) {
        const platform::Expected<QVariant> refused = MAPJSONDocument::parse(text);
        ASSERT_FALSE(refused) << text.left(40).constData();
        EXPECT_TRUE(refused.error().contains(u" at offset "_s)) << qPrintable(refused.error());
    }
}

TEST(JSONDocument, AdapterReadsDocumentsInPlace)
{
    const QByteArray text = R"({"meta": {"title": "T\u00e9", "year": 2020}, "count": 4, "tags": ["a"],
        "extra": {"deep": [1, {"x": null}]}, "anything": 1,
        "leaves": [{"name": "a", "value": 2.5}, null, 7, {"name": "b"}]})";
    MAPSkippedElementCounter skipped;
    MAPError error;
    const auto record = MAPJSONAdapter::modelOfClass<TMRecord>(*MAPJSONDocument::parse(text), &error);
    ASSERT_TRUE(record) << qPrintable(error.toString());
    EXPECT_EQ(record->title(), u"Té"_s);
    EXPECT_EQ(record->year(), 2020);
    EXPECT_EQ(record->tags(), QStringList { u"a"_s });
    EXPECT_EQ(record->extra().value(u"deep"_s).toList().value(1).toMap().size(), 1) << "copied deeply";
    ASSERT_EQ(record->leaves().size(), 2);
    EXPECT_EQ(record->leaves()[0]->amount(), 2.5);
    EXPECT_EQ(skipped.count(), 2) << "the null and the number";

    const auto same = MAPJSONAdapter::modelOfClass<TMRecord>(QJsonDocument::fromJson(text).toVariant());
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->isEqual(record.get()));

    EXPECT_FALSE(MAPJSONAdapter::modelOfClass<TMRecord>(*MAPJSONDocument::parse("[1]"), &error));
    EXPECT_EQ(error.localizedFailureReason(),
        u"TMRecord could not be created because an invalid JSON dictionary was provided: QVariantList"_s);
}

// The pull reader and the document parser share one lexer: on well-formed UTF-8 they accept
// and refuse the same texts and read the same numbers.
TEST(JSONDocument, AgreesWithThePullReader)
{
    const char* texts[] = { R"(["a\u00e9\ud83d\ude00\n", {"k\"": [true, false, null]}])",
        "[-0, -0.0, 0.5e-3, 1E+2, 12, 1e-999, -1e-999, 123456789012345678901234]", "[1e999]", "[01]", "[1.]",
        "[-]", "[1e+]", "[tru]", "[nul]", R"(["\x"])", R"(["\u12G4"])", "[\"tab\tinside\"]", R"(["open)",
        "[1,]", R"({"a" 1})", R"({"a":1,})", "[1] 2", "" };
    for (const char* text : texts) {
        const platform::Expected<QVariant> parsed = MAPJSONDocument::parse(text);
        const QString error = parsed.errorIfAny().value_or(QString());
        const QVariantList document = parsed.valueOr(QVariant()).toList();
        bool scannerRefuses = false;
        QList<std::optional<double>> numbers; // what the scanner reads from a top-level array
        try {
            JSONScanner scanner { QByteArrayView(text) };
            if (scanner.peek() == JSONScanner::Kind::Array) {
                scanner.beginArray();
                for (bool first = true; scanner.nextElement(first);) {
                    if (scanner.peek() == JSONScanner::Kind::Number)
                        numbers.append(scanner.readNumber());
                    else
                        scanner.skipValue();
                }
            } else {
                scanner.skipValue();
            }
            scanner.expectEnd();
        } catch (const JSONScanner::SyntaxError&) {
            scannerRefuses = true;
        }
        // Only a number too large for a double divides them: the document refuses it, the
        // scanner leaves the decision to its caller.
        const bool tooLarge = numbers.contains(std::nullopt);
        EXPECT_EQ(scannerRefuses || tooLarge, !error.isEmpty()) << text << " -> " << qPrintable(error);
        if (tooLarge) {
            EXPECT_TRUE(error.startsWith(u"number out of range"_s)) << qPrintable(error);
            continue;
        }
        for (qsizetype i = 0; i < numbers.size() && i < document.size(); ++i) {
            EXPECT_EQ(*numbers[i], document[i].toDouble()) << text << " #" << i;
            if (document[i].typeId() == QMetaType::Double) { // "-0" is the integer 0 in the document
                EXPECT_EQ(std::signbit(*numbers[i]), std::signbit(document[i].toDouble()))
                    << text << " #" << i;
            }
        }
    }
}
