#include <tiffio.h>

#include <gtest/gtest.h>

#include "support/load_helpers.h"
#include "support/temp_dir.h"
#include "support/tiff_writer.h"

namespace corvane::test {
namespace {

using Lines = std::vector<std::string>;

// What the reader stores for the samples of a grey image: 8 bits as they are, 16 bits
// halved.
std::vector<std::int16_t> Expected(const TiffImage& tiff) {
    std::vector<std::int16_t> out;
    for (std::uint16_t s : TiffSamples(tiff)) {
        out.push_back(static_cast<std::int16_t>(tiff.bitsPerSample == 16 ? s / 2 : s));
    }
    return out;
}

void LoadTiff(Loaded& loaded, const TempDir& dir, const std::string& bytes) {
    loaded.ok = LoadBytes(loaded.program, loaded.host, dir, "image.tif", bytes);
}

std::string TiffFile(const TempDir& dir, const TiffImage& tiff) {
    WriteTiff(dir.File("written.tif"), tiff);
    return ReadBytes(dir.File("written.tif"));
}

TEST(TiffReader, ReadsBothByteOrdersBothDepthsAndAnyStrips) {
    for (bool big : {false, true}) {
        for (int bits : {8, 16}) {
            for (int rowsPerStrip : {0, 1, 3}) {
                TempDir dir;
                TiffImage tiff;
                tiff.width = 70;
                tiff.height = 7;
                tiff.bigEndian = big;
                tiff.bitsPerSample = bits;
                tiff.rowsPerStrip = rowsPerStrip;
                Loaded l;
                LoadTiff(l, dir, TiffFile(dir, tiff));
                const std::string what = std::string(big ? "MM " : "II ") + std::to_string(bits) +
                                         " bits, rows per strip " + std::to_string(rowsPerStrip);
                ASSERT_TRUE(l.ok) << what;
                EXPECT_TRUE(l.host.messages.empty()) << what;
                EXPECT_EQ(l.program.image.formatCode, big ? kFormatTiffBig : kFormatTiffLittle);
                EXPECT_EQ(l.program.image.bitpix, bits);
                EXPECT_EQ(l.program.image.width, 70);
                EXPECT_EQ(l.program.image.height, 7);
                EXPECT_EQ(StoredPixels(l.program.image), Expected(tiff)) << what;
                EXPECT_TRUE(l.program.image.tempFile.has_value());
            }
        }
    }
}

TEST(TiffReader, HalvesSixteenBitSamplesWithoutSign) {
    TempDir dir;
    TiffImage tiff;
    tiff.samples = std::vector<std::uint16_t>(64 * 4, 7);
    tiff.samples[0] = 65535;
    tiff.samples[1] = 1;
    tiff.samples[2] = 32768;
    Loaded l;
    LoadTiff(l, dir, TiffFile(dir, tiff));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(StoredPixel(l.program.image, 0, 0), 32767);
    EXPECT_EQ(StoredPixel(l.program.image, 1, 0), 0);
    EXPECT_EQ(StoredPixel(l.program.image, 2, 0), 16384);
    EXPECT_EQ(StoredPixel(l.program.image, 3, 0), 3);
}

TEST(TiffReader, ClearsTheHeaderAndSetsItsOwnDefaults) {
    TempDir dir;
    Loaded l;
    SetHeaderText(l.program.header.object, "Ceres");
    l.program.header.filter = 3;
    TiffImage tiff;
    tiff.width = 100;
    tiff.height = 9;
    LoadTiff(l, dir, TiffFile(dir, tiff));
    ASSERT_TRUE(l.ok);
    const HeaderRecord& h = l.program.header;
    EXPECT_EQ(HeaderText(h.object), "");
    EXPECT_EQ(h.filter, 0);
    EXPECT_EQ(h.exposure, 1000);
    EXPECT_FLOAT_EQ(h.electronGain, 1.0F);
    EXPECT_EQ(h.observationType, 3);
    EXPECT_EQ(h.observationTime, 0);
    EXPECT_EQ(h.detectorColumns, 100);
    EXPECT_EQ(h.detectorRows, 9);
    EXPECT_EQ(h.binColumns, 1);
    EXPECT_EQ(h.binRows, 1);
    EXPECT_EQ(l.program.roi.xc, 50);
    EXPECT_EQ(l.program.roi.yc, 4);
}

TEST(TiffReader, StripTablesOfShortAndLongElementsReadAlike) {
    for (bool big : {false, true}) {
        for (int rowsPerStrip : {0, 2}) {
            for (std::uint16_t type : {std::uint16_t{TIFF_SHORT}, std::uint16_t{TIFF_LONG}}) {
                TempDir dir;
                TiffImage tiff;
                tiff.bigEndian = big;
                tiff.height = 6;
                tiff.rowsPerStrip = rowsPerStrip;
                TiffBytes bytes(TiffFile(dir, tiff));
                for (std::uint16_t tag : {std::uint16_t{273}, std::uint16_t{279}}) {
                    bytes.SetValues(tag, type, bytes.Values(tag));
                    ASSERT_EQ(bytes.Type(tag), type);
                }
                Loaded l;
                LoadTiff(l, dir, bytes.Bytes());
                ASSERT_TRUE(l.ok) << big << " " << rowsPerStrip << " " << type;
                EXPECT_EQ(StoredPixels(l.program.image), Expected(tiff));
            }
        }
    }
}

TEST(TiffReader, AcceptsUpTo2000DirectoryEntries) {
    for (std::uint32_t entries : {2000U, 2001U}) {
        TempDir dir;
        TiffBytes bytes(TiffFile(dir, TiffImage{}));
        bytes.PadDirectory(entries);
        Loaded l;
        LoadTiff(l, dir, bytes.Bytes());
        if (entries == 2000) {
            EXPECT_TRUE(l.ok);
            EXPECT_TRUE(l.host.messages.empty());
        } else {
            EXPECT_FALSE(l.ok);
            EXPECT_EQ(l.host.MessageLines(),
                      Lines{"MSG 271: Invalid TIFF format (# of DE == 0 || > 2000))"});
        }
    }
}

TEST(TiffReader, AMultiPageFileShowsItsFirstPageAfterOneWarning) {
    TempDir dir;
    TiffImage tiff;
    tiff.pages = 3;
    Loaded l;
    LoadTiff(l, dir, TiffFile(dir, tiff));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.host.MessageLines(), Lines{"MSG 327: This file contains multiple images"});
    EXPECT_EQ(StoredPixels(l.program.image), Expected(tiff));
}

// Only the first two stored bytes of the next-directory offset are looked at.
TEST(TiffReader, TheWarningAboutMorePagesLooksAtTheFirstTwoStoredBytes) {
    struct Case {
        bool big;
        std::uint32_t next;
        bool warns;
    } cases[] = {
        {false, 0x00000200, true},  {false, 0x00010000, false},
        {true, 0x00000200, false},  {true, 0x00010000, true},
    };
    for (const Case& c : cases) {
        TempDir dir;
        TiffImage tiff;
        tiff.bigEndian = c.big;
        TiffBytes bytes(TiffFile(dir, tiff));
        bytes.SetNextDirectory(c.next);
        Loaded l;
        LoadTiff(l, dir, bytes.Bytes());
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.host.messages.size(), c.warns ? 1u : 0u) << c.big << " " << c.next;
    }
}

