// Parameters given as a hash come out in the same key order as the same parameters in a
// map, in every format, so that a body or query does not change from run to run.
#include "net/request/BodyWriting.h"
#include "net/request/KNQueryString.h"

#include <gtest/gtest.h>

using namespace net;
using namespace Qt::Literals::StringLiterals;

namespace {

// Code-unit order differs from a locale's: capitals before small letters, and a character
// outside the basic plane (a surrogate pair) before U+FFFD.
const QStringList keys { u"zeta"_s, u"\uFFFD"_s, u"Beta"_s, u"alpha"_s, u"\U0001F600"_s, u"Zed"_s };

QVariantHash hashParameters()
{
    QVariantHash inner;
    for (qsizetype i = 0; i < keys.size(); ++i)
        inner.insert(keys.at(i), int(i));
    QVariantHash outer;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        outer.insert(keys.at(i), i == 0 ? QVariant(inner) : QVariant(int(i)));
    }
    return outer;
}

QVariantMap mapParameters()
{
    QVariantMap inner;
    for (qsizetype i = 0; i < keys.size(); ++i)
        inner.insert(keys.at(i), int(i));
    QVariantMap outer;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        outer.insert(keys.at(i), i == 0 ? QVariant(inner) : QVariant(int(i)));
    }
    return outer;
}

QStringList queryFields(const QVariant& parameters)
{
    QStringList fields;
    for (const KNQueryStringPair& pair : KNQueryPairsFromDictionary(parameters))
        fields.append(pair.field().toString());
    return fields;
}

} // namespace

TEST(HashParametersTest, AHashIsWrittenInTheKeyOrderOfTheSameMap)
{
    const QVariant hash = hashParameters();
    const QVariant map = mapParameters();

    const auto hashJSON = writeJSON(hash, 0);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(hashJSON));
    EXPECT_EQ(hashJSON, writeJSON(map, 0));
    EXPECT_TRUE(std::get<QByteArray>(hashJSON).startsWith(
        R"({"Beta":2,"Zed":5,"alpha":3,"zeta":{"Beta":2,"Zed":5,"alpha":3,"zeta":0,)"));

    const auto hashList = writeXMLPropertyList(hash);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(hashList));
    EXPECT_EQ(hashList, writeXMLPropertyList(map));

    const QStringList expected { u"Beta"_s, u"Zed"_s, u"alpha"_s, u"zeta[Beta]"_s, u"zeta[Zed]"_s,
        u"zeta[alpha]"_s, u"zeta[zeta]"_s, u"zeta[\U0001F600]"_s, u"zeta[\uFFFD]"_s, u"\U0001F600"_s,
        u"\uFFFD"_s };
    EXPECT_EQ(queryFields(hash), expected);
    EXPECT_EQ(queryFields(map), expected);
}
