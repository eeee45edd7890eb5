#pragma once

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
/// Maximises a window, or brings a maximised one back to its normal size.
void toggleZoom(QWidget* window);
void toggleFullScreen(QWidget* window);

} // namespace TBWindowState
