#include "uikit/overlay/POSpinnerProgressView.h"

#include <QPaintEvent>
#include <QPainter>

POSpinnerProgressView::POSpinnerProgressView(QWidget* parent) : QProgressBar(parent)
{
    QPalette muted = palette();
    muted.setColor(QPalette::Highlight, QColor(0x80, 0x80, 0x80));
    setPalette(muted);
}

void POSpinnerProgressView::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_SoftLight);
        painter.fillRect(event->rect(), Qt::white);
    }
    QProgressBar::paintEvent(event);
}
