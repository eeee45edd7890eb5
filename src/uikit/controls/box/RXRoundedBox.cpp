#include "uikit/controls/box/RXRoundedBox.h"

#include "platform/SaneGeometry.h"
#include "uikit/controls/KitDrawing.h"
#include "uikit/controls/noise/NZNoise.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace {

constexpr qreal TitleCellInset = 2.0; // the title cell keeps its text this far from its edges

} // namespace

RXRoundedBox::RXRoundedBox(QWidget* parent) : QWidget(parent), m_borderColor(KitDrawing::systemGray())
{
    m_titleFont = font();
    m_titleFont.setBold(true);
    m_titleFont.setPointSizeF(11);
}

void RXRoundedBox::setTitle(const QString& title)
{
    m_title = title;
    update();
}

void RXRoundedBox::setBorderWidth(qreal width)
{
    m_borderWidth = platform::saneLength(width);
    update();
}

void RXRoundedBox::setBorderRadius(qreal radius)
{
    m_borderRadius = platform::saneLength(radius);
    update();
}

void RXRoundedBox::setBorderColor(const QColor& color)
{
    m_borderColor = color;
    update();
}

void RXRoundedBox::setTitleColor(const QColor& color)
{
    m_titleColor = color;
    update();
}

void RXRoundedBox::setGradientStartColor(const QColor& color)
{
    m_gradientStartColor = color.isValid() ? color.toRgb() : QColor();
    if (m_drawsGradientBackground)
        update();
}

void RXRoundedBox::setGradientEndColor(const QColor& color)
{
    m_gradientEndColor = color.isValid() ? color.toRgb() : QColor();
    if (m_drawsGradientBackground)
        update();
}

void RXRoundedBox::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    if (!m_drawsGradientBackground)
        update();
}

void RXRoundedBox::setDrawsFullTitleBar(bool full)
{
    m_drawsFullTitleBar = full;
    update();
}

void RXRoundedBox::setSelected(bool selected)
{
    m_selected = selected;
    update();
}

void RXRoundedBox::setDrawsGradientBackground(bool draws)
{
    m_drawsGradientBackground = draws;
    update();
}

void RXRoundedBox::setNoiseOpacity(qreal opacity)
{
    m_noiseOpacity = platform::saneValue(opacity, 0.0, 1.0);
    update();
}

QPainterPath RXRoundedBox::boxPath(const QRectF& r, qreal radius)
{
    const qreal minX = r.left(), midX = r.center().x(), maxX = r.right();
    const qreal minY = r.top(), midY = r.center().y(), maxY = r.bottom(); // y-up: top() is the lowest y
    QPainterPath path;
    path.moveTo(midX, minY);
    KitDrawing::appendArcFromPoint(path, { maxX, minY }, { maxX, midY }, radius);
    KitDrawing::appendArcFromPoint(path, { maxX, maxY }, { midX, maxY }, radius);
    KitDrawing::appendArcFromPoint(path, { minX, maxY }, { minX, midY }, radius);
    KitDrawing::appendArcFromPoint(path, { minX, minY }, { midX, minY }, radius);
    path.closeSubpath();
    return path;
}

QRectF RXRoundedBox::titleRect(const QRectF& b, QSizeF titleSize, qreal borderWidth)
{
    const qreal offsetX = static_cast<float>(borderWidth + 3 + 1);
    const qreal doubledBorder = static_cast<float>(2 * borderWidth);
    return QRectF(b.x() + offsetX, b.y() + b.height() - titleSize.height() - doubledBorder,
        titleSize.width() + 2 * borderWidth, titleSize.height());
}

QPainterPath RXRoundedBox::titlePath(const QRectF& r, float radius, const QRectF& t, bool fullTitleBar)
{
    const qreal left = std::trunc(r.x());
    const qreal top = std::trunc(r.y() + r.height());
    const qreal bottom = std::trunc(t.y() - (top - (t.y() + t.height())));
    QPainterPath path;
    path.moveTo(left, bottom);
    if (r.width() - t.width() >= 20 && !fullTitleBar) {
        const qreal right = std::trunc(left + t.width() + 2 * (t.x() - r.x()));
        KitDrawing::appendArcFromPoint(path, { right, bottom }, { right, top }, radius);
        path.lineTo(right, top);
    } else {
        const qreal right = r.x() + r.width();
        path.lineTo(right, bottom);
        KitDrawing::appendArcFromPoint(path, { right, top }, { right - r.width() / 2, top }, radius);
    }
    KitDrawing::appendArcFromPoint(path, { left, top }, { left, bottom }, radius);
    path.closeSubpath();
    return path;
}

QSizeF RXRoundedBox::titleCellSize(QSizeF bounds) const
{
    const QFontMetricsF metrics(m_titleFont);
    const qreal width = std::ceil(metrics.horizontalAdvance(m_title) + 2 * TitleCellInset);
    const qreal height = std::ceil(metrics.height() + 1);
    return QSizeF(std::min(width, bounds.width()), std::min(height, bounds.height()));
}

void RXRoundedBox::paintEvent(QPaintEvent*)
{
    const qreal h = height();
    const QRectF bounds(0, 0, width(), h);
    const qreal bw = m_borderWidth;
    const qreal radius = m_borderRadius;
    const QRectF r = bounds.adjusted(bw / 2, bw / 2, -bw / 2, -bw / 2);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QTransform toWidget = KitDrawing::flipY(h);
    const QPainterPath box = toWidget.map(boxPath(r, radius));

    if (m_drawsGradientBackground) {
        // The gradient image spans the view from its bottom edge to the box's top.
        QLinearGradient gradient(0, h, 0, h - r.bottom());
        gradient.setColorAt(0, m_gradientStartColor);
        gradient.setColorAt(1, m_gradientEndColor);
        painter.save();
        painter.setClipPath(box);
        painter.fillRect(bounds, gradient);
        painter.restore();
    } else {
        painter.fillPath(box, m_backgroundColor);
    }

    if (m_noiseOpacity > 0)
        NZNoise::drawNoiseWithOpacity(painter, m_noiseOpacity, NZNoise::BlendMode::Screen);

    const QRectF t = titleRect(bounds, titleCellSize(bounds.size()), bw);
    const QColor drawingColor = m_selected ? KitDrawing::selectionColor() : m_borderColor;

    if (m_drawsTitle) {
        const QPainterPath tab = titlePathWithinRect(r, static_cast<float>(radius), t);
        painter.fillPath(toWidget.map(tab), drawingColor);
        m_titlePathRect = tab.isEmpty() ? QRectF() : tab.boundingRect();
    }
    if (bw > 0) {
        QPen pen(drawingColor, bw);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.strokePath(box, pen);
    }
    if (m_drawsTitle) {
        const QRectF textRect = KitDrawing::toWidget(t, h).adjusted(TitleCellInset, 0, -TitleCellInset, 0);
        painter.setFont(m_titleFont);
        painter.setPen(m_titleColor);
        const QString shown
            = QFontMetricsF(m_titleFont).elidedText(m_title, Qt::ElideRight, textRect.width());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }
}
