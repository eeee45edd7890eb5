// Flattening parameters into pairs and escaping them for a query or form body.
#include "net/request/KNQueryString.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace net;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList encoded(const QVariant& parameters, const QString& encoding = u"UTF-8"_s)
{
    QStringList texts;
    for (const auto& pair : KNQueryPairsFromDictionary(parameters))
        texts.append(pair.URLEncodedStringValueWithEncoding(encoding).value_or(u"<failed>"_s));
    return texts;
}

} // namespace

TEST(QueryStringTest, NestedParametersFlattenInKeyOrderWithArraysInTheirOwnOrder)
{
    const QVariantMap parameters {
        { u"b"_s, QVariantList { 1, 2 } },
        { u"a"_s, QVariantMap { { u"y"_s, u"v"_s }, { u"x"_s, u"u"_s } } },
    };
    EXPECT_EQ(encoded(parameters), (QStringList { u"a[x]=u"_s, u"a[y]=v"_s, u"b[]=1"_s, u"b[]=2"_s }));

    // Code-unit order at every level: capitals before small letters, the text 10 before 9;
    // set members sorted and kept under their key; arrays of dictionaries nest further.
    const QVariantMap ordering {
        { u"a"_s, 1 },
        { u"B"_s, 2 },
        { u"n"_s, QVariantMap { { u"9"_s, u"nine"_s }, { u"10"_s, u"ten"_s } } },
        { u"s"_s, QVariant::fromValue(QSet<QString> { u"z"_s, u"Z"_s, u"m"_s }) },
        { u"l"_s, QVariantList { QVariantMap { { u"k"_s, true } }, QVariantList { 0.5 } } },
    };
    EXPECT_EQ(encoded(ordering),
        (QStringList { u"B=2"_s, u"a=1"_s, u"l[][k]=1"_s, u"l[][]=0.5"_s, u"n[10]=ten"_s, u"n[9]=nine"_s,
            u"s=Z"_s, u"s=m"_s, u"s=z"_s }));
}

TEST(QueryStringTest, KeysKeepTheirBracketsWhileValuesEscapeEverythingButUnreservedCharacters)
{
    EXPECT_EQ(encoded(QVariantMap { { u"a.b[c]"_s, u"a.b[c]"_s } }), QStringList { u"a.b[c]=a.b%5Bc%5D"_s });
    EXPECT_EQ(encoded(QVariantMap { { u"q"_s, u"a b&c"_s } }), QStringList { u"q=a%20b%26c"_s });
    EXPECT_EQ(KNPercentEscapeQueryValue(u":/?&=;+!@#$()',*\"%<>\\^`{|}"_s, u"UTF-8"_s),
        u"%3A%2F%3F%26%3D%3B%2B%21%40%23%24%28%29%27%2C%2A%22%25%3C%3E%5C%5E%60%7B%7C%7D"_s);
    EXPECT_EQ(KNPercentEscapeQueryValue(u"Az09-._~"_s, u"UTF-8"_s), u"Az09-._~"_s);
    // Every byte of a character's encoded form, upper-case hexadecimal.
    EXPECT_EQ(KNPercentEscapeQueryValue(u"é€😀\n"_s, u"UTF-8"_s), u"%C3%A9%E2%82%AC%F0%9F%98%80%0A"_s);
    EXPECT_EQ(KNPercentEscapeQueryValue(u"é"_s, u"ISO-8859-1"_s), u"%E9"_s);
    EXPECT_EQ(KNPercentEscapeQueryValue(u"€"_s, u"windows-1252"_s), u"%80"_s);
}

TEST(QueryStringTest, NullValuesGiveTheBareKeyAndScalarsTheirDescription)
{
    const QVariantMap parameters {
        { u"none"_s, QVariant::fromValue(nullptr) },
        { u"yes"_s, true },
        { u"big"_s, Q_UINT64_C(18446744073709551615) },
        { u"third"_s, 1.0 / 3 },
        { u"data"_s, QByteArray("hello") },
    };
    EXPECT_EQ(encoded(parameters),
        (QStringList { u"big=18446744073709551615"_s, u"data=%3C68656c6c%206f%3E"_s, u"none"_s,
            u"third=0.3333333333333333"_s, u"yes=1"_s }));
    // A dictionary entry without a value is left out.
    EXPECT_TRUE(encoded(QVariantMap { { u"gone"_s, QVariant() } }).isEmpty());
}

TEST(QueryStringTest, TextTheEncodingCannotRepresentIsRefusedNotReplaced)
{
    EXPECT_FALSE(KNPercentEscapeQueryValue(u"5 €"_s, u"ISO-8859-1"_s));
    EXPECT_FALSE(KNPercentEscapeQueryKey(u"東京"_s, u"ISO-8859-1"_s));
    EXPECT_FALSE(KNPercentEscapeQueryValue(u"x"_s, u"no-such-encoding"_s));
    const QString loneSurrogate(QChar(0xD800));
    EXPECT_FALSE(KNPercentEscapeQueryValue(loneSurrogate, u"UTF-8"_s));
    EXPECT_FALSE(KNEncodeText(loneSurrogate, u"UTF-8"_s));
    EXPECT_EQ(KNEncodeText(u"東京"_s, u"Shift_JIS"_s), QByteArray("\x93\x8c\x8b\x9e"));
    EXPECT_EQ(encoded(QVariantMap { { u"k"_s, u"€"_s } }, u"ISO-8859-1"_s), QStringList { u"<failed>"_s });
}
