#include "uikit/controls/rows/DVGenericTableRowView.h"

#include "uikit/controls/rows/TableRowDrawing.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"

#include <QEvent>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

DVGenericTableRowView::DVGenericTableRowView(QWidget* parent) : TableRowView(parent)
{
    setColors();
}

QColor DVGenericTableRowView::namedRowColor(const QString& name, bool dark)
{
    const QColor named = platform::namedColor(name, dark);
    if (named.isValid())
        return named;
    // In dark the glow and the selection lighten the row under grey descriptions: kept
    // faint enough that they still read at 4.5:1 on a selected row under the mouse.
    if (name == u"RowTracking"_s)
        return dark ? QColor::fromRgbF(0.4f, 0.36f, 0.16f, 0.2f)
                    : QColor::fromRgbF(0.99f, 0.99f, 0.8f, 0.55f);
    if (name == u"RowSelectedStroke"_s)
        return dark ? QColor::fromRgbF(0.4f, 0.4f, 0.42f, 1.0f) : QColor::fromRgbF(0.65f, 0.65f, 0.65f, 1.0f);
    if (name == u"RowSelectedBg"_s)
        return dark ? QColor::fromRgbF(0.35f, 0.35f, 0.37f, 0.35f)
                    : QColor::fromRgbF(0.82f, 0.82f, 0.82f, 0.3f);
    return {};
}

void DVGenericTableRowView::setColors()
{
    m_customColors = 0;
    m_selectionBorderAlpha = 1.0f;
    applyDefaultColors();
    m_selectionBorderWidth = 2.0f;
    m_selectionBorderRadius = 1.0f;
}

void DVGenericTableRowView::applyDefaultColors()
{
    const bool dark = platform::isDarkPalette(palette());
    if (!(m_customColors & TrackingColor))
        m_rowTrackingBgColor = namedRowColor(u"RowTracking"_s, dark);
    if (!(m_customColors & StrokeColor)) {
        m_selectionStrokeColor = namedRowColor(u"RowSelectedStroke"_s, dark);
        m_selectionStrokeColor.setAlphaF(m_selectionBorderAlpha);
    }
    if (!(m_customColors & FillColor))
        m_selectionFillColor = namedRowColor(u"RowSelectedBg"_s, dark);
}

void DVGenericTableRowView::changeEvent(QEvent* event)
{
    TableRowView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyDefaultColors();
        update();
    }
}

void DVGenericTableRowView::drawBackgroundInRect(QPainter& painter, const QRect& dirty)
{
    TableRowView::drawBackgroundInRect(painter, dirty);
    if (!mouseInside())
        return;
    // Locations 0, 1, 0, 1 as the rows have always been given them: a repeated
    // location keeps its last colour, so the glow is full on the left and fades right.
    QColor clear = m_rowTrackingBgColor;
    clear.setAlphaF(0);
    TableRowDrawing::fillHorizontal(painter, rect(),
        { { 0.0, clear }, { 1.0, m_rowTrackingBgColor }, { 0.0, m_rowTrackingBgColor }, { 1.0, clear } });
}

void DVGenericTableRowView::drawSelectionInRect(QPainter& painter, const QRect&)
{
    drawSelectionShape(painter, m_selectionStrokeColor, m_selectionFillColor, m_selectionBorderRadius,
        m_selectionBorderWidth);
}

void DVGenericTableRowView::drawSeparatorInRect(QPainter&, const QRect&)
{
}
