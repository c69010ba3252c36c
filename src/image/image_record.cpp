#include "image/image_record.h"

namespace corvane {

void ReleaseImage(ImageRecord& image) {
    image.mappedView.reset();
    image.tempFile.reset();
    image.displayImage = {};
    image.pixels = nullptr;
    image.loaded = false;
}

}  // namespace corvane
