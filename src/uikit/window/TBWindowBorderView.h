#pragma once

#include <QColor>
#include <QWidget>

/// The one-pixel outline of a frameless window, so that the window stands out against
/// the windows behind it. Lies over all of the window's other children and lets every
/// mouse event through to them.
class TBWindowBorderView : public QWidget {
    Q_OBJECT
public:
    explicit TBWindowBorderView(QWidget* window);

    /// The separator colour of the appearance laid over the window background: opaque, so
    /// the outline looks the same over any content at the window's edge.
    static QColor color(bool dark);

protected:
    void paintEvent(QPaintEvent* event) override;
};
