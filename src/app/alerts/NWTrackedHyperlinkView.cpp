#include "app/alerts/NWTrackedHyperlinkView.h"

#include <QMouseEvent>

NWTrackedHyperlinkView::NWTrackedHyperlinkView(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void NWTrackedHyperlinkView::mouseMoveEvent(QMouseEvent* event)
{
    if (window()->isActiveWindow())
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    QLabel::mouseMoveEvent(event);
}

void NWTrackedHyperlinkView::leaveEvent(QEvent* event)
{
    unsetCursor();
    QLabel::leaveEvent(event);
}