TEST(TiffReader, RefusesWhatItCannotShow) {
    TempDir dir;
    TiffImage rgb;
    rgb.samplesPerPixel = 3;
    rgb.bitsPerSample = 8;
    TiffImage lzw;
    lzw.lzw = true;
    TiffImage narrow;
    narrow.width = 63;
    TiffImage flat;
    flat.height = 3;
    TiffImage multi;
    multi.rowsPerStrip = 1;

    auto patched = [&](const TiffImage& image, auto&& patch) {
        TiffBytes bytes(TiffFile(dir, image));
        patch(bytes);
        return bytes.Bytes();
    };
    const std::uint16_t ascii = 2;
    RefusedFile cases[] = {
        {"TiffRgb", TiffFile(dir, rgb), {"MSG 397: Corvane only supports 8-bit and 16-bit TIFF"}},
        {"TiffLzw", TiffFile(dir, lzw), {"MSG5427: Can't display compressed images. Sorry."}},
        {"TiffNarrow", TiffFile(dir, narrow), {"MSG 119: Image is too small"}},
        {"TiffFlat", TiffFile(dir, flat), {"MSG 119: Image is too small"}},
        {"TiffWidthAscii", patched(TiffImage{}, [&](TiffBytes& b) { b.SetType(256, ascii); }),
         {"423: Invalid IMAGEWIDTH field type"}},
        {"TiffLengthAscii", patched(TiffImage{}, [&](TiffBytes& b) { b.SetType(257, ascii); }),
         {"423: Invalid IMAGELENGTH field type"}},
        {"TiffStripAscii", patched(TiffImage{}, [&](TiffBytes& b) { b.SetType(273, ascii); }),
         {"423: Invalid STRIPOFFSET field type"}},
        {"TiffStripsAscii", patched(multi, [&](TiffBytes& b) { b.SetType(273, ascii); }),
         {"423: Invalid STRIPOFFSETS field type"}},
        {"TiffCountsAscii", patched(multi, [&](TiffBytes& b) { b.SetType(279, ascii); }),
         {"423: Invalid STRIPBYTECOUNTS field type"}},
        {"TiffRowsPerStripAscii", patched(TiffImage{}, [&](TiffBytes& b) { b.SetType(278, ascii); }),
         {"423: Invalid ROWSPERSTRIP field type"}},
        {"TiffCountsDiffer", patched(multi, [&](TiffBytes& b) {
             std::vector<std::uint32_t> counts = b.Values(279);
             counts.pop_back();
             b.SetValues(279, TIFF_LONG, counts);
         }), {"433: STRIPBYTECOUNTS and STRIPOFFSETS count differ!"}},
        {"TiffOneSamplePerPixel", patched(TiffImage{}, [&](TiffBytes& b) {
             b.SetValues(277, TIFF_SHORT, {2});
         }), {"MSG5427: Can't display more than one sample per pixel. Sorry."}},
        {"TiffTwelveBits", patched(TiffImage{}, [&](TiffBytes& b) {
             b.SetValues(258, TIFF_SHORT, {12});
         }), {"MSG 397: Corvane only supports 8-bit and 16-bit TIFF"}},
        {"TiffDirectoryAt4", patched(TiffImage{}, [&](TiffBytes& b) { b.Put32(4, 4); }),
         {"MSG 27: Invalid TIFF format"}},
        {"TiffNoEntries", patched(TiffImage{}, [&](TiffBytes& b) { b.Put16(b.FirstDirectory(), 0); }),
         {"MSG 271: Invalid TIFF format (# of DE == 0 || > 2000))"}},
        {"TiffDirectoryPastEof", patched(TiffImage{}, [&](TiffBytes& b) { b.Put32(4, 1u << 30); }),
         {"MSG 27: Invalid TIFF format"}},
        {"TiffStripTablePastEof", patched(multi, [&](TiffBytes& b) {
             b.Put32(b.EntryAt(273) + 8, static_cast<std::uint32_t>(b.Bytes().size() - 4));
         }), {"MSG 27: Invalid TIFF format"}},
        {"TiffNoStrips", patched(TiffImage{}, [&](TiffBytes& b) {
             b.Put16(b.EntryAt(273), 999);  // the tag becomes one the reader ignores
             b.Put16(b.EntryAt(279), 998);
         }), {"MSG 27: Invalid TIFF format"}},
        {"TiffHeaderCut", std::string("II*\0\x08\0\0", 7), {"MSG 27: Invalid TIFF format"}},
    };
    for (const RefusedFile& c : cases) {
        ExpectRefused(c);
    }
}

