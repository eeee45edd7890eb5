#include "uikit/window/TBClassicWindowContentView.h"

#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBGeometry.h"

#include <QEvent>
#include <QWidget>

TBClassicWindowContentView::TBClassicWindowContentView(TBClassicWindow* window, QWidget* view)
    : QObject(window), m_window(window), m_view(view)
{
    view->installEventFilter(this);
}

TBClassicWindowContentView::~TBClassicWindowContentView()
{
    if (m_view)
        m_view->removeEventFilter(this);
}

QWidget* TBClassicWindowContentView::view() const
{
    return m_view;
}

bool TBClassicWindowContentView::eventFilter(QObject* watched, QEvent* event)
{
    if (m_view && watched == m_view && !m_correcting
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        m_correcting = true;
        const QRectF wanted = m_window->computedContentFrame();
        if (TBGeometry::frame(m_view, m_window) != wanted)
            TBGeometry::setFrame(m_view, wanted, m_window);
        m_correcting = false;
    }
    return false;
}
