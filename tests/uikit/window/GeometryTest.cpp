#include "uikit/window/TBClassicLayout.h"
#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBWindowResizeGrip.h"

#include "platform/YUpGeometry.h"

#include <gtest/gtest.h>

using namespace TBGeometry;

TEST(TBGeometry, FlippingIsItsOwnInverse)
{
    const QRectF rect(10, 5, 30, 20);
    EXPECT_EQ(platform::flipped(rect, 100.0), QRectF(10, 75, 30, 20));
    EXPECT_EQ(platform::flipped(platform::flipped(rect, 100.0), 100.0), rect);
}

TEST(TBGeometry, TrafficLightsSitSideBySideSixPointsApart)
{
    const QSizeF size(14, 16);
    // Not centred: the system's distance from the top, however tall the bar.
    EXPECT_EQ(trafficLightFrame(0, size, 40, 7, 3, false), QRectF(7, 21, 14, 16));
    EXPECT_EQ(trafficLightFrame(1, size, 40, 7, 3, false), QRectF(27, 21, 14, 16));
    EXPECT_EQ(trafficLightFrame(2, size, 40, 7, 3, false), QRectF(47, 21, 14, 16));
    // Centred: in the vertical middle.
    EXPECT_EQ(trafficLightFrame(2, size, 40, 7, 3, true), QRectF(47, 12, 14, 16));
    EXPECT_EQ(trafficLightFrame(0, size, 22, 12, 3, true), QRectF(12, 3, 14, 16));
}

TEST(TBGeometry, TitleBarNeverLowerThanTheDefaultAndKeepsTheTopEdge)
{
    EXPECT_EQ(titleBarHeightFor(40, 22), 40);
    EXPECT_EQ(titleBarHeightFor(10, 22), 22);
    const QRectF grown = frameKeepingTopEdge(QRectF(100, 200, 800, 600), 18);
    EXPECT_EQ(grown, QRectF(100, 182, 800, 618));
    EXPECT_EQ(grown.y() + grown.height(), 800); // top edge, y-up
}

TEST(TBGeometry, AutoresizingSharesTheChangeAmongFlexibleParts)
{
    const QRectF button(750, 8, 23, 23); // W - 50 in an 800-point title bar
    // Flexible left margin: keeps its distance from the right edge.
    EXPECT_EQ(autoresizedFrame(Autoresizing::MinXMargin, button, QSizeF(800, 40), QSizeF(1000, 40)),
        QRectF(950, 8, 23, 23));
    // Fixed: stays put.
    EXPECT_EQ(autoresizedFrame(Autoresizing::NotSizable, button, QSizeF(800, 40), QSizeF(1000, 40)), button);
    // Width and height sizable: grows with the container.
    EXPECT_EQ(autoresizedFrame(Autoresizing::WidthSizable | Autoresizing::HeightSizable,
                  QRectF(0, 0, 800, 40), QSizeF(800, 40), QSizeF(900, 50)),
        QRectF(0, 0, 900, 50));
    // Two flexible parts share in proportion to their lengths: margins 100 and 300.
    EXPECT_EQ(autoresizedFrame(Autoresizing::MinXMargin | Autoresizing::MaxXMargin, QRectF(100, 0, 400, 10),
                  QSizeF(800, 10), QSizeF(1200, 10)),
        QRectF(200, 0, 400, 10));
}

TEST(TBGeometry, DragMovesOnlyOnceTheThresholdIsReached)
{
    DragAccumulator drag(5);
    EXPECT_FALSE(drag.add({ 2, 1 }));
    EXPECT_FALSE(drag.add({ 2, -1 }));
    const auto moved = drag.add({ 1, 0 });
    ASSERT_TRUE(moved);
    EXPECT_EQ(*moved, QPointF(5, 0));
    EXPECT_EQ(drag.pending(), QPointF());
    EXPECT_EQ(drag.add({ 0, -7 }), QPointF(0, -7)); // either direction, either sign
}

TEST(TBGeometry, ResizeGripKeepsTheOppositeEdgesAndTheMinimum)
{
    const QRect start(100, 100, 400, 300);
    EXPECT_EQ(
        TBWindowResizeGrip::resizedGeometry(start, Qt::RightEdge | Qt::BottomEdge, { 50, 20 }, { 50, 50 }),
        QRect(100, 100, 450, 320));
    EXPECT_EQ(TBWindowResizeGrip::resizedGeometry(start, Qt::LeftEdge, { 30, 0 }, { 50, 50 }),
        QRect(130, 100, 370, 300));
    EXPECT_EQ(TBWindowResizeGrip::resizedGeometry(start, Qt::TopEdge, { 0, 1000 }, { 50, 50 }),
        QRect(100, 350, 400, 50));
}

TEST(TBClassicLayout, BarsAndContentBetweenThem)
{
    const auto bars = TBClassicLayout::barFrames(QRectF(0, 0, 800, 600), 40, 30);
    EXPECT_EQ(bars.titleBar, QRectF(0, 560, 800, 40));
    EXPECT_EQ(bars.bottomBar, QRectF(0, 0, 800, 30));
    EXPECT_EQ(TBClassicLayout::contentFrame(800, 600, 40, 0, 30, false), QRectF(0, 30, 800, 530));
    // Title bar hidden in full screen: the whole height less the bottom bar.
    EXPECT_EQ(TBClassicLayout::contentFrame(800, 600, 40, 0, 30, true), QRectF(0, 30, 800, 570));
}

