// The close-up window's block: where it starts, which pixel the marker surrounds, and that
// nothing outside the display image is read.

#include <gtest/gtest.h>

#include <vector>

#include "app/close_up.h"
#include "app/command_ids.h"
#include "app/commands.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

// Whether the marker square surrounds the centre pixel's four-by-four cell.
bool MarkerSurroundsCentre(const CloseUpSource& s) {
    const int left = (s.centreColumn - s.firstColumn) * kCloseUpScale;
    const int top = (s.centreRow - s.firstRow) * kCloseUpScale;
    return left == kCloseUpMarker[3].x + 1 && left + kCloseUpScale == kCloseUpMarker[1].x &&
           top == kCloseUpMarker[2].y + 1 && top + kCloseUpScale == kCloseUpMarker[0].y;
}

TEST(CloseUp, SourceRectangles) {
    struct Case {
        const char* name;
        CloseUpView view;
        int px, py, width, height;
        int centreColumn, centreRow, firstColumn, firstRow, columns, rows;
        bool marked;
    };
    const Case cases[] = {
        {"pixel (100, 100) at 1:1", {8, 0, 0}, 100, 100, 512, 512, 100, 100, 85, 84, 32, 32, true},
        {"pixel (3, 3): held at the top-left corner", {8, 0, 0}, 3, 3, 512, 512, 3, 3, 0, 0, 32, 32,
         false},
        {"2:1 with scroll", {16, 10, 20}, 200, 100, 512, 512, 110, 70, 95, 54, 32, 32, true},
        {"1:2", {4, 0, 0}, 50, 50, 512, 512, 100, 100, 85, 84, 32, 32, true},
        {"last column before the right edge holds", {8, 0, 0}, 494, 200, 512, 512, 494, 200, 479,
         184, 32, 32, true},
        {"right edge", {8, 0, 0}, 495, 200, 512, 512, 495, 200, 480, 184, 32, 32, true},
        {"bottom-right corner", {8, 0, 0}, 511, 511, 512, 512, 511, 511, 480, 480, 32, 32, false},
        {"past the image", {8, 0, 0}, 900, 900, 512, 512, 900, 900, 480, 480, 32, 32, false},
        {"bottom edge", {8, 0, 0}, 100, 496, 512, 512, 100, 496, 85, 480, 32, 32, true},
        {"one row above the bottom hold", {8, 0, 0}, 100, 495, 512, 512, 100, 495, 85, 479, 32, 32,
         true},
        {"image of 4 rows", {8, 0, 0}, 100, 2, 200, 4, 100, 2, 85, 0, 32, 4, false},
        {"image of 20 columns", {8, 0, 0}, 10, 100, 20, 300, 10, 100, 0, 84, 20, 32, false},
    };
    for (const Case& c : cases) {
        const CloseUpSource s = ComputeCloseUpSource(c.view, c.px, c.py, c.width, c.height);
        EXPECT_EQ(s.centreColumn, c.centreColumn) << c.name;
        EXPECT_EQ(s.centreRow, c.centreRow) << c.name;
        EXPECT_EQ(s.firstColumn, c.firstColumn) << c.name;
        EXPECT_EQ(s.firstRow, c.firstRow) << c.name;
        EXPECT_EQ(s.columns, c.columns) << c.name;
        EXPECT_EQ(s.rows, c.rows) << c.name;
        EXPECT_EQ(MarkerSurroundsCentre(s), c.marked) << c.name;
    }
}

TEST(CloseUp, SourceCountsRowsFromTheBottom) {
    // The stretched-bitmap origin: for pixel (100, 100) of a 512-row image, 512 − 100 − 16.
    const CloseUpSource s = ComputeCloseUpSource({8, 0, 0}, 100, 100, 512, 512);
    EXPECT_EQ(s.xSrc, 85);
    EXPECT_EQ(s.ySrc, 396);
    const CloseUpSource top = ComputeCloseUpSource({8, 0, 0}, 3, 3, 512, 512);
    EXPECT_EQ(top.ySrc, 480);
}

