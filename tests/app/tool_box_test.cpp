// What the tool-box buttons send, and what closing the tool box does to the image.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_ids.h"
#include "app/commands.h"
#include "app/image_commands.h"
#include "app/mouse_modes.h"
#include "app/tool_box.h"
#include "app_fixture.h"
#include "support/fake_host.h"

namespace corvane::test {
namespace {

TEST(ToolBox, ButtonsInTheirPlaces) {
    const int ids[] = {1143, 1144, 1147, 1146, 1148, 1149, 1145};
    const int commands[] = {108, 120, 106, 128, 101, 102, 116};
    for (std::size_t i = 0; i < kToolButtons.size(); ++i) {
        EXPECT_EQ(kToolButtons[i].id, ids[i]);
        EXPECT_EQ(kToolButtons[i].left, static_cast<int>(24 * i));
        EXPECT_EQ(kToolButtons[i].command, commands[i]);
    }
}

TEST(ToolBox, WhatAPressSends) {
    struct Case {
        const char* name;
        bool image;
        MouseMode mode;
        int button;
        int command;
    };
    const Case cases[] = {
        {"Next", true, MouseMode::None, 1143, 108},
        {"Do!", true, MouseMode::None, 1145, 116},
        {"Zoom", true, MouseMode::None, 1148, 101},
        {"Squeeze", true, MouseMode::None, 1149, 102},
        {"Zoom during Set ROI", true, MouseMode::SetRoi, 1148, 0},
        {"Do! during a photometry run", true, MouseMode::Photometry, 1145, 0},
        {"Next during the profile's second click", true, MouseMode::PsfBackground, 1143, 0},
        {"Zoom after the image was closed", false, MouseMode::None, 1148, 0},
        {"Squeeze after the image was closed", false, MouseMode::None, 1149, 0},
        {"Histogram after the image was closed", false, MouseMode::None, 1147, 106},
        {"Hi-pass after the image was closed", false, MouseMode::None, 1146, 128},
        {"Reload after the image was closed", false, MouseMode::None, 1144, 120},
        {"no such button", true, MouseMode::None, 1150, 0},
        {"a command id is no button", true, MouseMode::None, 108, 0},
    };
    for (const Case& c : cases) {
        Program program;
        program.image.loaded = c.image;
        program.shell.mouseMode = c.mode;
        EXPECT_EQ(ToolBoxCommand(program, c.button), c.command) << c.name;
    }
}

TEST(ToolBox, PressesThroughTheDispatcher) {
    AppFixture f;
    f.ShowImage(640, 480);
    f.program.shell.closeUpOpen = true;

    OnCommand(f.program, f.host, command::kSetRoi);
    PressToolButton(f.program, f.host, 1148);  // Zoom
    EXPECT_EQ(f.program.shell.view.zoom, kOneToOne) << "Zoom ignored during Set ROI";
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::SetRoi);
    EXPECT_EQ(f.host.closeUpRepaints, 1) << "the close-up repaints all the same";

    OnCancel(f.program, f.host, 0, 0);
    PressToolButton(f.program, f.host, 1148);
    EXPECT_EQ(f.program.shell.view.zoom, 2 * kOneToOne);

    // Do! warns as F8 does.
    PressToolButton(f.program, f.host, 1145);
    f.program.objects.initialised = true;
    PressToolButton(f.program, f.host, 1145);
    EXPECT_EQ(f.host.MessageLines(),
              (std::vector<std::string>{"MSG 28: Please complete initialization",
                                        "MSG 28: Please open output files"}));
    EXPECT_EQ(f.program.shell.mouseMode, MouseMode::None);

    // After the image was closed, Zoom and Squeeze leave the empty window alone.
    CloseImage(f.program, f.host);
    const std::size_t sizes = f.host.windowSizes.size();
    PressToolButton(f.program, f.host, 1148);
    PressToolButton(f.program, f.host, 1149);
    EXPECT_EQ(f.host.windowSizes.size(), sizes);
    EXPECT_EQ(f.program.shell.view.zoom, kOneToOne);
}

TEST(ToolBox, OpensOncePerImage) {
    AppFixture f;
    OnCommand(f.program, f.host, command::kToolBox);
    EXPECT_TRUE(f.host.openedModeless.empty()) << "no image";
    f.ShowImage(640, 480);
    OnCommand(f.program, f.host, command::kToolBox);
    OnCommand(f.program, f.host, command::kToolBox);
    EXPECT_EQ(f.host.openedModeless, std::vector<ModelessWindow>{ModelessWindow::ToolBox});
    OnToolBoxClosed(f.program, f.host);
    OnCommand(f.program, f.host, command::kToolBox);
    EXPECT_EQ(f.host.openedModeless.size(), 2u);
}

TEST(ToolBox, ClosingTakesTheOverlaysAway) {
    for (bool shown : {true, false}) {
        Program program;
        FakeHost host;
        host.cursor = CursorShape::Circle;
        program.shell.overlaysShown = shown;
        program.shell.toolBoxOpen = true;
        OnToolBoxClosed(program, host);
        EXPECT_FALSE(program.shell.toolBoxOpen);
        EXPECT_FALSE(program.shell.overlaysShown);
        EXPECT_EQ(host.fullInvalidations, shown ? 1 : 0);
        EXPECT_EQ(host.cursor, CursorShape::Arrow);
    }
}

}  // namespace
}  // namespace corvane::test
