#include "uikit/popover/PKPopoverWindowFrame.h"

#include "uikit/popover/PopoverGeometry.h"
#include "uikit/popover/PopoverLimits.h"

#include <QEvent>
#include <QPainter>

PKPopoverWindowFrame::PKPopoverWindowFrame(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

QColor PKPopoverWindowFrame::color() const
{
    return m_paletteColor ? m_paletteColor(palette()) : m_color;
}

void PKPopoverWindowFrame::setColor(const QColor& color)
{
    m_paletteColor = nullptr;
    m_color = color;
    update();
}

void PKPopoverWindowFrame::setColor(PaletteColor color)
{
    m_paletteColor = std::move(color);
    update();
}

QColor PKPopoverWindowFrame::borderColor() const
{
    return m_paletteBorderColor ? m_paletteBorderColor(palette()) : m_borderColor;
}

void PKPopoverWindowFrame::setBorderColor(const QColor& color)
{
    m_paletteBorderColor = nullptr;
    m_borderColor = color;
    update();
}

void PKPopoverWindowFrame::setBorderColor(PaletteColor color)
{
    m_paletteBorderColor = std::move(color);
    update();
}

void PKPopoverWindowFrame::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        update();
}

void PKPopoverWindowFrame::setBorderWidth(qreal width)
{
    width = PopoverLimits::decoration(width);
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setCornerRadius(qreal radius)
{
    radius = PopoverLimits::decoration(radius);
    if (radius == m_cornerRadius)
        return;
    m_cornerRadius = radius;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setArrowDirection(PKPopoverGeometry::ArrowDirection direction)
{
    if (direction > PKPopoverGeometry::ArrowDirection::Down)
        return;
    if (direction == m_arrowDirection)
        return;
    m_arrowDirection = direction;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setArrowSize(const QSizeF& requested)
{
    const QSizeF size = PopoverLimits::decoration(requested);
    if (size == m_arrowSize)
        return;
    m_arrowSize = size;
    update();
    Q_EMIT outlineChanged();
}

void PKPopoverWindowFrame::setArrowOffset(qreal offset)
{
    offset = platform::saneCoordinate(offset);
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
    const QColor fill = color();
    const QColor border = borderColor();
    if (fill.isValid())
        painter.fillPath(path, fill);
    if (m_borderWidth > 0 && border.isValid()) {
        QPen pen(border, m_borderWidth);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
    if (m_topHighlightColor.isValid()) {
        for (const QRectF& line : PKPopoverGeometry::topHighlightRects(
                 bounds, m_borderWidth, m_cornerRadius, m_arrowSize, m_arrowDirection, m_arrowOffset))
            painter.fillRect(line, m_topHighlightColor);
    }
}
