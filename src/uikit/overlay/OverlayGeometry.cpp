#include "uikit/overlay/OverlayGeometry.h"

#include <algorithm>
#include <cmath>

namespace OverlayGeometry {

bool slides(AnimationDirection direction)
{
    return direction >= AnimationDirection::FromTop && direction <= AnimationDirection::FromRight;
}

QPointF appearStartOffset(AnimationDirection direction, const QSizeF& size)
{
    switch (direction) {
    case AnimationDirection::FromTop:
        return { 0, size.height() };
    case AnimationDirection::FromBottom:
        return { 0, -size.height() };
    case AnimationDirection::FromLeft:
        return { -size.width(), 0 };
    case AnimationDirection::FromRight:
        return { size.width(), 0 };
    default:
        return { 0, 0 };
    }
}

QPointF disappearEndOffset(AnimationDirection direction, const QSizeF& size)
{
    // The closing push comes from the opposite side, which pushes the content back out
    // through the side it entered by.
    return appearStartOffset(direction, size);
}

QList<qreal> shakePositions(qreal x, qreal width)
{
    const qreal amount = 0.015 * width;
    QList<qreal> positions { x };
    for (int i = 0; i < 10; ++i)
        positions << x - amount << x + amount;
    positions << x;
    return positions;
}

ProgressLayout layoutProgressOverlay(const ProgressLayoutInput& in)
{
    const qreal W = in.bounds.width(), H = in.bounds.height(), m = in.margin;
    const qreal maxWidth = W - 4 * m;
    const qreal iw = std::min(in.indicator.width(), maxWidth), ih = in.indicator.height();
    const auto textSize = [&](const QSizeF& s) {
        qreal w = s.width();
        if (w > 0)
            w += 10;
        return QSizeF(std::min(w, maxWidth), s.height());
    };
    const QSizeF label = textSize(in.label);
    const QSizeF details = textSize(in.details);
    const qreal lh = label.height(), dh = details.height();
    const qreal gapA = (lh > 0 && ih > 0) ? 4 : 0;
    const qreal gapB = (dh > 0 && (lh > 0 || ih > 0)) ? 4 : 0;

    qreal boxHeight = ih + lh + gapA + dh + gapB + 2 * m;
    qreal boxWidth = std::max({ iw, label.width(), details.width() }) + 2 * m;
    const qreal base = std::round((H - boxHeight) / 2) + m - in.yOffset;
    const auto centred = [&](qreal width, qreal bottom, qreal height) {
        return QRectF(std::round((W - width) / 2) + in.xOffset, bottom, width, height);
    };
    ProgressLayout out;
    out.details = centred(details.width(), base, dh);
    out.label = centred(label.width(), base + dh + gapB, lh);
    out.indicator = centred(iw, base + dh + gapB + lh + gapA, ih);
    if (in.square) {
        const qreal s = std::max(boxWidth, boxHeight);
        if (s <= W - 2 * m)
            boxWidth = s;
        if (s <= H - 2 * m)
            boxHeight = s;
    }
    out.size = QSizeF(std::max(in.minSize.width(), boxWidth), std::max(in.minSize.height(), boxHeight));
    out.box = QRectF(std::round((W - out.size.width()) / 2) + in.xOffset,
        std::round((H - out.size.height()) / 2) - in.yOffset, out.size.width(), out.size.height());
    return out;
}

QPainterPath barOutlinePath(const QSizeF& size)
{
    const qreal w = size.width(), h = size.height();
    const qreal r = std::max<qreal>(0, h / 2 - 2);
    QPainterPath path;
    path.addRoundedRect(QRectF(2, 2, std::max<qreal>(0, w - 4), std::max<qreal>(0, h - 4)), r, r);
    return path;
}

QPainterPath barProgressPath(const QSizeF& size, qreal progress)
{
    const qreal w = size.width(), h = size.height();
    const qreal p = std::isfinite(progress) ? std::clamp<qreal>(progress, 0, 1) : 0;
    const qreal r2 = std::max<qreal>(0, h / 2 - 4);
    const qreal a = p * w;
    QPainterPath path;
    if (a <= 0 || w <= 8 || h <= 8)
        return path;
    const qreal top = h - 4, bottom = 4, mid = h / 2;
    const qreal leftEnd = r2 + 4;
    const qreal rightStart = w - r2 - 4;
    // Left end: a half circle of radius r2 centred at (4 + r2, mid).
    const QRectF leftCircle(4, mid - r2, 2 * r2, 2 * r2);
    if (a < leftEnd) {
        path.moveTo(leftEnd, bottom);
        path.arcTo(leftCircle, 90, 180);
        path.closeSubpath();
        return path;
    }
    const qreal straightEnd = std::min(a, rightStart);
    path.moveTo(leftEnd, top);
    path.arcTo(leftCircle, -90, -180);
    path.lineTo(straightEnd, bottom);
    if (a > rightStart) {
        // The right end follows the circle about (rightStart, mid) as far as x = a.
        const QRectF rightCircle(rightStart - r2, mid - r2, 2 * r2, 2 * r2);
        const qreal reach = std::min(a - rightStart, r2);
        const qreal angle = r2 > 0 ? std::acos(std::clamp<qreal>(reach / r2, -1, 1)) * 180 / M_PI : 0;
        // QPainterPath counts angles clockwise in y-up coordinates: from the bottom of the
        // circle round to x = a below the axis, then from its mirror above up to the top.
        path.arcTo(rightCircle, 90, -(90 - angle));
        path.lineTo(rightStart + reach, mid);
        path.arcTo(rightCircle, -angle, -(90 - angle));
    } else {
        path.lineTo(straightEnd, top);
    }
    path.closeSubpath();
    return path;
}

qreal pieFraction(double value, double maximum)
{
    if (!std::isfinite(value) || !std::isfinite(maximum) || maximum <= 0)
        return 0;
    return std::clamp(value / maximum, 0.0, 1.0);
}

} // namespace OverlayGeometry
