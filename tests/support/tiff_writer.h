#pragma once
// TIFF test files written by libtiff, and byte patches for the directory layouts libtiff
// does not write itself (SHORT strip tables, very long directories).

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::test {

struct TiffImage {
    int width = 64;
    int height = 4;
    int bitsPerSample = 16;   // 8 or 16
    int samplesPerPixel = 1;  // 3: RGB
    bool bigEndian = false;
    int rowsPerStrip = 0;     // 0: the whole image in one strip
    bool lzw = false;
    int pages = 1;
    // Samples, row-major (interleaved for RGB); empty: 300 × row + column for 16 bits,
    // (row + column) mod 256 for 8 bits.
    std::vector<std::uint16_t> samples;
};

// Writes the file; throws std::runtime_error when libtiff refuses.
void WriteTiff(const std::string& path, const TiffImage& image);
std::vector<std::uint16_t> TiffSamples(const TiffImage& image);

// The first directory of a TIFF file in memory, for patching its bytes.
class TiffBytes {
public:
    explicit TiffBytes(std::string bytes);
    const std::string& Bytes() const { return bytes_; }

    std::uint32_t FirstDirectory() const;
    std::uint16_t EntryCount() const;
    // The byte offset of the entry with `tag` in the first directory; throws if missing.
    std::size_t EntryAt(std::uint16_t tag) const;
    std::uint16_t Type(std::uint16_t tag) const;
    std::uint32_t Count(std::uint16_t tag) const;
    // The entry's values (SHORT or LONG), inline or from the array it points to.
    std::vector<std::uint32_t> Values(std::uint16_t tag) const;

    // Rewrites a SHORT or LONG entry with new values of `type`; values that do not fit in
    // the entry go into an array appended to the file.
    void SetValues(std::uint16_t tag, std::uint16_t type, const std::vector<std::uint32_t>& values);
    void SetType(std::uint16_t tag, std::uint16_t type);
    // Moves the first directory to the end of the file, padded with entries of unknown
    // tags to `entries` entries in all.
    void PadDirectory(std::uint32_t entries);
    // The stored bytes of the next-directory offset of the first directory.
    void SetNextDirectory(std::uint32_t offset);

    std::uint16_t U16(std::size_t at) const;
    std::uint32_t U32(std::size_t at) const;
    void Put16(std::size_t at, std::uint16_t v);
    void Put32(std::size_t at, std::uint32_t v);

private:
    std::string bytes_;
    bool big_ = false;
};

}  // namespace corvane::test
