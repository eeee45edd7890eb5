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
    /// Blend-mode numbers as stored by callers.
    static constexpr int BlendModeMultiply = 1;
    static constexpr int BlendModeScreen = 2;

    /// The tile, made on first use and kept for the life of the process.
    static const QImage& noiseTile();
    /// The tile's bytes for a seed, row by row (pure; the tile uses seed 115).
    static QByteArray generateTileBytes(quint64 seed);

    /// Draws the tile repeated over the painter's clip (or its whole device without one)
    /// at `opacity` with the blend mode numbered `blendMode` (see compositionMode).
    static void drawNoiseWithOpacity(QPainter& painter, qreal opacity, int blendMode = BlendModeScreen);

    /// The nearest composition mode for a blend-mode number: 0 normal, 1 multiply,
    /// 2 screen, 3 overlay, 4 darken, 5 lighten, 6 colour dodge, 7 colour burn,
    /// 8 soft light, 9 hard light, 10 difference, 11 exclusion, 16 clear, 17 copy,
    /// 18-25 the Porter-Duff modes, 27 plus lighter. Hue, saturation, colour,
    /// luminosity (12-15) and plus darker (26) have no equivalent and draw as normal.
    static QPainter::CompositionMode compositionMode(int blendMode);

    /// A 128 x 128 texture brush of `color` with the noise over it.
    static QBrush colorWithNoiseWithOpacity(
        const QColor& color, qreal opacity, int blendMode = BlendModeScreen);
    /// A copy of `image` with the noise drawn only where the image has content (its alpha).
    static QImage imageWithNoiseOpacity(const QImage& image, qreal opacity, int blendMode = BlendModeScreen);
};
