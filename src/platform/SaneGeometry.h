#pragma once

// Geometry handed to a public setter (sizes, positions, radii, line widths, font sizes) is
// brought into a range the drawing code can cast to int and iterate over. The checks live
// at the boundary so that nothing below it meets a NaN, an infinity or a length no screen
// can show.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <algorithm>
#include <cmath>

namespace platform {

/// The largest length or coordinate, in points, any view is laid out or drawn with: far
/// beyond any screen or page, far below what overflows an int.
inline constexpr qreal maximumGeometry = 1.0e6;

/// `value` within [`lowest`, `highest`]; NaN becomes `fallback` (itself clamped).
inline qreal saneValue(qreal value, qreal lowest, qreal highest, qreal fallback = 0.0)
{
    if (std::isnan(value))
        value = fallback;
    return std::clamp(value, lowest, highest);
}

/// A length: NaN and negative values become 0, infinities and huge values the maximum.
inline qreal saneLength(qreal value, qreal highest = maximumGeometry)
{
    return saneValue(value, 0.0, highest);
}

/// A coordinate: NaN becomes 0, anything beyond plus or minus the maximum is clamped.
inline qreal saneCoordinate(qreal value)
{
    return saneValue(value, -maximumGeometry, maximumGeometry);
}

inline QSizeF saneSize(const QSizeF& size, qreal highest = maximumGeometry)
{
    return QSizeF(saneLength(size.width(), highest), saneLength(size.height(), highest));
}

inline QPointF sanePoint(const QPointF& point)
{
    return QPointF(saneCoordinate(point.x()), saneCoordinate(point.y()));
}

/// A rectangle whose origin and size are sane; a negative size becomes empty.
inline QRectF saneRect(const QRectF& rect)
{
    return QRectF(sanePoint(rect.topLeft()), saneSize(rect.size()));
}

} // namespace platform
