#include "image/image_record.h"

namespace corvane {

void ReleaseImage(ImageRecord& image) {
    image.tempFile.reset();
    image.displayImage = {};
    image.pixels = nullptr;
    image.loaded = false;
    image.width = 0;
    image.height = 0;
    image.paddedWidth = 0;
    image.displayBufferSize = 0;
}

}  // namespace corvane
