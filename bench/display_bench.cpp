// Display rebuilds on a 4096 × 4096 image beside a baseline pass that reads every stored
// pixel and writes one byte (its low byte) into the same display buffer.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "display/display_levels.h"
#include "display/display_scaling.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane {
namespace {

constexpr int kSide = 4096;

// A sky: unsigned data stored with bzero 32768, background near 1000 with noise, a faint
// gradient and a sprinkling of bright stars.
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

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_BaselineLowByte(benchmark::State& state) {
    Sky sky;
    for (auto _ : state) {
        for (int r = 0; r < kSide; ++r) {
            const std::int16_t* p = sky.image.pixels + static_cast<std::size_t>(r) * kSide;
            std::uint8_t* out =
                sky.image.displayImage.data() + static_cast<std::size_t>(r) * sky.image.paddedWidth;
            for (int c = 0; c < kSide; ++c) out[c] = static_cast<std::uint8_t>(p[c]);
        }
        benchmark::DoNotOptimize(sky.image.displayImage.data());
        benchmark::ClobberMemory();
    }
    Report(state);
}

// One rebuild (or limit computation) a pass over the same sky.
template <class Pass>
void Measure(benchmark::State& state, Pass pass) {
    Sky sky;
    for (auto _ : state) {
        pass(sky);
        benchmark::DoNotOptimize(sky.display.levels);
        benchmark::ClobberMemory();
    }
    Report(state);
}

void BM_ScaleLinear(benchmark::State& state) {
    Measure(state, [](Sky& s) { ScaleLinear(s.image, s.display.levels, s.host); });
}

void BM_ScaleLog(benchmark::State& state) {
    Measure(state, [](Sky& s) { ScaleLog(s.image, s.header, s.display, s.host); });
}

void BM_ScaleHiPass(benchmark::State& state) {
    Measure(state, [](Sky& s) { ScaleHiPass(s.image, s.host); });
}

void BM_ComputeHistogramLevels(benchmark::State& state) {
    Measure(state, [](Sky& s) { ComputeHistogramLevels(s.image, s.display.levels, s.host); });
}

BENCHMARK(BM_BaselineLowByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleHiPass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeHistogramLevels)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
