#include "uikit/controls/noise/NZNoise.h"
#include "uikit/controls/noise/NZNoiseLinearGradientView.h"
#include "uikit/controls/noise/NZNoiseRadialGradientView.h"
#include "uikit/controls/noise/NZNoiseView.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QPainter>

namespace {

TEST(NZNoiseTest, TileComesFromTheSeededGenerator)
{
    const QByteArray bytes = NZNoise::generateTileBytes(115);
    ASSERT_EQ(bytes.size(), 128 * 128);
    // First outputs worked by hand: 115 * 214013 + 2531011 = 27142506, >> 16 = 414 -> 158.
    EXPECT_EQ(static_cast<quint8>(bytes[0]), 158);
    quint64 state = 115;
    for (int i = 0; i < 4; ++i) {
        const quint64 next = state * 214013u + 2531011u;
        EXPECT_EQ(static_cast<quint8>(bytes[i]), (next >> 16) % 256) << i;
        state = next & 0x7FFFFFFF;
    }
    EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16),
        QByteArray("73642afeaee8ac1d"));

    const QImage& tile = NZNoise::noiseTile();
    ASSERT_EQ(tile.size(), QSize(128, 128));
    EXPECT_EQ(tile.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(qGray(tile.pixel(0, 0)), 158);
    EXPECT_EQ(qGray(tile.pixel(5, 1)), static_cast<quint8>(bytes[128 + 5]));
    EXPECT_EQ(&NZNoise::noiseTile(), &tile); // made once
}

TEST(NZNoiseTest, BlendModesMapToCompositionModes)
{
    // By stored number, so that the numbering stays the design's.
    const auto mode
        = [](int number) { return NZNoise::compositionMode(static_cast<NZNoise::BlendMode>(number)); };
    using Q = QPainter;
    const QPainter::CompositionMode expected[]
        = { Q::CompositionMode_SourceOver, Q::CompositionMode_Multiply, Q::CompositionMode_Screen,
              Q::CompositionMode_Overlay, Q::CompositionMode_Darken, Q::CompositionMode_Lighten,
              Q::CompositionMode_ColorDodge, Q::CompositionMode_ColorBurn, Q::CompositionMode_SoftLight,
              Q::CompositionMode_HardLight, Q::CompositionMode_Difference, Q::CompositionMode_Exclusion,
              // Hue, saturation, colour and luminosity have no equivalent in Qt.
              Q::CompositionMode_SourceOver, Q::CompositionMode_SourceOver, Q::CompositionMode_SourceOver,
              Q::CompositionMode_SourceOver, Q::CompositionMode_Clear, Q::CompositionMode_Source,
              Q::CompositionMode_SourceIn, Q::CompositionMode_SourceOut, Q::CompositionMode_SourceAtop,
              Q::CompositionMode_DestinationOver, Q::CompositionMode_DestinationIn,
              Q::CompositionMode_DestinationOut, Q::CompositionMode_DestinationAtop, Q::CompositionMode_Xor,
              Q::CompositionMode_SourceOver, // plus darker: none in Qt
              Q::CompositionMode_Plus };
    for (int number = 0; number <= 27; ++number)
        EXPECT_EQ(mode(number), expected[number]) << number;
    EXPECT_EQ(mode(28), QPainter::CompositionMode_SourceOver);
    EXPECT_EQ(mode(-1), QPainter::CompositionMode_SourceOver);

    EXPECT_EQ(static_cast<int>(NZNoise::BlendMode::Multiply), 1);
    EXPECT_EQ(static_cast<int>(NZNoise::BlendMode::Screen), 2);
    EXPECT_EQ(static_cast<int>(NZNoise::BlendMode::Saturation), 13);
    EXPECT_EQ(static_cast<int>(NZNoise::BlendMode::PlusLighter), 27);
    NZNoiseView view;
    EXPECT_EQ(view.noiseBlendMode(), NZNoise::BlendMode::Screen);
}

TEST(NZNoiseTest, NoiseAtOpacityZeroChangesNothingAndScreenOnlyLightens)
{
    NZNoiseView view;
    view.resize(40, 30);
    view.setBackgroundColor(QColor(40, 80, 120));
    view.setNoiseOpacity(0);
    const QImage flat = view.grab().toImage();
    for (int y = 0; y < 30; y += 7)
        for (int x = 0; x < 40; x += 9)
            EXPECT_EQ(flat.pixelColor(x, y), QColor(40, 80, 120));

    view.setNoiseOpacity(0.5);
    const QImage noisy = view.grab().toImage();
    int changed = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QColor c = noisy.pixelColor(x, y);
            EXPECT_GE(c.red(), 40);
            changed += c != QColor(40, 80, 120);
        }
    }
    EXPECT_GT(changed, 600);
}

TEST(NZNoiseTest, NoisyImageKeepsTransparentAreas)
{
    QImage image(20, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(0, 0, 10, 10, QColor(10, 10, 10));
    const QImage noisy = NZNoise::imageWithNoiseOpacity(image, 1.0);
    EXPECT_EQ(noisy.pixel(15, 5), image.pixel(15, 5));
    int changed = 0;
    for (int x = 0; x < 10; ++x)
        changed += noisy.pixel(x, 3) != image.pixel(x, 3);
    EXPECT_GT(changed, 5);
    EXPECT_EQ(NZNoise::colorWithNoiseWithOpacity(Qt::red, 0.2).textureImage().size(), QSize(128, 128));
}

TEST(NZNoiseGradientTest, DirectionsRunFromTheAlternateColour)
{
    NZNoiseLinearGradientView view;
    view.resize(100, 50);
    view.setNoiseOpacity(0);
    view.setBackgroundColor(Qt::white);
    view.setAlternateBackgroundColor(Qt::black);

    const auto dark = [&view](int x, int y) { return qGray(view.grab().toImage().pixel(x, y)) < 40; };
    // By stored number, so that the numbering stays the design's.
    const auto direction
        = [](quint64 number) { return static_cast<NZNoiseLinearGradientView::GradientDirection>(number); };
    EXPECT_EQ(view.gradientDirection(), direction(3));
    EXPECT_TRUE(dark(50, 49)); // 3: alternate at the bottom
    EXPECT_FALSE(dark(50, 0));
    view.setGradientDirection(direction(7)); // any other value draws like 3
    EXPECT_TRUE(dark(50, 49));
    view.setGradientDirection(direction(1));
    EXPECT_TRUE(dark(50, 0));
    view.setGradientDirection(direction(0));
    EXPECT_TRUE(dark(0, 25));
    EXPECT_FALSE(dark(99, 25));
    view.setGradientDirection(direction(2));
    EXPECT_TRUE(dark(99, 25));

    view.setAlternateBackgroundColor(QColor());
    EXPECT_EQ(view.grab().toImage().pixelColor(10, 10), QColor(Qt::white));
}

TEST(NZNoiseGradientTest, RadialGradientCentresTheAlternateColourAndGreyStaysNeutral)
{
    NZNoiseRadialGradientView view;
    view.resize(60, 40);
    view.setNoiseOpacity(0);
    view.setBackgroundColor(QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    view.setAlternateBackgroundColor(QColor::fromRgbF(0.2f, 0.2f, 0.2f));
    const QImage image = view.grab().toImage();
    const QColor centre = image.pixelColor(30, 20);
    EXPECT_LE(centre.red(), 55);
    EXPECT_EQ(centre.red(), centre.green());
    EXPECT_EQ(centre.red(), centre.blue());
    EXPECT_GT(image.pixelColor(0, 0).red(), 115);
}

} // namespace
