#include "categories/tags/TagArrowGeometry.h"

#include "platform/SaneGeometry.h"

#include <cmath>

namespace TagArrowGeometry {

namespace {

// The riser joins the stub and the arrow at their inner edges, half a bar off each end.
Shape riser(qreal x, qreal fromY, qreal toY)
{
    const qreal half = tailWidth / 2;
    if (fromY > toY)
        return { QPointF(x, fromY + half), QPointF(x, toY - half) };
    return { QPointF(x, fromY - half), QPointF(x, toY + half) };
}

} // namespace

Arrows arrows(qreal height, float recordPosition, float liabilityTablePosition)
{
    height = platform::saneLength(height);
    recordPosition = float(platform::saneCoordinate(recordPosition));
    liabilityTablePosition = float(platform::saneCoordinate(liabilityTablePosition));
    const qreal yA = float(height - 90);
    const qreal yL = float(height - 90 - liabilityTablePosition);
    const qreal yG = std::trunc(height - 75 - recordPosition);
    const qreal yR = std::trunc(height - 95 - recordPosition);
    Arrows result;
    result.asset = { Shape { QPointF(425, yG), QPointF(486, yG) }, riser(490.5, yG, yA),
        Shape { QPointF(495, yA), QPointF(565, yA), 20, 20 } };
    result.liability = { Shape { QPointF(425, yR), QPointF(456, yR) }, riser(460.5, yR, yL),
        Shape { QPointF(465, yL), QPointF(565, yL), 20, 20 } };
    return result;
}

float recordPosition(qreal rowTop, qreal visibleTop, qreal visibleHeight)
{
    visibleHeight = platform::saneLength(visibleHeight);
    float position = float(platform::saneCoordinate(rowTop - visibleTop));
    if (position < 0)
        position = 0;
    if (position > visibleHeight)
        position = float(visibleHeight);
    return position;
}

float liabilityTablePosition(qreal assetListHeight)
{
    return float(platform::saneLength(assetListHeight) + 27);
}

} // namespace TagArrowGeometry
