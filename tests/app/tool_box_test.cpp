// What the tool-box buttons send, and what closing the tool box does to the image.

#include <gtest/gtest.h>

#include <vector>

#include "app/tool_box.h"
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

TEST(ToolBox, APressRunsItsCommandAndAsksForTheCloseUp) {
    Program program;
    program.image.loaded = true;
    std::vector<int> run;
    const auto record = [&run](int id) { run.push_back(id); };
    EXPECT_TRUE(PressToolButton(program, 1148, record));
    program.shell.mouseMode = MouseMode::SetRoi;
    EXPECT_TRUE(PressToolButton(program, 1148, record)) << "the close-up repaints all the same";
    program.shell.mouseMode = MouseMode::None;
    program.image.loaded = false;
    EXPECT_FALSE(PressToolButton(program, 1147, record));
    EXPECT_EQ(run, (std::vector<int>{101, 106}));
}

TEST(ToolBox, ClosingTakesTheOverlaysAway) {
    for (bool shown : {true, false}) {
        Program program;
        FakeHost host;
        host.cursor = CursorShape::Circle;
        program.shell.overlaysShown = shown;
        OnToolBoxClosed(program, host);
        EXPECT_FALSE(program.shell.overlaysShown);
        EXPECT_EQ(host.fullInvalidations, shown ? 1 : 0);
        EXPECT_EQ(host.cursor, CursorShape::Arrow);
    }
}

}  // namespace
}  // namespace corvane::test
