#pragma once

#include <QPainterPath>
#include <QRegion>
#include <QSize>

#include <functional>

class QWidget;

/// The window shape of a translucent popover. Without a compositing manager an X server shows
/// a translucent window's transparent pixels as black, so there the window is cut to its
/// panel instead; with one the window keeps its soft, fully translucent edges.
namespace PopoverShape {

/// The region, in the window's y-down coordinates, that the panel covers: `yUpOutline` (in
/// the y-up coordinates of a window of `size`) filled and stroked with `strokeWidth`. A pixel
/// belongs to it when the panel covers at least half of it.
QRegion maskRegion(const QPainterPath& yUpOutline, const QSize& size, qreal strokeWidth);

/// Whether the X screen the application runs on has a compositing manager (an owner of its
/// "_NET_WM_CM_S<n>" selection). True on every other platform, which composites itself.
bool compositingManagerRunning();

/// Cuts `window` to the region `makeRegion` gives when no compositing manager runs (only then
/// is it made: it costs an image of the window's size); removes any cut otherwise.
void applyMask(QWidget* window, const std::function<QRegion()>& makeRegion);

} // namespace PopoverShape
