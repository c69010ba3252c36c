#include "app/window_layout.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/paint_geometry.h"
#include "app/app_fixture.h"

namespace corvane {
namespace {

using test::AppFixture;

// Frame 12 wide; caption, menu and frame 51 high; bars 16; status bar 20.
constexpr int kFrameX = 12;
constexpr int kFrameY = 51;
constexpr int kBar = 16;
constexpr int kStatus = 20;

struct LoadedWindow : AppFixture {
    explicit LoadedWindow(int width, int height) {
        ShowImage(width, height);
        FitWindowToImage(program, host, LoadFitRectangle(program, host.metrics));
        LayoutChildren(program, host);
    }
    const ViewState& view() const { return program.shell.view; }
};

TEST(FitWindowToImage, ClientIsTheImageAtTheZoomPlusBarsAndStatusBar) {
    struct Case {
        int zoomIns;
        int visibleWidth, visibleHeight;
    } cases[] = {{0, 300, 200}, {1, 600, 400}};
    for (const Case& c : cases) {
        LoadedWindow w(300, 200);
        for (int i = 0; i < c.zoomIns; ++i) ZoomIn(w.program, w.host);
        EXPECT_EQ(w.view().visibleWidth, c.visibleWidth);
        EXPECT_EQ(w.view().visibleHeight, c.visibleHeight);
        ASSERT_FALSE(w.host.windowSizes.empty());
        EXPECT_EQ(w.host.windowSizes.back(),
                  std::make_pair(c.visibleWidth + kBar + kFrameX,
                                 c.visibleHeight + kBar + kStatus + kFrameY));
        EXPECT_EQ(w.host.client.width, c.visibleWidth + kBar);
        EXPECT_EQ(w.host.client.height, c.visibleHeight + kBar + kStatus);
        EXPECT_TRUE(w.host.messages.empty()) << w.host.MessageLines()[0];
    }
}

TEST(FitWindowToImage, DraggingTheBorderOutwardDoesNotEnlargeTheWindow) {
    LoadedWindow w(300, 200);
    OnSize(w.program, w.host, SizeKind::Restored, 700, 500);
    EXPECT_EQ(w.view().visibleWidth, 300);
    EXPECT_EQ(w.host.windowSizes.back(), std::make_pair(328, 287));
    // Dragging inward shrinks the image area to what the client leaves.
    OnSize(w.program, w.host, SizeKind::Restored, 216, 136);
    EXPECT_EQ(w.view().visibleWidth, 200);
    EXPECT_EQ(w.view().visibleHeight, 100);
}

TEST(FitWindowToImage, LimitedToTheWorkAreaInWholeDisplayPixels) {
    // Work area 1600 × 1200 leaves 1572 × 1113 for the image.
    struct Case {
        int zoom;
        int visibleWidth, visibleHeight;
    } cases[] = {{8, 1572, 1113}, {16, 1572, 1112}, {128, 1568, 1104}};
    for (const Case& c : cases) {
        AppFixture f;
        f.ShowImage(2048, 2048);
        f.program.shell.view.zoom = c.zoom;
        FitWindowToImage(f.program, f.host, {0, 0, 100000, 100000});
        EXPECT_EQ(f.program.shell.view.visibleWidth, c.visibleWidth) << c.zoom;
        EXPECT_EQ(f.program.shell.view.visibleHeight, c.visibleHeight) << c.zoom;
        EXPECT_LE(f.host.windowSizes.back().first, 1600);
        EXPECT_LE(f.host.windowSizes.back().second, 1200);
    }
}

TEST(FitWindowToImage, MaximizedWindowCoveringTheWorkAreaExactly) {
    AppFixture f;
    f.host.metrics.maximized = true;
    f.ShowImage(2048, 2048);
    FitWindowToImage(f.program, f.host, {0, 0, 1600, 1200});
    // Without the sizing frame: 1600 − 4 − 16 and 1200 − 19 − 20 − 4 − 36.
    EXPECT_TRUE(f.program.shell.view.exactFit);
    EXPECT_EQ(f.program.shell.view.visibleWidth, 1580);
    EXPECT_EQ(f.program.shell.view.visibleHeight, 1121);
    EXPECT_EQ(f.host.windowSizes.back(), std::make_pair(1600, 1200));
    EXPECT_TRUE(f.host.windowAtOrigin.back());

    // A small image does not fill the screen: the normal branch sizes the window.
    AppFixture small;
    small.host.metrics.maximized = true;
    small.ShowImage(300, 200);
    FitWindowToImage(small.program, small.host, {0, 0, 10, 10});
    EXPECT_FALSE(small.program.shell.view.exactFit);
    EXPECT_EQ(small.program.shell.view.visibleWidth, 300);  // R is ignored when maximized
}

TEST(FitWindowToImage, ReportsAClientThatDiffersFromTheFit) {
    AppFixture f;
    f.ShowImage(300, 200);
    f.host.clientOverride = PixelSize{310, 236};
    FitWindowToImage(f.program, f.host, {0, 0, 1000, 1000});
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].caption, "MSG 227a");
    EXPECT_EQ(f.host.messages[0].text,
              "Width Client Coordinates are different \n \n Rect.right 310 \n xbarsize 16 \n dx "
              "300 \n winwidth 328 \n xborder 28");
    f.host.messages.clear();
    f.host.clientOverride = PixelSize{316, 230};
    FitWindowToImage(f.program, f.host, {0, 0, 1000, 1000});
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.MessageLines()[0], "MSG 227b: Height Client Coordinates are different");
}

