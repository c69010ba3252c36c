#include "app/screen_placement.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "app/paint_geometry.h"

namespace corvane {

namespace {

PixelRect At(ScreenPoint p, PixelSize size) {
    return {p.x, p.y, p.x + size.width, p.y + size.height};
}

// `start` moved as little as needed for `extent` to lie within [low, high); at `low` when
// it cannot.
int KeepWithin(int start, int extent, int low, int high) {
    return std::max(low, std::min(start, high - extent));
}

ScreenPoint OnScreen(ScreenPoint p, PixelSize size, const PixelRect& available) {
    return {KeepWithin(p.x, size.width, available.left, available.right),
            KeepWithin(p.y, size.height, available.top, available.bottom)};
}

std::int64_t OverlapArea(const PixelRect& a, const PixelRect& b) {
    const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between two rectangles that do not overlap; 0 when they touch.
std::int64_t SquaredGap(const PixelRect& a, const PixelRect& b) {
    const std::int64_t dx = std::max({0, b.left - a.right, a.left - b.right});
    const std::int64_t dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}

// How well a bar at `bar` keeps the rectangles visible: larger is better. Positive: the
// squared distance to the nearest one; zero or negative: minus the area it covers.
std::int64_t Clearance(const PixelRect& bar, const std::vector<PixelRect>& keepVisible) {
    std::int64_t covered = 0;
    std::int64_t nearest = std::numeric_limits<std::int64_t>::max();
    for (const PixelRect& r : keepVisible) {
        covered += OverlapArea(bar, r);
        nearest = std::min(nearest, SquaredGap(bar, r) + 1);
    }
    return covered > 0 ? -covered : nearest;
}

}  // namespace

ScreenPoint PlaceConfirmBar(const DesktopGeometry& desk, PixelSize bar,
                            const std::vector<PixelRect>& keepVisible) {
    const PixelRect& a = desk.available;
    const PixelRect& f = desk.frame;
    if (f.bottom + bar.height <= a.bottom) {
        return OnScreen({f.left, f.bottom}, bar, a);
    }
    // Inside the image, bottom corners first: low in the window is where the bar used to
    // stand, and where it is looked for.
    const PixelRect& img = desk.imageArea;
    const int left = img.left;
    const int right = img.right - bar.width;
    const int top = img.top;
    const int bottom = img.bottom - bar.height;
    const std::array<ScreenPoint, 4> corners{
        {{left, bottom}, {right, bottom}, {left, top}, {right, top}}};
    ScreenPoint best{};
    std::int64_t bestClearance = std::numeric_limits<std::int64_t>::min();
    for (ScreenPoint corner : corners) {
        const ScreenPoint p = OnScreen(corner, bar, a);
        const std::int64_t c = Clearance(At(p, bar), keepVisible);
        if (c > bestClearance) {
            best = p;
            bestClearance = c;
        }
    }
    if (bestClearance <= 0 && f.top - bar.height >= a.top) {
        return OnScreen({f.left, f.top - bar.height}, bar, a);
    }
    return best;
}

ScreenPoint PlaceCompanion(const DesktopGeometry& desk, PixelSize toolBox, PixelSize closeUp,
                           ModelessWindow window) {
    const PixelRect& a = desk.available;
    const PixelRect& f = desk.frame;
    const PixelSize own = window == ModelessWindow::ToolBox ? toolBox : closeUp;
    const int columnWidth = std::max(toolBox.width, closeUp.width);
    const int columnHeight = toolBox.height + closeUp.height;
    int x = a.right - own.width;
    if (f.right + columnWidth <= a.right) {
        x = f.right;
    } else if (f.left - columnWidth >= a.left) {
        x = f.left - own.width;  // against the window's left edge
    }
    const int top = KeepWithin(f.top, columnHeight, a.top, a.bottom);
    const int y = window == ModelessWindow::ToolBox ? top : top + toolBox.height;
    return {x, y};
}

std::vector<PixelRect> OverlayBounds(const Program& program) {
    std::vector<PixelRect> bounds;
    for (const Polyline& line : ComputeOverlays(program)) {
        if (line.points.empty()) {
            continue;
        }
        PixelRect r{line.points[0].column, line.points[0].row, line.points[0].column + 1,
                    line.points[0].row + 1};
        for (const ImagePoint& p : line.points) {
            r.left = std::min(r.left, p.column);
            r.top = std::min(r.top, p.row);
            r.right = std::max(r.right, p.column + 1);
            r.bottom = std::max(r.bottom, p.row + 1);
        }
        bounds.push_back(r);
    }
    return bounds;
}

}  // namespace corvane
