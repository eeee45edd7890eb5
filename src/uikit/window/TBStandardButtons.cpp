#include "uikit/window/TBStandardButtons.h"

#include "uikit/window/TBWindowButton.h"

#include <QPainter>
#include <QPainterPath>

namespace TBStandardButtons {

namespace {

constexpr qreal kScale = 2.0;

QColor baseColor(Kind kind)
{
    switch (kind) {
    case Kind::Close:
        return QColor(0xFF, 0x5F, 0x57);
    case Kind::Miniaturize:
        return QColor(0xFE, 0xBC, 0x2E);
    case Kind::Zoom:
    case Kind::FullScreen:
        return QColor(0x28, 0xC8, 0x40);
    default:
        return {};
    }
}

void drawGlyph(QPainter& painter, Kind kind, const QRectF& circle)
{
    const QPointF c = circle.center();
    const qreal r = circle.width() * 0.25;
    QPen pen(QColor(0, 0, 0, 150), 1.2);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    switch (kind) {
    case Kind::Close:
        painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
        break;
    case Kind::Miniaturize:
        painter.drawLine(c + QPointF(-r * 1.2, 0), c + QPointF(r * 1.2, 0));
        break;
    case Kind::Zoom:
        painter.drawLine(c + QPointF(-r * 1.2, 0), c + QPointF(r * 1.2, 0));
        painter.drawLine(c + QPointF(0, -r * 1.2), c + QPointF(0, r * 1.2));
        break;
    case Kind::FullScreen: {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 150));
        QPainterPath arrows;
        arrows.moveTo(c + QPointF(-r, -r));
        arrows.lineTo(c + QPointF(r * 0.6, -r));
        arrows.lineTo(c + QPointF(-r, r * 0.6));
        arrows.closeSubpath();
        arrows.moveTo(c + QPointF(r, r));
        arrows.lineTo(c + QPointF(-r * 0.6, r));
        arrows.lineTo(c + QPointF(r, -r * 0.6));
        arrows.closeSubpath();
        painter.drawPath(arrows);
        break;
    }
    default:
        break;
    }
}

} // namespace

QSizeF buttonSize(Kind kind)
{
    return kind == Kind::FullScreen ? QSizeF(16, 16) : QSizeF(14, 16);
}

QImage image(Kind kind, Look look)
{
    const QColor base = baseColor(kind);
    if (!base.isValid())
        return {};
    const QSizeF points = buttonSize(kind);
    QImage result((points * kScale).toSize(), QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(kScale);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal diameter = 12;
    const QRectF circle(
        (points.width() - diameter) / 2, (points.height() - diameter) / 2, diameter, diameter);
    QColor fill = base;
    QColor rim = base.darker(125);
    switch (look) {
    case Look::ActiveNotKey:
    case Look::Inactive:
        // Grey on both light and dark backgrounds, fainter when disabled.
        fill = QColor(128, 128, 128, look == Look::Inactive ? 60 : 110);
        rim = QColor(100, 100, 100, look == Look::Inactive ? 60 : 110);
        break;
    case Look::Pressed:
        fill = base.darker(130);
        break;
    default:
        break;
    }
    painter.setPen(QPen(rim, 0.5));
    painter.setBrush(fill);
    painter.drawEllipse(circle);
    if (look == Look::Rollover || look == Look::Pressed)
        drawGlyph(painter, kind, circle);
    return result;
}

TBWindowButton* makeButton(Kind kind, const QString& groupIdentifier, QWidget* parent)
{
    const QSizeF size = buttonSize(kind);
    auto* button = TBWindowButton::windowButtonWithSize(size.width(), size.height(), groupIdentifier, parent);
    button->setActiveImage(image(kind, Look::Active));
    button->setActiveNotKeyWindowImage(image(kind, Look::ActiveNotKey));
    button->setInactiveImage(image(kind, Look::Inactive));
    button->setRolloverImage(image(kind, Look::Rollover));
    button->setPressedImage(image(kind, Look::Pressed));
    button->updateImage();
    return button;
}

} // namespace TBStandardButtons
