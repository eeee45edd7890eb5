#include "platform/Fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

using namespace Qt::Literals::StringLiterals;

namespace {

bool installed(const QString& family)
{
    return QFontDatabase::families().contains(family);
}

} // namespace

TEST(DesignFont, FallsBackToTheMetricCompatibleStandInNotToTheSystemDefault)
{
    if (installed(u"Helvetica Neue"_s))
        GTEST_SKIP() << "the design's own family is installed";
    if (!installed(u"Liberation Sans"_s))
        GTEST_SKIP() << "fonts-liberation is not installed";
    for (const QFont::Weight weight : { QFont::Light, QFont::Normal, QFont::Bold }) {
        const QFont font = platform::designFont(12, weight);
        EXPECT_EQ(QFontInfo(font).family(), u"Liberation Sans"_s) << weight;
    }
    EXPECT_TRUE(QFontInfo(platform::designFont(12, QFont::Bold)).bold());
    EXPECT_FALSE(QFontInfo(platform::designFont(12)).bold());

    // Helvetica's digits are 0.556 em wide; the system's default face is far wider, and
    // amounts laid out for the design's widths would be cut.
    const QFontMetricsF metrics(platform::designFont(100));
    EXPECT_NEAR(metrics.horizontalAdvance(u"0123456789"_s), 556.0, 3.0);
}

TEST(DesignFont, SizesAreDesignPointsThatIsPixelsWhateverTheDisplaysDpi)
{
    const QFont font = platform::designFont(13, QFont::Bold);
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_EQ(font.pointSize(), -1);
    EXPECT_EQ(font.families(), platform::designFontFamilies());
    EXPECT_EQ(platform::designFontFamilies().last(), u"Liberation Sans"_s);
    // A size that rounds to nothing still gives a font that can be drawn.
    EXPECT_EQ(platform::designFont(0).pixelSize(), 1);
}
