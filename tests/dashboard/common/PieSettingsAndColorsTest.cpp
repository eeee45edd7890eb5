#include "support/RecordBuilders.h"
#include "dashboard/common/PieChartSettings.h"
#include "dashboard/common/PieColorSchemes.h"
#include "platform/UserDefaults.h"
#include "support/TempHomeTest.h"
#include "uikit/extensions/ColorHex.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace mervane::test;
using namespace PieChartSettings;

namespace {

class PieSettingsTest : public TempHomeTest {
protected:
    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
};

} // namespace

TEST_F(PieSettingsTest, FallbacksAndRanges)
{
    EXPECT_EQ(pieDisplayType(), PieDisplayType::NetWorth);
    EXPECT_EQ(pieLabelType(), PieLabelType::Amount);
    EXPECT_EQ(bigPieLabelType(), PieLabelType::Amount);
    EXPECT_TRUE(nameInLabel());
    EXPECT_TRUE(greenOrRedShadeColorScheme());

    defaults().setValue(pieDisplayTypeKey, 5);
    defaults().setValue(pieLabelTypeKey, 3.0);
    defaults().setValue(bigPieLabelTypeKey, -1);
    defaults().setValue(chartColorSchemeKey, 0.0);
    EXPECT_EQ(pieDisplayType(), PieDisplayType::NetWorth);
    EXPECT_EQ(pieLabelType(), PieLabelType::Amount);
    EXPECT_EQ(bigPieLabelType(), PieLabelType::Amount);
    EXPECT_TRUE(greenOrRedShadeColorScheme());

    setPieDisplayType(PieDisplayType::LiabilityCategories);
    setPieLabelType(PieLabelType::None);
    setBigPieLabelType(PieLabelType::Percentage);
    setNameInLabel(false);
    setColorScheme(ColorScheme::MultiColor);
    // Segments are stored as floating-point numbers and the file is written at once.
    EXPECT_EQ(defaults().value(pieDisplayTypeKey).typeId(), QMetaType::Double);
    platform::UserDefaults reread(platform::UserDefaults::standardFilePath());
    EXPECT_EQ(reread.real(pieDisplayTypeKey), 2.0);
    EXPECT_EQ(reread.real(chartColorSchemeKey), 1.0);
    EXPECT_FALSE(reread.boolean(nameInLabelKey, true));
    EXPECT_EQ(pieDisplayType(), PieDisplayType::LiabilityCategories);
    EXPECT_EQ(pieLabelType(), PieLabelType::None);
    EXPECT_EQ(bigPieLabelType(), PieLabelType::Percentage);
    EXPECT_FALSE(greenOrRedShadeColorScheme());
}

TEST(PieColorSchemesTest, ListsChoiceAndCategoryColours)
{
    using namespace PieColorSchemes;
    ASSERT_EQ(colorArrayA().size(), 30);
    EXPECT_EQ(colorArrayA().first(), u"ea9b2df7"_s);
    EXPECT_EQ(colorArrayA().last(), u"fb59c8f7"_s);
    EXPECT_EQ(colorArrayGreen().size(), 16);
    EXPECT_EQ(colorArrayRed().size(), 15);
    EXPECT_EQ(&colorArrayB(), &colorArrayA());

    const QStringList current { u"00000000"_s };
    EXPECT_EQ(&colorListForType(PieDisplayType::AssetCategories, true, current), &colorArrayGreen());
    EXPECT_EQ(&colorListForType(PieDisplayType::AssetCategories, false, current), &colorArrayA());
    EXPECT_EQ(&colorListForType(PieDisplayType::LiabilityCategories, true, current), &colorArrayRed());
    EXPECT_EQ(&colorListForType(PieDisplayType::LiabilityCategories, false, current), &colorArrayB());
    EXPECT_EQ(&colorListForType(PieDisplayType::NetWorth, true, current), &current);
    EXPECT_EQ(colorAt(colorArrayA(), 0), QColor(0xea, 0x9b, 0x2d, 0xf7));
    EXPECT_EQ(colorAt({}, 3), QColor::fromRgbF(0.5f, 0.5f, 0.5f));

    auto model = MVX_Model::makeEmpty();
    MVX_CategoryList assets;
    for (int i = 1; i <= 31; ++i)
        assets.append(category(u"a%1"_s.arg(i), u"Asset %1"_s.arg(i)));
    MVX_CategoryList liabilities;
    for (int i = 1; i <= 16; ++i)
        liabilities.append(category(u"l%1"_s.arg(i), u"Debt %1"_s.arg(i)));
    model->setAssetscat(assets);
    model->setLiabilitycat(liabilities);

    const auto shades = setColorDictionary(model.get(), true);
    EXPECT_EQ(shades.assets.value(u"a17"_s), shades.assets.value(u"a1"_s));
    EXPECT_NE(shades.assets.value(u"a16"_s), shades.assets.value(u"a1"_s));
    EXPECT_EQ(shades.liabilities.value(u"l16"_s), shades.liabilities.value(u"l1"_s));
    EXPECT_EQ(shades.assets.value(u"a1"_s), ColorHex::colorFromHex(u"205207df"));

    const auto multi = setColorDictionary(model.get(), false);
    EXPECT_EQ(multi.assets.value(u"a1"_s), ColorHex::colorFromHex(u"ea9b2df7"));
    EXPECT_EQ(multi.liabilities.value(u"l1"_s), ColorHex::colorFromHex(u"ea9b2df7"));
    EXPECT_EQ(multi.assets.value(u"a31"_s), multi.assets.value(u"a1"_s));
    EXPECT_EQ(categoryColor(multi.assets, u"nope"_s), QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    EXPECT_TRUE(setColorDictionary(nullptr, true).assets.isEmpty());
}
