#include "app/selection/SelectionSearch.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList foldedAll(const QStringList& names)
{
    QStringList result;
    for (const QString& name : names)
        result.append(SelectionSearch::folded(name));
    return result;
}

const QStringList kNames = foldedAll({ u"Euro"_s, u"Złoty"_s, u"Côte d'Ivoire franc"_s, u"Icelandic Króna"_s,
    u"NEW ZEALAND DOLLAR"_s, u"Swiss Franc"_s, u"Back\\slash [x]*"_s });

TEST(SelectionSearchTest, IgnoresCaseAndAccentsInBothTheNamesAndTheSearch)
{
    EXPECT_EQ(SelectionSearch::matches(kNames, u"franc"_s), (QList<int> { 2, 5 }));
    EXPECT_EQ(SelectionSearch::matches(kNames, u"KRONA"_s), (QList<int> { 3 }));
    EXPECT_EQ(SelectionSearch::matches(kNames, u"króna"_s), (QList<int> { 3 }));
    EXPECT_EQ(SelectionSearch::matches(kNames, u"cote"_s), (QList<int> { 2 }));
    EXPECT_EQ(SelectionSearch::matches(kNames, u"zealand"_s), (QList<int> { 4 }));
    // A letter with a stroke is a letter of its own, not an accented "l".
    EXPECT_EQ(SelectionSearch::matches(kNames, u"zł"_s), (QList<int> { 1 }));
}

TEST(SelectionSearchTest, TakesTheTextLiterallyAndAnEmptyTextListsAllInOrder)
{
    EXPECT_EQ(SelectionSearch::matches(kNames, u"d'i"_s), (QList<int> { 2 }));
    EXPECT_TRUE(SelectionSearch::matches(kNames, u"d'x"_s).isEmpty());
    EXPECT_EQ(SelectionSearch::matches(kNames, u"\\slash [x]*"_s), (QList<int> { 6 }));
    EXPECT_TRUE(SelectionSearch::matches(kNames, u"[x]+"_s).isEmpty());
    EXPECT_TRUE(SelectionSearch::matches(kNames, u"."_s).isEmpty());
    EXPECT_EQ(SelectionSearch::matches(kNames, QString()), (QList<int> { 0, 1, 2, 3, 4, 5, 6 }));
    EXPECT_EQ(SelectionSearch::matches(kNames, u""_s).size(), 7);
    EXPECT_TRUE(SelectionSearch::matches({}, u"a"_s).isEmpty());
}

} // namespace
