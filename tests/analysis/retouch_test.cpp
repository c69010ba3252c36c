#include "analysis/retouch.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "analysis/test_image.h"
#include "app/analysis_commands.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

using test::FakeHost;
using test::TestImage;
using Pixels = std::vector<std::int16_t>;

// The display side as the commands see it, recording what they ask for.
struct DisplayLog {
    std::vector<std::pair<int, int>> refreshed;
    std::vector<std::array<int, 3>> invalidated;  // column, row, size
    int closeUpRepaints = 0;
    int failAfter = -1;  // refreshes that succeed before one fails; −1: none fails

    AnalysisDisplay Display() {
        AnalysisDisplay d;
        d.refreshPixel = [this](int column, int row) {
            refreshed.emplace_back(column, row);
            return failAfter < 0 || static_cast<int>(refreshed.size()) <= failAfter;
        };
        d.invalidatePixelArea = [this](int column, int row, int size) {
            invalidated.push_back({column, row, size});
        };
        d.repaintCloseUp = [this] { ++closeUpRepaints; };
        return d;
    }
    PixelRefresh Refresh() { return Display().refreshPixel; }
};

// A loaded image in a Program, with the hosts the commands talk to.
struct CommandFixture {
    Program program;
    Pixels pixels;
    FakeHost host;
    DisplayLog display;

    CommandFixture(int width, int height, std::int16_t fill, std::int32_t bzero = 0) {
        test::AttachPixels(program.image, pixels, width, height, fill, bzero);
    }
    std::int16_t& At(int column, int row) {
        return pixels[static_cast<std::size_t>(row * program.image.width + column)];
    }
    void Press(std::optional<std::string> value) {
        std::optional<EditPixelDialogFields> press;
        if (value) {
            press.emplace().value = *value;
        }
        host.editPixelDialogScript.push_back(press);
    }
};

TEST(EditPixel, EntryLessBzeroMustFitAStoredValue) {
    struct Case {
        const char* entry;
        std::int32_t bzero;
        std::optional<std::int16_t> stored;
    } cases[] = {
        {"0", 32767, -32767},
        {"65535", 32767, std::nullopt},  // 32768 after bzero
        {"-1", 32767, -32768},
        {"-2", 32767, std::nullopt},
        {"  12 ", 0, 12},
        {"12a", 0, std::nullopt},
        {"1.5", 0, std::nullopt},
        {"", 0, std::nullopt},
        {"-", 0, std::nullopt},
        {"99999999999", 0, std::nullopt},
        {"2147483647", -2147483647, std::nullopt},  // the difference needs 64 bits
        {"-2147483648", std::numeric_limits<std::int32_t>::min(), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditPixelStoredValue(c.entry, c.bzero), c.stored)
            << '"' << c.entry << "\" bzero " << c.bzero;
    }
}

TEST(EditPixel, DialogStaysOpenUntilAValidEntryThenStoresItAndRefreshes) {
    CommandFixture f(64, 4, 0, 100);
    f.At(5, 2) = 7;
    StartEditPixel(f.program, f.host);
    EXPECT_EQ(f.host.panes[1], "Click on pixel to change");
    f.Press("abc");
    f.Press("32868");  // 32768 after bzero: out of range, no message
    f.Press("250");
    EditPixelClick(f.program, f.host, f.display.Display(), 5, 2);

    ASSERT_EQ(f.host.editPixelDialogOpenings.size(), 1u);
    const EditPixelDialogFields& opened = f.host.editPixelDialogOpenings[0];
    EXPECT_EQ((std::array{opened.column, opened.row}), (std::array{5, 2}));
    EXPECT_EQ(opened.value, "107");
    EXPECT_TRUE(f.host.editPixelDialogScript.empty());
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_EQ(f.At(5, 2), 150);
    EXPECT_EQ(f.display.refreshed, (std::vector<std::pair<int, int>>{{5, 2}}));
    EXPECT_EQ(f.display.invalidated, (std::vector<std::array<int, 3>>{{5, 2, 2}}));
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(f.host.cursor, CursorShape::Cross);
    EXPECT_EQ(f.host.panes[1], "");
}

TEST(EditPixel, CancelSameValueFailedRefreshAndClicksBesideTheImage) {
    struct Case {
        const char* name;
        int column, row;
        std::optional<std::string> press;
        int failAfter;
        std::int16_t stored;
        std::size_t refreshes, invalidations;
        MouseMode modeAfter;
    } cases[] = {
        {"cancel", 5, 2, std::nullopt, -1, 7, 0, 0, MouseMode::None},
        {"same value", 5, 2, "107", -1, 7, 1, 1, MouseMode::None},
        {"failed refresh", 5, 2, "-5", 0, -105, 1, 0, MouseMode::None},
        // A click that addresses no pixel leaves the mode waiting for one that does.
        {"right of the image", 64, 2, "1", -1, 7, 0, 0, MouseMode::EditPixel},
        {"above the image", 5, -1, "1", -1, 7, 0, 0, MouseMode::EditPixel},
    };
    for (const Case& c : cases) {
        CommandFixture f(64, 4, 0, 100);
        f.At(5, 2) = 7;
        StartEditPixel(f.program, f.host);
        f.display.failAfter = c.failAfter;
        f.Press(c.press);
        EditPixelClick(f.program, f.host, f.display.Display(), c.column, c.row);
        EXPECT_EQ(f.At(5, 2), c.stored) << c.name;
        EXPECT_EQ(f.display.refreshed.size(), c.refreshes) << c.name;
        EXPECT_EQ(f.display.invalidated.size(), c.invalidations) << c.name;
        EXPECT_EQ(f.program.shell.mouseMode, c.modeAfter) << c.name;
    }
}

