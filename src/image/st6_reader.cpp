// ST-6 Image: the text header, then width × height little-endian 16-bit values at 2048,
// copied into the temporary pixel file.

#include "image/reader_support.h"
#include "image/readers.h"
#include "image/sample_copy.h"
#include "image/st6_pixels.h"

namespace corvane {

bool ReadSt6(ReadTarget& target) {
    if (!ReadSt6Header(target)) {
        return false;
    }
    ImageRecord& image = target.image;
    std::optional<InputFile> file = OpenImageFile(target);
    if (!file) {
        return false;
    }

    const std::uint64_t size = file->Size();
    if (size < NeededFileSize(image, kSt6DataOffset, 2) &&
        !CutToWholeRows(target, size, kSt6DataOffset, 2)) {
        return false;
    }
    const std::uint32_t pedestal = image.pedestal;
    return CopyPixels(target, *file, kSt6DataOffset, 2,
                      [pedestal](const unsigned char* bytes, std::int16_t* out, std::size_t n) {
                          CopyLe16(bytes, out, n);
                          St6Transform(out, n, pedestal);
                      });
}

}  // namespace corvane
