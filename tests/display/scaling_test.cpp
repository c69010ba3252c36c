#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "display/display_scaling.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

// One row of stored values, width 5 so that every display row carries 3 padding bytes.
struct Strip {
    std::vector<std::int16_t> pixels;
    ImageRecord image;
    HeaderRecord header{};
    test::FakeHost host;

    Strip(std::vector<std::int16_t> values, int width, int height, std::int32_t bzero = 0)
        : pixels(std::move(values)) {
        test::AttachPixels(image, pixels, width, height, bzero);
        // Garbage that every rebuild must overwrite (hi-pass spares its last row).
        std::fill(image.displayImage.begin(), image.displayImage.end(), std::uint8_t{0xAA});
    }
    int Byte(int column, int row) const {
        return image.displayImage[static_cast<std::size_t>(row * image.paddedWidth + column)];
    }
};

struct LinearCase {
    const char* name;
    std::int32_t low, high, bzero;
    std::int16_t stored;
    int expected;
};

TEST(ScaleLinear, MapsThroughTheHalvedTable) {
    const LinearCase cases[] = {
        {"equal limits: at the limit is black", 100, 100, 0, 100, 0},
        {"equal limits: one above is white", 100, 100, 0, 101, 192},
        {"equal limits: below is black", 100, 100, 0, 99, 0},
        {"low above high: at low is black", 500, 100, 0, 500, 0},
        {"low above high: above low is white", 500, 100, 0, 501, 192},
        {"low above high: between is black", 500, 100, 0, 300, 0},
        {"at low", 0, 300, 0, 0, 0},
        {"one below R stays below white", 0, 300, 0, 299, 191},
        {"at low + R", 0, 300, 0, 300, 192},
        {"far above", 0, 300, 0, 32767, 192},
        {"far below", 0, 300, 0, -32768, 0},
        {"middle", 0, 300, 0, 150, 96},
        {"truncates", 0, 300, 0, 2, 1},
        {"R 1000: 999 gives T[499]", 0, 1000, 0, 999, 191},
        {"R 1000: odd value uses v >> 1", 0, 1000, 0, 11, 1},
        {"R 511 is not halved", 0, 511, 0, 510, 191},
        {"R 512 is halved once", 0, 512, 0, 3, 0},
        {"bzero counts toward the true value", 32768, 33068, 32768, 150, 96},
        {"bzero: true value below low", 32768, 33068, 32768, -1, 0},
        {"widest manual range does not wrap", kMin32, kMax32, 0, 0, 96},
        {"widest reversed range does not wrap", kMax32, kMin32, 0, 0, 0},
    };
    for (const LinearCase& c : cases) {
        Strip s({c.stored, 0, 0, 0, 0}, 5, 1, c.bzero);
        ScaleLinear(s.image, {c.low, c.high}, s.host);
        EXPECT_EQ(s.Byte(0, 0), c.expected) << c.name;
        for (int pad = 5; pad < 8; ++pad) EXPECT_EQ(s.Byte(pad, 0), 0) << c.name;
    }
}

TEST(ScaleLinear, RunsTheProgressProtocolOneStepPerRow) {
    Strip s(std::vector<std::int16_t>(5 * 7, 10), 5, 7);
    // A readout left over. Built as a string: GCC 12 at -O3 takes the assignment of a
    // short literal here for an overlapping copy (-Wrestrict).
    s.host.panes[static_cast<int>(Pane::Readout)] = std::string("x");
    ScaleLinear(s.image, {0, 300}, s.host);
    EXPECT_EQ(s.host.paneHistory[static_cast<int>(Pane::Readout)].front(), "Scaling...");
    EXPECT_EQ(s.host.lastProgressRange, 7);
    EXPECT_EQ(s.host.progressSteps, 7);
    EXPECT_EQ(s.host.progressEnds, 1);
    EXPECT_EQ(s.host.panes[static_cast<int>(Pane::Readout)], "");
    EXPECT_EQ(s.host.maxWaitDepth, 1);
    EXPECT_EQ(s.host.waitDepth, 0);
    EXPECT_EQ(s.host.fullInvalidations, 0);
}

TEST(ScaleLog, TableValues) {
    struct Case {
        int multiplier;
        std::size_t index;
        int expected;
    };
    // 1.77 × m × (ln i)²: ln 2 = 0.693 gives 0.85; ln 10 = 2.303 gives 9.38;
    // m 2 reaches 192 at 1580 (191.997 at 1579), m 4 at 183 (191.74 at 182).
    const Case cases[] = {
        {1, 0, 0},    {1, 1, 0},       {1, 2, 0},      {1, 10, 9},     {1, 32767, 191},
        {2, 10, 18},  {2, 1579, 191},  {2, 1580, 192}, {4, 182, 191},  {4, 183, 192},
        {4, 32767, 192},
    };
    for (const Case& c : cases) {
        DisplayState display;
        display.logMultiplier = c.multiplier;
        Strip s({0, 0, 0, 0, 0}, 5, 1);
        ScaleLog(s.image, s.header, display, s.host);
        EXPECT_EQ(display.logTable[c.index], c.expected)
            << "m " << c.multiplier << " T[" << c.index << "]";
        EXPECT_EQ(display.logMultiplier, 1);
    }
}

