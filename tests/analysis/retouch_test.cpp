#include "analysis/retouch.h"

#include <gtest/gtest.h>

#include <random>

#include "analysis/test_image.h"
#include "app/analysis_commands.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

using test::FakeHost;
using test::TestImage;

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

TEST(EditPixel, EntryLessBzeroMustFitAStoredValue) {
    struct Case {
        const char* entry;
        std::int32_t bzero;
        std::optional<std::int16_t> stored;
    } cases[] = {
        {"0", 32767, -32767},
        {"65535", 32767, std::nullopt},  // 32768 after bzero
        {"32766", 32767, -1},
        {"-1", 32767, -32768},
        {"-2", 32767, std::nullopt},
        {"-32768", 0, -32768},
        {"32768", 0, std::nullopt},
        {"  12 ", 0, 12},
        {"-0", 0, 0},
        {"12a", 0, std::nullopt},
        {"1.5", 0, std::nullopt},
        {"0x10", 0, std::nullopt},
        {"", 0, std::nullopt},
        {" ", 0, std::nullopt},
        {"-", 0, std::nullopt},
        {"1 2", 0, std::nullopt},
        {"99999999999", 0, std::nullopt},           // not a 32-bit integer
        {"2147483647", -2147483647, std::nullopt},  // the difference does not fit 32 bits
        {"-2147483648", -2147483647 - 1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditPixelStoredValue(c.entry, c.bzero), c.stored)
            << '"' << c.entry << "\" bzero " << c.bzero;
    }
}

// A loaded image in a Program, with the hosts the commands talk to.
struct CommandFixture {
    Program program;
    std::vector<std::int16_t> pixels;
    FakeHost host;
    DisplayLog display;

    CommandFixture(int width, int height, std::int16_t fill, std::int32_t bzero = 0) {
        test::AttachPixels(program.image, pixels, width, height, fill, bzero);
    }
    std::int16_t& At(int column, int row) {
        return pixels[static_cast<std::size_t>(row * program.image.width + column)];
    }
};

struct EditFixture : CommandFixture {
    EditFixture() : CommandFixture(64, 4, 0, 100) {
        At(5, 2) = 7;
        StartEditPixel(program, host);
    }
    void Press(std::optional<std::string> value) {
        if (!value) {
            host.editPixelDialogScript.push_back(std::nullopt);
            return;
        }
        EditPixelDialogFields f;
        f.value = *value;
        host.editPixelDialogScript.push_back(f);
    }
};

TEST(EditPixel, DialogStaysOpenUntilAValidEntryThenStoresItAndRefreshes) {
    EditFixture f;
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::EditPixel);
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
    EXPECT_EQ((std::array{f.program.retouch.editColumn, f.program.retouch.editRow}),
              (std::array{5, 2}));
}

TEST(EditPixel, SameValueStillRefreshes) {
    EditFixture f;
    f.Press("107");
    EditPixelClick(f.program, f.host, f.display.Display(), 5, 2);
    EXPECT_EQ(f.At(5, 2), 7);
    EXPECT_EQ(f.display.refreshed.size(), 1u);
    EXPECT_EQ(f.display.invalidated.size(), 1u);
}

TEST(EditPixel, CancelChangesNothingAndFailedRefreshInvalidatesNothing) {
    EditFixture cancelled;
    cancelled.Press(std::nullopt);
    EditPixelClick(cancelled.program, cancelled.host, cancelled.display.Display(), 5, 2);
    EXPECT_EQ(cancelled.At(5, 2), 7);
    EXPECT_TRUE(cancelled.display.refreshed.empty());
    EXPECT_EQ(cancelled.program.shell.mouseMode, MouseMode::None);

    EditFixture failing;
    failing.display.failAfter = 0;
    failing.Press("-5");
    EditPixelClick(failing.program, failing.host, failing.display.Display(), 5, 2);
    EXPECT_EQ(failing.At(5, 2), -105);
    EXPECT_EQ(failing.display.refreshed.size(), 1u);
    EXPECT_TRUE(failing.display.invalidated.empty());
}

TEST(EditPixel, ClickBesideTheImageWaitsForAPixel) {
    for (auto [column, row] : {std::pair{64, 2}, std::pair{5, 4}, std::pair{-1, 0},
                               std::pair{0, -1}, std::pair{70000, 70000}}) {
        EditFixture f;
        f.Press("1");
        EditPixelClick(f.program, f.host, f.display.Display(), column, row);
        EXPECT_EQ(f.host.editPixelDialogRuns, 0) << column << "," << row;
        EXPECT_EQ(f.program.shell.mouseMode, MouseMode::EditPixel);
        EXPECT_EQ(f.host.panes[1], "Click on pixel to change");
    }
}

