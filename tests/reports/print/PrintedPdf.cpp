#include "PrintedPdf.h"

#include "charts/common/PrintSession.h"
#include "reports/print/PagePainter.h"

#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace mervane::test {

namespace {

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

} // namespace mervane::test
