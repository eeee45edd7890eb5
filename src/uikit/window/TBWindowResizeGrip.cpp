#include "uikit/window/TBWindowResizeGrip.h"

#include <QMouseEvent>
#include <QWindow>

namespace {

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool mainDiagonal
            = (edges == (Qt::TopEdge | Qt::LeftEdge)) || (edges == (Qt::BottomEdge | Qt::RightEdge));
        return mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    return horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

} // namespace

TBWindowResizeGrip::TBWindowResizeGrip(Qt::Edges edges, QWidget* window) : QWidget(window), m_edges(edges)
{
    setCursor(cursorFor(edges));
    setAttribute(Qt::WA_NoSystemBackground);
}

void TBWindowResizeGrip::place()
{
    const QWidget* window = parentWidget();
    if (!window)
        return;
    const int w = window->width();
    const int h = window->height();
    const int t = kThickness;
    const int x = (m_edges & Qt::LeftEdge) ? 0 : (m_edges & Qt::RightEdge) ? w - t : t;
    const int y = (m_edges & Qt::TopEdge) ? 0 : (m_edges & Qt::BottomEdge) ? h - t : t;
    const int width = (m_edges & (Qt::LeftEdge | Qt::RightEdge)) ? t : w - 2 * t;
    const int height = (m_edges & (Qt::TopEdge | Qt::BottomEdge)) ? t : h - 2 * t;
    setGeometry(x, y, width, height);
    raise();
}

QRect TBWindowResizeGrip::resizedGeometry(
    const QRect& start, Qt::Edges edges, const QPoint& delta, const QSize& minimum)
{
    int left = start.left();
    int top = start.top();
    int right = start.left() + start.width();
    int bottom = start.top() + start.height();
    if (edges & Qt::LeftEdge)
        left = std::min(left + delta.x(), right - minimum.width());
    if (edges & Qt::RightEdge)
        right = std::max(right + delta.x(), left + minimum.width());
    if (edges & Qt::TopEdge)
        top = std::min(top + delta.y(), bottom - minimum.height());
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + delta.y(), top + minimum.height());
    return { left, top, right - left, bottom - top };
}

void TBWindowResizeGrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    QWidget* top = window();
    m_manual = !(top->windowHandle() && top->windowHandle()->startSystemResize(m_edges));
    m_pressGlobal = event->globalPosition().toPoint();
    m_startGeometry = top->geometry();
}

void TBWindowResizeGrip::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_manual || !(event->buttons() & Qt::LeftButton))
        return;
    QWidget* top = window();
    const QSize minimum = top->minimumSize().expandedTo(QSize(2 * kThickness + 1, 2 * kThickness + 1));
    top->setGeometry(resizedGeometry(
        m_startGeometry, m_edges, event->globalPosition().toPoint() - m_pressGlobal, minimum));
}

void TBWindowResizeGrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_manual = false;
    Q_EMIT resizeEnded();
}
