#pragma once

#include "platform/RectEdge.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

/// Geometry of the anchored popover, in the y-up space with the origin at the bottom left
/// of the primary screen. Qt's y-down coordinates are converted once, by
/// `platform::screenToYUp`/`screenToYDown`.
namespace PKPopoverGeometry {

/// Arrow directions: the direction the arrow points, from the panel towards the anchor.
enum class ArrowDirection : unsigned {
    None = 0,
    Left = 1, // panel right of the anchor
    Right = 2, // panel left of the anchor
    Up = 3, // panel below the anchor
    Down = 4, // panel above the anchor
};

/// Maps a rectangle edge to an arrow direction; values past MaxY act as MaxY.
ArrowDirection arrowDirectionForEdge(platform::RectEdge edge);
/// The opposite direction; None for anything outside Left-Down.
ArrowDirection oppositeDirection(ArrowDirection direction);

/// The window frame around `content`, grown by the arrow height on every side.
QRectF frameRectForContentRect(const QRectF& content, qreal arrowHeight);
/// The content rectangle at the origin for a frame, inset by the arrow height.
QRectF contentRectForFrameRect(const QRectF& frame, qreal arrowHeight);

/// The frame of `frameSize` for the anchor rectangle and direction; zero for None or out of range.
QRectF popoverFrame(const QRectF& anchor, const QSizeF& frameSize, ArrowDirection direction);

/// Chooses the direction for a preferred one: the preferred side if the frame fits on `screen`,
/// else the opposite side, else below or above by the room, else the preferred one.
ArrowDirection chooseArrowDirection(
    ArrowDirection preferred, const QRectF& anchor, const QSizeF& frameSize, const QRectF& screen);

/// A panel placed on the screen: its side, its frame, and how far its arrow sits from the
/// middle of its edge (along x for Up and Down, along y for Left and Right).
struct Placement {
    ArrowDirection direction = ArrowDirection::None;
    QRectF frame;
    qreal arrowOffset = 0;
};

/// The side for a panel on `screen`: `chooseArrowDirection`'s answer when that frame fits;
/// else the first side on which the panel fits once shifted along it (below or above by the
/// room, then right or left by the room); else the side with the most room.
ArrowDirection directionOnScreen(
    ArrowDirection preferred, const QRectF& anchor, const QSizeF& frameSize, const QRectF& screen);

/// `frame` moved the least distance that puts it on `screen`; a frame larger than the screen
/// shows its top left part. Without a screen the frame stays where it is.
QRectF keptOnScreen(const QRectF& frame, const QRectF& screen);

/// The frame on `direction`'s side of the anchor, shifted along that side (and, when even
/// that is not enough, across it) until it lies on `screen`. The arrow moves against the
/// shift so that it keeps pointing at the anchor, but stays clear of the rounded corners.
/// Without a screen the frame is not moved.
Placement placeOnScreen(const QRectF& anchor, const QSizeF& frameSize, ArrowDirection direction,
    const QRectF& screen, qreal cornerRadius, const QSizeF& arrowSize);

/// The panel outline for the frame view's bounds; `arrowOffset` moves the arrow from the
/// middle of its edge.
QPainterPath outline(const QRectF& bounds, qreal cornerRadius, const QSizeF& arrowSize,
    ArrowDirection direction, qreal arrowOffset = 0);
/// The rectangle the outline is built from: odd integer border widths fall on whole pixels.
QRectF outlineBounds(const QRectF& bounds, qreal borderWidth);

/// The one-point highlight line(s) under the top edge; two pieces around an upward arrow.
QList<QRectF> topHighlightRects(const QRectF& bounds, qreal borderWidth, qreal cornerRadius,
    const QSizeF& arrowSize, ArrowDirection direction, qreal arrowOffset = 0);

} // namespace PKPopoverGeometry
