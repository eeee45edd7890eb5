#include "uikit/controls/fields/FittingLabel.h"
#include "platform/Fonts.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

using namespace Qt::Literals::StringLiterals;

namespace {

int advance(const QLabel& label, int points)
{
    QFont font = label.font();
    font.setPixelSize(points);
    return QFontMetrics(font).horizontalAdvance(label.text());
}

} // namespace

TEST(FittingLabel, ShrinksAPointAtATimeToTheLargestSizeThatFitsThenElidesWithTheWholeTextInTheTooltip)
{
    FittingLabel label(platform::designFont(18, QFont::Bold), 10);
    label.setGeometry(0, 0, 400, 24);
    label.show(); // a hidden widget hears of its resizing only when it is shown
    const QString amount = u"CHF 9’999’999"_s;
    label.setFullText(amount);
    EXPECT_EQ(label.fittedPoints(), 18);
    EXPECT_EQ(label.text(), amount);
    EXPECT_EQ(label.naturalWidth(), advance(label, 18));

    // Narrower than the text at its own size: the largest size that fits, not just any.
    const int width = (label.naturalWidth() + label.minimumWidthNeeded()) / 2;
    label.resize(width, 24);
    ASSERT_LT(label.fittedPoints(), 18);
    ASSERT_GT(label.fittedPoints(), 10);
    EXPECT_EQ(label.text(), amount);
    EXPECT_LE(advance(label, label.fittedPoints()), width);
    EXPECT_GT(advance(label, label.fittedPoints() + 1), width);
    EXPECT_FALSE(label.isElided());
    EXPECT_TRUE(label.toolTip().isEmpty());

    // Too narrow even at the smallest size: elided at the end, never cut through a digit.
    label.resize(label.minimumWidthNeeded() - 1, 24);
    EXPECT_EQ(label.fittedPoints(), 10);
    EXPECT_TRUE(label.isElided());
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026)));
    EXPECT_TRUE(amount.startsWith(label.text().chopped(1)));
    EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(label.text()), label.contentsRect().width());
    EXPECT_EQ(label.toolTip(), amount);

    // A shorter text in the same place is shown whole again, and its tooltip does not linger.
    label.setFullText(u"CHF 12"_s);
    EXPECT_EQ(label.fittedPoints(), 18);
    EXPECT_EQ(label.text(), u"CHF 12"_s);
    EXPECT_FALSE(label.isElided());
    EXPECT_TRUE(label.toolTip().isEmpty());
}
