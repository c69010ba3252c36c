// The FITS reader on files written by cfitsio: sample widths, scaling, header blocks,
// dialects, dates, missing keywords and short data.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "support/fits_writer.h"
#include "support/load_helpers.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

// A 64 × 4 image with the value ramp v(i) = f(i), i the row-major index.
template <class F>
FitsImage Ramp(int bitpix, F f, int width = 64, int height = 4) {
    FitsImage im;
    im.bitpix = bitpix;
    im.width = width;
    im.height = height;
    for (int i = 0; i < width * height; ++i) im.values.push_back(f(i));
    return im;
}

TEST(FitsReader, SampleWidthsBecomeStoredValues) {
    TempDir dir;
    struct Case {
        int bitpix;
        std::vector<std::string> cards;
        double in;
        int stored;
    } cases[] = {
        {8, {}, 255, 255},
        {8, {}, 7, 7},
        {16, {}, -32768, -32768},
        {16, {}, 12345, 12345},
        {16, {}, -1, -1},
        // 32-bit and float: scaled by 32767 / (IRAF-MAX − IRAF-MIN), truncated.
        {-32, {}, 1234.9, 1234},
        {-32, {}, -7.5, -7},
        {-32, {"IRAF-MAX=               2000.0", "IRAF-MIN=               1000.0"}, 1500.0,
         16383},
        {32, {}, 30000, 30000},
        {32, {"IRAF-MAX=              65534.0"}, 65534, 32767},
        // Beyond the 16-bit range: the nearest limit, not a wrapped value.
        {-32, {}, 40000.0, 32767},
        {-32, {}, -50000.0, -32768},
        {32, {}, 100000, 32767},
    };
    for (const Case& c : cases) {
        FitsImage im = Ramp(c.bitpix, [&](int) { return c.in; });
        im.cards = c.cards;
        std::string path = dir.File("sample.fit");
        WriteFits(path, im);
        Loaded l;
        LoadInto(l, path);
        ASSERT_TRUE(l.ok) << c.bitpix;
        EXPECT_EQ(l.program.image.bitpix, c.bitpix);
        EXPECT_EQ(l.program.image.bytesPerPixel, c.bitpix == 8 ? 1 : c.bitpix == 16 ? 2 : 4);
        EXPECT_EQ(StoredPixel(l.program.image, 5, 2), c.stored) << c.bitpix << " " << c.in;
        EXPECT_TRUE(l.host.messages.empty());
    }
}

TEST(FitsReader, KeepsRowOrderAndEveryPixel) {
    TempDir dir;
    FitsImage im = Ramp(16, [](int i) { return i * 7 - 3000; }, 70, 9);
    WriteFits(dir.File("ramp.fit"), im);
    Loaded l;
    LoadInto(l, dir.File("ramp.fit"));
    ASSERT_TRUE(l.ok);
    const ImageRecord& r = l.program.image;
    ASSERT_EQ(r.width, 70);
    ASSERT_EQ(r.height, 9);
    for (int i = 0; i < 70 * 9; ++i) {
        ASSERT_EQ(r.pixels[i], i * 7 - 3000) << i;
    }
    EXPECT_EQ(r.paddedWidth, 72);
    EXPECT_EQ(r.displayBufferSize, 9 * 72 + 4);
    EXPECT_EQ(l.program.roi.xc, 35);
    EXPECT_EQ(l.program.roi.yc, 4);
    EXPECT_EQ(r.formatCode, kFormatFits);
    EXPECT_EQ(l.program.header.detectorColumns, 70);
    EXPECT_EQ(l.program.header.observationType, 3);
    EXPECT_EQ(l.program.header.binColumns, 1);
}

