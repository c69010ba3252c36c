#pragma once
// HK and PC test files: the 158-byte header record at the start, the pixels at 1024 (HK)
// or 158 (PC). HK stores its three 32-bit numbers with the 16-bit halves exchanged.

#include <cstdint>
#include <string>
#include <vector>

#include "image/header_record.h"

namespace corvane::test {

// A header with the tag, the detector size and binning set, and the rest empty.
HeaderRecord CameraHeader(bool hk, int detectorColumns, int detectorRows, int binColumns = 1,
                          int binRows = 1);

// Header and pixels (row-major stored values) as the camera writes them.
std::string HkBytes(const HeaderRecord& header, const std::vector<std::int16_t>& pixels);
std::string PcBytes(const HeaderRecord& header, const std::vector<std::int16_t>& pixels);

// value = 7 × row + column, for a width × height image.
std::vector<std::int16_t> RampPixels(int width, int height);

}  // namespace corvane::test
