#include "analysis/statistics.h"

#include <gtest/gtest.h>

#include "analysis/test_image.h"
#include "app/analysis_commands.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::FakeHost;
using test::TestImage;

RegionOfInterest RoiAt(int xc, int yc, bool small = false) {
    RegionOfInterest roi;
    roi.xc = xc;
    roi.yc = yc;
    SetSmallRoi(roi, small);
    return roi;
}

TEST(Stats, RegionAtTheCornerTakesRowsUpToFifteenAndColumnsUpToSixteen) {
    TestImage t(64, 64, 10);
    t.At(16, 15) = 900;  // last row and column of the region
    t.At(17, 0) = 999;   // one column too far
    t.At(0, 16) = 999;   // one row too far
    RegionStats s = ComputeRegionStats(t.image, RoiAt(0, 0));
    EXPECT_EQ(s.count, 16 * 17);
    EXPECT_EQ(s.maximum, 900);
    EXPECT_EQ(ComputeRegionStats(t.image, RoiAt(0, 0, true)).count, 8 * 9);
}

TEST(Stats, TextShowsTrueValuesAndTheSampleRms) {
    struct Case {
        int xc, yc;
        std::int32_t bzero;
        const char* text;
    } cases[] = {
        // Columns 0 … 2, rows 0 … 3: eleven of 5 and one of 17; mean 6, variance
        // (564 + 432 − 864) / 11 = 12.
        {-14, 0, 1000,
         "Stats are: \n\nMin = 1005     Max = 1017\n\nMean = 1006.000\n\nRMS = 3.464"
         "\n\n# pixels = 12"},
        // Columns 30 … 61: a uniform region.
        {45, 2, 32768,
         "Stats are: \n\nMin = 32773     Max = 32773\n\nMean = 32773.000\n\nRMS = 0.000"
         "\n\n# pixels = 128"},
    };
    for (const Case& c : cases) {
        TestImage t(64, 4, 5, c.bzero);
        t.At(2, 3) = 17;
        t.At(3, 0) = -500;  // between the two regions
        FakeHost host;
        ASSERT_TRUE(ShowStats(t.image, RoiAt(c.xc, c.yc), host));
        EXPECT_EQ(host.MessageLines(), std::vector<std::string>{std::string("Stats: ") + c.text});
        EXPECT_EQ(host.messages[0].icon, MessageIcon::None);
    }
}

TEST(Stats, FewerThanTwoPixelsIsRefused) {
    struct Case {
        int xc, yc;
        bool shown;
    } cases[] = {
        {-16, -15, false},  // only pixel (0, 0)
        {-15, -15, true},   // (0, 0) and (1, 0)
        {-100, 10, false},  // nothing of the image
        {78, 19, false},    // only the far corner (63, 3)
    };
    for (const Case& c : cases) {
        TestImage t(64, 4, 3);
        t.At(1, 0) = 4;
        FakeHost host;
        EXPECT_EQ(ShowStats(t.image, RoiAt(c.xc, c.yc), host), c.shown) << c.xc << "," << c.yc;
        ASSERT_EQ(host.messages.size(), 1u);
        if (!c.shown) {
            EXPECT_EQ(host.MessageLines()[0], "Stats: error in evaluating RMS");
            EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
        }
    }
}

TEST(MaxMin, InnerScanKeepsAFivePixelMarginAndGlobalScanSeesAll) {
    struct Case {
        int height;
        const char* inner;
        const char* global;
    } cases[] = {
        {11, "Max Min: Min = 100\t  Max = 160", "Global Max Min: Min = 70\t  Max = 170"},
        // 10 rows or fewer: nothing inside the margin.
        {10, "Max Min: Min = 32867\t  Max = -32668", "Global Max Min: Min = 70\t  Max = 170"},
    };
    for (const Case& c : cases) {
        TestImage t(64, c.height, 0, 100);
        t.At(5, 5) = 50;   // first inner pixel
        t.At(58, 5) = 60;  // last inner column (width − 6)
        t.At(59, 5) = 70;  // margin
        t.At(4, 5) = -9;   // margin
        t.At(5, 4) = -30;  // margin row
        FakeHost host;
        ShowMaxMin(t.image, host);
        ShowGlobalMaxMin(t.image, host);
        EXPECT_EQ(host.MessageLines(), (std::vector<std::string>{c.inner, c.global}));
        EXPECT_EQ(host.maxWaitDepth, 1);
        EXPECT_EQ(host.waitDepth, 0);
    }
}

