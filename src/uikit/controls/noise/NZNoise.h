#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>

/// The application's one grain of grey noise: a 128 x 128 greyscale tile generated once
/// from a fixed seed, so every surface shows the same grain, drawn at one tile pixel per
/// device pixel. Main thread only.
class NZNoise {
public:
    static constexpr int TileSize = 128;

    /// Blend modes by their stored numbers.
    enum class BlendMode : int {
        Normal = 0,
        Multiply = 1,
        Screen = 2,
        Overlay = 3,
        Darken = 4,
        Lighten = 5,
        ColorDodge = 6,
        ColorBurn = 7,
        SoftLight = 8,
        HardLight = 9,
        Difference = 10,
        Exclusion = 11,
        Hue = 12,
        Saturation = 13,
        Color = 14,
        Luminosity = 15,
        Clear = 16,
        Copy = 17,
        SourceIn = 18,
        SourceOut = 19,
        SourceAtop = 20,
        DestinationOver = 21,
        DestinationIn = 22,
        DestinationOut = 23,
        DestinationAtop = 24,
        Xor = 25,
        PlusDarker = 26,
        PlusLighter = 27,
    };

    /// The tile, made on first use and kept for the life of the process.
    static const QImage& noiseTile();
    /// The tile's bytes for a seed, row by row (pure; the tile uses seed 115).
    static QByteArray generateTileBytes(quint64 seed);

    /// Draws the tile repeated over the painter's clip (or its whole device without one)
    /// at `opacity` with `blendMode` (see compositionMode).
    static void drawNoiseWithOpacity(
        QPainter& painter, qreal opacity, BlendMode blendMode = BlendMode::Screen);

    /// The nearest composition mode for a blend mode. Hue, saturation, colour, luminosity,
    /// plus darker and numbers outside 0-27 have no equivalent and draw as normal.
    static QPainter::CompositionMode compositionMode(BlendMode blendMode);

    /// A 128 x 128 texture brush of `color` with the noise over it.
    static QBrush colorWithNoiseWithOpacity(
        const QColor& color, qreal opacity, BlendMode blendMode = BlendMode::Screen);
    /// A copy of `image` with the noise drawn only where the image has content (its alpha).
    static QImage imageWithNoiseOpacity(
        const QImage& image, qreal opacity, BlendMode blendMode = BlendMode::Screen);
};
