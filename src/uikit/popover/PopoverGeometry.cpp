#include "uikit/popover/PopoverGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace PKPopoverGeometry {

ArrowDirection arrowDirectionForEdge(platform::RectEdge edge)
{
    switch (edge) {
    case platform::RectEdge::MinX:
        return ArrowDirection::Left;
    case platform::RectEdge::MinY:
        return ArrowDirection::Down;
    case platform::RectEdge::MaxX:
        return ArrowDirection::Right;
    default:
        return ArrowDirection::Up;
    }
}

ArrowDirection oppositeDirection(ArrowDirection direction)
{
    switch (direction) {
    case ArrowDirection::Left:
        return ArrowDirection::Right;
    case ArrowDirection::Right:
        return ArrowDirection::Left;
    case ArrowDirection::Up:
        return ArrowDirection::Down;
    case ArrowDirection::Down:
        return ArrowDirection::Up;
    default:
        return ArrowDirection::None;
    }
}

QRectF frameRectForContentRect(const QRectF& content, qreal arrowHeight)
{
    return content.adjusted(-arrowHeight, -arrowHeight, arrowHeight, arrowHeight);
}

QRectF contentRectForFrameRect(const QRectF& frame, qreal arrowHeight)
{
    return QRectF(QPointF(0, 0), frame.size()).adjusted(arrowHeight, arrowHeight, -arrowHeight, -arrowHeight);
}

QRectF popoverFrame(const QRectF& anchor, const QSizeF& frameSize, ArrowDirection direction)
{
    const qreal halfHeight = std::floor(frameSize.height() / 2);
    const qreal halfWidth = std::floor(frameSize.width() / 2);
    const qreal middleY = anchor.y() + anchor.height() / 2 - halfHeight;
    const qreal middleX = anchor.x() + anchor.width() / 2 - halfWidth;
    switch (direction) {
    case ArrowDirection::Left:
        return QRectF(QPointF(anchor.x() + anchor.width(), middleY), frameSize);
    case ArrowDirection::Right:
        return QRectF(QPointF(anchor.x() - frameSize.width(), middleY), frameSize);
    case ArrowDirection::Up:
        return QRectF(QPointF(middleX, anchor.y() - frameSize.height()), frameSize);
    case ArrowDirection::Down:
        return QRectF(QPointF(middleX, anchor.y() + anchor.height()), frameSize);
    default:
        return {};
    }
}

ArrowDirection chooseArrowDirection(
    ArrowDirection preferred, const QRectF& anchor, const QSizeF& frameSize, const QRectF& screen)
{
    const auto fits = [&](ArrowDirection direction) {
        const QRectF frame = popoverFrame(anchor, frameSize, direction);
        // A zero frame (no direction) or a missing screen never fits.
        return !screen.isEmpty() && !frame.isEmpty() && screen.contains(frame);
    };
    if (fits(preferred))
        return preferred;
    const ArrowDirection opposite = oppositeDirection(preferred);
    if (fits(opposite))
        return opposite;
    ArrowDirection candidate = ArrowDirection::None;
    if (preferred >= ArrowDirection::Left && preferred <= ArrowDirection::Down) {
        const qreal roomBelow = anchor.y();
        const qreal roomAbove = screen.height() - (anchor.y() + anchor.height());
        candidate = roomBelow > roomAbove ? ArrowDirection::Up : ArrowDirection::Down;
    }
    if (fits(candidate))
        return candidate;
    return preferred;
}

ArrowDirection directionOnScreen(
    ArrowDirection preferred, const QRectF& anchor, const QSizeF& frameSize, const QRectF& screen)
{
    const ArrowDirection chosen = chooseArrowDirection(preferred, anchor, frameSize, screen);
    if (screen.isEmpty() || screen.contains(popoverFrame(anchor, frameSize, chosen)))
        return chosen;

    struct Side {
        ArrowDirection direction;
        qreal room; // between the anchor and the screen's edge on that side
        bool fitsShifted;
    };
    const bool fitsAcrossX = frameSize.width() <= screen.width();
    const bool fitsAcrossY = frameSize.height() <= screen.height();
    const qreal below = anchor.top() - screen.top();
    const qreal above = screen.bottom() - anchor.bottom();
    const qreal left = anchor.left() - screen.left();
    const qreal right = screen.right() - anchor.right();
    const Side under { ArrowDirection::Up, below, fitsAcrossX && below >= frameSize.height() };
    const Side over { ArrowDirection::Down, above, fitsAcrossX && above >= frameSize.height() };
    const Side toRight { ArrowDirection::Left, right, fitsAcrossY && right >= frameSize.width() };
    const Side toLeft { ArrowDirection::Right, left, fitsAcrossY && left >= frameSize.width() };
    const std::array<Side, 4> sides { below >= above ? under : over, below >= above ? over : under,
        right >= left ? toRight : toLeft, right >= left ? toLeft : toRight };
    for (const Side& side : sides) {
        if (side.fitsShifted)
            return side.direction;
    }
    return std::max_element(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
        return a.room < b.room;
    })->direction;
}

