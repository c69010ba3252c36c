#include "app/paint_geometry.h"

#include <algorithm>
#include <cstdint>

#include "photometry/object_list.h"

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
        l = std::max(0, ImageToScreen(ScreenToImage(l, z), z));
        t = std::max(0, ImageToScreen(ScreenToImage(t, z), z));
        r = ImageToScreen(ScreenToImage(std::int64_t{r} + s, z), z);
        r = std::max(std::min(r, view.visibleWidth), s);
        b = ImageToScreen(ScreenToImage(std::int64_t{b} + s, z), z);
        b = std::max(std::min(b, view.visibleHeight), s);
    }
    PaintGeometry g;
    g.destination = {l, t, r, b};
    g.sourceX = ClampToInt(std::int64_t{ScreenToImage(l, z)} + view.horizontalOffset);
    g.sourceY = ClampToInt(std::int64_t{ScreenToImage(t, z)} + view.verticalOffset);
    g.sourceWidth = ScreenToImage(std::int64_t{r} - l, z);
    g.sourceHeight = ScreenToImage(std::int64_t{b} - t, z);
    return g;
}

void InvalidatePixelArea(const ViewState& view, Host& host, int column, int row, int size) {
    const int z = view.zoom;
    const std::int64_t half = ImageToScreen(std::int64_t{size} / 2 + 1, z);
    const std::int64_t cx = ImageToScreen(std::int64_t{column} - view.horizontalOffset, z);
    const std::int64_t cy = ImageToScreen(std::int64_t{row} - view.verticalOffset, z);
    host.InvalidateRect({ClampToInt(cx - half), ClampToInt(cy - half), ClampToInt(cx + half),
                         ClampToInt(cy + half)});
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

namespace {

// Overlays are only shown at 1:1: an image pixel is a client pixel, shifted by the offsets.
Polyline AperturePolyline(const ViewState& view, const ApertureOutline& outline, PixelPoint at) {
    Polyline line;
    const int count = std::clamp(outline.count, 0, kOutlineCapacity);
    line.points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const OutlinePoint& p = outline.points[static_cast<std::size_t>(i)];
        // The outline's y grows upwards.
        line.points.push_back({at.x + p.x - view.horizontalOffset,
                               at.y - view.verticalOffset - p.y});
    }
    return line;
}

struct OverlayBuilder {
    const Program& program;
    std::vector<Polyline>& lines;

    const ObjectList& objects() const { return program.objects; }
    int stars() const { return std::clamp(program.photometry.numberOfStars, 0, kMaxStars); }
    int boxes() const { return std::clamp(program.photometry.numberOfBoxes, 0, kMaxBackgroundBoxes); }

    void Aperture(const ApertureShape& shape, PixelPoint at) {
        lines.push_back(AperturePolyline(program.shell.view, shape.outline, at));
    }
    void Box(PixelPoint at) {
        lines.push_back(BoxOutlinePolyline(program.shell.view, program.shell.boxOutline, at.x, at.y));
    }
    // DrawStarOutlines: every selected star, at its centroid or its clicked offset.
    void StarOutlines(bool centred) {
        const ObjectList& o = objects();
        for (int i = 0; i < stars(); ++i) {
            if (o.starSelected[i]) {
                Aperture(program.photometry.star,
                         MoveBy(o.referencePosition, centred ? o.starCentroidOffset[i] : o.starOffset[i]));
            }
        }
    }
    // DrawStarBoxes: the background boxes of every selected star.
    void StarBoxes(bool centred) {
        const ObjectList& o = objects();
        const int reference = std::clamp(o.referenceStar, 0, kMaxStars - 1);
        const PixelPoint shift = centred ? o.starCentroidOffset[reference] : PixelPoint{};
        for (int i = 0; i < stars(); ++i) {
            if (!o.starSelected[i]) continue;
            for (int j = 0; j < boxes(); ++j) {
                Box(MoveBy(MoveBy(o.referencePosition, o.starBoxOffsets[j][i]), shift));
            }
        }
    }
    // A star of the list being entered: its outline and its first `entered` boxes.
    void EnteredStar(int star, int entered, bool withOutline) {
        const ObjectList& o = objects();
        if (star < 0 || star >= kMaxStars) return;
        if (withOutline) {
            Aperture(program.photometry.star, MoveBy(o.referencePosition, o.starOffset[star]));
        }
        for (int j = 0; j < std::min(entered, boxes()); ++j) {
            Box(MoveBy(o.referencePosition, o.starBoxOffsets[j][star]));
        }
    }
};

}  // namespace

std::vector<Polyline> ComputeOverlays(const Program& program) {
    std::vector<Polyline> lines;
    const ShellState& shell = program.shell;
    if (!shell.overlaysShown) {
        return lines;
    }
    OverlayBuilder draw{program, lines};
    const ObjectList& o = program.objects;
    const StarInputState& s = program.starInput;
    switch (shell.mouseMode) {
        case MouseMode::Photometry: {
            draw.StarOutlines(o.centred);
            draw.StarBoxes(o.centred);
            if (o.asteroidSelected && s.asteroidClicked) {
                const PixelPoint at = o.centred ? o.asteroidCentre : o.asteroidPosition;
                for (int j = 0; j < std::min(s.box, draw.boxes()); ++j) {
                    draw.Box(MoveBy(at, o.asteroidBoxOffsets[j]));
                }
                draw.Aperture(program.photometry.asteroid, at);
            }
            break;
        }
        case MouseMode::InitStarList: {
            const int k = std::clamp(s.star, 0, draw.stars());
            for (int i = 0; i < k; ++i) {
                draw.EnteredStar(i, draw.boxes(), true);
            }
            // Star k has been clicked once its boxes are awaited.
            const bool clicked = !s.expectingStar || s.box > 0;
            if (k < draw.stars() && clicked) {
                draw.EnteredStar(k, s.box, true);
            }
            break;
        }
        case MouseMode::AddStar:
            draw.StarOutlines(o.centred);
            draw.StarBoxes(o.centred);
            if (s.newStarClicked) {
                draw.EnteredStar(program.photometry.numberOfStars, s.box, true);
            }
            break;
        default:
            break;
    }
    return lines;
}

}  // namespace corvane
