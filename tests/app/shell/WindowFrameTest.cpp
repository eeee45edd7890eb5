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
    // Wholly beside, above and below the only screen, and touching it only along an edge.
    for (const QString& text : { u"{{5000, 100}, {900, 600}}"_s, u"{{-900, 100}, {900, 600}}"_s,
             u"{{100, 900}, {900, 600}}"_s, u"{{100, -600}, {900, 600}}"_s, u"{{1440, 100}, {900, 600}}"_s })
        EXPECT_FALSE(WindowFrame::restorableFrame(text, 900, oneScreen)) << qPrintable(text);
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{100, 100}, {900, 600}}"_s, 900, {}));
}

TEST(WindowFrame, AFramePartlyOffTheScreenIsBroughtWhollyOntoIt)
{
    // The title strip was above the top edge, out of reach: y-down top 900 - 580 - 720 = -400.
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{100, 580}, {1100, 720}}"_s, 900, oneScreen),
        QRect(100, 0, 1100, 720));
    // Off the bottom, the left and the right: moved, not resized.
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{100, -300}, {900, 600}}"_s, 900, oneScreen),
        QRect(100, 300, 900, 600));
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{-500, 100}, {900, 600}}"_s, 900, oneScreen),
        QRect(0, 200, 900, 600));
    // A sliver on the screen is still the user's frame, brought in rather than forgotten.
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{1370, 100}, {900, 600}}"_s, 900, oneScreen),
        QRect(540, 200, 900, 600));
}

TEST(WindowFrame, AFrameLargerThanTheAvailableAreaShrinksToIt)
{
    EXPECT_EQ(
        WindowFrame::restorableFrame(u"{{0, 0}, {4000, 3000}}"_s, 900, oneScreen), QRect(0, 0, 1440, 900));
    // A panel takes the top 32 and the left 48 rows and columns of the screen.
    const QList<QRect> panel { QRect(48, 32, 1392, 868) };
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{-100, -100}, {4000, 3000}}"_s, 900, panel), panel.first());
    // Too wide only: the height and the vertical place stay.
    EXPECT_EQ(
        WindowFrame::restorableFrame(u"{{200, 100}, {2000, 600}}"_s, 900, panel), QRect(48, 200, 1392, 600));
}

TEST(WindowFrame, AFrameThatFitsItsScreenIsKeptAsSaved)
{
    const QList<QRect> panel { QRect(0, 32, 1440, 868) };
    // Exactly the available area: y-up bottom 0, top 868.
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{0, 0}, {1440, 868}}"_s, 900, panel), panel.first());
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{0, 0}, {1440, 900}}"_s, 900, oneScreen), oneScreen.first());
    // The same place on the full screen would put its strip under the panel.
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{0, 0}, {1440, 900}}"_s, 900, panel), QRect(0, 32, 1440, 868));
}

TEST(WindowFrame, AFrameGoesToTheScreenItMostlyLiesOn)
{
    // A taller second screen to the right, its top 180 above the primary's.
    const QList<QRect> two { QRect(0, 0, 1440, 900), QRect(1440, -180, 1920, 1080) };
    // Wholly on the second screen: kept, including the part above the primary's top.
    EXPECT_EQ(
        WindowFrame::restorableFrame(u"{{2000, 500}, {900, 500}}"_s, 900, two), QRect(2000, -100, 900, 500));
    // Mostly on the second screen, partly on the primary: moved wholly onto the second.
    EXPECT_EQ(
        WindowFrame::restorableFrame(u"{{1240, 100}, {900, 600}}"_s, 900, two), QRect(1440, 200, 900, 600));
    // Mostly on the primary: moved wholly onto it.
    EXPECT_EQ(
        WindowFrame::restorableFrame(u"{{840, 100}, {900, 600}}"_s, 900, two), QRect(540, 200, 900, 600));
    // Off the second screen's right edge and above its top: into its corner, shrunk to it.
    EXPECT_EQ(WindowFrame::restorableFrame(u"{{3000, 900}, {2400, 1200}}"_s, 900, two),
        QRect(1440, -180, 1920, 1080));
    // Below both screens: on none of them.
    EXPECT_FALSE(WindowFrame::restorableFrame(u"{{100, -1200}, {900, 600}}"_s, 900, two));
}

TEST(WindowFrame, FittingKeepsAFrameInsideAndMovesOthersTheLeastDistance)
{
    const QRect area(10, 20, 1000, 800);
    EXPECT_EQ(WindowFrame::fittedInto(QRect(100, 100, 500, 400), area), QRect(100, 100, 500, 400));
    EXPECT_EQ(WindowFrame::fittedInto(QRect(-50, -50, 500, 400), area), QRect(10, 20, 500, 400));
    EXPECT_EQ(WindowFrame::fittedInto(QRect(900, 700, 500, 400), area), QRect(510, 420, 500, 400));
    EXPECT_EQ(WindowFrame::fittedInto(QRect(900, 700, 5000, 400), area), QRect(10, 420, 1000, 400));
    EXPECT_EQ(WindowFrame::fittedInto(area, area), area);
}

TEST(WindowFrame, DefaultFrameIsCentredAndFitsSmallScreens)
{
    EXPECT_EQ(WindowFrame::defaultFrame(QRect(0, 0, 1440, 900)), QRect(170, 90, 1100, 720));
    const QRect small = WindowFrame::defaultFrame(QRect(0, 0, 1024, 600));
    EXPECT_EQ(small.size(), QSize(1024, 600));
    EXPECT_EQ(small.topLeft(), QPoint(0, 0));
}

} // namespace
