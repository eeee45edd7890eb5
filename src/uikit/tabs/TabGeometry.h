#pragma once

#include <QPainterPath>
#include <QRectF>

/// The tab view's geometry. The tab view draws top-down: its control sits on the top edge
/// and the bezel starts 10 points below it.
namespace TabGeometry {

/// The control's frame when it is rebuilt: n × 70 + 12 wide but at most the width minus 32,
/// 32 high, centred at the top of `bounds`.
QRectF reworkedControlFrame(const QRectF& bounds, int itemCount);
/// The control's frame before every drawing: its natural width capped at the width minus
/// 32, its natural height, centred at the top.
QRectF drawnControlFrame(const QRectF& bounds, double naturalWidth, double naturalHeight);
/// The rounded bezel: the bounds moved by (8, 10) and shrunk by (16, 16).
QRectF bezelRect(const QRectF& bounds);
/// The plate behind the control: moved by (2, 2), 4 narrower and 5 lower.
QRectF controlBackingRect(const QRectF& controlFrame);
/// Where the selected tab's view goes: inside the bezel, below the control.
QRectF contentRect(const QRectF& bounds, const QRectF& controlFrame);
/// A closed rectangle with corners rounded by `radius` (none when the radius is 0).
QPainterPath roundedRectPath(const QRectF& rect, double radius);

} // namespace TabGeometry
