#include "uikit/controls/rows/TableRowView.h"

#include "uikit/controls/rows/TableRowDrawing.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

TableRowView::TableRowView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
}

void TableRowView::setMouseInside(bool inside)
{
    if (inside == m_mouseInside)
        return;
    m_mouseInside = inside;
    update();
}

void TableRowView::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void TableRowView::setSelectionHighlightStyle(SelectionHighlightStyle style)
{
    m_selectionHighlightStyle = style;
    update();
}

void TableRowView::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    update();
}

QRect TableRowView::separatorRect() const
{
    return QRect(0, height() - 1, width(), 1);
}

void TableRowView::drawBackgroundInRect(QPainter& painter, const QRect&)
{
    if (m_backgroundColor.isValid())
        painter.fillRect(rect(), m_backgroundColor);
}

void TableRowView::drawSelectionInRect(QPainter&, const QRect&)
{
}

void TableRowView::drawSeparatorInRect(QPainter& painter, const QRect&)
{
    DrawSeparatorInRect(painter, separatorRect());
}

void TableRowView::drawSelectionShape(
    QPainter& painter, const QColor& stroke, const QColor& fill, qreal radius, qreal lineWidth)
{
    if (m_selectionHighlightStyle == SelectionHighlightStyle::None)
        return;
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), radius, radius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, fill);
    painter.strokePath(path, QPen(stroke, lineWidth));
    painter.restore();
}

void TableRowView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    drawBackgroundInRect(painter, event->rect());
    if (m_selected)
        drawSelectionInRect(painter, event->rect());
    drawSeparatorInRect(painter, event->rect());
}

void TableRowView::enterEvent(QEnterEvent*)
{
    setMouseInside(true);
}

void TableRowView::leaveEvent(QEvent*)
{
    setMouseInside(false);
}

void TableRowView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT pressed();
    QWidget::mousePressEvent(event);
}

void TableRowView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}
