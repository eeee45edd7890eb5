#include "uikit/popover/PopoverGeometry.h"
#include "uikit/popover/APPopoverGeometry.h"

#include <gtest/gtest.h>

namespace PK = PKPopoverGeometry;
namespace AP = APPopoverGeometry;
using Dir = PKPopoverGeometry::ArrowDirection;
using Edge = platform::RectEdge;

namespace {

TEST(PKPopoverGeometry, EdgesMapToArrowDirectionsAndLargerEdgesActAsMaxY)
{
    EXPECT_EQ(PK::arrowDirectionForEdge(Edge::MinX), Dir::Left);
    EXPECT_EQ(PK::arrowDirectionForEdge(Edge::MinY), Dir::Down);
    EXPECT_EQ(PK::arrowDirectionForEdge(Edge::MaxX), Dir::Right);
    EXPECT_EQ(PK::arrowDirectionForEdge(Edge::MaxY), Dir::Up);
    EXPECT_EQ(PK::arrowDirectionForEdge(static_cast<Edge>(7)), Dir::Up);
    EXPECT_EQ(PK::oppositeDirection(Dir::Left), Dir::Right);
    EXPECT_EQ(PK::oppositeDirection(Dir::Down), Dir::Up);
    EXPECT_EQ(PK::oppositeDirection(static_cast<Dir>(9)), Dir::None);
}

TEST(PKPopoverGeometry, DirectionsAndEdgesKeepTheirNumbers)
{
    EXPECT_EQ(static_cast<unsigned>(Dir::None), 0u);
    EXPECT_EQ(static_cast<unsigned>(Dir::Left), 1u);
    EXPECT_EQ(static_cast<unsigned>(Dir::Right), 2u);
    EXPECT_EQ(static_cast<unsigned>(Dir::Up), 3u);
    EXPECT_EQ(static_cast<unsigned>(Dir::Down), 4u);
    EXPECT_EQ(static_cast<unsigned>(Edge::MinX), 0u);
    EXPECT_EQ(static_cast<unsigned>(Edge::MinY), 1u);
    EXPECT_EQ(static_cast<unsigned>(Edge::MaxX), 2u);
    EXPECT_EQ(static_cast<unsigned>(Edge::MaxY), 3u);
}

TEST(PKPopoverGeometry, FrameAndContentRectanglesAreInverse)
{
    EXPECT_EQ(PK::contentRectForFrameRect(QRectF(0, 0, 100, 60), 12), QRectF(12, 12, 76, 36));
    EXPECT_EQ(PK::frameRectForContentRect(QRectF(12, 12, 76, 36), 12), QRectF(0, 0, 100, 60));
}

TEST(PKPopoverGeometry, FramesSitOnTheirSideAndHalvesOfTheFrameRoundDown)
{
    const QRectF anchor(100, 200, 40, 21);
    const QSizeF frame(80, 101);
    // Anchor centre y = 210.5; floor(101 / 2) = 50 is subtracted.
    EXPECT_EQ(PK::popoverFrame(anchor, frame, Dir::Left), QRectF(140, 160.5, 80, 101));
    EXPECT_EQ(PK::popoverFrame(anchor, frame, Dir::Right), QRectF(20, 160.5, 80, 101));
    EXPECT_EQ(PK::popoverFrame(anchor, frame, Dir::Up), QRectF(80, 99, 80, 101));
    EXPECT_EQ(PK::popoverFrame(anchor, frame, Dir::Down), QRectF(80, 221, 80, 101));
    EXPECT_TRUE(PK::popoverFrame(anchor, frame, Dir::None).isNull());
    EXPECT_TRUE(PK::popoverFrame(anchor, frame, static_cast<Dir>(5)).isNull());
}

TEST(PKPopoverGeometry, DirectionFallsBackToOppositeThenRoomThenPreferred)
{
    const QRectF screen(0, 0, 1000, 800);
    const QSizeF frame(200, 100);
    // Fits on the right.
    EXPECT_EQ(PK::chooseArrowDirection(Dir::Left, QRectF(100, 400, 20, 20), frame, screen), Dir::Left);
    // No room on the right: the opposite side.
    EXPECT_EQ(PK::chooseArrowDirection(Dir::Left, QRectF(900, 400, 20, 20), frame, screen), Dir::Right);
    // A wide panel fits neither left nor right: below when there is more room below.
    const QSizeF wide(900, 100);
    EXPECT_EQ(PK::chooseArrowDirection(Dir::Left, QRectF(500, 600, 20, 20), wide, screen), Dir::Up);
    EXPECT_EQ(PK::chooseArrowDirection(Dir::Left, QRectF(500, 100, 20, 20), wide, screen), Dir::Down);
    // Nothing fits: the preferred side stays.
    EXPECT_EQ(
        PK::chooseArrowDirection(Dir::Left, QRectF(500, 400, 20, 20), QSizeF(990, 900), screen), Dir::Left);
    // Without a screen every candidate fails and the preferred direction wins.
    EXPECT_EQ(PK::chooseArrowDirection(Dir::Right, QRectF(500, 400, 20, 20), frame, QRectF()), Dir::Right);
}

TEST(PKPopoverGeometry, OutlineUsesHalfPixelInsetForOddBordersAndCarriesItsArrow)
{
    EXPECT_EQ(PK::outlineBounds(QRectF(0, 0, 100, 60), 1), QRectF(0.5, 0.5, 99, 59));
    EXPECT_EQ(PK::outlineBounds(QRectF(0, 0, 100, 60), 2), QRectF(0, 0, 100, 60));

    const QRectF bounds(0, 0, 100, 60);
    // No direction: the plain rounded body, inset by the arrow height.
    EXPECT_EQ(PK::outline(bounds, 4, QSizeF(23, 12), Dir::None).boundingRect(), QRectF(12, 12, 76, 36));
    // Up: the arrow tip reaches the top edge (y-up max y) at the middle.
    const QPainterPath up = PK::outline(bounds, 4, QSizeF(23, 12), Dir::Up);
    EXPECT_EQ(up.boundingRect(), QRectF(12, 12, 76, 48));
    EXPECT_TRUE(up.contains(QPointF(50, 58)));
    EXPECT_FALSE(up.contains(QPointF(20, 58)));
    // Left: the arrow points left out of the body.
    EXPECT_EQ(PK::outline(bounds, 4, QSizeF(23, 12), Dir::Left).boundingRect().left(), 0);
}

TEST(PKPopoverGeometry, TopHighlightSplitsAroundAnUpwardArrow)
{
    const QRectF bounds(0, 0, 100, 60);
    const auto single = PK::topHighlightRects(bounds, 1, 4, QSizeF(23, 12), Dir::Left);
    ASSERT_EQ(single.size(), 1);
    EXPECT_EQ(single[0], QRectF(14, 46, 72, 1));
    const auto split = PK::topHighlightRects(bounds, 1, 4, QSizeF(23, 12), Dir::Up);
    ASSERT_EQ(split.size(), 2);
    EXPECT_EQ(split[0], QRectF(14, 46, 24, 1)); // floor(36 - 11.5)
    EXPECT_EQ(split[1].left(), 61); // floor(14 + 36 + 11.5)
}

TEST(APPopoverGeometry, ContentOf200By100GivesA208By124WindowAndBack)
{
    AP::Metrics m; // margin 2, border 2, arrow 16, distance 0
    m.position = AP::Position::Top;
    const QRectF frame = AP::frameRectForContentRect(m, QRectF(0, 0, 200, 100));
    EXPECT_EQ(frame.size(), QSizeF(208, 124));
    const QRectF window(0, 0, 208, 124);
    EXPECT_EQ(AP::contentRectForFrameRect(m, window), QRectF(4, 4, 200, 100));
    EXPECT_EQ(AP::attachmentPointForRect(m, window), QPointF(104, 124));

    m.position = AP::Position::Bottom;
    EXPECT_EQ(AP::contentRectForFrameRect(m, window), QRectF(4, 20, 200, 100));
    EXPECT_EQ(AP::frameRectForContentRect(m, QRectF(4, 20, 200, 100)), window);

    m.position = static_cast<AP::Position>(42); // outside 0-11: no arrow room, attachment at the origin
    EXPECT_EQ(AP::frameRectForContentRect(m, QRectF(0, 0, 200, 100)).size(), QSizeF(208, 108));
    EXPECT_EQ(AP::attachmentPointForRect(m, window), QPointF(0, 0));
}

TEST(APPopoverGeometry, TwelveAttachmentPoints)
{
    AP::Metrics m; // K = 8 + 4 + 8 = 20
    const QRectF f(10, 20, 200, 100);
    const QPointF expected[12] = { { 210, 70 }, { 110, 120 }, { 10, 70 }, { 110, 20 }, { 210, 40 },
        { 210, 100 }, { 10, 40 }, { 10, 100 }, { 190, 20 }, { 30, 20 }, { 190, 120 }, { 30, 120 } };
    for (int p = 0; p < 12; ++p) {
        m.position = static_cast<AP::Position>(p); // the numbers are the design's
        EXPECT_EQ(AP::attachmentPointForRect(m, f), expected[p]) << "position " << p;
    }
    m.drawRoundCornerBesideArrow = false; // K = 12
    m.position = AP::Position::BottomLeft;
    EXPECT_EQ(AP::attachmentPointForRect(m, f), QPointF(22, 20));
}

TEST(APPopoverGeometry, SwitchingPositionKeepsTheAttachmentPoint)
{
    AP::Metrics m;
    m.position = AP::Position::Top;
    const QRectF frame(300, 400, 208, 124);
    const QPointF before = AP::attachmentPointForRect(m, frame);
    const QRectF after = AP::frameForNewPosition(m, frame, AP::Position::Right);
    EXPECT_EQ(after.size(), QSizeF(224, 108));
    m.position = AP::Position::Right;
    EXPECT_EQ(AP::attachmentPointForRect(m, after), before);
}

TEST(APPopoverGeometry, OutlineSquaresTheCornerBesideAnEndArrowAndKeepsArrowRoomWithoutArrow)
{
    AP::Metrics m;
    m.position = AP::Position::TopLeft;
    m.drawRoundCornerBesideArrow = false;
    const QRectF content(4, 4, 200, 100);
    const QPainterPath path = AP::framePathForContentRect(m, content);
    // The square top-left corner of R (content grown by 2, then by 1) is inside the outline.
    EXPECT_TRUE(path.contains(QPointF(1.2, 106.8)));
    m.drawRoundCornerBesideArrow = true;
    EXPECT_FALSE(AP::framePathForContentRect(m, content).contains(QPointF(1.2, 106.8)));

    m.position = AP::Position::Top;
    EXPECT_GT(AP::framePathForContentRect(m, content).boundingRect().bottom(), 107); // arrow above the top
    m.drawsArrow = false;
    EXPECT_DOUBLE_EQ(AP::framePathForContentRect(m, content).boundingRect().bottom(), 107);
    EXPECT_EQ(AP::frameRectForContentRect(m, QRectF(0, 0, 200, 100)).size(), QSizeF(208, 124));
}

TEST(APPopoverGeometry, BestPositionPrefersBelowThenRightAndShiftsNearCorners)
{
    AP::Metrics m;
    const QRectF screen(0, 0, 1600, 1000);
    const QSizeF window(208, 124);
    // Plenty of room below, centred.
    EXPECT_EQ(AP::bestPosition(m, window, QPointF(800, 600), screen, std::nullopt), AP::Position::Top);
    // Near the bottom-left corner: right of the point, shifted so it extends upwards.
    EXPECT_EQ(AP::bestPosition(m, window, QPointF(20, 40), screen, std::nullopt), AP::Position::LeftBottom);
    // Near the bottom-right corner: left of the point, extending upwards.
    EXPECT_EQ(
        AP::bestPosition(m, window, QPointF(1590, 40), screen, std::nullopt), AP::Position::RightBottom);
    // Below, but the centred panel would pass the left of the parent window.
    EXPECT_EQ(
        AP::bestPosition(m, window, QPointF(30, 600), screen, QRectF(0, 0, 800, 900)), AP::Position::TopLeft);
    // Below, near the parent window's right edge.
    EXPECT_EQ(AP::bestPosition(m, window, QPointF(790, 600), screen, QRectF(0, 0, 800, 900)),
        AP::Position::TopRight);
}

} // namespace
