#pragma once

#include <QDateTime>
#include <QSizeF>
#include <QString>

class PrintLayout;
class QPainter;
class QPrinter;

/// Paints a laid-out report on a printer, one printer page per layout page, each with its
/// footer: the print date and time on the left, "Page k of N" on the right.
class PagePainter {
public:
    PagePainter() = delete;

    /// The printer's printable area in points, the page height truncated to whole points.
    static QSizeF pageSize(const QPrinter& printer);
    /// False when the printer could not start (an unwritable file, for one); then nothing
    /// was printed.
    static bool paint(QPrinter& printer, const PrintLayout& layout, const QDateTime& printedAt);
    /// Paints page `page` of `layout` with its footer; `painter` draws in points from the top
    /// left of the page's printable area. `printedAt` is the footer's text of the print time.
    static void paintPage(QPainter& painter, const PrintLayout& layout, int page, const QString& printedAt);
};
