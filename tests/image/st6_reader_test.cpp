#include <gtest/gtest.h>

#include "support/load_helpers.h"
#include "support/temp_dir.h"
#include "support/st6_writer.h"

namespace corvane::test {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::int16_t> Transformed(const std::vector<std::uint16_t>& values, unsigned pedestal) {
    std::vector<std::int16_t> out;
    for (std::uint16_t v : values) {
        out.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(v + pedestal - 100) / 2));
    }
    return out;
}

TEST(St6Reader, FillsTheHeaderAndHalvesThePixels) {
    for (bool compressed : {false, true}) {
        TempDir dir;
        St6File st6;
        st6.compressed = compressed;
        st6.rows = 5;
        st6.values = St6Values(st6);
        st6.values[0] = 65535;
        st6.values[1] = 1;
        st6.values[2] = 40001;
        st6.values[3] = 100;
        Program program;
        SetHeaderText(program.header.object, "Ceres");  // the ST-6 header has no object
        SetHeaderText(program.header.epoch, "1950");
        FakeHost host;
        ASSERT_TRUE(LoadBytes(program, host, dir, "a.st6", St6Bytes(st6))) << compressed;
        EXPECT_TRUE(host.messages.empty());

        const ImageRecord& im = program.image;
        const HeaderRecord& h = program.header;
        EXPECT_EQ(im.formatCode, compressed ? kFormatSt6Compressed : kFormatSt6);
        EXPECT_EQ(im.width, 64);
        EXPECT_EQ(im.height, 5);
        EXPECT_EQ(h.detectorColumns, 64);
        EXPECT_EQ(h.detectorRows, 5);
        EXPECT_EQ(h.exposure, 400);
        EXPECT_EQ(h.observationTime, 916444810);  // 1999-01-16 00:00:10, mid-exposure
        EXPECT_EQ(HeaderText(h.temperature), "-20.5");
        EXPECT_EQ(HeaderText(h.observer), "J. Smith");
        EXPECT_EQ(HeaderText(h.comment), "flat field");
        EXPECT_EQ(HeaderText(h.detector), "ST-6");
        EXPECT_FLOAT_EQ(h.electronGain, 2.5F);
        EXPECT_EQ(im.pedestal, 100U);
        EXPECT_EQ(h.systemGain, 2);
        EXPECT_EQ(h.filter, 1);
        EXPECT_EQ(h.observationType, 3);
        EXPECT_EQ(h.binColumns, 1);
        EXPECT_FLOAT_EQ(h.biasLevel, 0.0F);
        EXPECT_EQ(HeaderText(h.object), "Ceres");
        EXPECT_EQ(HeaderText(h.epoch), "1950");
        EXPECT_EQ(program.roi.yc, 2);

        std::vector<std::int16_t> pixels = StoredPixels(im);
        EXPECT_EQ(pixels[0], 32767);
        EXPECT_EQ(pixels[1], 0);
        EXPECT_EQ(pixels[2], 20000);
        EXPECT_EQ(pixels[3], 50);
        EXPECT_EQ(pixels, Transformed(st6.values, 100)) << compressed;
        EXPECT_TRUE(im.tempFile.has_value());
    }
}

TEST(St6Reader, DateAndClockGiveTheMidExposureTime) {
    struct Case {
        const char* date;
        const char* time;
        const char* exposure;
        std::int32_t expected;
    } cases[] = {
        {"01/15/99", "23:59:50", "4000", 916444810},
        {"03/01/80", "12:00:00", "0", 320760000},
        {"02/29/00", "06:30:00", "1999", 951805800 + 9},  // 19.9 s: 9 s to the middle
        {"12/31/79", "00:00:00", "0", 0},  // 2079 does not fit the 32-bit seconds
    };
    for (const Case& c : cases) {
        TempDir dir;
        St6File st6;
        st6.date = c.date;
        st6.time = c.time;
        st6.exposure = c.exposure;
        Program program;
        FakeHost host;
        ASSERT_TRUE(LoadBytes(program, host, dir, "a.st6", St6Bytes(st6))) << c.date;
        EXPECT_EQ(program.header.observationTime, c.expected) << c.date;
    }
}

