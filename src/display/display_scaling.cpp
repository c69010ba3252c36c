#include "display/display_scaling.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/display_levels.h"
#include "display/display_mapping.h"
#include "platform/progress.h"

namespace corvane {

namespace {

// Pixels and a display buffer large enough for every row of them.
bool HasDisplayImage(const ImageRecord& image) {
    if (image.pixels == nullptr || image.width <= 0 || image.height <= 0 ||
        image.paddedWidth < image.width) {
        return false;
    }
    const std::size_t needed =
        static_cast<std::size_t>(image.paddedWidth) * static_cast<std::size_t>(image.height);
    return image.displayImage.size() >= needed;
}

const std::int16_t* PixelRow(const ImageRecord& image, int row) {
    return image.pixels + static_cast<std::size_t>(row) * static_cast<std::size_t>(image.width);
}

std::uint8_t* DisplayRow(ImageRecord& image, int row) {
    return image.displayImage.data() +
           static_cast<std::size_t>(row) * static_cast<std::size_t>(image.paddedWidth);
}

void ClearPadding(const ImageRecord& image, std::uint8_t* displayRow) {
    std::fill(displayRow + image.width, displayRow + image.paddedWidth, std::uint8_t{0});
}

// The display byte of every stored value (index stored + 32768), worked out once per
// rebuild from the mode's own rule, so that the pass over the pixels costs one look-up
// each. 64 KB: it stays in the cache while the rows stream past.
using StoredValueBytes = std::vector<std::uint8_t>;

template <class Rule>
StoredValueBytes BytesOfEveryStoredValue(Rule rule) {
    StoredValueBytes bytes(65536);
    for (int stored = -32768; stored <= 32767; ++stored) {
        bytes[static_cast<std::size_t>(stored + 32768)] = rule(static_cast<std::int16_t>(stored));
    }
    return bytes;
}

// Every row through `bytes`, padding zeroed, one progress step a row.
void MapRows(ImageRecord& image, const StoredValueBytes& bytes, Progress& progress) {
    const std::uint8_t* lookup = bytes.data();
    for (int row = 0; row < image.height; ++row) {
        const std::int16_t* p = PixelRow(image, row);
        std::uint8_t* out = DisplayRow(image, row);
        for (int c = 0; c < image.width; ++c) {
            out[c] = lookup[static_cast<std::size_t>(p[c] + 32768)];
        }
        ClearPadding(image, out);
        progress.Step();
    }
}

}  // namespace

void ScaleLinear(ImageRecord& image, const DisplayLevels& levels, Host& host) {
    if (!HasDisplayImage(image)) return;
    Progress progress(host, "Scaling...", image.height);
    WaitCursor wait(host);

    const LinearMap map = MakeLinearMap(levels, image.bzero);
    MapRows(image, BytesOfEveryStoredValue([&map](std::int16_t p) { return MapLinear(map, p); }),
            progress);
}

void ScaleLog(ImageRecord& image, const HeaderRecord& header, DisplayState& display,
              Host& host) {
    if (HasDisplayImage(image)) {
        Progress progress(host, "Scaling...", image.height);
        WaitCursor wait(host);

        FillLogTable(display.logTable, display.logMultiplier);
        const std::int64_t base = LogBase(image.bzero, header.biasLevel);
        const LogTable& table = display.logTable;
        MapRows(image,
                BytesOfEveryStoredValue([&](std::int16_t p) { return MapLog(table, base, p); }),
                progress);
    }
    display.logMultiplier = 1;
}

void ScaleHiPass(ImageRecord& image, Host& host) {
    if (!HasDisplayImage(image)) return;
    Progress progress(host, "Filtering...", image.height);
    WaitCursor wait(host);

    auto byte = [](int d) {
        const int t = d + 96;
        return static_cast<std::uint8_t>(t <= 0 ? 0 : t >= 192 ? 192 : t);
    };
    const int last = image.width - 1;
    for (int r = 0; r + 1 < image.height; ++r) {
        const std::int16_t* p = PixelRow(image, r);
        const std::int16_t* below = PixelRow(image, r + 1);
        std::uint8_t* out = DisplayRow(image, r);
        for (int c = 0; c < last; ++c) {
            out[c] = byte(below[c + 1] - p[c]);
        }
        // The last column has no lower-right neighbour; it takes the one straight below.
        out[last] = byte(below[last] - p[last]);
        ClearPadding(image, out);
        progress.Step();
    }
}

void RescaleAfterLoad(ImageRecord& image, const HeaderRecord& header, DisplayState& display,
                      Host& host) {
    switch (display.mode) {
        case kModeHistogram:
            ComputeHistogramLevels(image, display.levels, host);
            ScaleLinear(image, display.levels, host);
            break;
        case kModeLog:
        case kModeLogTimes2:
        case kModeLogTimes4:
            display.logMultiplier = LogMultiplierOf(display.mode);
            ScaleLog(image, header, display, host);
            break;
        case kModeHiPass:
            ScaleHiPass(image, host);
            break;
        case kModeManual:
            ScaleLinear(image, display.levels, host);
            break;
        case kModeMinMax:
            ComputeMinMaxLevels(image, display.levels);
            ScaleLinear(image, display.levels, host);
            break;
        case kModeFshow:
            ComputeFshowLevels(image, display.levels);
            ScaleLinear(image, display.levels, host);
            break;
        default:
            break;
    }
    display.bitmapHeader.width = image.width;
    display.bitmapHeader.height = -image.height;
}

bool RefreshDisplayPixel(ImageRecord& image, const HeaderRecord& header,
                         const DisplayState& display, int column, int row) {
    if (!HasDisplayImage(image) || column < 0 || row < 0 || column >= image.width ||
        row >= image.height) {
        return false;
    }
    const std::int16_t p = StoredPixel(image, column, row);
    std::uint8_t& out = DisplayRow(image, row)[column];
    if (IsLinearMode(display.mode)) {
        out = MapLinear(MakeLinearMap(display.levels, image.bzero), p);
    } else if (IsLogMode(display.mode)) {
        out = MapLog(display.logTable, LogBase(image.bzero, header.biasLevel), p);
    }
    return true;
}

}  // namespace corvane
