#pragma once
// The three-pixel horizontal median, in place over the stored pixels.

#include <cstdint>

#include "image/image_record.h"
#include "platform/host.h"

namespace corvane {

// One row of `width` values: every column 2 … width − 2 receives the median of its own
// value and those of its two neighbours, all as they were before the row was filtered.
// Columns 0, 1 and width − 1 keep their values; a row of 3 or fewer is left alone.
void MedianFilterRow(std::int16_t* row, int width);

// The whole image under "Median filtering...", one progress step per row.
void MedianFilter(ImageRecord& image, Host& host);

}  // namespace corvane
