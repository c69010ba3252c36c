#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/display_scaling.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane {
namespace {

// 64 × 4 unsigned data stored with bzero 32768: the true value of (c, r) is 10 c + r.
struct LoadedImage {
    std::vector<std::int16_t> pixels;
    ImageRecord image;
    HeaderRecord header{};
    DisplayState display;
    test::FakeHost host;

    explicit LoadedImage(std::int32_t mode) : pixels(64 * 4) {
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 64; ++c) {
                pixels[static_cast<std::size_t>(r * 64 + c)] =
                    static_cast<std::int16_t>(10 * c + r - 32768);
            }
        }
        test::AttachPixels(image, pixels, 64, 4, 32768);
        display.mode = mode;
        RescaleAfterLoad(image, header, display, host);
    }
    int Byte(int column, int row) const {
        return image.displayImage[static_cast<std::size_t>(row * image.paddedWidth + column)];
    }
};

TEST(RescaleAfterLoad, EveryModeOnUnsignedData) {
    struct Probe {
        int column, row, expected;
    };
    struct Case {
        std::int32_t mode;
        DisplayLevels levels;  // after the load
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // Samples are columns 0, 4, … 60 of every row: the 7th smallest is 42, the 64th 603.
        {kModeHistogram, {42, 603}, {{4, 2, 0}, {60, 3, 192}, {30, 0, (192 * 258) / 561}}},
        // Logarithmic above bias 0: true value 10 is T[10].
        {kModeLog, {0, 300}, {{1, 0, 9}, {0, 0, 0}, {0, 1, 0}}},
        // 3.54 × (ln 633)² = 147.4.
        {kModeLogTimes2, {0, 300}, {{1, 0, 18}, {63, 3, 147}}},
        {kModeLogTimes4, {0, 300}, {{1, 0, 37}, {20, 0, 192}}},
        // Lower-right neighbour is 11 higher; the last column compares with the pixel
        // below (1 higher); the last row stays as the loader zeroed it.
        {kModeHiPass, {0, 300}, {{0, 0, 107}, {62, 2, 107}, {63, 0, 97}, {0, 3, 0}, {63, 3, 0}}},
        {kModeManual, {0, 300}, {{15, 0, 96}, {30, 0, 192}, {0, 0, 0}}},
        // Columns 2 … 60 of row 1.
        {kModeMinMax, {21, 601}, {{2, 1, 0}, {60, 1, 192}}},
        // Only 4 rows: nothing is sampled and the whole image is black.
        {kModeFshow, {65535, 0}, {{63, 3, 0}, {32, 2, 0}}},
    };
    for (const Case& c : cases) {
        LoadedImage l(c.mode);
        EXPECT_EQ(l.display.levels.low, c.levels.low) << "mode " << c.mode;
        EXPECT_EQ(l.display.levels.high, c.levels.high) << "mode " << c.mode;
        EXPECT_EQ(l.display.mode, c.mode);
        EXPECT_EQ(l.display.logMultiplier, 1) << "mode " << c.mode;
        EXPECT_EQ(l.display.bitmapHeader.width, 64);
        EXPECT_EQ(l.display.bitmapHeader.height, -4);
        for (const Probe& p : c.probes) {
            EXPECT_EQ(l.Byte(p.column, p.row), p.expected)
                << "mode " << c.mode << " at (" << p.column << ", " << p.row << ")";
        }
    }
}

}  // namespace
}  // namespace corvane
