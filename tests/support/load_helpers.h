#pragma once
// Loading a file the way the desktop program does, for tests.

#include <string>
#include <vector>

#include "app/image_commands.h"
#include "app/program.h"
#include "support/fake_host.h"

namespace corvane::test {

struct Loaded {
    Program program;
    FakeHost host;
    bool ok = false;
};

// Loads `path` into a fresh Program through LoadImage.
inline void LoadInto(Loaded& loaded, const std::string& path) {
    loaded.program.image.path = path;
    loaded.ok = LoadImage(loaded.program, loaded.host);
}

// A raw header block of 2880 bytes from whole cards, each padded to 80 characters,
// for headers no FITS library would write.
std::string FitsBlock(const std::vector<std::string>& cards);

}  // namespace corvane::test
