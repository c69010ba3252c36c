#pragma once
// Steps the format readers share: opening the image file, refusing a geometry too large
// to hold, cutting an image to the rows its file holds, and the byte orders of the formats.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "image/loader.h"
#include "platform/file_access.h"

namespace corvane {

// Opens image.path for reading; "CreateFile function failed" (MSG 109) when it cannot.
std::optional<InputFile> OpenImageFile(ReadTarget& target);

// The largest width or height: the header record's detector fields hold 16 bits.
inline constexpr std::int32_t kMaxImageSide = 65535;

// Checks width and height and sets the geometry: "Image is too small" (MSG 119) below
// 64 × 4, "Image is too large" (MSG 119) above 65535 either way or when the display image
// would not fit the 32-bit sizes of the image record; otherwise the region centre and
// display sizes follow. Readers check before they create anything.
bool AcceptImageSize(ReadTarget& target);

// The bytes a file needs: `dataOffset` and width × height samples.
std::uint64_t NeededFileSize(const ImageRecord& image, std::uint64_t dataOffset,
                             std::uint32_t bytesPerSample);

// A file of `fileSize` bytes that ends inside the pixels keeps the whole rows it holds
// after `dataOffset`, with "Warning! Some lines are missing." (MSG 129); fewer than 4 rows
// are refused with "Image is too small" (MSG 119).
bool CutToWholeRows(ReadTarget& target, std::uint64_t fileSize, std::uint64_t dataOffset,
                    std::uint32_t bytesPerSample);

// The header of a file that states nothing but its size (TIFF, raw): one detector pixel
// per image pixel, no origin, an object frame.
void SetUnbinnedHeader(ReadTarget& target);

// truncate(value) when it is a finite number inside the int32 range, else `otherwise`.
std::int32_t TruncateToInt32(double value, std::int32_t otherwise);

inline std::uint16_t LoadLe16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint16_t LoadBe16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t LoadLe32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint32_t LoadBe32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}
inline std::uint16_t SwapBytes16(std::uint16_t v) {
    return static_cast<std::uint16_t>((v << 8) | (v >> 8));
}

// The stored pixels of the image: width × height values.
inline std::size_t PixelCount(const ImageRecord& image) {
    return static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
}

}  // namespace corvane
