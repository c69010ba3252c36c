#include "display/display_levels.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace corvane {

namespace {

// A stored value plus bzero as a limit; a bzero near the ends of the 32-bit range cannot
// wrap the limit around.
std::int32_t TrueLevel(std::int64_t stored, std::int32_t bzero) {
    const std::int64_t value = stored + bzero;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

struct Extremes {
    std::int32_t min = 32767;
    std::int32_t max = -32768;

    void Fold(std::int16_t value) {
        min = std::min<std::int32_t>(min, value);
        max = std::max<std::int32_t>(max, value);
    }
};

void SetLevels(const Extremes& e, std::int32_t bzero, DisplayLevels& levels) {
    levels.low = TrueLevel(e.min, bzero);
    levels.high = TrueLevel(e.max, bzero);
}

bool HasPixels(const ImageRecord& image) {
    return image.pixels != nullptr && image.width > 0 && image.height > 0;
}

}  // namespace

void ComputeMinMaxLevels(const ImageRecord& image, DisplayLevels& levels) {
    Extremes e;
    if (HasPixels(image)) {
        // Below 32 pixels the step would be 0; such an image is sampled at every pixel
        // inside the same margins instead.
        const int sx = std::max(1, image.width / 32);
        const int sy = std::max(1, image.height / 32);
        for (int x = sx; x < image.width - sx - 1; x += sx) {
            for (int y = sy; y < image.height - sy - 1; y += sy) {
                e.Fold(StoredPixel(image, x, y));
            }
        }
    }
    SetLevels(e, image.bzero, levels);
}

void ComputeFshowLevels(const ImageRecord& image, DisplayLevels& levels) {
    Extremes e;
    if (HasPixels(image) && image.height > 101 && image.width > 101) {
        const int rows = (image.height - 70) / 32;
        const int columns = (image.width - 70) / 32;
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < columns; ++j) {
                e.Fold(StoredPixel(image, 50 + 32 * j, 50 + 32 * i));
            }
        }
    }
    SetLevels(e, image.bzero, levels);
}

void ComputeHistogramLevels(const ImageRecord& image, DisplayLevels& levels, Host& host) {
    host.SetPaneText(Pane::Readout, "Sorting...");
    host.UpdateWindow();
    if (!HasPixels(image)) {
        host.SetPaneText(Pane::Readout, "");
        return;
    }

    const std::size_t n = std::min<std::size_t>(
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 2000000);
    // counter[stored + 32768]: the stored values in ascending order.
    std::vector<std::uint32_t> counter(65536, 0);
    for (std::size_t i = 0; i < n; i += 4) {
        ++counter[static_cast<std::size_t>(image.pixels[i] + 32768)];
    }

    // The thresholds are fractions of n although only every fourth pixel was counted.
    const double lowThreshold = 0.025 * static_cast<double>(n);
    const double highThreshold = 0.2495 * static_cast<double>(n);
    std::size_t l = 0;
    double sum = counter[0];
    while (sum < lowThreshold && l < 65535) {
        ++l;
        sum += counter[l];
    }
    std::size_t h = l;
    while (h < 65535) {
        ++h;
        sum += counter[h];
        if (sum >= highThreshold) break;
    }

    host.SetPaneText(Pane::Readout, "");
    levels.low = TrueLevel(static_cast<std::int64_t>(l) - 32768, image.bzero);
    levels.high = TrueLevel(static_cast<std::int64_t>(h) - 32768, image.bzero);
}

}  // namespace corvane
