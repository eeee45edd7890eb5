#include "app/shell/WindowFrame.h"
#include "platform/YUpGeometry.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QList<QRect> oneScreen { QRect(0, 0, 1440, 900) };

TEST(WindowFrame, TextRoundTripsAndFlipsAtThePrimaryScreen)
{
    const QRect yDown(100, 50, 1000, 700);
    const QRect yUp = platform::toYUp(yDown, 900);
    EXPECT_EQ(yUp, QRect(100, 150, 1000, 700)); // 900 - 50 - 700
    EXPECT_EQ(WindowFrame::toText(yUp), u"{{100, 150}, {1000, 700}}"_s);
    EXPECT_EQ(WindowFrame::fromText(WindowFrame::toText(yUp)), yUp);
    EXPECT_EQ(platform::toYDown(yUp, 900), yDown);
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{100, 150}, {1000, 700}}"_s, 900, oneScreen), yDown);
}

TEST(WindowFrame, AcceptsFractionsNegativesAndLooseSpacing)
{
    EXPECT_EQ(WindowFrame::fromText(u" {{-20.4,30.6},{900,600}} "_s), QRect(-20, 31, 900, 600));
}

TEST(WindowFrame, RefusesTextThatIsNotARectangle)
{
    for (const QString& text : { u""_s, u"garbage"_s, u"{{1, 2}, {3}}"_s, u"{{1, 2}, {3, 4}, {5, 6}}"_s,
             u"{{a, 2}, {3, 4}}"_s, u"{{1, 2}, {3, inf}}"_s, u"{{1, 2}, {3, 1e300}}"_s, u"1 2 3 4"_s })
        EXPECT_FALSE(WindowFrame::fromText(text)) << qPrintable(text);
}

TEST(WindowFrame, RefusesHugeNumbersOfEitherSign)
{
    for (const QString& text : { u"{{-1000001, 2}, {900, 600}}"_s, u"{{1, -1e300}, {900, 600}}"_s,
             u"{{1, 2}, {-1e7, 600}}"_s, u"{{1, 2}, {900, -2147483649}}"_s, u"{{-inf, 2}, {900, 600}}"_s,
             u"{{1, 2}, {900, -nan}}"_s, u"{{1000001, 2}, {900, 600}}"_s, u"{{1, 2}, {900, 1e7}}"_s }) {
        EXPECT_FALSE(WindowFrame::fromText(text)) << qPrintable(text);
        EXPECT_FALSE(WindowFrame::restorableFrame(text, 900, oneScreen)) << qPrintable(text);
    }
    // The largest accepted numbers still make a frame, not an overflowed one.
    EXPECT_EQ(WindowFrame::fromText(u"{{-1000000, -1000000}, {1000000, 1000000}}"_s),
        QRect(-1000000, -1000000, 1000000, 1000000));
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{-1000000, -1000000}, {900, 600}}"_s, 900, oneScreen));
}

TEST(WindowFrame, IgnoresZeroTinyAndUnreachableFrames)
{
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{0, 0}, {0, 0}}"_s, 900, oneScreen));
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{10, 10}, {799, 600}}"_s, 900, oneScreen));
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{10, 10}, {900, 499}}"_s, 900, oneScreen));
    // Wholly right of the only screen, and just a sliver on it.
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{5000, 100}, {900, 600}}"_s, 900, oneScreen));
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{1370, 100}, {900, 600}}"_s, 900, oneScreen));
    // Enough of it on a second screen to the right.
    const QList<QRect> two { QRect(0, 0, 1440, 900), QRect(1440, 0, 1920, 1080) };
    EXPECT_EQ(
        WindowFrame::restorableFrame(u"{{2000, 100}, {900, 600}}"_s, 900, two), QRect(2000, 200, 900, 600));
}

TEST(WindowFrame, DefaultFrameIsCentredAndFitsSmallScreens)
{
    EXPECT_EQ(WindowFrame::defaultFrame(QRect(0, 0, 1440, 900)), QRect(170, 90, 1100, 720));
    const QRect small = WindowFrame::defaultFrame(QRect(0, 0, 1024, 600));
    EXPECT_EQ(small.size(), QSize(1024, 600));
    EXPECT_EQ(small.topLeft(), QPoint(0, 0));
}

} // namespace
