#include "uikit/controls/rows/TableRowDrawing.h"

#include "platform/Appearance.h"

#include <QLinearGradient>

namespace TableRowDrawing {

QGradientStops fade(const QColor& color, qreal second, qreal third)
{
    QColor clear = color;
    clear.setAlphaF(0);
    return { { 0.0, clear }, { second, color }, { third, color }, { 1.0, clear } };
}

void fillHorizontal(QPainter& painter, const QRectF& rect, const QGradientStops& stops)
{
    QLinearGradient gradient(rect.left(), 0, rect.right(), 0);
    gradient.setStops(stops);
    painter.fillRect(rect, gradient);
}

} // namespace TableRowDrawing

QGradientStops FadeGradientWithColor(const QColor& color)
{
    return TableRowDrawing::fade(color.toRgb(), 0.35, 0.65);
}

void DrawSeparatorInRect(QPainter& painter, const QRectF& rect)
{
    static const QGradientStops light = FadeGradientWithColor(QColor::fromRgbF(0.8f, 0.8f, 0.8f, 1.0f));
    // The light grey would be the brightest line of a dark window: as faint on dark.
    static const QGradientStops dark = FadeGradientWithColor(QColor::fromRgbF(0.3f, 0.3f, 0.3f, 1.0f));
    TableRowDrawing::fillHorizontal(painter, rect, platform::isDarkAppearance() ? dark : light);
}