TEST(CleanRoi, LoneHotPixelBecomesTheClippedMean) {
    TestImage t(64, 64, 100);
    t.At(30, 30) = 5000;
    t.At(14, 30) = 5000;  // one column left of the region around (30, 30)
    std::vector<std::int16_t> before = t.pixels;
    FakeHost host;
    DisplayLog display;
    CleanRoiResult r = CleanRegion(t.image, 30, 30, 32, 32, host, display.Refresh());
    ASSERT_TRUE(r.usable);
    EXPECT_EQ(r.count, 1024);
    EXPECT_NEAR(r.mean1, 104.8, 0.05);
    EXPECT_NEAR(r.sigma1, 153.1, 0.05);
    EXPECT_NEAR(r.mean2, 100.005, 0.0005);
    EXPECT_NEAR(r.sigma2, 0.15, 0.005);
    before[30 * 64 + 30] = 100;
    EXPECT_EQ(t.pixels, before);
    EXPECT_EQ(display.refreshed, (std::vector<std::pair<int, int>>{{30, 30}}));
    EXPECT_TRUE(host.messages.empty());
}

TEST(CleanRoi, ReplacementIsTheMeanPlusOneHalfTruncatedTowardZero) {
    struct Case {
        std::int16_t sky, outlier, replacement;
    } cases[] = {
        {100, 5000, 100},
        {-100, -5000, -99},  // −100.005 + 0.5 truncates to −99
        {-31768, 20000, -31767},
    };
    for (const Case& c : cases) {
        TestImage t(64, 64, c.sky);
        t.At(40, 20) = c.outlier;
        FakeHost host;
        DisplayLog display;
        ASSERT_TRUE(CleanRegion(t.image, 40, 30, 32, 32, host, display.Refresh()).usable);
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
    std::vector<std::int16_t> before = t.pixels;
    FakeHost host;
    DisplayLog display;
    CleanRoiResult r = CleanRegion(t.image, 31, 31, 32, 32, host, display.Refresh());
    EXPECT_TRUE(r.usable);
    EXPECT_EQ(r.replaced, 0);
    EXPECT_EQ(t.pixels, before);
    EXPECT_TRUE(display.refreshed.empty());
}

TEST(CleanRoi, RegionOfOnePixelIsRefusedUnchanged) {
    TestImage t(64, 64, 100);
    t.At(0, 0) = 9000;
    FakeHost host;
    DisplayLog display;
    CleanRoiResult r = CleanRegion(t.image, -16, -15, 32, 32, host, display.Refresh());
    EXPECT_FALSE(r.usable);
    EXPECT_EQ(t.At(0, 0), 9000);
    EXPECT_EQ(host.MessageLines(), std::vector<std::string>{"ClipROI: error in evaluating RMS"});
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
}

TEST(CleanRoi, FailedRefreshStopsTheReplacement) {
    TestImage t(64, 64, 100);
    t.At(20, 20) = 5000;
    t.At(25, 25) = 5000;
    FakeHost host;
    DisplayLog display;
    display.failAfter = 0;
    CleanRoiResult r = CleanRegion(t.image, 30, 30, 32, 32, host, display.Refresh());
    EXPECT_TRUE(r.refreshFailed);
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
    EXPECT_EQ(f.host.cursor, CursorShape::Cross);
}

// The image after copying through a separate buffer: what Patch must produce.
std::vector<std::int16_t> BufferedPatch(const TestImage& t, int xs, int ys, int xd, int yd,
                                        int size) {
    std::vector<std::int16_t> out = t.pixels;
    const int w = t.image.width, h = t.image.height;
    for (int y = yd - size / 2; y < yd + size / 2; ++y) {
        for (int x = xd - size / 2 + 1; x <= xd + size / 2; ++x) {
            const int sx = x + xs - xd, sy = y + ys - yd;
            if (x >= 0 && y >= 0 && x < w && y < h && sx >= 0 && sy >= 0 && sx < w && sy < h) {
                out[static_cast<std::size_t>(y * w + x)] =
                    t.pixels[static_cast<std::size_t>(sy * w + sx)];
            }
        }
    }
    return out;
}

TEST(Patch, OverlappingBlocksCopyAsThroughABuffer) {
    const std::pair<int, int> shifts[] = {{1, 0},  {-1, 0}, {0, 1},   {0, -1}, {1, 1},
                                          {-1, 1}, {3, -2}, {-5, -4}, {0, 0},  {31, 0}};
    for (auto [dx, dy] : shifts) {
        TestImage t(96, 80, 0);
        for (std::size_t i = 0; i < t.pixels.size(); ++i) {
            t.pixels[i] = static_cast<std::int16_t>(i);
        }
        const std::vector<std::int16_t> expected = BufferedPatch(t, 40, 40, 40 + dx, 40 + dy, 32);
        FakeHost host;
        DisplayLog display;
        const int copied =
            PatchRegion(t.image, 40, 40, 40 + dx, 40 + dy, 32, 32, host, display.Refresh());
        EXPECT_EQ(copied, 1024) << dx << "," << dy;
        EXPECT_EQ(t.pixels, expected) << dx << "," << dy;
        EXPECT_EQ(display.refreshed.size(), 1024u);
    }
}

TEST(Patch, PairsWithAPixelOutsideTheImageAreSkipped) {
    struct Case {
        int xs, ys, xd, yd;
        int copied;
    } cases[] = {
        {3, 30, 40, 30, 20 * 32},   // source columns −12 … 19
        {40, 62, 20, 30, 32 * 18},  // source rows 46 … 77 of 64
        {20, 30, 60, 2, 19 * 18},   // destination columns 45 … 63 and rows 0 … 17 inside
        {200, 200, 30, 30, 0},      // source nowhere in the image
    };
    for (const Case& c : cases) {
        TestImage t(64, 64, 0);
        for (std::size_t i = 0; i < t.pixels.size(); ++i) {
            t.pixels[i] = static_cast<std::int16_t>(i + 1);
        }
        const std::vector<std::int16_t> expected = BufferedPatch(t, c.xs, c.ys, c.xd, c.yd, 32);
        FakeHost host;
        DisplayLog display;
        EXPECT_EQ(PatchRegion(t.image, c.xs, c.ys, c.xd, c.yd, 32, 32, host, display.Refresh()),
                  c.copied)
            << c.xs << "," << c.ys;
        EXPECT_EQ(t.pixels, expected) << c.xs << "," << c.ys;
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
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(t.At(30, 30), 0);  // not reached
}

TEST(Patch, RegionWithoutAHalfCopiesNothing) {
    TestImage t(64, 64, 5);
    t.At(10, 10) = 1;
    FakeHost host;
    DisplayLog display;
    EXPECT_EQ(PatchRegion(t.image, 10, 10, 30, 30, 1, 32, host, display.Refresh()), 0);
    EXPECT_EQ(PatchRegion(t.image, 10, 10, 30, 30, 32, 1, host, display.Refresh()), 0);
    EXPECT_EQ(t.At(30, 30), 5);
}

TEST(Patch, TwoClicksCopyOntoTheDestinationAndMoveTheRegion) {
    CommandFixture f(64, 64, 0);
    f.At(10, 10) = 77;
    StartPatch(f.program, f.host, kZoomOneToOne);
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::Patch);
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

    // A new Patch starts again from the source click.
    StartPatch(f.program, f.host, kZoomOneToOne);
    PatchClick(f.program, f.host, f.display.Display(), 12, 12);
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::Patch);
    EXPECT_EQ(f.host.panes[1], "Set Destination Box");
}

TEST(RegionRetouch, OnlyAtOneToOne) {
    for (int zoom : {1, 2, 4, 8, 16, 32, 64, 128}) {
        CommandFixture f(64, 4, 0);
        EXPECT_EQ(RegionRetouchAllowed(f.program, zoom), zoom == 8) << zoom;
        StartCleanRoi(f.program, f.host, zoom);
        EXPECT_EQ(f.program.shell.mouseMode, zoom == 8 ? MouseMode::CleanRoi : MouseMode::None);
        f.program.shell.mouseMode = MouseMode::None;
        StartPatch(f.program, f.host, zoom);
        EXPECT_EQ(f.program.shell.mouseMode, zoom == 8 ? MouseMode::Patch : MouseMode::None);
    }
    Program empty;
    EXPECT_FALSE(RegionRetouchAllowed(empty, kZoomOneToOne));
}

}  // namespace
}  // namespace corvane
