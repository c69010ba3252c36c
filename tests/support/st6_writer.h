#pragma once
// ST-6 test files: the 2048-byte text header in its fixed line order, then either the
// raw little-endian values or one row record per row (compressed or raw).

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::test {

struct St6File {
    bool compressed = false;
    std::string version = "File_version = 3";
    std::string exposure = "4000";  // hundredths of a second
    std::string note = "flat field";
    int rows = 4;
    int columns = 64;
    std::string date = "01/15/99";
    std::string time = "23:59:50";
    std::string temperature = "-20.5";
    std::string observer = "J. Smith";
    std::string pedestal = "100";
    std::string gain = "1.25";
    std::string lineEnd = "\r\n";
    // Stored camera values, row-major; empty: value = 1000 + 10 × row + column.
    std::vector<std::uint16_t> values;
};

// The 24 lines of the header and the closing "End", without line ends.
std::vector<std::string> St6HeaderLines(const St6File& file);
// The header lines joined and padded to 2048 bytes.
std::string St6HeaderBytes(const St6File& file, const std::vector<std::string>& lines);
std::vector<std::uint16_t> St6Values(const St6File& file);

// A row record: the 2-byte length and the row, delta-coded with 0x80 escapes for steps
// outside −127 … 127.
std::string St6CompressedRecord(const std::uint16_t* row, int width);
// A row record that holds the row's values unchanged (length 2 × width).
std::string St6RawRecord(const std::uint16_t* row, int width);

// The whole file: uncompressed values, or one compressed record per row.
std::string St6Bytes(const St6File& file);

}  // namespace corvane::test