TEST(TiffReader, StripsAreBoundedByTheFileAndByThePixels) {
    TempDir dir;
    TiffImage tiff;
    tiff.rowsPerStrip = 2;
    tiff.height = 6;
    const std::string written = TiffFile(dir, tiff);
    const std::vector<std::int16_t> expected = Expected(tiff);

    {  // The last strip starts past the end of the file: the image keeps the rows before.
        TiffBytes bytes(written);
        std::vector<std::uint32_t> offsets = bytes.Values(273);
        offsets[2] = 0x7FFFFFF0;
        bytes.SetValues(273, TIFF_LONG, offsets);
        Loaded l;
        LoadTiff(l, dir, bytes.Bytes());
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.host.MessageLines(), Lines{"MSG 129: Warning! Some lines are missing."});
        EXPECT_EQ(l.program.image.height, 4);
        EXPECT_EQ(l.program.header.detectorRows, 4);
        EXPECT_EQ(StoredPixels(l.program.image),
                  std::vector<std::int16_t>(expected.begin(), expected.begin() + 4 * 64));
    }
    {  // The last strip's byte count runs past the end of the file: it is read to the end,
       // which holds more than the rows it still owes.
        TiffBytes bytes(written);
        std::vector<std::uint32_t> counts = bytes.Values(279);
        counts[2] = 0xFFFFFFFF;
        bytes.SetValues(279, TIFF_LONG, counts);
        Loaded l;
        LoadTiff(l, dir, bytes.Bytes());
        ASSERT_TRUE(l.ok);
        EXPECT_TRUE(l.host.messages.empty());
        EXPECT_EQ(StoredPixels(l.program.image), expected);
    }
    {  // Strips that supply fewer than four rows.
        TiffBytes bytes(written);
        bytes.SetValues(279, TIFF_LONG, {128 * 2, 128, 0});
        Loaded l;
        LoadTiff(l, dir, bytes.Bytes());
        EXPECT_FALSE(l.ok);
        EXPECT_EQ(l.host.MessageLines(), Lines{"MSG 119: Image is too small"});
    }
    {  // Strips holding more than the image: the pixels take what fits.
        TiffBytes bytes(written);
        bytes.SetValues(257, TIFF_SHORT, {4});
        Loaded l;
        LoadTiff(l, dir, bytes.Bytes());
        ASSERT_TRUE(l.ok);
        EXPECT_TRUE(l.host.messages.empty());
        EXPECT_EQ(StoredPixels(l.program.image),
                  std::vector<std::int16_t>(expected.begin(), expected.begin() + 4 * 64));
    }
}

}  // namespace
}  // namespace corvane::test
