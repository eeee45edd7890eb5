#include "uikit/window/TBWindowState.h"

#include <QWidget>

namespace TBWindowState {

Transitions between(Qt::WindowStates before, Qt::WindowStates now)
{
    Transitions result;
    result.miniaturized = (now & Qt::WindowMinimized) && !(before & Qt::WindowMinimized);
    result.enteredFullScreen = (now & Qt::WindowFullScreen) && !(before & Qt::WindowFullScreen);
    result.exitedFullScreen = !(now & Qt::WindowFullScreen) && (before & Qt::WindowFullScreen);
    return result;
}

void toggleZoom(QWidget* window)
{
    if (window->isMaximized())
        window->showNormal();
    else
        window->showMaximized();
}

void toggleFullScreen(QWidget* window)
{
    if (window->isFullScreen())
        window->showNormal();
    else
        window->showFullScreen();
}

} // namespace TBWindowState
