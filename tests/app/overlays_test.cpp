// The photometry marks over the image, and the mouse handling of the object-input modes.
#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "app/command_ids.h"
#include "app/commands.h"
#include "app/mouse_modes.h"
#include "app/paint_geometry.h"
#include "app/window_layout.h"

namespace corvane {
namespace {

using test::AppFixture;
namespace cmd = command;

struct Photometry : AppFixture {
    Photometry() {
        ShowImage(300, 200);
        FitWindowToImage(program, host, LoadFitRectangle(program, host.metrics));
        program.photometry.numberOfStars = 2;
        program.photometry.numberOfBoxes = 1;
        program.shell.view.horizontalOffset = 3;
        program.shell.view.verticalOffset = 4;
    }
    void Click(int x, int y) {
        OnLeftButtonDown(program, host, x, y);
        OnMouseMove(program, host, x, y);  // the cursor follows on the next move
    }
    std::size_t Lines() const { return ComputeOverlays(program).size(); }
};

TEST(Overlays, InitialisingDrawsWhatHasBeenEntered) {
    Photometry f;
    OnCommand(f.program, f.host, cmd::kInitStarList);
    OnMouseMove(f.program, f.host, 1, 1);
    EXPECT_EQ(f.host.cursor, CursorShape::Circle);
    EXPECT_EQ(f.Lines(), 0u);

    // Star 1 at client (50, 60): image pixel (53, 64).
    f.Click(50, 60);
    EXPECT_EQ(f.host.cursor, CursorShape::LargeBox);
    std::vector<Polyline> lines = ComputeOverlays(f.program);
    ASSERT_EQ(lines.size(), 1u);
    const ApertureOutline& star = f.program.photometry.star.outline;
    ASSERT_EQ(lines[0].points.size(), static_cast<std::size_t>(star.count));
    // The outline's y grows upwards; the view offsets bring the pixel back to the client.
    EXPECT_EQ(lines[0].points[0].column, 50 + star.points[0].x);
    EXPECT_EQ(lines[0].points[0].row, 60 - star.points[0].y);

    f.Click(80, 60);  // star 1's box
    EXPECT_EQ(f.host.cursor, CursorShape::Circle);
    lines = ComputeOverlays(f.program);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].points.size(), 5u);
    EXPECT_EQ(lines[1].points[1].column, 80 + 16);  // the box reaches column c + 16

    f.Click(120, 30);  // star 2
    EXPECT_EQ(f.Lines(), 3u);
    f.Click(150, 30);  // star 2's box: the list is complete and the marks go
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::None);
    EXPECT_TRUE(f.program.objects.initialised);
    EXPECT_EQ(f.Lines(), 0u);
    EXPECT_EQ(f.host.cursor, CursorShape::Cross);
    EXPECT_EQ(f.host.beeps, std::vector<BeepKind>(4, BeepKind::Default));
}

TEST(Overlays, CancellingAnInitialisationLeavesTheListToBeRepeated) {
    Photometry f;
    f.program.objects.initialised = true;
    OnCommand(f.program, f.host, cmd::kInitStarList);
    f.Click(50, 60);
    OnCancel(f.program, f.host, 50, 60);
    EXPECT_EQ(f.host.beeps.back(), BeepKind::Question);
    EXPECT_FALSE(f.program.objects.initialised);
    EXPECT_FALSE(f.program.shell.overlaysShown);
    EXPECT_EQ(f.Lines(), 0u);
    f.host.messages.clear();
    OnCommand(f.program, f.host, cmd::kDo);
    EXPECT_EQ(f.host.MessageLines(),
              std::vector<std::string>{"MSG 28: Please complete initialization"});
}

TEST(Overlays, RunCommandsStartAtOneToOne) {
    struct Case {
        int id;
        MouseMode mode;
    } cases[] = {{cmd::kDo, MouseMode::Photometry}, {cmd::kAddStar, MouseMode::AddStar}};
    for (const Case& c : cases) {
        Photometry f;
        f.program.objects.initialised = true;
        f.program.outputFilesChosen = true;
        f.program.shell.view.zoom = 16;
        OnCommand(f.program, f.host, c.id);
        EXPECT_EQ(f.program.shell.mouseMode, c.mode) << c.id;
        EXPECT_EQ(f.program.shell.view.zoom, 8) << c.id;
        EXPECT_EQ(f.program.shell.view.horizontalOffset, 0) << c.id;
        EXPECT_EQ(f.host.panes[1], "Input Ref. Star") << c.id;
        OnMouseMove(f.program, f.host, 1, 1);
        EXPECT_EQ(f.host.cursor, CursorShape::Circle) << c.id;
    }

    Photometry full;  // Add star with sixteen stars does nothing at all
    full.program.objects.initialised = true;
    full.program.outputFilesChosen = true;
    full.program.photometry.numberOfStars = 16;
    full.program.shell.view.zoom = 16;
    OnCommand(full.program, full.host, cmd::kAddStar);
    EXPECT_EQ(full.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(full.program.shell.view.zoom, 16);
    EXPECT_TRUE(full.host.messages.empty());
}

TEST(Overlays, AddingAStarShowsTheListAtTheClickedReference) {
    Photometry f;
    f.program.objects.initialised = true;
    f.program.outputFilesChosen = true;
    f.program.objects.centred = false;
    f.program.objects.starOffset[1] = {20, 0};
    OnCommand(f.program, f.host, cmd::kAddStar);
    f.Click(40, 40);  // the reference star
    // Two stars with one box each.
    EXPECT_EQ(f.Lines(), 4u);
    EXPECT_EQ(f.host.cursor, CursorShape::Circle);
    f.Click(90, 90);  // the new star
    EXPECT_EQ(f.Lines(), 5u);
    EXPECT_EQ(f.host.cursor, CursorShape::LargeBox);
    f.Click(100, 100);  // its box ends the sequence
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(f.program.photometry.numberOfStars, 3);
}

}  // namespace
}  // namespace corvane
