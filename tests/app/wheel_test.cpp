// The mouse wheel: zoom steps about the pointer with Ctrl, arrow-key steps without, smooth
// wheels adding up to notches, and a view left alone while a 1:1 mode waits.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "app/wheel.h"
#include "app/window_layout.h"

namespace corvane {
namespace {

// A 2048-pixel square image in a 400 × 300 work area, so that every zoom from 1:4 up
// shows only a part of it.
struct Wheel : test::AppFixture {
    explicit Wheel(int zoom) {
        host.metrics.workAreaRight = 400;
        host.metrics.workAreaBottom = 300;
        ShowImage(2048, 2048);
        program.shell.view.zoom = zoom;
        FitWindowToImage(program, host, LoadFitRectangle(program, host.metrics));
    }
    void Turn(WheelTurn turn) { OnWheel(program, host, turn); }
    const ViewState& View() const { return program.shell.view; }
};

// The pixel under the pointer is checked through the real window (WindowInput).
TEST(MouseWheel, ZoomStopsAtTheZoomStepsAndNotInAOneToOneMode) {
    Wheel f(kMaxZoom);
    f.Turn({WheelTarget::Image, kWheelNotch, 0, false, true, 10, 10});
    EXPECT_EQ(f.View().zoom, kMaxZoom);
    f.Turn({WheelTarget::Image, -3 * kWheelNotch, 0, false, true, 10, 10});
    EXPECT_EQ(f.View().zoom, kMaxZoom / 8) << "three notches, three steps";

    // A notch in and one back: the window and the view as they were, although 2:1 snaps
    // the odd visible height to whole display pixels.
    Wheel back(8);
    const ViewState before = back.View();
    ASSERT_EQ(before.visibleHeight % 2, 1);
    back.Turn({WheelTarget::Image, kWheelNotch, 0, false, true, 100, 100});
    back.Turn({WheelTarget::Image, -kWheelNotch, 0, false, true, 100, 100});
    EXPECT_EQ(back.View().visibleWidth, before.visibleWidth);
    EXPECT_EQ(back.View().visibleHeight, before.visibleHeight);
    EXPECT_EQ(back.View().horizontalOffset, before.horizontalOffset);
    EXPECT_EQ(back.View().verticalOffset, before.verticalOffset);

    Wheel smallest(SmallestZoom(2048));
    smallest.Turn({WheelTarget::Image, -kWheelNotch, 0, false, true, 10, 10});
    EXPECT_EQ(smallest.View().zoom, 1);

    for (MouseMode mode : {MouseMode::Photometry, MouseMode::InitStarList, MouseMode::Patch}) {
        Wheel m(8);
        m.program.shell.mouseMode = mode;
        m.program.shell.view.verticalOffset = 40;
        m.Turn({WheelTarget::Image, kWheelNotch, 0, false, true, 10, 10});
        m.Turn({WheelTarget::Image, kWheelNotch, 0, false, false, 10, 10});
        m.Turn({WheelTarget::VerticalBar, kWheelNotch, 0, false, false, 0, 0});
        EXPECT_EQ(m.View().zoom, 8);
        EXPECT_EQ(m.View().verticalOffset, 40);
    }
    Wheel roi(8);
    roi.program.shell.mouseMode = MouseMode::SetRoi;
    roi.Turn({WheelTarget::Image, kWheelNotch, 0, false, true, 10, 10});
    EXPECT_EQ(roi.View().zoom, 16) << "Set ROI does not need 1:1";
}

TEST(MouseWheel, ScrollsByArrowStepsPerLineAlongTheWheelOrTheBar) {
    // At 1:2 an arrow step is 2 image pixels; a notch is three lines.
    struct Case {
        const char* what;
        WheelTurn turn;
        int right;  // image pixels the view moved right, and down
        int down;
    } cases[] = {
        {"toward the user: down", {WheelTarget::Image, -kWheelNotch, 0, false, false, 0, 0}, 0, 6},
        {"away: up", {WheelTarget::Image, kWheelNotch, 0, false, false, 0, 0}, 0, -6},
        {"Shift: right", {WheelTarget::Image, -kWheelNotch, 0, true, false, 0, 0}, 6, 0},
        {"over the horizontal bar",
         {WheelTarget::HorizontalBar, -2 * kWheelNotch, 0, false, false, 0, 0},
         12,
         0},
        {"over the vertical bar, Ctrl does not zoom",
         {WheelTarget::VerticalBar, -kWheelNotch, 0, false, true, 0, 0},
         0,
         6},
        {"a tilting wheel to the left",
         {WheelTarget::Image, 0, kWheelNotch, false, false, 0, 0},
         -6,
         0},
        {"a smooth wheel's part notch waits",
         {WheelTarget::Image, -90, 0, false, false, 0, 0},
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Wheel f(4);
        ViewState& view = f.program.shell.view;
        view.horizontalOffset = 100;
        view.verticalOffset = 100;
        f.Turn(c.turn);
        EXPECT_EQ(view.zoom, 4);
        EXPECT_EQ(view.horizontalOffset, 100 + c.right);
        EXPECT_EQ(view.verticalOffset, 100 + c.down);
        if (c.right != 0 || c.down != 0) {  // the bar that moved shows where the view is
            const bool across = c.right != 0;
            const auto bar =
                static_cast<int>(across ? ScrollBarKind::Horizontal : ScrollBarKind::Vertical);
            EXPECT_EQ(f.host.scrollBars[bar].position,
                      across ? view.horizontalOffset : view.verticalOffset);
        }
    }

    // Four quarter notches make one; turning back cancels what waits.
    Wheel f(4);
    for (int i = 0; i < 4; ++i) {
        f.Turn({WheelTarget::Image, -30, 0, false, false, 0, 0});
    }
    EXPECT_EQ(f.View().verticalOffset, 6);
    f.Turn({WheelTarget::Image, -60, 0, false, false, 0, 0});
    f.Turn({WheelTarget::Image, 60, 0, false, false, 0, 0});
    f.Turn({WheelTarget::Image, -60, 0, false, false, 0, 0});
    EXPECT_EQ(f.View().verticalOffset, 6);
    // At the top edge turning away does nothing; the bottom edge is not passed.
    f.Turn({WheelTarget::Image, 8 * kWheelNotch, 0, false, false, 0, 0});
    EXPECT_EQ(f.View().verticalOffset, 0);
    f.Turn({WheelTarget::Image, -1000 * kWheelNotch, 0, false, false, 0, 0});
    EXPECT_EQ(f.View().verticalOffset, f.View().maxVerticalOffset);
}

}  // namespace
}  // namespace corvane
