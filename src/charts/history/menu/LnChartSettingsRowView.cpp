#include "charts/history/menu/LnChartSettingsRowView.h"

#include "platform/Appearance.h"
#include "uikit/controls/rows/TableRowDrawing.h"

#include <QPainter>

LnChartSettingsRowView::LnChartSettingsRowView(QWidget* parent) : TableRowView(parent)
{
}

QColor LnChartSettingsRowView::hoverColor(bool dark)
{
    return dark ? QColor::fromRgbF(0.55f, 0.5f, 0.25f, 0.35f) : QColor::fromRgbF(0.99f, 0.99f, 0.8f, 0.35f);
}

void LnChartSettingsRowView::drawBackgroundInRect(QPainter& painter, const QRect& dirty)
{
    TableRowView::drawBackgroundInRect(painter, dirty);
    if (mouseInside())
        TableRowDrawing::fillHorizontal(
            painter, rect(), TableRowDrawing::fade(hoverColor(platform::isDarkAppearance()), 0.35, 0.65));
}

void LnChartSettingsRowView::drawSelectionInRect(QPainter& painter, const QRect&)
{
    drawSelectionShape(painter, QColor::fromRgbF(0.65f, 0.65f, 0.65f, 0.01f),
        QColor::fromRgbF(0.82f, 0.82f, 0.82f, 0.3f), 1.0, 1.0);
}
