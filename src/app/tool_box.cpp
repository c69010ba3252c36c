#include "app/tool_box.h"

#include "app/commands.h"

namespace corvane {

namespace {

constexpr int kZoomCommand = 101;
constexpr int kSqueezeCommand = 102;

}  // namespace

int ToolBoxCommand(const Program& program, int buttonId) {
    if (program.shell.mouseMode != MouseMode::None) {
        return 0;
    }
    for (const ToolButton& button : kToolButtons) {
        if (button.id != buttonId) {
            continue;
        }
        if ((button.command == kZoomCommand || button.command == kSqueezeCommand) &&
            !program.image.loaded) {
            return 0;
        }
        return button.command;
    }
    return 0;
}

void OpenToolBox(Program& program, Host& host) {
    if (!program.image.loaded || program.shell.toolBoxOpen) {
        return;
    }
    program.shell.toolBoxOpen = true;
    host.OpenModeless(ModelessWindow::ToolBox);
}

void PressToolButton(Program& program, Host& host, int buttonId) {
    if (const int command = ToolBoxCommand(program, buttonId); command != 0) {
        OnCommand(program, host, command);
    }
    if (program.shell.closeUpOpen && program.image.loaded) {
        host.InvalidateCloseUp();
    }
}

void OnToolBoxClosed(Program& program, Host& host) {
    program.shell.toolBoxOpen = false;
    if (program.shell.overlaysShown) {
        program.shell.overlaysShown = false;
        host.InvalidateAll();
        host.UpdateWindow();
    }
    host.SetCursor(CursorShape::Arrow);
}

}  // namespace corvane