TEST(FitWindowToImage, ShortMenuTitlesBelowFourteenStatusBarHeights) {
    // 14 × 20 = 280 image-area pixels.
    struct Case {
        int width;
        bool shortTitles;
    } cases[] = {{279, true}, {280, false}};
    for (const Case& c : cases) {
        LoadedWindow w(c.width, 100);
        EXPECT_EQ(w.host.menu.titles == kShortMenuTitles, c.shortTitles) << c.width;
        // Only the titles change: the loaded image's menus stay enabled.
        EXPECT_TRUE(w.host.menu.topEnabled[kMenuPhotometry]);
    }
}

TEST(FitWindowToImage, ClampsOffsetsAndSetsTheScrollBars) {
    AppFixture f;
    f.ShowImage(4000, 100);
    f.program.shell.view.horizontalOffset = 5000;
    f.program.shell.view.verticalOffset = -3;
    FitWindowToImage(f.program, f.host, {0, 0, 100000, 100000});
    const ViewState& v = f.program.shell.view;
    EXPECT_EQ(v.visibleImageWidth, 1572);
    EXPECT_EQ(v.maxHorizontalOffset, 4000 - 1572);
    EXPECT_EQ(v.horizontalOffset, 4000 - 1572);
    EXPECT_EQ(v.verticalOffset, 0);
    EXPECT_TRUE(v.scrollChanged);
    const ScrollBarState& h = f.host.scrollBars[static_cast<int>(ScrollBarKind::Horizontal)];
    const int page = (4000 - 1572) * 1572 / 4000;
    EXPECT_EQ(h.page, page);
    EXPECT_EQ(h.max, page + 4000 - 1572 - 1);
    EXPECT_EQ(h.position, 4000 - 1572);
    EXPECT_TRUE(h.enabled);
    EXPECT_FALSE(f.host.scrollBars[static_cast<int>(ScrollBarKind::Vertical)].enabled);
}

// The largest sides a reader accepts, at both ends of the zoom: nothing may wrap, and a
// repaint at the far corner ends inside the image.
TEST(FitWindowToImage, LargestImageAtSixteenToOneAndOneToEight) {
    struct Case {
        int zoom;
        int visibleWidth, visibleHeight;
        int visibleImageWidth, maxOffset, page;
        int lastColumn;  // one past the last column a full repaint at the far end shows
    } cases[] = {
        {kMaxZoom, 1568, 1104, 98, 65535 - 98, 97, 65535},
        // 65535 × 1 / 8 = 8191 screen pixels hold 65528 image columns.
        {1, 1572, 1113, 12576, 65528 - 12576, 10161, 65528},
    };
    for (const Case& c : cases) {
        AppFixture f;
        ImageRecord& image = f.program.image;  // the sizes alone: nothing here reads pixels
        image.width = 65535;
        image.height = 65535;
        image.loaded = true;
        ViewState& v = f.program.shell.view;
        v.zoom = c.zoom;
        FitWindowToImage(f.program, f.host, LoadFitRectangle(f.program, f.host.metrics));
        LayoutChildren(f.program, f.host);
        EXPECT_EQ(f.host.windowSizes.back(),
                  std::make_pair(c.visibleWidth + kBar + kFrameX,
                                 c.visibleHeight + kBar + kStatus + kFrameY))
            << c.zoom;
        EXPECT_EQ(f.host.sizeLimits.maxWidth, 1600) << c.zoom;
        EXPECT_EQ(v.visibleWidth, c.visibleWidth) << c.zoom;
        EXPECT_EQ(v.visibleHeight, c.visibleHeight) << c.zoom;
        EXPECT_EQ(v.visibleImageWidth, c.visibleImageWidth) << c.zoom;
        EXPECT_EQ(v.maxHorizontalOffset, c.maxOffset) << c.zoom;
        const ScrollBarState& h = f.host.scrollBars[static_cast<int>(ScrollBarKind::Horizontal)];
        EXPECT_EQ(h.page, c.page) << c.zoom;
        EXPECT_EQ(h.max, c.page + c.maxOffset - 1) << c.zoom;

        v.horizontalOffset = v.maxHorizontalOffset;
        const PaintGeometry g = ComputePaintGeometry(v, {0, 0, v.visibleWidth, v.visibleHeight});
        EXPECT_EQ(g.sourceX + g.sourceWidth, c.lastColumn) << c.zoom;
        EXPECT_EQ(g.destination.right, c.visibleWidth) << c.zoom;
    }
}

