#include "uikit/window/TBWindowDelegateProxy.h"

void TBWindowDelegateProxy::windowDidResize(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowDidResize(window); });
}

void TBWindowDelegateProxy::windowDidMove(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowDidMove(window); });
}

void TBWindowDelegateProxy::windowDidBecomeKey(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowDidBecomeKey(window); });
}

void TBWindowDelegateProxy::windowDidResignKey(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowDidResignKey(window); });
}

void TBWindowDelegateProxy::windowDidMiniaturize(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowDidMiniaturize(window); });
}

void TBWindowDelegateProxy::windowWillEnterFullScreen(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowWillEnterFullScreen(window); });
}

void TBWindowDelegateProxy::windowWillExitFullScreen(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowWillExitFullScreen(window); });
}

void TBWindowDelegateProxy::windowDidExitFullScreen(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowDidExitFullScreen(window); });
}

bool TBWindowDelegateProxy::windowShouldClose(QWidget* window)
{
    bool answer = true;
    forward([window, &answer](TBWindowDelegate* d) { answer = d->windowShouldClose(window); });
    return answer;
}

void TBWindowDelegateProxy::windowWillClose(QWidget* window)
{
    forward([window](TBWindowDelegate* d) { d->windowWillClose(window); });
}

std::optional<QRectF> TBWindowDelegateProxy::windowWillPositionSheet(
    QWidget* window, QWidget* sheet, const QRectF& rect)
{
    std::optional<QRectF> answer;
    forward([&](TBWindowDelegate* d) {
        if (auto placed = d->windowWillPositionSheet(window, sheet, rect))
            answer = placed;
    });
    return answer;
}
