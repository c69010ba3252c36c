#include "app/tool_box.h"

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

bool PressToolButton(Program& program, int buttonId, const std::function<void(int)>& runCommand) {
    if (const int command = ToolBoxCommand(program, buttonId); command != 0) {
        runCommand(command);
    }
    return program.image.loaded;
}

void OnToolBoxClosed(Program& program, Host& host) {
    if (program.shell.overlaysShown) {
        program.shell.overlaysShown = false;
        host.InvalidateAll();
        host.UpdateWindow();
    }
    host.SetCursor(CursorShape::Arrow);
}

}  // namespace corvane
