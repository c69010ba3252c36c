// ST-6 Image: the text header, then width × height little-endian 16-bit values at 2048,
// used in place through a copy-on-write view.

#include "image/reader_support.h"
#include "image/readers.h"
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
    if (!MapPixelsInPlace(target, *file, kSt6DataOffset)) {
        return false;
    }
    St6Transform(image.pixels, PixelCount(image), image.pedestal);
    return true;
}

}  // namespace corvane
