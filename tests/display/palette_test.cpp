#include <gtest/gtest.h>

#include <cstring>

#include "display/display_state.h"

namespace corvane {
namespace {

TEST(DisplayPalette, RampEndsAndFirstSteps) {
    DisplayState display;
    ASSERT_TRUE(InitDisplay(display));
    const DisplayPalette& p = display.palette;
    EXPECT_EQ(p.version, 0x300);
    EXPECT_EQ(p.entryCount, 193);

    struct Case {
        int index;
        int red, green, blue;
    };
    const Case cases[] = {
        {0, 0, 0, 0},         {1, 0, 4, 0},         {2, 0, 4, 4},         {3, 4, 4, 4},
        {4, 4, 8, 4},         {95, 124, 128, 128},  {96, 128, 128, 128},  {188, 248, 252, 252},
        {189, 252, 252, 252}, {190, 252, 255, 252}, {191, 252, 255, 255}, {192, 255, 255, 255},
    };
    for (const Case& c : cases) {
        const PaletteEntry& e = p.entries[static_cast<std::size_t>(c.index)];
        EXPECT_EQ(e.red, c.red) << "entry " << c.index;
        EXPECT_EQ(e.green, c.green) << "entry " << c.index;
        EXPECT_EQ(e.blue, c.blue) << "entry " << c.index;
    }
}

TEST(DisplayPalette, EachStepRaisesOneChannelAndNoFlagIsSet) {
    const DisplayPalette p = MakeDisplayPalette();
    for (std::size_t i = 1; i < p.entries.size(); ++i) {
        const PaletteEntry& a = p.entries[i - 1];
        const PaletteEntry& b = p.entries[i];
        const int rises = (b.red > a.red) + (b.green > a.green) + (b.blue > a.blue);
        EXPECT_EQ(rises, 1) << "step to entry " << i;
        EXPECT_LE(b.red - a.red + b.green - a.green + b.blue - a.blue, 4) << "step to entry " << i;
        EXPECT_GE(b.red, a.red);
        EXPECT_GE(b.green, a.green);
        EXPECT_GE(b.blue, a.blue);
        EXPECT_EQ(b.flags, 0);
    }
}

TEST(DisplayBitmapHeader, DescribesAnEightBitPaletteIndexBitmap) {
    const DisplayBitmapHeader h = MakeDisplayBitmapHeader();
    // The first 40 bytes as the graphics interface reads them.
    unsigned char bytes[sizeof h];
    std::memcpy(bytes, &h, sizeof h);
    auto u32 = [&](int at) {
        return static_cast<unsigned>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     bytes[at + 3] << 24);
    };
    auto u16 = [&](int at) { return static_cast<unsigned>(bytes[at] | bytes[at + 1] << 8); };
    EXPECT_EQ(u32(0), 40u);
    EXPECT_EQ(u16(12), 1u);   // planes
    EXPECT_EQ(u16(14), 8u);   // bits per pixel
    EXPECT_EQ(u32(16), 0u);   // no compression
    EXPECT_EQ(u32(32), 193u); // colours used
    EXPECT_EQ(u32(36), 0u);
    for (int i = 0; i < 193; ++i) {
        EXPECT_EQ(u16(40 + 2 * i), static_cast<unsigned>(i));
    }
}

}  // namespace
}  // namespace corvane
