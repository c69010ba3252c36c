#pragma once
// Region statistics, the extremes of the image and the bit histogram.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "image/image_record.h"
#include "image/region_of_interest.h"
#include "platform/host.h"

namespace corvane {

// Sums over the region of interest, in stored values.
struct RegionStats {
    long count = 0;
    double sum = 0;
    double sumOfSquares = 0;
    int minimum = 32767;  // stays at its start value when no pixel is visited
    int maximum = -32768;
    double mean = 0;      // Σp / n; NaN for an empty region
    double variance = 0;  // (Σp² + n·m² − 2·m·Σp) / (n − 1); NaN below two pixels
};

RegionStats ComputeRegionStats(const ImageRecord& image, const RegionOfInterest& roi);

// The variance a Stats box can show: neither negative nor NaN.
bool VarianceUsable(double variance);

// "Stats are: ..." with true values; only for a usable variance.
std::string StatsText(const RegionStats& stats, std::int32_t bzero);

// "Stats": the box with the text, or the "error in evaluating RMS" warning. Returns false
// after the warning.
bool ShowStats(const ImageRecord& image, const RegionOfInterest& roi, Host& host);

// Extremes in stored values; minimum 32767 and maximum −32768 when nothing is visited.
struct Extremes {
    int minimum = 32767;
    int maximum = -32768;
};

// The image without a margin of 5 pixels on every side; a side of 10 pixels or fewer
// leaves nothing to visit.
Extremes InnerExtremes(const ImageRecord& image);
// Every pixel of the image.
Extremes GlobalExtremes(const ImageRecord& image);

// "Min = %d\t  Max = %d" with true values.
std::string ExtremesText(const Extremes& extremes, std::int32_t bzero);

// "Max Min" and "Global Max Min": the scan under the hourglass, then the box.
void ShowMaxMin(const ImageRecord& image, Host& host);
void ShowGlobalMaxMin(const ImageRecord& image, Host& host);

// How many pixels have each bit 0 … 14 of their stored value set (bit 15 is not counted).
struct BitCounts {
    std::uint64_t pixels = 0;
    std::array<std::uint64_t, 15> set{};
};

BitCounts CountBits(const ImageRecord& image);

// The contents of "hist.out": the image path, the heading and one line per bit.
std::string BitHistogramText(const std::string& imagePath, const BitCounts& counts);

// F2: counts the bits under "Histogramming..." in the readout pane and writes the table to
// `fileName` (the program passes "hist.out" in the current directory). A file that cannot
// be written is reported, and the result is false.
bool WriteBitHistogram(const ImageRecord& image, const std::string& fileName, Host& host);

// "Small ROI": 16 × 16 while on, 32 × 32 while off, the box side with them.
void SetSmallRoi(RegionOfInterest& roi, bool small);

}  // namespace corvane
