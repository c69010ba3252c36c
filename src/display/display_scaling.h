#pragma once
// Rebuilding the display image from the stored pixels: one byte per pixel, 0 black to
// 192 white, rows padded with zeros to paddedWidth. None of these asks for a repaint;
// the caller does.

#include "display/display_state.h"
#include "image/header_record.h"
#include "image/image_record.h"
#include "platform/host.h"

namespace corvane {

// Linear between the limits (Histogram, Manual, Min-Max, Fshow).
void ScaleLinear(ImageRecord& image, const DisplayLevels& levels, Host& host);

// Logarithmic above the bias level, with display.logMultiplier; rebuilds the table and
// sets the multiplier back to 1.
void ScaleLog(ImageRecord& image, const HeaderRecord& header, DisplayState& display,
              Host& host);

// The difference of each pixel from its lower-right neighbour, around grey 96. The last
// display row keeps the bytes it had.
void ScaleHiPass(ImageRecord& image, Host& host);

// The rebuild after a new image is in place, in the current display mode; then the
// bitmap description takes the image's width and (top-down) height.
void RescaleAfterLoad(ImageRecord& image, const HeaderRecord& header, DisplayState& display,
                      Host& host);

// Recomputes the display byte of one pixel after an edit, as a rebuild in the current
// mode would. False when (column, row) is not a pixel of the loaded display image.
bool RefreshDisplayPixel(ImageRecord& image, const HeaderRecord& header,
                         const DisplayState& display, int column, int row);

}  // namespace corvane
