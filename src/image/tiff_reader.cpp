// Baseline TIFF with one uncompressed grey channel of 8 or 16 bits, either byte order.
// Only the first image file directory is used; the strips are copied into the temporary
// pixel file, 16-bit samples halved into 0 … 32767.

#include <cstring>
#include <new>
#include <vector>

#include "image/reader_support.h"
#include "image/readers.h"
#include "image/sample_copy.h"

namespace corvane {

namespace {

constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint32_t kMaxEntries = 2000;

// Numbers of the file in its byte order: "MM" files are big-endian.
struct TiffOrder {
    bool bigEndian = false;
    std::uint16_t U16(const unsigned char* p) const { return bigEndian ? LoadBe16(p) : LoadLe16(p); }
    std::uint32_t U32(const unsigned char* p) const { return bigEndian ? LoadBe32(p) : LoadLe32(p); }
};

struct TiffEntry {
    std::uint16_t tag = 0;
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    const unsigned char* value = nullptr;  // the 4 bytes of the value field
};

// What the directory walk found.
struct TiffLayout {
    std::uint32_t stripCount = 0;
    std::vector<std::uint32_t> stripOffsets;
    std::vector<std::uint32_t> stripByteCounts;
};

class TiffReader {
public:
    TiffReader(ReadTarget& target, InputFile& file)
        : target_(target), host_(target.host), file_(file), fileSize_(file.Size()) {
        order_.bigEndian = target.image.formatCode == kFormatTiffBig;
    }

    bool Read();

private:
    bool Fail(const char* caption, const char* text) {
        host_.ShowMessage(caption, text);
        return false;
    }
    bool Walk(const TiffEntry& entry);
    // A SHORT or LONG value as a number; false for another type.
    bool Number(const TiffEntry& entry, std::uint32_t& value) const;
    // The strip table of a count above 1: the array the value field points to.
    bool ReadTable(const TiffEntry& entry, std::vector<std::uint32_t>& table,
                   const char* typeMessage);
    // The part of a strip that lies inside the file: where it starts (16-bit strips from
    // an even offset) and how many whole samples it holds there.
    struct StripPart {
        std::uint64_t start = 0;
        std::uint64_t samples = 0;
    };
    StripPart StripInFile(std::uint32_t strip) const;
    std::uint64_t SamplesInFile() const;
    // The strips one after another into consecutive pixels of the pixel file.
    bool CopyStrips();

