#include <gtest/gtest.h>

#include "image/header_fields.h"
#include "support/load_helpers.h"
#include "support/temp_dir.h"
#include "support/kvr_writer.h"

namespace corvane::test {
namespace {

using Lines = std::vector<std::string>;

TEST(KvrFitsReader, TakesEveryFieldFromItsCard) {
    TempDir dir;
    KvrFile kvr;
    kvr.naxis1 = 256;
    kvr.naxis2 = 6;
    kvr.binColumns = 2;
    kvr.binRows = 3;
    kvr.originColumn = 17;
    kvr.originRow = 9;
    kvr.preflash = 5;
    kvr.filter = 4;
    kvr.systemGain = 7;
    kvr.pixels = std::vector<std::int16_t>(256 * 6, 0);
    kvr.pixels[0] = -2;       // bytes FF FE
    kvr.pixels[1] = 0x1234;   // bytes 12 34
    kvr.pixels[256 * 6 - 1] = 32767;
    const std::string bytes = KvrFitsBytes(kvr);

    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "m67.fts", bytes));
    EXPECT_TRUE(host.messages.empty()) << host.MessageLines()[0];

    const ImageRecord& im = program.image;
    const HeaderRecord& h = program.header;
    EXPECT_EQ(im.formatCode, kFormatFits);
    EXPECT_EQ(im.width, 256);
    EXPECT_EQ(im.height, 6);
    EXPECT_EQ(h.detectorColumns, 512);
    EXPECT_EQ(h.detectorRows, 18);
    EXPECT_EQ(h.originColumn, 17);
    EXPECT_EQ(h.originRow, 9);
    EXPECT_EQ(h.preflash, 5);
    EXPECT_EQ(h.filter, 4);
    EXPECT_EQ(h.systemGain, 7);
    EXPECT_FLOAT_EQ(h.electronGain, 2.5F);
    EXPECT_FLOAT_EQ(h.biasLevel, 102.5F);
    EXPECT_EQ(h.exposure, 123);                 // 12.34 s, truncated tenths
    EXPECT_EQ(h.observationTime, 899726400);    // MJD 51000.5, not moved to mid-exposure
    EXPECT_EQ(HeaderText(h.epoch), "2000");
    // Each text is its card's characters, the writer's blank padding included.
    EXPECT_EQ(HeaderText(h.rightAscension), "12:34:56 ");
    EXPECT_EQ(HeaderText(h.declination), "-01:02:03");
    EXPECT_EQ(HeaderText(h.observer), "A. Observer      ");
    EXPECT_EQ(HeaderText(h.object), "Vesta            ");
    EXPECT_EQ(HeaderText(h.detector), "TEK1024        ");
    EXPECT_EQ(HeaderText(h.quality), "OK ");
    EXPECT_EQ(HeaderText(h.comment), "test frame           ");
    EXPECT_EQ(h.observationType, 3);
    EXPECT_EQ(im.bzero, 0);
    EXPECT_EQ(program.roi.xc, 128);
    EXPECT_EQ(program.roi.yc, 3);
    EXPECT_EQ(im.paddedWidth, 256);
    EXPECT_EQ(im.displayBufferSize, 6 * 256 + 4);

    EXPECT_EQ(StoredPixel(im, 0, 0), -2);
    EXPECT_EQ(StoredPixel(im, 1, 0), 0x1234);
    EXPECT_EQ(StoredPixel(im, 255, 5), 32767);
    // The byte exchange happens in the pixel file: the image file is as it was.
    EXPECT_EQ(ReadBytes(dir.File("m67.fts")), bytes);
    EXPECT_TRUE(im.tempFile.has_value());
}

