#include "uikit/tabs/TabGeometry.h"

#include <algorithm>

namespace TabGeometry {
namespace {
QRectF centredAtTop(const QRectF& bounds, double width, double height)
{
    return { bounds.x() + bounds.width() * 0.5 - width * 0.5, bounds.y(), width, height };
}
} // namespace

QRectF reworkedControlFrame(const QRectF& bounds, int itemCount)
{
    const double width = std::min(itemCount * 70.0 + 12.0, bounds.width() - 32.0);
    return centredAtTop(bounds, std::max(width, 0.0), 32.0);
}

QRectF drawnControlFrame(const QRectF& bounds, double naturalWidth, double naturalHeight)
{
    const double width = std::min(naturalWidth, bounds.width() - 32.0);
    return centredAtTop(bounds, std::max(width, 0.0), naturalHeight);
}

QRectF bezelRect(const QRectF& bounds)
{
    return { bounds.x() + 8.0, bounds.y() + 10.0, bounds.width() - 16.0, bounds.height() - 16.0 };
}

QRectF controlBackingRect(const QRectF& controlFrame)
{
    return { controlFrame.x() + 2.0, controlFrame.y() + 2.0, controlFrame.width() - 4.0,
        controlFrame.height() - 5.0 };
}

QRectF contentRect(const QRectF& bounds, const QRectF& controlFrame)
{
    const QRectF bezel = bezelRect(bounds);
    const double top = std::max(bezel.top() + 6.0, controlFrame.bottom() + 6.0);
    QRectF content(bezel.left() + 6.0, top, bezel.width() - 12.0, bezel.bottom() - 6.0 - top);
    if (content.width() < 0)
        content.setWidth(0);
    if (content.height() < 0)
        content.setHeight(0);
    return content;
}

QPainterPath roundedRectPath(const QRectF& rect, double radius)
{
    QPainterPath path;
    if (radius <= 0) {
        path.addRect(rect);
        return path;
    }
    const double r = std::min({ radius, rect.width() * 0.5, rect.height() * 0.5 });
    const double d = 2 * r;
    // Corner by corner, each arc a quarter circle of the rectangle's corner.
    path.moveTo(rect.left() + r, rect.top());
    path.lineTo(rect.right() - r, rect.top());
    path.arcTo(QRectF(rect.right() - d, rect.top(), d, d), 90, -90);
    path.lineTo(rect.right(), rect.bottom() - r);
    path.arcTo(QRectF(rect.right() - d, rect.bottom() - d, d, d), 0, -90);
    path.lineTo(rect.left() + r, rect.bottom());
    path.arcTo(QRectF(rect.left(), rect.bottom() - d, d, d), 270, -90);
    path.lineTo(rect.left(), rect.top() + r);
    path.arcTo(QRectF(rect.left(), rect.top(), d, d), 180, -90);
    path.closeSubpath();
    return path;
}

} // namespace TabGeometry
