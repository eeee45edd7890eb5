#include "app/shell/WindowFrame.h"

#include "platform/YUpGeometry.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace WindowFrame {

QString toText(const QRect& yUpFrame)
{
    return u"{{%1, %2}, {%3, %4}}"_s.arg(yUpFrame.x())
        .arg(yUpFrame.y())
        .arg(yUpFrame.width())
        .arg(yUpFrame.height());
}

std::optional<QRect> fromText(const QString& text)
{
    static const QRegularExpression form(
        uR"(^\s*\{\s*\{\s*([^,{}\s]+)\s*,\s*([^,{}\s]+)\s*\}\s*,\s*\{\s*([^,{}\s]+)\s*,\s*([^,{}\s]+)\s*\}\s*\}\s*$)"_s);
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const double value = match.captured(i + 1).toDouble(&ok);
        // A million points is far beyond any desktop; larger values are damage, not frames.
        if (!ok || !std::isfinite(value) || std::abs(value) > 1e6)
            return std::nullopt;
        numbers[i] = static_cast<int>(std::lround(value));
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

std::optional<QRect> restorableFrame(const QString& text, int flipHeight, const QList<QRect>& screens)
{
    const std::optional<QRect> yUp = fromText(text);
    if (!yUp || yUp->width() < minimumSize.width() || yUp->height() < minimumSize.height())
        return std::nullopt;
    const QRect frame = platform::toYDown(*yUp, flipHeight);
    const QRect* home = nullptr;
    qint64 largestArea = 0;
    for (const QRect& screen : screens) {
        const QRect visible = frame.intersected(screen);
        const qint64 area = qint64(visible.width()) * visible.height();
        if (area > largestArea) {
            largestArea = area;
            home = &screen;
        }
    }
    if (!home)
        return std::nullopt;
    return fittedInto(frame, *home);
}

QRect fittedInto(const QRect& frame, const QRect& available)
{
    QRect fitted(frame.topLeft(), frame.size().boundedTo(available.size()));
    fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), available.top(), available.bottom() - fitted.height() + 1));
    return fitted;
}

QRect defaultFrame(const QRect& screen)
{
    const QSize size = defaultSize.boundedTo(screen.size()).expandedTo(QSize(1, 1));
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(screen.center());
    return frame;
}

} // namespace WindowFrame
