#pragma once
// An image held in memory, for tests that need pixels and a display image without a file.

#include <cstdint>
#include <vector>

#include "image/image_record.h"

namespace corvane::test {

// Points `image` at `pixels` (width × height stored values, row-major, owned by the test
// and kept alive as long as the record is used), sets the geometry and bzero, gives it a
// zeroed display image as the loader would, and marks it loaded.
void AttachPixels(ImageRecord& image, std::vector<std::int16_t>& pixels, int width, int height,
                  std::int32_t bzero = 0);

// An ImageRecord over pixels it owns, filled with one value, for the photometry tests.
class MemoryImage {
public:
    MemoryImage(int width, int height, std::int16_t fill = 0, std::int32_t bzero = 0);
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    // Stored value at (column, row); the test keeps to the image.
    std::int16_t& At(int column, int row) {
        return pixels_[static_cast<std::size_t>(row) * static_cast<std::size_t>(image.width) +
                       static_cast<std::size_t>(column)];
    }

    ImageRecord image;

private:
    std::vector<std::int16_t> pixels_;
};

}  // namespace corvane::test
