// Hostile and changing image files: sizes no reader may accept, and files that change
// after their image has loaded.

#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include "support/hk_pc_writer.h"
#include "support/kvr_writer.h"
#include "support/load_helpers.h"
#include "support/st6_writer.h"
#include "support/temp_dir.h"
#include "support/tiff_writer.h"

namespace corvane::test {
namespace {

// A header that claims `columns` × `rows` and nothing after it.
std::string St6Header(bool compressed, int columns, int rows) {
    St6File file;
    file.compressed = compressed;
    file.columns = columns;
    file.rows = rows;
    return St6HeaderBytes(file, St6HeaderLines(file));
}

std::string FitsHeader(const char* naxis1, const char* naxis2) {
    return FitsBlock({"SIMPLE  =                    T", "BITPIX  =                   16",
                      "NAXIS   =                    2", std::string("NAXIS1  = ") + naxis1,
                      std::string("NAXIS2  = ") + naxis2, "END"});
}

// Every reader whose header can state a side above 65535 refuses it at once: no
// temporary pixel file, no display image, whatever the file then holds.
TEST(ImageSize, SidesAbove65535AreRefusedBeforeAnythingIsMade) {
    TempDir dir;
    TiffBytes tiff(([&] {
        WriteTiff(dir.File("t.tif"), TiffImage{});
        return ReadBytes(dir.File("t.tif"));
    })());
    tiff.SetValues(256, TIFF_LONG, {70000});
    const std::vector<std::string> fitsRefused = {
        "MSG 27b: Image size out of range (NAXIS1 or NAXIS2)", "MSG 109: Error in image format"};
    RefusedFile cases[] = {
        // 2 KB that would ask for 2.4 GB of pixels and 1.2 GB of display image.
        {"huge.st6c", St6Header(true, 300000000, 4), {"MSG 119: Image is too large"}},
        {"wide.st6", St6Header(false, 65536, 4), {"MSG 119: Image is too large"}},
        {"tall.st6", St6Header(false, 64, 65536), {"MSG 119: Image is too large"}},
        // Both sides in range, but the display image would pass the record's 32-bit sizes.
        {"square.st6", St6Header(false, 65535, 65535), {"MSG 119: Image is too large"}},
        {"wide.tif", tiff.Bytes(), {"MSG 119: Image is too large"}},
        {"wide.fit", FitsHeader("65536", "4"), fitsRefused},
        {"square.fit", FitsHeader("65535", "65535"),
         {"MSG 119: Image is too large", "MSG 109: Error in image format"}},
    };
    for (const RefusedFile& c : cases) {
        ExpectRefused(c);
    }
}

// A camera in single-file mode rewrites its file, or cuts it short, while the last image
// is still shown; a user may delete it. The image must keep its pixels and never fault.
TEST(ImageFile, ChangingTheFileAfterTheLoadLeavesThePixelsAsTheyWere) {
    St6File st6;
    st6.columns = 256;
    st6.rows = 64;
    KvrFile kvr;
    kvr.naxis1 = 256;
    kvr.naxis2 = 64;
    struct Case {
        const char* name;
        std::string bytes;
        std::int32_t formatCode;
    } cases[] = {
        {"frame.st6", St6Bytes(st6), kFormatSt6},
        {"frame.kvr", KvrFitsBytes(kvr), kFormatFits},
        {"frame.hk", HkBytes(CameraHeader(true, 256, 64), RampPixels(256, 64)), kFormatHk},
        {"frame.pc", PcBytes(CameraHeader(false, 256, 64), RampPixels(256, 64)), kFormatPc},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        Program program;
        FakeHost host;
        ASSERT_TRUE(LoadBytes(program, host, dir, c.name, c.bytes)) << host.MessageLines()[0];
        ASSERT_EQ(program.image.formatCode, c.formatCode);
        const std::vector<std::int16_t> loaded = StoredPixels(program.image);

        // Rewritten in place with other values, then cut to nothing, then removed.
        WriteBytes(dir.File(c.name), std::string(c.bytes.size(), '\x55'));
        EXPECT_EQ(StoredPixels(program.image), loaded) << "rewritten";
        ASSERT_EQ(::truncate(dir.File(c.name).c_str(), 0), 0);
        EXPECT_EQ(StoredPixels(program.image), loaded) << "truncated";
        ASSERT_EQ(::unlink(dir.File(c.name).c_str()), 0);
        EXPECT_EQ(StoredPixels(program.image), loaded) << "deleted";
    }
}

}  // namespace
}  // namespace corvane::test
