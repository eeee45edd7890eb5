#pragma once

#include <QList>

class QWindow;

/// What the window system says about the program's windows. On an X server it is asked;
/// elsewhere (Wayland, the offscreen platform of tests) the platform manages the windows.
namespace TBWindowSystem {

/// Whether a window manager runs: one that maximises, stacks a window's panels above it and
/// hands the keyboard on. False on an X server without one; true off X.
bool windowManagerRunning();

/// `windows` from the bottom of the stack up, as the server stacks them (a window manager's
/// frames included), those it does not know first; unchanged off X.
QList<QWindow*> bottomToTop(const QList<QWindow*>& windows);

/// Gives `window` (shown) the keyboard, also when another program took it since this one last
/// heard from the server, as when it is asked to come forward through a socket.
void activate(QWindow* window);

} // namespace TBWindowSystem
