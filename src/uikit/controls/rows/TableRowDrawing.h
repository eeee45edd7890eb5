#pragma once

#include <QColor>
#include <QGradientStops>
#include <QPainter>
#include <QRectF>

/// The fading gradient of rows: `color` transparent at 0, full at 0.35 and 0.65,
/// transparent again at 1 (transparent means the same hue with alpha 0).
QGradientStops FadeGradientWithColor(const QColor& color);

/// Draws the application's separator across `rect`, left to right: grey 0.8 (0.3 in the
/// dark appearance) fading out towards both ends. The gradients are built once.
void DrawSeparatorInRect(QPainter& painter, const QRectF& rect);

namespace TableRowDrawing {

/// Fills `rect` with a left-to-right gradient of `stops`.
void fillHorizontal(QPainter& painter, const QRectF& rect, const QGradientStops& stops);
/// Four stops of `color` (alpha 0, full, full, alpha 0) at the given locations.
QGradientStops fade(const QColor& color, qreal second, qreal third);

} // namespace TableRowDrawing
