#include "app/paint_geometry.h"

#include <algorithm>

namespace corvane {

PaintGeometry ComputePaintGeometry(const ViewState& view, const PixelRect& update) {
    const int z = view.zoom;
    int l = update.left;
    int t = update.top;
    int r = update.right;
    int b = update.bottom;
    if (z > kOneToOne) {
        // Whole image pixels, so that partial repaints join without seams.
        const int s = z / 8;
        l = std::max(0, z * ((8 * l) / z) / 8);
        t = std::max(0, z * ((8 * t) / z) / 8);
        r = z * ((8 * (r + s)) / z) / 8;
        r = std::max(std::min(r, view.visibleWidth), s);
        b = z * ((8 * (b + s)) / z) / 8;
        b = std::max(std::min(b, view.visibleHeight), s);
    }
    PaintGeometry g;
    g.destination = {l, t, r, b};
    g.sourceX = (8 * l) / z + view.horizontalOffset;
    g.sourceY = (8 * t) / z + view.verticalOffset;
    g.sourceWidth = (8 * (r - l)) / z;
    g.sourceHeight = (8 * (b - t)) / z;
    return g;
}

void InvalidatePixelArea(const ViewState& view, Host& host, int column, int row, int size) {
    const int z = view.zoom;
    const int half = (z * (size / 2 + 1)) / 8;
    const int cx = ((column - view.horizontalOffset) * z) / 8;
    const int cy = ((row - view.verticalOffset) * z) / 8;
    host.InvalidateRect({cx - half, cy - half, cx + half, cy + half});
}

Polyline BoxOutlinePolyline(const ViewState& view, const BoxOutline& outline, int column,
                            int row) {
    // Overlays are only shown at 1:1: an image pixel is a client pixel, shifted by the offsets.
    Polyline line;
    for (const BoxCorner& p : outline) {
        line.points.push_back({column - view.horizontalOffset - p.dx,
                               row + p.dy - view.verticalOffset});
    }
    return line;
}

std::vector<Polyline> ComputeOverlays(const Program& program) {
    std::vector<Polyline> lines;
    const ShellState& shell = program.shell;
    if (!shell.overlaysShown) {
        return lines;
    }
    switch (shell.mouseMode) {
        case MouseMode::Photometry:
        case MouseMode::InitStarList:
        case MouseMode::AddStar:
        default:
            break;
    }
    return lines;
}

}  // namespace corvane
