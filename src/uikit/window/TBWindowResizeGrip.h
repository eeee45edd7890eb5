#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

/// An invisible strip along an edge or corner of a frameless window that resizes it.
/// The window system resizes when it can; otherwise the window is resized by hand.
class TBWindowResizeGrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kThickness = 5;

    TBWindowResizeGrip(Qt::Edges edges, QWidget* window);
    Qt::Edges edges() const { return m_edges; }
    /// Places the grip along its edges of the window's current rectangle.
    void place();

    /// The window geometry after dragging `edges` of `start` by `delta`, never smaller
    /// than `minimum`; the opposite edges stay put.
    static QRect resizedGeometry(
        const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum);

Q_SIGNALS:
    /// A resize by this grip ended (the mouse was released).
    void resizeEnded();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Qt::Edges m_edges;
    bool m_manual = false;
    QPoint m_pressGlobal;
    QRect m_startGeometry;
};
