#include "analysis/median_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "analysis/test_image.h"
#include "app/analysis_commands.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

using Row = std::vector<std::int16_t>;

Row Filtered(Row row) {
    MedianFilterRow(row.data(), static_cast<int>(row.size()));
    return row;
}

TEST(MedianFilter, RowsFromTheirDefinition) {
    struct Case {
        Row in, out;
    } cases[] = {
        {{10, 50, 10, 10, 10}, {10, 50, 10, 10, 10}},  // columns 0, 1 and 4 keep their values
        {{0, 0, 100, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},  // monotone
        // Each median comes from unfiltered neighbours: 9 → 1 must not make column 3 see 1.
        {{0, 0, 9, 1, 9, 0, 0}, {0, 0, 1, 9, 1, 0, 0}},
        {{-32768, 32767, -32768, 32767, -32768}, {-32768, 32767, 32767, -32768, -32768}},
        {{5, 1, 7, 3}, {5, 1, 3, 3}},  // width 4: only column 2
        {{1, 2, 3}, {1, 2, 3}},        // 3 pixels wide: unchanged
        {{9, 1}, {9, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Filtered(c.in), c.out) << ::testing::PrintToString(c.in);
    }
}

TEST(MedianFilter, FilteringTwiceCanChangeTheImageAgain) {
    Row once = Filtered({0, 0, 5, 9, 0, 9, 0, 0});
    EXPECT_EQ(once, (Row{0, 0, 5, 5, 9, 0, 0, 0}));
    EXPECT_EQ(Filtered(once), (Row{0, 0, 5, 5, 5, 0, 0, 0}));
}

// Each column 2 … width − 2 gets the median of the unfiltered values around it.
Row MediansOfUnfilteredValues(const Row& in) {
    Row out = in;
    for (std::size_t c = 2; c + 2 <= in.size(); ++c) {
        std::int16_t w[3] = {in[c - 1], in[c], in[c + 1]};
        std::sort(w, w + 3);
        out[c] = w[1];
    }
    return out;
}

TEST(MedianFilter, LongRowsMatchTheMedianOfUnfilteredNeighbours) {
    // Widths around the lengths the filter works in, with the full value range.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::uniform_int_distribution<int> small(0, 3);
    for (int width :
         {4, 5, 63, 64, 255, 256, 257, 258, 259, 260, 511, 512, 513, 514, 515, 1000, 4096}) {
        for (bool fewValues : {false, true}) {
            Row row(static_cast<std::size_t>(width));
            for (auto& v : row) {
                v = static_cast<std::int16_t>(fewValues ? small(random) : value(random));
            }
            EXPECT_EQ(Filtered(row), MediansOfUnfilteredValues(row)) << width;
        }
    }
}

TEST(MedianFilterCommand, FiltersUnderProgressThenRebuildsTheDisplayAndRepaintsAll) {
    Program program;
    test::FakeHost host;
    int rescales = 0;
    AnalysisDisplay display;
    display.rescaleLinear = [&rescales] { ++rescales; };
    RunMedianFilter(program, host, display);  // no image: nothing
    EXPECT_TRUE(host.log.empty());

    std::vector<std::int16_t> pixels;
    test::AttachPixels(program.image, pixels, 64, 5, 3);
    pixels[3 * 64 + 10] = 700;  // an isolated hot pixel
    pixels[2 * 64 + 1] = 700;   // column 1 is never filtered
    RunMedianFilter(program, host, display);
    EXPECT_EQ(pixels[3 * 64 + 10], 3);
    EXPECT_EQ(pixels[2 * 64 + 1], 700);
    EXPECT_EQ(host.paneHistory[0].front(), "Median filtering...");
    EXPECT_EQ(host.panes[0], "");
    EXPECT_EQ((std::array{host.lastProgressRange, host.progressSteps, host.progressEnds}),
              (std::array{5, 5, 1}));
    EXPECT_EQ((std::array{host.maxWaitDepth, host.waitDepth}), (std::array{1, 0}));
    EXPECT_EQ(rescales, 1);
    EXPECT_EQ(host.log.back(), "invalidate");
}

}  // namespace
}  // namespace corvane
