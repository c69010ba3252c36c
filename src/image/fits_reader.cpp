// The FITS reader: header parsing, then the big-endian samples converted into 16-bit
// stored values in a temporary pixel file.

#include <cmath>
#include <cstring>

#include "image/fits_header.h"
#include "image/readers.h"

namespace corvane {

namespace {

constexpr std::uint64_t kBlockSize = 2880;

std::int16_t Saturate16(double value) {
    // Truncation toward zero first; values beyond the 16-bit range keep the nearest limit
    // (bright stars must not wrap round to negative values), NaN (blank) becomes 0.
    if (std::isnan(value)) return 0;
    double t = std::trunc(value);
    if (t >= 32767.0) return 32767;
    if (t <= -32768.0) return -32768;
    return static_cast<std::int16_t>(t);
}

std::uint32_t BigEndian32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

// Big-endian 16-bit samples into native ones, four at a time through a 64-bit word.
void SwapPairs(const unsigned char* data, std::int16_t* out, std::size_t count) {
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t word;
        std::memcpy(&word, data + 2 * i, sizeof word);
        word = (word & 0x00FF00FF00FF00FFull) << 8 | (word >> 8 & 0x00FF00FF00FF00FFull);
        std::memcpy(out + i, &word, sizeof word);
    }
    for (; i < count; ++i) {
        auto v = static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]);
        out[i] = static_cast<std::int16_t>(v);
    }
}

void Convert(const unsigned char* data, std::size_t count, ReadTarget& target) {
    ImageRecord& image = target.image;
    std::int16_t* out = image.pixels;
    switch (image.bitpix) {
        case 8:
            for (std::size_t i = 0; i < count; ++i) out[i] = data[i];
            break;
        case 16:
            target.host.SetPaneText(Pane::Readout, "Swapping bytes...");
            SwapPairs(data, out, count);
            if (image.dialect == 4) {
                // Unsigned camera data: the offset goes into bzero, the values wrap.
                image.bzero = 32767;
                for (std::size_t i = 0; i < count; ++i) {
                    out[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(out[i]) - 32767u);
                }
            }
            break;
        case -32:
        case 32: {
            if (image.irafMax == 0) image.irafMax = 32767.0f;
            image.floatScale = 32767.0f / (image.irafMax - image.irafMin);
            const double low = image.irafMin;
            const double scale = image.floatScale;
            for (std::size_t i = 0; i < count; ++i) {
                std::uint32_t bits = BigEndian32(data + 4 * i);
                double v;
                if (image.bitpix == -32) {
                    float f;
                    std::memcpy(&f, &bits, sizeof f);
                    v = f;
                } else {
                    v = static_cast<double>(bits);
                }
                out[i] = Saturate16((v - low) * scale);
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace

bool ReadFits(ReadTarget& target) {
    ImageRecord& image = target.image;
    Host& host = target.host;

    std::optional<InputFile> file = InputFile::Open(image.path);
    if (!file) {
        host.ShowMessage("MSG 109", "CreateFile function failed");
        return false;
    }
    if (!ParseFitsHeader(*file, target)) {
        host.ShowMessage("MSG 109", "Error in image format");
        return false;
    }
    SetImageGeometry(target);

    const std::uint64_t dataStart = static_cast<std::uint64_t>(image.headerBlocks) * kBlockSize;
    const std::uint64_t rowBytes =
        static_cast<std::uint64_t>(image.bytesPerPixel) * static_cast<std::uint64_t>(image.width);
    const std::uint64_t size = file->Size();
    if (dataStart + rowBytes * static_cast<std::uint64_t>(image.height) > size) {
        std::uint64_t rows = size > dataStart ? (size - dataStart) / rowBytes : 0;
        if (rows < 4) {
            host.ShowMessage("MSG 119", "Image is too small");
            return false;
        }
        ShortenImage(target, static_cast<std::int32_t>(rows));
        host.ShowMessage("MSG 129", "Warning! Some lines are missing.");
    }

    std::optional<FileView> source = FileView::Map(*file, ViewKind::ReadOnly);
    file->Close();
    if (!source) {
        host.ShowMessage("MSG 109", "MapViewOfFile function failed");
        return false;
    }
    if (!CreatePixelFile(target)) {
        return false;
    }

    switch (image.dialect) {
        case 4: target.header.biasLevel = 450.0f; break;
        case 1: target.header.biasLevel = 662.0f; break;
        case 6: target.header.biasLevel = 260.0f; break;
        default: break;
    }

    const std::size_t count =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    Convert(reinterpret_cast<const unsigned char*>(source->Data()) + dataStart, count, target);
    return true;
}

}  // namespace corvane
