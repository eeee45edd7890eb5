#include "dashboard/common/PieSlices.h"
#include "dashboard/common/PieColorSchemes.h"
#include "support/Contrast.h"
#include "support/RecordBuilders.h"
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

// Over a dark window the full-window pie's shading by transparency would fade the first slices
// into it: there each slice is opaque, in the colour it shows over the light window, so the
// hue stays and every slice stands out at 3:1 or more. A category of the same ID twice is
// named after the first, as before.
TEST_F(PieSlicesTest, FullWindowPieSlicesAreOpaqueAndPaleOverADarkWindow)
{
    m_model->assetscat()->append(category(u"a1"_s, u"Second checking"_s));
    std::vector<std::pair<QString, double>> values;
    for (int i = 0; i < 12; ++i)
        values.emplace_back(i == 0 ? u"a1"_s : u"a2"_s, 100.0 + i);
    const auto record = recordWith(2020, 5, values, {});
    const QColor lightWindow(0xEC, 0xEC, 0xEC);
    const QColor darkWindow(0x32, 0x32, 0x32);
    const auto translucent = PieSlices::categoryPie(
        record.get(), m_model.get(), PieSlices::Side::Assets, PieLabelType::Amount, true, dollars);
    const auto opaque = PieSlices::categoryPie(record.get(), m_model.get(), PieSlices::Side::Assets,
        PieLabelType::Amount, true, dollars, lightWindow);
    ASSERT_EQ(opaque.slices.size(), 12);
    EXPECT_EQ(opaque.slices[0].categoryName, u"Checking"_s);
    for (qsizetype k = 0; k < 12; ++k) {
        const auto& seen = opaque.slices[k].fill->gradient()->stops();
        const auto& faded = translucent.slices[k].fill->gradient()->stops();
        ASSERT_EQ(seen.size(), faded.size());
        for (qsizetype stop = 0; stop < seen.size(); ++stop) {
            const QColor color = seen[stop].second;
            EXPECT_EQ(color.alpha(), 255);
            EXPECT_GE(contrast(color, darkWindow), 3.0) << "slice " << k;
            // What the translucent slice shows over the light window, to within rounding.
            const QColor original = faded[stop].second;
            const double a = original.alphaF();
            EXPECT_NEAR(color.redF(), original.redF() * a + lightWindow.redF() * (1 - a), 0.005);
            EXPECT_NEAR(color.greenF(), original.greenF() * a + lightWindow.greenF() * (1 - a), 0.005);
            EXPECT_NEAR(color.blueF(), original.blueF() * a + lightWindow.blueF() * (1 - a), 0.005);
            EXPECT_NEAR(color.hsvHueF(), QColor(original.rgb()).hsvHueF(), 0.01) << "slice " << k;
        }
        // The palest is the first, the last the Part's own colour.
        if (k > 0) {
            EXPECT_LT(seen.last().second.lightnessF(),
                opaque.slices[k - 1].fill->gradient()->stops().last().second.lightnessF() + 1e-6);
        }
    }
    EXPECT_EQ(
        opaque.slices.last().fill->gradient()->stops().last().second.rgb(), PieSlices::assetsColor().rgb());
}

namespace {

PieSlices::Slice labelled(const QString& label)
{
    PieSlices::Slice slice;
    slice.value = 1.0;
    slice.label = label;
    return slice;
}

} // namespace

// The pie shrinks for its widest label, but its diameter keeps half the shorter side of its
// area; the labels shrink to 8 before that. Among many labels the widest is found by width,
// not by length.
TEST_F(PieSlicesTest, APieKeepsHalfItsAreaWhateverItsLabels)
{
    const chart::TextStyle style { Qt::black, u"Arial Narrow"_s, 12.0 };
    PieSlices::Pie pie;
    for (const QString& label : { u"iiiiiiiiiiii"_s, u"WWWWWWW"_s, u"$1"_s })
        pie.slices.append(labelled(label));
    const QStringList widest = PieSlices::widestLabels(pie, style);
    ASSERT_FALSE(widest.isEmpty());
    EXPECT_EQ(widest.first(), u"WWWWWWW"_s);

    const QSizeF area(600, 400);
    // Short labels: the pie keeps what it wants.
    PieSlices::Pie small;
    small.slices.append(labelled(u"$1"_s));
    EXPECT_DOUBLE_EQ(PieSlices::fitRadiusAndLabels(area, 150, small, style, 5).radius, 150);
    EXPECT_DOUBLE_EQ(PieSlices::fitRadiusAndLabels(area, 150, small, style, 5).labelSize, 12);
    // Labels as wide as the area: the pie keeps a quarter of the shorter side, the labels 8.
    PieSlices::Pie wide;
    wide.slices.append(labelled(QString(200, u'W')));
    const PieSlices::LabelFit fit = PieSlices::fitRadiusAndLabels(area, 150, wide, style, 5);
    EXPECT_DOUBLE_EQ(fit.radius, 100);
    EXPECT_DOUBLE_EQ(fit.labelSize, 8);
    // A pie that wants less than that keeps what it wants.
    EXPECT_DOUBLE_EQ(PieSlices::fitRadiusAndLabels(area, 60, wide, style, 5).radius, 60);
}
