#pragma once

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

/// Pure geometry of the overlays and progress views, in y-up space (origin bottom left).
namespace OverlayGeometry {

/// The side the modal overlay's content slides in from; Fade (and any value outside
/// FromTop-FromRight) fades instead.
enum class AnimationDirection { Fade = 0, FromTop = 1, FromBottom = 2, FromLeft = 3, FromRight = 4 };

/// Where the modal overlay's content starts when it appears (offset from its resting place);
/// none for a fade.
QPointF appearStartOffset(AnimationDirection direction, const QSizeF& size);
/// Where the content ends when it disappears; it leaves through the side it came in by.
QPointF disappearEndOffset(AnimationDirection direction, const QSizeF& size);
/// Whether the direction slides rather than fades.
bool slides(AnimationDirection direction);

/// The x positions of the shake: x, then ten times left and right by 1.5 % of the width,
/// then x again.
QList<qreal> shakePositions(qreal x, qreal width);

/// The progress overlay's box and items for the overlay's size and its items' sizes.
struct ProgressLayoutInput {
    QSizeF bounds;
    qreal margin = 20;
    QSizeF indicator;
    QSizeF label; // the text's own size; 10 is added to a non-zero width
    QSizeF details;
    qreal xOffset = 0;
    qreal yOffset = 0; // positive moves the box down
    bool square = false;
    QSizeF minSize;
};
struct ProgressLayout {
    QRectF indicator;
    QRectF label;
    QRectF details;
    QSizeF size; // the box
    QRectF box;
};
ProgressLayout layoutProgressOverlay(const ProgressLayoutInput& input);

/// The filled part of the bar progress view for its own size and a progress of 0..1
/// (clamped); empty for no progress.
QPainterPath barProgressPath(const QSizeF& size, qreal progress);
/// The bar's outline capsule.
QPainterPath barOutlinePath(const QSizeF& size);

/// The share of a full pie for a value and a maximum: clamped to 0..1, 0 for a maximum of 0
/// or less and for non-finite input.
qreal pieFraction(double value, double maximum);

} // namespace OverlayGeometry