TEST(CleanRoi, LoneHotPixelBecomesTheClippedMean) {
    TestImage t(64, 64, 100);
    t.At(30, 30) = 5000;
    t.At(14, 30) = 5000;  // one column left of the region around (30, 30)
    Pixels expected = t.pixels;
    expected[30 * 64 + 30] = 100;
    FakeHost host;
    DisplayLog display;
    CleanRoiResult r = CleanRegion(t.image, 30, 30, 32, 32, host, display.Refresh());
    ASSERT_TRUE(r.usable);
    EXPECT_EQ(r.count, 1024);
    EXPECT_NEAR(r.mean1, 104.8, 0.05);
    EXPECT_NEAR(r.sigma1, 153.1, 0.05);
    EXPECT_NEAR(r.mean2, 100.005, 0.0005);
    EXPECT_NEAR(r.sigma2, 0.15, 0.005);
    EXPECT_EQ(t.pixels, expected);
    EXPECT_EQ(display.refreshed, (std::vector<std::pair<int, int>>{{30, 30}}));
}

TEST(CleanRoi, ReplacementIsTheClippedMeanRoundedToNearest) {
    struct Case {
        std::int16_t sky, outlier, replacement;
    } cases[] = {
        {100, 5000, 100},
        {-100, -5000, -100},        // m2 = −100.005: truncating m2 + 0.5 would give −99
        {-31768, 20000, -31768},    // bzero 32768 sky of 1000 DN, m2 ≈ −31767.95
    };
    for (const Case& c : cases) {
        TestImage t(64, 64, c.sky);
        t.At(40, 20) = c.outlier;
        FakeHost host;
        ASSERT_TRUE(CleanRegion(t.image, 40, 30, 32, 32, host, DisplayLog().Refresh()).usable);
        EXPECT_EQ(t.At(40, 20), c.replacement) << c.sky;
    }
}

TEST(CleanRoi, NoiseWithoutOutliersIsLeftAlone) {
    TestImage t(64, 64, 0);
    std::mt19937 random(3);
    std::uniform_int_distribution<int> noise(900, 1100);  // all within 1.8 sigma
    for (auto& v : t.pixels) {
        v = static_cast<std::int16_t>(noise(random));
    }
    const Pixels before = t.pixels;
    FakeHost host;
    CleanRoiResult r = CleanRegion(t.image, 31, 31, 32, 32, host, DisplayLog().Refresh());
    EXPECT_TRUE(r.usable);
    EXPECT_EQ(t.pixels, before);
}

TEST(CleanRoi, OnePixelIsRefusedAndAFailedRefreshStops) {
    TestImage t(64, 64, 100);
    t.At(0, 0) = 9000;
    FakeHost host;
    EXPECT_FALSE(CleanRegion(t.image, -16, -15, 32, 32, host, DisplayLog().Refresh()).usable);
    EXPECT_EQ(t.At(0, 0), 9000);
    EXPECT_EQ(host.MessageLines(), std::vector<std::string>{"ClipROI: error in evaluating RMS"});
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);

    t.At(20, 20) = 5000;
    t.At(25, 25) = 5000;
    DisplayLog failing;
    failing.failAfter = 0;
    EXPECT_TRUE(CleanRegion(t.image, 30, 30, 32, 32, host, failing.Refresh()).refreshFailed);
    EXPECT_EQ(t.At(20, 20), 100);   // replaced before its refresh failed
    EXPECT_EQ(t.At(25, 25), 5000);  // never reached
}

TEST(CleanRoi, ClickMovesTheRegionAndRepaintsItsSquare) {
    CommandFixture f(64, 64, 100);
    f.At(33, 30) = 3000;
    StartCleanRoi(f.program, f.host, kZoomOneToOne);
    EXPECT_EQ(f.host.panes[1], "Select region to clean");
    CleanRoiClick(f.program, f.host, f.display.Display(), 33, 30);
    EXPECT_EQ(f.At(33, 30), 100);
    EXPECT_EQ((std::array{f.program.roi.xc, f.program.roi.yc}), (std::array{33, 30}));
    EXPECT_EQ(f.display.invalidated, (std::vector<std::array<int, 3>>{{33, 30, 32}}));
    EXPECT_EQ(f.display.closeUpRepaints, 1);
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::None);
}