// A shown image whose display byte at (c, r) is (c + 7 r) mod 193, rows padded to 4 bytes.
ImageRecord DisplayedImage(int width, int height) {
    ImageRecord image;
    image.width = width;
    image.height = height;
    SetDisplayGeometry(image);
    image.displayImage.assign(static_cast<std::size_t>(image.displayBufferSize), 0);
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < image.paddedWidth; ++c) {
            image.displayImage[static_cast<std::size_t>(r * image.paddedWidth + c)] =
                static_cast<std::uint8_t>(c < width ? (c + 7 * r) % 193 : 255);
        }
    }
    image.loaded = true;
    return image;
}

TEST(CloseUp, BlockCopiesTheDisplayBytesOfTheSource) {
    const ImageRecord image = DisplayedImage(66, 50);  // 68 bytes a display row
    CloseUpBlock block;
    ASSERT_TRUE(CopyCloseUpBlock(image, {8, 0, 0}, 60, 40, block));
    const CloseUpSource& s = block.source;
    ASSERT_EQ(s.firstColumn, 34);
    ASSERT_EQ(s.firstRow, 18);
    for (int r = 0; r < 32; ++r) {
        for (int c = 0; c < 32; ++c) {
            ASSERT_EQ(block.bytes[static_cast<std::size_t>(r * 32 + c)], (34 + c + 7 * (18 + r)) % 193)
                << r << "," << c;
        }
    }
}

TEST(CloseUp, LowImageAndShortBufferReadNothingOutside) {
    ImageRecord image = DisplayedImage(64, 4);
    CloseUpBlock block;
    ASSERT_TRUE(CopyCloseUpBlock(image, {8, 0, 0}, 30, 3, block));
    EXPECT_EQ(block.source.rows, 4);
    EXPECT_EQ(block.bytes[3 * 32 + 5], (block.source.firstColumn + 5 + 21) % 193);
    for (std::size_t i = 4 * 32; i < block.bytes.size(); ++i) {
        ASSERT_EQ(block.bytes[i], 0) << i;
    }

    // A display buffer cut short: only the rows it holds are copied.
    image = DisplayedImage(64, 64);
    image.displayImage.resize(10 * 64);
    ASSERT_TRUE(CopyCloseUpBlock(image, {8, 0, 0}, 10, 10, block));
    EXPECT_EQ(block.source.rows, 10);

    image.displayImage.clear();
    EXPECT_FALSE(CopyCloseUpBlock(image, {8, 0, 0}, 10, 10, block));
    image = DisplayedImage(64, 64);
    image.loaded = false;
    EXPECT_FALSE(CopyCloseUpBlock(image, {8, 0, 0}, 10, 10, block));
}

TEST(CloseUp, OpensOnceAndForgetsTheFreezeWhenClosed) {
    test::FakeHost host;
    Program program;
    OpenCloseUp(program, host);
    EXPECT_TRUE(host.openedModeless.empty()) << "no image";
    program.image.loaded = true;
    OnCommand(program, host, command::kCloseUp);
    OnCommand(program, host, command::kCloseUp);
    EXPECT_EQ(host.openedModeless, std::vector<ModelessWindow>{ModelessWindow::CloseUp});
    program.shell.frozen = true;
    OnCloseUpClosed(program);
    EXPECT_FALSE(program.shell.closeUpOpen);
    EXPECT_FALSE(program.shell.frozen);
    OpenCloseUp(program, host);
    EXPECT_EQ(host.openedModeless.size(), 2u);
}

TEST(CloseUp, Title) {
    EXPECT_STREQ(CloseUpTitle(true), "FROZEN!");
    EXPECT_STREQ(CloseUpTitle(false), "");
}

}  // namespace
}  // namespace corvane
