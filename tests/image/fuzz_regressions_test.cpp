#include <gtest/gtest.h>

#include <filesystem>

#include "support/fuzz_entries.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

// Inputs on which a fuzz target once crashed, leaked or hung; each must now run through
// its target cleanly (under the sanitizer build a bad read fails the run).
TEST(FuzzRegressions, EveryKeptInputRunsThroughItsTarget) {
    // Not from __FILE__: a compiler cache with a base directory makes that relative.
    const fs::path root = fs::path(CORVANE_SOURCE_DIR) / "tests" / "fuzz" / "regressions";
    ASSERT_TRUE(fs::is_directory(root)) << root;
    int replayed = 0;
    for (const fs::directory_entry& folder : fs::directory_iterator(root)) {
        if (!folder.is_directory()) continue;
        std::optional<FuzzTarget> target = FuzzTargetNamed(folder.path().filename().string());
        ASSERT_TRUE(target.has_value()) << "no fuzz target named " << folder.path();
        for (const fs::directory_entry& input : fs::directory_iterator(folder.path())) {
            SCOPED_TRACE(input.path().string());
            const std::string bytes = ReadBytes(input.path().string());
            TempDir dir;
            RunFuzzInput(*target, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                         dir.Path());
            EXPECT_EQ(dir.Entries(), std::vector<std::string>{}) << "left behind";
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace corvane::test