TEST(ScaleLog, UnsignedDataWithBzero32768InAllThreeModes) {
    // True values bias, bias + 1, bias + 2, bias + 10, 65535, and one below the bias where
    // there is room. With bias 0 the base bzero − bias is 32768, one past 16 bits.
    struct Case {
        int multiplier;
        int expected[5];
    };
    const Case cases[] = {
        {1, {0, 0, 0, 9, 191}},
        {2, {0, 0, 1, 18, 192}},
        {4, {0, 0, 3, 37, 192}},
    };
    for (float bias : {0.0f, 100.7f, 0.9f}) {
        const int b = static_cast<int>(bias);
        for (const Case& c : cases) {
            std::vector<std::int16_t> stored;
            for (int value : {b, b + 1, b + 2, b + 10, 65535, b > 0 ? b - 1 : 0}) {
                stored.push_back(static_cast<std::int16_t>(value - 32768));
            }
            Strip s(stored, 6, 1, 32768);
            s.header.biasLevel = bias;
            DisplayState display;
            display.logMultiplier = c.multiplier;
            ScaleLog(s.image, s.header, display, s.host);
            for (int col = 0; col < 5; ++col) {
                EXPECT_EQ(s.Byte(col, 0), c.expected[col])
                    << "bias " << bias << " m " << c.multiplier << " col " << col;
            }
            EXPECT_EQ(s.Byte(5, 0), 0) << "bias " << bias;
            EXPECT_EQ(s.Byte(6, 0), 0);
            EXPECT_EQ(s.Byte(7, 0), 0);
        }
    }
}

TEST(ScaleLog, BiasLevelThatIsNotANumberCountsAsZero) {
    for (float bias : {std::nanf(""), std::numeric_limits<float>::infinity(), -1e30f}) {
        Strip s({10, -1, 0, 0, 0}, 5, 1);
        s.header.biasLevel = bias;
        DisplayState display;
        ScaleLog(s.image, s.header, display, s.host);
        const bool finite = std::isfinite(bias);
        // A huge negative bias raises every index past the table: its last entry.
        EXPECT_EQ(s.Byte(0, 0), finite ? 191 : 9) << bias;
        EXPECT_EQ(s.Byte(1, 0), finite ? 191 : 0) << bias;
    }
}

TEST(ScaleHiPass, DiagonalDifferenceAroundGrey96) {
    // 4 columns × 3 rows. Row 2 is the last row and keeps its previous bytes.
    struct Case {
        const char* name;
        std::int16_t upperLeft, lowerRight;
        int expected;
    };
    const Case cases[] = {
        {"flat", 500, 500, 96},     {"step +95", 0, 95, 191},  {"step +96", 0, 96, 192},
        {"step +500", 0, 500, 192}, {"step -95", 95, 0, 1},    {"step -96", 96, 0, 0},
        {"full range", -32768, 32767, 192}, {"full range down", 32767, -32768, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::int16_t> v(12, 7);
        v[0] = c.upperLeft;  // (0, 0)
        v[5] = c.lowerRight; // (1, 1)
        Strip s(v, 4, 3);
        ScaleHiPass(s.image, s.host);
        EXPECT_EQ(s.Byte(0, 0), c.expected) << c.name;
        EXPECT_EQ(s.Byte(2, 0), 96) << c.name;
        for (int col = 0; col < 4; ++col) EXPECT_EQ(s.Byte(col, 2), 0xAA) << c.name;
        EXPECT_EQ(s.host.paneHistory[static_cast<int>(Pane::Readout)].front(), "Filtering...");
        EXPECT_EQ(s.host.progressSteps, 2) << c.name;
    }
}

TEST(ScaleHiPass, LastColumnComparesWithThePixelBelow) {
    // Width 5; the last column of row 0 sees (4, 1), never (0, 2) which follows it in
    // memory. On the last pair of rows a lower-right neighbour would lie past the array.
    std::vector<std::int16_t> v(15, 0);
    v[1 * 5 + 4] = 40;    // below (4, 0)
    v[2 * 5 + 0] = 1000;  // the pixel after (4, 1) in memory
    v[2 * 5 + 4] = -50;   // below (4, 1)
    Strip s(v, 5, 3);
    ScaleHiPass(s.image, s.host);
    EXPECT_EQ(s.Byte(4, 0), 96 + 40);
    EXPECT_EQ(s.Byte(4, 1), 96 - 50 - 40);
    EXPECT_EQ(s.Byte(3, 1), 96 - 50);  // (3, 1) against (4, 2)
    for (int pad = 5; pad < 8; ++pad) EXPECT_EQ(s.Byte(pad, 0), 0);
}

}  // namespace
}  // namespace corvane