TEST(MaxMin, GlobalScanFindsExtremesInEveryBlockAndTheRemainder) {
    for (int width : {64, 65, 67}) {
        for (int at : {0, 17, width - 1}) {
            TestImage t(width, 5, 0);
            t.At(at, 4) = -32768;
            t.At(width - 1 - at, 4) = 32767;
            Extremes e = GlobalExtremes(t.image);
            EXPECT_EQ((std::array{e.minimum, e.maximum}), (std::array{-32768, 32767}))
                << width << " " << at;
        }
    }
}

// One line of the table for bit b.
std::string HistogramLine(int b, const char* set, const char* clear) {
    return std::string("   ") + (b < 10 ? " " : "") + std::to_string(b) + "         " + set +
           "       " + clear + "\n";
}

TEST(BitHistogram, WritesTheTableByteForByte) {
    test::TempDir dir;
    // −1 has bits 0 … 14 set; 0x4001 bits 0 and 14; −32768 only bit 15, which is not counted.
    TestImage ones(64, 4, -1);
    TestImage mixed(64, 4, -32768);
    std::fill(mixed.pixels.begin(), mixed.pixels.begin() + 64, std::int16_t{0x4001});
    std::string expectOnes = "/data/test.fit\n\n  Bit          1          0\n\n";
    std::string expectMixed = expectOnes;
    for (int b = 0; b < 15; ++b) {
        expectOnes += HistogramLine(b, "1.00", "0.00");
        expectMixed +=
            b == 0 || b == 14 ? HistogramLine(b, "0.25", "0.75") : HistogramLine(b, "0.00", "1.00");
    }
    for (auto [image, expected] :
         {std::pair{&ones.image, expectOnes}, std::pair{&mixed.image, expectMixed}}) {
        FakeHost host;
        ASSERT_TRUE(WriteBitHistogram(*image, dir.File("hist.out"), host));
        EXPECT_EQ(test::ReadBytes(dir.File("hist.out")), expected);
        EXPECT_EQ(host.paneHistory[0], (std::vector<std::string>{"Histogramming...", ""}));
    }
}

TEST(BitHistogram, FileThatCannotBeWrittenIsReported) {
    test::TempDir dir;
    TestImage t(64, 4, 1);
    FakeHost host;
    const std::string target = dir.File("missing/hist.out");
    EXPECT_FALSE(WriteBitHistogram(t.image, target, host));
    EXPECT_EQ(host.MessageLines(),
              std::vector<std::string>{"MSG 127: Error in writing file " + target});
    EXPECT_EQ(host.panes[0], "");
}

TEST(SmallRoi, TogglingTwiceReturnsEverySizeTo32) {
    Program program;
    FakeHost host;
    for (int size : {16, 32}) {
        ToggleSmallRoi(program, host);
        EXPECT_EQ(host.menu.smallRoiChecked, size == 16);
        EXPECT_EQ(RegionBoxCursor(program),
                  size == 16 ? CursorShape::SmallBox : CursorShape::LargeBox);
        EXPECT_EQ((std::array{program.roi.width, program.roi.height, program.roi.side}),
                  (std::array{size, size, size}));
    }
}

TEST(StatisticsCommands, NeedAnImageAndF2NeedsNoMouseMode) {
    Program program;
    FakeHost host;
    RunStats(program, host);
    RunMaxMin(program, host);
    RunGlobalMaxMin(program, host);
    RunBitHistogram(program, host);
    std::vector<std::int16_t> pixels;
    test::AttachPixels(program.image, pixels, 64, 4, 1);
    program.shell.mouseMode = MouseMode::SetRoi;
    RunBitHistogram(program, host);
    EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace corvane
