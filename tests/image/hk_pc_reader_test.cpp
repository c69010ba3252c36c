#include <gtest/gtest.h>

#include <cstring>

#include "support/load_helpers.h"
#include "support/temp_dir.h"
#include "support/hk_pc_writer.h"

namespace corvane::test {
namespace {

using Lines = std::vector<std::string>;

TEST(HkReader, ReadsTheHeaderWithItsHalvesExchanged) {
    TempDir dir;
    HeaderRecord h = CameraHeader(true, 256, 12, 2, 3);
    h.exposure = 1000;
    h.observationTime = 899726400;
    h.biasLevel = 412.5F;
    h.systemGain = 122;
    h.observationType = 3;
    SetHeaderText(h.object, "Vesta");
    std::memset(h.observer, 'o', sizeof h.observer);  // the whole width, no terminator
    std::memset(h.comment, 'c', sizeof h.comment);
    SetHeaderText(h.detector, "camera");
    const std::vector<std::int16_t> pixels = RampPixels(128, 4);
    const std::string bytes = HkBytes(h, pixels);

    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "a.hk", bytes));
    EXPECT_TRUE(host.messages.empty());
    const HeaderRecord& r = program.header;
    EXPECT_EQ(program.image.formatCode, kFormatHk);
    EXPECT_EQ(program.image.width, 128);
    EXPECT_EQ(program.image.height, 4);
    EXPECT_EQ(r.exposure, 1000);
    EXPECT_EQ(r.observationTime, 899726400);
    EXPECT_FLOAT_EQ(r.biasLevel, 412.5F);
    EXPECT_FLOAT_EQ(r.electronGain, static_cast<float>(21.4 / 11));
    EXPECT_EQ(HeaderText(r.detector), "TH7882");
    EXPECT_EQ(HeaderText(r.object), "Vesta");
    EXPECT_EQ(HeaderText(r.observer), std::string(17, 'o'));
    EXPECT_EQ(HeaderText(r.comment), std::string(24, 'c'));
    EXPECT_EQ(std::string(r.formatTag, 2), "HK");
    EXPECT_EQ(StoredPixels(program.image), pixels);
    EXPECT_EQ(ReadBytes(dir.File("a.hk")), bytes);
    EXPECT_TRUE(program.image.tempFile.has_value());
}

TEST(HkReader, ElectronGainFollowsTheGainSetting) {
    struct Case {
        std::uint16_t setting;
        double gain;
    } cases[] = {{0, 21.4}, {122, 21.4 / 11}, {61, 21.4 / 6}, {12, 21.4 / (1 + 12 / 12.2)}};
    for (const Case& c : cases) {
        TempDir dir;
        HeaderRecord h = CameraHeader(true, 64, 4);
        h.systemGain = c.setting;
        Program program;
        FakeHost host;
        ASSERT_TRUE(LoadBytes(program, host, dir, "a.hk", HkBytes(h, RampPixels(64, 4))));
        EXPECT_NEAR(program.header.electronGain, c.gain, 1e-5) << c.setting;
    }
}

TEST(HkReader, CalibratedImagesHaveNoBias) {
    for (std::uint16_t type : {std::uint16_t{6}, std::uint16_t{7}}) {
        TempDir dir;
        HeaderRecord h = CameraHeader(true, 64, 4);
        h.observationType = type;
        h.biasLevel = 300.0F;
        Program program;
        FakeHost host;
        ASSERT_TRUE(LoadBytes(program, host, dir, "a.hk", HkBytes(h, RampPixels(64, 4))));
        EXPECT_FLOAT_EQ(program.header.biasLevel, type == 6 ? 0.0F : 300.0F);
    }
}

TEST(HkPcReaders, TheSameExposureBytesMeanDifferentNumbers) {
    for (bool hk : {true, false}) {
        TempDir dir;
        const HeaderRecord h = CameraHeader(hk, 64, 4);
        std::string bytes = hk ? HkBytes(h, RampPixels(64, 4)) : PcBytes(h, RampPixels(64, 4));
        const char exposure[4] = {0x00, 0x00, static_cast<char>(0xE8), 0x03};
        bytes.replace(100, 4, exposure, 4);
        Program program;
        FakeHost host;
        ASSERT_TRUE(LoadBytes(program, host, dir, "a", bytes));
        EXPECT_EQ(program.header.exposure, hk ? 1000 : 65536000);
    }
}

