#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/display_levels.h"
#include "display/display_scaling.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane {
namespace {

struct Grid {
    std::vector<std::int16_t> pixels;
    ImageRecord image;
    int width;

    Grid(int w, int h, std::int16_t fill, std::int32_t bzero = 0)
        : pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill), width(w) {
        test::AttachPixels(image, pixels, w, h, bzero);
    }
    std::int16_t& At(int column, int row) {
        return pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(column)];
    }
};

struct Probe {
    int column, row;
    bool sampled;
};

struct SampleCase {
    const char* name;
    int width, height;
    std::vector<Probe> probes;
};

// Each probe in turn carries a bright value on a flat image: a sampled probe raises the
// high limit, an unsampled one leaves it at the background (true 1010).
void ExpectSampling(const SampleCase& c, void (*compute)(const ImageRecord&, DisplayLevels&)) {
    for (const Probe& p : c.probes) {
        Grid g(c.width, c.height, 10, 1000);
        g.At(p.column, p.row) = 5000;
        DisplayLevels levels{-1, -1};
        compute(g.image, levels);
        EXPECT_EQ(levels.high, p.sampled ? 6000 : 1010)
            << c.name << " (" << p.column << ", " << p.row << ")";
    }
}

TEST(ComputeMinMaxLevels, CoarseGridInsideTheMargins) {
    const SampleCase cases[] = {
        // sx = sy = 8: columns and rows 8, 16, … 240 (below 256 − 8 − 1).
        {"256 x 256", 256, 256, {{8, 8, true}, {240, 240, true}, {248, 8, false},
                                  {8, 248, false}, {9, 8, false}, {0, 0, false}}},
        // sx = 2, sy = 64 / 32 = 2: columns 2 … 60, rows 2 … 60.
        {"64 x 64", 64, 64, {{2, 2, true}, {60, 60, true}, {62, 2, false}, {3, 2, false}}},
        // Fewer than 32 rows: every row inside the margins, 1 … height − 3.
        {"64 x 8", 64, 8, {{2, 1, true}, {60, 5, true}, {60, 6, false}, {2, 0, false},
                             {61, 3, false}}},
        {"64 x 4", 64, 4, {{2, 1, true}, {2, 2, false}, {2, 3, false}}},
        // Narrower than 32 columns too: every column 1 … width − 3.
        {"20 x 20", 20, 20, {{1, 1, true}, {17, 17, true}, {18, 1, false}, {1, 18, false},
                               {9, 9, true}}},
    };
    for (const SampleCase& c : cases) ExpectSampling(c, ComputeMinMaxLevels);
}

TEST(ComputeFshowLevels, OnePixelIn32x32InsideAFrameOf50) {
    const SampleCase cases[] = {
        // (150 − 70) div 32 = 2 rows: 50, 82; (200 − 70) div 32 = 4 columns: 50 … 146.
        {"200 x 150", 200, 150, {{50, 50, true}, {146, 82, true}, {178, 50, false},
                                   {50, 114, false}, {51, 50, false}}},
        {"102 x 102", 102, 102, {{50, 50, true}, {82, 50, false}}},
    };
    for (const SampleCase& c : cases) ExpectSampling(c, ComputeFshowLevels);
}

TEST(ComputeFshowLevels, ImageOf101RowsOrColumnsShowsBlack) {
    for (auto [w, h] : {std::pair{101, 300}, std::pair{300, 101}, std::pair{64, 4}}) {
        Grid g(w, h, 32767, 32768);
        DisplayLevels levels;
        ComputeFshowLevels(g.image, levels);
        EXPECT_EQ(levels.low, 32767 + 32768);
        EXPECT_EQ(levels.high, -32768 + 32768);
        test::FakeHost host;
        ScaleLinear(g.image, levels, host);
        for (int row = 0; row < h; ++row) {
            for (int col = 0; col < w; ++col) {
                ASSERT_EQ(g.image.displayImage[static_cast<std::size_t>(
                              row * g.image.paddedWidth + col)],
                          0);
            }
        }
    }
}

TEST(ComputeHistogramLevels, PercentilesOfEveryFourthPixel) {
    // 64 × 4: the samples are pixels 0, 4, … 252, holding 0 … 63; every other pixel is far
    // off. Thresholds 0.025 × 256 = 6.4 and 0.2495 × 256 = 63.87 samples: L is the 7th
    // smallest sample, H the 64th.
    for (std::int32_t bzero : {0, 32768}) {
        Grid g(64, 4, 30000, bzero);
        for (int k = 0; k < 64; ++k) g.pixels[static_cast<std::size_t>(4 * k)] =
            static_cast<std::int16_t>(k - 100);
        test::FakeHost host;
        DisplayLevels levels;
        ComputeHistogramLevels(g.image, levels, host);
        EXPECT_EQ(levels.low, 6 - 100 + bzero);
        EXPECT_EQ(levels.high, 63 - 100 + bzero);
        EXPECT_EQ(host.paneHistory[static_cast<int>(Pane::Readout)],
                  (std::vector<std::string>{"Sorting...", ""}));
        EXPECT_EQ(host.progressBegins, 0);
    }
}

TEST(ComputeHistogramLevels, FlatImageGivesARangeOfOne) {
    for (std::int16_t value : {std::int16_t{-32768}, std::int16_t{0}, std::int16_t{32766}}) {
        Grid g(64, 4, value);
        test::FakeHost host;
        DisplayLevels levels;
        ComputeHistogramLevels(g.image, levels, host);
        EXPECT_EQ(levels.low, value);
        EXPECT_EQ(levels.high, value + 1);
    }
    // At the top of the range there is no next counter.
    Grid g(64, 4, 32767);
    test::FakeHost host;
    DisplayLevels levels;
    ComputeHistogramLevels(g.image, levels, host);
    EXPECT_EQ(levels.low, 32767);
    EXPECT_EQ(levels.high, 32767);
}

TEST(ComputeHistogramLevels, ReadsOnlyTheFirstTwoMillionPixels) {
    // Half of a 2000 × 2000 image lies past pixel 2,000,000 and is very dark; counted, it
    // would pull the low limit down to it.
    Grid g(2000, 2000, -30000);
    std::fill(g.pixels.begin(), g.pixels.begin() + 2000000, std::int16_t{100});
    for (std::size_t i = 1992000; i < 2000000; ++i) g.pixels[i] = 200;
    test::FakeHost host;
    DisplayLevels levels;
    ComputeHistogramLevels(g.image, levels, host);
    EXPECT_EQ(levels.low, 100);
    // 498,000 of the 500,000 samples are 100: the high threshold 0.2495 × n = 499,000 is
    // met only at the 2,000 samples of 200.
    EXPECT_EQ(levels.high, 200);
}

}  // namespace
}  // namespace corvane
