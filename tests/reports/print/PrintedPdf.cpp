#include "PrintedPdf.h"

#include "charts/common/PrintSession.h"
#include "reports/print/PagePainter.h"
#include "reports/print/PrintLayout.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace mervane::test {

namespace {

// Whether two boxes stand on one line (they share more than half the lower one's height) and
// overlap along it.
bool overprint(const QRectF& a, const QRectF& b)
{
    const qreal shared = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
    const qreal along = std::min(a.right(), b.right()) - std::max(a.left(), b.left());
    return shared > std::min(a.height(), b.height()) / 2 && along > 0.5;
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QPageSize reportPaper()
{
    return PrintSession::defaultPaper(QLocale());
}

QSizeF reportPage()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(reportPaper());
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(18, 30, 18, 40), QPageLayout::Point);
    return PagePainter::pageSize(printer);
}

bool samePaperSize(const QSizeF& printed, const QSizeF& expected)
{
    return std::abs(printed.width() - expected.width()) < 0.5
        && std::abs(printed.height() - expected.height()) < 0.5;
}

std::unique_ptr<QPrinter> reportPrinter(const QString& path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(reportPaper());
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setPageMargins(QMarginsF(18, 30, 18, 40), QPageLayout::Point);
    return printer;
}

PrintedPdf::PrintedPdf(QString path) : m_path(std::move(path))
{
}

int PrintedPdf::pageCount() const
{
    const QRegularExpressionMatch match
        = QRegularExpression(u"Pages:\\s+(\\d+)"_s).match(run(u"pdfinfo"_s, { m_path }));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QSizeF PrintedPdf::pageSize() const
{
    const QRegularExpressionMatch match = QRegularExpression(u"Page size:\\s+([\\d.]+) x ([\\d.]+) pts"_s)
                                              .match(run(u"pdfinfo"_s, { m_path }));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

QString PrintedPdf::text(int page, const QString& mode) const
{
    QStringList arguments { mode };
    if (page > 0)
        arguments << u"-f"_s << QString::number(page) << u"-l"_s << QString::number(page);
    arguments << m_path << u"-"_s;
    return run(u"pdftotext"_s, arguments);
}

QList<PrintedPdf::Word> PrintedPdf::words() const
{
    QList<Word> result;
    QXmlStreamReader xml(run(u"pdftotext"_s, { u"-bbox"_s, m_path, u"-"_s }));
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"page") {
            ++page;
        } else if (xml.name() == u"word") {
            const auto attributes = xml.attributes();
            const QPointF topLeft(
                attributes.value(u"xMin"_s).toDouble(), attributes.value(u"yMin"_s).toDouble());
            const QPointF bottomRight(
                attributes.value(u"xMax"_s).toDouble(), attributes.value(u"yMax"_s).toDouble());
            result.append(Word { page, QRectF(topLeft, bottomRight), xml.readElementText() });
        }
    }
    return result;
}

QStringList overprintedTexts(const PrintLayout& layout)
{
    QList<PrintedPdf::Word> drawn;
    for (const PrintLayout::Text& text : layout.texts()) {
        QRectF box = QFontMetricsF(text.font).boundingRect(text.rect, text.flags, text.text);
        if (!(text.flags & Qt::TextDontClip))
            box &= text.rect;
        // The line's height is the cell's, whatever size its text is set at.
        drawn.append(
            { text.page, QRectF(box.left(), text.rect.top(), box.width(), text.rect.height()), text.text });
    }
    return overprintedWords(drawn);
}

QStringList overprintedWords(const QList<PrintedPdf::Word>& words)
{
    QStringList found;
    for (qsizetype i = 0; i < words.size(); ++i) {
        for (qsizetype j = i + 1; j < words.size(); ++j) {
            if (words.at(i).page == words.at(j).page && overprint(words.at(i).box, words.at(j).box))
                found << words.at(i).text.left(40) + u" | "_s + words.at(j).text.left(40);
        }
    }
    return found;
}

bool showsTheStartOf(const QString& shown, const QString& full, qsizetype head)
{
    if (shown == full)
        return true;
    return shown.endsWith(u'\u2026') && shown.size() > head && full.startsWith(shown.chopped(1));
}

QStringList amountsWithoutTheirStart(const QList<PrintedPdf::Word>& words, const QStringList& amounts)
{
    QStringList missing;
    for (const QString& amount : amounts) {
        if (std::none_of(words.begin(), words.end(),
                [&amount](const PrintedPdf::Word& word) { return showsTheStartOf(word.text, amount); }))
            missing << amount.left(40);
    }
    return missing;
}

} // namespace mervane::test
