#include "app/window_layout.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "app/menu_model.h"
#include "app/mouse_modes.h"
#include "app/command_ids.h"

namespace corvane {

namespace {

// Whole display pixels: at magnification k screen pixels make one image pixel.
int SnapToDisplayPixels(int extent, int k) { return std::max(0, extent / k * k); }

// Window size and visible area (screen pixels) for the image at the current zoom.
struct WindowFit {
    int width = 0;
    int height = 0;
};

WindowFit FitWindowSize(ViewState& view, const WindowMetrics& m, int width, int height,
                        const PixelRect& requested) {
    const int z = view.zoom;
    const int k = std::max(1, z / 8);
    const int tv = m.verticalScrollWidth;
    const int th = m.horizontalScrollHeight;
    const int s = m.statusBarHeight;
    WindowFit fit;

    view.exactFit = false;
    if (m.maximized) {
        // Without sizing frame: a maximized window only has its edges.
        const int ox = 2 * m.edgeWidth + tv;
        const int oy = m.captionHeight + m.menuHeight + 2 * m.edgeHeight + s + th;
        int ww = ClampToInt(std::int64_t{ox} + ImageToScreen(width, z));
        int wh = ClampToInt(std::int64_t{oy} + ImageToScreen(height, z));
        if (ww >= m.workAreaRight && wh >= m.workAreaBottom) {
            ww = std::min(ww, m.workAreaRight);
            wh = std::min(wh, m.workAreaBottom);
            view.visibleWidth = SnapToDisplayPixels(ww - ox, k);
            view.visibleHeight = SnapToDisplayPixels(wh - oy, k);
            fit.width = ox + view.visibleWidth;
            fit.height = oy + view.visibleHeight;
            view.exactFit = fit.width == m.workAreaRight && fit.height == m.workAreaBottom;
        }
    }
    if (!view.exactFit) {
        const int ox = HorizontalFrame(m) + tv;
        const int oy = NonClientHeight(m) + s + th;
        int cw = ClampToInt(std::int64_t{ImageToScreen(width, z)} + tv);
        int ch = ClampToInt(std::int64_t{ImageToScreen(height, z)} + s + th);
        if (!m.maximized) {
            cw = std::min(cw, requested.right);
            ch = std::min(ch, requested.bottom);
        }
        const int ww = std::min(cw + HorizontalFrame(m), m.workAreaRight);
        const int wh = std::min(ch + NonClientHeight(m), m.workAreaBottom);
        view.visibleWidth = SnapToDisplayPixels(ww - ox, k);
        view.visibleHeight = SnapToDisplayPixels(wh - oy, k);
        fit.width = ox + view.visibleWidth;
        fit.height = oy + view.visibleHeight;
    }
    return fit;
}

void CheckClientSize(Host& host, const ViewState& view, const WindowMetrics& m,
                     const WindowFit& fit, PixelSize client) {
    const int tv = m.verticalScrollWidth;
    const int th = m.horizontalScrollHeight;
    const int s = m.statusBarHeight;
    if (client.width - tv != view.visibleWidth) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "Width Client Coordinates are different \n \n Rect.right %i \n xbarsize %i "
                      "\n dx %i \n winwidth %i \n xborder %i",
                      client.width, tv, view.visibleWidth, fit.width, HorizontalFrame(m) + tv);
        host.ShowMessage("MSG 227a", text);
    }
    if (client.height - th - s != view.visibleHeight) {
        host.ShowMessage("MSG 227b", "Height Client Coordinates are different");
    }
}

