#include "support/load_helpers.h"

#include <gtest/gtest.h>


namespace corvane::test {

std::string FitsBlock(const std::vector<std::string>& cards) {
    std::string block;
    for (const std::string& card : cards) {
        std::string c = card.substr(0, 80);
        c.resize(80, ' ');
        block += c;
    }
    block.resize(2880, ' ');
    return block;
}

// Other image formats
bool LoadPath(Program& program, FakeHost& host, const std::string& path) {
    return LoadImage(program, host, path);
}

bool LoadBytes(Program& program, FakeHost& host, const TempDir& dir, const std::string& name,
               const std::string& bytes) {
    WriteBytes(dir.File(name), bytes);
    return LoadPath(program, host, dir.File(name));
}

void ExpectRefused(const RefusedFile& file) {
    TempDir dir;
    Program program;
    FakeHost host;
    EXPECT_FALSE(LoadBytes(program, host, dir, file.name, file.bytes)) << file.name;
    EXPECT_EQ(host.MessageLines(), file.messages) << file.name;
    EXPECT_FALSE(program.image.loaded) << file.name;
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{file.name}) << file.name;
}

std::vector<std::int16_t> StoredPixels(const ImageRecord& image) {
    return std::vector<std::int16_t>(
        image.pixels, image.pixels + static_cast<std::size_t>(image.width) *
                                         static_cast<std::size_t>(image.height));
}

}  // namespace corvane::test
