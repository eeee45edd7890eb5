#include "uikit/controls/KitDrawing.h"

#include "platform/Resources.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace KitDrawing {

QTransform flipY(qreal height)
{
    return QTransform(1, 0, 0, -1, 0, height);
}

QRectF toWidget(const QRectF& yUp, qreal height)
{
    return QRectF(yUp.x(), height - yUp.y() - yUp.height(), yUp.width(), yUp.height());
}

void appendArcFromPoint(QPainterPath& path, QPointF corner, QPointF toward, qreal radius)
{
    const QPointF start = path.currentPosition();
    const QPointF in = start - corner;
    const QPointF out = toward - corner;
    const qreal inLength = std::hypot(in.x(), in.y());
    const qreal outLength = std::hypot(out.x(), out.y());
    if (!(radius > 0 && inLength > 0 && outLength > 0) || !std::isfinite(radius) || !std::isfinite(inLength)
        || !std::isfinite(outLength)) {
        path.lineTo(corner);
        return;
    }
    const QPointF u = in / inLength;
    const QPointF v = out / outLength;
    const qreal cosine = std::clamp(u.x() * v.x() + u.y() * v.y(), -1.0, 1.0);
    const qreal angle = std::acos(cosine); // the angle between the two edges at the corner
    if (angle < 1e-9 || std::abs(angle - M_PI) < 1e-9) {
        path.lineTo(corner);
        return;
    }
    const qreal tangentDistance = radius / std::tan(angle / 2);
    const QPointF t1 = corner + u * tangentDistance;
    const QPointF t2 = corner + v * tangentDistance;
    // A circular arc turning by (pi - angle) as one cubic segment.
    const qreal sweep = M_PI - angle;
    const qreal handle = radius * 4.0 / 3.0 * std::tan(sweep / 4);
    path.lineTo(t1);
    path.cubicTo(t1 - u * handle, t2 - v * handle, t2);
}

QColor systemGray()
{
    return QColor(142, 142, 147);
}

QColor selectionColor()
{
    return platform::namedColor(QStringLiteral("Accent"));
}

QString drawableEmoji(const QString& emoji)
{
    // Labels fall back to whichever installed family has the character: any family will do.
    static QHash<char32_t, bool> drawable;
    for (const char32_t scalar : emoji.toUcs4()) {
        auto found = drawable.constFind(scalar);
        if (found == drawable.cend()) {
            bool any = false;
            for (const QString& family : QFontDatabase::families()) {
                if (QFontMetrics(QFont(family)).inFontUcs4(scalar)) {
                    any = true;
                    break;
                }
            }
            found = drawable.insert(scalar, any);
        }
        if (!*found)
            return QString();
    }
    return emoji;
}

} // namespace KitDrawing
