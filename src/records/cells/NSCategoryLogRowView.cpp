#include "records/cells/NSCategoryLogRowView.h"

#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/RowEditing.h"

#include "uikit/controls/rows/TableRowDrawing.h"

#include <QMouseEvent>
#include <QPainter>

#include <optional>

namespace {

std::optional<QColor>& sharedSeparator()
{
    static std::optional<QColor> color;
    return color;
}

} // namespace

NSCategoryLogRowView::NSCategoryLogRowView(QWidget* parent) : TableRowView(parent)
{
}

void NSCategoryLogRowView::setCell(NWCategoryLogCellView* cell)
{
    if (m_cell && m_cell != cell)
        m_cell->deleteLater();
    m_cell = cell;
    if (!cell)
        return;
    cell->setParent(this);
    cell->setGeometry(rect().adjusted(0, 0, 0, -1));
    cell->show();
}

std::optional<QColor> NSCategoryLogRowView::sharedSeparatorColor()
{
    return sharedSeparator();
}

void NSCategoryLogRowView::drawBackgroundInRect(QPainter& painter, const QRect& dirty)
{
    TableRowView::drawBackgroundInRect(painter, dirty);
    if (mouseInside() && m_rowTrackingBgColor.isValid())
        TableRowDrawing::fillHorizontal(painter, rect(), FadeGradientWithColor(m_rowTrackingBgColor));
}

void NSCategoryLogRowView::drawSelectionInRect(QPainter& painter, const QRect&)
{
    drawSelectionShape(painter, m_rectStrokeColor.isValid() ? m_rectStrokeColor : QColor(Qt::transparent),
        m_rectFillColor.isValid() ? m_rectFillColor : QColor(Qt::transparent), 1.0, 1.0);
}

void NSCategoryLogRowView::drawSeparatorInRect(QPainter& painter, const QRect&)
{
    std::optional<QColor>& shared = sharedSeparator();
    if (!shared && m_separatorColor.isValid())
        shared = m_separatorColor;
    if (shared)
        TableRowDrawing::fillHorizontal(painter, separatorRect(), FadeGradientWithColor(*shared));
}

void NSCategoryLogRowView::mousePressEvent(QMouseEvent* event)
{
    TableRowView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        RowEditing::rowViewPressed(this);
}

void NSCategoryLogRowView::resizeEvent(QResizeEvent* event)
{
    TableRowView::resizeEvent(event);
    if (m_cell)
        m_cell->setGeometry(rect().adjusted(0, 0, 0, -1));
}
