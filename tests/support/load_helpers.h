#pragma once
// Loading a file the way the desktop program does, for tests.

#include <string>
#include <vector>

#include "app/image_commands.h"
#include "app/program.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace corvane::test {

struct Loaded {
    Program program;
    FakeHost host;
    bool ok = false;
};

// Loads `path` into a fresh Program through LoadImage.
inline void LoadInto(Loaded& loaded, const std::string& path) {
    loaded.ok = LoadImage(loaded.program, loaded.host, path);
}

// A raw header block of 2880 bytes from whole cards, each padded to 80 characters,
// for headers no FITS library would write.
std::string FitsBlock(const std::vector<std::string>& cards);

// Other image formats: a file written from bytes and loaded, and the pixels it gave.
bool LoadPath(Program& program, FakeHost& host, const std::string& path);
bool LoadBytes(Program& program, FakeHost& host, const TempDir& dir, const std::string& name,
               const std::string& bytes);
std::vector<std::int16_t> StoredPixels(const ImageRecord& image);

// A file the readers must refuse: loading `bytes` (written as `name`) fails with exactly
// `messages` as "CAPTION: text" lines, no image is left loaded and no temporary pixel
// file is left behind.
struct RefusedFile {
    const char* name;
    std::string bytes;
    std::vector<std::string> messages;
};
void ExpectRefused(const RefusedFile& file);

}  // namespace corvane::test
