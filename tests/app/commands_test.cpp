#include "app/commands.h"

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "app/command_ids.h"
#include "app/window_layout.h"
#include "display/display_state.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::AppFixture;
namespace cmd = command;

// The commands that start a mouse mode: their conditions and prompts.
TEST(Commands, MouseModeCommandsCheckTheirConditions) {
    struct Case {
        int id;
        MouseMode mode;
        const char* prompt;
        bool needsOneToOne;
    } cases[] = {
        {cmd::kEditPixel, MouseMode::EditPixel, "Click on pixel to change", false},
        {cmd::kCleanRoi, MouseMode::CleanRoi, "Select region to clean", true},
        {cmd::kSetRoi, MouseMode::SetRoi, "Select Region of Interest", false},
        {cmd::kPatch, MouseMode::Patch, "Click on source box", true},
        {cmd::kPsf, MouseMode::PsfSource, "Select Source", false},
        {cmd::kInitStarList, MouseMode::InitStarList, "Input Ref. Star", false},
    };
    for (const Case& c : cases) {
        AppFixture empty;
        EXPECT_TRUE(OnCommand(empty.program, empty.host, c.id));
        EXPECT_EQ(empty.program.shell.mouseMode, MouseMode::None) << c.id;
        EXPECT_TRUE(empty.host.paneHistory[1].empty()) << c.id;

        AppFixture magnified;
        magnified.ShowImage(300, 200);
        magnified.program.shell.view.zoom = 16;
        OnCommand(magnified.program, magnified.host, c.id);
        const bool started = !c.needsOneToOne;
        EXPECT_EQ(magnified.program.shell.mouseMode != MouseMode::None, started) << c.id;

        AppFixture shown;
        shown.ShowImage(300, 200);
        // A mode replaces whatever mode was waiting.
        shown.program.shell.mouseMode = MouseMode::SetRoi;
        OnCommand(shown.program, shown.host, c.id);
        EXPECT_EQ(shown.program.shell.mouseMode, c.mode) << c.id;
        EXPECT_EQ(shown.host.panes[1], c.prompt) << c.id;
    }
}

// Commands that need an image: nothing is shown, run or redrawn without one; with one
// they show their result, run their dialog or redraw.
TEST(Commands, ImageCommandsDoNothingWithoutAnImage) {
    struct Case {
        int id;
        const char* name;
    } cases[] = {
        {cmd::kManual, "Manual"},        {cmd::kStats, "Stats"},
        {cmd::kMaxMin, "Max Min"},       {cmd::kGlobalMaxMin, "Global Max Min"},
        {cmd::kParameters, "Parameters"}, {cmd::kLog, "Log."},
        {cmd::kLog2, "Log. x 2"},        {cmd::kLog4, "Log. x 4"},
        {cmd::kMedianFilter, "Median"},  {cmd::kClose, "Close"},
        {cmd::kHeader, "Header"},
    };
    auto activity = [](const test::FakeHost& h) {
        return h.messages.size() + static_cast<std::size_t>(h.progressBegins) +
               static_cast<std::size_t>(h.fullInvalidations) +
               static_cast<std::size_t>(h.manualLevelsRuns) + h.paramsDialogOpenings.size() +
               h.headerDialogs.size() +
               h.windowSizes.size();
    };
    for (const Case& c : cases) {
        AppFixture empty;
        OnCommand(empty.program, empty.host, c.id);
        EXPECT_EQ(activity(empty.host), 0u) << c.name;
        EXPECT_EQ(empty.program.display.mode, kModeHistogram) << c.name;

        AppFixture shown;
        shown.ShowImage(300, 200);
        OnCommand(shown.program, shown.host, c.id);
        EXPECT_GT(activity(shown.host), 0u) << c.name;
    }
}

TEST(Commands, InitializeStarListGoesToOneToOneAndHidesOverlays) {
    AppFixture f;
    f.ShowImage(300, 200);
    f.program.shell.view.zoom = 32;
    f.program.shell.view.horizontalOffset = 40;
    f.program.shell.overlaysShown = true;
    OnCommand(f.program, f.host, cmd::kInitStarList);
    EXPECT_EQ(f.program.shell.view.zoom, 8);
    EXPECT_EQ(f.program.shell.view.horizontalOffset, 0);
    EXPECT_FALSE(f.program.shell.overlaysShown);
    EXPECT_EQ(f.host.windowSizes.back(), std::make_pair(328, 287));
}

