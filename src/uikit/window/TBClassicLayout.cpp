#include "uikit/window/TBClassicLayout.h"

#include <algorithm>
#include <cmath>

namespace TBClassicLayout {

BarFrames barFrames(const QRectF& frameView, double titleBarHeight, double bottomBarHeight)
{
    return { QRectF(
                 0, frameView.y() + frameView.height() - titleBarHeight, frameView.width(), titleBarHeight),
        QRectF(0, 0, frameView.width(), bottomBarHeight) };
}

QRectF contentFrame(double contentWidth, double frameHeight, double titleBarHeight, double toolbarHeight,
    double bottomBarHeight, bool hidesTitleBar)
{
    double height = hidesTitleBar ? frameHeight : frameHeight - titleBarHeight - toolbarHeight;
    height -= bottomBarHeight;
    return { 0, bottomBarHeight, contentWidth, height };
}

std::array<QRectF, 3> trafficLightFrames(const TrafficLights& l)
{
    const QRectF& c = l.container;
    if (!l.vertical) {
        const double y = l.centered ? std::round(c.y() + c.height() / 2 - l.close.height() / 2)
                                    : c.y() + c.height() - l.close.height() - l.topMargin;
        const QRectF close(l.leftMargin, y, l.close.width(), l.close.height());
        const QRectF minimize(
            close.x() + close.width() + l.separation, y, l.minimize.width(), l.minimize.height());
        const QRectF zoom(minimize.x() + minimize.width() + l.separation, y, l.zoom.width(), l.zoom.height());
        return { close, minimize, zoom };
    }
    const double gap = l.separation - 2;
    const double total = l.close.height() + l.minimize.height() + l.zoom.height() + 2 * gap;
    const double bottom = l.centered ? std::round(c.y() + c.height() / 2 - total / 2)
                                     : c.y() + c.height() - total - l.topMargin;
    const QRectF zoom(l.leftMargin, bottom, l.zoom.width(), l.zoom.height());
    const QRectF minimize(
        l.leftMargin, zoom.y() + zoom.height() + gap, l.minimize.width(), l.minimize.height());
    const QRectF close(
        l.leftMargin, minimize.y() + minimize.height() + gap, l.close.width(), l.close.height());
    return { close, minimize, zoom };
}

double measuredRightMargin(double containerWidth, const QRectF& button)
{
    return containerWidth - (button.x() + button.width());
}

QRectF fullScreenButtonFrame(
    const QRectF& container, const QSizeF& size, double rightMargin, bool centered, double topMargin)
{
    const double x = container.width() - size.width() - rightMargin;
    const double y = centered ? std::floor(container.y() + container.height() / 2 - size.height() / 2)
                              : container.y() + container.height() - size.height() - topMargin;
    return { x, y, size.width(), size.height() };
}

double titleFieldY(const QRectF& container, double height, bool verticallyCenterTitle)
{
    return verticallyCenterTitle ? std::round(container.y() + container.height() / 2 - height / 2)
                                 : container.y() + container.height() - height - 2;
}

QRectF titleFrame(const TitleFrameInput& in)
{
    double width = in.titleSize.width();
    const double height = in.titleSize.height();
    const double centred = in.bounds.x() + (in.bounds.width() - width) / 2;
    double x = centred;
    if (in.documentIcon) {
        x = in.documentIcon->x() + in.documentIcon->width() + 4;
    } else if (in.versionsButton) {
        x = in.versionsButton->x() - width - 1;
        if (in.documentEdited)
            x -= 20;
    } else if (!in.buttons.empty()) {
        double right = 0;
        for (const QRectF& button : in.buttons)
            right = std::max(right, button.x() + button.width());
        x = std::max(right + 8, centred);
    }
    if (in.versionsButton) {
        const double limit = in.dividerX.value_or(in.versionsButton->x());
        if (x + width > limit)
            width = limit - x - 8;
    }
    if (in.fullScreenButton && x + width > in.fullScreenButton->x() - 8)
        width = in.fullScreenButton->x() - x - 8;
    const double y = in.bounds.y() + in.bounds.height() - height - 2;
    return { x, y, std::max(0.0, width), height };
}

} // namespace TBClassicLayout