void SetScrollBars(ViewState& view, Host& host, int width, int height) {
    const int z = view.zoom;
    view.visibleImageWidth = ScreenToImage(view.visibleWidth, z);
    view.visibleImageHeight = ScreenToImage(view.visibleHeight, z);
    view.maxHorizontalOffset = ScreenToImage(ImageToScreen(width, z), z) - view.visibleImageWidth;
    view.maxVerticalOffset = ScreenToImage(ImageToScreen(height, z), z) - view.visibleImageHeight;

    const int oldH = view.horizontalOffset;
    const int oldV = view.verticalOffset;
    view.horizontalOffset = std::max(view.horizontalOffset, 0);
    view.horizontalOffset = std::min(view.horizontalOffset, width - view.visibleImageWidth);
    view.verticalOffset = std::max(view.verticalOffset, 0);
    view.verticalOffset = std::min(view.verticalOffset, height - view.visibleImageHeight);
    if (view.horizontalOffset != oldH || view.verticalOffset != oldV) {
        view.scrollChanged = true;
    }

    auto bar = [](int maxOffset, int visibleImage, int extent, int position) {
        ScrollBarState state;
        state.page = extent > 0 ? ClampToInt(std::int64_t{maxOffset} * visibleImage / extent) : 0;
        state.min = 0;
        state.max = state.page + maxOffset - 1;
        state.position = position;
        state.enabled = maxOffset > 0;
        return state;
    };
    host.SetScrollBar(ScrollBarKind::Vertical,
                      bar(view.maxVerticalOffset, view.visibleImageHeight, height,
                          view.verticalOffset));
    host.SetScrollBar(ScrollBarKind::Horizontal,
                      bar(view.maxHorizontalOffset, view.visibleImageWidth, width,
                          view.horizontalOffset));
}

}  // namespace

void RefitAndRedraw(Program& program, Host& host, const PixelRect& requested) {
    FitWindowToImage(program, host, requested);
    LayoutChildren(program, host);
    host.InvalidateAll();
    program.shell.view.scrollChanged = false;
}

namespace {

PixelRect ClientRect(PixelSize size) { return {0, 0, size.width, size.height}; }

PixelRect WorkArea(const WindowMetrics& m) { return {0, 0, m.workAreaRight, m.workAreaBottom}; }

}  // namespace

void FitWindowToImage(Program& program, Host& host, const PixelRect& requested) {
    ViewState& view = program.shell.view;
    const WindowMetrics m = host.GetWindowMetrics();
    const int width = program.image.width;
    const int height = program.image.height;

    const WindowFit fit = FitWindowSize(view, m, width, height, requested);

    const bool narrow = view.visibleWidth < 14 * m.statusBarHeight;
    program.shell.shortMenuTitles = narrow;
    UpdateMenu(program, host);

    const PixelSize client = host.SetWindowSize(fit.width, fit.height, m.maximized);
    CheckClientSize(host, view, m, fit, client);

    SetScrollBars(view, host, width, height);
}

SizeLimits ComputeSizeLimits(const Program& program, const WindowMetrics& m) {
    SizeLimits limits;
    if (!program.image.loaded) {
        return limits;
    }
    const ViewState& view = program.shell.view;
    limits.resizable = true;
    limits.minWidth = view.minTrackWidth;
    limits.minHeight = view.minTrackHeight;
    limits.maxWidth = ClampToInt(std::min<std::int64_t>(
        m.workAreaRight, std::int64_t{HorizontalFrame(m)} +
                             ImageToScreen(program.image.width, view.zoom) +
                             m.verticalScrollWidth));
    limits.maxHeight = ClampToInt(std::min<std::int64_t>(
        m.workAreaBottom, std::int64_t{NonClientHeight(m)} +
                              ImageToScreen(program.image.height, view.zoom) +
                              m.statusBarHeight + m.horizontalScrollHeight));
    return limits;
}

