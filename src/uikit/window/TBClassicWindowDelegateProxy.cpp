#include "uikit/window/TBClassicWindowDelegateProxy.h"

#include "uikit/window/TBClassicWindow.h"

#define TB_FORWARD(call)                                                                                     \
    if (TBWindowDelegate* d = m_secondaryDelegate.get())                                                   \
    d->call

void TBClassicWindowDelegateProxy::windowDidResize(QWidget* w)
{
    TB_FORWARD(windowDidResize(w));
}

void TBClassicWindowDelegateProxy::windowDidMove(QWidget* w)
{
    TB_FORWARD(windowDidMove(w));
}

void TBClassicWindowDelegateProxy::windowDidBecomeKey(QWidget* w)
{
    TB_FORWARD(windowDidBecomeKey(w));
}

void TBClassicWindowDelegateProxy::windowDidResignKey(QWidget* w)
{
    TB_FORWARD(windowDidResignKey(w));
}

void TBClassicWindowDelegateProxy::windowDidMiniaturize(QWidget* w)
{
    TB_FORWARD(windowDidMiniaturize(w));
}

void TBClassicWindowDelegateProxy::windowWillEnterFullScreen(QWidget* w)
{
    TB_FORWARD(windowWillEnterFullScreen(w));
}

void TBClassicWindowDelegateProxy::windowWillExitFullScreen(QWidget* w)
{
    TB_FORWARD(windowWillExitFullScreen(w));
}

void TBClassicWindowDelegateProxy::windowDidExitFullScreen(QWidget* w)
{
    TB_FORWARD(windowDidExitFullScreen(w));
}

void TBClassicWindowDelegateProxy::windowWillClose(QWidget* w)
{
    TB_FORWARD(windowWillClose(w));
}

#undef TB_FORWARD

bool TBClassicWindowDelegateProxy::windowShouldClose(QWidget* w)
{
    TBWindowDelegate* d = m_secondaryDelegate.get();
    return d ? d->windowShouldClose(w) : true;
}

std::optional<QRectF> TBClassicWindowDelegateProxy::windowWillPositionSheet(
    QWidget* w, QWidget* sheet, const QRectF& rect)
{
    if (TBWindowDelegate* d = m_secondaryDelegate.get()) {
        if (auto placed = d->windowWillPositionSheet(w, sheet, rect))
            return placed;
    }
    QRectF placed = rect;
    placed.moveTop(m_window->height() - m_window->titleBarHeight() - m_window->toolbarHeight());
    return placed;
}
