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

// Reads `count` samples of `sampleBytes` bytes from `offset` on, a block at a time, and
// has `convert(bytes, out, n)` turn each block of n samples into the pixels at `out`.
// Returns the samples that arrived: fewer than `count` when the file ends first.
template <class Convert>
std::size_t CopySamples(const InputFile& file, std::uint64_t offset, std::uint32_t sampleBytes,
                        std::int16_t* out, std::size_t count, Convert convert) {
    // Small enough to stay in the cache between the read and the conversion.
    constexpr std::size_t kBlockSamples = 16384;
    std::vector<unsigned char> block(std::min(count, kBlockSamples) * sampleBytes);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t want = std::min(count - done, kBlockSamples);
        const std::size_t got =
            file.ReadAt(offset + std::uint64_t{sampleBytes} * done, block.data(),
                        want * sampleBytes) /
            sampleBytes;
        convert(block.data(), out + done, got);
        done += got;
        if (got < want) {
            break;
        }
    }
    return done;
}

// Creates the temporary pixel file and fills it with the image's width × height samples
// from `dataOffset` on. A file that has become shorter since its size was taken keeps the
// whole rows that arrived, as a file short from the start does.
template <class Convert>
bool CopyPixels(ReadTarget& target, const InputFile& file, std::uint64_t dataOffset,
                std::uint32_t sampleBytes, Convert convert) {
    if (!CreatePixelFile(target)) {
        return false;
    }
    const std::size_t count = PixelCount(target.image);
    const std::size_t got =
        CopySamples(file, dataOffset, sampleBytes, target.image.pixels, count, convert);
    return got == count || CutToWholeRows(target, got, 0, 1);
}

}  // namespace corvane
