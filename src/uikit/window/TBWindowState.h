#pragma once

#include <QRect>
#include <Qt>

class QWidget;

/// Window-state changes as the window kit reports them.
namespace TBWindowState {

struct Transitions {
    bool miniaturized = false;
    bool enteredFullScreen = false;
    bool exitedFullScreen = false;
};

/// What happened between two states of a window.
Transitions between(Qt::WindowStates before, Qt::WindowStates now);
/// Maximises a window, or brings a maximised one back to its normal size and place; without a
/// window manager by filling the screen's available area itself.
void toggleZoom(QWidget* window);
/// Whether the window is maximised, also by `toggleZoom` without a window manager.
bool isZoomed(const QWidget* window);
/// The frame of a window in its normal state, to keep for the next start: its frame from
/// before it was maximised (also by `toggleZoom` without a window manager), made full screen
/// or minimised, else its present frame.
QRect normalFrame(const QWidget* window);
void toggleFullScreen(QWidget* window);

} // namespace TBWindowState
