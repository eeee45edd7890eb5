#include "uikit/window/TBTitlebarView.h"

#include "platform/UserDefaults.h"
#include "platform/YUpGeometry.h"
#include "uikit/window/TBClassicLayout.h"
#include "uikit/window/TBClassicWindow.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBMovableByBackgroundContainerView.h"
#include "uikit/window/TBTitleBarDoubleClick.h"
#include "uikit/window/TBWindowButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

TBTitlebarView::TBTitlebarView(QWidget* parent) : TBWindowBackgroundView(parent)
{
}

QPainterPath TBTitlebarView::clippingPath(const QRectF& rect)
{
    constexpr double radius = 4;
    QPainterPath path;
    path.moveTo(rect.bottomLeft());
    path.lineTo(rect.left(), rect.top() + radius);
    path.arcTo(QRectF(rect.left(), rect.top(), 2 * radius, 2 * radius), 180, -90);
    path.lineTo(rect.right() - radius, rect.top());
    path.arcTo(QRectF(rect.right() - 2 * radius, rect.top(), 2 * radius, 2 * radius), 90, -90);
    path.lineTo(rect.bottomRight());
    path.closeSubpath();
    return path;
}

QRectF TBTitlebarView::windowBorderAccentLineFrameForRect(const QRectF& rect)
{
    return { rect.x(), rect.y(), rect.width(), 1 };
}

void TBTitlebarView::drawWindowBorderAccentLineInRect(QPainter& painter, const QRectF& rect)
{
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.fillRect(windowBorderAccentLineFrameForRect(rect), QColor(255, 255, 255, 102));
    painter.restore();
}

void TBTitlebarView::drawBackgroundGradient(QPainter& painter, const QRectF& rect, platform::RectEdge edge)
{
    TBWindowBackgroundView::drawBackgroundGradient(painter, rect, edge);
    drawWindowBorderAccentLineInRect(painter, rect);
}

TBTitlebarView::TitleAttributes TBTitlebarView::titleAttributes() const
{
    TitleAttributes attributes;
    const TBClassicWindow* w = classicWindow();
    const bool main = w && w->drawsAsMain();
    attributes.native = !w
        || (!w->titleTextShadow() && !w->inactiveTitleTextShadow() && !w->titleTextColor().isValid()
            && !w->inactiveTitleTextColor().isValid() && !w->titleFont());
    attributes.font = (w && w->titleFont()) ? *w->titleFont() : QApplication::font();
    if (attributes.native)
        attributes.font.setBold(true);
    QColor color = w ? (main ? w->titleTextColor() : w->inactiveTitleTextColor()) : QColor();
    attributes.color = color.isValid() ? color : TBClassicWindow::defaultTitleTextColor(main);
    const std::optional<TBTextShadow> shadow
        = w ? (main ? w->titleTextShadow() : w->inactiveTitleTextShadow()) : std::nullopt;
    if (!attributes.native) {
        attributes.shadowColor = shadow ? shadow->color : QColor(255, 255, 255, 128);
        const QPointF offset = shadow ? shadow->offset : QPointF(0, -1);
        attributes.shadowOffset = QPointF(offset.x(), -offset.y());
    }
    return attributes;
}

QRectF TBTitlebarView::titleFrame(const TitleAttributes& attributes) const
{
    const TBClassicWindow* w = classicWindow();
    const QFontMetricsF metrics(attributes.font);
    const QString title = window()->windowTitle();
    TBClassicLayout::TitleFrameInput input;
    input.bounds = QRectF(0, 0, width(), height());
    input.titleSize = QSizeF(std::ceil(metrics.horizontalAdvance(title)), std::ceil(metrics.height()));
    if (w) {
        using TBStandardButtons::Kind;
        for (TBWindowButton* button : { w->standardWindowButton(Kind::Close),
                 w->standardWindowButton(Kind::Miniaturize), w->standardWindowButton(Kind::Zoom),
                 w->closeButton(), w->minimizeButton(), w->zoomButton() }) {
            if (button && !button->isHidden())
                input.buttons.push_back(TBGeometry::frame(button, this));
        }
        for (TBWindowButton* button : { w->fullScreenButton(), w->standardWindowButton(Kind::FullScreen) }) {
            if (button && !button->isHidden()) {
                input.fullScreenButton = TBGeometry::frame(button, this);
                break;
            }
        }
    }
    QRectF frame = TBClassicLayout::titleFrame(input);
    if (w && w->verticallyCenterTitle())
        frame.moveTop(std::floor(input.bounds.y() + input.bounds.height() / 2 - frame.height() / 2 + 1));
    return frame;
}

void TBTitlebarView::paintEvent(QPaintEvent*)
{
    TBClassicWindow* w = classicWindow();
    QPainter painter(this);
    if (w && w->isFullScreen())
        painter.fillRect(rect(), Qt::black);
    const double toolbar = w ? w->toolbarHeight() : 0;
    const QRectF drawing(0, 0, width(), height() + toolbar);
    const QPainterPath clip = clippingPath(drawing);
    drawWindowBackgroundLayers(
        painter, drawing, TBClassicWindow::kTopEdge, w && w->showsBaselineSeparator(), &clip);
    if (w && w->titleBarDrawingBlock())
        w->titleBarDrawingBlock()(painter, w->drawsAsMain(), drawing, TBClassicWindow::kTopEdge, &clip);

    if (!w || !w->showsTitle() || (w->isFullScreen() && !w->showsTitleInFullscreen()))
        return;
    const TitleAttributes attributes = titleAttributes();
    const QString title = w->windowTitle();
    painter.setFont(attributes.font);
    if (attributes.native) {
        // The default look: centred in a box of the standard title height at the top.
        const double boxHeight
            = w->verticallyCenterTitle() ? height() : TBClassicWindow::minimumTitleBarHeight();
        const QRectF box(0, 0, width(), boxHeight);
        painter.setPen(attributes.color);
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine,
            painter.fontMetrics().elidedText(title, Qt::ElideRight, int(box.width())));
        return;
    }
    const QRectF frame = platform::flipped(titleFrame(attributes), height());
    const QString shown = QFontMetricsF(attributes.font).elidedText(title, Qt::ElideRight, frame.width());
    painter.setPen(attributes.shadowColor);
    painter.drawText(frame.translated(attributes.shadowOffset), Qt::AlignLeft | Qt::AlignVCenter, shown);
    painter.setPen(attributes.color);
    painter.drawText(frame, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void TBTitlebarView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_doubleClicked = true;
}

void TBTitlebarView::mouseReleaseEvent(QMouseEvent* event)
{
    TBWindowBackgroundView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_doubleClicked)
        return;
    m_doubleClicked = false;
    if (TBTitleBarDoubleClick::action(platform::UserDefaults::standard())
        == TBTitleBarDoubleClick::Action::Miniaturize)
        window()->showMinimized();
}
