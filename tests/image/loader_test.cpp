// The loader's failure table, recognition and the window side of a load, through
// LoadImage as the desktop program calls it.

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "image/loader.h"
#include "support/fits_writer.h"
#include "support/load_helpers.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

FitsImage Small(int value = 10) {
    FitsImage im;
    im.width = 64;
    im.height = 4;
    im.values.assign(64 * 4, value);
    return im;
}

// A program that shows `first` when the test begins.
struct Session {
    TempDir dir;
    Loaded l;
    std::string first;
    Session() {
        first = dir.File("first.fit");
        WriteFits(first, Small());
        LoadInto(l, first);
        EXPECT_TRUE(l.ok);
        l.host.messages.clear();
    }
    bool Load(const std::string& path) {
        return LoadImage(l.program, l.host, path);
    }
};

TEST(Loader, SuccessShowsTheImage) {
    TempDir dir;
    FitsImage im = Small();
    im.width = 1024;
    im.height = 1024;
    im.values.assign(1024 * 1024, 1);
    WriteFits(dir.File("big.fit"), im);
    Loaded l;
    LoadInto(l, dir.File("big.fit"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.host.title, "Corvane 32 - " + dir.File("big.fit"));
    EXPECT_EQ(l.host.panes[static_cast<int>(Pane::Image)], "  Image: 1024 x 1024 - 2.0 MB");
    EXPECT_EQ(l.host.panes[static_cast<int>(Pane::Readout)], "");
    EXPECT_EQ(l.host.paneHistory[0].front(), "Loading image...");
    EXPECT_TRUE(l.host.menu.nextEnabled);
    EXPECT_TRUE(l.host.menu.reloadEnabled);
    EXPECT_TRUE(l.host.menu.outputFilesEnabled);
    EXPECT_TRUE(l.host.menu.topEnabled[kMenuWindow]);
    EXPECT_TRUE(l.host.menu.topEnabled[kMenuFaceLift]);
    EXPECT_TRUE(l.host.menu.topEnabled[kMenuPhotometry]);
    EXPECT_EQ(l.host.waitDepth, 0);
    // The display rebuild inside the load nests its own hourglass in the loader's.
    EXPECT_EQ(l.host.maxWaitDepth, 2);
    EXPECT_EQ(l.program.image.displayImage.size(), 1024u * 1024u + 4u);
}

TEST(Loader, WildcardOpensTheFirstMatch) {
    TempDir dir;
    WriteFits(dir.File("m7b.fit"), Small());
    WriteFits(dir.File("m7a.fit"), Small());
    Loaded l;
    LoadInto(l, dir.File("m7*.fit"));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.program.image.path, dir.File("m7a.fit"));
    EXPECT_EQ(l.host.title, "Corvane 32 - " + dir.File("m7a.fit"));
}

TEST(Loader, LookupFailureKeepsThePreviousImage) {
    Session s;
    EXPECT_FALSE(s.Load(s.dir.File("missing.fit")));
    EXPECT_EQ(s.l.host.MessageLines(),
              std::vector<std::string>{"Msg 213: FindFirstFile function failed. Error 2."});
    EXPECT_TRUE(s.l.program.image.loaded);
    EXPECT_NE(s.l.program.image.pixels, nullptr);
    EXPECT_EQ(s.l.host.title, "Corvane 32 - " + s.first);
}

TEST(Loader, FailuresAfterTheLookupCloseThePreviousImage) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<MessageAnswer> answers;
        std::vector<std::string> messages;
    } cases[] = {
        {"OneByte", "S", {}, {"MSG 27: Invalid image format."}},
        {"PcWithoutNul", "PCX and more bytes", {MessageAnswer::No},
         {"MSG 20: Unknown Image Format. Open as raw?"}},
        {"Unknown", std::string(200, 'x'), {MessageAnswer::No},
         {"MSG 20: Unknown Image Format. Open as raw?"}},
        {"BrokenFits", "SIMPLE  =                    T", {},
         {"MSG 27: Invalid FITS format", "MSG 109: Error in image format"}},
    };
    for (const Case& c : cases) {
        Session s;
        std::string path = s.dir.File(std::string(c.name) + ".dat");
        WriteBytes(path, c.bytes);
        s.l.host.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_FALSE(s.Load(path)) << c.name;
        EXPECT_EQ(s.l.host.MessageLines(), c.messages) << c.name;
        EXPECT_FALSE(s.l.program.image.loaded) << c.name;
        EXPECT_EQ(s.l.program.image.pixels, nullptr);
        EXPECT_TRUE(s.l.program.image.displayImage.empty());
        // The window is empty again: title, grayed menus.
        EXPECT_EQ(s.l.host.title, "Corvane 32 - ") << c.name;
        EXPECT_FALSE(s.l.host.menu.topEnabled[kMenuWindow]);
        EXPECT_FALSE(s.l.host.menu.nextEnabled);
        EXPECT_TRUE(s.l.program.image.path.empty());
        // Only the test's own files remain: no temporary pixel file.
        for (const std::string& name : s.dir.Entries()) {
            EXPECT_EQ(name.find("~cor"), std::string::npos) << c.name;
        }
    }
}

