#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <optional>

/// Geometry of the anchored point popover in y-up space.
namespace APPopoverGeometry {

/// The edge of the window that carries the arrow, then the end of that edge the arrow sits
/// near (y-up); a bare edge has the arrow in its middle.
enum class Position {
    Right = 0,
    Top = 1,
    Left = 2,
    Bottom = 3,
    RightBottom = 4,
    RightTop = 5,
    LeftBottom = 6,
    LeftTop = 7,
    BottomRight = 8,
    BottomLeft = 9,
    TopRight = 10,
    TopLeft = 11,
};

enum class Edge { Right, Top, Left, Bottom, None };
Edge edgeOf(Position position);

struct Metrics {
    Position position = Position::Top;
    qreal distance = 0;
    qreal borderWidth = 2;
    qreal cornerRadius = 8;
    qreal arrowWidth = 20;
    qreal arrowHeight = 16;
    qreal viewMargin = 2;
    bool drawsArrow = true;
    bool drawRoundCornerBesideArrow = true;

    /// Room reserved on the arrow side.
    qreal arrowRoom() const { return arrowHeight + distance; }
    /// Distance of an off-centre arrow from the end of its edge.
    qreal offCentreInset() const;
};

QRectF frameRectForContentRect(const Metrics& m, const QRectF& content);
QRectF contentRectForFrameRect(const Metrics& m, const QRectF& frame);
QPointF attachmentPointForRect(const Metrics& m, const QRectF& frame);
QPainterPath framePathForContentRect(const Metrics& m, const QRectF& content);

/// The frame after switching to `newPosition`, keeping the attachment point where it was.
QRectF frameForNewPosition(const Metrics& m, const QRectF& frame, Position newPosition);

/// Picks a position for a window of `windowSize` at `point` (screen space). `visibleScreen`
/// is the screen's visible frame; `parentFrame` the parent window's frame when there is one.
Position bestPosition(const Metrics& m, const QSizeF& windowSize, const QPointF& point,
    const QRectF& visibleScreen, const std::optional<QRectF>& parentFrame);

} // namespace APPopoverGeometry
