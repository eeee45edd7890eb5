#include "reports/print/PagePainter.h"

#include "platform/Strings.h"
#include "reports/print/PrintLayout.h"
#include "reports/print/ReportText.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <cmath>
#include <vector>

namespace {

void paintFooter(
    QPainter& painter, const QSizeF& page, int pageIndex, int pageCount, const QString& printedAt)
{
    const QFont font = reporttext::font(8, QFont::Thin);
    const QRectF rect(0, page.height() - PrintLayout::footerHeight, page.width(), PrintLayout::footerHeight);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, printedAt);
    painter.drawText(rect, Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip,
        platform::Strings::tr("Page %1 of %2").arg(pageIndex + 1).arg(pageCount));
}

struct PageContent {
    std::vector<const PrintLayout::Text*> texts;
    std::vector<const PrintLayout::Line*> lines;
};

void paintContent(QPainter& painter, const PrintLayout& layout, const PageContent& content, int page,
    const QString& printedAt)
{
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PrintLayout::Line* line : content.lines) {
        painter.setPen(QPen(line->color, line->width));
        painter.drawLine(line->line);
    }
    for (const PrintLayout::Text* text : content.texts) {
        painter.setFont(text->font);
        painter.setPen(text->color);
        painter.drawText(text->rect, text->flags, text->text);
    }
    paintFooter(painter, layout.pageSize(), page, layout.pageCount(), printedAt);
}

} // namespace

QSizeF PagePainter::pageSize(const QPrinter& printer)
{
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
    return QSizeF(printable.width(), std::trunc(printable.height()));
}

bool PagePainter::paint(QPrinter& printer, const PrintLayout& layout, const QDateTime& printedAt)
{
    const int pageCount = layout.pageCount();
    std::vector<PageContent> pages(static_cast<size_t>(pageCount));
    for (const PrintLayout::Text& text : layout.texts())
        pages[size_t(text.page)].texts.push_back(&text);
    for (const PrintLayout::Line& line : layout.lines())
        pages[size_t(line.page)].lines.push_back(&line);

    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QString printedAtText = reporttext::mediumDateTime(printedAt);
    // The painter starts at the top left of the printable area, in device pixels; the layout
    // is in points.
    const qreal scale = printer.resolution() / 72.0;
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        painter.save();
        painter.scale(scale, scale);
        paintContent(painter, layout, pages[size_t(page)], page, printedAtText);
        painter.restore();
    }
    return painter.end();
}

void PagePainter::paintPage(QPainter& painter, const PrintLayout& layout, int page, const QString& printedAt)
{
    PageContent content;
    for (const PrintLayout::Text& text : layout.texts()) {
        if (text.page == page)
            content.texts.push_back(&text);
    }
    for (const PrintLayout::Line& line : layout.lines()) {
        if (line.page == page)
            content.lines.push_back(&line);
    }
    painter.save();
    paintContent(painter, layout, content, page, printedAt);
    painter.restore();
}
