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

// Columns filtered per stretch. A multiple of every vector width, so the inner loop of a
// full stretch needs no scalar remainder.
constexpr int kStretch = 256;

}  // namespace

// Each median is written as soon as it is known, while the unfiltered values it and the
// next window still need are kept in `unfiltered`: the same result as holding each median
// back one step, and the inner loop is free of any carried value.
void MedianFilterRow(std::int16_t* row, int width) {
    if (width < 4) {
        return;
    }
    // unfiltered[i] is the value column first − 1 + i had before the row was filtered.
    std::int16_t unfiltered[kStretch + 2];
    unfiltered[0] = row[1];
    const int last = width - 2;
    for (int first = 2; first <= last; first += kStretch) {
        const int count = std::min(kStretch, last - first + 1);
        // Columns first … first + count are not written yet.
        std::memcpy(unfiltered + 1, row + first, static_cast<std::size_t>(count + 1) * 2);
        std::int16_t* out = row + first;
        if (count == kStretch) {
            for (int i = 0; i < kStretch; ++i) {
                out[i] = Median3(unfiltered[i], unfiltered[i + 1], unfiltered[i + 2]);
            }
        } else {
            for (int i = 0; i < count; ++i) {
                out[i] = Median3(unfiltered[i], unfiltered[i + 1], unfiltered[i + 2]);
            }
        }
        unfiltered[0] = unfiltered[count];  // column first + count − 1, before its median
    }
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
