#include "uikit/controls/views/NWColoredView.h"

#include "platform/Resources.h"

#include <QPaintEvent>
#include <QPainter>

NWColoredView::NWColoredView(QWidget* parent) : QWidget(parent)
{
}

void NWColoredView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (m_backgroundColor.isValid())
        painter.fillRect(event->rect(), m_backgroundColor);
    if (m_backgroundImageName.isNull())
        return;
    const QImage pattern = platform::image(m_backgroundImageName);
    if (pattern.isNull())
        return;
    // A texture brush starts its tiles at the painter's origin, which is the view's own
    // top-left corner: the pattern moves with the view, never under it.
    painter.fillRect(rect(), QBrush(pattern));
}
