// Files held under their lock: one holder at a time, the name goes with the holder, and
// the sweep at start removes only the pixel files nobody holds.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_claim.h"
#include "platform/temp_pixel_file.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

TEST(FileClaim, OneHolderAtATimeAndTheNameGoesWithIt) {
    TempDir dir;
    const std::string path = dir.File("link.lock");
    {
        ClaimResult first = FileClaim::Take(path, ClaimOpen::OpenOrCreate);
        ASSERT_TRUE(first.claim);
        // Another open of the file, even in this process, finds it held.
        ClaimResult second = FileClaim::Take(path, ClaimOpen::OpenOrCreate);
        EXPECT_FALSE(second.claim);
        EXPECT_EQ(second.error, ClaimError::Held);
        EXPECT_EQ(FileClaim::Take(path, ClaimOpen::CreateNew).error, ClaimError::Exists);
    }
    EXPECT_TRUE(dir.Entries().empty());
    EXPECT_EQ(FileClaim::Take(path, ClaimOpen::OpenExisting).error, ClaimError::Failed);
    EXPECT_TRUE(FileClaim::Take(path, ClaimOpen::OpenOrCreate).claim);
}

TEST(TempPixelFile, TheSweepRemovesOnlyPixelFilesNobodyHolds) {
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
