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

RegionOfInterest RoiAt(int xc, int yc, int size = 32) {
    RegionOfInterest roi;
    roi.xc = xc;
    roi.yc = yc;
    SetSmallRoi(roi, size == 16);
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

    RegionStats small = ComputeRegionStats(t.image, RoiAt(0, 0, 16));
    EXPECT_EQ(small.count, 8 * 9);  // rows 0 … 7, columns 0 … 8
}

TEST(Stats, TextShowsTrueValuesAndTheSampleRms) {
    // 12 pixels: eleven of 5 and one of 17. Mean 6, variance (564 + 432 − 864) / 11 = 12.
    TestImage t(64, 4, 5, 1000);
    t.At(2, 3) = 17;
    t.At(3, 0) = -500;  // just outside columns 0 … 2
    FakeHost host;
    ASSERT_TRUE(ShowStats(t.image, RoiAt(-14, 0), host));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Stats");
    EXPECT_EQ(host.messages[0].text,
              "Stats are: \n\nMin = 1005     Max = 1017\n\nMean = 1006.000\n\nRMS = 3.464"
              "\n\n# pixels = 12");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
}

TEST(Stats, UniformRegionHasZeroRms) {
    TestImage t(128, 128, -7, 32768);
    FakeHost host;
    ASSERT_TRUE(ShowStats(t.image, RoiAt(60, 60), host));
    EXPECT_EQ(host.messages[0].text,
              "Stats are: \n\nMin = 32761     Max = 32761\n\nMean = 32761.000\n\nRMS = 0.000"
              "\n\n# pixels = 1024");
}

TEST(Stats, FewerThanTwoPixelsIsRefused) {
    struct Case {
        int xc, yc;
        bool shown;
    } cases[] = {
        {-16, -15, false},         // only pixel (0, 0)
        {-15, -15, true},          // (0, 0) and (1, 0)
        {-100, 10, false},         // nothing of the image
        {63 + 15, 3 + 16, false},  // only the far corner (63, 3)
    };
    for (const Case& c : cases) {
        TestImage t(64, 4, 3);
        t.At(1, 0) = 4;
        FakeHost host;
        EXPECT_EQ(ShowStats(t.image, RoiAt(c.xc, c.yc), host), c.shown) << c.xc << "," << c.yc;
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].caption, "Stats");
        if (!c.shown) {
            EXPECT_EQ(host.messages[0].text, "error in evaluating RMS");
            EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
        }
    }
}

TEST(MaxMin, InnerScanKeepsAFivePixelMarginAndGlobalScanSeesAll) {
    TestImage t(64, 11, 0, 100);
    t.At(5, 5) = 50;   // first inner pixel
    t.At(58, 5) = 60;  // last inner column (width − 6)
    t.At(59, 5) = 70;  // margin
    t.At(4, 5) = -9;   // margin
    t.At(5, 4) = -30;  // margin row
    FakeHost host;
    ShowMaxMin(t.image, host);
    ShowGlobalMaxMin(t.image, host);
    EXPECT_EQ(host.MessageLines(),
              (std::vector<std::string>{"Max Min: Min = 100\t  Max = 160",
                                        "Global Max Min: Min = 70\t  Max = 170"}));
    EXPECT_EQ(host.maxWaitDepth, 1);
    EXPECT_EQ(host.waitDepth, 0);
}

TEST(MaxMin, ImageOfTenRowsVisitsNothing) {
    for (int height : {8, 10}) {
        TestImage t(64, height, 0, 5);
        t.At(30, 3) = -1234;
        t.At(31, 4) = 4321;
        FakeHost host;
        ShowMaxMin(t.image, host);
        ShowGlobalMaxMin(t.image, host);
        EXPECT_EQ(host.MessageLines(),
                  (std::vector<std::string>{"Max Min: Min = 32772\t  Max = -32763",
                                            "Global Max Min: Min = -1229\t  Max = 4326"}))
            << height;
    }
}