    ReadTarget& target_;
    Host& host_;
    InputFile& file_;
    std::uint64_t fileSize_;
    TiffOrder order_;
    TiffLayout layout_;
};

bool TiffReader::Number(const TiffEntry& entry, std::uint32_t& value) const {
    if (entry.type == kTypeShort) {
        value = order_.U16(entry.value);
        return true;
    }
    if (entry.type == kTypeLong) {
        value = order_.U32(entry.value);
        return true;
    }
    return false;
}

bool TiffReader::ReadTable(const TiffEntry& entry, std::vector<std::uint32_t>& table,
                           const char* typeMessage) {
    std::uint64_t elementSize = 0;
    if (entry.type == kTypeShort) {
        elementSize = 2;
    } else if (entry.type == kTypeLong) {
        elementSize = 4;
    } else {
        return Fail("423", typeMessage);
    }
    const std::uint64_t offset = order_.U32(entry.value);
    const std::uint64_t bytes = elementSize * entry.count;
    if (offset > fileSize_ || bytes > fileSize_ - offset) {
        return Fail("MSG 27", "Invalid TIFF format");
    }
    std::vector<unsigned char> raw;
    try {
        raw.resize(static_cast<std::size_t>(bytes));
        table.assign(entry.count, 0);
    } catch (const std::bad_alloc&) {
        return Fail("MSG 2", "virtual memory not allocated");
    }
    if (file_.ReadAt(offset, raw.data(), raw.size()) < raw.size()) {
        return Fail("MSG 27", "Invalid TIFF format");
    }
    for (std::uint32_t i = 0; i < entry.count; ++i) {
        const unsigned char* p = raw.data() + i * elementSize;
        table[i] = elementSize == 2 ? order_.U16(p) : order_.U32(p);
    }
    return true;
}

bool TiffReader::Walk(const TiffEntry& entry) {
    ImageRecord& image = target_.image;
    std::uint32_t value = 0;
    switch (entry.tag) {
        case 256:
            if (!Number(entry, value)) {
                return Fail("423", "Invalid IMAGEWIDTH field type");
            }
            image.width = static_cast<std::int32_t>(value);
            return true;
        case 257:
            if (!Number(entry, value)) {
                return Fail("423", "Invalid IMAGELENGTH field type");
            }
            image.height = static_cast<std::int32_t>(value);
            return true;
        case 258:
            image.bitpix = order_.U16(entry.value);
            if (image.bitpix != 8 && image.bitpix != 16) {
                return Fail("MSG 397", "Corvane only supports 8-bit and 16-bit TIFF");
            }
            return true;
        case 259:
            if (order_.U16(entry.value) != 1) {
                return Fail("MSG5427", "Can't display compressed images. Sorry.");
            }
            return true;
        case 273:
            layout_.stripCount = entry.count;
            if (entry.count == 1) {
                if (!Number(entry, value)) {
                    return Fail("423", "Invalid STRIPOFFSET field type");
                }
                layout_.stripOffsets.assign(1, value);
            } else if (entry.count > 1) {
                return ReadTable(entry, layout_.stripOffsets, "Invalid STRIPOFFSETS field type");
            } else {
                layout_.stripOffsets.clear();
            }
            return true;
        case 277:
            if (order_.U16(entry.value) != 1) {
                return Fail("MSG5427", "Can't display more than one sample per pixel. Sorry.");
            }
            return true;
        case 278:
            if (!Number(entry, value)) {
                return Fail("423", "Invalid ROWSPERSTRIP field type");
            }
            return true;
        case 279:
            if (entry.count != layout_.stripCount) {
                return Fail("433", "STRIPBYTECOUNTS and STRIPOFFSETS count differ!");
            }
            if (entry.count == 1) {
                if (!Number(entry, value)) {
                    return Fail("423", "Invalid STRIPBYTECOUNTS field type");
                }
                layout_.stripByteCounts.assign(1, value);
            } else if (entry.count > 1) {
                return ReadTable(entry, layout_.stripByteCounts,
                                 "Invalid STRIPBYTECOUNTS field type");
            }
            return true;
        default:
            return true;
    }
}

TiffReader::StripPart TiffReader::StripInFile(std::uint32_t strip) const {
    const std::size_t sampleSize = target_.image.bitpix == 16 ? 2 : 1;
    std::uint64_t start = layout_.stripOffsets[strip];
    if (sampleSize == 2) {
        start &= ~std::uint64_t{1};  // samples are read from an even offset
    }
    std::uint64_t samples = layout_.stripByteCounts[strip] / sampleSize;
    const std::uint64_t inFile = start < fileSize_ ? (fileSize_ - start) / sampleSize : 0;
    return {start, samples < inFile ? samples : inFile};
}

std::uint64_t TiffReader::SamplesInFile() const {
    std::uint64_t total = 0;
    for (std::uint32_t strip = 0; strip < layout_.stripCount; ++strip) {
        total += StripInFile(strip).samples;
    }
    return total;
}

bool TiffReader::CopyStrips() {
    ImageRecord& image = target_.image;
    const TiffOrder order = order_;
    auto halve16 = [order](const unsigned char* p, std::int16_t* out, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = static_cast<std::int16_t>(order.U16(p + 2 * i) / 2);
        }
    };
    const std::uint32_t sampleSize = image.bitpix == 16 ? 2 : 1;
    const std::size_t capacity = PixelCount(image);
    CopiedSamples copied;
    for (std::uint32_t strip = 0; strip < layout_.stripCount && copied.count < capacity; ++strip) {
        const StripPart part = StripInFile(strip);
        // Bounded by the pixel buffer: what does not fit is not copied.
        const std::size_t room = capacity - copied.count;
        const std::size_t n = part.samples < room ? part.samples : room;
        TempPixelFile& pixels = *image.tempFile;
        const CopiedSamples piece =
            sampleSize == 1 ? CopySamples(file_, part.start, 1, pixels, copied.count, n, CopyU8)
                            : CopySamples(file_, part.start, 2, pixels, copied.count, n, halve16);
        copied.count += piece.count;
        copied.stored = piece.stored;
        if (!piece.stored || piece.count < n) {
            break;  // the file has become shorter since its strips were measured
        }
    }
    return KeepCopiedRows(target_, copied, capacity);
}

bool TiffReader::Read() {
    ImageRecord& image = target_.image;
    HeaderRecord& header = target_.header;

    unsigned char fileHeader[8];
    if (file_.ReadAt(0, fileHeader, sizeof fileHeader) < sizeof fileHeader) {
        return Fail("MSG 27", "Invalid TIFF format");
    }
    const std::uint32_t directory = order_.U32(fileHeader + 4);
    if (directory < 8) {
        return Fail("MSG 27", "Invalid TIFF format");
    }
    unsigned char countBytes[2];
    if (file_.ReadAt(directory, countBytes, 2) < 2) {
        return Fail("MSG 27", "Invalid TIFF format");
    }
    const std::uint32_t entryCount = order_.U16(countBytes);
    if (entryCount == 0 || entryCount > kMaxEntries) {
        return Fail("MSG 271", "Invalid TIFF format (# of DE == 0 || > 2000))");
    }
    // The entries and the offset of the next directory.
    std::vector<unsigned char> entries(12 * entryCount + 4);
    if (file_.ReadAt(static_cast<std::uint64_t>(directory) + 2, entries.data(), entries.size()) <
        entries.size()) {
        return Fail("MSG 27", "Invalid TIFF format");
    }
    const unsigned char* next = entries.data() + 12 * entryCount;
    // The stored first half of the next offset decides, whatever the byte order.
    if (next[0] != 0 || next[1] != 0) {
        host_.ShowMessage("MSG 327", "This file contains multiple images");
    }

    // A file that leaves out a size tag does not inherit the previous image's.
    image.width = 0;
    image.height = 0;
    image.bitpix = 0;
    for (std::uint32_t i = 0; i < entryCount; ++i) {
        const unsigned char* e = entries.data() + 12 * i;
        TiffEntry entry{order_.U16(e), order_.U16(e + 2), order_.U32(e + 4), e + 8};
        if (!Walk(entry)) {
            return false;
        }
    }
    entries = {};

    SetUnbinnedHeader(target_);
    header.exposure = 1000;  // 100.0 s: the file gives no exposure
    header.observationTime = 0;
    header.electronGain = 1.0F;

    if (!AcceptImageSize(target_)) {
        return false;
    }
    // A file without BitsPerSample or strips does not say how to read its pixels.
    if (image.bitpix != 8 && image.bitpix != 16) {
        return Fail("MSG 397", "Corvane only supports 8-bit and 16-bit TIFF");
    }
    if (layout_.stripCount == 0 || layout_.stripOffsets.size() != layout_.stripCount ||
        layout_.stripByteCounts.size() != layout_.stripCount) {
        return Fail("MSG 27", "Invalid TIFF format");
    }

    // Strips that run past the end of the file, or hold fewer samples than the image, give
    // the whole rows they supply.
    const std::uint64_t sampleSize = image.bitpix == 16 ? 2 : 1;
    const std::uint64_t supplied = SamplesInFile();
    if (supplied < PixelCount(image) &&
        !CutToWholeRows(target_, supplied * sampleSize, 0, static_cast<std::uint32_t>(sampleSize))) {
        return false;
    }

    return CreatePixelFile(target_) && CopyStrips();
}

}  // namespace

bool ReadTiff(ReadTarget& target) {
    target.host.SetPaneText(Pane::Readout, "Loading image...");
    ClearHeader(target.header);
    std::optional<InputFile> file = OpenImageFile(target);
    if (!file) {
        return false;
    }
    TiffReader reader(target, *file);
    return reader.Read();
}

}  // namespace corvane
