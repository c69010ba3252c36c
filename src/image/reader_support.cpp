#include "image/reader_support.h"

#include <limits>

namespace corvane {

std::optional<InputFile> OpenImageFile(ReadTarget& target) {
    std::optional<InputFile> file = InputFile::Open(target.image.path);
    if (!file) {
        target.host.ShowMessage("MSG 109", "CreateFile function failed");
    }
    return file;
}

bool AcceptImageSize(ReadTarget& target) {
    if (target.image.width < 64 || target.image.height < 4) {
        target.host.ShowMessage("MSG 119", "Image is too small");
        return false;
    }
    const std::int64_t width = target.image.width;
    const std::int64_t height = target.image.height;
    const std::int64_t paddedWidth = (width + 3) / 4 * 4;
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    // The detector fields of the header record hold 16 bits; displayBufferSize =
    // height × paddedWidth + 4 is an int32 of the image record, and the pixel count,
    // never larger, then fits as well.
    if (width > kMaxImageSide || height > kMaxImageSide || height * paddedWidth > limit - 4) {
        target.host.ShowMessage("MSG 119", "Image is too large");
        return false;
    }
    SetImageGeometry(target);
    return true;
}

namespace {

// The rows of `width` pixels of `bytesPerSample` bytes that a file of `fileSize` bytes holds
// after `dataOffset`; 0 when the file ends before the data begin.
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

}  // namespace

std::uint64_t NeededFileSize(const ImageRecord& image, std::uint64_t dataOffset,
                             std::uint32_t bytesPerSample) {
    return dataOffset + std::uint64_t{bytesPerSample} * PixelCount(image);
}

bool CutToWholeRows(ReadTarget& target, std::uint64_t fileSize, std::uint64_t dataOffset,
                    std::uint32_t bytesPerSample) {
    const std::int32_t rows = RowsInFile(fileSize, dataOffset, target.image.width, bytesPerSample);
    if (rows < 4) {
        target.host.ShowMessage("MSG 119", "Image is too small");
        return false;
    }
    ShortenImage(target, rows);
    target.host.ShowMessage("MSG 129", "Warning! Some lines are missing.");
    return true;
}

void SetUnbinnedHeader(ReadTarget& target) {
    HeaderRecord& header = target.header;
    header.observationType = 3;
    header.originColumn = 0;
    header.originRow = 0;
    header.binColumns = 1;
    header.binRows = 1;
    header.detectorColumns = static_cast<std::uint16_t>(target.image.width);
    header.detectorRows = static_cast<std::uint16_t>(target.image.height);
}

std::int32_t TruncateToInt32(double value, std::int32_t otherwise) {
    // The bounds are exact doubles; anything outside (and NaN) has no int32 value.
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return otherwise;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace corvane