TEST(TBClassicLayout, TrafficLightsHorizontalAndVertical)
{
    TBClassicLayout::TrafficLights lights;
    lights.container = QRectF(0, 560, 800, 40);
    lights.close = lights.minimize = lights.zoom = QSizeF(14, 16);
    lights.leftMargin = 7;
    lights.separation = 6;
    auto frames = TBClassicLayout::trafficLightFrames(lights);
    EXPECT_EQ(frames[0], QRectF(7, 572, 14, 16)); // round(560 + 20 - 8)
    EXPECT_EQ(frames[1], QRectF(27, 572, 14, 16));
    EXPECT_EQ(frames[2], QRectF(47, 572, 14, 16));

    lights.centered = false;
    frames = TBClassicLayout::trafficLightFrames(lights);
    EXPECT_EQ(frames[0].y(), 560 + 40 - 16 - 3);

    // Vertical: zoom at the bottom, each (separation - 2) above the previous one.
    lights.vertical = true;
    lights.centered = true;
    lights.container = QRectF(0, 0, 40, 100);
    frames = TBClassicLayout::trafficLightFrames(lights);
    const double total = 3 * 16 + 2 * 4;
    EXPECT_EQ(frames[2], QRectF(7, std::round(50 - total / 2), 14, 16));
    EXPECT_EQ(frames[1].y(), frames[2].y() + 16 + 4);
    EXPECT_EQ(frames[0].y(), frames[1].y() + 16 + 4);
    EXPECT_EQ(frames[0].x(), 7);
}

TEST(TBClassicLayout, FullScreenButtonAndTitleFields)
{
    const QRectF bar(0, 560, 800, 40);
    EXPECT_EQ(TBClassicLayout::measuredRightMargin(800, QRectF(780, 570, 16, 16)), 4);
    EXPECT_EQ(
        TBClassicLayout::fullScreenButtonFrame(bar, QSizeF(16, 16), 8, true, 3), QRectF(776, 572, 16, 16));
    EXPECT_EQ(
        TBClassicLayout::fullScreenButtonFrame(bar, QSizeF(16, 16), 8, false, 3), QRectF(776, 581, 16, 16));
    EXPECT_EQ(TBClassicLayout::titleFieldY(bar, 17, true), std::round(580 - 8.5));
    EXPECT_EQ(TBClassicLayout::titleFieldY(bar, 17, false), 600 - 17 - 2);
}

TEST(TBClassicLayout, TitleFrameRules)
{
    TBClassicLayout::TitleFrameInput input;
    input.bounds = QRectF(0, 0, 400, 40);
    input.titleSize = QSizeF(100, 16);
    // No buttons: centred, 2 below the top.
    EXPECT_EQ(TBClassicLayout::titleFrame(input), QRectF(150, 22, 100, 16));
    // Buttons reaching past the centred x push the title right of them.
    input.buttons = { QRectF(7, 12, 14, 16), QRectF(140, 12, 14, 16) };
    EXPECT_EQ(TBClassicLayout::titleFrame(input).x(), 154 + 8);
    // A full-screen button cuts the width 8 points before it.
    input.fullScreenButton = QRectF(230, 12, 16, 16);
    EXPECT_EQ(TBClassicLayout::titleFrame(input).width(), 230 - 162 - 8);
    // A document icon places the title 4 after it.
    input.documentIcon = QRectF(10, 12, 16, 16);
    EXPECT_EQ(TBClassicLayout::titleFrame(input).x(), 30);
    // Never a negative width, however little room is left.
    input.documentIcon.reset();
    input.fullScreenButton = QRectF(100, 12, 16, 16);
    EXPECT_EQ(TBClassicLayout::titleFrame(input).width(), 0);
}

TEST(TBClassicWindowColors, DefaultTable)
{
    const auto main = TBClassicWindow::defaultTitleBarGradient(true);
    ASSERT_EQ(main.size(), 4);
    EXPECT_EQ(main[0].first, 0);
    EXPECT_EQ(main[0].second.red(), 180);
    EXPECT_EQ(main[1].first, 0.25);
    EXPECT_EQ(main[1].second.red(), 195);
    EXPECT_EQ(main[2].second.red(), 210);
    EXPECT_EQ(main[3].second.red(), 235);
    const auto inactive = TBClassicWindow::defaultTitleBarGradient(false);
    ASSERT_EQ(inactive.size(), 2);
    EXPECT_EQ(inactive[0].second.red(), 225);
    EXPECT_EQ(inactive[1].second.red(), 250);
    const auto bottom = TBClassicWindow::defaultBottomBarGradient(false);
    EXPECT_EQ(bottom[0].second.red(), 225);
    EXPECT_EQ(bottom[1].second.red(), 235);
    EXPECT_EQ(TBClassicWindow::defaultBaselineSeparatorColor(true).red(), 104);
    EXPECT_EQ(TBClassicWindow::defaultBaselineSeparatorColor(false).red(), 167);
    EXPECT_EQ(TBClassicWindow::defaultTitleTextColor(true), QColor(56, 56, 56));
    EXPECT_NEAR(TBClassicWindow::defaultTitleTextColor(false).alphaF(), 0.5, 0.001);
}
