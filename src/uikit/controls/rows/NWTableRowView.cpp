#include "uikit/controls/rows/NWTableRowView.h"

#include "uikit/controls/rows/TableRowDrawing.h"

#include <QPainter>

namespace {

const QColor& fixedSelectionStroke()
{
    static const QColor color = QColor::fromRgbF(0.65f, 0.65f, 0.65f, 0.01f);
    return color;
}

const QColor& fixedSelectionFill()
{
    static const QColor color = QColor::fromRgbF(0.82f, 0.82f, 0.82f, 0.3f);
    return color;
}

} // namespace

void NWTableRowView::drawBackgroundInRect(QPainter& painter, const QRect& dirty)
{
    TableRowView::drawBackgroundInRect(painter, dirty);
    if (mouseInside())
        TableRowDrawing::fillHorizontal(
            painter, rect(), FadeGradientWithColor(QColor::fromRgbF(0.99f, 0.99f, 0.8f, 0.35f)));
}

void NWTableRowView::drawSelectionInRect(QPainter& painter, const QRect&)
{
    drawSelectionShape(painter, fixedSelectionStroke(), fixedSelectionFill(), 1, 1);
}

void NWDateRowView::drawBackgroundInRect(QPainter& painter, const QRect& dirty)
{
    TableRowView::drawBackgroundInRect(painter, dirty);
    if (mouseInside())
        TableRowDrawing::fillHorizontal(
            painter, rect(), TableRowDrawing::fade(QColor::fromRgbF(0.99f, 0.99f, 0.8f, 0.55f), 0.5, 0.5));
}

void NWDateRowView::drawSelectionInRect(QPainter& painter, const QRect&)
{
    drawSelectionShape(painter, fixedSelectionStroke(), fixedSelectionFill(), 1, 1);
}

void NWDateRowView::drawSeparatorInRect(QPainter& painter, const QRect&)
{
    static const QGradientStops separator
        = TableRowDrawing::fade(QColor::fromRgbF(0.8f, 0.8f, 0.8f, 0.5f), 0.5, 0.5);
    TableRowDrawing::fillHorizontal(painter, separatorRect(), separator);
}
