#include "uikit/extensions/ColorCGColorAdditions.h"
#include "uikit/extensions/ColorHex.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Rgba {
    int r, g, b, a;
};

Rgba rgba(const QColor& c)
{
    return { c.red(), c.green(), c.blue(), c.alpha() };
}

void expectColor(const QString& text, Rgba expected)
{
    const Rgba got = rgba(ColorHex::colorFromHex(text));
    EXPECT_EQ(got.r, expected.r) << qPrintable(text);
    EXPECT_EQ(got.g, expected.g) << qPrintable(text);
    EXPECT_EQ(got.b, expected.b) << qPrintable(text);
    EXPECT_EQ(got.a, expected.a) << qPrintable(text);
}

TEST(ColorHexTest, ReadsEightDigitsAlphaLastWithOrWithoutHash)
{
    expectColor(u"#FF000080"_s, { 255, 0, 0, 128 });
    expectColor(u"FF000080"_s, { 255, 0, 0, 128 });
    expectColor(u"#FEFEFEff"_s, { 254, 254, 254, 255 });
    expectColor(u"  0x11223344"_s, { 0x11, 0x22, 0x33, 0x44 });
    // Exact byte values survive the round trip through floating-point components.
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(ColorHex::colorFromHex(QString(u"%1"_s.arg(v, 2, 16, QChar(u'0')) + u"000000"_s)).red(), v);
}

TEST(ColorHexTest, ShortTextsAreRightAlignedNotExpanded)
{
    // RRGGBB is read as 00RRGGBB: red 0 and the last pair becomes alpha.
    expectColor(u"#123456"_s, { 0, 0x12, 0x34, 0x56 });
    expectColor(u"FFF"_s, { 0, 0, 15, 255 });
}

TEST(ColorHexTest, UnreadableTextsGiveTransparentBlackAndOverflowGivesWhite)
{
    expectColor(QString(), { 0, 0, 0, 0 });
    expectColor(u""_s, { 0, 0, 0, 0 });
    expectColor(u"#zzzz"_s, { 0, 0, 0, 0 });
    expectColor(u"##FF0000FF"_s, { 0, 0, 0, 0 }); // only one '#' is dropped
    expectColor(u"FF00GG00"_s, { 0, 0, 0xFF, 0 }); // stops at the first non-digit: 0xFF00
    expectColor(u"123456789"_s, { 255, 255, 255, 255 });
    expectColor(u"FFFFFFFFFFFFFFFFFFFF12"_s, { 255, 255, 255, 255 });
    expectColor(u"00000000080"_s, { 0, 0, 0, 0x80 }); // leading zeros do not overflow
}

TEST(ColorHexTest, HexadecimalValueIsLowerCaseRgbWithoutAlpha)
{
    EXPECT_EQ(ColorHex::hexadecimalValue(QColor(255, 0, 171, 10)), u"#ff00ab"_s);
    EXPECT_EQ(ColorHex::hexadecimalValue(QColor(128, 64, 255)), u"#8040ff"_s);
    EXPECT_EQ(ColorHex::hexadecimalValue(ColorHex::colorFromHex(u"0A0B0CFF"_s)), u"#0a0b0c"_s);
    EXPECT_TRUE(ColorHex::hexadecimalValue(QColor()).isNull());
}

TEST(ColorCGColorAdditionsTest, GreyHasTwoComponentsAndReadsBackAsGrey)
{
    const QColor grey = QColor::fromRgbF(0.4f, 0.4f, 0.4f, 0.5f);
    const QList<qreal> greyParts = ColorCGColorAdditions::components(grey);
    ASSERT_EQ(greyParts.size(), 2);
    const QColor back = ColorCGColorAdditions::colorWithCGColor(greyParts);
    EXPECT_EQ(back.rgba(), grey.rgba());

    const QColor red(200, 10, 20, 255);
    EXPECT_EQ(ColorCGColorAdditions::components(red).size(), 4);
    EXPECT_EQ(
        ColorCGColorAdditions::colorWithCGColor(ColorCGColorAdditions::components(red)).rgba(), red.rgba());
    EXPECT_EQ(ColorCGColorAdditions::CGColor(red).rgba(), red.rgba());
    EXPECT_FALSE(ColorCGColorAdditions::colorWithCGColor({ 0.1, 0.2, 0.3 }).isValid());
    EXPECT_FALSE(ColorCGColorAdditions::CGColor(QColor()).isValid());
}

} // namespace
