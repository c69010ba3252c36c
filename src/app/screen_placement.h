#pragma once
// Where the windows that accompany the main window go on the screen: the confirmation bar
// of a photometry run, the tool box and the close-up window. Everything is in screen
// pixels; rectangles are outer frames, their right and bottom edges exclusive.

#include <vector>

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The screen as the main window sees it.
struct DesktopGeometry {
    PixelRect available;  // the screen less task bars and docks
    PixelRect frame;      // the main window with its frame and caption
    PixelRect imageArea;  // the part of the client that shows the image
};

// The top-left corner for the confirmation bar of `bar`'s outer size. Just below the main
// window when the screen has room there; otherwise inside the image area, in the corner
// farthest from every rectangle of `keepVisible` (the apertures and boxes being confirmed);
// should each corner touch one of them, above the window when there is room, and else the
// corner that covers the least of them.
ScreenPoint PlaceConfirmBar(const DesktopGeometry& desk, PixelSize bar,
                            const std::vector<PixelRect>& keepVisible);

// The top-left corner of the tool box or the close-up window (outer sizes given for both,
// open or not). They stand beside the main window in one column, the tool box above the
// close-up window: right of the window when the screen has room, else left of it; with no
// room on either side, at the screen's right edge.
ScreenPoint PlaceCompanion(const DesktopGeometry& desk, PixelSize toolBox, PixelSize closeUp,
                           ModelessWindow window);

// The bounding rectangles of the marks drawn over the image, in client pixels of the image
// area: what a window placed over the image must leave uncovered.
std::vector<PixelRect> OverlayBounds(const Program& program);

}  // namespace corvane
