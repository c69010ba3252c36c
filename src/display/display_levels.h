#pragma once
// The automatic display limits. Each reads a sample of the stored pixels and sets both
// limits in true values; none touches the display image.

#include "display/display_state.h"
#include "image/image_record.h"
#include "platform/host.h"

namespace corvane {

// Min-Max: the extremes of a coarse grid of about 30 × 30 pixels, one every 1/32 of the
// width and height, keeping clear of the last column and row.
void ComputeMinMaxLevels(const ImageRecord& image, DisplayLevels& levels);

// Fshow: the extremes of one pixel in 32 × 32, inside a frame of 50 pixels. An image of
// 101 rows or columns or fewer gives low = 32767 + bzero and high = −32768 + bzero.
void ComputeFshowLevels(const ImageRecord& image, DisplayLevels& levels);

// Histogram: about the 10th and 99.8th percentiles of every fourth pixel of at most the
// first 2,000,000. Shows "Sorting..." meanwhile.
void ComputeHistogramLevels(const ImageRecord& image, DisplayLevels& levels, Host& host);

}  // namespace corvane