TEST(FitsReader, BzeroWithADecimalPointKeepsStoredValues) {
    TempDir dir;
    FitsImage im = Ramp(16, [](int i) { return i == 0 ? 32767 : -32768; });
    WriteFits(dir.File("u16.fit"), im, {FitsKey::Dbl("BZERO", 32768.0), FitsKey::Dbl("BSCALE", 2.0)});
    Loaded l;
    LoadInto(l, dir.File("u16.fit"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.program.image.bzero, 32768);
    EXPECT_EQ(StoredPixel(l.program.image, 0, 0), 32767);
    EXPECT_EQ(TruePixel(l.program.image, 0, 0), 65535);  // BSCALE is ignored
    EXPECT_EQ(TruePixel(l.program.image, 1, 0), 0);
}

TEST(FitsReader, EndInALaterBlockMovesTheData) {
    TempDir dir;
    for (int blocks : {1, 2, 3}) {
        FitsImage im = Ramp(16, [](int i) { return i; });
        // About 36 cards fit a block; the mandatory ones take six.
        int extra = blocks == 1 ? 0 : blocks == 2 ? 40 : 80;
        for (int k = 0; k < extra; ++k) {
            im.cards.push_back("HISTORY filler card " + std::to_string(k));
        }
        WriteFits(dir.File("blocks.fit"), im);
        Loaded l;
        LoadInto(l, dir.File("blocks.fit"));
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.program.image.headerBlocks, blocks);
        EXPECT_EQ(StoredPixel(l.program.image, 10, 1), 74);
    }
}

TEST(FitsReader, RefusesBrokenHeadersWithTheirMessages) {
    TempDir dir;
    const std::string simple = "SIMPLE  =                    T";
    const std::string end = "END";
    struct Case {
        const char* name;
        std::vector<std::string> cards;
        std::string caption, text;
    } cases[] = {
        {"NoNaxis", {simple, "BITPIX  =                   16", end}, "MSG 27a",
         "Keyword NAXIS is missing"},
        {"ThreeAxes",
         {simple, "BITPIX  =                   16", "NAXIS   =                    3",
          "NAXIS1  =                   64", "NAXIS2  =                    4",
          "NAXIS3  =                    2", end},
         "MSG 27b", "Corvane can only display two-dimensional images (NAXIS3 != 1)"},
        {"OneAxis",
         {simple, "BITPIX  =                   16", "NAXIS   =                    1",
          "NAXIS1  =                   64", end},
         "MSG 27b", "NAXIS != 2"},
        {"NoNaxis1",
         {simple, "BITPIX  =                   16", "NAXIS   =                    2",
          "NAXIS2  =                    4", end},
         "MSG 28", "Keyword NAXIS1 is missing"},
        {"NoNaxis2",
         {simple, "BITPIX  =                   16", "NAXIS   =                    2",
          "NAXIS1  =                   64", end},
         "MSG 28", "Keyword NAXIS2 is missing"},
        {"NoBitpix",
         {simple, "NAXIS   =                    2", "NAXIS1  =                   64",
          "NAXIS2  =                    4", end},
         "MSG 27a", "Keyword BITPIX is missing"},
        {"Bitpix64",
         {simple, "BITPIX  =                  -64", "NAXIS   =                    2",
          "NAXIS1  =                   64", "NAXIS2  =                    4", end},
         "MSG 27b", "Can't display -64 bit images"},
        {"Narrow",
         {simple, "BITPIX  =                   16", "NAXIS   =                    2",
          "NAXIS1  =                   63", "NAXIS2  =                    4", end},
         "MSG 119", "Image is too small"},
        {"WithoutEnd",
         {simple, "BITPIX  =                   16", "NAXIS   =                    2",
          "NAXIS1  =                   64", "NAXIS2  =                    4"},
         "MSG 119", "END not found"},
    };
    for (const Case& c : cases) {
        std::string path = dir.File(std::string("Fits") + c.name + ".fit");
        WriteBytes(path, FitsBlock(c.cards) + std::string(2 * 64 * 4, '\0'));
        Loaded l;
        LoadInto(l, path);
        EXPECT_FALSE(l.ok) << c.name;
        ASSERT_EQ(l.host.messages.size(), 2u) << c.name;
        EXPECT_EQ(l.host.messages[0].caption, c.caption) << c.name;
        EXPECT_EQ(l.host.messages[0].text, c.text) << c.name;
        EXPECT_EQ(l.host.MessageLines()[1], "MSG 109: Error in image format") << c.name;
        EXPECT_FALSE(l.program.image.loaded);
        EXPECT_TRUE(dir.Entries().size() == 1) << "a temporary file was left behind";
        std::filesystem::remove(path);
    }
}

TEST(FitsReader, ShortBlockIsInvalid) {
    TempDir dir;
    WriteBytes(dir.File("short.fit"), "SIMPLE  =                    T" + std::string(100, ' '));
    Loaded l;
    LoadInto(l, dir.File("short.fit"));
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.host.MessageLines(),
              (std::vector<std::string>{"MSG 27: Invalid FITS format",
                                        "MSG 109: Error in image format"}));
}

