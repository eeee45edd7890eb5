#include "dashboard/common/PieSlices.h"
#include "support/RecordBuilders.h"
#include "dashboard/common/PieColorSchemes.h"
#include "uikit/extensions/ColorHex.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
using PieChartSettings::PieDisplayType;
using PieChartSettings::PieLabelType;

namespace {

QString dollars(double amount)
{
    return u"$"_s + QString::number(amount, 'f', 0);
}

class PieSlicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_model = MVX_Model::makeEmpty();
        m_model->setAssetscat(MVX_CategoryList { category(u"a1"_s, u"Checking"_s),
            category(u"a2"_s, u"Savings"_s), category(u"a3"_s, u"Brokerage account"_s),
            category(u"a4"_s, u"Car"_s), category(u"a5"_s, u"Cash"_s) });
        m_model->setLiabilitycat(MVX_CategoryList { category(u"l1"_s, u"Mortgage"_s) });
    }

    PieSlices::DashboardPieOptions options(PieDisplayType type, PieLabelType style, bool names) const
    {
        PieSlices::DashboardPieOptions result;
        result.type = type;
        result.labelStyle = style;
        result.nameInLabel = names;
        result.colors = PieColorSchemes::setColorDictionary(m_model.get(), false).assets;
        result.colorList = PieColorSchemes::colorArrayA();
        result.format = dollars;
        return result;
    }

    std::shared_ptr<MVX_Model> m_model;
};

QStringList labels(const PieSlices::Pie& pie)
{
    QStringList result;
    for (const auto& slice : pie.slices)
        result.append(slice.label);
    return result;
}

} // namespace

TEST_F(PieSlicesTest, SmallAssetsAreMergedIntoAllOther)
{
    const auto record = recordWith(2020, 5,
        { { u"a1"_s, 50 }, { u"a2"_s, 30 }, { u"a3"_s, 18 }, { u"a4"_s, 1.5 }, { u"a5"_s, 0.5 } }, {});
    const auto pie = PieSlices::dashboardPie(record.get(), m_model.get(),
        options(PieDisplayType::AssetCategories, PieLabelType::Percentage, true));

    ASSERT_EQ(pie.slices.size(), 4);
    EXPECT_EQ(pie.bigCount, 3);
    EXPECT_EQ(labels(pie),
        (QStringList { u"50%-Checking"_s, u"30%-Savings"_s, u"18%-Brokerag..."_s, u"2%-All other"_s }));
    EXPECT_TRUE(pie.slices[3].merged);
    EXPECT_DOUBLE_EQ(*pie.slices[3].value, 2.0);
    EXPECT_DOUBLE_EQ(pie.totalInSmallPercent, 2.0);
    EXPECT_TRUE(pie.smallPercntIsActive);
    EXPECT_TRUE(pie.caption.isNull());
    // Own slices take their category's colour, the merged one the list's entry after the big ones.
    EXPECT_EQ(pie.slices[0].fill->gradient()->stops().first().second, ColorHex::colorFromHex(u"ea9b2df7"));
    EXPECT_EQ(pie.slices[3].fill->gradient()->stops().first().second, ColorHex::colorFromHex(u"19c0d3f7"));

    // Exactly the limit is merged, a hair above it is not.
    const auto edge = recordWith(2020, 5, { { u"a1"_s, 97.9999 }, { u"a2"_s, 2.0001 } }, {});
    const auto atLimit = recordWith(2020, 5, { { u"a1"_s, 98 }, { u"a2"_s, 2 } }, {});
    const auto opts = options(PieDisplayType::AssetCategories, PieLabelType::Amount, false);
    EXPECT_EQ(PieSlices::dashboardPie(edge.get(), m_model.get(), opts).bigCount, 2);
    const auto merged = PieSlices::dashboardPie(atLimit.get(), m_model.get(), opts);
    EXPECT_EQ(merged.bigCount, 1);
    EXPECT_EQ(labels(merged), (QStringList { u"$98"_s, u"$2"_s }));
}

