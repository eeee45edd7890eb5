#include "uikit/popover/PopoverGeometry.h"

#include <gtest/gtest.h>

namespace PK = PKPopoverGeometry;
using Dir = PKPopoverGeometry::ArrowDirection;

namespace {

// y-up throughout: a 1280 by 800 screen, the message panel (340 by 100 content, arrow 23 by
// 12, corner radius 4), and the arrow's limit (364 - 2 * 16 - 23) / 2 from the middle.
const QRectF kScreen(0, 0, 1280, 800);
const QSizeF kPanel(364, 124);
const QSizeF kArrow(23, 12);
constexpr qreal kRadius = 4;
constexpr qreal kArrowLimit = 154.5;

PK::Placement place(
    Dir preferred, const QRectF& anchor, const QRectF& screen = kScreen, QSizeF panel = kPanel)
{
    const Dir direction = PK::directionOnScreen(preferred, anchor, panel, screen);
    return PK::placeOnScreen(anchor, panel, direction, screen, kRadius, kArrow);
}

// Where the arrow's tip is along its edge, on the screen.
qreal arrowTip(const PK::Placement& p)
{
    const bool vertical = p.direction == Dir::Up || p.direction == Dir::Down;
    return (vertical ? p.frame.left() + std::floor(p.frame.width() / 2)
                     : p.frame.top() + std::floor(p.frame.height() / 2))
        + p.arrowOffset;
}

TEST(PopoverPlacement, DocumentButtonOfAFullScreenWindowGetsThePanelBelowIt)
{
    // The button near the top right corner: centred above or below, the panel would pass the
    // right edge; it used to be put above, off the screen.
    const QRectF button(1180, 765, 30, 30);
    for (const Dir preferred : { Dir::Down, Dir::Up }) {
        const PK::Placement p = place(preferred, button);
        EXPECT_EQ(p.direction, Dir::Up);
        EXPECT_TRUE(kScreen.contains(p.frame)) << p.frame.x() << "," << p.frame.y();
        EXPECT_EQ(p.frame.top() + p.frame.height(), button.top()); // hangs from the button
        EXPECT_EQ(p.frame.right(), kScreen.right());
        EXPECT_EQ(arrowTip(p), button.center().x()); // the arrow still points at it
    }
}

TEST(PopoverPlacement, AnchorAtTheRightEdgeShiftsThePanelLeftAndKeepsTheArrowOffTheCorner)
{
    const QRectF button(1250, 400, 30, 30);
    const PK::Placement p = place(Dir::Up, button);
    EXPECT_EQ(p.direction, Dir::Up);
    EXPECT_TRUE(kScreen.contains(p.frame));
    EXPECT_EQ(p.frame.right(), kScreen.right());
    // The button's centre is further right than the arrow may go.
    EXPECT_EQ(p.arrowOffset, kArrowLimit);
    EXPECT_GT(arrowTip(p), button.left());

    const PK::Placement left = place(Dir::Up, QRectF(0, 400, 30, 30));
    EXPECT_EQ(left.frame.left(), 0);
    EXPECT_EQ(left.arrowOffset, -kArrowLimit);
}

TEST(PopoverPlacement, APanelThatFitsWhereTheRuleSaysIsNotMoved)
{
    // At the bottom edge the panel goes above, at the top edge below, both centred.
    const PK::Placement bottom = place(Dir::Up, QRectF(600, 0, 30, 20));
    EXPECT_EQ(bottom.direction, Dir::Down);
    EXPECT_EQ(bottom.frame, PK::popoverFrame(QRectF(600, 0, 30, 20), kPanel, Dir::Down));
    EXPECT_EQ(bottom.arrowOffset, 0);
    const PK::Placement top = place(Dir::Down, QRectF(600, 780, 30, 20));
    EXPECT_EQ(top.direction, Dir::Up);
    EXPECT_EQ(top.arrowOffset, 0);
}

TEST(PopoverPlacement, SideBesidesTheAnchorWhenNeitherAboveNorBelowHasRoom)
{
    // A short screen: a tall panel fits only beside the anchor, shifted down onto the screen.
    const QRectF screen(0, 0, 1000, 300);
    const QRectF anchor(300, 260, 20, 20);
    const PK::Placement p = place(Dir::Up, anchor, screen, QSizeF(200, 280));
    EXPECT_EQ(p.direction, Dir::Left); // more room on the right
    EXPECT_TRUE(screen.contains(p.frame));
    EXPECT_EQ(p.frame.left(), anchor.right());
    EXPECT_EQ(arrowTip(p), anchor.center().y());
}

TEST(PopoverPlacement, NearACornerAndOnASecondScreen)
{
    const PK::Placement corner = place(Dir::Left, QRectF(1250, 770, 30, 30));
    EXPECT_EQ(corner.direction, Dir::Up);
    EXPECT_TRUE(kScreen.contains(corner.frame));

    const PK::Placement low = place(Dir::Right, QRectF(0, 0, 30, 30));
    EXPECT_TRUE(kScreen.contains(low.frame));

    // A screen right of the first: its left edge is at 1280, not 0.
    const QRectF second(1280, 0, 1280, 800);
    const PK::Placement p = place(Dir::Up, QRectF(1285, 400, 20, 20), second);
    EXPECT_TRUE(second.contains(p.frame));
    EXPECT_EQ(p.frame.left(), 1280);
}

TEST(PopoverPlacement, WindowLargerThanTheScreenStillGivesAPanelOnTheScreen)
{
    // The button lies above the screen's top and past its right edge.
    for (const QRectF& button :
        { QRectF(1200, 820, 30, 30), QRectF(1400, 500, 30, 30), QRectF(-80, -60, 30, 30) }) {
        for (const Dir preferred : { Dir::Left, Dir::Right, Dir::Up, Dir::Down }) {
            const PK::Placement p = place(preferred, button);
            EXPECT_TRUE(kScreen.contains(p.frame))
                << button.x() << "," << button.y() << " -> " << p.frame.x() << "," << p.frame.y();
            EXPECT_LE(std::abs(p.arrowOffset), kArrowLimit);
        }
    }
    // A panel larger than the screen shows its top left part.
    const PK::Placement huge = place(Dir::Up, QRectF(600, 400, 30, 30), kScreen, QSizeF(1400, 900));
    EXPECT_EQ(huge.frame.left(), 0);
    EXPECT_EQ(huge.frame.bottom(), kScreen.bottom());
}

TEST(PopoverPlacement, WithoutAScreenNothingMoves)
{
    const QRectF anchor(1250, 400, 30, 30);
    const PK::Placement p = PK::placeOnScreen(anchor, kPanel, Dir::Up, QRectF(), kRadius, kArrow);
    EXPECT_EQ(p.frame, PK::popoverFrame(anchor, kPanel, Dir::Up));
    EXPECT_EQ(p.arrowOffset, 0);
}

TEST(PopoverPlacement, OutlineDrawsTheArrowWhereTheOffsetPutsIt)
{
    const QRectF bounds(0, 0, 364, 124);
    const auto tip = [&](Dir direction, qreal offset) {
        const QPainterPath path = PK::outline(bounds, kRadius, kArrow, direction, offset);
        QPointF extreme = path.elementAt(0);
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPointF point = path.elementAt(i);
            if (direction == Dir::Up ? point.y() > extreme.y() : point.x() > extreme.x())
                extreme = point;
        }
        return extreme;
    };
    EXPECT_EQ(tip(Dir::Up, 0), QPointF(182, 124));
    EXPECT_EQ(tip(Dir::Up, kArrowLimit), QPointF(336, 124));
    EXPECT_EQ(tip(Dir::Right, -20), QPointF(364, 42));
    // The highlight line leaves the gap for the arrow where the arrow is.
    const auto split = PK::topHighlightRects(bounds, 1, kRadius, kArrow, Dir::Up, 100);
    ASSERT_EQ(split.size(), 2);
    EXPECT_EQ(split[0].right(), std::floor(182 + 100 - 11.5));
    EXPECT_EQ(split[1].left(), std::floor(182 + 100 + 11.5));
}

TEST(PopoverPlacement, AWindowMovesTheLeastThatPutsItOnTheScreen)
{
    EXPECT_EQ(PK::keptOnScreen(QRectF(100, 100, 208, 124), kScreen), QRectF(100, 100, 208, 124));
    EXPECT_EQ(PK::keptOnScreen(QRectF(1200, 100, 208, 124), kScreen), QRectF(1072, 100, 208, 124));
    EXPECT_EQ(PK::keptOnScreen(QRectF(-30, 700, 208, 124), kScreen), QRectF(0, 676, 208, 124));
    EXPECT_EQ(PK::keptOnScreen(QRectF(50, -40, 208, 124), kScreen), QRectF(50, 0, 208, 124));
    EXPECT_EQ(PK::keptOnScreen(QRectF(50, 50, 1400, 900), kScreen), QRectF(0, -100, 1400, 900));
    EXPECT_EQ(PK::keptOnScreen(QRectF(-30, 700, 208, 124), QRectF()), QRectF(-30, 700, 208, 124));
}

} // namespace
