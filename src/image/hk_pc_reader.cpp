// HK and PC: the 158-byte header record stored at the start of the file, then
// little-endian signed 16-bit pixels, copied into the temporary pixel file.

#include <cstddef>
#include <utility>

#include "image/reader_support.h"
#include "image/readers.h"
#include "image/sample_copy.h"

namespace corvane {

namespace {

constexpr std::size_t kHkDataOffset = 1024;
constexpr std::size_t kPcDataOffset = 158;

// The HK camera stores its 32-bit numbers with the two 16-bit halves exchanged: stored
// bytes a b c d mean c d a b. Worked on as bytes, since the packed record's fields need
// not be aligned.
void ExchangeHalves(HeaderRecord& header, std::size_t offset) {
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&header) + offset;
    std::swap(bytes[0], bytes[2]);
    std::swap(bytes[1], bytes[3]);
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
    return AcceptImageSize(target);
}

}  // namespace

bool ReadHk(ReadTarget& target) {
    HeaderRecord& header = target.header;
    std::optional<InputFile> file = ReadStoredHeader(target);
    if (!file) {
        return false;
    }
    ExchangeHalves(header, offsetof(HeaderRecord, exposure));
    ExchangeHalves(header, offsetof(HeaderRecord, observationTime));
    ExchangeHalves(header, offsetof(HeaderRecord, biasLevel));
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
    if (size < NeededFileSize(target.image, kHkDataOffset, 2) &&
        !CutToWholeRows(target, size, kHkDataOffset, 2)) {
        return false;
    }
    return CopyPixels(target, *file, kHkDataOffset, 2, CopyLe16);
}

bool ReadPc(ReadTarget& target) {
    std::optional<InputFile> file = ReadStoredHeader(target);
    if (!file || !SetBinnedSize(target)) {
        return false;
    }
    const std::uint64_t size = file->Size();
    const std::uint64_t needed = NeededFileSize(target.image, kPcDataOffset, 2);
    if (size > needed) {
        target.host.ShowMessage("MSG 139", "Warning! File is longer than it ought to.");
    } else if (size < needed && !CutToWholeRows(target, size, kPcDataOffset, 2)) {
        return false;
    }
    return CopyPixels(target, *file, kPcDataOffset, 2, CopyLe16);
}

}  // namespace corvane
