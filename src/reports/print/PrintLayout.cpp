#include "reports/print/PrintLayout.h"

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

void PrintLayout::addLine(int page, const QLineF& line, qreal width, const QColor& color)
{
    usePage(page);
    m_lines.append(Line { page, line, width, color });
}
