#pragma once

// The design's geometry is y-up with the origin at the bottom left; Qt's is y-down with
// the origin at the top left. These are the only conversions between the two: a
// reflection about the middle of a space `height` high, which is its own inverse.

#include <QPointF>
#include <QRect>
#include <QRectF>

namespace platform {

/// A rectangle of a space `height` high reflected between y-up and y-down.
inline QRectF flipped(const QRectF& rect, qreal height)
{
    return QRectF(rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height());
}
inline QRect flipped(const QRect& rect, int height)
{
    return QRect(rect.x(), height - rect.y() - rect.height(), rect.width(), rect.height());
}
/// A point of a space `height` high reflected between y-up and y-down.
inline QPointF flipped(const QPointF& point, qreal height)
{
    return QPointF(point.x(), height - point.y());
}

template <typename Geometry, typename Height> Geometry toYUp(const Geometry& yDown, Height height)
{
    return flipped(yDown, height);
}
template <typename Geometry, typename Height> Geometry toYDown(const Geometry& yUp, Height height)
{
    return flipped(yUp, height);
}

/// The height screen coordinates are reflected about: the bottom edge of the primary
/// screen in Qt's global coordinates (0 without a screen).
int screenFlipHeight();

/// Global (screen) rectangles between Qt's y-down and the design's y-up screen space.
inline QRectF screenToYUp(const QRectF& yDown)
{
    return flipped(yDown, qreal(screenFlipHeight()));
}
inline QRectF screenToYDown(const QRectF& yUp)
{
    return flipped(yUp, qreal(screenFlipHeight()));
}

} // namespace platform
