#pragma once

#include <QList>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

class PrintLayout;
class QPrinter;

namespace mervane::test {

/// The paper the reports start from, as the application's shared printer has it: the default
/// printer's, else the locale's.
QPageSize reportPaper();
/// The printable area of a portrait `reportPaper()` inside the shell's margins, in points, as
/// the reports lay it out.
QSizeF reportPage();
/// A printer that writes the PDF file `path` on `reportPaper()` with the margins the shell sets
/// for reports (top 30, bottom 40, left and right 18 points).
std::unique_ptr<QPrinter> reportPrinter(const QString& path);
/// Whether `printed` is `expected` to within a rounding of the PDF's numbers.
bool samePaperSize(const QSizeF& printed, const QSizeF& expected);

/// A PDF read back with poppler's tools.
class PrintedPdf {
public:
    explicit PrintedPdf(QString path);

    /// pdfinfo's page count; 0 when the file is no PDF.
    int pageCount() const;
    /// pdfinfo's page size in points.
    QSizeF pageSize() const;
    /// The text of page `page` (from 1), or of every page when 0; `mode` is "-layout" or "-raw".
    QString text(int page = 0, const QString& mode = QStringLiteral("-raw")) const;

    struct Word {
        int page = 0;
        QRectF box;
        QString text;
    };
    /// Every word with its box in points from the page's top left (pdftotext -bbox).
    QList<Word> words() const;

private:
    QString m_path;
};

/// The texts of `layout` that print over one another: pairs on one page and one line whose
/// extents as drawn in their rectangles overlap, each as "first | second".
QStringList overprintedTexts(const PrintLayout& layout);
/// The same for the words of a printed PDF.
QStringList overprintedWords(const QList<PrintedPdf::Word>& words);
/// Whether `shown` is `full` whole, or its start of at least `head` characters and an "…".
bool showsTheStartOf(const QString& shown, const QString& full, qsizetype head = 4);
/// The `amounts` (their first 40 characters) that no printed word shows the start of.
QStringList amountsWithoutTheirStart(const QList<PrintedPdf::Word>& words, const QStringList& amounts);

} // namespace mervane::test
