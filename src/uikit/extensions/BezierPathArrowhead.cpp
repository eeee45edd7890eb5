#include "uikit/extensions/BezierPathArrowhead.h"

#include <QTransform>

#include <array>
#include <cmath>

QPainterPath BezierPathArrowhead::bezierPathWithArrowFromPoint(
    QPointF start, QPointF end, qreal tailWidth, qreal headWidth, qreal headLength)
{
    const QPointF d = end - start;
    const qreal length = std::hypot(static_cast<float>(d.x()), static_cast<float>(d.y()));
    if (!(length > 0.0))
        return {};
    const qreal cosine = d.x() / length;
    const qreal sine = d.y() / length;

    const qreal t = tailWidth / 2;
    const qreal w = headWidth / 2;
    const qreal neck = length - headLength;
    const std::array<QPointF, 7> points { QPointF(0, t), QPointF(neck, t), QPointF(neck, w),
        QPointF(length, 0), QPointF(neck, -w), QPointF(neck, -t), QPointF(0, -t) };

    QPainterPath path;
    path.moveTo(points[0]);
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    path.closeSubpath();
    return QTransform(cosine, sine, -sine, cosine, start.x(), start.y()).map(path);
}
