#include "charts/common/NWPrintViewController.h"

#include "charts/common/PrintSession.h"
#include "charts/kit/Graph.h"
#include "charts/kit/GraphHostingView.h"
#include "platform/Appearance.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// Pixels per point of the printed picture: the printer's resolution, but no finer than paper
// needs (300 per inch) and no larger than a picture that memory holds with ease.
qreal printScale(int resolution, const QSizeF& size)
{
    constexpr qreal kFinestDotsPerInch = 300.0;
    constexpr qreal kMostPixels = 32.0 * 1024 * 1024;
    qreal scale = std::min<qreal>(resolution, kFinestDotsPerInch) / 72.0;
    const qreal area = size.width() * size.height();
    if (area > 0 && area * scale * scale > kMostPixels)
        scale = std::sqrt(kMostPixels / area);
    return std::max<qreal>(scale, 1.0);
}

// A chart drawn for the dark appearance has light lines and texts over no fill of its own: on
// white paper, or pasted into a white document, they would vanish. Its picture then keeps the
// background it is seen on. A light chart's picture stays clear around the chart, as paper.
QImage onItsBackground(const QImage& picture, const QWidget* host)
{
    // The host draws no background: the chart is seen on the nearest one behind it.
    QPalette palette = QGuiApplication::palette();
    for (const QWidget* behind = host->parentWidget(); behind; behind = behind->parentWidget()) {
        if (behind->autoFillBackground() || behind->isWindow()) {
            palette = behind->palette();
            break;
        }
    }
    const QColor background = palette.color(QPalette::Window);
    if (picture.isNull() || background.alpha() < 255 || !platform::isDarkPalette(palette))
        return picture;
    QImage result(picture.size(), QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(picture.devicePixelRatio());
    result.fill(background.rgb());
    QPainter painter(&result);
    painter.drawImage(QPointF(0, 0), picture);
    return result;
}

} // namespace

void NWPrintViewController::GenericPrint(chart::GraphHostingView* host, int topMargin, int bottomMargin,
    int leftMargin, int rightMargin, bool inLandscape, const QString& name)
{
    Q_ASSERT(!name.isEmpty());
    if (!host || !host->hostedGraph())
        return;
    QPrinter& printer = PrintSession::printer();
    printer.setPageOrientation(inLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(leftMargin, topMargin, rightMargin, bottomMargin), QPageLayout::Point);
    printer.setFullPage(false);
    // The panel offers a file named after the chart, not after the last printout.
    printer.setDocName(name.simplified());

    const QRectF paper = printer.pageLayout().fullRect(QPageLayout::Point);
    host->setPrintRect(
        QRectF(0, 0, paper.width() - leftMargin - rightMargin, paper.height() - topMargin - bottomMargin));

    // The panel runs an event loop in which the chart, or only its graph, may go.
    const QPointer<chart::GraphHostingView> alive(host);
    if (!PrintSession::runPrintPanel(host) || !alive)
        return;
    chart::Graph* graph = host->hostedGraph();
    if (!graph)
        return;
    // The panel may have changed the paper, the orientation or the margins: the chart is laid
    // out for the page that is printed, so that nothing of it falls off the paper.
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Point);
    host->setPrintRect(QRectF(QPointF(0, 0), printable.size()));
    // The chart is drawn as on screen, by the raster engine, and the page gets that picture:
    // the printer's own paint engine would draw some fills differently (the PDF engine makes
    // the history chart's translucent area gradient opaque, hiding the bars behind it).
    const QSizeF size = host->printRect().size();
    const QImage picture
        = onItsBackground(graph->imageOfLayer(size, printScale(printer.resolution(), size)), host);
    QPainter painter;
    if (picture.isNull() || !painter.begin(&printer))
        return;
    // The painter starts at the top left of the area inside the margins, in device pixels;
    // the graph is laid out in points.
    const qreal pointScale = printer.resolution() / 72.0;
    painter.scale(pointScale, pointScale);
    // Lines and text keep sharp edges: no JPEG for the picture.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(QRectF(QPointF(0, 0), size), picture);
    painter.end();
}

bool NWPrintViewController::GenericChartToClipboard(chart::GraphHostingView* host)
{
    if (!host || !host->hostedGraph())
        return false;
    const QImage picture = onItsBackground(host->hostedGraph()->imageOfLayer(), host);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
    const QImage held = clipboard->image();
    return !picture.isNull() && !held.isNull() && held.size() == picture.size();
}
