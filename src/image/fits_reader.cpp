// The FITS reader: header parsing, then the big-endian samples converted into 16-bit
// stored values in a temporary pixel file.

#include <cmath>
#include <cstring>

#include "image/fits_header.h"
#include "image/reader_support.h"
#include "image/readers.h"
#include "image/sample_copy.h"

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

// The scaling of 32-bit samples into the 16-bit range: irafMin … irafMax onto 0 … 32767.
void PrepareScaling(ImageRecord& image) {
    if (image.irafMax == 0) image.irafMax = 32767.0f;
    image.floatScale = 32767.0f / (image.irafMax - image.irafMin);
}

// Big-endian 32-bit samples, integer or float by bitpix, scaled into stored values.
void ConvertWide(const unsigned char* data, std::int16_t* out, std::size_t count,
                 const ImageRecord& image) {
    const double low = image.irafMin;
    const double scale = image.floatScale;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = LoadBe32(data + 4 * i);
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
}

// The data part into the pixels, converted by bitpix.
bool CopyData(ReadTarget& target, const InputFile& file, std::uint64_t dataStart) {
    ImageRecord& image = target.image;
    const auto sampleBytes = static_cast<std::uint32_t>(image.bytesPerPixel);
    switch (image.bitpix) {
        case 8:
            return CopyPixels(target, file, dataStart, sampleBytes, CopyU8);
        case 16:
            target.host.SetPaneText(Pane::Readout, "Swapping bytes...");
            if (image.dialect != 4) {
                return CopyPixels(target, file, dataStart, sampleBytes, CopyBe16);
            }
            // Unsigned camera data: the offset goes into bzero, the values wrap.
            image.bzero = 32767;
            return CopyPixels(target, file, dataStart, sampleBytes,
                              [](const unsigned char* data, std::int16_t* out, std::size_t n) {
                                  CopyBe16(data, out, n);
                                  for (std::size_t i = 0; i < n; ++i) {
                                      out[i] = static_cast<std::int16_t>(
                                          static_cast<std::uint16_t>(out[i]) - 32767u);
                                  }
                              });
        default:  // 32 and -32
            PrepareScaling(image);
            return CopyPixels(target, file, dataStart, sampleBytes,
                              [&image](const unsigned char* data, std::int16_t* out,
                                       std::size_t n) { ConvertWide(data, out, n, image); });
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
    if (!ParseFitsHeader(*file, target) || !AcceptImageSize(target)) {
        host.ShowMessage("MSG 109", "Error in image format");
        return false;
    }

    const std::uint64_t dataStart = static_cast<std::uint64_t>(image.headerBlocks) * kBlockSize;
    const auto bytesPerPixel = static_cast<std::uint32_t>(image.bytesPerPixel);
    const std::uint64_t size = file->Size();
    if (size < NeededFileSize(image, dataStart, bytesPerPixel) &&
        !CutToWholeRows(target, size, dataStart, bytesPerPixel)) {
        return false;
    }

    switch (image.dialect) {
        case 4: target.header.biasLevel = 450.0f; break;
        case 1: target.header.biasLevel = 662.0f; break;
        case 6: target.header.biasLevel = 260.0f; break;
        default: break;
    }
    return CopyData(target, *file, dataStart);
}

}  // namespace corvane
