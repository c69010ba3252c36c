#pragma once
// KVR-FITS test files: the 27 fixed cards, each value at the column the format puts it,
// then big-endian 16-bit pixels from byte 2880.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace corvane::test {

struct KvrFile {
    int naxis1 = 64;
    int naxis2 = 4;
    int originColumn = 0;
    int originRow = 0;
    int binColumns = 1;
    int binRows = 1;
    int preflash = 0;
    std::string electronGain = "2.5";
    int systemGain = 4;
    std::string biasLevel = "102.5";
    int filter = 3;
    std::string exposure = "12.34";  // seconds
    std::string mjd = "51000.5";     // modified Julian date; empty: the card holds text
    std::string epoch = "2000.0";
    std::string rightAscension = "12:34:56";
    std::string declination = "-01:02:03";
    std::string detector = "TEK1024";
    std::string observer = "A. Observer";
    std::string object = "Vesta";
    std::string observationType = "OBS       ";  // as the card spells it, padded or not
    std::string quality = "OK";
    std::string comment = "test frame";
    std::string endCard = "END";
    // Whole cards that replace the generated ones (80 characters or fewer, padded).
    std::map<int, std::string> cards;
    // Stored values, row-major; empty: value = 100 × row + column.
    std::vector<std::int16_t> pixels;
};

// The 2880-byte header block alone.
std::string KvrHeaderBlock(const KvrFile& file);
// Header and pixels.
std::string KvrFitsBytes(const KvrFile& file);
// The pixels KvrFitsBytes writes.
std::vector<std::int16_t> KvrPixels(const KvrFile& file);

}  // namespace corvane::test
