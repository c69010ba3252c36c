// Finding the acquisition program and noticing the end of a process.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/acquisition_process.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

void MakeFile(const std::string& path, bool executable) {
    test::WriteBytes(path, "#!/bin/sh\n");
    ::chmod(path.c_str(), executable ? 0755 : 0644);
}

TEST(FindProgram, BesideTheExecutableFirstThenThePathInOrder) {
    test::TempDir dir;
    for (const char* sub : {"bin", "p1", "p2", "p3"}) {
        std::filesystem::create_directory(dir.File(sub));
    }
    MakeFile(dir.File("p1/quib"), false);  // not executable: passed over
    MakeFile(dir.File("p2/quib"), true);
    MakeFile(dir.File("p3/quib"), true);
    std::filesystem::create_directory(dir.File("p1/quibdir"));
    const std::string path = dir.File("p1") + ":" + dir.File("p2") + ":" + dir.File("p3");

    EXPECT_EQ(FindProgram("quib", dir.File("bin"), path), dir.File("p2") + "/quib");
    MakeFile(dir.File("bin/quib"), true);
    EXPECT_EQ(FindProgram("quib", dir.File("bin"), path), dir.File("bin") + "/quib");
    EXPECT_EQ(FindProgram("quib", "", dir.File("p1")), "");
    EXPECT_EQ(FindProgram("quibdir", "", dir.File("p1")), "");  // a directory is no program
    EXPECT_EQ(FindProgram("quib", "", ""), "");
}

TEST(ProcessWatch, NoticesTheEndOfAProcess) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    std::optional<ProcessWatch> watch = ProcessWatch::Open(child);
    ASSERT_TRUE(watch);
    EXPECT_FALSE(watch->Ended());
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(watch->Ended());
    EXPECT_FALSE(ProcessWatch::Open(child));
    EXPECT_FALSE(ProcessWatch::Open(0));
}

}  // namespace
}  // namespace corvane
