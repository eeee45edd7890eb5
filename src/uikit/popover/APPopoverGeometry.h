#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <optional>

/// Geometry of the anchored point popover in y-up space. Positions 0-11 name the edge that
/// carries the arrow and where the arrow sits on it (see APPopover).
namespace APPopoverGeometry {

enum class Edge { Right, Top, Left, Bottom, None };
Edge edgeOf(int position);

struct Metrics {
    int position = 1;
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
QRectF frameForNewPosition(const Metrics& m, const QRectF& frame, int newPosition);

/// Picks a position for a window of `windowSize` at `point` (screen space). `visibleScreen`
/// is the screen's visible frame; `parentFrame` the parent window's frame when there is one.
int bestPosition(const Metrics& m, const QSizeF& windowSize, const QPointF& point,
    const QRectF& visibleScreen, const std::optional<QRectF>& parentFrame);

} // namespace APPopoverGeometry
