#pragma once
// A Program with an image in memory and a FakeHost that reports a plain desktop window.

#include <cstdint>
#include <string>
#include <vector>

#include "app/program.h"
#include "support/fake_host.h"

namespace corvane::test {

// The data of a copy-data message naming `path`: the path and its terminator.
inline std::vector<std::uint8_t> PathData(const std::string& path) {
    std::vector<std::uint8_t> data(path.begin(), path.end());
    data.push_back(0);
    return data;
}

struct AppFixture {
    Program program;
    FakeHost host;
    std::vector<std::int16_t> pixels;

    AppFixture() { host.metrics = DesktopMetrics(); }

    // An image shown as the loader leaves it: pixel (c, r) holds c + 1000 × r (stored).
    void ShowImage(int width, int height) {
        ImageRecord& image = program.image;
        image.width = width;
        image.height = height;
        SetDisplayGeometry(image);
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c) {
                pixels[static_cast<std::size_t>(r) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(c)] = static_cast<std::int16_t>((c + 1000 * r) % 30000);
            }
        }
        image.pixels = pixels.data();
        image.displayImage.assign(static_cast<std::size_t>(image.displayBufferSize), 0);
        image.loaded = true;
        image.path = "/data/img009.fit";
        program.roi.xc = width / 2;
        program.roi.yc = height / 2;
    }
};

}  // namespace corvane::test
