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

/// The panel outline for the frame view's bounds.
QPainterPath outline(
    const QRectF& bounds, qreal cornerRadius, const QSizeF& arrowSize, ArrowDirection direction);
/// The rectangle the outline is built from: odd integer border widths fall on whole pixels.
QRectF outlineBounds(const QRectF& bounds, qreal borderWidth);

/// The one-point highlight line(s) under the top edge; two pieces around an upward arrow.
QList<QRectF> topHighlightRects(const QRectF& bounds, qreal borderWidth, qreal cornerRadius,
    const QSizeF& arrowSize, ArrowDirection direction);

} // namespace PKPopoverGeometry
