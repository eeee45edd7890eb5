#pragma once

#include "uikit/window/TBGeometry.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

/// Moves a window while the left mouse button is held on one of its bars. Once the mouse
/// has moved, the window system moves it when it can (`QWindow::startSystemMove`);
/// otherwise the window is moved by hand, in steps of at least the threshold.
class TBWindowDrag {
public:
    /// Starts a drag at `globalPos`. With `trySystemMove`, the window system is asked to
    /// take the drag over as soon as the mouse has moved the drag distance.
    void begin(QWidget* window, const QPoint& globalPos, bool trySystemMove);
    /// The mouse is now at `globalPos`; moves the window by hand when the drag is ours.
    void moveTo(const QPoint& globalPos);
    void end();
    bool isActive() const { return m_window != nullptr; }
    void setThreshold(double threshold) { m_accumulator.setThreshold(threshold); }
    double threshold() const { return m_accumulator.threshold(); }

private:
    QPointer<QWidget> m_window;
    QPoint m_pressGlobal;
    QPoint m_lastGlobal;
    bool m_systemMovePending = false;
    TBGeometry::DragAccumulator m_accumulator;
};
