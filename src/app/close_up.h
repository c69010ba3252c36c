#pragma once
// The close-up window's model: the 32 × 32 block of the display image around the pointer,
// drawn four times its size into a 128 × 128 client, with a green square around the
// centre pixel's cell.

#include <array>
#include <cstdint>

#include "app/program.h"
#include "image/image_record.h"
#include "platform/host.h"

namespace corvane {

inline constexpr int kCloseUpClientSize = 128;  // client pixels, both ways
inline constexpr int kCloseUpBlockSize = 32;    // image pixels shown, both ways
inline constexpr int kCloseUpScale = kCloseUpClientSize / kCloseUpBlockSize;

struct ClientPoint {
    int x = 0;
    int y = 0;
};

// The marker: a square around the cell of the centre pixel (client 60 … 63 across and
// 64 … 67 down when the block is not held at an image edge).
inline constexpr std::array<ClientPoint, 5> kCloseUpMarker{
    {{59, 68}, {64, 68}, {64, 63}, {59, 63}, {59, 68}}};
inline constexpr std::uint8_t kMarkerRed = 0, kMarkerGreen = 255, kMarkerBlue = 0;

inline constexpr const char* kFrozenTitle = "FROZEN!";

// Zoom in eighths and scroll offsets in image pixels, as the main window's view has them.
struct CloseUpView {
    int zoom = 8;
    int horizontalOffset = 0;
    int verticalOffset = 0;
};

struct CloseUpSource {
    int centreColumn = 0;  // cx: the image pixel under the pointer
    int centreRow = 0;     // cy
    // The block's origin as the stretched-bitmap call counts it: xSrc from the left,
    // ySrc from the image's bottom row.
    int xSrc = 0;
    int ySrc = 0;
    // The same block as image pixels, first row on top; the part of it inside the image.
    int firstColumn = 0;
    int firstRow = 0;
    int columns = 0;
    int rows = 0;
};

// The block for pointer (px, py) in main-window client pixels. An image narrower or lower
// than the block is shown from its first column and row, as far as it goes.
CloseUpSource ComputeCloseUpSource(const CloseUpView& view, int px, int py, int width,
                                   int height);

// The display bytes of the block, row by row, kCloseUpBlockSize bytes a row; cells outside
// the image (or past the display buffer) stay 0 and are not part of columns × rows.
struct CloseUpBlock {
    CloseUpSource source;
    std::array<std::uint8_t, kCloseUpBlockSize * kCloseUpBlockSize> bytes{};
};

// Nothing is read outside the display image; false when there is nothing to show (no
// image, or no display image yet).
bool CopyCloseUpBlock(const ImageRecord& image, const CloseUpView& view, int px, int py,
                      CloseUpBlock& block);

// "Close-up box" (112): opens the window while an image is shown and none is open.
void OpenCloseUp(Program& program, Host& host);
// The close-up window has been closed: it is forgotten, and so is the freeze.
void OnCloseUpClosed(Program& program);
// The zoom and scroll offsets of the main window's view.
CloseUpView CloseUpViewOf(const ViewState& view);

// The close-up title for the frozen flag.
inline const char* CloseUpTitle(bool frozen) { return frozen ? kFrozenTitle : ""; }

}  // namespace corvane
