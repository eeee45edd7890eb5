#include "uikit/overlay/MOOverlayView.h"

#include "uikit/overlay/MOModalOverlay.h"

#include <QMouseEvent>
#include <QPainter>

MOOverlayView::MOOverlayView(QWidget* parent) : QWidget(parent)
{
}

void MOOverlayView::setBackgroundColor(const QColor& color)
{
    if (color == m_backgroundColor)
        return;
    m_backgroundColor = color;
    update();
}

void MOOverlayView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(event->rect(), m_backgroundColor);
}

void MOOverlayView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void MOOverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (m_modalOverlay && m_modalOverlay->shouldCloseWhenClickOnBackground())
        m_modalOverlay->performClose();
}

MOModalOverlayView::MOModalOverlayView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
}

void MOModalOverlayView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, 0.2f), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), 4, 4);
}

// Nothing behind the overlay may be reached: input that no child took stops here.
void MOModalOverlayView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void MOModalOverlayView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void MOModalOverlayView::wheelEvent(QWheelEvent* event)
{
    event->accept();
}