TEST(MaxMin, GlobalScanFindsExtremesAnywhere) {
    // The scan runs in blocks: extremes in the first, a middle and the last pixel, and in
    // a remainder shorter than a block.
    for (int width : {64, 65, 67}) {
        TestImage t(width, 5, 0);
        const int lastColumn = width - 1;
        for (auto [minAt, maxAt] :
             {std::pair{0, lastColumn}, std::pair{lastColumn, 0}, std::pair{33, 17}}) {
            std::fill(t.pixels.begin(), t.pixels.end(), std::int16_t{0});
            t.At(minAt, 4) = -32768;
            t.At(maxAt, 4) = 32767;
            Extremes e = GlobalExtremes(t.image);
            EXPECT_EQ(e.minimum, -32768) << width << " " << minAt;
            EXPECT_EQ(e.maximum, 32767) << width << " " << maxAt;
        }
    }
}

// One line of the table as it must read for bit b with the fraction of pixels having it.
std::string HistogramLine(int b, const char* set, const char* clear) {
    return std::string("   ") + (b < 10 ? " " : "") + std::to_string(b) + "         " + set +
           "       " + clear + "\n";
}

TEST(BitHistogram, WritesTheTableByteForByte) {
    test::TempDir dir;
    // −1 has bits 0 … 14 set; 0x4001 has bits 0 and 14; −32768 has only bit 15, which is
    // not counted.
    {
        TestImage t(64, 4, -1);
        FakeHost host;
        ASSERT_TRUE(WriteBitHistogram(t.image, dir.File("hist.out"), host));
        std::string expected = "/data/test.fit\n\n  Bit          1          0\n\n";
        for (int b = 0; b < 15; ++b) {
            expected += HistogramLine(b, "1.00", "0.00");
        }
        EXPECT_EQ(test::ReadBytes(dir.File("hist.out")), expected);
        EXPECT_EQ(host.paneHistory[0], (std::vector<std::string>{"Histogramming...", ""}));
    }
    {
        TestImage t(64, 4, -32768);
        std::fill(t.pixels.begin(), t.pixels.begin() + 64, std::int16_t{0x4001});
        FakeHost host;
        ASSERT_TRUE(WriteBitHistogram(t.image, dir.File("hist.out"), host));
        std::string expected = "/data/test.fit\n\n  Bit          1          0\n\n";
        for (int b = 0; b < 15; ++b) {
            expected += b == 0 || b == 14 ? HistogramLine(b, "0.25", "0.75")
                                          : HistogramLine(b, "0.00", "1.00");
        }
        EXPECT_EQ(test::ReadBytes(dir.File("hist.out")), expected);
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
    ToggleSmallRoi(program, host);
    EXPECT_TRUE(host.menu.smallRoiChecked);
    EXPECT_EQ(RegionBoxCursor(program), CursorShape::SmallBox);
    EXPECT_EQ((std::array{program.roi.width, program.roi.height, program.roi.side}),
              (std::array{16, 16, 16}));
    ToggleSmallRoi(program, host);
    EXPECT_FALSE(host.menu.smallRoiChecked);
    EXPECT_EQ(RegionBoxCursor(program), CursorShape::LargeBox);
    EXPECT_EQ((std::array{program.roi.width, program.roi.height, program.roi.side}),
              (std::array{32, 32, 32}));
}

TEST(StatisticsCommands, NeedAnImageAndF2NeedsNoMouseMode) {
    Program program;
    FakeHost host;
    RunStats(program, host);
    RunMaxMin(program, host);
    RunGlobalMaxMin(program, host);
    RunBitHistogram(program, host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.log.empty());

    std::vector<std::int16_t> pixels;
    test::AttachPixels(program.image, pixels, 64, 4, 1);
    program.shell.mouseMode = MouseMode::SetRoi;
    RunBitHistogram(program, host);
    EXPECT_TRUE(host.log.empty());  // no "Histogramming..." either
}

}  // namespace
}  // namespace corvane
