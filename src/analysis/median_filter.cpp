#include "analysis/median_filter.h"

#include <algorithm>
#include <cstring>

#include "platform/progress.h"

namespace corvane {

namespace {

inline std::int16_t Median3(std::int16_t l, std::int16_t m, std::int16_t r) {
    const std::int16_t lo = std::min(l, m);
    const std::int16_t hi = std::max(l, m);
    return std::max(lo, std::min(hi, r));
}

// Columns filtered per stretch: a multiple of every vector width, so that the loop over a
// stretch has a fixed length and no scalar remainder.
constexpr int kStretch = 256;

}  // namespace

// The medians of a stretch of columns are computed before any of them is written, and the
// last of them is held back until the next stretch has read it as its left neighbour: the
// write-back one step late, a stretch at a time. Every median thus sees unfiltered values.
void MedianFilterRow(std::int16_t* row, int width) {
    if (width < 4) {
        return;
    }
    const int last = width - 2;  // the last column that receives a median
    std::int16_t held = row[1];  // column 1 keeps its value
    std::int16_t median[kStretch];
    // The last, shorter stretch is read through a padded copy, so that its loop keeps the
    // fixed length without reading past the row.
    std::int16_t tail[kStretch + 2] = {};
    for (int first = 2; first <= last; first += kStretch) {
        const int count = std::min(kStretch, last - first + 1);
        // Unfiltered values of columns first − 1 … first + count.
        const std::int16_t* source = row + first - 1;
        if (count < kStretch) {
            std::memcpy(tail, source, static_cast<std::size_t>(count + 2) * 2);
            source = tail;
        }
        for (int i = 0; i < kStretch; ++i) {
            median[i] = Median3(source[i], source[i + 1], source[i + 2]);
        }
        row[first - 1] = held;
        std::memcpy(row + first, median, static_cast<std::size_t>(count - 1) * 2);
        held = median[count - 1];
    }
    row[last] = held;
}

void MedianFilter(ImageRecord& image, Host& host) {
    WaitCursor wait(host);
    Progress progress(host, "Median filtering...", image.height);
    host.UpdateWindow();
    const auto width = static_cast<std::size_t>(image.width);
    for (int row = 0; row < image.height; ++row) {
        MedianFilterRow(image.pixels + static_cast<std::size_t>(row) * width, image.width);
        progress.Step();
    }
}

}  // namespace corvane
