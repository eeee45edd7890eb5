// Cost of sampling the spring animation: one step per millisecond of motion for
// every component, paid each time an animation starts.
#include "uikit/overlay/SASpringAnimation.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

static void BM_SpringLockSpin(benchmark::State& state)
{
    // The app lock's spin: one component, 0 to 2 pi, stiffness 500, damping 90, mass 1.
    std::size_t samples = 0;
    for (auto _ : state) {
        const auto values = SASpringAnimation::valuesFromNumbers({ 0 }, { 2 * M_PI }, 500, 90, 1);
        samples = values.size();
        benchmark::DoNotOptimize(values.data());
    }
    state.counters["samples"] = double(samples);
}
BENCHMARK(BM_SpringLockSpin);

static void BM_SpringTransform3D(benchmark::State& state)
{
    // Sixteen components with the default spring (stiffness 300, damping 30, mass 5).
    std::vector<double> from(16, 0.0), to(16, 0.0);
    for (int i = 0; i < 16; ++i)
        to[std::size_t(i)] = i + 1;
    std::size_t samples = 0;
    for (auto _ : state) {
        const auto values = SASpringAnimation::valuesFromNumbers(from, to, 300, 30, 5);
        samples = values.size();
        benchmark::DoNotOptimize(values.data());
    }
    state.counters["samples"] = double(samples);
}
BENCHMARK(BM_SpringTransform3D);

static void BM_SpringCapped(benchmark::State& state)
{
    // A barely damped spring runs into the 10,000-sample cap.
    for (auto _ : state) {
        const auto values = SASpringAnimation::valuesFromNumbers({ 0 }, { 1 }, 1000, 0.0001, 1);
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK(BM_SpringCapped);

BENCHMARK_MAIN();
