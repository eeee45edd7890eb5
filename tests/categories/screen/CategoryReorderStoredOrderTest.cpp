#include "categories/screen/CategoryBuilders.h"
#include "categories/screen/CategoryOrdering.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

QString storedNumbersOf(const MVX_CategoryList& list)
{
    QStringList numbers;
    for (const auto& category : list)
        numbers.append(category->ID() + QString::number(category->sortOrder()));
    return numbers.join(u',');
}

// The side's stored order is not its sort order once a category is added: the new one is
// stored last but numbered 0. The move works on the sort order, which is what the list shows.
TEST(CategoryReorderStoredOrder, ANewCategoryStoredLastButNumberedFirstMovesByItsNumber)
{
    const auto a = makeCategory(u"A"_s, 1);
    const auto h = makeCategory(u"H"_s, 2, true);
    const auto b = makeCategory(u"B"_s, 3);
    const auto n = makeCategory(u"N"_s, 0);
    const MVX_CategoryList side { a, h, b, n };
    MVX_CategoryList listed { a, b, n };
    categoryorder::numberAndSort(listed);
    ASSERT_EQ(storedNumbersOf(listed), u"N0,A1,B3"_s);

    ASSERT_TRUE(categoryorder::reorder(side, listed, 2, 0));
    EXPECT_EQ(storedNumbersOf(listed), u"B0,N1,A3"_s);
    // H, left out of the list, keeps its place between the second and the third listed row.
    EXPECT_EQ(storedNumbersOf(categoryorder::inSortOrder(side)), u"B0,N1,H2,A3"_s);

    // The list built again from the side shows what was dropped.
    MVX_CategoryList shownAgain { a, b, n };
    categoryorder::numberAndSort(shownAgain);
    EXPECT_EQ(storedNumbersOf(shownAgain), u"B0,N1,A3"_s);

    // And a move back down follows the new numbers, not the stored order.
    ASSERT_TRUE(categoryorder::reorder(side, listed, 0, 3));
    EXPECT_EQ(storedNumbersOf(categoryorder::inSortOrder(side)), u"N0,A1,H2,B3"_s);
}

} // namespace
