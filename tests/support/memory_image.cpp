#include "support/memory_image.h"

#include <stdexcept>

namespace corvane::test {

void AttachPixels(ImageRecord& image, std::vector<std::int16_t>& pixels, int width, int height,
                  std::int32_t bzero) {
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("AttachPixels: pixel count does not match the geometry");
    }
    image.width = width;
    image.height = height;
    image.bzero = bzero;
    image.pixels = pixels.data();
    SetDisplayGeometry(image);
    image.displayImage.assign(static_cast<std::size_t>(image.displayBufferSize), 0);
    image.loaded = true;
}

MemoryImage::MemoryImage(int width, int height, std::int16_t fill, std::int32_t bzero)
    : pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {
    AttachPixels(image, pixels_, width, height, bzero);
    image.bitpix = 16;
}

}  // namespace corvane::test