TEST_F(PieSlicesTest, LabelStylesAndNameShortening)
{
    const auto record = recordWith(2020, 5, { { u"a3"_s, 70 }, { u"a1"_s, 30 } }, {});
    auto opts = options(PieDisplayType::AssetCategories, PieLabelType::None, true);
    EXPECT_EQ(labels(PieSlices::dashboardPie(record.get(), m_model.get(), opts)),
        (QStringList { u"Brokerage acc..."_s, u"Checking"_s }));
    opts.nameInLabel = false;
    EXPECT_EQ(
        labels(PieSlices::dashboardPie(record.get(), m_model.get(), opts)), (QStringList { u""_s, u""_s }));
    opts.labelStyle = PieLabelType::Amount;
    EXPECT_EQ(labels(PieSlices::dashboardPie(record.get(), m_model.get(), opts)),
        (QStringList { u"$70"_s, u"$30"_s }));

    const QString fifteen = u"ABCDEFGHIJKLMNO"_s;
    EXPECT_EQ(PieSlices::categoryNameAbbrev(fifteen, 9, PieLabelType::Amount), u"ABCDEFGH..."_s);
    EXPECT_EQ(PieSlices::categoryNameAbbrev(fifteen, 9, PieLabelType::None), fifteen);
    EXPECT_EQ(PieSlices::categoryNameAbbrev(fifteen.left(11), 9, PieLabelType::Percentage), fifteen.left(11));
    // The full-window pies cut at 15 (20 without values): 17 stays, 18 becomes 14 and "...".
    const QString longName = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s;
    EXPECT_EQ(PieSlices::categoryNameAbbrev(longName.left(17), 15, PieLabelType::Amount), longName.left(17));
    EXPECT_EQ(PieSlices::categoryNameAbbrev(longName.left(18), 15, PieLabelType::Amount),
        longName.left(14) + u"..."_s);
    EXPECT_EQ(PieSlices::categoryNameAbbrev(longName.left(22), 15, PieLabelType::None), longName.left(22));
    EXPECT_EQ(PieSlices::categoryNameAbbrev(longName.left(23), 15, PieLabelType::None),
        longName.left(19) + u"..."_s);
    // A cut never leaves half of a surrogate pair behind.
    const QString emoji = u"ABCDEFG\U0001F600XYZWV"_s;
    EXPECT_EQ(PieSlices::categoryNameAbbrev(emoji, 9, PieLabelType::Amount), u"ABCDEFG..."_s);
}

TEST_F(PieSlicesTest, EmptyRecordsZeroTotalsAndPlaceholders)
{
    const auto opts = options(PieDisplayType::LiabilityCategories, PieLabelType::Percentage, true);
    EXPECT_TRUE(PieSlices::dashboardPie(nullptr, m_model.get(), opts).slices.isEmpty());

    // No liabilities at all: no percentages can be given, the pie is empty and says so.
    const auto noDebt = recordWith(2020, 5, { { u"a1"_s, 100 } }, { { u"l1"_s, 0 } });
    const auto empty = PieSlices::dashboardPie(noDebt.get(), m_model.get(), opts);
    EXPECT_TRUE(empty.slices.isEmpty());
    EXPECT_EQ(empty.caption, u"\u2013"_s);
    for (const auto& slice : PieSlices::dashboardPie(noDebt.get(), m_model.get(),
             options(PieDisplayType::AssetCategories, PieLabelType::Percentage, true))
                                 .slices)
        EXPECT_FALSE(slice.label.contains(u"nan"_s, Qt::CaseInsensitive));

    // Only small values: an empty placeholder, then everything in the merged slice.
    const auto small = recordWith(2020, 5, { { u"a1"_s, 1 }, { u""_s, 99 } }, {});
    const auto onlyMerged = PieSlices::dashboardPie(small.get(), m_model.get(),
        options(PieDisplayType::AssetCategories, PieLabelType::Percentage, false));
    ASSERT_EQ(onlyMerged.slices.size(), 2);
    EXPECT_FALSE(onlyMerged.slices[0].value);
    EXPECT_TRUE(onlyMerged.slices[0].label.isNull());
    EXPECT_DOUBLE_EQ(*onlyMerged.slices[1].value, 100.0);
    EXPECT_EQ(onlyMerged.slices[1].label, u"100%"_s);
}

TEST_F(PieSlicesTest, ValuesOfDeletedCategoriesStayVisible)
{
    const auto record = recordWith(2020, 5, { { u"a1"_s, 60 }, { u"gone"_s, 40 } }, {});
    const auto pie = PieSlices::dashboardPie(record.get(), m_model.get(),
        options(PieDisplayType::AssetCategories, PieLabelType::Percentage, true));
    ASSERT_EQ(pie.slices.size(), 2);
    EXPECT_EQ(pie.slices[1].categoryName, u"(unknown category)"_s);
    EXPECT_EQ(pie.slices[1].label, u"40%-(unknown..."_s);
    const auto popup
        = PieSlices::dashboardSlicePopup(pie, PieDisplayType::AssetCategories, record.get(), 1, dollars);
    EXPECT_EQ(popup.caption, u"(unknown category)"_s);

    const auto big = PieSlices::categoryPie(
        record.get(), m_model.get(), PieSlices::Side::Assets, PieLabelType::Amount, true, dollars);
    ASSERT_EQ(big.slices.size(), 2);
    EXPECT_EQ(big.slices[1].label, u"$40-(unknown categ..."_s);
}

