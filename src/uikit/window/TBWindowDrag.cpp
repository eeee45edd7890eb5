#include "uikit/window/TBWindowDrag.h"

#include <QWindow>

bool TBWindowDrag::begin(QWidget* window, const QPoint& globalPos, bool trySystemMove)
{
    end();
    if (!window)
        return false;
    if (trySystemMove && window->windowHandle() && window->windowHandle()->startSystemMove())
        return true;
    m_window = window;
    m_lastGlobal = globalPos;
    return false;
}

void TBWindowDrag::moveTo(const QPoint& globalPos)
{
    if (!m_window)
        return;
    const QPoint movement = globalPos - m_lastGlobal;
    m_lastGlobal = globalPos;
    if (auto offset = m_accumulator.add(QPointF(movement)))
        m_window->move(m_window->pos() + offset->toPoint());
}

void TBWindowDrag::end()
{
    m_window = nullptr;
    m_accumulator = TBGeometry::DragAccumulator(m_accumulator.threshold());
}
