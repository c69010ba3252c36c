#pragma once
// Loading a test file the way the window does, with a recording host.

#include <string>

#include "app/image_commands.h"
#include "app/program.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace corvane::test {

inline bool LoadPath(Program& program, FakeHost& host, const std::string& path) {
    program.image.path = path;
    return LoadImage(program, host);
}

// Writes `bytes` as `name` in `dir` and loads it.
inline bool LoadBytes(Program& program, FakeHost& host, const TempDir& dir,
                      const std::string& name, const std::string& bytes) {
    WriteBytes(dir.File(name), bytes);
    return LoadPath(program, host, dir.File(name));
}

inline std::vector<std::int16_t> StoredPixels(const ImageRecord& image) {
    return std::vector<std::int16_t>(
        image.pixels, image.pixels + static_cast<std::size_t>(image.width) *
                                         static_cast<std::size_t>(image.height));
}

}  // namespace corvane::test