void LayoutChildren(Program& program, Host& host) {
    ViewState& view = program.shell.view;
    const WindowMetrics m = host.GetWindowMetrics();
    const PixelSize client = host.GetClientSize();
    const int cw = client.width;
    const int ch = client.height;
    const int t = m.horizontalScrollHeight;
    const int s = m.statusBarHeight;
    const bool wide = program.image.loaded && program.image.width > 1000;

    view.minTrackWidth = 8 * t;
    view.minTrackHeight = NonClientHeight(m) + s + m.horizontalScrollHeight;
    host.SetSizeLimits(ComputeSizeLimits(program, m));

    ChildLayout layout;
    layout.statusBarWidth = cw;
    layout.horizontalBar = {0, ch - t - s, cw - t, t};
    layout.verticalBar = {cw - t, 0, t, ch - t - s};
    layout.corner = {cw - t, ch - t - s, t, t};
    const int pane0 = (wide ? 7 : 6) * s;
    int pane1 = cw - (wide ? 10 : 9) * s;
    pane1 = std::max(pane1, pane0 + 7 * s);
    layout.paneRightEdges = {pane0, pane1, -1};
    layout.progress = {pane0 + 1, 1, pane1 - pane0 - 1, s - 1};
    host.PlaceChildren(layout);
}

PixelRect LoadFitRectangle(const Program& program, const WindowMetrics& m) {
    const int z = program.shell.view.zoom;
    PixelRect area = WorkArea(m);
    area.right = ClampToInt(std::min<std::int64_t>(
        area.right, std::int64_t{ImageToScreen(program.image.width, z)} +
                        m.verticalScrollWidth + HorizontalFrame(m)));
    area.bottom = ClampToInt(std::min<std::int64_t>(
        area.bottom, std::int64_t{ImageToScreen(program.image.height, z)} + m.statusBarHeight +
                         m.horizontalScrollHeight + NonClientHeight(m)));
    return area;
}

void OnSize(Program& program, Host& host, SizeKind kind, int clientWidth, int clientHeight) {
    ViewState& view = program.shell.view;
    switch (kind) {
        case SizeKind::Restored:
            if (program.image.loaded) {
                FitWindowToImage(program, host, {0, 0, clientWidth, clientHeight});
                LayoutChildren(program, host);
                if (view.scrollChanged) {
                    host.InvalidateAll();
                }
            } else {
                LayoutChildren(program, host);
            }
            view.scrollChanged = false;
            break;
        case SizeKind::Maximized:
            if (program.image.loaded) {
                FitWindowToImage(program, host, WorkArea(host.GetWindowMetrics()));
            }
            LayoutChildren(program, host);
            host.InvalidateAll();
            view.scrollChanged = false;
            break;
        case SizeKind::Other:
            break;
    }
}

bool AllowSizeCommand(const Program& program) { return program.image.loaded; }

void ZoomIn(Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    ViewState& view = program.shell.view;
    const int zoom = std::min(2 * view.zoom, kMaxZoom);
    if (zoom == view.zoom) {
        return;
    }
    program.shell.overlaysShown = false;
    const int w = program.image.width;
    const int h = program.image.height;
    view.horizontalOffset = std::max(0, program.roi.xc - view.visibleImageWidth / 4);
    view.horizontalOffset = std::min(view.horizontalOffset, w - view.visibleImageWidth / 2);
    view.verticalOffset = std::max(0, program.roi.yc - view.visibleImageHeight / 4);
    view.verticalOffset = std::min(view.verticalOffset, h - view.visibleImageHeight / 2);
    const WindowMetrics m = host.GetWindowMetrics();
    view.zoom = zoom;
    RefitAndRedraw(program, host,
                   {0, 0,
                    ClampToInt(std::int64_t{ImageToScreen(w, zoom)} + m.verticalScrollWidth),
                    ClampToInt(std::int64_t{ImageToScreen(h, zoom)} + m.statusBarHeight +
                               m.horizontalScrollHeight)});
}

int SmallestZoom(int width) {
    if (width < 512) return 4;
    if (width < 1024) return 2;
    return 1;
}