TEST_F(PieSlicesTest, NetWorthSplitAndPopups)
{
    const auto negative = recordWith(2020, 5, { { u"a1"_s, 1000 } }, { { u"l1"_s, 1500 } });
    const auto split = PieSlices::dashboardPie(
        negative.get(), m_model.get(), options(PieDisplayType::NetWorth, PieLabelType::Percentage, true));
    EXPECT_EQ(labels(split), (QStringList { u"$1500"_s, u"$1000"_s }));
    const auto positive = recordWith(2020, 5, { { u"a1"_s, 1000 } }, { { u"l1"_s, 400 } });
    const auto three = PieSlices::netWorthPie(positive.get(), dollars);
    ASSERT_EQ(three.slices.size(), 3);
    EXPECT_DOUBLE_EQ(*three.slices[2].value, 600.0);
    EXPECT_EQ(three.slices[2].label, u"$600"_s);
    const auto none = PieSlices::netWorthPie(nullptr, dollars);
    ASSERT_EQ(none.slices.size(), 3);
    EXPECT_FALSE(none.slices[0].value);
    EXPECT_EQ(*none.slices[2].value, 0.0);
    EXPECT_EQ(none.slices[0].label, u"$0"_s);

    const auto popup = PieSlices::netWorthSlicePopup(positive.get(), 2, dollars);
    EXPECT_EQ(popup.amount, u"$600"_s);
    EXPECT_EQ(popup.caption, u"Net Worth"_s);
    EXPECT_EQ(popup.color, PieSlices::netWorthColor());
    EXPECT_EQ(PieSlices::netWorthSlicePopup(positive.get(), 0, dollars).color, PieSlices::liabilitiesColor());
    EXPECT_TRUE(PieSlices::netWorthSlicePopup(positive.get(), 3, dollars).amount.isEmpty());

    // A 40-character name shows as its first 30 characters and " ...".
    const QString forty = u"Retirement account at the old employer 1"_s;
    ASSERT_EQ(forty.size(), 40);
    m_model->assetscat()->append(category(u"a6"_s, forty));
    const auto record = recordWith(2020, 5, { { u"a6"_s, 250 }, { u"a1"_s, 750 } }, {});
    const auto pie = PieSlices::dashboardPie(record.get(), m_model.get(),
        options(PieDisplayType::AssetCategories, PieLabelType::Percentage, true));
    const auto texts
        = PieSlices::dashboardSlicePopup(pie, PieDisplayType::AssetCategories, record.get(), 0, dollars);
    EXPECT_EQ(texts.caption, forty.left(30) + u" ..."_s);
    EXPECT_EQ(texts.amount, u"$250 (25%)"_s);
    EXPECT_EQ(texts.color, PieSlices::assetsColor());
}

TEST_F(PieSlicesTest, FullWindowCategoryPieShadesPositiveValues)
{
    const auto record = recordWith(2020, 5,
        { { u"a1"_s, 500 }, { u"a2"_s, 0 }, { u"a3"_s, -20 }, { u"a4"_s, 300 } }, { { u"l1"_s, 0 } });
    record->setAssets(1000);
    const auto pie = PieSlices::categoryPie(
        record.get(), m_model.get(), PieSlices::Side::Assets, PieLabelType::Percentage, true, dollars);
    ASSERT_EQ(pie.slices.size(), 2);
    EXPECT_DOUBLE_EQ(*pie.slices[0].value, 500.0);
    EXPECT_DOUBLE_EQ(*pie.slices[1].value, 300.0);
    EXPECT_NEAR(pie.slices[0].fill->gradient()->stops().first().second.alphaF(), 0.55, 0.01);
    EXPECT_NEAR(pie.slices[1].fill->gradient()->stops().first().second.alphaF(), 1.0, 0.01);
    EXPECT_EQ(pie.slices[0].label, u"50%-Checking"_s);

    const auto popup = PieSlices::categorySlicePopup(pie, PieSlices::Side::Assets, 1, dollars);
    EXPECT_EQ(popup.amount, u"$300 (30%)"_s);
    EXPECT_EQ(popup.caption, u"Car"_s);
    EXPECT_EQ(PieSlices::categorySlicePopup(pie, PieSlices::Side::Assets, 7, dollars).color,
        PieSlices::assetsColor());

    // No positive liability: the liability total is 0, so the pie stays empty with its dash.
    const auto liabilities = PieSlices::categoryPie(
        record.get(), m_model.get(), PieSlices::Side::Liabilities, PieLabelType::Percentage, true, dollars);
    EXPECT_TRUE(liabilities.slices.isEmpty());
    EXPECT_EQ(liabilities.caption, PieSlices::emptyTotalCaption());
    // A total but no positive value: one slice without value or label.
    record->setLiabilities(10);
    const auto placeholder = PieSlices::categoryPie(
        record.get(), m_model.get(), PieSlices::Side::Liabilities, PieLabelType::Percentage, true, dollars);
    ASSERT_EQ(placeholder.slices.size(), 1);
    EXPECT_FALSE(placeholder.slices[0].value);
    EXPECT_TRUE(placeholder.slices[0].label.isNull());
}
