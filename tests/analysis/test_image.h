#pragma once
// Images held in memory for the analysis tests.

#include <cstdint>
#include <vector>

#include "image/image_record.h"

namespace corvane::test {

// Makes `image` a loaded width × height image over `pixels` (resized and filled).
inline void AttachPixels(ImageRecord& image, std::vector<std::int16_t>& pixels, int width,
                         int height, std::int16_t fill = 0, std::int32_t bzero = 0) {
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    image.width = width;
    image.height = height;
    image.bzero = bzero;
    image.loaded = true;
    image.path = "/data/test.fit";
    image.pixels = pixels.data();
    SetDisplayGeometry(image);
}

// An image that owns its pixels.
struct TestImage {
    std::vector<std::int16_t> pixels;
    ImageRecord image;

    TestImage(int width, int height, std::int16_t fill = 0, std::int32_t bzero = 0) {
        AttachPixels(image, pixels, width, height, fill, bzero);
    }
    TestImage(const TestImage&) = delete;
    TestImage& operator=(const TestImage&) = delete;

    std::int16_t& At(int column, int row) {
        return pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(image.width) +
                      static_cast<std::size_t>(column)];
    }
};

}  // namespace corvane::test
