// Input files and temporary pixel files: what they promise the readers.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "platform/file_access.h"
#include "platform/file_lookup.h"
#include "platform/temp_pixel_file.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

TEST(InputFile, ReadsAreBoundedByTheFile) {
    TempDir dir;
    WriteBytes(dir.File("f.bin"), "0123456789");
    auto file = InputFile::Open(dir.File("f.bin"));
    ASSERT_TRUE(file);
    char buffer[32] = {};
    EXPECT_EQ(file->ReadAt(8, buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(file->ReadAt(100, buffer, 4), 0u);
    EXPECT_TRUE(file->Seek(7));
    EXPECT_EQ(file->Read(buffer, 10), 3u);
    EXPECT_EQ(file->Size(), 10u);
    EXPECT_FALSE(InputFile::Open(dir.Path()));  // a directory is not an image file
}

TEST(FindFirstFile, PatternsAndLiteralNames) {
    TempDir dir;
    WriteBytes(dir.File("b2.fit"), "x");
    WriteBytes(dir.File("b1.fit"), "x");
    WriteBytes(dir.File("odd[1].fit"), "x");
    EXPECT_EQ(FindFirstFile(dir.File("b*.fit")).fileName, "b1.fit");
    EXPECT_EQ(FindFirstFile(dir.File("b?.fit")).fileName, "b1.fit");
    EXPECT_EQ(FindFirstFile(dir.File("odd[1].fit")).fileName, "odd[1].fit");
    LookupResult none = FindFirstFile(dir.File("c*.fit"));
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.errorCode, 2);
    EXPECT_FALSE(FindFirstFile(dir.Path()).found);  // a directory is not an image
}

TEST(TempPixelFile, ZeroFilledAndSized) {
    TempDir dir;
    TempFileResult made = TempPixelFile::Create(4096 * 2);
    ASSERT_TRUE(made.file);
    EXPECT_EQ(made.file->Size(), 8192u);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(made.file->Pixels()[i], 0);
    made.file->Pixels()[4095] = -7;
    EXPECT_EQ(ReadBytes(made.file->Path()).size(), 8192u);
}

TEST(TempPixelFile, AFileThatCannotGrowIsTheFullDiskCase) {
    TempDir dir;
    // A file-size limit stands in for a full disk: the blocks cannot be reserved, and the
    // failure must come back as an error, not as a fault while pixels are written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    TempFileResult made = TempPixelFile::Create(1 << 20);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(made.file);
    EXPECT_EQ(made.error, TempFileError::NoSpace);
    EXPECT_TRUE(dir.Entries().empty()) << "the half-made file was left behind";
}

TEST(TempPixelFile, TheSweepAtStartRemovesOnlyPixelFilesNobodyHolds) {
    TempDir dir;
    TempFileResult live = TempPixelFile::Create(64);
    ASSERT_TRUE(live.file);
    ASSERT_EQ(live.file->Path(), dir.File("~cor0000.tmp"));
    for (const char* stale : {"~cor0001.tmp", "~cor7.tmp", "~cor.tmp"}) {
        WriteBytes(dir.File(stale), "x");
    }
    for (const char* other : {"cor0002.tmp", "~cor0003.tmpx", "x~cor0004.tmp", "target"}) {
        WriteBytes(dir.File(other), "x");
    }
    ASSERT_EQ(::mkdir(dir.File("~cor0005.tmp").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(dir.File("target").c_str(), dir.File("~cor0006.tmp").c_str()), 0);

    EXPECT_EQ(RemoveStaleTempPixelFiles(dir.Path()), 3);
    EXPECT_EQ(dir.Entries(),
              (std::vector<std::string>{"cor0002.tmp", "target", "x~cor0004.tmp", "~cor0000.tmp",
                                        "~cor0003.tmpx", "~cor0005.tmp", "~cor0006.tmp"}));
    EXPECT_EQ(ReadBytes(dir.File("target")), "x");
}

}  // namespace
}  // namespace corvane::test