TEST(LayoutChildren, PlacesBarsCornerPanesAndProgress) {
    struct Case {
        int width;
        int pane0, pane1;
    } cases[] = {
        {1000, 120, 1016 - 180},  // 6 and 9 status-bar heights
        {1001, 140, 1017 - 200},  // wider than 1000 pixels: 7 and 10
        {300, 120, 260},          // pane 1 never ends before pane 0 + 7 heights
    };
    for (const Case& c : cases) {
        LoadedWindow w(c.width, 200);
        ASSERT_FALSE(w.host.layouts.empty());
        const ChildLayout& l = w.host.layouts.back();
        const int cw = w.host.client.width;
        const int ch = w.host.client.height;
        EXPECT_EQ(l.paneRightEdges[0], c.pane0) << c.width;
        EXPECT_EQ(l.paneRightEdges[1], c.pane1) << c.width;
        EXPECT_EQ(l.paneRightEdges[2], -1);
        EXPECT_EQ(l.statusBarWidth, cw);
        EXPECT_EQ(l.horizontalBar.x, 0);
        EXPECT_EQ(l.horizontalBar.y, ch - kBar - kStatus);
        EXPECT_EQ(l.horizontalBar.width, cw - kBar);
        EXPECT_EQ(l.verticalBar.x, cw - kBar);
        EXPECT_EQ(l.verticalBar.height, ch - kBar - kStatus);
        EXPECT_EQ(l.corner.x, cw - kBar);
        EXPECT_EQ(l.corner.y, ch - kBar - kStatus);
        EXPECT_EQ(l.progress.x, c.pane0 + 1);
        EXPECT_EQ(l.progress.width, c.pane1 - c.pane0 - 1);
        EXPECT_EQ(l.progress.height, kStatus - 1);
    }
}

TEST(LayoutChildren, SizeLimitsFollowTheImageAndFixTheEmptyWindow) {
    LoadedWindow w(300, 200);
    EXPECT_TRUE(w.host.sizeLimits.resizable);
    EXPECT_EQ(w.host.sizeLimits.minWidth, 8 * kBar);
    EXPECT_EQ(w.host.sizeLimits.minHeight, kFrameY + kStatus + kBar);
    EXPECT_EQ(w.host.sizeLimits.maxWidth, 328);
    EXPECT_EQ(w.host.sizeLimits.maxHeight, 287);
    EXPECT_TRUE(AllowSizeCommand(w.program));

    AppFixture empty;
    LayoutChildren(empty.program, empty.host);
    EXPECT_FALSE(empty.host.sizeLimits.resizable);
    EXPECT_FALSE(AllowSizeCommand(empty.program));
}

TEST(Zoom, StopsAtSixteenToOne) {
    LoadedWindow w(300, 200);
    for (int i = 0; i < 4; ++i) ZoomIn(w.program, w.host);
    EXPECT_EQ(w.view().zoom, 128);
    const std::size_t sizes = w.host.windowSizes.size();
    const int invalidations = w.host.fullInvalidations;
    ZoomIn(w.program, w.host);
    EXPECT_EQ(w.view().zoom, 128);
    EXPECT_EQ(w.host.windowSizes.size(), sizes);
    EXPECT_EQ(w.host.fullInvalidations, invalidations);
}

TEST(Zoom, CentresOnTheRegionAndHidesTheOverlays) {
    LoadedWindow w(2048, 2048);
    w.program.roi.xc = 1000;
    w.program.roi.yc = 100;
    w.program.shell.overlaysShown = true;
    ZoomIn(w.program, w.host);
    EXPECT_EQ(w.view().zoom, 16);
    EXPECT_FALSE(w.program.shell.overlaysShown);
    // 1572 × 1113 image pixels before: offsets 1000 − 393 and max(0, 100 − 278).
    EXPECT_EQ(w.view().horizontalOffset, 607);
    EXPECT_EQ(w.view().verticalOffset, 0);
}

