#include "uikit/window/TBMovableByBackgroundContainerView.h"

#include "uikit/window/TBClassicWindow.h"

#include <QMouseEvent>

TBMovableByBackgroundContainerView::TBMovableByBackgroundContainerView(QWidget* parent) : QWidget(parent)
{
    m_drag.setThreshold(1);
}

void TBMovableByBackgroundContainerView::mouseDown(const QPoint& globalPos)
{
    QWidget* top = window();
    if (top->isFullScreen())
        return;
    const auto* classic = qobject_cast<TBClassicWindow*>(top);
    const bool systemWay = classic && classic->isMovableByWindowBackground();
    m_drag.begin(top, globalPos, systemWay);
}

void TBMovableByBackgroundContainerView::mouseDragged(const QPoint& globalPos)
{
    m_drag.moveTo(globalPos);
}

void TBMovableByBackgroundContainerView::mouseUp()
{
    m_drag.end();
}

void TBMovableByBackgroundContainerView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        mouseDown(event->globalPosition().toPoint());
}

void TBMovableByBackgroundContainerView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        mouseDragged(event->globalPosition().toPoint());
}

void TBMovableByBackgroundContainerView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        mouseUp();
}
