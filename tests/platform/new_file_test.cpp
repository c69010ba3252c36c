// A file written whole before it gets its name, never over an existing one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/new_file.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

TEST(NewFile, TakesTheFirstFreeNameAndLeavesNothingElse) {
    TempDir dir;
    WriteBytes(dir.File("f1"), "earlier");
    WriteBytes(dir.File("f2"), "earlier too");
    const std::string bytes(100000, 'x');
    int offered = 0;
    const NewFile file =
        WriteNewFile(dir.Path(), bytes, [&] { return "f" + std::to_string(++offered); });
    EXPECT_EQ(file.path, dir.File("f3"));
    EXPECT_EQ(ReadBytes(dir.File("f3")), bytes);
    EXPECT_EQ(ReadBytes(dir.File("f1")), "earlier");
    EXPECT_EQ(ReadBytes(dir.File("f2")), "earlier too");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"f1", "f2", "f3"}));
}

TEST(NewFile, AFolderThatIsNotThereIsAnError) {
    TempDir dir;
    const NewFile file = WriteNewFile(dir.File("gone"), "x", [] { return std::string("f"); });
    EXPECT_TRUE(file.path.empty());
    EXPECT_FALSE(file.error.empty());
}

}  // namespace
}  // namespace corvane::test
