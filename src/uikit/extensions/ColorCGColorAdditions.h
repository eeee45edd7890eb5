#pragma once

#include <QColor>
#include <QList>

/// Conversions between colours and plain component lists (the form drawing code reads
/// colour components in).
struct ColorCGColorAdditions {
    /// A new colour with the colour's red, green, blue and alpha as floating-point RGB.
    /// An invalid colour gives an invalid colour.
    static QColor CGColor(const QColor& color);
    /// The components of a colour in its drawing form: (grey, alpha) for a colour whose
    /// red, green and blue are equal, else (red, green, blue, alpha).
    static QList<qreal> components(const QColor& color);
    /// A colour from components: four are red, green, blue and alpha; two are grey and
    /// alpha; any other count gives an invalid colour.
    static QColor colorWithCGColor(const QList<qreal>& components);
};