TEST(Squeeze, StopsAtTheSmallestZoomForTheWidth) {
    struct Case {
        int width;
        int zoom;
        int visibleWidth;
    } cases[] = {{400, 4, 200}, {600, 2, 150}, {2048, 1, 256}, {511, 4, 255}, {1023, 2, 255}};
    for (const Case& c : cases) {
        LoadedWindow w(c.width, 300);
        for (int i = 0; i < 5; ++i) ZoomOut(w.program, w.host);
        EXPECT_EQ(w.view().zoom, c.zoom) << c.width;
        EXPECT_EQ(w.view().visibleWidth, c.visibleWidth) << c.width;
    }
}

TEST(Resize, BackToOneToOneAtTheTopLeft) {
    LoadedWindow w(2048, 2048);
    ZoomIn(w.program, w.host);
    w.program.shell.view.horizontalOffset = 100;
    ResizeToOneToOne(w.program, w.host);
    EXPECT_EQ(w.view().zoom, 8);
    EXPECT_EQ(w.view().horizontalOffset, 0);
    EXPECT_EQ(w.view().visibleWidth, 1572);
}

TEST(Scrolling, LineStepDependsOnTheZoom) {
    struct Case {
        int zoom;
        int step;
    } cases[] = {{16, 1}, {8, 1}, {4, 2}, {2, 4}, {1, 8}};
    for (const Case& c : cases) {
        AppFixture f;
        f.host.metrics.workAreaRight = 400;
        f.host.metrics.workAreaBottom = 400;
        f.ShowImage(4096, 4096);
        f.program.shell.view.zoom = c.zoom;
        FitWindowToImage(f.program, f.host, {0, 0, 100000, 100000});
        ScrollByKey(f.program, f.host, command::kRight);
        EXPECT_EQ(f.program.shell.view.horizontalOffset, c.step) << c.zoom;
        OnScroll(f.program, f.host, ScrollBarKind::Vertical, ScrollCode::LineDown, 0);
        EXPECT_EQ(f.program.shell.view.verticalOffset, c.step) << c.zoom;
        EXPECT_EQ(f.host.scrollBars[static_cast<int>(ScrollBarKind::Vertical)].position, c.step);
    }
}

TEST(Scrolling, PagesAndEdges) {
    AppFixture f;
    f.ShowImage(300, 400);
    ViewState& v = f.program.shell.view;
    v.visibleImageHeight = 40;
    v.maxVerticalOffset = 360;
    v.verticalOffset = 3;
    OnScroll(f.program, f.host, ScrollBarKind::Vertical, ScrollCode::PageUp, 0);
    EXPECT_EQ(v.verticalOffset, 0);

    v.verticalOffset = 3;
    ScrollByKey(f.program, f.host, command::kPageUp);
    EXPECT_EQ(v.verticalOffset, 0);

    struct Case {
        ScrollCode code;
        int from, thumb, to;
        bool invalidates;
    } cases[] = {
        {ScrollCode::LineUp, 0, 0, 0, false},       // already at the edge
        {ScrollCode::LineDown, 360, 0, 360, false},
        {ScrollCode::PageDown, 355, 0, 360, true},
        {ScrollCode::PageDown, 100, 0, 110, true},
        {ScrollCode::ThumbPosition, 0, 500, 360, true},
        {ScrollCode::ThumbPosition, 10, -4, 0, true},
        {ScrollCode::ThumbTrack, 10, 200, 10, false},  // the view does not follow the drag
    };
    for (const Case& c : cases) {
        v.verticalOffset = c.from;
        const int before = f.host.fullInvalidations;
        OnScroll(f.program, f.host, ScrollBarKind::Vertical, c.code, c.thumb);
        EXPECT_EQ(v.verticalOffset, c.to) << c.from;
        EXPECT_EQ(f.host.fullInvalidations > before, c.invalidates) << c.from;
    }

    struct KeyCase {
        int id;
        int from, to;
    } keys[] = {
        {command::kCtrlPageDown, 7, 360}, {command::kCtrlPageUp, 7, 0}, {command::kDown, 360, 360},
        {command::kUp, 0, 0},             {command::kPageDown, 352, 360},
    };
    for (const KeyCase& k : keys) {
        v.verticalOffset = k.from;
        ScrollByKey(f.program, f.host, k.id);
        EXPECT_EQ(v.verticalOffset, k.to) << k.id;
    }
}

}  // namespace
}  // namespace corvane
