#include "categories/screen/CategoryOrdering.h"
#include "categories/screen/CategoryBuilders.h"
#include "categories/screen/CategoryDragPayload.h"

#include <gtest/gtest.h>

#include <QMimeData>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;

namespace {

QString idsOf(const MVX_CategoryList& list)
{
    QStringList ids;
    for (const auto& category : list)
        ids.append(category->ID());
    return ids.join(u',');
}

QString numbersOf(const MVX_CategoryList& list)
{
    QStringList numbers;
    for (const auto& category : list)
        numbers.append(category->ID() + QString::number(category->sortOrder()));
    return numbers.join(u',');
}

// A model whose newest record holds `assetValues` (ID to value) for its asset categories.
std::shared_ptr<MVX_Model> modelWithNewest(
    const MVX_CategoryList& assets, const QList<std::pair<QString, std::optional<double>>>& assetValues)
{
    auto model = MVX_Model::makeEmpty();
    model->setAssetscat(assets);
    auto older = std::make_shared<MVX_NWLog>();
    older->setYear(2023);
    older->setMonth(1);
    older->setAssetLogs(MVX_CategoryLogList());
    for (const auto& category : assets) {
        auto log = std::make_shared<MVX_CategoryLog>();
        log->setCategoryID(category->ID());
        log->setValue(500);
        older->assetLogs()->append(log);
    }
    auto newest = std::make_shared<MVX_NWLog>();
    newest->setYear(2024);
    newest->setMonth(1);
    newest->setAssetLogs(MVX_CategoryLogList());
    for (const auto& [id, value] : assetValues) {
        auto log = std::make_shared<MVX_CategoryLog>();
        log->setCategoryID(id);
        log->setValue(value);
        newest->assetLogs()->append(log);
    }
    model->setNwLogArray(MVX_NWLogList { newest, older });
    return model;
}

TEST(CategoryHiddenFilter, AHiddenCategoryIsLeftOutOnlyWhenItsNewestValueIsBelowOneCent)
{
    const MVX_CategoryList assets { makeCategory(u"tiny"_s, 0, true), makeCategory(u"debt"_s, 0, true),
        makeCategory(u"zero"_s, 0, true), makeCategory(u"cent"_s, 0, true), makeCategory(u"none"_s, 0, true),
        makeCategory(u"shown"_s), makeCategory(u"empty"_s, 0, true) };
    // The older record values every category at 500: only the newest decides.
    const auto model = modelWithNewest(assets,
        { { u"tiny"_s, 0.005 }, { u"debt"_s, -20 }, { u"zero"_s, 0 }, { u"cent"_s, 0.01 }, { u"shown"_s, 0 },
            { u"empty"_s, std::nullopt } });

    EXPECT_EQ(idsOf(categoryorder::listedCategories(model.get(), true, false)), u"cent,none,shown"_s);
    EXPECT_EQ(idsOf(categoryorder::listedCategories(model.get(), true, true)),
        u"tiny,debt,zero,cent,none,shown,empty"_s);
    // The asset values say nothing about liabilities.
    EXPECT_FALSE(categoryorder::isZeroValue(*model, u"tiny"_s, false));

    model->setNwLogArray(MVX_NWLogList());
    EXPECT_EQ(categoryorder::listedCategories(model.get(), true, false).size(), assets.size());
    EXPECT_TRUE(categoryorder::listedCategories(nullptr, true, true).isEmpty());
    model->setAssetscat(std::nullopt);
    EXPECT_TRUE(categoryorder::listedCategories(model.get(), true, true).isEmpty());
}

TEST(CategoryNumbering, AnUnnumberedListIsNumberedInItsOrderANumberedOneOnlySorted)
{
    MVX_CategoryList fresh { makeCategory(u"A"_s, 0), makeCategory(u"B"_s, -3), makeCategory(u"C"_s, 0) };
    categoryorder::numberAndSort(fresh);
    EXPECT_EQ(numbersOf(fresh), u"A0,B1,C2"_s);

    MVX_CategoryList numbered { makeCategory(u"A"_s, 5), makeCategory(u"B"_s, 0), makeCategory(u"C"_s, 5),
        makeCategory(u"D"_s, 2) };
    categoryorder::numberAndSort(numbered);
    EXPECT_EQ(numbersOf(numbered), u"B0,D2,A5,C5"_s); // equal numbers keep their order
}

struct ReorderCase {
    int from;
    int to;
    const char* order;
    bool changed;
};

class CategoryReorder : public testing::TestWithParam<ReorderCase> { };

TEST_P(CategoryReorder, FourRowsMoveAsDroppedAndAreNumberedWithoutGaps)
{
    const MVX_CategoryList side { makeCategory(u"A"_s, 0), makeCategory(u"B"_s, 1), makeCategory(u"C"_s, 2),
        makeCategory(u"D"_s, 3) };
    MVX_CategoryList listed = side;
    EXPECT_EQ(categoryorder::reorder(side, listed, GetParam().from, GetParam().to), GetParam().changed);
    EXPECT_EQ(idsOf(listed), QString::fromLatin1(GetParam().order));
    // The numbers follow the list: 0..3 in its order.
    for (qsizetype i = 0; i < listed.size(); ++i)
        EXPECT_EQ(listed[i]->sortOrder(), i) << qPrintable(listed[i]->ID());
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, CategoryReorder,
    testing::Values(ReorderCase { 0, 3, "B,C,A,D", true }, ReorderCase { 0, 4, "B,C,D,A", true },
        ReorderCase { 3, 1, "A,D,B,C", true }, ReorderCase { 1, 2, "A,B,C,D", false },
        ReorderCase { 2, 2, "A,B,C,D", false }, ReorderCase { 3, 0, "D,A,B,C", true },
        ReorderCase { 4, 0, "A,B,C,D", false }, ReorderCase { 0, 5, "A,B,C,D", false }));

TEST(CategoryReorderHidden, HiddenCategoriesKeepTheirSlotsAndNoTwoShareANumber)
{
    // H and K are hidden and not listed; the listed ones were numbered alone at first, so H
    // shares A's number and K shares B's.
    const auto a = makeCategory(u"A"_s, 0);
    const auto h = makeCategory(u"H"_s, 0, true);
    const auto b = makeCategory(u"B"_s, 1);
    const auto k = makeCategory(u"K"_s, 1, true);
    const auto c = makeCategory(u"C"_s, 2);
    const MVX_CategoryList side { a, h, b, k, c };
    MVX_CategoryList listed { a, b, c };

    ASSERT_TRUE(categoryorder::reorder(side, listed, 2, 0));
    EXPECT_EQ(idsOf(listed), u"C,A,B"_s);
    EXPECT_EQ(numbersOf(categoryorder::inSortOrder(side)), u"C0,H1,A2,K3,B4"_s);

    // Moving again from the new state: the hidden ones still stay where they are.
    ASSERT_TRUE(categoryorder::reorder(side, listed, 0, 3));
    EXPECT_EQ(idsOf(listed), u"A,B,C"_s);
    EXPECT_EQ(numbersOf(categoryorder::inSortOrder(side)), u"A0,H1,B2,K3,C4"_s);

    // A listed category the side no longer holds (deleted meanwhile) moves nothing.
    MVX_CategoryList stale { a, makeCategory(u"gone"_s, 1), c };
    EXPECT_FALSE(categoryorder::reorder(side, stale, 0, 3));
    EXPECT_EQ(numbersOf(categoryorder::inSortOrder(side)), u"A0,H1,B2,K3,C4"_s);
}

TEST(CategoryRenumber, AfterADeleteTheSideIsNumberedWithoutGapsInItsOrder)
{
    const MVX_CategoryList side { makeCategory(u"C"_s, 7), makeCategory(u"A"_s, 0),
        makeCategory(u"H"_s, 3, true), makeCategory(u"B"_s, 3) };
    categoryorder::renumberSide(side);
    EXPECT_EQ(numbersOf(categoryorder::inSortOrder(side)), u"A0,H1,B2,C3"_s);
}

TEST(CategoryDragPayloadTest, OnlyOurOwnRowsOfThisProcessAreRead)
{
    const std::unique_ptr<QMimeData> data(CategoryDragPayload { false, 3, u"LOAN"_s }.toMimeData());
    const auto payload = CategoryDragPayload::fromMimeData(data.get());
    ASSERT_TRUE(payload.has_value());
    EXPECT_FALSE(payload->isAsset);
    EXPECT_EQ(payload->row, 3);
    EXPECT_EQ(payload->categoryID, u"LOAN"_s);

    QMimeData text;
    text.setText(u"3"_s);
    EXPECT_FALSE(CategoryDragPayload::fromMimeData(&text).has_value());
    QMimeData damaged;
    damaged.setData(CategoryDragPayload::mimeType, data->data(CategoryDragPayload::mimeType).chopped(3));
    EXPECT_FALSE(CategoryDragPayload::fromMimeData(&damaged).has_value());
    QMimeData longer;
    longer.setData(CategoryDragPayload::mimeType, data->data(CategoryDragPayload::mimeType) + "x");
    EXPECT_FALSE(CategoryDragPayload::fromMimeData(&longer).has_value());
    // Another running copy of the application names another process.
    QByteArray other = data->data(CategoryDragPayload::mimeType);
    other[1] = char(other[1] ^ 0x40);
    QMimeData elsewhere;
    elsewhere.setData(CategoryDragPayload::mimeType, other);
    EXPECT_FALSE(CategoryDragPayload::fromMimeData(&elsewhere).has_value());
    EXPECT_FALSE(CategoryDragPayload::fromMimeData(nullptr).has_value());
}

} // namespace
