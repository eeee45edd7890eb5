#pragma once

#include "uikit/window/TBWindowDrag.h"

#include <QWidget>

/// The container of a classic window's bar. Dragging it (or the bar inside it) moves the
/// window: the window system's way when the window is movable by its background, else by
/// hand in steps of at least `mouseDragDetectionThreshold` points. Nothing moves in full screen.
class TBMovableByBackgroundContainerView : public QWidget {
    Q_OBJECT
public:
    explicit TBMovableByBackgroundContainerView(QWidget* parent = nullptr);

    double mouseDragDetectionThreshold() const { return m_drag.threshold(); }
    void setMouseDragDetectionThreshold(double threshold) { m_drag.setThreshold(threshold); }

    /// The bar views hand their mouse events here.
    void mouseDown(const QPoint& globalPos);
    void mouseDragged(const QPoint& globalPos);
    void mouseUp();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TBWindowDrag m_drag;
};
