// ST-6 Compressed Image: the text header, then from byte 2048 one record per row, either
// the row's raw little-endian values or the row delta-compressed.

#include <cstring>
#include <vector>

#include "image/reader_support.h"
#include "image/readers.h"
#include "image/st6_pixels.h"

namespace corvane {

namespace {

// Decodes one compressed row of `width` pixels from `record`: the first pixel as two bytes,
// then a signed delta byte per pixel, where the byte 0x80 announces two bytes of absolute
// value. Returns the bytes consumed, or `record.size()` + 1 when the record ends first.
std::size_t DecodeSt6Row(const std::vector<unsigned char>& record, std::int16_t* row,
                         std::int32_t width) {
    const std::size_t length = record.size();
    if (length < 2) {
        return length + 1;
    }
    std::uint16_t pixel = LoadLe16(record.data());
    row[0] = static_cast<std::int16_t>(pixel);
    std::size_t at = 2;
    for (std::int32_t column = 1; column < width; ++column) {
        if (at >= length) {
            return length + 1;
        }
        const auto delta = static_cast<signed char>(record[at++]);
        if (delta == -128) {
            if (at + 2 > length) {
                return length + 1;
            }
            pixel = LoadLe16(record.data() + at);
            at += 2;
        } else {
            pixel = static_cast<std::uint16_t>(pixel + delta);
        }
        row[column] = static_cast<std::int16_t>(pixel);
    }
    return at;
}

}  // namespace

bool ReadSt6Compressed(ReadTarget& target) {
    if (!ReadSt6Header(target)) {
        return false;
    }
    ImageRecord& image = target.image;
    Host& host = target.host;
    if (!CreatePixelFile(target)) {
        return false;
    }

    std::optional<InputFile> file = InputFile::Open(image.path);
    if (!file || !file->Seek(kSt6DataOffset)) {
        host.ShowMessage("MSG 109", "CreateFile function failed");
        return false;
    }

    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t rawLength = 2 * width;
    // The longest record a row of `width` pixels can use: every delta an escape.
    const std::size_t longestRecord = 2 + 3 * (width - 1);
    std::vector<unsigned char> record;
    std::int32_t row = 0;
    unsigned char lengthBytes[2];
    while (file->Read(lengthBytes, 2) == 2) {
        if (row == image.height) {
            host.ShowMessage("MSG 139", "Warning! File is longer than it ought to.");
            break;
        }
        const auto length = static_cast<std::int16_t>(LoadLe16(lengthBytes));
        std::int16_t* pixels = image.pixels + static_cast<std::size_t>(row) * width;
        if (length >= 0 && static_cast<std::size_t>(length) == rawLength) {
            record.resize(rawLength);
            if (file->Read(record.data(), rawLength) < rawLength) {
                host.ShowMessage("MSG 109", "Image length is too short");
                return false;
            }
            for (std::size_t column = 0; column < width; ++column) {
                pixels[column] = static_cast<std::int16_t>(LoadLe16(record.data() + 2 * column));
            }
        } else {
            // No row of `width` pixels can be coded in a negative or longer length.
            if (length < 0 || static_cast<std::size_t>(length) > longestRecord) {
                host.ShowMessage("MSG 9", "messing up with the index");
                return false;
            }
            record.resize(static_cast<std::size_t>(length));
            if (file->Read(record.data(), record.size()) < record.size()) {
                host.ShowMessage("MSG 119", "Image length is too short");
                return false;
            }
            if (DecodeSt6Row(record, pixels, image.width) != record.size()) {
                host.ShowMessage("MSG 9", "messing up with the index");
                return false;
            }
        }
        ++row;
    }
    file->Close();

    // Rows the file did not supply are still 0 and take the transform like the others.
    St6Transform(image.pixels, PixelCount(image), image.pedestal);
    return true;
}

}  // namespace corvane
