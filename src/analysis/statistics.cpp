#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "analysis/region_pixels.h"
#include "platform/output_file.h"
#include "platform/progress.h"

namespace corvane {

RegionStats ComputeRegionStats(const ImageRecord& image, const RegionOfInterest& roi) {
    RegionStats s;
    const RegionSpan span = ClippedRegion(image, roi.xc, roi.yc, roi.width, roi.height);
    if (!span.Empty()) {
        for (int row = span.rowBegin; row < span.rowEnd; ++row) {
            for (int column = span.columnBegin; column < span.columnEnd; ++column) {
                const int p = StoredPixel(image, column, row);
                ++s.count;
                s.sum += p;
                s.sumOfSquares += p * p;  // at most 2^30: exact as a 32-bit product
                s.minimum = p < s.minimum ? p : s.minimum;
                s.maximum = p > s.maximum ? p : s.maximum;
            }
        }
    }
    const double n = static_cast<double>(s.count);
    s.mean = s.sum / n;
    s.variance = SampleVariance(n, s.sum, s.sumOfSquares, s.mean);
    return s;
}

bool VarianceUsable(double variance) {
    return variance >= 0;
}  // false for NaN as well

std::string StatsText(const RegionStats& s, std::int32_t bzero) {
    char piece[96];
    std::string text;
    std::snprintf(piece, sizeof piece, "Stats are: \n\nMin = %d     Max = %d", s.minimum + bzero,
                  s.maximum + bzero);
    text += piece;
    std::snprintf(piece, sizeof piece, "\n\nMean = %.3lf", s.mean + bzero);
    text += piece;
    std::snprintf(piece, sizeof piece, "\n\nRMS = %.3lf", std::sqrt(s.variance));
    text += piece;
    std::snprintf(piece, sizeof piece, "\n\n# pixels = %ld", s.count);
    text += piece;
    return text;
}

bool ShowStats(const ImageRecord& image, const RegionOfInterest& roi, Host& host) {
    const RegionStats s = ComputeRegionStats(image, roi);
    if (!VarianceUsable(s.variance)) {
        host.ShowMessage("Stats", "error in evaluating RMS", MessageIcon::Warning);
        return false;
    }
    host.ShowMessage("Stats", StatsText(s, image.bzero), MessageIcon::None);
    return true;
}

Extremes InnerExtremes(const ImageRecord& image) {
    Extremes e;
    if (image.height <= 10 || image.width <= 10) {
        return e;
    }
    for (int row = 5; row <= image.height - 6; ++row) {
        for (int column = 5; column <= image.width - 6; ++column) {
            const int p = StoredPixel(image, column, row);
            e.minimum = p < e.minimum ? p : e.minimum;
            e.maximum = p > e.maximum ? p : e.maximum;
        }
    }
    return e;
}

Extremes GlobalExtremes(const ImageRecord& image) {
    const std::size_t n =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    const std::int16_t* p = image.pixels;
    // Fixed-width lanes folded block by block, so that the scan runs in vector registers.
    constexpr std::size_t kLanes = 32;
    std::int16_t lo[kLanes], hi[kLanes];
    std::fill(lo, lo + kLanes, std::int16_t{32767});
    std::fill(hi, hi + kLanes, std::int16_t{-32768});
    std::size_t i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        for (std::size_t j = 0; j < kLanes; ++j) {
            const std::int16_t v = p[i + j];
            lo[j] = v < lo[j] ? v : lo[j];
            hi[j] = v > hi[j] ? v : hi[j];
        }
    }
    for (; i < n; ++i) {
        lo[0] = std::min(lo[0], p[i]);
        hi[0] = std::max(hi[0], p[i]);
    }
    return {*std::min_element(lo, lo + kLanes), *std::max_element(hi, hi + kLanes)};
}

std::string ExtremesText(const Extremes& e, std::int32_t bzero) {
    char text[64];
    std::snprintf(text, sizeof text, "Min = %d\t  Max = %d", e.minimum + bzero, e.maximum + bzero);
    return text;
}

void ShowMaxMin(const ImageRecord& image, Host& host) {
    Extremes e;
    {
        WaitCursor wait(host);
        e = InnerExtremes(image);
    }
    host.ShowMessage("Max Min", ExtremesText(e, image.bzero), MessageIcon::None);
}

void ShowGlobalMaxMin(const ImageRecord& image, Host& host) {
    Extremes e;
    {
        WaitCursor wait(host);
        e = GlobalExtremes(image);
    }
    host.ShowMessage("Global Max Min", ExtremesText(e, image.bzero), MessageIcon::None);
}

BitCounts CountBits(const ImageRecord& image) {
    BitCounts counts;
    counts.pixels =
        static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(image.height);
    // Tally the low and the high byte of each value, then read the bits off the tallies.
    std::array<std::uint64_t, 256> low{}, high{};
    for (std::uint64_t i = 0; i < counts.pixels; ++i) {
        const auto v = static_cast<std::uint16_t>(image.pixels[i]);
        ++low[v & 0xFF];
        ++high[v >> 8];
    }
    for (unsigned byte = 0; byte < 256; ++byte) {
        for (int b = 0; b < 8; ++b) {
            if ((byte >> b) & 1U) {
                counts.set[static_cast<std::size_t>(b)] += low[byte];
            }
        }
        for (int b = 8; b < 15; ++b) {
            if ((byte >> (b - 8)) & 1U) {
                counts.set[static_cast<std::size_t>(b)] += high[byte];
            }
        }
    }
    return counts;
}

std::string BitHistogramText(const std::string& imagePath, const BitCounts& counts) {
    std::string text = imagePath;
    text += "\n\n  Bit          1          0\n\n";
    for (int b = 0; b < 15; ++b) {
        const double f = static_cast<double>(counts.set[static_cast<std::size_t>(b)]) /
                         static_cast<double>(counts.pixels);
        char line[96];
        std::snprintf(line, sizeof line, "   %2i         %3.2f       %3.2f\n", b, f, 1 - f);
        text += line;
    }
    return text;
}

bool WriteBitHistogram(const ImageRecord& image, const std::string& fileName, Host& host) {
    host.SetPaneText(Pane::Readout, "Histogramming...");
    host.UpdateWindow();
    const std::string text = BitHistogramText(image.path, CountBits(image));
    const bool written = WriteFileBytes(fileName, text);
    host.SetPaneText(Pane::Readout, "");
    if (!written) {
        host.ShowMessage("MSG 127", "Error in writing file " + fileName, MessageIcon::Warning);
    }
    return written;
}

void SetSmallRoi(RegionOfInterest& roi, bool small) {
    const int size = small ? 16 : 32;
    roi.width = size;
    roi.height = size;
    roi.side = size;
}

}  // namespace corvane
