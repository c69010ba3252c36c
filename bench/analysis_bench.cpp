// Median filter, Global Max Min and Stats on a 4096 × 4096 image, beside a memcpy of the
// same pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "analysis/median_filter.h"
#include "analysis/statistics.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

constexpr int kSide = 4096;

// A sky of about 1000 counts with noise and scattered hot pixels.
const std::vector<std::int16_t>& SkyPixels() {
    static const std::vector<std::int16_t> pixels = [] {
        std::vector<std::int16_t> p(static_cast<std::size_t>(kSide) * kSide);
        std::mt19937 random(7);
        std::normal_distribution<double> noise(1000, 30);
        for (auto& v : p) {
            v = static_cast<std::int16_t>(noise(random));
        }
        for (std::size_t i = 0; i < p.size(); i += 997) {
            p[i] = 30000;
        }
        return p;
    }();
    return pixels;
}

ImageRecord ImageOver(std::vector<std::int16_t>& pixels) {
    ImageRecord image;
    image.width = kSide;
    image.height = kSide;
    image.pixels = pixels.data();
    image.loaded = true;
    return image;
}

// The filter as first defined: each median held back one step before it is written.
void OneStepLateMedian(std::int16_t* row, int width) {
    if (width < 4) {
        return;
    }
    std::int16_t held = row[1];
    for (int c = 2; c <= width - 2; ++c) {
        const std::int16_t l = row[c - 1], m = row[c], r = row[c + 1];
        const std::int16_t med = std::max(std::min(l, m), std::min(std::max(l, m), r));
        row[c - 1] = held;
        held = med;
    }
    row[width - 2] = held;
}

void BM_MemcpyBaseline(benchmark::State& state) {
    const std::vector<std::int16_t>& source = SkyPixels();
    std::vector<std::int16_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(std::int16_t));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(source.size() * sizeof(std::int16_t)));
}
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);

void BM_MedianFilter(benchmark::State& state) {
    std::vector<std::int16_t> pixels = SkyPixels();
    ImageRecord image = ImageOver(pixels);
    test::FakeHost host;
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(SkyPixels().begin(), SkyPixels().end(), pixels.begin());
        state.ResumeTiming();
        MedianFilter(image, host);
        benchmark::ClobberMemory();
    }
    std::vector<std::int16_t> reference = SkyPixels();
    for (int row = 0; row < kSide; ++row) {
        OneStepLateMedian(reference.data() + static_cast<std::size_t>(row) * kSide, kSide);
    }
    state.counters["identical"] = reference == pixels ? 1 : 0;
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(pixels.size() * sizeof(std::int16_t)));
}
BENCHMARK(BM_MedianFilter)->Unit(benchmark::kMillisecond);

void BM_OneStepLateMedian(benchmark::State& state) {
    std::vector<std::int16_t> pixels = SkyPixels();
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(SkyPixels().begin(), SkyPixels().end(), pixels.begin());
        state.ResumeTiming();
        for (int row = 0; row < kSide; ++row) {
            OneStepLateMedian(pixels.data() + static_cast<std::size_t>(row) * kSide, kSide);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OneStepLateMedian)->Unit(benchmark::kMillisecond);

void BM_GlobalMaxMin(benchmark::State& state) {
    std::vector<std::int16_t> pixels = SkyPixels();
    const ImageRecord image = ImageOver(pixels);
    for (auto _ : state) {
        benchmark::DoNotOptimize(GlobalExtremes(image));
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(pixels.size() * sizeof(std::int16_t)));
}
BENCHMARK(BM_GlobalMaxMin)->Unit(benchmark::kMillisecond);

void BM_Stats(benchmark::State& state) {
    std::vector<std::int16_t> pixels = SkyPixels();
    const ImageRecord image = ImageOver(pixels);
    RegionOfInterest roi;
    roi.xc = kSide / 2;
    roi.yc = kSide / 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeRegionStats(image, roi));
    }
}
BENCHMARK(BM_Stats)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvane
