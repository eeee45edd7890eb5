#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>

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

/// The contrast of text drawn in `region` of `image`, measured as the end-to-end check measures a
/// screenshot: the region's most frequent colour is the background, the text the most frequent
/// colour among the glyphs' cores (within the top quarter of the contrast range seen), so that
/// smoothed edges do not count. 1 when the region holds one colour only.
inline double drawnContrast(const QImage& image, const QRect& region)
{
    QHash<QRgb, int> counts;
    const QRect inside = region.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    }
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    const QColor back = QColor::fromRgb(background);
    double top = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        top = std::max(top, contrast(QColor::fromRgb(it.key()), back));
    QRgb text = background;
    most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.key() != background && contrast(QColor::fromRgb(it.key()), back) >= 1 + 0.75 * (top - 1)
            && it.value() > most) {
            most = it.value();
            text = it.key();
        }
    }
    return contrast(QColor::fromRgb(text), back);
}

} // namespace mervane::test
