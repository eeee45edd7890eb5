#include "app/shell/TitleBarLayout.h"

#include "platform/YUpGeometry.h"

namespace TitleBarLayout {

QPointF origin(Button button, double width)
{
    // One running value from the right edge: settings at W-50, then 45 less for each of
    // about, share, document and print and 40 less for help; the last four 3 points back.
    switch (button) {
    case Button::Lock:
        return { 90, 10 };
    case Button::Settings:
        return { width - 50, 8 };
    case Button::About:
        return { width - 95, 7 };
    case Button::Share:
        return { width - 140 + 3, 9 };
    case Button::Document:
        return { width - 185 + 3, 9 };
    case Button::Print:
        return { width - 230 + 3, 9 };
    case Button::Help:
        return { width - 270 + 3, 9 };
    }
    return {};
}

QRectF frame(Button button, const QSizeF& barSize)
{
    return platform::toYDown(
        QRectF(origin(button, barSize.width()), QSizeF(buttonSize, buttonSize)), barSize.height());
}

} // namespace TitleBarLayout
