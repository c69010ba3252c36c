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

}  // namespace corvane::test
