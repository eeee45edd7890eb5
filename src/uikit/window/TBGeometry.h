#pragma once

#include <QFlags>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

class QWidget;

/// The window kit's geometry rules. Every rule works in y-up space with the origin at the
/// bottom left of its container, as the window family was designed; `platform::flipped`
/// converts a rectangle to Qt's y-down space (and back) at the widget boundary.
namespace TBGeometry {

/// Places `widget` at `yUpFrame`, given in the y-up space of `space` (any widget of
/// the same window), rounding to whole device-independent pixels. The frame is brought into
/// range first (`platform::saneRect`).
void setFrame(QWidget* widget, const QRectF& yUpFrame, const QWidget* space);
/// The widget's frame in the y-up space of `space` (any widget of the same window).
QRectF frame(const QWidget* widget, const QWidget* space);

/// Standard window button `index` (0 close, 1 minimise, 2 zoom) of size `size` in a title
/// bar of height `superviewHeight`: x = leftMargin + index x (width + 6); vertically centred,
/// or `topMargin` below the top edge.
QRectF trafficLightFrame(int index, const QSizeF& size, double superviewHeight, double leftMargin,
    double topMargin, bool centered);

/// The height a title bar gets when `requested` is asked for: never lower than `minimum`.
double titleBarHeightFor(double requested, double minimum);

/// A window frame grown by `delta` in height with its top edge kept in place.
QRectF frameKeepingTopEdge(const QRectF& frame, double delta);

/// Autoresizing flags of a view, as the window kit's callers set them on title-bar controls.
enum class Autoresizing : unsigned {
    NotSizable = 0,
    MinXMargin = 1, // the left margin follows the container's width: the view keeps its right distance
    WidthSizable = 2,
    MaxXMargin = 4,
    MinYMargin = 8, // the bottom margin is flexible
    HeightSizable = 16,
    MaxYMargin = 32,
};
Q_DECLARE_FLAGS(AutoresizingMask, Autoresizing)

/// The frame of a view with `mask` after its container changed from `oldSize` to
/// `newSize`. The change along each axis is shared among the flexible parts (margins and
/// size) in proportion to their current lengths, equally when they are all zero.
QRectF autoresizedFrame(
    AutoresizingMask mask, const QRectF& frame, const QSizeF& oldSize, const QSizeF& newSize);

/// Remembers `mask` for `widget`; containers of the window kit apply it when they resize.
void setAutoresizingMask(QWidget* widget, AutoresizingMask mask);
AutoresizingMask autoresizingMask(const QWidget* widget);
/// Applies the remembered masks of the direct children of `container` after it changed
/// from `oldSize` to its current size.
void applyAutoresizing(QWidget* container, const QSizeF& oldSize);

/// Drag movement gathered until it reaches a threshold in either direction, so that tiny
/// hand tremors do not move a window.
class DragAccumulator {
public:
    explicit DragAccumulator(double threshold = 1.0) { setThreshold(threshold); }
    /// Adds a movement; returns the offset to move by (and clears it) once either of its
    /// coordinates reaches the threshold in absolute value.
    std::optional<QPointF> add(const QPointF& movement);
    QPointF pending() const { return m_pending; }
    double threshold() const { return m_threshold; }
    /// NaN and negative thresholds are 0 (every movement moves).
    void setThreshold(double threshold);

private:
    double m_threshold = 1.0;
    QPointF m_pending;
};

} // namespace TBGeometry

Q_DECLARE_OPERATORS_FOR_FLAGS(TBGeometry::AutoresizingMask)
