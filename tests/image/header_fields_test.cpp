#include <gtest/gtest.h>

#include <cstring>

#include "app/header_command.h"
#include "image/header_fields.h"
#include "support/load_helpers.h"
#include "support/temp_dir.h"
#include "support/hk_pc_writer.h"
#include "support/tiff_writer.h"

namespace corvane::test {
namespace {

TEST(HeaderFields, ExposureInSecondsWithOneDecimal) {
    struct Case {
        std::int32_t tenths;
        const char* text;
    } cases[] = {{1000, "100.0"}, {0, "0.0"}, {123, "12.3"}, {1, "0.1"}, {-5, "-0.5"},
                 {2147483647, "214748364.7"}};
    for (const Case& c : cases) {
        HeaderRecord h{};
        h.exposure = c.tenths;
        EXPECT_EQ(HeaderDialogTexts(h, "").exposure, c.text) << c.tenths;
    }
}

TEST(HeaderFields, UtShowsTheUtcTimeOnlyWhenThereIsOne) {
    struct Case {
        std::int32_t seconds;
        const char* text;
    } cases[] = {
        {899726400, "Mon Jul  6 12:00:00 1998"},
        {916444810, "Sat Jan 16 00:00:10 1999"},
        {1, "Thu Jan  1 00:00:01 1970"},
        {0, ""},
        {-1, ""},
    };
    for (const Case& c : cases) {
        HeaderRecord h{};
        h.observationTime = c.seconds;
        EXPECT_EQ(HeaderDialogTexts(h, "").ut, c.text) << c.seconds;
    }
}

TEST(HeaderFields, NumbersAndCodesInTheirFormats) {
    HeaderRecord h{};
    h.originColumn = 10;
    h.originRow = 20;
    h.detectorColumns = 1024;
    h.detectorRows = 512;
    h.binColumns = 2;
    h.binRows = 4;
    h.systemGain = 65535;
    h.filter = 3;
    h.preflash = 7;
    h.electronGain = 1.945F;
    h.biasLevel = 412.0625F;
    SetHeaderText(h.object, "Vesta");
    HeaderDialogFields f = HeaderDialogTexts(h, "/data/v001.fit");
    EXPECT_EQ(f.caption, "Corvane 32 - /data/v001.fit");
    EXPECT_EQ(f.format, "10  20  1024  512");
    EXPECT_EQ(f.binning, "2  4");
    EXPECT_EQ(f.systemGain, "65535");
    EXPECT_EQ(f.filter, "3");
    EXPECT_EQ(f.preflash, "7");
    EXPECT_EQ(f.electronGain, "1.95");
    EXPECT_EQ(f.biasLevel, "412.062");  // an exact binary tie: printf rounds it to even
    EXPECT_EQ(f.object, "Vesta");

    const std::pair<int, const char*> types[] = {
        {0, "UNKNOWN"}, {1, "DARK"}, {6, "CALIBRATED"}, {10, "SCAN"}, {11, "UNKNOWN"}};
    for (auto [code, name] : types) {
        h.observationType = static_cast<std::uint16_t>(code);
        EXPECT_EQ(HeaderDialogTexts(h, "").observationType, name) << code;
    }
}

TEST(HeaderCommand, ShowsTheDialogOnlyForALoadedImage) {
    TempDir dir;
    Program program;
    FakeHost host;
    ShowHeader(program, host);
    EXPECT_TRUE(host.headerDialogs.empty());

    WriteTiff(dir.File("a.tif"), TiffImage{});
    ASSERT_TRUE(LoadPath(program, host, dir.File("a.tif")));
    ShowHeader(program, host);
    ASSERT_EQ(host.headerDialogs.size(), 1u);
    const HeaderDialogFields& f = host.headerDialogs[0];
    EXPECT_EQ(f.caption, "Corvane 32 - " + dir.File("a.tif"));
    EXPECT_EQ(f.exposure, "100.0");
    EXPECT_EQ(f.electronGain, "1.00");
    EXPECT_EQ(f.ut, "");
    EXPECT_EQ(f.format, "0  0  64  4");
    EXPECT_EQ(f.observationType, "OBS");
}

TEST(HeaderCommand, FullWidthTextsOfAnHkHeaderEndOneCharacterEarly) {
    TempDir dir;
    HeaderRecord h = CameraHeader(true, 64, 4);
    std::memset(h.object, 'v', sizeof h.object);
    std::memset(h.quality, 'q', sizeof h.quality);
    WriteBytes(dir.File("a.hk"), HkBytes(h, RampPixels(64, 4)));
    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadPath(program, host, dir.File("a.hk")));
    ShowHeader(program, host);
    ASSERT_EQ(host.headerDialogs.size(), 1u);
    EXPECT_EQ(host.headerDialogs[0].object, std::string(17, 'v'));
    EXPECT_EQ(host.headerDialogs[0].quality, "qqq");
    EXPECT_EQ(host.headerDialogs[0].observationType, "UNKNOWN");
    EXPECT_EQ(host.headerDialogs[0].detector, "TH7882");
}

}  // namespace
}  // namespace corvane::test