void ZoomOut(Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    ViewState& view = program.shell.view;
    const int zoom = std::max(view.zoom / 2, SmallestZoom(program.image.width));
    if (zoom == view.zoom) {
        return;
    }
    program.shell.overlaysShown = false;
    view.horizontalOffset = std::max(0, program.roi.xc - view.visibleImageWidth);
    view.verticalOffset = std::max(0, program.roi.yc - view.visibleImageHeight);
    view.zoom = zoom;
    RefitAndRedraw(program, host, ClientRect(host.GetClientSize()));
}

void ResizeToOneToOne(Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    ViewState& view = program.shell.view;
    view.zoom = kOneToOne;
    program.shell.overlaysShown = false;
    view.horizontalOffset = 0;
    view.verticalOffset = 0;
    RefitAndRedraw(program, host, WorkArea(host.GetWindowMetrics()));
}

namespace {

// Offset, maximum, step and quarter of one direction of the view.
struct Axis {
    int& offset;
    int maximum;
    int step;
    int quarter;
};

Axis AxisOf(ViewState& view, ScrollBarKind bar) {
    const int step = std::max(1, 8 / view.zoom);
    if (bar == ScrollBarKind::Horizontal) {
        return {view.horizontalOffset, view.maxHorizontalOffset, step, view.visibleImageWidth / 4};
    }
    return {view.verticalOffset, view.maxVerticalOffset, step, view.visibleImageHeight / 4};
}

}  // namespace

void OnScroll(Program& program, Host& host, ScrollBarKind bar, ScrollCode code, int thumb) {
    Axis axis = AxisOf(program.shell.view, bar);
    int offset = axis.offset;
    switch (code) {
        case ScrollCode::LineUp:
            if (offset <= 0) return;
            offset = std::max(0, offset - axis.step);
            break;
        case ScrollCode::LineDown:
            if (offset >= axis.maximum) return;
            offset = std::min(axis.maximum, offset + axis.step);
            break;
        case ScrollCode::PageUp:
            offset = std::max(0, offset - axis.quarter);
            break;
        case ScrollCode::PageDown:
            offset = std::min(axis.maximum, offset + axis.quarter);
            break;
        case ScrollCode::ThumbPosition:
            offset = std::clamp(thumb, 0, std::max(0, axis.maximum));
            break;
        case ScrollCode::ThumbTrack:
        case ScrollCode::Other:
            return;
    }
    host.SetScrollPosition(bar, offset);
    axis.offset = offset;
    host.InvalidateAll();
}

void ScrollByKey(Program& program, Host& host, int commandId) {
    using namespace command;
    ViewState& view = program.shell.view;
    const bool horizontal = commandId == kEnd || commandId == kHome || commandId == kRight ||
                            commandId == kLeft || commandId == kCtrlEnd || commandId == kCtrlHome;
    const ScrollBarKind bar = horizontal ? ScrollBarKind::Horizontal : ScrollBarKind::Vertical;
    Axis axis = AxisOf(view, bar);
    int offset = axis.offset;
    // Toward the start (up or left) or toward the end, by how much; the edge commands jump.
    switch (commandId) {
        case kPageUp:
        case kHome:
        case kUp:
        case kLeft: {
            if (offset <= 0) return;
            const int by = (commandId == kPageUp || commandId == kHome) ? axis.quarter : axis.step;
            offset = std::clamp(offset - by, 0, std::max(0, axis.maximum));
            break;
        }
        case kPageDown:
        case kEnd:
        case kDown:
        case kRight: {
            if (offset >= axis.maximum) return;
            const int by = (commandId == kPageDown || commandId == kEnd) ? axis.quarter : axis.step;
            offset = std::clamp(offset + by, 0, axis.maximum);
            break;
        }
        case kCtrlPageUp:
        case kCtrlHome:
            offset = 0;
            break;
        case kCtrlPageDown:
        case kCtrlEnd:
            offset = axis.maximum;
            break;
        default:
            return;
    }
    axis.offset = offset;
    host.SetScrollPosition(bar, offset);
    RefreshView(program, host);
}

}  // namespace corvane
