#include "uikit/popover/PKPopoverWindowFrame.h"

#include "uikit/popover/PopoverGeometry.h"

#include <QPainter>

PKPopoverWindowFrame::PKPopoverWindowFrame(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void PKPopoverWindowFrame::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void PKPopoverWindowFrame::setBorderColor(const QColor& color)
{
    if (color == m_borderColor)
        return;
    m_borderColor = color;
    update();
}

void PKPopoverWindowFrame::setBorderWidth(qreal width)
{
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setCornerRadius(qreal radius)
{
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setArrowDirection(PKPopoverGeometry::ArrowDirection direction)
{
    if (direction == m_arrowDirection)
        return;
    m_arrowDirection = direction;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setArrowSize(const QSizeF& size)
{
    if (size == m_arrowSize)
        return;
    m_arrowSize = size;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setArrowOffset(qreal offset)
{
    if (offset == m_arrowOffset)
        return;
    m_arrowOffset = offset;
    update();
    Q_EMIT outlineChanged();
}

QPainterPath PKPopoverWindowFrame::outlinePath() const
{
    return PKPopoverGeometry::outline(
        PKPopoverGeometry::outlineBounds(QRectF(0, 0, width(), height()), m_borderWidth), m_cornerRadius,
        m_arrowSize, m_arrowDirection, m_arrowOffset);
}

void PKPopoverWindowFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outline is built y-up; flip once here.
    painter.setTransform(QTransform(1, 0, 0, -1, 0, height()));
    const QRectF bounds(0, 0, width(), height());
    const QPainterPath path = outlinePath();
    if (m_color.isValid())
        painter.fillPath(path, m_color);
    if (m_borderWidth > 0 && m_borderColor.isValid()) {
        QPen pen(m_borderColor, m_borderWidth);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
    if (m_topHighlightColor.isValid()) {
        for (const QRectF& line : PKPopoverGeometry::topHighlightRects(
                 bounds, m_borderWidth, m_cornerRadius, m_arrowSize, m_arrowDirection, m_arrowOffset))
            painter.fillRect(line, m_topHighlightColor);
    }
}