TEST(St6Reader, PedestalShiftsBeforeTheHalving) {
    TempDir dir;
    St6File st6;
    st6.pedestal = "300";
    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "a.st6", St6Bytes(st6)));
    EXPECT_EQ(StoredPixels(program.image), Transformed(St6Values(st6), 300));
    EXPECT_EQ(StoredPixel(program.image, 0, 0), (1000 + 200) / 2);
}

// The line reader takes 79 characters at a time: a longer line counts as two, and every
// line after it is read one place later.
TEST(St6Reader, ALineOfMoreThan78CharactersShiftsTheLinesAfterIt) {
    struct Case {
        std::size_t length;
        bool loads;
    } cases[] = {{78, true}, {79, false}, {120, false}};
    for (const Case& c : cases) {
        TempDir dir;
        St6File st6;
        std::vector<std::string> lines = St6HeaderLines(st6);
        lines[6].resize(c.length, 'x');  // line 7, read and skipped
        std::string bytes = St6HeaderBytes(st6, lines);
        for (std::uint16_t v : St6Values(st6)) {
            bytes += static_cast<char>(v & 0xFF);
            bytes += static_cast<char>(v >> 8);
        }
        Program program;
        FakeHost host;
        EXPECT_EQ(LoadBytes(program, host, dir, "a.st6", bytes), c.loads) << c.length;
        if (!c.loads) {
            // Rows then come from "Range = 4095", columns from "Height = 4".
            EXPECT_EQ(host.MessageLines(), Lines{"MSG 119: Image is too small"});
            EXPECT_EQ(program.header.detectorRows, 4095);
        }
    }
}

TEST(St6Reader, RefusesWhatItCannotRead) {
    St6File version2;
    version2.version = "File_version = 2";
    St6File narrow;
    narrow.columns = 63;
    St6File whole;
    whole.rows = 8;
    const std::string wholeBytes = St6Bytes(whole);
    RefusedFile cases[] = {
        {"St6Version2", St6Bytes(version2), {"MSG 9: Format version not supported"}},
        {"St6Narrow", St6Bytes(narrow), {"MSG 119: Image is too small"}},
        {"St6HeaderOnly", wholeBytes.substr(0, 2048), {"MSG 119: Image is too small"}},
        {"St6ThreeRows", wholeBytes.substr(0, 2048 + 3 * 128 + 127),
         {"MSG 119: Image is too small"}},
    };
    for (const RefusedFile& c : cases) {
        ExpectRefused(c);
    }
}

TEST(St6Reader, AShortUncompressedFileKeepsItsWholeRows) {
    TempDir dir;
    St6File st6;
    st6.rows = 8;
    const std::string bytes = St6Bytes(st6);
    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "a.st6", bytes.substr(0, 2048 + 5 * 128 + 1)));
    EXPECT_EQ(host.MessageLines(), Lines{"MSG 129: Warning! Some lines are missing."});
    EXPECT_EQ(program.image.height, 5);
    EXPECT_EQ(program.header.detectorRows, 5);
    EXPECT_EQ(program.roi.yc, 2);
}

// The compressed pixels of a 64-column image whose rows are given as records.
std::string CompressedFile(int rows, const std::string& records, unsigned pedestal = 100) {
    St6File st6;
    st6.compressed = true;
    st6.rows = rows;
    st6.pedestal = std::to_string(pedestal);
    return St6HeaderBytes(st6, St6HeaderLines(st6)) + records;
}

std::vector<std::uint16_t> Row(std::uint16_t first, int step) {
    std::vector<std::uint16_t> row;
    for (int i = 0; i < 64; ++i) {
        row.push_back(static_cast<std::uint16_t>(first + step * i));
    }
    return row;
}

