#include "uikit/popover/PopoverShape.h"
#include "uikit/popover/APPopoverGeometry.h"
#include "uikit/popover/PopoverGeometry.h"

#include <gtest/gtest.h>

namespace PK = PKPopoverGeometry;

namespace {

// A 200 by 100 content in the window of the anchored popover: arrow 23 by 12, so the panel
// is inset by 12 on every side; corner radius 4, border 2 (its stroke reaches 1 further out).
constexpr QSize kWindow(224, 124);

QRegion maskFor(PK::ArrowDirection direction)
{
    return PopoverShape::maskRegion(
        PK::outline(QRectF(QPointF(0, 0), kWindow), 4, QSizeF(23, 12), direction), kWindow, 2);
}

TEST(PopoverShape, MaskCoversThePanelAndItsArrowButNotTheRoundedCorners)
{
    const QRegion mask = maskFor(PK::ArrowDirection::Up); // panel below its anchor: arrow at the top
    EXPECT_TRUE(mask.contains(QPoint(112, 62))); // the middle of the panel
    EXPECT_TRUE(mask.contains(QPoint(11, 62))); // the border stroke on the left edge
    EXPECT_TRUE(mask.contains(QPoint(112, 5))); // inside the arrow, near its tip
    EXPECT_FALSE(mask.contains(QPoint(100, 5))); // beside the arrow
    EXPECT_FALSE(mask.contains(QPoint(10, 62))); // the arrow room left of the panel
    // Just outside each rounded corner, and just inside next to it.
    EXPECT_FALSE(mask.contains(QPoint(11, 11)));
    EXPECT_FALSE(mask.contains(QPoint(212, 11)));
    EXPECT_FALSE(mask.contains(QPoint(11, 112)));
    EXPECT_FALSE(mask.contains(QPoint(212, 112)));
    EXPECT_TRUE(mask.contains(QPoint(13, 13)));
    EXPECT_TRUE(mask.contains(QPoint(210, 110)));
    EXPECT_EQ(mask.boundingRect().left(), 11);
    EXPECT_EQ(mask.boundingRect().right(), 212);
    EXPECT_EQ(mask.boundingRect().bottom(), 112);
}

TEST(PopoverShape, MaskIsInWindowCoordinatesWithYDown)
{
    // The outline is y-up: an arrow pointing down in it lies at the bottom of the window.
    const QRegion down = maskFor(PK::ArrowDirection::Down);
    EXPECT_TRUE(down.contains(QPoint(112, 118)));
    EXPECT_FALSE(down.contains(QPoint(112, 5)));
    const QRegion left = maskFor(PK::ArrowDirection::Left);
    EXPECT_TRUE(left.contains(QPoint(5, 62)));
    EXPECT_FALSE(left.contains(QPoint(218, 62)));

    EXPECT_TRUE(PopoverShape::maskRegion(QPainterPath(), kWindow, 2).isEmpty());
    EXPECT_TRUE(PopoverShape::maskRegion(
        PK::outline(QRectF(0, 0, 50, 50), 4, QSizeF(23, 12), PK::ArrowDirection::Left), QSize(), 2)
                    .isEmpty());
}

TEST(PopoverShape, PointPopoverMaskFollowsItsFramePath)
{
    APPopoverGeometry::Metrics m; // margin 2, border 2, radius 8, arrow 16; arrow on top
    m.position = APPopoverGeometry::Position::Top;
    const QSize window(208, 124);
    const QRectF content = APPopoverGeometry::contentRectForFrameRect(m, QRectF(QPointF(0, 0), window));
    const QRegion mask = PopoverShape::maskRegion(
        APPopoverGeometry::framePathForContentRect(m, content), window, m.borderWidth);
    EXPECT_TRUE(mask.contains(QPoint(104, 60)));
    EXPECT_TRUE(mask.contains(QPoint(104, 4))); // the arrow, near the attachment point
    EXPECT_FALSE(mask.contains(QPoint(10, 4))); // beside the arrow
    EXPECT_FALSE(mask.contains(QPoint(0, 123))); // outside the bottom left rounded corner
    EXPECT_TRUE(mask.contains(QPoint(0, 60)));
}

} // namespace