// The image after copying through a separate buffer: what Patch must produce.
Pixels BufferedPatch(const TestImage& t, int xs, int ys, int xd, int yd) {
    Pixels out = t.pixels;
    const int w = t.image.width, h = t.image.height;
    const auto inside = [w, h](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h; };
    for (int y = yd - 16; y < yd + 16; ++y) {
        for (int x = xd - 15; x <= xd + 16; ++x) {
            const int sx = x + xs - xd, sy = y + ys - yd;
            if (inside(x, y) && inside(sx, sy)) {
                out[static_cast<std::size_t>(y * w + x)] =
                    t.pixels[static_cast<std::size_t>(sy * w + sx)];
            }
        }
    }
    return out;
}

TEST(Patch, CopiesAsThroughABufferAndSkipsPairsOutsideTheImage) {
    struct Case {
        int xs, ys, xd, yd;
        int copied;
    } cases[] = {
        // Overlapping blocks, the destination one step away in each direction and further.
        {40, 40, 41, 40, 1024},    {40, 40, 39, 40, 1024}, {40, 40, 40, 41, 1024},
        {40, 40, 40, 39, 1024},    {40, 40, 41, 41, 1024}, {40, 40, 39, 41, 1024},
        {40, 40, 43, 38, 1024},    {40, 40, 35, 36, 1024}, {40, 40, 40, 40, 1024},
        {3, 40, 60, 40, 20 * 32},   // source columns −12 … 19
        {40, 70, 40, 30, 32 * 26},  // source rows 54 … 85 of 80
        {40, 40, 90, 2, 21 * 18},   // destination columns 75 … 95, rows 0 … 17 inside
        {300, 300, 40, 40, 0},      // source nowhere in the image
    };
    for (const Case& c : cases) {
        TestImage t(96, 80, 0);
        for (std::size_t i = 0; i < t.pixels.size(); ++i) {
            t.pixels[i] = static_cast<std::int16_t>(i + 1);
        }
        const Pixels expected = BufferedPatch(t, c.xs, c.ys, c.xd, c.yd);
        FakeHost host;
        DisplayLog display;
        EXPECT_EQ(PatchRegion(t.image, c.xs, c.ys, c.xd, c.yd, 32, 32, host, display.Refresh()),
                  c.copied)
            << c.xs << "," << c.ys << " to " << c.xd << "," << c.yd;
        EXPECT_EQ(t.pixels, expected) << c.xs << "," << c.ys << " to " << c.xd << "," << c.yd;
        EXPECT_EQ(display.refreshed.size(), static_cast<std::size_t>(c.copied));
    }
}

TEST(Patch, FailedRefreshIsReportedAndStopsTheCopy) {
    TestImage t(64, 64, 0);
    t.At(50, 30) = 9;
    FakeHost host;
    DisplayLog display;
    display.failAfter = 2;
    EXPECT_EQ(PatchRegion(t.image, 40, 30, 20, 30, 32, 32, host, display.Refresh()), 3);
    EXPECT_EQ(host.MessageLines(), std::vector<std::string>{"MSG 91: problems"});
    EXPECT_EQ(t.At(30, 30), 0);  // not reached
    // A region without a half copies nothing.
    EXPECT_EQ(PatchRegion(t.image, 50, 30, 30, 30, 1, 32, host, display.Refresh()), 0);
}

TEST(Patch, TwoClicksCopyOntoTheDestinationAndMoveTheRegion) {
    CommandFixture f(64, 64, 0);
    f.At(10, 10) = 77;
    StartPatch(f.program, f.host, kZoomOneToOne);
    EXPECT_EQ(f.host.panes[1], "Click on source box");
    PatchClick(f.program, f.host, f.display.Display(), 10, 10);
    EXPECT_TRUE(f.program.retouch.patchPending);
    EXPECT_EQ(f.host.panes[1], "Set Destination Box");
    EXPECT_TRUE(f.display.refreshed.empty());
    PatchClick(f.program, f.host, f.display.Display(), 40, 45);
    EXPECT_FALSE(f.program.retouch.patchPending);
    EXPECT_EQ(f.At(40, 45), 77);
    EXPECT_EQ((std::array{f.program.roi.xc, f.program.roi.yc}), (std::array{40, 45}));
    EXPECT_EQ(f.display.invalidated, (std::vector<std::array<int, 3>>{{40, 45, 32}}));
    EXPECT_EQ(f.display.closeUpRepaints, 1);
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(f.host.panes[1], "");
}

TEST(RegionRetouch, OnlyAtOneToOne) {
    for (int zoom : {1, 4, 8, 16, 128}) {
        CommandFixture f(64, 4, 0);
        EXPECT_EQ(RegionRetouchAllowed(f.program, zoom), zoom == 8) << zoom;
        StartCleanRoi(f.program, f.host, zoom);
        EXPECT_EQ(f.program.shell.mouseMode, zoom == 8 ? MouseMode::CleanRoi : MouseMode::None);
        f.program.shell.mouseMode = MouseMode::None;
        StartPatch(f.program, f.host, zoom);
        EXPECT_EQ(f.program.shell.mouseMode, zoom == 8 ? MouseMode::Patch : MouseMode::None);
    }
    EXPECT_FALSE(RegionRetouchAllowed(Program(), kZoomOneToOne));
}

}  // namespace
}  // namespace corvane
