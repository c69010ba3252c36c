#pragma once
// The view of the image in the main window: zoom, scroll offsets and visible area.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace corvane {

inline constexpr int kOneToOne = 8;  // zoom in eighths: 8 is 1:1, 16 is 2:1, 4 is 1:2
inline constexpr int kMaxZoom = 128;

// A 64-bit size or coordinate held to the int range.
inline int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Screen pixels of `imagePixels` image pixels at `zoom` (eighths): zoom × n ÷ 8, the
// product taken in 64 bits.
inline int ImageToScreen(std::int64_t imagePixels, int zoom) {
    return ClampToInt(zoom * imagePixels / 8);
}

// Image pixels of `screenPixels` screen pixels at `zoom`: 8 × n ÷ zoom.
inline int ScreenToImage(std::int64_t screenPixels, int zoom) {
    return ClampToInt(8 * screenPixels / zoom);
}

struct ViewState {
    int zoom = kOneToOne;
    int horizontalOffset = 0;  // image column at the client's left edge
    int verticalOffset = 0;    // image row at the client's top edge
    int visibleWidth = 0;      // screen pixels of the client covered by the image
    int visibleHeight = 0;
    int visibleImageWidth = 0;  // the same in image pixels: 8 × visible ÷ zoom
    int visibleImageHeight = 0;
    int maxHorizontalOffset = 0;  // image pixels
    int maxVerticalOffset = 0;
    bool scrollChanged = false;  // the last fit had to move an offset
    bool exactFit = false;       // a maximized window covers the work area exactly
    int minTrackWidth = 0;       // the user cannot drag the window smaller than this
    int minTrackHeight = 0;
};

struct ImagePoint {
    int column = 0;
    int row = 0;
};

// The image pixel under client point (x, y).
inline ImagePoint ClientToImage(const ViewState& view, int x, int y) {
    return {ClampToInt(view.horizontalOffset + std::int64_t{ScreenToImage(x, view.zoom)}),
            ClampToInt(view.verticalOffset + std::int64_t{ScreenToImage(y, view.zoom)})};
}

}  // namespace corvane