TEST(FitsReader, TruncatedDataKeepsWholeRowsDownToFour) {
    TempDir dir;
    for (int rows : {5, 3}) {
        FitsImage im = Ramp(16, [](int i) { return i % 1000; }, 64, 10);
        std::string path = dir.File("cut.fit");
        WriteFits(path, im);
        std::filesystem::resize_file(path, 2880 + 64 * 2 * rows + 17);  // a partial row too
        Loaded l;
        LoadInto(l, path);
        if (rows == 5) {
            ASSERT_TRUE(l.ok);
            EXPECT_EQ(l.host.MessageLines(),
                      std::vector<std::string>{"MSG 129: Warning! Some lines are missing."});
            EXPECT_EQ(l.program.image.height, 5);
            EXPECT_EQ(l.program.header.detectorRows, 5);
            EXPECT_EQ(l.program.roi.yc, 2);
            EXPECT_EQ(l.program.image.displayBufferSize, 5 * 64 + 4);
            EXPECT_EQ(StoredPixel(l.program.image, 63, 4), (64 * 4 + 63) % 1000);
        } else {
            EXPECT_FALSE(l.ok);
            EXPECT_EQ(l.host.MessageLines(),
                      std::vector<std::string>{"MSG 119: Image is too small"});
        }
    }
}

TEST(FitsReader, HeaderFieldsOfTheFirstBlock) {
    TempDir dir;
    FitsImage im = Ramp(16, [](int) { return 0; });
    WriteFits(dir.File("h.fit"), im,
              {FitsKey::Str("OBJECT", "1998 KY26 and more text"), FitsKey::Str("OBSERVER", "A. Observer"),
               FitsKey::Str("INSTRUME", "ST-8 camera"), FitsKey::Str("QUALITY", "GOODX"),
               FitsKey::Str("RA", "12 34 56.7"), FitsKey::Str("DEC", "+01 02 03"),
               FitsKey::Dbl("EQUINOX", 2000.0), FitsKey::Dbl("CCD-TEMP", -25.25),
               FitsKey::Int("FILTER", 4), FitsKey::Dbl("BIAS", 101.5),
               FitsKey::Dbl("GAIN", 2.25), FitsKey::Dbl("EXPTIME", 12.34),
               FitsKey::Int("ORGCOL", 10), FitsKey::Int("BINCOL", 2), FitsKey::Int("BINROW", 3),
               FitsKey::Str("OBS-TYPE", "FLAT")});
    Loaded l;
    LoadInto(l, dir.File("h.fit"));
    ASSERT_TRUE(l.ok);
    const HeaderRecord& h = l.program.header;
    EXPECT_EQ(HeaderText(h.object), "1998 KY26 and mor");  // 17 characters
    EXPECT_EQ(HeaderText(h.observer), "A. Observer");
    EXPECT_EQ(HeaderText(h.detector), "ST-8 camera");
    EXPECT_EQ(HeaderText(h.quality), "GOO");
    EXPECT_EQ(HeaderText(h.rightAscension), "12 34 56.");
    EXPECT_EQ(HeaderText(h.declination), "+01 02 03");
    EXPECT_EQ(HeaderText(h.epoch), " 2000");
    EXPECT_EQ(HeaderText(h.temperature), "-25.2");  // "%5.1lf" of −25.25, cut to 5
    EXPECT_EQ(h.filter, 4);
    EXPECT_FLOAT_EQ(h.biasLevel, 101.5f);
    EXPECT_FLOAT_EQ(h.electronGain, 2.25f);
    EXPECT_EQ(h.exposure, 123);
    EXPECT_EQ(h.originColumn, 10);
    EXPECT_EQ(h.binColumns, 2);
    EXPECT_EQ(h.detectorColumns, 128);
    EXPECT_EQ(h.detectorRows, 12);
    EXPECT_EQ(h.observationType, 7);
    EXPECT_EQ(h.observationTime, 0);
}

TEST(FitsReader, KeywordInsideAnotherCardIsStillFound) {
    TempDir dir;
    FitsImage im = Ramp(16, [](int) { return 0; });
    im.cards = {"HISTORY copied from the camera: GAIN    =       3.5 e/ADU"};
    WriteFits(dir.File("hist.fit"), im);
    Loaded l;
    LoadInto(l, dir.File("hist.fit"));
    ASSERT_TRUE(l.ok);
    EXPECT_FLOAT_EQ(l.program.header.electronGain, 3.5f);
}