TEST(St6CompressedReader, DecodesDeltasEscapesAndRawRecords) {
    std::vector<std::uint16_t> jumps = Row(5000, 1);
    jumps[10] = 60000;  // escapes to and from it
    jumps[11] = 59873;  // −127 still a delta
    std::vector<std::uint16_t> wraps = Row(65530, 3);  // 16-bit wrap-around by deltas
    std::vector<std::uint16_t> flat = Row(200, 0);
    const std::string records = St6CompressedRecord(jumps.data(), 64) +
                                St6CompressedRecord(wraps.data(), 64) +
                                St6RawRecord(flat.data(), 64) +
                                St6CompressedRecord(flat.data(), 64);
    // The writer escaped exactly the two steps outside −127 … 127.
    ASSERT_EQ(St6CompressedRecord(jumps.data(), 64).size(), 2u + 2 + 63 + 2 * 2);

    TempDir dir;
    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "c.st6", CompressedFile(4, records)));
    EXPECT_TRUE(host.messages.empty());
    std::vector<std::uint16_t> all = jumps;
    all.insert(all.end(), wraps.begin(), wraps.end());
    all.insert(all.end(), flat.begin(), flat.end());
    all.insert(all.end(), flat.begin(), flat.end());
    EXPECT_EQ(StoredPixels(program.image), Transformed(all, 100));
}

TEST(St6CompressedReader, RowsTheFileDoesNotSupplyHoldThePedestal) {
    std::vector<std::uint16_t> row = Row(1000, 2);
    TempDir dir;
    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "c.st6",
                          CompressedFile(6, St6CompressedRecord(row.data(), 64), 50)));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(StoredPixel(program.image, 1, 0), (1002 + 50 - 100) / 2);
    for (int r = 1; r < 6; ++r) {
        EXPECT_EQ(StoredPixel(program.image, 17, r), 32743) << r;  // (0 + 50 − 100) mod 65536, halved
    }
}

TEST(St6CompressedReader, MoreRecordsThanRowsAreIgnoredWithAWarning) {
    std::vector<std::uint16_t> row = Row(1000, 1);
    std::string records;
    for (int i = 0; i < 6; ++i) {
        records += St6CompressedRecord(row.data(), 64);
    }
    TempDir dir;
    Program program;
    FakeHost host;
    ASSERT_TRUE(LoadBytes(program, host, dir, "c.st6", CompressedFile(4, records)));
    EXPECT_EQ(host.MessageLines(), Lines{"MSG 139: Warning! File is longer than it ought to."});
    EXPECT_EQ(program.image.height, 4);
}

TEST(St6CompressedReader, RefusesRecordsThatDoNotHoldARow) {
    std::vector<std::uint16_t> row = Row(1000, 1);
    const std::string good = St6CompressedRecord(row.data(), 64);
    const std::string raw = St6RawRecord(row.data(), 64);
    auto withLength = [](std::uint16_t length, std::string data) {
        std::string record;
        record += static_cast<char>(length & 0xFF);
        record += static_cast<char>(length >> 8);
        return record + data;
    };
    const std::string body = good.substr(2);
    RefusedFile cases[] = {
        // One byte more than the row uses.
        {"St6RecordTooLong", withLength(static_cast<std::uint16_t>(body.size() + 1), body + "x"),
         {"MSG 9: messing up with the index"}},
        // The row runs out of bytes before its last pixel.
        {"St6RecordTooShort", withLength(static_cast<std::uint16_t>(body.size() - 1), body),
         {"MSG 9: messing up with the index"}},
        // Longer than any row of 64 pixels could be: 2 + 3 × 63 bytes.
        {"St6RecordPastBuffer", withLength(192, std::string(192, '\0')),
         {"MSG 9: messing up with the index"}},
        {"St6NegativeLength", withLength(0xFFFE, std::string(4, '\0')),
         {"MSG 9: messing up with the index"}},
        {"St6CompressedCut", good + good.substr(0, 30), {"MSG 119: Image length is too short"}},
        {"St6RawCut", good + raw.substr(0, 100), {"MSG 109: Image length is too short"}},
    };
    for (RefusedFile& c : cases) {
        c.bytes = CompressedFile(4, c.bytes);
        ExpectRefused(c);
    }
}

}  // namespace
}  // namespace corvane::test
