// The display rebuild inside a load, on files written by cfitsio.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fits_writer.h"
#include "support/load_helpers.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

// 64 × 4 unsigned data with BZERO 32768: the true value at (c, r) is 10 c + r.
std::string WriteUnsigned(const TempDir& dir, const std::string& name, int offset = 0) {
    FitsImage im;
    im.width = 64;
    im.height = 4;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 64; ++c) im.values.push_back(10 * c + r + offset - 32768);
    }
    WriteFits(dir.File(name), im, {FitsKey::Dbl("BZERO", 32768.0)});
    return dir.File(name);
}

int Byte(const Program& p, int column, int row) {
    return p.image.displayImage[static_cast<std::size_t>(row * p.image.paddedWidth + column)];
}

TEST(DisplayAfterLoad, RebuildsBeforeTheTitleAndSizesTheBitmap) {
    TempDir dir;
    Loaded l;
    LoadInto(l, WriteUnsigned(dir, "a.fit"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.program.display.levels, (DisplayLevels{42, 603}));
    EXPECT_EQ(l.program.display.bitmapHeader.width, 64);
    EXPECT_EQ(l.program.display.bitmapHeader.height, -4);
    EXPECT_EQ(Byte(l.program, 60, 3), 192);

    const std::vector<std::string>& log = l.host.log;
    auto at = [&](const std::string& line) {
        return std::find(log.begin(), log.end(), line) - log.begin();
    };
    EXPECT_LT(at("pane 0: Sorting..."), at("pane 0: Scaling..."));
    EXPECT_LT(at("pane 0: Scaling..."), at("title Corvane 32 - " + dir.File("a.fit")));
    EXPECT_LT(at("progress end"), at("title Corvane 32 - " + dir.File("a.fit")));
}

TEST(DisplayAfterLoad, HiPassLeavesTheLastRowBlack) {
    TempDir dir;
    Loaded l;
    l.program.display.mode = kModeHiPass;
    LoadInto(l, WriteUnsigned(dir, "a.fit"));
    ASSERT_TRUE(l.ok);
    for (int c = 0; c < 64; ++c) {
        EXPECT_EQ(Byte(l.program, c, 2), c < 63 ? 96 + 11 : 96 + 1) << c;
        EXPECT_EQ(Byte(l.program, c, 3), 0) << c;
    }
}

TEST(DisplayAfterLoad, TheNextImageKeepsTheModeAndTheLevels) {
    TempDir dir;
    Loaded l;
    LoadInto(l, WriteUnsigned(dir, "a.fit"));
    ASSERT_TRUE(l.ok);
    // Manual, then a second image 1000 brighter: shown with the same limits.
    l.program.display.mode = kModeManual;
    l.program.display.levels = {100, 200};
    ASSERT_TRUE(LoadImage(l.program, l.host, WriteUnsigned(dir, "b.fit", 1000)));
    EXPECT_EQ(l.program.display.levels, (DisplayLevels{100, 200}));
    EXPECT_EQ(l.program.display.mode, kModeManual);
    EXPECT_EQ(Byte(l.program, 0, 0), 192);
}

}  // namespace
}  // namespace corvane::test
