#include "reports/print/PrintLayout.h"

#include "reports/print/ReportText.h"

#include <QFontMetricsF>

#include <algorithm>

PrintLayout::PrintLayout(const QSizeF& pageSize) : m_pageSize(pageSize)
{
}

void PrintLayout::usePage(int page)
{
    m_pageCount = std::max(m_pageCount, page + 1);
}

void PrintLayout::addText(
    int page, const QRectF& rect, const QString& text, const QFont& font, const QColor& color, int flags)
{
    usePage(page);
    m_texts.append(Text { page, rect, text, font, color, flags });
}

void PrintLayout::addCell(
    int page, const QRectF& rect, const QString& text, const QFont& font, const QColor& color, int flags)
{
    const reporttext::FittedText fitted = reporttext::fitToWidth(text, font, rect.width());
    // A text set smaller stands on the line the others of its row stand on.
    const qreal lower = QFontMetricsF(font).ascent() - QFontMetricsF(fitted.font).ascent();
    addText(page, rect.adjusted(0, lower, 0, 0), fitted.text, fitted.font, color, flags);
}

void PrintLayout::addLine(int page, const QLineF& line, qreal width, const QColor& color)
{
    usePage(page);
    m_lines.append(Line { page, line, width, color });
}
