#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>

namespace mervane::test {

/// The relative luminance of an opaque colour, as the readability guidelines define it.
inline double relativeLuminance(const QColor& color)
{
    const auto channel
        = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF())
        + 0.0722 * channel(color.blueF());
}

/// The contrast ratio (1 to 21) of a colour drawn with its alpha over an opaque background;
/// text reads well from 4.5 up.
inline double contrast(const QColor& over, const QColor& background)
{
    const double a = over.alphaF();
    const auto mix = [a](double top, double below) { return float(top * a + below * (1 - a)); };
    const QColor seen = QColor::fromRgbF(mix(over.redF(), background.redF()),
        mix(over.greenF(), background.greenF()), mix(over.blueF(), background.blueF()));
    const double l1 = relativeLuminance(seen);
    const double l2 = relativeLuminance(background);
    return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
}

} // namespace mervane::test
