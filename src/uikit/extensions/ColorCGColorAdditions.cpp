#include "uikit/extensions/ColorCGColorAdditions.h"

QColor ColorCGColorAdditions::CGColor(const QColor& color)
{
    if (!color.isValid())
        return {};
    const QColor rgb = color.toRgb();
    return QColor::fromRgbF(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

QList<qreal> ColorCGColorAdditions::components(const QColor& color)
{
    if (!color.isValid())
        return {};
    const QColor rgb = color.toRgb();
    if (rgb.red() == rgb.green() && rgb.green() == rgb.blue())
        return { rgb.redF(), rgb.alphaF() };
    return { rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF() };
}

QColor ColorCGColorAdditions::colorWithCGColor(const QList<qreal>& components)
{
    const auto unit = [](qreal value) { return static_cast<float>(qBound<qreal>(0.0, value, 1.0)); };
    if (components.size() == 4)
        return QColor::fromRgbF(
            unit(components[0]), unit(components[1]), unit(components[2]), unit(components[3]));
    if (components.size() == 2)
        return QColor::fromRgbF(
            unit(components[0]), unit(components[0]), unit(components[0]), unit(components[1]));
    return {};
}
