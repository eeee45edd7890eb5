#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

/// Drawing helpers shared by the controls. Geometry rules are written y-up with the
/// origin at the bottom left and turned into widget coordinates once, with flipY.
namespace KitDrawing {

/// Maps y-up coordinates of a view `height` high to the widget's y-down ones (and back).
QTransform flipY(qreal height);
/// A y-up rectangle in widget coordinates.
QRectF toWidget(const QRectF& yUp, qreal height);

/// Appends a line from the path's current point towards `corner`, rounded off by a
/// circle of `radius` tangent to both the segment (current point, corner) and the
/// segment (corner, toward). Degenerate corners (collinear points, zero radius) become a
/// straight line to `corner`.
void appendArcFromPoint(QPainterPath& path, QPointF corner, QPointF toward, qreal radius);

/// The neutral grey the kit uses where the system grey colour was asked for.
QColor systemGray();
/// The accent colour of the current appearance: focus rings and selected frames.
QColor selectionColor();

/// `emoji` when an installed font draws every character of it, else an empty text, so
/// that a flag no font has is left out rather than shown as boxes. Asks the font
/// database once per character.
QString drawableEmoji(const QString& emoji);

} // namespace KitDrawing
