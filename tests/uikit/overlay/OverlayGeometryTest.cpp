#include "uikit/overlay/OverlayGeometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace G = OverlayGeometry;

namespace {

TEST(OverlayGeometry, ContentSlidesInAndOutThroughTheSameSideOrFades)
{
    const QSizeF size(400, 300);
    using D = G::AnimationDirection;
    EXPECT_EQ(G::appearStartOffset(D::FromTop, size), QPointF(0, 300)); // y-up
    EXPECT_EQ(G::appearStartOffset(D::FromBottom, size), QPointF(0, -300));
    EXPECT_EQ(G::appearStartOffset(D::FromLeft, size), QPointF(-400, 0));
    EXPECT_EQ(G::appearStartOffset(D::FromRight, size), QPointF(400, 0));
    EXPECT_EQ(G::appearStartOffset(D::Fade, size), QPointF(0, 0));
    EXPECT_EQ(G::disappearEndOffset(D::FromLeft, size), QPointF(-400, 0));
    EXPECT_TRUE(G::slides(D::FromLeft));
    EXPECT_FALSE(G::slides(D::Fade));
    EXPECT_FALSE(G::slides(static_cast<D>(5)));
    // The design's numbers.
    EXPECT_EQ(static_cast<int>(D::Fade), 0);
    EXPECT_EQ(static_cast<int>(D::FromTop), 1);
    EXPECT_EQ(static_cast<int>(D::FromBottom), 2);
    EXPECT_EQ(static_cast<int>(D::FromLeft), 3);
    EXPECT_EQ(static_cast<int>(D::FromRight), 4);
}

TEST(OverlayGeometry, ShakeGoesTenTimesEachWayAndReturns)
{
    const auto xs = G::shakePositions(100, 200);
    ASSERT_EQ(xs.size(), 22);
    EXPECT_EQ(xs.front(), 100);
    EXPECT_EQ(xs.back(), 100);
    EXPECT_DOUBLE_EQ(xs[1], 97);
    EXPECT_DOUBLE_EQ(xs[2], 103);
}

TEST(OverlayGeometry, ProgressBoxStacksDetailsLabelAndIndicatorFromTheBottom)
{
    G::ProgressLayoutInput in;
    in.bounds = QSizeF(400, 300);
    in.indicator = QSizeF(60, 60);
    in.label = QSizeF(70, 20); // +10 -> 80
    in.details = QSizeF(40, 14); // +10 -> 50
    const auto out = G::layoutProgressOverlay(in);
    // Height 60 + 20 + 4 + 14 + 4 + 40 = 142; width 80 + 40 = 120.
    EXPECT_EQ(out.size, QSizeF(120, 142));
    const qreal base = std::round((300 - 142) / 2.0) + 20; // 99
    EXPECT_EQ(out.details, QRectF(175, base, 50, 14));
    EXPECT_EQ(out.label, QRectF(160, base + 18, 80, 20));
    EXPECT_EQ(out.indicator, QRectF(170, base + 42, 60, 60));
    EXPECT_EQ(out.box, QRectF(140, 79, 120, 142));

    // Empty texts add no width bonus and no gaps; square boxes and minimum sizes apply.
    in.label = QSizeF();
    in.details = QSizeF();
    in.square = true;
    const auto square = G::layoutProgressOverlay(in);
    EXPECT_EQ(square.size, QSizeF(100, 100));
    in.minSize = QSizeF(150, 90);
    in.yOffset = 10;
    const auto shifted = G::layoutProgressOverlay(in);
    EXPECT_EQ(shifted.size, QSizeF(150, 100));
    EXPECT_EQ(shifted.box.y(), 100 - 10);
}

TEST(OverlayGeometry, BarProgressFillsFromItsOwnRectangleAndClamps)
{
    const QSizeF size(120, 20); // r2 = 6: ends at 10 and 110
    EXPECT_TRUE(G::barProgressPath(size, 0).isEmpty());
    EXPECT_TRUE(G::barProgressPath(size, -1).isEmpty());
    EXPECT_TRUE(G::barProgressPath(size, std::numeric_limits<double>::quiet_NaN()).isEmpty());
    const QRectF tiny = G::barProgressPath(size, 0.02).boundingRect();
    EXPECT_NEAR(tiny.left(), 4, 1e-6);
    EXPECT_NEAR(tiny.right(), 10, 1e-6);
    const QRectF half = G::barProgressPath(size, 0.5).boundingRect();
    EXPECT_NEAR(half.left(), 4, 1e-6);
    EXPECT_NEAR(half.right(), 60, 1e-6);
    EXPECT_NEAR(half.top(), 4, 1e-6);
    EXPECT_NEAR(half.bottom(), 16, 1e-6);
    EXPECT_NEAR(G::barProgressPath(size, 1).boundingRect().right(), 116, 1e-6);
    EXPECT_EQ(G::barProgressPath(size, 7).boundingRect(), G::barProgressPath(size, 1).boundingRect());
    EXPECT_TRUE(G::barProgressPath(QSizeF(240, 20), 0.5).boundingRect().right() > 119);
}

TEST(OverlayGeometry, PieFractionNeverDividesByZero)
{
    EXPECT_DOUBLE_EQ(G::pieFraction(25, 100), 0.25);
    EXPECT_DOUBLE_EQ(G::pieFraction(25, 0), 0);
    EXPECT_DOUBLE_EQ(G::pieFraction(250, 100), 1);
    EXPECT_DOUBLE_EQ(G::pieFraction(-5, 100), 0);
    EXPECT_DOUBLE_EQ(G::pieFraction(std::numeric_limits<double>::infinity(), 100), 0);
}

} // namespace