TEST(Commands, RunCommandsWarnUntilTheStarListIsComplete) {
    for (int id : {cmd::kDo, cmd::kAddStar}) {
        AppFixture f;
        OnCommand(f.program, f.host, id);
        EXPECT_TRUE(f.host.messages.empty()) << "no image: " << id;

        f.ShowImage(300, 200);
        f.program.shell.mouseMode = MouseMode::SetRoi;
        OnCommand(f.program, f.host, id);
        EXPECT_TRUE(f.host.messages.empty()) << "mode active: " << id;

        f.program.shell.mouseMode = MouseMode::None;
        OnCommand(f.program, f.host, id);
        ASSERT_EQ(f.host.MessageLines().size(), 1u);
        EXPECT_EQ(f.host.MessageLines()[0], "MSG 28: Please complete initialization");
        EXPECT_EQ(f.host.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(f.program.shell.mouseMode, MouseMode::None);
    }
    AppFixture f;  // Select stars needs no image
    OnCommand(f.program, f.host, cmd::kSelectStars);
    EXPECT_EQ(f.host.MessageLines(),
              std::vector<std::string>{"MSG 28: Please complete initialization"});
}

TEST(Commands, KeyScrollingNeedsAnImage) {
    AppFixture f;
    for (int id = cmd::kPageUp; id <= cmd::kCtrlHome; ++id) {
        EXPECT_TRUE(OnCommand(f.program, f.host, id));
    }
    EXPECT_EQ(f.host.fullInvalidations, 0);
    f.host.metrics.workAreaRight = 200;
    f.host.metrics.workAreaBottom = 200;
    f.ShowImage(1000, 1000);
    FitWindowToImage(f.program, f.host, {0, 0, 5000, 5000});
    OnCommand(f.program, f.host, cmd::kDown);
    EXPECT_EQ(f.program.shell.view.verticalOffset, 1);
    OnCommand(f.program, f.host, cmd::kEnd);
    EXPECT_EQ(f.program.shell.view.horizontalOffset, 172 / 4);
}

TEST(Commands, SmallRoiTogglesSizesCursorOutlineAndCheck) {
    AppFixture f;
    OnCommand(f.program, f.host, cmd::kSmallRoi);
    EXPECT_EQ(f.program.roi.width, 16);
    EXPECT_EQ(f.program.roi.height, 16);
    EXPECT_EQ(f.program.roi.side, 16);
    EXPECT_EQ(f.program.shell.boxCursor, CursorShape::SmallBox);
    EXPECT_EQ(f.program.shell.boxOutline[2].dx, -8);
    EXPECT_TRUE(f.host.menu.smallRoiChecked);
    OnCommand(f.program, f.host, cmd::kSmallRoi);
    EXPECT_EQ(f.program.roi.side, 32);
    EXPECT_EQ(f.program.shell.boxCursor, CursorShape::LargeBox);
    EXPECT_EQ(f.program.shell.boxOutline[2].dx, -16);
    EXPECT_FALSE(f.host.menu.smallRoiChecked);
}

TEST(Commands, WindowAndProgramCommands) {
    AppFixture f;
    OnCommand(f.program, f.host, cmd::kAbout);
    EXPECT_EQ(f.host.aboutTexts, std::vector<std::string>{"Version 2.45 dev."});
    OnCommand(f.program, f.host, cmd::kRedraw);
    EXPECT_EQ(f.host.fullInvalidations, 1);
    OnCommand(f.program, f.host, cmd::kExit);
    EXPECT_EQ(f.host.closeRequests, 1);
    // Zoom, Squeeze and Resize without an image leave the empty window alone.
    for (int id : {cmd::kZoom, cmd::kSqueeze, cmd::kResize}) {
        OnCommand(f.program, f.host, id);
    }
    EXPECT_TRUE(f.host.windowSizes.empty());
    EXPECT_EQ(f.program.shell.view.zoom, 8);
    EXPECT_FALSE(OnCommand(f.program, f.host, 109));
    EXPECT_FALSE(OnCommand(f.program, f.host, 40007));
}

TEST(Commands, OpenFilterHasFourEntries) {
    const std::vector<OpenFileFilter> filters = ParseOpenFilter(kOpenFilterText);
    ASSERT_EQ(filters.size(), 4u);
    EXPECT_EQ(filters[0].name, "Corvane Files (*.DAT;*.CAL;*.ABS;*.AFL)");
    EXPECT_EQ(filters[0].patterns, "*.dat;*.cal;*.abs;*.afl");
    EXPECT_EQ(filters[1].name, "FITS Files (*.FTS;*.FIT;*.FITS;*.MT)");
    EXPECT_EQ(filters[1].patterns, "*.fts;*.fit;*.fits;*.mt");
    EXPECT_EQ(filters[2].name, "RAW - Raw File Format");
    EXPECT_EQ(filters[3].name, "All Files");
    EXPECT_EQ(filters[3].patterns, "*.*");
}

TEST(Commands, FilterPresetFromTheFormat) {
    struct Case {
        int format, filter;
    } cases[] = {{kFormatHk, 1}, {kFormatPc, 1}, {kFormatFits, 2}, {kFormatRaw, 3},
                 {kFormatSt6, 4}, {kFormatSt6Compressed, 4}, {kFormatTiffLittle, 4},
                 {kFormatTiffBig, 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(FilterIndexForFormat(c.format), c.filter) << c.format;
    }
}

TEST(Commands, CloseGuardRefusesDuringAnAcquisitionSession) {
    AppFixture f;
    f.program.shell.acquisitionSession = true;
    f.program.shell.toolBoxOpen = true;
    EXPECT_FALSE(OnCloseRequest(f.program, f.host));
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.MessageLines()[0],
              "Corvane: There is an open acquisition session. Please close it first.");
    EXPECT_EQ(f.host.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(f.host.closedModeless.empty());

    f.program.shell.acquisitionSession = false;
    f.program.shell.closeUpOpen = true;
    EXPECT_TRUE(OnCloseRequest(f.program, f.host));
    EXPECT_EQ(f.host.closedModeless,
              (std::vector<ModelessWindow>{ModelessWindow::ToolBox, ModelessWindow::CloseUp}));
}

}  // namespace
}  // namespace corvane
