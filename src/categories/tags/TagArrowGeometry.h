#pragma once

#include <QPointF>

#include <array>

/// Where the tags screen's connecting arrows run, in the background view's own y-up space
/// (origin bottom left). Pure functions: the view converts their points to Qt's y-down once.
namespace TagArrowGeometry {

/// Every shape is a bar of this width.
inline constexpr qreal tailWidth = 9;

/// One shape: a bar from `from` to `to` ending in a head (none when both are 0).
struct Shape {
    QPointF from;
    QPointF to;
    qreal headWidth = 0;
    qreal headLength = 0;

    bool operator==(const Shape&) const = default;
};

/// The stub leaving the tag row, the riser and the arrow into the list, in this order.
using Arrow = std::array<Shape, 3>;

struct Arrows {
    Arrow asset;
    Arrow liability;
};

/// The arrows for a view `height` high: the asset arrow ends 90 below the top, the liability
/// arrow `liabilityTablePosition` further down; both leave the tag row, whose top lies
/// `recordPosition` below the tag list's visible top, at 75 (asset) and 95 (liability)
/// below the view's top, those heights truncated toward zero.
Arrows arrows(qreal height, float recordPosition, float liabilityTablePosition);

/// The row's offset for the arrows: the top of the selected row less the top of the tag
/// list's visible part, kept within 0 and the visible height (a row scrolled out of view
/// pins the arrows to the nearer edge).
float recordPosition(qreal rowTop, qreal visibleTop, qreal visibleHeight);

/// How far below the asset arrow the liability arrow ends: the asset list's height and the
/// 27-point gap before the liability list (27 when there is no asset list).
float liabilityTablePosition(qreal assetListHeight);

} // namespace TagArrowGeometry
