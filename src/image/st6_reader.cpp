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

    // A file that ends inside the pixels keeps its whole rows.
    const std::uint64_t size = file->Size();
    const std::uint64_t needed = kSt6DataOffset + 2 * static_cast<std::uint64_t>(PixelCount(image));
    if (size < needed) {
        std::int32_t rows = RowsInFile(size, kSt6DataOffset, image.width, 2);
        if (rows < 4) {
            target.host.ShowMessage("MSG 119", "Image is too small");
            return false;
        }
        ShortenImage(target, rows);
        target.host.ShowMessage("MSG 129", "Warning! Some lines are missing.");
    }

    if (!MapImageCopyOnWrite(target, *file)) {
        return false;
    }
    file->Close();
    image.pixels = reinterpret_cast<std::int16_t*>(image.mappedView->Data() + kSt6DataOffset);
    St6Transform(image.pixels, PixelCount(image), image.pedestal);
    return true;
}

}  // namespace corvane
