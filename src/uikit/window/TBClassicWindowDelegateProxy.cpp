#include "uikit/window/TBClassicWindowDelegateProxy.h"

#include "uikit/window/TBClassicWindow.h"

std::optional<QRectF> TBClassicWindowDelegateProxy::windowWillPositionSheet(
    QWidget* w, QWidget* sheet, const QRectF& rect)
{
    if (auto placed = TBWindowDelegateProxy::windowWillPositionSheet(w, sheet, rect))
        return placed;
    QRectF placed = rect;
    placed.moveTop(m_window->height() - m_window->titleBarHeight() - m_window->toolbarHeight());
    return placed;
}
