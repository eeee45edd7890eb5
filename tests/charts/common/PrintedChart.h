#pragma once

// Printing a chart through the print seam and reading the page back as pixels, so that tests can
// hold the printed chart against the one on screen.
#include "charts/common/NWPrintViewController.h"
#include "charts/common/PrintSession.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace printedchart {

// What every chart screen passes.
inline constexpr int kTop = 40, kBottom = 200, kLeft = 10, kRight = 10;

// The chart as the screen shows it: the host view's own pixels, laid on white paper.
inline QImage onScreen(chart::GraphHostingView& host)
{
    QImage paper(host.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawPixmap(0, 0, host.grab());
    return paper;
}

// The chart printed to `pdf` through the print panel's seam, on a paper chosen in the panel so
// that the area inside the callers' margins has the host's size, then read back at 72 dots per
// inch (one pixel per point, as on screen) and cut to that area. Null when nothing was printed.
inline QImage printed(chart::GraphHostingView& host, const QString& pdf, bool landscape)
{
    const QSizeF paper(host.width() + kLeft + kRight, host.height() + kTop + kBottom);
    PrintSession::setNextOutputFile(pdf, [paper](QPrinter& printer) {
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageSize(QPageSize(paper, QPageSize::Point, QString(), QPageSize::ExactMatch));
    });
    NWPrintViewController::GenericPrint(
        &host, kTop, kBottom, kLeft, kRight, landscape, QStringLiteral("Chart"));
    if (!QFile::exists(pdf))
        return {};
    QProcess pdftoppm;
    const QString prefix = pdf + QStringLiteral("-page");
    pdftoppm.start(QStringLiteral("pdftoppm"),
        { QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
            pdf, prefix });
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    const QImage page(prefix + QStringLiteral(".png"));
    return page.copy(kLeft, kTop, host.width(), host.height()).convertToFormat(QImage::Format_RGB32);
}

// How far `a` is from `b` on average, per colour channel (0 to 255): each pixel of `a` is held
// against the closest of `b`'s pixels within one pixel, so that smoothed edges and text, and
// lines that the PDF reader places a pixel aside, count little. 255 when the sizes differ.
inline double meanDifference(const QImage& a, const QImage& b)
{
    if (a.isNull() || a.size() != b.size())
        return 255.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    const auto oneWay = [](const QImage& from, const QImage& to) {
        double sum = 0;
        for (int row = 0; row < from.height(); ++row) {
            for (int column = 0; column < from.width(); ++column) {
                const QRgb p = from.pixel(column, row);
                int closest = 3 * 255;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (!to.valid(column + dx, row + dy))
                            continue;
                        const QRgb q = to.pixel(column + dx, row + dy);
                        closest = std::min(closest,
                            std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                                + std::abs(qBlue(p) - qBlue(q)));
                    }
                }
                sum += closest;
            }
        }
        return sum / (3.0 * from.width() * from.height());
    };
    return (oneWay(x, y) + oneWay(y, x)) / 2;
}

// The mean colour of the 5 x 5 pixels around `at`.
inline QColor colorAround(const QImage& image, QPoint at)
{
    int red = 0, green = 0, blue = 0, count = 0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (!image.rect().contains(p))
                continue;
            const QRgb pixel = image.pixel(p);
            red += qRed(pixel);
            green += qGreen(pixel);
            blue += qBlue(pixel);
            ++count;
        }
    }
    return count ? QColor(red / count, green / count, blue / count) : QColor();
}

// The largest channel difference of two colours.
inline int colorDistance(const QColor& a, const QColor& b)
{
    return std::max(
        { std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue()) });
}

} // namespace printedchart