TEST(Loader, PathOf128CharactersIsRefused) {
    Session s;
    std::string name(128 - s.dir.Path().size() - 1, 'a');
    std::string path = s.dir.File(name);
    ASSERT_EQ(path.size(), 128u);
    WriteFits(path, Small());
    EXPECT_FALSE(s.Load(path));
    EXPECT_EQ(s.l.host.MessageLines(),
              std::vector<std::string>{"MSG 207: File Name cannot be longer than 128 characters"});
    EXPECT_FALSE(s.l.program.image.loaded);

    std::string shorter = path.substr(0, 127);
    std::filesystem::rename(path, shorter);
    s.l.host.messages.clear();
    EXPECT_TRUE(s.Load(shorter));
}

TEST(Loader, RecognitionTableOrder) {
    auto bytesOf = [](const std::string& s) {
        FirstBytes b{};
        std::copy(s.begin(), s.begin() + std::min<std::size_t>(s.size(), b.size()), b.begin());
        return b;
    };
    struct Case {
        std::string bytes;
        int formatCode;  // 0: nothing matches
    } cases[] = {
        {std::string("PC\0", 3), kFormatPc},
        {"PC", kFormatPc},  // a two-byte file: the third byte reads as NUL
        {"PCX", 0},
        {std::string("MM\0*", 4), kFormatTiffBig},
        {"II*\0", kFormatTiffLittle},
        {"HK", kFormatHk},
        {"SIMPLE  =                    T /  KVR FITS V1.0 and the rest", kFormatFits},
        {"SIMPLE  =                    T / KVR FITS V1.0", kFormatFits},
        {"ST-6 Compressed Image", kFormatSt6Compressed},
        {"ST-6 Image", kFormatSt6},
        {"ST-6 Imag", 0},
        {"SIMPLE  = ", 0},
    };
    for (const Case& c : cases) {
        FirstBytes b = bytesOf(c.bytes);
        const FormatRow* hit = nullptr;
        for (const FormatRow& row : kFormatTable) {
            if (row.matches(b)) {
                hit = &row;
                break;
            }
        }
        EXPECT_EQ(hit ? hit->formatCode : 0, c.formatCode) << c.bytes;
    }
    // The KVR marker goes to its own reader, a plain FITS header to the FITS reader.
    EXPECT_NE(kFormatTable[4].read, kFormatTable[6].read);
}

TEST(Loader, TemporaryFilesAreNumberedAndRemoved) {
    TempDir dir;
    WriteFits(dir.File("a.fit"), Small());
    Loaded one, two;
    LoadInto(one, dir.File("a.fit"));
    LoadInto(two, dir.File("a.fit"));
    ASSERT_TRUE(one.ok && two.ok);
    EXPECT_EQ(one.program.image.tempFile->Path(), dir.File("~cor0000.tmp"));
    EXPECT_EQ(two.program.image.tempFile->Path(), dir.File("~cor0001.tmp"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.fit", "~cor0000.tmp", "~cor0001.tmp"}));

    CloseImage(one.program, one.host);
    // Nothing of the released image is left for a later read to follow.
    const ImageRecord& closed = one.program.image;
    EXPECT_FALSE(closed.loaded);
    EXPECT_EQ(closed.pixels, nullptr);
    EXPECT_EQ(std::tie(closed.width, closed.height, closed.paddedWidth, closed.displayBufferSize),
              std::make_tuple(0, 0, 0, 0));
    EXPECT_TRUE(closed.displayImage.empty());
    EXPECT_EQ(one.host.title, "Corvane 32 - ");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.fit", "~cor0001.tmp"}));

    // A reload replaces the file: the released name is taken again.
    LoadInto(one, dir.File("a.fit"));
    EXPECT_EQ(one.program.image.tempFile->Path(), dir.File("~cor0000.tmp"));
    CloseImage(one.program, one.host);
    CloseImage(two.program, two.host);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.fit"});
}

TEST(Loader, TemporaryDirectoryThatCannotTakeFilesEndsTheLoad) {
    TempDir dir;
    WriteFits(dir.File("a.fit"), Small());
    ::setenv("temp", dir.File("no-such-dir").c_str(), 1);
    Loaded l;
    LoadInto(l, dir.File("a.fit"));
    EXPECT_FALSE(l.ok);
    ASSERT_EQ(l.host.messages.size(), 1u);
    EXPECT_EQ(l.host.messages[0].caption, "MSG 109d");
    EXPECT_NE(l.host.messages[0].text.find(dir.File("no-such-dir")), std::string::npos);
    EXPECT_FALSE(l.program.image.loaded);
}

}  // namespace
}  // namespace corvane::test
