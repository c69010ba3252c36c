#pragma once
// Copying stored samples from an image file into the pixels. The file is read, never
// mapped: whatever happens to it afterwards (rewritten by the camera, cut short, deleted)
// cannot reach the loaded image, and a file cut short while it is read gives fewer
// samples instead of a fault.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/loader.h"
#include "image/reader_support.h"
#include "platform/file_access.h"
#include "platform/temp_pixel_file.h"

namespace corvane {

// Unsigned 8-bit samples as 0 … 255.
inline void CopyU8(const unsigned char* bytes, std::int16_t* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = bytes[i];
    }
}

// Little-endian signed 16-bit samples as they are.
inline void CopyLe16(const unsigned char* bytes, std::int16_t* out, std::size_t n) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, bytes, 2 * n);
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = static_cast<std::int16_t>(LoadLe16(bytes + 2 * i));
        }
    }
}

// Big-endian 16-bit samples, four at a time through a 64-bit word on a little-endian host.
inline void CopyBe16(const unsigned char* bytes, std::int16_t* out, std::size_t n) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= n; i += 4) {
            std::uint64_t word;
            std::memcpy(&word, bytes + 2 * i, sizeof word);
            word = (word & 0x00FF00FF00FF00FFull) << 8 | (word >> 8 & 0x00FF00FF00FF00FFull);
            std::memcpy(out + i, &word, sizeof word);
        }
    }
    for (; i < n; ++i) {
        out[i] = static_cast<std::int16_t>(LoadBe16(bytes + 2 * i));
    }
}

// What a copy achieved: the samples read, converted and stored, and whether the pixel file
// took every write.
struct CopiedSamples {
    std::size_t count = 0;
    bool stored = true;
};

// Reads `count` samples of `sampleBytes` bytes from `offset` on, a block at a time, has
// `convert(bytes, out, n)` turn each block of n samples into pixels and writes them into
// the pixel file from pixel `first` on. Fewer samples arrive when the file ends first.
template <class Convert>
CopiedSamples CopySamples(const InputFile& file, std::uint64_t offset, std::uint32_t sampleBytes,
                          TempPixelFile& pixels, std::size_t first, std::size_t count,
                          Convert convert) {
    // Small enough to stay in the cache between the read, the conversion and the write.
    constexpr std::size_t kBlockSamples = 65536;
    const std::size_t blockSamples = std::min(count, kBlockSamples);
    std::vector<unsigned char> bytes(blockSamples * sampleBytes);
    std::vector<std::int16_t> block(blockSamples);
    CopiedSamples copied;
    while (copied.count < count) {
        const std::size_t want = std::min(count - copied.count, kBlockSamples);
        const std::size_t got =
            file.ReadAt(offset + std::uint64_t{sampleBytes} * copied.count, bytes.data(),
                        want * sampleBytes) /
            sampleBytes;
        convert(bytes.data(), block.data(), got);
        if (!pixels.Write(first + copied.count, block.data(), got)) {
            copied.stored = false;
            return copied;
        }
        copied.count += got;
        if (got < want) {
            break;
        }
    }
    return copied;
}

// The end of a copy that should have stored `expected` pixels: a pixel file that refused a
// write fails the load as a full disk does; a file that has become shorter since its size
// was taken keeps the whole rows that arrived, as a file short from the start does.
inline bool KeepCopiedRows(ReadTarget& target, CopiedSamples copied, std::size_t expected) {
    if (!copied.stored) {
        ShowPixelFileFull(target.host);
        return false;
    }
    return copied.count == expected || CutToWholeRows(target, copied.count, 0, 1);
}

// Creates the temporary pixel file and fills it with the image's width × height samples
// from `dataOffset` on.
template <class Convert>
bool CopyPixels(ReadTarget& target, const InputFile& file, std::uint64_t dataOffset,
                std::uint32_t sampleBytes, Convert convert) {
    if (!CreatePixelFile(target)) {
        return false;
    }
    const std::size_t count = PixelCount(target.image);
    return KeepCopiedRows(target,
                          CopySamples(file, dataOffset, sampleBytes, *target.image.tempFile, 0,
                                      count, convert),
                          count);
}

}  // namespace corvane
