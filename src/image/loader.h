#pragma once
// The image loader: from a file name to a loaded image.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "image/header_record.h"
#include "image/image_record.h"
#include "image/raw_options.h"
#include "image/region_of_interest.h"
#include "platform/host.h"

namespace corvane {

// What a reader fills, and where it reports. On failure a reader has shown its message.
struct ReadTarget {
    ImageRecord& image;
    HeaderRecord& header;
    RegionOfInterest& roi;
    const RawOptions& raw;
    Host& host;
};

using ImageReader = bool (*)(ReadTarget&);

// The first bytes of a file, as the recognition table sees them: 70 bytes, zero past the
// end of a shorter file.
using FirstBytes = std::array<unsigned char, 70>;

struct FormatRow {
    bool (*matches)(const FirstBytes&);
    std::int32_t formatCode;
    ImageReader read;
};

// The recognition table, in the order its tests are applied.
extern const std::array<FormatRow, 8> kFormatTable;

struct LoadContext {
    ImageRecord& image;
    HeaderRecord& header;
    RegionOfInterest& roi;
    RawOptions& raw;
    Host& host;
    bool openAsRaw = false;           // the user picked the raw filter in the open dialog
    bool acquisitionSession = false;  // the acquisition program is handing over images
};

enum class LoadOutcome {
    Loaded,
    FailedKept,    // the lookup failed: the previous image is untouched
    FailedClosed,  // no image is loaded now
};

// Loads the file named `path` (it may hold wildcards). The image record is not touched
// before the lookup has found the file: a failed lookup leaves path, bzero and the pixels
// of the image shown exactly as they were. The window-side steps (menus, title, size) are
// the caller's; this does the file side and reports every failure through the host.
LoadOutcome LoadImageFile(LoadContext& context, std::string path);

// Centres the region of interest and sets the display geometry: every reader's last step
// before its pixels.
void SetImageGeometry(ReadTarget& target);

// "CreateFileMapping function failed.\nMaybe the disk is full." (MSG 109d): the
// temporary pixel file cannot take the pixels.
void ShowPixelFileFull(Host& host);

// Creates the temporary pixel file for width × height pixels and points `pixels` at it,
// reporting a failure with the reader's message.
bool CreatePixelFile(ReadTarget& target);

// Cuts the image to `rows` rows because the file ends early: height, detectorRows, the
// region centre and displayBufferSize follow.
void ShortenImage(ReadTarget& target, std::int32_t rows);

}  // namespace corvane
