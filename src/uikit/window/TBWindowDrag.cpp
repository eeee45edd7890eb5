#include "uikit/window/TBWindowDrag.h"

#include <QApplication>
#include <QWindow>

void TBWindowDrag::begin(QWidget* window, const QPoint& globalPos, bool trySystemMove)
{
    end();
    m_window = window;
    m_pressGlobal = globalPos;
    m_lastGlobal = globalPos;
    m_systemMovePending = window && trySystemMove;
}

void TBWindowDrag::moveTo(const QPoint& globalPos)
{
    if (!m_window)
        return;
    if (m_systemMovePending) {
        // Not on the press: a window manager that takes the move over takes the pointer with
        // it, and the second click of a double click would never reach the bar.
        if ((globalPos - m_pressGlobal).manhattanLength() < QApplication::startDragDistance())
            return;
        m_systemMovePending = false;
        // The window catches up with the mouse first; the window system goes on from there.
        m_window->move(m_window->pos() + (globalPos - m_lastGlobal));
        m_lastGlobal = globalPos;
        if (m_window->windowHandle() && m_window->windowHandle()->startSystemMove())
            end();
        return;
    }
    const QPoint movement = globalPos - m_lastGlobal;
    m_lastGlobal = globalPos;
    if (auto offset = m_accumulator.add(QPointF(movement)))
        m_window->move(m_window->pos() + offset->toPoint());
}

void TBWindowDrag::end()
{
    m_window = nullptr;
    m_systemMovePending = false;
    m_accumulator = TBGeometry::DragAccumulator(m_accumulator.threshold());
}
