#pragma once

#include "platform/SaneGeometry.h"

#include <QFont>

#include <optional>

namespace SaneFont {

/// The largest font size a kit view lays text out with, in points or pixels: far above any
/// title, far below what makes the font engine rasterise glyphs of screen size and more.
inline constexpr qreal maximumSize = 1000;

/// `font` with its size brought into 1..`maximumSize`; NaN becomes 12.
inline QFont sane(QFont font)
{
    if (font.pixelSize() > 0) {
        font.setPixelSize(int(platform::saneValue(font.pixelSize(), 1, maximumSize, 12)));
        return font;
    }
    const qreal size = font.pointSizeF();
    if (!(size >= 1 && size <= maximumSize)) // NaN as well
        font.setPointSizeF(platform::saneValue(size, 1, maximumSize, 12));
    return font;
}

inline std::optional<QFont> sane(const std::optional<QFont>& font)
{
    return font ? std::optional<QFont>(sane(*font)) : std::nullopt;
}

} // namespace SaneFont