TEST(PcReader, TakesTheHeaderAsStored) {
    TempDir dir;
    HeaderRecord h = CameraHeader(false, 300, 40, 3, 5);
    h.exposure = 250;
    h.systemGain = 122;
    h.electronGain = 3.25F;
    std::memset(h.observer, 'o', sizeof h.observer);
    SetHeaderText(h.detector, "KAF-0400");
    const std::vector<std::int16_t> pixels = RampPixels(100, 8);
    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "a.pc", PcBytes(h, pixels)));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(program.image.formatCode, kFormatPc);
    EXPECT_EQ(program.image.width, 100);
    EXPECT_EQ(program.image.height, 8);
    EXPECT_EQ(program.header.exposure, 250);
    EXPECT_FLOAT_EQ(program.header.electronGain, 3.25F);
    EXPECT_EQ(HeaderText(program.header.detector), "KAF-0400");
    EXPECT_EQ(HeaderText(program.header.observer), std::string(18, 'o'));
    EXPECT_EQ(StoredPixels(program.image), pixels);
}

TEST(HkPcReaders, FileLengthAgainstTheImageSize) {
    struct Case {
        bool hk;
        int extraBytes;  // beyond what the header's image needs
        bool loads;
        int rows;
        Lines messages;
    } cases[] = {
        {false, 1, true, 8, {"MSG 139: Warning! File is longer than it ought to."}},
        {true, 1, true, 8, {}},
        {false, -1, true, 7, {"MSG 129: Warning! Some lines are missing."}},
        {true, -200, true, 6, {"MSG 129: Warning! Some lines are missing."}},
        {true, -4 * 128 - 1, false, 0, {"MSG 119: Image is too small"}},
        {false, -(2 * 8 * 64), false, 0, {"MSG 119: Image is too small"}},  // the header alone
    };
    for (const Case& c : cases) {
        TempDir dir;
        HeaderRecord h = CameraHeader(c.hk, 128, 16, 2, 2);
        std::string bytes = c.hk ? HkBytes(h, RampPixels(64, 8)) : PcBytes(h, RampPixels(64, 8));
        if (c.extraBytes > 0) {
            bytes.append(static_cast<std::size_t>(c.extraBytes), '\0');
        } else {
            bytes.resize(bytes.size() - static_cast<std::size_t>(-c.extraBytes));
        }
        Program program;
        FakeHost host;
        EXPECT_EQ(LoadBytes(program, host, dir, "a", bytes), c.loads) << c.hk << c.extraBytes;
        EXPECT_EQ(host.MessageLines(), c.messages) << c.hk << c.extraBytes;
        if (c.loads) {
            EXPECT_EQ(program.image.height, c.rows);
            EXPECT_EQ(program.header.detectorRows, 2 * c.rows);
            EXPECT_EQ(program.roi.yc, c.rows / 2);
            EXPECT_EQ(program.image.displayBufferSize, c.rows * 64 + 4);
        }
    }
}

TEST(HkPcReaders, RefuseHeadersThatGiveNoImage) {
    RefusedFile cases[] = {
        {"HkTwoBytes", "HK", {"MSG 27: Invalid image format"}},
        {"PcHeaderCut", PcBytes(CameraHeader(false, 64, 4), {}).substr(0, 157),
         {"MSG 27: Invalid image format"}},
        {"HkColumnBinningZero", HkBytes(CameraHeader(true, 128, 8, 0, 1), RampPixels(128, 8)),
         {"MSG 119: Invalid binning in the image header (0)"}},
        {"PcRowBinningZero", PcBytes(CameraHeader(false, 128, 8, 1, 0), RampPixels(128, 8)),
         {"MSG 119: Invalid binning in the image header (0)"}},
        {"HkNarrow", HkBytes(CameraHeader(true, 127, 8, 2, 1), RampPixels(63, 8)),
         {"MSG 119: Image is too small"}},
        {"PcFlat", PcBytes(CameraHeader(false, 64, 7, 1, 2), RampPixels(64, 3)),
         {"MSG 119: Image is too small"}},
        // 65535 × 65535 pixels: more than the 32-bit sizes of an image hold.
        {"PcHuge", PcBytes(CameraHeader(false, 65535, 65535), RampPixels(64, 4)),
         {"MSG 119: Image is too large"}},
    };
    for (const RefusedFile& c : cases) {
        ExpectRefused(c);
    }
}

}  // namespace
}  // namespace corvane::test
