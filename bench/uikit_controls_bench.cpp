// Drawing costs of the interface kit's self-drawn surfaces.
#include "uikit/controls/noise/NZNoise.h"
#include "uikit/controls/rows/TableRowDrawing.h"
#include "uikit/controls/views/BVBlurredView.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

void BM_NoiseTileGeneration(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(NZNoise::generateTileBytes(115));
}
BENCHMARK(BM_NoiseTileGeneration);

// The noise costs one tiled fill whatever the surface: compare sizes.
void BM_DrawNoise(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::gray);
    for (auto _ : state) {
        QPainter painter(&image);
        NZNoise::drawNoiseWithOpacity(painter, 0.1, NZNoise::BlendMode::Screen);
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_DrawNoise)->Arg(64)->Arg(256)->Arg(1024);

void BM_Separator(benchmark::State& state)
{
    QImage image(800, 1, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        DrawSeparatorInRect(painter, QRectF(0, 0, 800, 1));
    }
}
BENCHMARK(BM_Separator);

// The blurred view redoes this on every paint of its area.
void BM_BlurBackdrop(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    QImage source(side, side, QImage::Format_ARGB32_Premultiplied);
    source.fill(Qt::darkCyan);
    for (auto _ : state) {
        QImage image = source;
        BVBlurredView::saturate(image, 2.0f);
        BVBlurredView::gaussianBlur(image, 20.0f);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_BlurBackdrop)->Arg(200)->Arg(600);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
