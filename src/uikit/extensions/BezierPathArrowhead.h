#pragma once

#include <QPainterPath>
#include <QPointF>

/// Arrow outlines.
struct BezierPathArrowhead {
    /// A closed arrow from `start` to `end`: a bar `tailWidth` wide ending in a head
    /// `headWidth` wide and `headLength` long whose tip is at `end`. Works in any
    /// coordinate space. Two equal points have no direction and give an empty path.
    static QPainterPath bezierPathWithArrowFromPoint(
        QPointF start, QPointF end, qreal tailWidth, qreal headWidth, qreal headLength);
};
