#include <gtest/gtest.h>

#include "image/raw_dialog.h"
#include "support/load_helpers.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

using Lines = std::vector<std::string>;

RawDialogFields Typed(const char* columns, const char* rows, const char* header = "0",
                      const char* skip = "0", const char* bzero = "0", bool eightBit = false,
                      bool swap = false) {
    return RawDialogFields{columns, rows, header, skip, bzero, eightBit, swap};
}

TEST(RawDialog, OkAcceptsOnlyNumbersInTheirRanges) {
    struct Case {
        RawDialogFields fields;
        bool accepted;
    } cases[] = {
        {Typed("64", "100"), true},
        {Typed("1", "1"), true},
        {Typed("20000", "65382"), true},
        {Typed("20001", "100"), false},
        {Typed("0", "100"), false},
        {Typed("64", "0"), false},
        {Typed("64", "65383"), false},  // rows to skip + rows must stay below 65383
        {Typed("64", "383", "0", "65000"), false},
        {Typed("64", "383", "0", "64999"), true},
        {Typed("64", "100", "150000000"), true},
        {Typed("64", "100", "150000001"), false},
        {Typed("64", "100", "-1"), false},
        {Typed("64", "100", "0", "-1"), false},
        {Typed("64", "100", "0", "0", "32768"), true},
        {Typed("64", "100", "0", "0", "32769"), false},
        {Typed("64", "100", "0", "0", "-5"), false},
        {Typed(" 64 ", "100"), true},
        {Typed("64x", "100"), false},
        {Typed("", "100"), false},
        {Typed("6.4", "100"), false},
        {Typed("99999999999999999999", "100"), false},
    };
    for (const Case& c : cases) {
        ImageRecord image;
        image.width = 7;
        image.height = 9;
        image.bitpix = -32;
        RawOptions raw{11, 12, 13, true};
        EXPECT_EQ(AcceptRawDialog(c.fields, image, raw), c.accepted)
            << c.fields.columns << " " << c.fields.rows << " " << c.fields.headerBytes << " "
            << c.fields.skipRows << " " << c.fields.bzero;
        if (!c.accepted) {  // nothing stored
            EXPECT_EQ(image.width, 7);
            EXPECT_EQ(image.height, 9);
            EXPECT_EQ(image.bitpix, -32);
            EXPECT_EQ(raw.rawHeaderBytes, 11);
            EXPECT_EQ(raw.rawSkipRows, 12);
            EXPECT_EQ(raw.rawBzero, 13);
            EXPECT_TRUE(raw.rawSwapBytes);
        }
    }
}

TEST(RawDialog, OkStoresEveryFieldAndTheSampleWidth) {
    struct Case {
        bool eightBit;
        bool swap;
        int bitpix;
        bool storedSwap;
    } cases[] = {{false, true, 16, true}, {false, false, 16, false}, {true, true, 8, false}};
    for (const Case& c : cases) {
        ImageRecord image;
        RawOptions raw;
        ASSERT_TRUE(AcceptRawDialog(Typed("640", "480", "512", "3", "1000", c.eightBit, c.swap),
                                    image, raw));
        EXPECT_EQ(image.width, 640);
        EXPECT_EQ(image.height, 480);
        EXPECT_EQ(raw.rawHeaderBytes, 512);
        EXPECT_EQ(raw.rawSkipRows, 3);
        EXPECT_EQ(raw.rawBzero, 1000);
        EXPECT_EQ(image.bzero, 1000);
        EXPECT_EQ(image.bitpix, c.bitpix);
        EXPECT_EQ(raw.rawSwapBytes, c.storedSwap);
    }
}

