#pragma once
// The pixel pattern of a square region around a centre, clipped to the image.

#include <algorithm>

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
inline RegionSpan ClippedRegion(const ImageRecord& image, int centreColumn, int centreRow,
                                int width, int height) {
    RegionSpan span;
    span.columnBegin = std::max(centreColumn - width / 2 + 1, 0);
    span.columnEnd = std::min(centreColumn + width / 2 + 1, image.width);
    span.rowBegin = std::max(centreRow - height / 2, 0);
    span.rowEnd = std::min(centreRow + height / 2, image.height);
    return span;
}

inline bool InsideImage(const ImageRecord& image, int column, int row) {
    return column >= 0 && row >= 0 && column < image.width && row < image.height;
}

}  // namespace corvane
