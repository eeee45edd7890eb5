#include "uikit/controls/noise/NZNoise.h"

#include <QPaintDevice>

QByteArray NZNoise::generateTileBytes(quint64 seed)
{
    QByteArray bytes(TileSize * TileSize, Qt::Uninitialized);
    quint64 state = seed;
    for (char& byte : bytes) {
        const quint64 next = state * 214013u + 2531011u;
        byte = static_cast<char>((next >> 16) % 256);
        state = next & 0x7FFFFFFFu;
    }
    return bytes;
}

const QImage& NZNoise::noiseTile()
{
    static const QImage tile = [] {
        const QByteArray bytes = generateTileBytes(115);
        QImage image(TileSize, TileSize, QImage::Format_Grayscale8);
        for (int y = 0; y < TileSize; ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < TileSize; ++x)
                line[x] = static_cast<uchar>(bytes.at(y * TileSize + x));
        }
        return image;
    }();
    return tile;
}

QPainter::CompositionMode NZNoise::compositionMode(BlendMode blendMode)
{
    switch (blendMode) {
    case BlendMode::Multiply:
        return QPainter::CompositionMode_Multiply;
    case BlendMode::Screen:
        return QPainter::CompositionMode_Screen;
    case BlendMode::Overlay:
        return QPainter::CompositionMode_Overlay;
    case BlendMode::Darken:
        return QPainter::CompositionMode_Darken;
    case BlendMode::Lighten:
        return QPainter::CompositionMode_Lighten;
    case BlendMode::ColorDodge:
        return QPainter::CompositionMode_ColorDodge;
    case BlendMode::ColorBurn:
        return QPainter::CompositionMode_ColorBurn;
    case BlendMode::SoftLight:
        return QPainter::CompositionMode_SoftLight;
    case BlendMode::HardLight:
        return QPainter::CompositionMode_HardLight;
    case BlendMode::Difference:
        return QPainter::CompositionMode_Difference;
    case BlendMode::Exclusion:
        return QPainter::CompositionMode_Exclusion;
    case BlendMode::Clear:
        return QPainter::CompositionMode_Clear;
    case BlendMode::Copy:
        return QPainter::CompositionMode_Source;
    case BlendMode::SourceIn:
        return QPainter::CompositionMode_SourceIn;
    case BlendMode::SourceOut:
        return QPainter::CompositionMode_SourceOut;
    case BlendMode::SourceAtop:
        return QPainter::CompositionMode_SourceAtop;
    case BlendMode::DestinationOver:
        return QPainter::CompositionMode_DestinationOver;
    case BlendMode::DestinationIn:
        return QPainter::CompositionMode_DestinationIn;
    case BlendMode::DestinationOut:
        return QPainter::CompositionMode_DestinationOut;
    case BlendMode::DestinationAtop:
        return QPainter::CompositionMode_DestinationAtop;
    case BlendMode::Xor:
        return QPainter::CompositionMode_Xor;
    case BlendMode::PlusLighter:
        return QPainter::CompositionMode_Plus;
    case BlendMode::Normal:
    case BlendMode::Hue:
    case BlendMode::Saturation:
    case BlendMode::Color:
    case BlendMode::Luminosity:
    case BlendMode::PlusDarker:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

void NZNoise::drawNoiseWithOpacity(QPainter& painter, qreal opacity, BlendMode blendMode)
{
    const QImage& tile = noiseTile();
    painter.save();
    painter.setOpacity(opacity);
    painter.setCompositionMode(compositionMode(blendMode));
    const qreal scale = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (scale > 0 && scale != 1.0)
        painter.scale(1.0 / scale, 1.0 / scale);
    QRectF area;
    if (painter.hasClipping())
        area = painter.clipBoundingRect();
    else if (painter.device())
        area = painter.transform().inverted().mapRect(
            QRectF(0, 0, painter.device()->width() * scale, painter.device()->height() * scale));
    // The brush is anchored at the painter's origin, so the grain never shifts with the area.
    painter.fillRect(area, QBrush(tile));
    painter.restore();
}

QBrush NZNoise::colorWithNoiseWithOpacity(const QColor& color, qreal opacity, BlendMode blendMode)
{
    QImage image(TileSize, TileSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, TileSize, TileSize), color);
    drawNoiseWithOpacity(painter, opacity, blendMode);
    painter.end();
    return QBrush(image);
}

QImage NZNoise::imageWithNoiseOpacity(const QImage& image, qreal opacity, BlendMode blendMode)
{
    const QImage original = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage noisy = original;
    {
        QPainter painter(&noisy);
        drawNoiseWithOpacity(painter, opacity, blendMode);
    }
    // The image's own alpha is the mask: noise only where it has content.
    QImage result = original;
    for (int y = 0; y < result.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(original.constScanLine(y));
        const auto* withNoise = reinterpret_cast<const QRgb*>(noisy.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int mask = qAlpha(source[x]);
            const auto mix = [mask](int a, int b) { return (a * (255 - mask) + b * mask + 127) / 255; };
            out[x] = qRgba(mix(qRed(source[x]), qRed(withNoise[x])),
                mix(qGreen(source[x]), qGreen(withNoise[x])), mix(qBlue(source[x]), qBlue(withNoise[x])),
                mix(qAlpha(source[x]), qAlpha(withNoise[x])));
        }
    }
    return result;
}
