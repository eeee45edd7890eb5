#include "uikit/window/TBWindowState.h"

#include "uikit/window/TBWindowSystem.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <optional>

namespace TBWindowState {

Transitions between(Qt::WindowStates before, Qt::WindowStates now)
{
    Transitions result;
    result.miniaturized = (now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized);
    result.enteredFullScreen = (now & Qt::WindowFullScreen) && !(before & Qt::WindowFullScreen);
    result.exitedFullScreen = !(now & Qt::WindowFullScreen) && (before & Qt::WindowFullScreen);
    return result;
}

namespace {

// Without a window manager: the frame of a window from before it took the screen's available
// area.
constexpr char normalFrameProperty[] = "TBWindowState.normalFrame";

std::optional<QRect> zoomedFrom(const QWidget* window)
{
    const QRect normal = window->property(normalFrameProperty).toRect();
    const QScreen* screen = window->screen();
    if (!normal.isValid() || !screen || window->geometry() != screen->availableGeometry())
        return std::nullopt;
    return normal;
}

} // namespace

void toggleZoom(QWidget* window)
{
    if (TBWindowSystem::windowManagerRunning()) {
        if (window->isMaximized())
            window->showNormal();
        else
            window->showMaximized();
        return;
    }
    // Without a window manager a maximised state is only asked for, never applied (and Qt
    // drops it again): the window takes the area itself and keeps the frame to go back to.
    if (const std::optional<QRect> normal = zoomedFrom(window)) {
        window->setProperty(normalFrameProperty, QVariant());
        window->setGeometry(*normal);
    } else if (const QScreen* screen = window->screen()) {
        window->setProperty(normalFrameProperty, window->geometry());
        window->setGeometry(screen->availableGeometry());
    }
}

bool isZoomed(const QWidget* window)
{
    return window->isMaximized() || zoomedFrom(window).has_value();
}

QRect normalFrame(const QWidget* window)
{
    if (const std::optional<QRect> normal = zoomedFrom(window))
        return *normal;
    if ((window->isMaximized() || window->isFullScreen() || window->isMinimized())
        && window->normalGeometry().isValid())
        return window->normalGeometry();
    return window->geometry();
}

void toggleFullScreen(QWidget* window)
{
    if (window->isFullScreen())
        window->showNormal();
    else
        window->showFullScreen();
}

} // namespace TBWindowState
