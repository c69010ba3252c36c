#include "image/reader_support.h"

#include <cmath>
#include <limits>

namespace corvane {

std::optional<InputFile> OpenImageFile(ReadTarget& target) {
    std::optional<InputFile> file = InputFile::Open(target.image.path);
    if (!file) {
        target.host.ShowMessage("MSG 109", "CreateFile function failed");
    }
    return file;
}

bool MapImageCopyOnWrite(ReadTarget& target, const InputFile& file) {
    std::optional<FileView> view = FileView::Map(file, ViewKind::CopyOnWrite);
    if (!view) {
        target.host.ShowMessage("MSG 109", "MapViewOfFile function failed");
        return false;
    }
    target.image.mappedView = std::move(view);
    return true;
}

std::optional<FileView> MapSourceReadOnly(ReadTarget& target, const InputFile& file) {
    std::optional<FileView> view = FileView::Map(file, ViewKind::ReadOnly);
    if (!view) {
        target.host.ShowMessage("MSG 109", "MapViewOfFile function failed");
    }
    return view;
}

bool CheckImageNotTooLarge(ReadTarget& target) {
    const std::int64_t width = target.image.width;
    const std::int64_t height = target.image.height;
    const std::int64_t paddedWidth = (width + 3) / 4 * 4;
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    // displayBufferSize = height × paddedWidth + 4 is an int32 of the image record; the
    // pixel count, never larger, then fits as well.
    if (width <= 0 || height <= 0 || paddedWidth > limit / height ||
        height * paddedWidth > limit - 4) {
        target.host.ShowMessage("MSG 119", "Image is too large");
        return false;
    }
    return true;
}

std::int32_t RowsInFile(std::uint64_t fileSize, std::uint64_t dataOffset, std::int32_t width,
                        std::uint32_t bytesPerSample) {
    if (fileSize <= dataOffset || width <= 0 || bytesPerSample == 0) {
        return 0;
    }
    std::uint64_t rows = (fileSize - dataOffset) / bytesPerSample / static_cast<std::uint64_t>(width);
    if (rows > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(rows);
}

std::int32_t TruncateToInt32(double value, std::int32_t otherwise) {
    // The bounds are exact doubles; anything outside (and NaN) has no int32 value.
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return otherwise;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace corvane