TEST(RawDialog, OpensWithTheCurrentValues) {
    ImageRecord image;
    RawOptions raw;
    RawDialogFields empty = RawDialogFieldsFrom(image, raw);
    EXPECT_EQ(empty.columns, "");
    EXPECT_EQ(empty.rows, "");
    EXPECT_EQ(empty.headerBytes, "0");
    EXPECT_TRUE(empty.eightBit);  // bitpix 0 is not 16

    image.bitpix = 16;
    raw = RawOptions{2880, 4, 32768, true, 512, 256};
    RawDialogFields f = RawDialogFieldsFrom(image, raw);
    EXPECT_EQ(f.columns, "512");
    EXPECT_EQ(f.rows, "256");
    EXPECT_EQ(f.headerBytes, "2880");
    EXPECT_EQ(f.skipRows, "4");
    EXPECT_EQ(f.bzero, "32768");
    EXPECT_FALSE(f.eightBit);
    EXPECT_TRUE(f.swapBytes);
}

// 16-bit little-endian samples value = row × 1000 + column, after `header` bytes of 0xAB.
std::string RawFile(int columns, int rows, int header, int bits = 16) {
    std::string bytes(static_cast<std::size_t>(header), static_cast<char>(0xAB));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            int v = r * 1000 + c;
            if (bits == 8) {
                bytes += static_cast<char>((r * 7 + c) & 0xFF);
            } else {
                bytes += static_cast<char>(v & 0xFF);
                bytes += static_cast<char>(v >> 8);
            }
        }
    }
    return bytes;
}

struct RawCase {
    const char* name;
    std::string bytes;
    RawDialogFields fields;
    bool loads;
    int rows;
    Lines messages;
};

void RunRaw(const RawCase& c, Program& program, FakeHost& host, const TempDir& dir) {
    program.shell.openAsRaw = true;
    host.rawDialogScript.push_back(c.fields);
    EXPECT_EQ(LoadBytes(program, host, dir, "frame.raw", c.bytes), c.loads) << c.name;
    EXPECT_EQ(host.MessageLines(), c.messages) << c.name;
    if (c.loads) {
        EXPECT_EQ(program.image.formatCode, kFormatRaw) << c.name;
        EXPECT_EQ(program.image.height, c.rows) << c.name;
        EXPECT_EQ(program.header.detectorRows, c.rows) << c.name;
        EXPECT_EQ(program.roi.yc, c.rows / 2) << c.name;
    }
}

TEST(RawReader, FileSizeAgainstTheStatedLayout) {
    const std::string exact = RawFile(64, 100, 512);
    RawCase cases[] = {
        {"RawExact", exact, Typed("64", "100", "512"), true, 100, {}},
        {"RawOneRowMore", exact, Typed("64", "101", "512"), true, 100,
         {"MSG 129: Warning! Some lines are missing."}},
        {"RawLonger", exact + "x", Typed("64", "100", "512"), true, 100,
         {"MSG 139: Warning! File is longer than it ought to."}},
        {"RawSkipPastEof", exact, Typed("64", "10", "512", "101"), false, 0, {"MSG 119: Past EOF"}},
        {"RawHeaderPastEof", exact, Typed("64", "10", "20000"), false, 0, {"MSG 119: Past EOF"}},
        {"RawThreeRowsLeft", exact, Typed("64", "10", "512", "97"), false, 0,
         {"MSG 119: Image is too small"}},
        {"RawNarrow", exact, Typed("63", "100"), false, 0, {"MSG 119: Image is too small"}},
        {"RawFlat", exact, Typed("64", "3"), false, 0, {"MSG 119: Image is too small"}},
    };
    for (const RawCase& c : cases) {
        TempDir dir;
        Program program;
        FakeHost host;
        RunRaw(c, program, host, dir);
    }
}

