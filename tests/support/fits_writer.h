#pragma once
// FITS test files written by cfitsio: the primary array with the stored sample values
// exactly as given (no scaling applied on the way), and any extra header cards.

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::test {

struct FitsImage {
    int bitpix = 16;  // 8, 16, 32 or -32
    int width = 64;
    int height = 4;
    // Stored values, row-major, first row first (the value cfitsio writes before any
    // BZERO/BSCALE). Empty: all zero.
    std::vector<double> values;
    // Extra header records, each one whole 80-character card as text
    // ("OBJECT  = 'M 67    '"), written in order after the mandatory keywords.
    std::vector<std::string> cards;
};

// Writes the file; throws std::runtime_error with cfitsio's status text on failure.
void WriteFits(const std::string& path, const FitsImage& image);

// A card "KEY     = value" padded as a FITS writer pads: string values get quotes and are
// padded to at least 8 characters by cfitsio itself when written through fits_update_key.
// These helpers write through cfitsio's typed key functions for realism.
struct FitsKey {
    enum class Type { String, Double, Long, Logical } type;
    std::string name;
    std::string text;
    double number = 0;
    long integer = 0;
    std::string comment;
    static FitsKey Str(std::string name, std::string value, std::string comment = "");
    static FitsKey Dbl(std::string name, double value, std::string comment = "");
    static FitsKey Int(std::string name, long value, std::string comment = "");
};

// As WriteFits, and the typed keys written with fits_update_key before the raw cards.
void WriteFits(const std::string& path, const FitsImage& image, const std::vector<FitsKey>& keys);

}  // namespace corvane::test
