#pragma once
// The loaded image: its pixels, their geometry, how they were read and who owns them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/temp_pixel_file.h"

namespace corvane {

// formatCode values.
enum FormatCode : std::int32_t {
    kFormatDetecting = 0,
    kFormatHk = 1,
    kFormatPc = 2,
    kFormatSt6 = 3,
    kFormatSt6Compressed = 4,
    kFormatFits = 6,  // FITS and KVR-FITS
    kFormatRaw = 7,
    kFormatTiffLittle = 8,
    kFormatTiffBig = 9,
};

inline constexpr std::size_t kMaxPathLength = 127;  // the loader refuses 128 or more

struct ImageRecord {
    std::string path;        // full path: directory, separator, file name
    bool loaded = false;
    // Raised by every successful load and never lowered, not even by ReleaseImage: an
    // operation that spans an event loop (a photometry run's boxes) compares it to know
    // that the image it began on is still the one shown.
    std::uint64_t generation = 0;
    std::int32_t formatCode = kFormatDetecting;
    std::int32_t width = 0;            // columns after binning, at least 64
    std::int32_t height = 0;           // rows, at least 4
    std::int32_t paddedWidth = 0;      // (width + 3) / 4 × 4: a display row in bytes
    std::int32_t displayBufferSize = 0;  // height × paddedWidth + 4
    std::int16_t* pixels = nullptr;    // width × height stored values, row-major, first row on top
    std::int32_t bzero = 0;            // true value = stored value + bzero
    std::int32_t bitpix = 0;           // source sample width: 8, 16, 32, -32
    std::int32_t bytesPerPixel = 0;    // FITS: 1, 2 or 4
    std::int32_t headerBlocks = 0;     // FITS: 2880-byte header blocks before the data
    std::int32_t dialect = 0;          // FITS: observatory dialect 0 … 7
    float irafMax = 0, irafMin = 0, floatScale = 0;  // FITS: 32-bit and float scaling
    std::uint32_t pedestal = 0;        // ST-6: pedestal of the text header

    // Pixel memory: every reader copies its pixels into the temporary pixel file, which
    // holds its own mapping; nothing stays mapped from the image file itself.
    std::optional<TempPixelFile> tempFile;

    // The 8-bit display image: displayBufferSize bytes, allocated after each successful
    // read and released with the image.
    std::vector<std::uint8_t> displayImage;
};

// paddedWidth and displayBufferSize from width and height.
inline void SetDisplayGeometry(ImageRecord& image) {
    image.paddedWidth = (image.width + 3) / 4 * 4;
    image.displayBufferSize = image.height * image.paddedWidth + 4;
}

inline std::int16_t StoredPixel(const ImageRecord& image, int column, int row) {
    return image.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(image.width) +
                        static_cast<std::size_t>(column)];
}

inline int TruePixel(const ImageRecord& image, int column, int row) {
    return StoredPixel(image, column, row) + image.bzero;
}

// Removes the temporary file and frees the display image; clears pixels and loaded and
// zeroes the sizes, so that nothing left in the record leads a later read to memory
// that is gone. Nothing happens to an empty record.
void ReleaseImage(ImageRecord& image);

}  // namespace corvane
