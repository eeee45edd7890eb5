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

constexpr qreal kFooterHeight = 20.0;

void paintFooter(
    QPainter& painter, const QSizeF& page, int pageIndex, int pageCount, const QString& printedAt)
{
    const QFont font = reporttext::font(8, QFont::Thin);
    const QRectF rect(0, page.height() - kFooterHeight + 1, page.width(), kFooterHeight);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, printedAt);
    painter.drawText(rect, Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip,
        platform::Strings::tr("Page %1 of %2").arg(pageIndex + 1).arg(pageCount));
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
    std::vector<std::vector<const PrintLayout::Text*>> texts(static_cast<size_t>(pageCount));
    std::vector<std::vector<const PrintLayout::Line*>> lines(static_cast<size_t>(pageCount));
    for (const PrintLayout::Text& text : layout.texts())
        texts[size_t(text.page)].push_back(&text);
    for (const PrintLayout::Line& line : layout.lines())
        lines[size_t(line.page)].push_back(&line);

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
        painter.setRenderHint(QPainter::Antialiasing);
        for (const PrintLayout::Line* line : lines[size_t(page)]) {
            painter.setPen(QPen(line->color, line->width));
            painter.drawLine(line->line);
        }
        for (const PrintLayout::Text* text : texts[size_t(page)]) {
            painter.setFont(text->font);
            painter.setPen(text->color);
            painter.drawText(text->rect, text->flags, text->text);
        }
        paintFooter(painter, layout.pageSize(), page, pageCount, printedAtText);
        painter.restore();
    }
    return painter.end();
}
