#pragma once
// Which part of the display image a repaint covers, and the screen square of a retouched
// pixel block.

#include <vector>

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

struct PaintGeometry {
    PixelRect destination;  // client pixels, snapped to whole image pixels at magnification
    // The image pixels stretched into it: columns sourceX …, rows sourceY … (top row 0).
    int sourceX = 0;
    int sourceY = 0;
    int sourceWidth = 0;
    int sourceHeight = 0;
};

// The update rectangle widened to whole image pixels (zoom above 1:1), and its source.
PaintGeometry ComputePaintGeometry(const ViewState& view, const PixelRect& update);

// Asks for a repaint of the screen square over the size × size image block around
// (column, row).
void InvalidatePixelArea(const ViewState& view, Host& host, int column, int row, int size);

// A red one-pixel polyline in client pixels.
struct Polyline {
    std::vector<ImagePoint> points;  // column = x, row = y of the client
};

// The polyline of the region box centred on image pixel (column, row).
Polyline BoxOutlinePolyline(const ViewState& view, const BoxOutline& outline, int column,
                            int row);

// The marks of the current mouse mode, drawn over the image after every paint.
std::vector<Polyline> ComputeOverlays(const Program& program);

}  // namespace corvane
