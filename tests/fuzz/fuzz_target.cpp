// One libFuzzer target; CORVANE_FUZZ_TARGET names the reader it drives.

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>

#include "support/fuzz_entries.h"

namespace {

// Set once by LLVMFuzzerInitialize: where the inputs and temporary pixel files go.
std::string gDirectory;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string base = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp";
    std::string pattern = base + "/corvane-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    gDirectory = pattern;
    // Every input and pixel file goes with its run; the directory itself goes at the end.
    std::atexit([] { ::rmdir(gDirectory.c_str()); });
    ::setenv("temp", gDirectory.c_str(), 1);
    // A header may claim an image of gigabytes; past 256 MB the temporary pixel file fails
    // as on a full disk instead of filling the shared machine's disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{256L << 20, 256L << 20};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const corvane::test::FuzzTarget target =
        *corvane::test::FuzzTargetNamed(CORVANE_FUZZ_TARGET);
    corvane::test::RunFuzzInput(target, data, size, gDirectory);
    return 0;
}
