#pragma once
// Pixel retouching in memory: one typed value, the outliers of a region, a copied block.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "image/image_record.h"
#include "platform/host.h"

namespace corvane {

// Recomputes the display byte of one changed pixel; false when that failed (the refresh
// has reported it), which stops a retouch loop.
using PixelRefresh = std::function<bool(int column, int row)>;

// The OK logic of "Edit Pixel": the entry as a signed decimal integer, less bzero, must fit
// a stored 16-bit value. nullopt keeps the dialog open.
std::optional<std::int16_t> EditPixelStoredValue(std::string_view entry, std::int32_t bzero);

// The two clipping passes of Clean ROI, in stored values.
struct CleanRoiResult {
    bool usable = false;  // both variances were neither negative nor NaN
    long count = 0;
    double mean1 = 0, sigma1 = 0;  // all pixels
    double mean2 = 0, sigma2 = 0;  // outliers of pass 1 counted as mean1
    int replaced = 0;              // pixels set to the rounded mean2
    bool refreshFailed = false;    // the replacement stopped at a failed refresh
};

// Replaces every pixel of the `width` × `height` region around (column, row) that lies
// beyond 3.5 sigma of the clipped mean by that mean, refreshing each. An unusable variance
// is reported ("error in evaluating RMS", "ClipROI") and changes nothing.
CleanRoiResult CleanRegion(ImageRecord& image, int column, int row, int width, int height,
                           Host& host, const PixelRefresh& refresh);

// Copies the `width` × `height` block around the source centre (xs, ys) onto the block
// around the destination centre (xd, yd), overlapping blocks as if through a separate
// buffer; pairs with either pixel outside the image are skipped. A failed refresh is
// reported ("problems", "MSG 91") and stops the copy. Returns the pixels copied.
int PatchRegion(ImageRecord& image, int xs, int ys, int xd, int yd, int width, int height,
                Host& host, const PixelRefresh& refresh);

}  // namespace corvane
