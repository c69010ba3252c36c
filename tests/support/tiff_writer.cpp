#include "support/tiff_writer.h"

#include <tiffio.h>

#include <cstring>
#include <stdexcept>

namespace corvane::test {

std::vector<std::uint16_t> TiffSamples(const TiffImage& image) {
    if (!image.samples.empty()) {
        return image.samples;
    }
    std::vector<std::uint16_t> samples;
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width * image.samplesPerPixel; ++column) {
            samples.push_back(image.bitsPerSample == 8
                                  ? static_cast<std::uint16_t>((row + column) % 256)
                                  : static_cast<std::uint16_t>(300 * row + column));
        }
    }
    return samples;
}

void WriteTiff(const std::string& path, const TiffImage& image) {
    TIFF* tiff = TIFFOpen(path.c_str(), image.bigEndian ? "wb" : "wl");
    if (tiff == nullptr) {
        throw std::runtime_error("TIFFOpen failed for " + path);
    }
    const std::vector<std::uint16_t> samples = TiffSamples(image);
    const std::size_t rowSamples =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.samplesPerPixel);
    for (int page = 0; page < image.pages; ++page) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.width));
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.height));
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(image.bitsPerSample));
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL,
                     static_cast<std::uint16_t>(image.samplesPerPixel));
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                     image.samplesPerPixel == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, image.lzw ? COMPRESSION_LZW : COMPRESSION_NONE);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                     static_cast<std::uint32_t>(image.rowsPerStrip > 0 ? image.rowsPerStrip
                                                                       : image.height));
        std::vector<unsigned char> row(rowSamples * static_cast<std::size_t>(image.bitsPerSample / 8));
        for (int r = 0; r < image.height; ++r) {
            for (std::size_t i = 0; i < rowSamples; ++i) {
                std::uint16_t v = samples[static_cast<std::size_t>(r) * rowSamples + i];
                if (image.bitsPerSample == 8) {
                    row[i] = static_cast<unsigned char>(v);
                } else {
                    // Native order: libtiff swaps to the file's order itself.
                    std::memcpy(&row[2 * i], &v, 2);
                }
            }
            if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(r), 0) < 0) {
                TIFFClose(tiff);
                throw std::runtime_error("TIFFWriteScanline failed for " + path);
            }
        }
        if (image.pages > 1 && !TIFFWriteDirectory(tiff)) {
            TIFFClose(tiff);
            throw std::runtime_error("TIFFWriteDirectory failed for " + path);
        }
    }
    TIFFClose(tiff);
}

TiffBytes::TiffBytes(std::string bytes) : bytes_(std::move(bytes)) {
    big_ = bytes_.size() >= 2 && bytes_[0] == 'M';
}

std::uint16_t TiffBytes::U16(std::size_t at) const {
    auto b0 = static_cast<unsigned char>(bytes_.at(at));
    auto b1 = static_cast<unsigned char>(bytes_.at(at + 1));
    return static_cast<std::uint16_t>(big_ ? (b0 << 8) | b1 : (b1 << 8) | b0);
}

std::uint32_t TiffBytes::U32(std::size_t at) const {
    std::uint32_t hi = U16(big_ ? at : at + 2);
    std::uint32_t lo = U16(big_ ? at + 2 : at);
    return (hi << 16) | lo;
}

void TiffBytes::Put16(std::size_t at, std::uint16_t v) {
    if (bytes_.size() < at + 2) bytes_.resize(at + 2, '\0');
    bytes_[at] = static_cast<char>(big_ ? v >> 8 : v & 0xFF);
    bytes_[at + 1] = static_cast<char>(big_ ? v & 0xFF : v >> 8);
}

void TiffBytes::Put32(std::size_t at, std::uint32_t v) {
    Put16(big_ ? at : at + 2, static_cast<std::uint16_t>(v >> 16));
    Put16(big_ ? at + 2 : at, static_cast<std::uint16_t>(v & 0xFFFF));
}

std::uint32_t TiffBytes::FirstDirectory() const { return U32(4); }
std::uint16_t TiffBytes::EntryCount() const { return U16(FirstDirectory()); }

std::size_t TiffBytes::EntryAt(std::uint16_t tag) const {
    std::size_t first = FirstDirectory() + 2;
    for (std::size_t i = 0; i < EntryCount(); ++i) {
        if (U16(first + 12 * i) == tag) {
            return first + 12 * i;
        }
    }
    throw std::runtime_error("no TIFF tag " + std::to_string(tag));
}

std::uint16_t TiffBytes::Type(std::uint16_t tag) const { return U16(EntryAt(tag) + 2); }
std::uint32_t TiffBytes::Count(std::uint16_t tag) const { return U32(EntryAt(tag) + 4); }

std::vector<std::uint32_t> TiffBytes::Values(std::uint16_t tag) const {
    std::size_t entry = EntryAt(tag);
    std::uint16_t type = Type(tag);
    std::uint32_t count = Count(tag);
    std::size_t size = type == TIFF_SHORT ? 2 : 4;
    std::size_t at = size * count <= 4 ? entry + 8 : U32(entry + 8);
    std::vector<std::uint32_t> values;
    for (std::uint32_t i = 0; i < count; ++i) {
        values.push_back(size == 2 ? U16(at + 2 * i) : U32(at + 4 * i));
    }
    return values;
}

void TiffBytes::SetValues(std::uint16_t tag, std::uint16_t type,
                          const std::vector<std::uint32_t>& values) {
    std::size_t entry = EntryAt(tag);
    std::size_t size = type == TIFF_SHORT ? 2 : 4;
    Put16(entry + 2, type);
    Put32(entry + 4, static_cast<std::uint32_t>(values.size()));
    std::size_t at = entry + 8;
    Put32(entry + 8, 0);
    if (size * values.size() > 4) {
        at = (bytes_.size() + 1) / 2 * 2;
        bytes_.resize(at, '\0');
        Put32(entry + 8, static_cast<std::uint32_t>(at));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (size == 2) {
            Put16(at + 2 * i, static_cast<std::uint16_t>(values[i]));
        } else {
            Put32(at + 4 * i, values[i]);
        }
    }
}

void TiffBytes::SetType(std::uint16_t tag, std::uint16_t type) { Put16(EntryAt(tag) + 2, type); }

void TiffBytes::PadDirectory(std::uint32_t entries) {
    const std::size_t old = FirstDirectory();
    const std::uint16_t count = EntryCount();
    const std::size_t at = (bytes_.size() + 1) / 2 * 2;
    bytes_.resize(at, '\0');
    Put16(at, static_cast<std::uint16_t>(entries));
    bytes_.append(bytes_.substr(old + 2, 12 * static_cast<std::size_t>(count)));
    for (std::uint32_t i = count; i < entries; ++i) {
        std::size_t e = at + 2 + 12 * i;
        Put16(e, static_cast<std::uint16_t>(50000 + i));  // private tags the reader ignores
        Put16(e + 2, TIFF_SHORT);
        Put32(e + 4, 1);
        Put32(e + 8, 0);
    }
    Put32(at + 2 + 12 * static_cast<std::size_t>(entries), 0);
    Put32(4, static_cast<std::uint32_t>(at));
}

void TiffBytes::SetNextDirectory(std::uint32_t offset) {
    Put32(FirstDirectory() + 2 + 12 * static_cast<std::size_t>(EntryCount()), offset);
}

}  // namespace corvane::test
