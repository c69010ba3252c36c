// Display rebuilds on a 4096 × 4096 image, beside a baseline pass in the same run that
// reads every stored pixel and writes one byte (its low byte) into the same display
// buffer. Each rebuild's time over the baseline's is its "x_baseline" counter (elapsed
// time; "_cpu": processor time, which other work on a shared machine disturbs less);
// ComputeHistogramLevels is also set against one ScaleLinear ("x_scale_linear").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "display/display_levels.h"
#include "display/display_scaling.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane {
namespace {

constexpr int kSide = 4096;

// A sky: unsigned data stored with bzero 32768, background near 1000 with noise, a faint
// gradient and a sprinkling of bright stars; limits as Histogram sets them.
struct Sky {
    std::vector<std::int16_t> pixels;
    ImageRecord image;
    HeaderRecord header{};
    DisplayState display;
    test::FakeHost host;

    Sky() : pixels(static_cast<std::size_t>(kSide) * kSide) {
        std::uint32_t state = 2024;
        for (int r = 0; r < kSide; ++r) {
            for (int c = 0; c < kSide; ++c) {
                state = state * 1664525u + 1013904223u;
                int value = 1000 + (r + c) / 64 + static_cast<int>(state >> 27);
                if ((state & 0xFFFF) < 20) value += static_cast<int>(state >> 18);
                pixels[static_cast<std::size_t>(r) * kSide + static_cast<std::size_t>(c)] =
                    static_cast<std::int16_t>(std::min(value, 65535) - 32768);
            }
        }
        test::AttachPixels(image, pixels, kSide, kSide, 32768);
        ComputeHistogramLevels(image, display.levels, host);
    }
};

// Seconds per iteration, elapsed and processor time.
struct Timing {
    double wall = 0, cpu = 0;
    bool Valid() const { return wall > 0 && cpu > 0; }
};

// What the baseline and ScaleLinear measured, for the ratios of the benchmarks after them.
struct SameRun {
    Timing baseline, scaleLinear;
};

SameRun& Measured() {
    static SameRun run;
    return run;
}

// One pass a iteration over the same sky.
template <class Pass>
Timing Measure(benchmark::State& state, Sky& sky, Pass pass) {
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        pass(sky);
        benchmark::DoNotOptimize(sky.display.levels);
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
    const auto iterations = static_cast<double>(state.iterations());
    return {elapsed.count() / iterations, cpu / iterations};
}

void Ratios(benchmark::State& state, const char* name, const Timing& t, const Timing& over) {
    if (t.Valid() && over.Valid()) {
        state.counters[std::string("x_") + name] = t.wall / over.wall;
        state.counters[std::string("x_") + name + "_cpu"] = t.cpu / over.cpu;
    }
}

template <class Pass>
Timing MeasureRebuild(benchmark::State& state, Pass pass) {
    Sky sky;
    const Timing t = Measure(state, sky, pass);
    Ratios(state, "baseline", t, Measured().baseline);
    return t;
}

void BM_BaselineLowByte(benchmark::State& state) {
    Sky sky;
    Measured().baseline = Measure(state, sky, [](Sky& s) {
        ImageRecord& im = s.image;
        for (int r = 0; r < kSide; ++r) {
            const std::int16_t* p = im.pixels + static_cast<std::size_t>(r) * kSide;
            std::uint8_t* out = im.displayImage.data() + static_cast<std::size_t>(r) * im.paddedWidth;
            for (int c = 0; c < kSide; ++c) out[c] = static_cast<std::uint8_t>(p[c]);
        }
    });
}

void BM_ScaleLinear(benchmark::State& state) {
    Measured().scaleLinear = MeasureRebuild(
        state, [](Sky& s) { ScaleLinear(s.image, s.display.levels, s.host); });
}

void BM_ScaleLog(benchmark::State& state) {
    MeasureRebuild(state, [](Sky& s) { ScaleLog(s.image, s.header, s.display, s.host); });
}

void BM_ScaleHiPass(benchmark::State& state) {
    MeasureRebuild(state, [](Sky& s) { ScaleHiPass(s.image, s.host); });
}

void BM_ComputeHistogramLevels(benchmark::State& state) {
    Sky sky;
    const Timing t = Measure(state, sky, [](Sky& s) {
        ComputeHistogramLevels(s.image, s.display.levels, s.host);
    });
    Ratios(state, "scale_linear", t, Measured().scaleLinear);
}

// Registered in this order so that each runs after what it is compared with.
BENCHMARK(BM_BaselineLowByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleHiPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeHistogramLevels)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