QRectF keptOnScreen(const QRectF& frame, const QRectF& screen)
{
    if (screen.isEmpty())
        return frame;
    const qreal x = frame.width() > screen.width()
        ? screen.left()
        : std::clamp(frame.left(), screen.left(), screen.right() - frame.width());
    // y-up: a tall frame keeps its top at the screen's top.
    const qreal y = frame.height() > screen.height()
        ? screen.bottom() - frame.height()
        : std::clamp(frame.top(), screen.top(), screen.bottom() - frame.height());
    return QRectF(QPointF(x, y), frame.size());
}

Placement placeOnScreen(const QRectF& anchor, const QSizeF& frameSize, ArrowDirection direction,
    const QRectF& screen, qreal cornerRadius, const QSizeF& arrowSize)
{
    const QRectF centred = popoverFrame(anchor, frameSize, direction);
    if (screen.isEmpty() || centred.isEmpty())
        return { direction, centred, 0 };
    const QRectF frame = keptOnScreen(centred, screen);

    const bool vertical = direction == ArrowDirection::Up || direction == ArrowDirection::Down;
    const qreal shift = vertical ? frame.left() - centred.left() : frame.top() - centred.top();
    const qreal edge = vertical ? frame.width() : frame.height();
    // The outline's straight edge runs between the corner arcs; the arrow's base stays on it.
    const qreal straight = edge - 2 * (cornerRadius + arrowSize.height());
    const qreal limit = std::max<qreal>(0, (straight - arrowSize.width()) / 2);
    return { direction, frame, std::clamp(-shift, -limit, limit) };
}

QRectF outlineBounds(const QRectF& bounds, qreal borderWidth)
{
    if (static_cast<long long>(borderWidth) % 2 == 1)
        return bounds.adjusted(0.5, 0.5, -0.5, -0.5);
    return bounds;
}

QPainterPath outline(
    const QRectF& bounds, qreal r, const QSizeF& arrowSize, ArrowDirection direction, qreal arrowOffset)
{
    const qreal aw = arrowSize.width();
    const qreal ah = arrowSize.height();
    const QRectF body = bounds.adjusted(r + ah, r + ah, -(r + ah), -(r + ah));
    const qreal minX = body.left(), maxX = body.right(), minY = body.top(), maxY = body.bottom();
    const bool vertical = direction == ArrowDirection::Up || direction == ArrowDirection::Down;
    const qreal midX = body.x() + body.width() / 2 + (vertical ? arrowOffset : 0);
    const qreal midY = body.y() + body.height() / 2 + (vertical ? 0 : arrowOffset);

    // Arcs run counter-clockwise in y-up space; QPainterPath's angles count the same way
    // in a y-up reading of its coordinates.
    QPainterPath path;
    const auto arc = [&](qreal cx, qreal cy, qreal from) {
        path.arcTo(QRectF(cx - r, cy - r, 2 * r, 2 * r), -from, -90);
    };
    path.moveTo(minX - r, minY);
    arc(minX, minY, 180);
    if (direction == ArrowDirection::Down) {
        path.lineTo(std::floor(midX - aw / 2), minY - r);
        path.lineTo(std::floor(midX), minY - r - ah);
        path.lineTo(std::floor(midX + aw / 2), minY - r);
    }
    arc(maxX, minY, 270);
    if (direction == ArrowDirection::Right) {
        path.lineTo(maxX + r, std::floor(midY - aw / 2));
        path.lineTo(maxX + r + ah, std::floor(midY));
        path.lineTo(maxX + r, std::floor(midY + aw / 2));
    }
    arc(maxX, maxY, 0);
    if (direction == ArrowDirection::Up) {
        path.lineTo(std::floor(midX + aw / 2), maxY + r);
        path.lineTo(std::floor(midX), maxY + r + ah);
        path.lineTo(std::floor(midX - aw / 2), maxY + r);
    }
    arc(minX, maxY, 90);
    if (direction == ArrowDirection::Left) {
        path.lineTo(minX - r, std::floor(midY + aw / 2));
        path.lineTo(minX - r - ah, std::floor(midY));
        path.lineTo(minX - r, std::floor(midY - aw / 2));
    }
    path.closeSubpath();
    return path;
}

QList<QRectF> topHighlightRects(const QRectF& bounds, qreal borderWidth, qreal cornerRadius,
    const QSizeF& arrowSize, ArrowDirection direction, qreal arrowOffset)
{
    const qreal ah = arrowSize.height();
    const QRectF inner = bounds.adjusted(ah, ah, -ah, -ah);
    const qreal x = std::floor(inner.x() + cornerRadius / 2);
    const qreal y = inner.y() + inner.height() - borderWidth - 1;
    const qreal width = inner.width() - cornerRadius;
    if (direction == ArrowDirection::Up) {
        const qreal left = std::floor(width / 2 + arrowOffset - arrowSize.width() / 2);
        const qreal right = std::floor(width / 2 - arrowOffset - arrowSize.width() / 2);
        return { QRectF(x, y, left, 1),
            QRectF(std::floor(x + width / 2 + arrowOffset + arrowSize.width() / 2), y, right, 1) };
    }
    return { QRectF(x, y, width, 1) };
}

} // namespace PKPopoverGeometry
