#pragma once

#include "uikit/window/TBWindowDrag.h"

#include <QSize>
#include <QWidget>

/// The title strip of a `TBWindow`: holds the window buttons and the caller's title-bar
/// controls, paints the bar (and the title unless hidden), moves the window when dragged
/// and follows the user's double-click setting.
class TBWindowTitleBarView : public QWidget {
    Q_OBJECT
public:
    explicit TBWindowTitleBarView(QWidget* window);

    bool showsTitle() const { return m_showsTitle; }
    void setShowsTitle(bool shows);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_showsTitle = true;
    bool m_doubleClicked = false;
    TBWindowDrag m_drag;
};
