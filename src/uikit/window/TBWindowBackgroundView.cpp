#include "uikit/window/TBWindowBackgroundView.h"

#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBMovableByBackgroundContainerView.h"

#include "platform/YUpGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>

TBWindowBackgroundView::TBWindowBackgroundView(QWidget* parent) : QWidget(parent)
{
}

TBClassicWindow* TBWindowBackgroundView::classicWindow() const
{
    return qobject_cast<TBClassicWindow*>(window());
}

int TBWindowBackgroundView::platformVersion()
{
    return 2000;
}

bool TBWindowBackgroundView::drawsPatternOverlay(int version, bool textured, bool requested)
{
    return !textured && requested && version >= 1138 && version <= 1342;
}

QRectF TBWindowBackgroundView::baselineSeparatorFrame(const QRectF& rect, platform::RectEdge edge)
{
    const double y = edge == TBClassicWindow::kTopEdge ? rect.y() : rect.y() + rect.height() - 1;
    return { 0, y, rect.width(), 1 };
}

QRectF TBWindowBackgroundView::separatorHighlightFrame(const QRectF& rect, platform::RectEdge edge)
{
    QRectF line = baselineSeparatorFrame(rect, edge);
    line.translate(0, edge == TBClassicWindow::kTopEdge ? 1 : -1);
    return line;
}

void TBWindowBackgroundView::drawWindowBackgroundLayers(QPainter& painter, const QRectF& rect,
    platform::RectEdge edge, bool showsSeparator, const QPainterPath* clippingPath)
{
    painter.save();
    if (clippingPath)
        painter.setClipPath(*clippingPath);
    TBClassicWindow* w = classicWindow();
    const bool textured = w && (w->styleMask() & TBWindow::Style::Textured);
    if (textured) {
        double thickness = w->bottomBarHeight();
        if (edge == TBClassicWindow::kTopEdge)
            thickness
                = w->titleBarHeight() - (w->isFullScreen() ? 0 : TBClassicWindow::minimumTitleBarHeight());
        w->setContentBorderThickness(thickness, edge);
        if (showsSeparator)
            drawSeparator(painter, rect, edge);
    } else {
        drawBackgroundGradient(painter, rect, edge);
        if (showsSeparator)
            drawSeparator(painter, rect, edge);
        if (drawsPatternOverlay(platformVersion(), false, w && w->drawsTitlePatternOverlay()))
            drawWindowPatternOverlayColor(painter, rect, edge);
    }
    painter.restore();
}

void TBWindowBackgroundView::drawBackgroundGradient(
    QPainter& painter, const QRectF& rect, platform::RectEdge edge)
{
    const TBClassicWindow* w = classicWindow();
    const bool main = w && w->drawsAsMain();
    QGradientStops stops;
    if (w && edge == TBClassicWindow::kTopEdge)
        stops = main ? w->titleBarGradient() : w->inactiveTitleBarGradient();
    else if (w)
        stops = main ? w->bottomBarGradient() : w->inactiveBottomBarGradient();
    if (stops.isEmpty())
        stops = edge == TBClassicWindow::kTopEdge ? TBClassicWindow::defaultTitleBarGradient(main)
                                                  : TBClassicWindow::defaultBottomBarGradient(main);
    // Location 0 is at the bottom of the bar.
    QLinearGradient gradient(rect.bottomLeft(), rect.topLeft());
    gradient.setStops(stops);
    painter.fillRect(rect, gradient);
}

void TBWindowBackgroundView::drawSeparator(QPainter& painter, const QRectF& rect, platform::RectEdge edge)
{
    const TBClassicWindow* w = classicWindow();
    const bool main = w && w->drawsAsMain();
    QColor color;
    if (w)
        color = main ? w->baselineSeparatorColor() : w->inactiveBaselineSeparatorColor();
    if (!color.isValid())
        color = TBClassicWindow::defaultBaselineSeparatorColor(main);
    const QRectF yUp = platform::flipped(rect, height());
    painter.fillRect(platform::flipped(baselineSeparatorFrame(yUp, edge), height()), color);
    painter.fillRect(
        platform::flipped(separatorHighlightFrame(yUp, edge), height()), QColor(255, 255, 255, 31));
}

void TBWindowBackgroundView::drawWindowPatternOverlayColor(
    QPainter& painter, const QRectF& rect, platform::RectEdge edge)
{
    painter.save();
    painter.setOpacity(0.3);
    painter.setCompositionMode(QPainter::CompositionMode_Overlay);
    painter.setBrushOrigin(QPointF(edge == TBClassicWindow::kTopEdge ? -5 : 0, 0));
    painter.fillRect(rect, windowPatternOverlayColor());
    painter.restore();
}

QBrush TBWindowBackgroundView::windowPatternOverlayColor()
{
    // 128 x 128 points, drawn at 256 x 256 pixels: a fixed grain, the same on every run.
    static const QBrush brush = [] {
        QImage grain(256, 256, QImage::Format_ARGB32_Premultiplied);
        QRandomGenerator random(0x7B5u);
        for (int y = 0; y < grain.height(); ++y) {
            for (int x = 0; x < grain.width(); ++x) {
                const int level = int(random.bounded(256));
                grain.setPixel(x, y, qRgba(level, level, level, 255));
            }
        }
        grain.setDevicePixelRatio(2.0);
        return QBrush(grain);
    }();
    return brush;
}

void TBWindowBackgroundView::mousePressEvent(QMouseEvent* event)
{
    if (auto* container = qobject_cast<TBMovableByBackgroundContainerView*>(parentWidget());
        container && event->button() == Qt::LeftButton)
        container->mouseDown(event->globalPosition().toPoint());
}

void TBWindowBackgroundView::mouseMoveEvent(QMouseEvent* event)
{
    if (auto* container = qobject_cast<TBMovableByBackgroundContainerView*>(parentWidget());
        container && (event->buttons() & Qt::LeftButton))
        container->mouseDragged(event->globalPosition().toPoint());
}

void TBWindowBackgroundView::mouseReleaseEvent(QMouseEvent* event)
{
    if (auto* container = qobject_cast<TBMovableByBackgroundContainerView*>(parentWidget());
        container && event->button() == Qt::LeftButton)
        container->mouseUp();
}
