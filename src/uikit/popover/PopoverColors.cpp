#include "uikit/popover/PopoverColors.h"

#include "platform/Appearance.h"
#include "platform/Resources.h"

#include <QPalette>

namespace PopoverColors {

PKPopoverWindowFrame::PaletteColor plainFill()
{
    return [](const QPalette& palette) {
        QColor fill = platform::isDarkPalette(palette) ? palette.color(QPalette::Window)
                                                       : QColor::fromRgbF(0.94f, 0.94f, 0.94f);
        fill.setAlphaF(0.92f);
        return fill;
    };
}

PKPopoverWindowFrame::PaletteColor plainEdge()
{
    return [](const QPalette& palette) {
        QColor edge = platform::isDarkPalette(palette) ? palette.color(QPalette::Light) : QColor(Qt::white);
        edge.setAlphaF(0.92f);
        return edge;
    };
}

PKPopoverWindowFrame::PaletteColor contentFill()
{
    return [](const QPalette& palette) { return palette.color(QPalette::Base); };
}

PKPopoverWindowFrame::PaletteColor editEdge()
{
    return [](const QPalette& palette) {
        return palette.color(platform::isDarkPalette(palette) ? QPalette::Light : QPalette::Mid);
    };
}

PKPopoverWindowFrame::PaletteColor warningEdge()
{
    return [](const QPalette& palette) {
        return platform::namedColor(QStringLiteral("Accent"), platform::isDarkPalette(palette));
    };
}

} // namespace PopoverColors