TEST(RawReader, ConvertsTheSamplesFromTheFirstRowAfterTheSkip) {
    struct Case {
        RawDialogFields fields;
        int bits;
        std::int16_t first;   // stored value of column 0, row 0
        std::int16_t second;  // column 3, row 1
    } cases[] = {
        {Typed("64", "8", "16"), 16, 0, 1003},
        {Typed("64", "8", "16", "2"), 16, 2000, 3003},
        // 1003 is stored as EB 03; exchanged it reads 0xEB03.
        {Typed("64", "8", "16", "0", "0", false, true), 16, 0, static_cast<std::int16_t>(0xEB03)},
        {Typed("64", "8", "16", "0", "0", true), 8, 0, 10},
        {Typed("64", "8", "16", "1", "0", true), 8, 7, 17},
    };
    for (const Case& c : cases) {
        TempDir dir;
        Program program;
        FakeHost host;
        RawCase run{"raw", RawFile(64, 11, 16, c.bits), c.fields, true, 8,
                    {"MSG 139: Warning! File is longer than it ought to."}};
        RunRaw(run, program, host, dir);
        EXPECT_EQ(StoredPixel(program.image, 0, 0), c.first);
        EXPECT_EQ(StoredPixel(program.image, 3, 1), c.second);
        EXPECT_EQ(program.image.bitpix, c.bits);
    }
}

TEST(RawReader, BzeroMakesTheTrueValues) {
    TempDir dir;
    Program program;
    FakeHost host;
    std::string bytes = RawFile(64, 4, 0);
    bytes[0] = 5;
    bytes[1] = 0;
    RawCase c{"RawBzero", bytes, Typed("64", "4", "0", "0", "1000"), true, 4, {}};
    RunRaw(c, program, host, dir);
    EXPECT_EQ(StoredPixel(program.image, 0, 0), 5);
    EXPECT_EQ(TruePixel(program.image, 0, 0), 1005);
    EXPECT_EQ(program.image.bzero, 1000);
}

TEST(RawReader, AfterAnEightBitLoadTheDialogProposesEightBitsWithoutSwapAndItsSize) {
    TempDir dir;
    Program program;
    FakeHost host;
    RawCase c{"Raw8", RawFile(64, 4, 0, 8), Typed("64", "4", "0", "0", "0", true, true), true, 4, {}};
    RunRaw(c, program, host, dir);
    host.rawDialogScript.push_back(std::nullopt);  // Cancel the second time
    EXPECT_FALSE(LoadPath(program, host, dir.File("frame.raw")));
    ASSERT_EQ(host.rawDialogOpenings.size(), 2u);
    EXPECT_TRUE(host.rawDialogOpenings[1].eightBit);
    EXPECT_FALSE(host.rawDialogOpenings[1].swapBytes);
    EXPECT_EQ(host.rawDialogOpenings[1].columns, "64");
    // The cancelled load has emptied the window; the size is still proposed.
    ASSERT_FALSE(program.image.loaded);
    host.rawDialogScript.push_back(std::nullopt);
    EXPECT_FALSE(LoadPath(program, host, dir.File("frame.raw")));
    ASSERT_EQ(host.rawDialogOpenings.size(), 3u);
    EXPECT_EQ(host.rawDialogOpenings[2].columns, "64");
    EXPECT_EQ(host.rawDialogOpenings[2].rows, "4");
}

TEST(RawReader, AnInvalidPressKeepsTheDialogOpenUntilAValidOne) {
    TempDir dir;
    Program program;
    FakeHost host;
    program.shell.openAsRaw = true;
    host.rawDialogScript.push_back(Typed("64", "383", "0", "65000"));
    host.rawDialogScript.push_back(Typed("64", "4"));
    ASSERT_TRUE(LoadBytes(program, host, dir, "frame.raw", RawFile(64, 4, 0)));
    EXPECT_TRUE(host.messages.empty());  // the refused press shows no message
    EXPECT_EQ(program.raw.rawSkipRows, 0);
}

TEST(RawReader, AnUnknownFormatIsOpenedAsRawWhenTheUserSaysYes) {
    TempDir dir;
    Program program;
    FakeHost host;
    host.answers.push_back(MessageAnswer::Yes);
    host.rawDialogScript.push_back(Typed("64", "4"));
    std::string bytes = RawFile(64, 4, 0);
    bytes.replace(0, 3, "PCX");
    ASSERT_TRUE(LoadBytes(program, host, dir, "a.pcx", bytes));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "MSG 20");
    EXPECT_EQ(host.messages[0].text, "Unknown Image Format. Open as raw?");
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(program.image.formatCode, kFormatRaw);
}

}  // namespace
}  // namespace corvane::test