TEST(KvrFitsReader, ObservationTypeMatchesOnlyTheTenCharacterName) {
    struct Case {
        const char* card;
        int expected;  // 9: the previous image's type stays
    } cases[] = {
        {"DARK      ", 1}, {"CALIBRATED", 6}, {"SCAN      ", 10},
        {"DARK", 9},       {"dark      ", 9}, {"FLATS     ", 9},
    };
    for (const Case& c : cases) {
        TempDir dir;
        KvrFile kvr;
        kvr.observationType = c.card;
        Program program;
        program.header.observationType = 9;
        FakeHost host;
        ASSERT_TRUE(LoadBytes(program, host, dir, "t.fts", KvrFitsBytes(kvr))) << c.card;
        EXPECT_EQ(program.header.observationType, c.expected) << c.card;
    }
}

TEST(KvrFitsReader, LeavesTheFieldsItDoesNotReadAsThePreviousImageHadThem) {
    TempDir dir;
    Program program;
    SetHeaderText(program.header.temperature, "-30.0");
    program.header.reserved1 = 77;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "t.fts", KvrFitsBytes(KvrFile{})));
    EXPECT_EQ(HeaderText(program.header.temperature), "-30.0");
    EXPECT_EQ(program.header.reserved1, 77);
}

TEST(KvrFitsReader, RefusesBrokenHeadersWithTheirMessages) {
    KvrFile noEnd;
    noEnd.endCard = "ENX";
    KvrFile narrow;
    narrow.naxis1 = 63;
    KvrFile flat;
    flat.naxis2 = 3;
    KvrFile unsignedWidth;
    unsignedWidth.naxis1 = -64;
    const std::string whole = KvrFitsBytes(KvrFile{});
    RefusedFile cases[] = {
        {"KvrWithoutEnd", KvrFitsBytes(noEnd), {"MSG 119: Error in parsing FITS header"}},
        {"KvrHeaderCut", whole.substr(0, 2879), {"MSG 27: Invalid FITS format"}},
        {"KvrNarrow", KvrFitsBytes(narrow), {"MSG 119: Image is too small"}},
        {"KvrFlat", KvrFitsBytes(flat), {"MSG 119: Image is too small"}},
        {"KvrNegativeWidth", KvrFitsBytes(unsignedWidth), {"MSG 119: Image is too small"}},
        // Three whole rows are fewer than an image may have.
        {"KvrThreeRows", whole.substr(0, 2880 + 3 * 128 + 1), {"MSG 119: Image is too small"}},
    };
    for (const RefusedFile& c : cases) {
        ExpectRefused(c);
    }
}

TEST(KvrFitsReader, ACardWithoutTheTimeWarnsAndStoresNoTime) {
    TempDir dir;
    KvrFile kvr;
    kvr.mjd = "";
    Program program;
    program.header.observationTime = 123456;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "t.fts", KvrFitsBytes(kvr)));
    EXPECT_EQ(host.MessageLines(), Lines{"MSG 109: no fields assigned"});
    EXPECT_EQ(program.header.observationTime, 0);
    EXPECT_EQ(UtcTimeText(program.header.observationTime), "");
}

TEST(KvrFitsReader, AFileEndingInsideThePixelsKeepsItsWholeRows) {
    TempDir dir;
    KvrFile kvr;
    kvr.naxis2 = 10;
    kvr.binRows = 2;
    const std::string bytes = KvrFitsBytes(kvr);
    Program program;
    FakeHost host;
    // Six whole rows and half of the seventh.
    ASSERT_TRUE(LoadBytes(program, host, dir, "t.fts", bytes.substr(0, 2880 + 6 * 128 + 64)));
    EXPECT_EQ(host.MessageLines(), Lines{"MSG 129: Warning! Some lines are missing."});
    EXPECT_EQ(program.image.height, 6);
    EXPECT_EQ(program.header.detectorRows, 12);
    EXPECT_EQ(program.roi.yc, 3);
    EXPECT_EQ(program.image.displayBufferSize, 6 * 64 + 4);
    EXPECT_EQ(StoredPixel(program.image, 63, 5), 563);
}

}  // namespace
}  // namespace corvane::test
