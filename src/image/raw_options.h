#pragma once
#include <cstdint>

namespace corvane {

// How a raw pixel dump is laid out; kept for the whole run and proposed again next time.
// The sample width, columns and rows the raw reader takes live in the ImageRecord
// (bitpix, width, height).
struct RawOptions {
    std::int32_t rawHeaderBytes = 0;  // bytes before the first row, 0 … 150000000
    std::int32_t rawSkipRows = 0;     // rows skipped after the header; with rows below 65383
    std::int32_t rawBzero = 0;        // copied into bzero, 0 … 32768
    bool rawSwapBytes = false;        // exchange the two bytes of each 16-bit sample
    // The size "RAW Options" proposes: the last image loaded, or the last size typed; kept
    // here because a closed image keeps no size. 0: none yet.
    std::int32_t proposedColumns = 0;
    std::int32_t proposedRows = 0;
};

}  // namespace corvane
