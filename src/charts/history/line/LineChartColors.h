#pragma once

#include <QColor>

/// The history chart's colours (red, green, blue; alpha where used).
namespace linechartcolors {

inline QColor rgb(double r, double g, double b, double alpha = 1.0)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(alpha));
}

inline QColor netWorth(double alpha = 1.0)
{
    return rgb(0.28, 0.66, 0.99, alpha);
}
inline QColor netWorthArea(double alpha)
{
    return rgb(0.33, 0.96, 1.0, alpha);
}
inline QColor tagOrange(double alpha = 1.0)
{
    return rgb(0.98, 0.57, 0.12, alpha);
}
inline QColor asset(double alpha = 1.0)
{
    return rgb(0.35, 0.75, 0.2, alpha);
}
inline QColor assetArea(double alpha)
{
    return rgb(0.62, 0.88, 0.28, alpha);
}
inline QColor liability(double alpha = 1.0)
{
    return rgb(1.0, 0.15, 0.32, alpha);
}
inline QColor liabilityAreaStart(double alpha)
{
    return rgb(1.0, 0.31, 0.49, alpha);
}
inline QColor liabilityAreaEnd(double alpha)
{
    return rgb(1.0, 0.39, 0.55, alpha);
}
inline QColor goal(double alpha = 1.0)
{
    return rgb(1.0, 0.645, 0.082, alpha);
}
inline QColor symbolFill()
{
    return rgb(0.98, 0.98, 0.98);
}
inline QColor selectedSymbolFill()
{
    return rgb(1.0, 0.83, 0.37);
}
inline QColor rule(double alpha)
{
    return rgb(0.5, 0.5, 0.5, alpha);
}

} // namespace linechartcolors