TEST(FitsReader, ContinuationBlockOverridesTheFirst) {
    TempDir dir;
    FitsImage im = Ramp(16, [](int) { return 0; });
    for (int k = 0; k < 40; ++k) im.cards.push_back("HISTORY filler " + std::to_string(k));
    im.cards.push_back("CCDGAIN =       4.75");
    im.cards.push_back("FILTER  = 'R'");
    im.cards.push_back("IMAGETYP= 'dark'");
    WriteFits(dir.File("cont.fit"), im, {FitsKey::Dbl("GAIN", 1.5), FitsKey::Int("FILTER", 2)});
    Loaded l;
    LoadInto(l, dir.File("cont.fit"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.program.image.headerBlocks, 2);
    EXPECT_FLOAT_EQ(l.program.header.electronGain, 4.75f);  // "%f" from +16
    EXPECT_EQ(l.program.header.systemGain, 4);
    EXPECT_EQ(l.program.header.filter, 4);
    EXPECT_EQ(l.program.header.observationType, 2);  // dark with exposure 0 is a bias
}

std::int32_t Utc(int y, int mo, int d, int h, int mi, int s) {
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    return static_cast<std::int32_t>(timegm(&t));
}

TEST(FitsReader, DialectsDecideDateTimeAndBias) {
    TempDir dir;
    struct Case {
        const char* name;
        std::vector<std::string> cards;
        int dialect;
        std::int32_t time;
        float bias;
    } cases[] = {
        {"Dialect5",
         {"OBSERVAT= 'DSAZ    '", "DATE-OBS= '15/03/1998'", "UT      = '21:30:00'",
          "EXPTIME =                 60.0"},
         5, Utc(1998, 3, 15, 21, 30, 30), 0},
        {"Dialect5TimeObsWins",
         {"OBSERVAT= 'DSAZ    '", "DATE-OBS= '15/03/98'", "UT      = '21:30:00'",
          "TIME-OBS= '22:00:10'"},
         5, Utc(1998, 3, 15, 22, 0, 10), 0},
        {"Dialect5NoClock", {"OBSERVAT= 'DSAZ    '", "DATE-OBS= '15/03/98'"}, 5, 0, 0},
        {"Dialect1",
         {"ORIGIN  = 'OATo, Torino Italy'", "DATE-OBS= '07/01/01 03:04:05'",
          "EXPTIME =                 10.0", "BIAS    =                 10.0"},
         1, Utc(2001, 1, 7, 3, 4, 10), 662.0f},
        {"Dialect2Iso",
         {"ORIGIN  = 'DSAZ    '", "DATE    = '1999-12-31T00:00:00'",
          "UT_START=              3600.75", "CRVAL1  =                   12",
          "CRVAL2  =                   34"},
         2, Utc(1999, 12, 31, 1, 0, 0), 0},
        {"Dialect4",
         {"ORIGIN  = 'EOCA-PMIS'", "DATE-OBS= '01/02/2003'", "TIME-OBS= '04:05:06'"},
         4, Utc(2003, 2, 1, 4, 5, 6), 450.0f},
        {"Dialect6",
         {"ORIGIN  = 'ESO-LA SILLA'", "TELESCOP= 'Dutch 91cm'", "MJD-OBS =           51000.5",
          "EXPTIME =                 20.0"},
         6, 899726400 + 10, 260.0f},
        {"Dialect7", {"OBSERVAT= 'MSO'", "MJD     =           51000.5"}, 7, 899726400, 0},
        {"Dialect3KeepsStart",
         {"COMMENT   KVR FITS converted", "JDAY    =         2451001.0",
          "EXPTIME =                 20.0"},
         3, 899726400, 0},
        {"JdayAnyDialect", {"JDAY    =         2451001.0", "EXPTIME =                 20.0"}, 0,
         899726400 + 10, 0},
    };
    for (const Case& c : cases) {
        FitsImage im = Ramp(16, [](int) { return 100; });
        im.cards = c.cards;
        WriteFits(dir.File("d.fit"), im);
        Loaded l;
        LoadInto(l, dir.File("d.fit"));
        ASSERT_TRUE(l.ok) << c.name;
        EXPECT_EQ(l.program.image.dialect, c.dialect) << c.name;
        EXPECT_EQ(l.program.header.observationTime, c.time) << c.name;
        EXPECT_FLOAT_EQ(l.program.header.biasLevel, c.bias) << c.name;
        if (c.dialect == 2) {
            EXPECT_EQ(l.program.header.originColumn, 12);
            EXPECT_EQ(l.program.header.originRow, 34);
        }
        if (c.dialect == 4) {
            // Unsigned camera data: raw 100 is stored as 100 − 32767, shown as 100.
            EXPECT_EQ(l.program.image.bzero, 32767);
            EXPECT_EQ(StoredPixel(l.program.image, 0, 0), 100 - 32767);
            EXPECT_EQ(TruePixel(l.program.image, 0, 0), 100);
        }
    }
}

TEST(FitsReader, StandardDateObsGivesATimeOnlyWhereNoneWasFound) {
    TempDir dir;
    struct Case {
        const char* name;
        std::vector<FitsKey> keys;
        std::int32_t time;
    } cases[] = {
        {"IsoWithFraction",
         {FitsKey::Str("DATE-OBS", "2026-12-07T21:30:00.250"), FitsKey::Dbl("EXPTIME", 60.0)},
         Utc(2026, 12, 7, 21, 30, 30)},
        {"IsoWholeSeconds", {FitsKey::Str("DATE-OBS", "2026-12-07T21:30:59")},
         Utc(2026, 12, 7, 21, 30, 59)},
        {"DateOnlyIsMidnight", {FitsKey::Str("DATE-OBS", "2026-12-07")}, Utc(2026, 12, 7, 0, 0, 0)},
        {"DateOnlyWithTimeObs",
         {FitsKey::Str("DATE-OBS", "2026-12-07"), FitsKey::Str("TIME-OBS", "03:04:05.5")},
         Utc(2026, 12, 7, 3, 4, 5)},
        {"DateOnlyWithUt",
         {FitsKey::Str("DATE-OBS", "2026-12-07"), FitsKey::Str("UT", "23:59:58")},
         Utc(2026, 12, 7, 23, 59, 58)},
        // A time from another row stays exactly as it was.
        {"JdayWins",
         {FitsKey::Str("DATE-OBS", "2026-12-07T21:30:00"), FitsKey::Dbl("JDAY", 2451001.0)},
         899726400},
        {"OldFormNotRead", {FitsKey::Str("DATE-OBS", "07/12/26")}, 0},
        {"Garbage", {FitsKey::Str("DATE-OBS", "2026-13-07T21:30:00")}, 0},
    };
    for (const Case& c : cases) {
        FitsImage im = Ramp(16, [](int) { return 0; });
        WriteFits(dir.File("iso.fit"), im, c.keys);
        Loaded l;
        LoadInto(l, dir.File("iso.fit"));
        ASSERT_TRUE(l.ok) << c.name;
        EXPECT_EQ(l.program.header.observationTime, c.time) << c.name;
    }
}

TEST(FitsReader, PaddedFilterLetters) {
    TempDir dir;
    struct Case {
        std::string value;
        int filter;
        bool continuation;
    } cases[] = {
        {"U", 1, false}, {"B", 2, false}, {"V", 3, false}, {"R", 4, false}, {"I", 5, false},
        {"V", 3, true},  {"I", 5, true},  {"Clear", 0, false}, {"VR", 0, false},
        {" V", 0, false},
    };
    for (const Case& c : cases) {
        FitsImage im = Ramp(16, [](int) { return 0; });
        if (c.continuation) {
            for (int k = 0; k < 40; ++k) im.cards.push_back("HISTORY filler " + std::to_string(k));
            // Written by cfitsio's key routine below: padded to eight characters.
        }
        std::vector<FitsKey> keys;
        if (!c.continuation) keys.push_back(FitsKey::Str("FILTER", c.value));
        WriteFits(dir.File("f.fit"), im, keys);
        if (c.continuation) {
            // Append the padded card in the second block through cfitsio as well.
            FitsImage im2 = im;
            char card[81];
            std::snprintf(card, sizeof card, "FILTER  = '%-8s'", c.value.c_str());
            im2.cards.push_back(card);
            WriteFits(dir.File("f.fit"), im2);
        }
        Loaded l;
        LoadInto(l, dir.File("f.fit"));
        ASSERT_TRUE(l.ok) << c.value;
        if (c.continuation) {
            EXPECT_EQ(l.program.image.headerBlocks, 2);
        }
        EXPECT_EQ(l.program.header.filter, c.filter) << "'" << c.value << "'";
    }
}

}  // namespace
}  // namespace corvane::test
