#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

/// Where every piece of a printed report goes, decided once before anything is drawn: each
/// text and line belongs to one page and stands at a position in that page's printable area
/// (points, origin at its top left, y down). Painting follows it exactly, so the page count
/// the footers name is the number of pages printed.
class PrintLayout {
public:
    struct Text {
        int page = 0;
        QRectF rect;
        QString text;
        QFont font;
        QColor color;
        /// Qt::AlignmentFlag and Qt::TextFlag values.
        int flags = 0;
    };
    struct Line {
        int page = 0;
        QLineF line;
        qreal width = 1.0;
        QColor color;
    };

    /// Every page's footer fills its last `footerHeight` points (`PagePainter` draws it).
    static constexpr qreal footerHeight = 19.0;
    /// The rows of a page end at least this far above its footer, so that the two stand apart.
    static constexpr qreal footerGap = 4.0;
    /// The lowest that a row may reach on a page `pageHeight` points high.
    static constexpr qreal bodyBottom(qreal pageHeight) { return pageHeight - footerHeight - footerGap; }

    /// `pageSize`: the printable area of one page, in points.
    explicit PrintLayout(const QSizeF& pageSize);

    const QSizeF& pageSize() const { return m_pageSize; }
    /// Pages that hold something, and at least one.
    int pageCount() const { return m_pageCount; }
    /// Makes sure page `page` is printed even when nothing is placed on it.
    void usePage(int page);

    void addText(int page, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
        int flags = 0);
    /// Adds a cell of a column, such as an amount: its text on one line within `rect`'s width
    /// (`reporttext::fitToWidth`), so that it keeps its first characters and stays clear of
    /// the cells beside it.
    void addCell(int page, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
        int flags = 0);
    void addLine(int page, const QLineF& line, qreal width, const QColor& color);

    const QList<Text>& texts() const { return m_texts; }
    const QList<Line>& lines() const { return m_lines; }

private:
    QSizeF m_pageSize;
    int m_pageCount = 1;
    QList<Text> m_texts;
    QList<Line> m_lines;
};
