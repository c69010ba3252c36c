// Raw pixel dumps: a header of a given size, rows to skip, then rows of 8-bit or 16-bit
// samples, laid out as the "RAW Options" dialog states.

#include "image/reader_support.h"
#include "image/readers.h"
#include "image/sample_copy.h"

namespace corvane {

bool ReadRaw(ReadTarget& target) {
    ImageRecord& image = target.image;
    HeaderRecord& header = target.header;
    const RawOptions& raw = target.raw;
    Host& host = target.host;

    host.SetPaneText(Pane::Readout, "Loading image...");
    ClearHeader(header);
    std::optional<InputFile> file = OpenImageFile(target);
    if (!file) {
        return false;
    }
    SetUnbinnedHeader(target);
    if (!AcceptImageSize(target)) {
        return false;
    }

    // The dialog never gives negative offsets; any that come are refused like a file that
    // ends before its data. All sizes in 64 bits: the largest layout the dialog accepts
    // passes 4 GB.
    if (raw.rawHeaderBytes < 0 || raw.rawSkipRows < 0) {
        host.ShowMessage("MSG 119", "Past EOF");
        return false;
    }
    const std::uint32_t sampleBytes = image.bitpix == 8 ? 1 : 2;
    const std::uint64_t width = static_cast<std::uint64_t>(image.width);
    const std::uint64_t headerBytes = static_cast<std::uint64_t>(raw.rawHeaderBytes);
    const std::uint64_t skip = static_cast<std::uint64_t>(raw.rawSkipRows) * width * sampleBytes;
    const std::uint64_t data = width * static_cast<std::uint64_t>(image.height) * sampleBytes;
    const std::uint64_t size = file->Size();
    if (size > headerBytes + skip + data) {
        host.ShowMessage("MSG 139", "Warning! File is longer than it ought to.");
    } else if (size < headerBytes + skip + data) {
        if (size < headerBytes + skip) {
            host.ShowMessage("MSG 119", "Past EOF");
            return false;
        }
        if (!CutToWholeRows(target, size, headerBytes + skip, sampleBytes)) {
            return false;
        }
    }

    // Swapped 16-bit samples are big-endian ones.
    const std::uint64_t dataOffset = headerBytes + skip;
    if (sampleBytes == 1) {
        return CopyPixels(target, *file, dataOffset, 1, CopyU8);
    }
    return CopyPixels(target, *file, dataOffset, 2, raw.rawSwapBytes ? CopyBe16 : CopyLe16);
}

}  // namespace corvane
