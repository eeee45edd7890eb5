#include "platform/SaneGeometry.h"

#include <gtest/gtest.h>

#include <limits>

using namespace platform;

namespace {

constexpr qreal nan = std::numeric_limits<qreal>::quiet_NaN();
constexpr qreal inf = std::numeric_limits<qreal>::infinity();

TEST(SaneGeometryTest, LengthsAndCoordinatesStayCastableToInt)
{
    EXPECT_EQ(saneLength(nan), 0.0);
    EXPECT_EQ(saneLength(-5), 0.0);
    EXPECT_EQ(saneLength(inf), maximumGeometry);
    EXPECT_EQ(saneLength(1e9), maximumGeometry);
    EXPECT_EQ(saneLength(12.5), 12.5);
    EXPECT_EQ(saneLength(50, 20), 20.0);

    EXPECT_EQ(saneCoordinate(nan), 0.0);
    EXPECT_EQ(saneCoordinate(-inf), -maximumGeometry);
    EXPECT_EQ(saneCoordinate(-40), -40.0);
    EXPECT_EQ(saneValue(nan, 1, 10, 4), 4.0);
    EXPECT_EQ(saneValue(nan, 1, 10, 40), 10.0);
}

TEST(SaneGeometryTest, RectanglesKeepTheirSoundParts)
{
    EXPECT_EQ(saneRect(QRectF(10, 20, 30, 40)), QRectF(10, 20, 30, 40));
    EXPECT_EQ(saneRect(QRectF(nan, 20, -30, inf)), QRectF(0, 20, 0, maximumGeometry));
    EXPECT_EQ(saneSize(QSizeF(1e9, nan)), QSizeF(maximumGeometry, 0));
    EXPECT_EQ(sanePoint(QPointF(inf, -1e12)), QPointF(maximumGeometry, -maximumGeometry));
}

} // namespace
