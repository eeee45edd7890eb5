#include "categories/tags/TagArrowGeometry.h"

#include <gtest/gtest.h>

using TagArrowGeometry::Shape;

namespace {

// A view 600 high, the tag row 100 below the list's visible top, the liability list 200
// below the asset list (and the 27-point gap): asset arrow at 510, liability at 283, the
// stubs leave at 425 and 405. The green riser climbs, the red one descends.
TEST(TagArrowGeometryTest, ArrowsFollowThePartsNumbers)
{
    const auto arrows = TagArrowGeometry::arrows(600, 100, 227);
    EXPECT_EQ(arrows.asset[0], (Shape { QPointF(425, 425), QPointF(486, 425), 0, 0 }));
    EXPECT_EQ(arrows.asset[1], (Shape { QPointF(490.5, 420.5), QPointF(490.5, 514.5), 0, 0 }));
    EXPECT_EQ(arrows.asset[2], (Shape { QPointF(495, 510), QPointF(565, 510), 20, 20 }));
    EXPECT_EQ(arrows.liability[0], (Shape { QPointF(425, 405), QPointF(456, 405), 0, 0 }));
    EXPECT_EQ(arrows.liability[1], (Shape { QPointF(460.5, 409.5), QPointF(460.5, 278.5), 0, 0 }));
    EXPECT_EQ(arrows.liability[2], (Shape { QPointF(465, 283), QPointF(565, 283), 20, 20 }));
    EXPECT_EQ(TagArrowGeometry::tailWidth, 9);
}

TEST(TagArrowGeometryTest, RowHeightsAreTruncatedTowardZeroAndTheArrowEndsAreNot)
{
    // 600 - 75 - 10.7 = 514.3 -> 514, above the asset end (510): the riser descends.
    auto arrows = TagArrowGeometry::arrows(600, 10.7f, 27.5f);
    EXPECT_EQ(arrows.asset[0].from, QPointF(425, 514));
    EXPECT_EQ(arrows.asset[1], (Shape { QPointF(490.5, 518.5), QPointF(490.5, 505.5), 0, 0 }));
    EXPECT_EQ(arrows.liability[0].from, QPointF(425, 494));
    EXPECT_EQ(arrows.liability[2].from, QPointF(465, 482.5));
    // Below zero truncation rounds up: 40 - 95 - 0.5 = -55.5 -> -55, not -56.
    arrows = TagArrowGeometry::arrows(40, 0.5f, 27);
    EXPECT_EQ(arrows.liability[0].from.y(), -55);
    EXPECT_EQ(arrows.asset[0].from.y(), -35);
    // Level ends still get a riser of one bar's width.
    arrows = TagArrowGeometry::arrows(600, 15, 27);
    EXPECT_EQ(arrows.asset[0].from.y(), 510);
    EXPECT_EQ(arrows.asset[1], (Shape { QPointF(490.5, 505.5), QPointF(490.5, 514.5), 0, 0 }));
}

TEST(TagArrowGeometryTest, TheRowPositionStaysWithinTheVisiblePart)
{
    EXPECT_EQ(TagArrowGeometry::recordPosition(300, 180, 400), 120);
    EXPECT_EQ(TagArrowGeometry::recordPosition(100, 180, 400), 0); // scrolled above
    EXPECT_EQ(TagArrowGeometry::recordPosition(700, 180, 400), 400); // scrolled below
    EXPECT_EQ(TagArrowGeometry::liabilityTablePosition(200), 227);
    EXPECT_EQ(TagArrowGeometry::liabilityTablePosition(0), 27);
}

} // namespace
