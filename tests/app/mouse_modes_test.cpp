#include "app/mouse_modes.h"

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/commands.h"
#include "app/app_fixture.h"
#include "app/paint_geometry.h"
#include "app/window_layout.h"

namespace corvane {
namespace {

using test::AppFixture;

struct ShownImage : AppFixture {
    ShownImage() {
        ShowImage(300, 200);
        FitWindowToImage(program, host, LoadFitRectangle(program, host.metrics));
        program.image.bzero = 32768;
    }
    ShellState& shell() { return program.shell; }
};

TEST(Readout, PixelUnderThePointerWithTheValueOffset) {
    ShownImage f;
    f.program.shell.view.verticalOffset = 0;
    OnMouseMove(f.program, f.host, 12, 7);
    // Stored value 12 + 1000 × 7, shown with bzero added.
    EXPECT_EQ(f.host.panes[0], " (12, 7)  " + std::to_string(7012 + 32768));
    EXPECT_EQ(f.host.cursor, CursorShape::Cross);

    // Right of or below the image area the readout is empty.
    OnMouseMove(f.program, f.host, 300, 7);
    EXPECT_EQ(f.host.panes[0], "");
    OnMouseMove(f.program, f.host, 5, 200);
    EXPECT_EQ(f.host.panes[0], "");
    // A pointer dragged left of the client arrives as a large unsigned value.
    OnMouseMove(f.program, f.host, -1, 5);
    EXPECT_EQ(f.host.panes[0], "");
}

TEST(Readout, ColumnFollowsTheZoom) {
    struct Case {
        int zoom;
        int x0, x1;
        int column0, column1;
    } cases[] = {{16, 10, 11, 5, 5}, {4, 10, 11, 20, 22}, {8, 10, 11, 10, 11}};
    for (const Case& c : cases) {
        ShownImage f;
        f.program.shell.view.zoom = c.zoom;
        f.program.shell.view.visibleWidth = 1000;
        f.program.shell.view.visibleHeight = 1000;
        EXPECT_EQ(ClientToImage(f.program.shell.view, c.x0, 0).column, c.column0);
        EXPECT_EQ(ClientToImage(f.program.shell.view, c.x1, 0).column, c.column1);
        OnMouseMove(f.program, f.host, c.x1, 0);
        EXPECT_EQ(f.host.panes[0].rfind(" (" + std::to_string(c.column1) + ", 0)", 0), 0u)
            << f.host.panes[0];
    }
}

TEST(MouseModes, CursorPerMode) {
    struct Case {
        MouseMode mode;
        bool smallRoi;
        CursorShape cursor;
    } cases[] = {
        {MouseMode::None, false, CursorShape::Cross},
        {MouseMode::EditPixel, false, CursorShape::Cross},
        {MouseMode::SetRoi, false, CursorShape::LargeBox},
        {MouseMode::SetRoi, true, CursorShape::SmallBox},
        {MouseMode::Patch, false, CursorShape::LargeBox},
        {MouseMode::CleanRoi, true, CursorShape::SmallBox},
        {MouseMode::PsfSource, false, CursorShape::LargeBox},
        {MouseMode::PsfBackground, false, CursorShape::LargeBox},
        {MouseMode::InitStarList, false, CursorShape::Circle},  // the reference star comes first
    };
    for (const Case& c : cases) {
        ShownImage f;
        if (c.smallRoi) OnCommand(f.program, f.host, command::kSmallRoi);
        f.shell().mouseMode = c.mode;
        OnMouseMove(f.program, f.host, 3, 3);
        EXPECT_EQ(f.host.cursor, c.cursor) << static_cast<int>(c.mode);
    }
}

TEST(MouseModes, SetRoiClickStoresThePointAndDrawsNothing) {
    ShownImage f;
    f.program.shell.view.zoom = 16;
    f.program.shell.view.horizontalOffset = 30;
    OnCommand(f.program, f.host, command::kSetRoi);
    EXPECT_EQ(f.host.panes[1], "Select Region of Interest");
    const int invalidations = f.host.fullInvalidations;
    OnLeftButtonDown(f.program, f.host, 21, 9);
    EXPECT_EQ(f.shell().mouseMode, MouseMode::None);
    EXPECT_EQ(f.program.roi.xc, 40);
    EXPECT_EQ(f.program.roi.yc, 4);
    EXPECT_EQ(f.host.cursor, CursorShape::Cross);
    EXPECT_EQ(f.host.panes[1], "");
    EXPECT_EQ(f.host.beeps, std::vector<BeepKind>{BeepKind::Default});
    EXPECT_EQ(f.host.fullInvalidations, invalidations);
    EXPECT_TRUE(f.host.messages.empty());
}

TEST(MouseModes, CancelBeepsAndLeavesTheRegion) {
    ShownImage f;
    const int xc = f.program.roi.xc;
    for (MouseMode mode : {MouseMode::SetRoi, MouseMode::PsfSource, MouseMode::Patch}) {
        f.host.beeps.clear();
        f.shell().mouseMode = mode;
        f.shell().overlaysShown = true;
        const int invalidations = f.host.fullInvalidations;
        OnCancel(f.program, f.host, 7, 7);
        EXPECT_EQ(f.shell().mouseMode, MouseMode::None);
        EXPECT_EQ(f.host.beeps, std::vector<BeepKind>{BeepKind::Question});
        EXPECT_FALSE(f.shell().overlaysShown);
        EXPECT_EQ(f.host.fullInvalidations, invalidations + 1);
        EXPECT_EQ(f.host.cursor, CursorShape::Cross);
        EXPECT_EQ(f.program.roi.xc, xc);
    }
}

TEST(MouseModes, CancelWithoutModeOrCloseUpOnlyRestoresAndRedraws) {
    ShownImage f;
    f.host.SetPaneText(Pane::Prompt, "something");
    const int invalidations = f.host.fullInvalidations;
    OnCancel(f.program, f.host, 1, 1);
    EXPECT_TRUE(f.host.beeps.empty());
    EXPECT_FALSE(f.shell().frozen);
    EXPECT_EQ(f.host.panes[1], "");
    EXPECT_EQ(f.host.fullInvalidations, invalidations + 1);
}

// Patch and PSF take two clicks: the first keeps a point and asks for the second, which
// ends the mode and moves the region there.
TEST(MouseModes, TwoClickModes) {
    struct Case {
        int id;
        const char* firstPrompt;
        MouseMode waiting;
        const char* secondPrompt;
    } cases[] = {
        {command::kPsf, "Select Source", MouseMode::PsfBackground, "Select Background"},
        {command::kPatch, "Click on source box", MouseMode::Patch, "Set Destination Box"},
    };
    for (const Case& c : cases) {
        ShownImage f;
        OnCommand(f.program, f.host, c.id);
        EXPECT_EQ(f.host.panes[1], c.firstPrompt);
        OnLeftButtonDown(f.program, f.host, 50, 60);
        EXPECT_EQ(f.shell().mouseMode, c.waiting) << c.id;
        EXPECT_EQ(f.host.panes[1], c.secondPrompt);
        OnLeftButtonDown(f.program, f.host, 100, 80);
        EXPECT_EQ(f.shell().mouseMode, MouseMode::None) << c.id;
        EXPECT_EQ(f.host.panes[1], "");
        EXPECT_EQ(f.program.roi.xc, 100) << c.id;
        EXPECT_EQ(f.program.roi.yc, 80) << c.id;
        EXPECT_EQ(f.host.beeps, std::vector<BeepKind>(2, BeepKind::Default)) << c.id;
    }
}

TEST(MouseModes, FreezeStopsReadoutAndCloseUpUntilTheSecondCancel) {
    ShownImage f;
    f.shell().closeUpOpen = true;
    OnMouseMove(f.program, f.host, 10, 10);
    EXPECT_EQ(f.host.closeUpPointers.size(), 1u);

    OnCancel(f.program, f.host, 10, 10);
    EXPECT_TRUE(f.shell().frozen);
    EXPECT_EQ(f.host.closeUpTitle, "FROZEN!");
    EXPECT_TRUE(f.host.beeps.empty());
    OnMouseMove(f.program, f.host, 20, 20);
    EXPECT_EQ(f.host.panes[0].rfind(" (10, 10)", 0), 0u);
    EXPECT_EQ(f.host.closeUpPointers.size(), 1u);
    // Frozen: the frame and the children no longer empty the readout.
    OnNonClientMove(f.program, f.host);
    OnPointerOverChild(f.program, f.host);
    EXPECT_FALSE(f.host.panes[0].empty());

    OnCancel(f.program, f.host, 30, 40);
    EXPECT_FALSE(f.shell().frozen);
    EXPECT_EQ(f.host.closeUpTitle, "");
    EXPECT_EQ(f.host.panes[0].rfind(" (30, 40)", 0), 0u);
    EXPECT_EQ(f.host.closeUpPointers.back(), std::make_pair(30, 40));
    OnNonClientMove(f.program, f.host);
    EXPECT_EQ(f.host.panes[0], "");
}

TEST(MouseModes, FrozenReadoutStillFollowsAMode) {
    ShownImage f;
    f.shell().closeUpOpen = true;
    OnCancel(f.program, f.host, 1, 1);
    ASSERT_TRUE(f.shell().frozen);
    f.shell().mouseMode = MouseMode::SetRoi;
    OnMouseMove(f.program, f.host, 5, 6);
    EXPECT_EQ(f.host.panes[0].rfind(" (5, 6)", 0), 0u);
    EXPECT_EQ(f.host.closeUpPointers.size(), 0u);
}

TEST(MouseModes, FrameClicksRefusedWhileAModeWaits) {
    struct Case {
        NonClientArea area;
        bool allowedInMode;
    } cases[] = {{NonClientArea::Caption, true},
                 {NonClientArea::Border, true},
                 {NonClientArea::MenuBar, false},
                 {NonClientArea::SystemMenu, false},
                 {NonClientArea::CaptionButton, false}};
    for (const Case& c : cases) {
        ShownImage f;
        EXPECT_TRUE(AllowNonClientClick(f.program, f.host, c.area));
        f.shell().mouseMode = MouseMode::SetRoi;
        EXPECT_EQ(AllowNonClientClick(f.program, f.host, c.area), c.allowedInMode);
        EXPECT_EQ(f.host.beeps.empty(), c.allowedInMode);
        if (!c.allowedInMode) {
            EXPECT_EQ(f.host.beeps[0], BeepKind::Exclamation);
        }
    }
    ShownImage f;
    EXPECT_TRUE(AllowNonClientDoubleClick(f.program, f.host));
    f.shell().mouseMode = MouseMode::EditPixel;
    EXPECT_FALSE(AllowNonClientDoubleClick(f.program, f.host));
}

TEST(MouseModes, KeyboardScrollRefreshesTheReadoutAtTheLastPosition) {
    AppFixture f;
    f.host.metrics.workAreaRight = 400;
    f.host.metrics.workAreaBottom = 400;
    f.ShowImage(1000, 1000);
    FitWindowToImage(f.program, f.host, {0, 0, 10000, 10000});
    f.program.shell.closeUpOpen = true;
    OnMouseMove(f.program, f.host, 4, 5);
    OnCommand(f.program, f.host, command::kCtrlEnd);
    EXPECT_EQ(f.program.shell.view.horizontalOffset, 1000 - 372);
    EXPECT_EQ(f.host.panes[0].rfind(" (632, 5)", 0), 0u) << f.host.panes[0];
    EXPECT_EQ(f.host.closeUpPointers.size(), 2u);
}

TEST(PaintGeometry, SnapsToWholeImagePixelsAtMagnification) {
    ViewState v;
    v.zoom = 16;
    v.visibleWidth = 600;
    v.visibleHeight = 400;
    v.horizontalOffset = 7;
    v.verticalOffset = 9;
    struct Case {
        PixelRect update, destination;
    } cases[] = {
        {{3, 5, 11, 9}, {2, 4, 12, 10}},
        {{0, 0, 600, 400}, {0, 0, 600, 400}},
        {{590, 390, 700, 500}, {590, 390, 600, 400}},  // never past the image area
        {{0, 0, -5, -5}, {0, 0, 2, 2}},                // never less than one image pixel
    };
    for (const Case& c : cases) {
        const PaintGeometry g = ComputePaintGeometry(v, c.update);
        EXPECT_EQ(g.destination.left, c.destination.left);
        EXPECT_EQ(g.destination.top, c.destination.top);
        EXPECT_EQ(g.destination.right, c.destination.right);
        EXPECT_EQ(g.destination.bottom, c.destination.bottom);
        EXPECT_EQ(g.sourceX, c.destination.left / 2 + 7);
        EXPECT_EQ(g.sourceY, c.destination.top / 2 + 9);
        EXPECT_EQ(g.sourceWidth, (c.destination.right - c.destination.left) / 2);
        EXPECT_EQ(g.sourceHeight, (c.destination.bottom - c.destination.top) / 2);
    }
    // Reduced views use the rectangle as it is.
    v.zoom = 4;
    const PaintGeometry g = ComputePaintGeometry(v, {3, 5, 11, 9});
    EXPECT_EQ(g.destination.left, 3);
    EXPECT_EQ(g.sourceX, 6 + 7);
    EXPECT_EQ(g.sourceWidth, 16);
}

TEST(PaintGeometry, InvalidatePixelAreaCoversTheBlock) {
    struct Case {
        int zoom, column, row, size;
        PixelRect rect;
    } cases[] = {
        {16, 10, 20, 2, {16, 36, 24, 44}},
        {4, 10, 20, 2, {4, 9, 6, 11}},
        {8, 10, 20, 32, {-7, 3, 27, 37}},
    };
    for (const Case& c : cases) {
        ViewState v;
        v.zoom = c.zoom;
        test::FakeHost host;
        InvalidatePixelArea(v, host, c.column, c.row, c.size);
        ASSERT_EQ(host.invalidatedRects.size(), 1u);
        const PixelRect& r = host.invalidatedRects[0];
        EXPECT_EQ(r.left, c.rect.left) << c.zoom;
        EXPECT_EQ(r.top, c.rect.top) << c.zoom;
        EXPECT_EQ(r.right, c.rect.right) << c.zoom;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.zoom;
    }
}

TEST(Overlays, BoxOutlineFramesTheRegionPixels) {
    ViewState v;
    v.horizontalOffset = 5;
    v.verticalOffset = 10;
    for (int side : {32, 16}) {
        const Polyline line = BoxOutlinePolyline(v, MakeBoxOutline(side), 100, 50);
        ASSERT_EQ(line.points.size(), 5u);
        int minX = 1 << 20, maxX = -minX, minY = minX, maxY = -minX;
        for (const ImagePoint& p : line.points) {
            minX = std::min(minX, p.column);
            maxX = std::max(maxX, p.column);
            minY = std::min(minY, p.row);
            maxY = std::max(maxY, p.row);
        }
        const int g = side / 2;
        EXPECT_EQ(minX, 100 - g + 1 - 5);
        EXPECT_EQ(maxX, 100 + g - 5);
        EXPECT_EQ(minY, 50 - g - 10);
        EXPECT_EQ(maxY, 50 + g - 1 - 10);
        EXPECT_EQ(line.points.front().column, line.points.back().column);
        EXPECT_EQ(line.points.front().row, line.points.back().row);
    }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(MouseModes, EditPixelClickRepaintsTheScreenSquare) {
    ShownImage f;
    OnCommand(f.program, f.host, command::kEditPixel);
    EditPixelDialogFields typed;
    typed.value = "32868";  // true value: stored 100 with bzero 32768
    f.host.editPixelDialogScript.push_back(typed);
    OnLeftButtonDown(f.program, f.host, 10, 20);
    EXPECT_EQ(f.shell().mouseMode, MouseMode::None);
    EXPECT_EQ(StoredPixel(f.program.image, 10, 20), 100);
    ASSERT_EQ(f.host.invalidatedRects.size(), 1u);
    // Size 2 at 1:1: half = (8 × 2) / 8 = 2 around (10, 20).
    EXPECT_EQ(f.host.invalidatedRects[0].left, 8);
    EXPECT_EQ(f.host.invalidatedRects[0].top, 18);
    EXPECT_EQ(f.host.invalidatedRects[0].right, 12);
    EXPECT_EQ(f.host.invalidatedRects[0].bottom, 22);

    EXPECT_EQ(f.host.beeps.size(), 1u);
}

}  // namespace
}  // namespace corvane
