#include "platform/YUpGeometry.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

int screenFlipHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect g = screen->geometry();
    return g.y() + g.height();
}

} // namespace platform
