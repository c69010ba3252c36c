// HK and PC: the 158-byte header record stored at the start of the file, then
// little-endian signed 16-bit pixels used in place through a copy-on-write view.

#include <cstring>

#include "image/reader_support.h"
#include "image/readers.h"

namespace corvane {

namespace {

constexpr std::size_t kHkDataOffset = 1024;
constexpr std::size_t kPcDataOffset = 158;

// The HK camera stores its 32-bit numbers with the two 16-bit halves exchanged.
template <class Field>
void ExchangeHalves(Field& field) {
    static_assert(sizeof(Field) == 4);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &field, 4);
    bits = (bits << 16) | (bits >> 16);
    std::memcpy(&field, &bits, 4);
}

// Steps 1 and 2 of both readers: the header record read from the file as it stands.
std::optional<InputFile> ReadStoredHeader(ReadTarget& target) {
    std::optional<InputFile> file = OpenImageFile(target);
    if (!file) {
        return file;
    }
    if (file->Read(&target.header, sizeof(HeaderRecord)) < sizeof(HeaderRecord)) {
        target.host.ShowMessage("MSG 27", "Invalid image format");
        return std::nullopt;
    }
    return file;
}

// width = detectorColumns / binColumns, height = detectorRows / binRows.
bool SetBinnedSize(ReadTarget& target) {
    const HeaderRecord& header = target.header;
    if (header.binColumns == 0 || header.binRows == 0) {
        target.host.ShowMessage("MSG 119", "Invalid binning in the image header (0)");
        return false;
    }
    target.image.width = header.detectorColumns / header.binColumns;
    target.image.height = header.detectorRows / header.binRows;
    if (target.image.width < 64 || target.image.height < 4) {
        target.host.ShowMessage("MSG 119", "Image is too small");
        return false;
    }
    // At most 65535 × 65535 pixels; the display image of the largest does not fit 32 bits.
    if (!CheckImageNotTooLarge(target)) {
        return false;
    }
    SetImageGeometry(target);
    return true;
}

// A file that ends inside the pixels keeps its whole rows; fewer than 4 are refused.
bool CutToFile(ReadTarget& target, std::uint64_t size, std::size_t dataOffset) {
    std::int32_t rows = RowsInFile(size, dataOffset, target.image.width, 2);
    if (rows < 4) {
        target.host.ShowMessage("MSG 119", "Image is too small");
        return false;
    }
    ShortenImage(target, rows);
    target.host.ShowMessage("MSG 129", "Warning! Some lines are missing.");
    return true;
}

std::uint64_t NeededSize(const ImageRecord& image, std::size_t dataOffset) {
    return dataOffset + 2 * static_cast<std::uint64_t>(PixelCount(image));
}

bool MapPixels(ReadTarget& target, InputFile& file, std::size_t dataOffset) {
    if (!MapImageCopyOnWrite(target, file)) {
        return false;
    }
    file.Close();
    target.image.pixels =
        reinterpret_cast<std::int16_t*>(target.image.mappedView->Data() + dataOffset);
    return true;
}

}  // namespace

bool ReadHk(ReadTarget& target) {
    HeaderRecord& header = target.header;
    std::optional<InputFile> file = ReadStoredHeader(target);
    if (!file) {
        return false;
    }
    ExchangeHalves(header.exposure);
    ExchangeHalves(header.observationTime);
    ExchangeHalves(header.biasLevel);
    if (!SetBinnedSize(target)) {
        return false;
    }
    if (header.observationType == 6) {  // CALIBRATED: the bias is already removed
        header.biasLevel = 0.0F;
    }
    // Each text field ends at its last byte at the latest.
    header.observer[sizeof header.observer - 1] = '\0';
    header.object[sizeof header.object - 1] = '\0';
    header.rightAscension[sizeof header.rightAscension - 1] = '\0';
    header.declination[sizeof header.declination - 1] = '\0';
    header.epoch[sizeof header.epoch - 1] = '\0';
    header.temperature[sizeof header.temperature - 1] = '\0';
    header.quality[sizeof header.quality - 1] = '\0';
    header.comment[sizeof header.comment - 1] = '\0';
    // The camera's electrons per DN at gain setting g: 21.4 / (1 + g / 12.2).
    header.electronGain =
        static_cast<float>(21.4 / (1 + header.systemGain * 0.0819672131147541));
    SetHeaderText(header.detector, "TH7882");

    const std::uint64_t size = file->Size();
    if (size < NeededSize(target.image, kHkDataOffset) && !CutToFile(target, size, kHkDataOffset)) {
        return false;
    }
    return MapPixels(target, *file, kHkDataOffset);
}

bool ReadPc(ReadTarget& target) {
    std::optional<InputFile> file = ReadStoredHeader(target);
    if (!file || !SetBinnedSize(target)) {
        return false;
    }
    const std::uint64_t size = file->Size();
    const std::uint64_t needed = NeededSize(target.image, kPcDataOffset);
    if (size > needed) {
        target.host.ShowMessage("MSG 139", "Warning! File is longer than it ought to.");
    } else if (size < needed && !CutToFile(target, size, kPcDataOffset)) {
        return false;
    }
    return MapPixels(target, *file, kPcDataOffset);
}

}  // namespace corvane
