#pragma once
// The pixel pattern of a square region around a centre, clipped to the image, and the
// sample variance of the values taken from it.

#include <algorithm>
#include <cstdint>

#include "image/image_record.h"

namespace corvane {

// Rows [rowBegin, rowEnd) and columns [columnBegin, columnEnd) of the image that belong to
// the region; empty when the region misses the image.
struct RegionSpan {
    int columnBegin = 0, columnEnd = 0;
    int rowBegin = 0, rowEnd = 0;

    bool Empty() const { return columnBegin >= columnEnd || rowBegin >= rowEnd; }
    long Count() const {
        return Empty() ? 0L : static_cast<long>(columnEnd - columnBegin) * (rowEnd - rowBegin);
    }
};

// The region of `width` × `height` around (centreColumn, centreRow): rows
// centreRow − height/2 … centreRow + height/2 − 1 and columns
// centreColumn − width/2 + 1 … centreColumn + width/2, each cut to the image.
// The edges are taken in 64 bits: a centre typed on the command line may be any int.
inline RegionSpan ClippedRegion(const ImageRecord& image, int centreColumn, int centreRow,
                                int width, int height) {
    auto cut = [](std::int64_t edge, int limit) {
        return static_cast<int>(std::clamp<std::int64_t>(edge, 0, limit));
    };
    RegionSpan span;
    span.columnBegin = cut(std::int64_t{centreColumn} - width / 2 + 1, image.width);
    span.columnEnd = cut(std::int64_t{centreColumn} + width / 2 + 1, image.width);
    span.rowBegin = cut(std::int64_t{centreRow} - height / 2, image.height);
    span.rowEnd = cut(std::int64_t{centreRow} + height / 2, image.height);
    return span;
}

inline bool InsideImage(const ImageRecord& image, int column, int row) {
    return column >= 0 && row >= 0 && column < image.width && row < image.height;
}

// (Σx² + n·m² − 2·m·Σx) / (n − 1) for n values of sum Σx and mean m: NaN for fewer than
// two values, and possibly a little below zero from rounding.
inline double SampleVariance(double n, double sum, double sumOfSquares, double mean) {
    return (sumOfSquares + n * mean * mean - 2 * mean * sum) / (n - 1);
}

}  // namespace corvane
