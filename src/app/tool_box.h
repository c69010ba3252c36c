#pragma once
// The tool box: seven picture buttons that repeat Next, Reload, Histogram, Hi-pass, Zoom,
// Squeeze and Do!, sending the menu's own command ids.

#include <array>
#include <functional>

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

struct ToolButton {
    int id;              // control id
    int left;            // client pixels from the left edge
    const char* normal;  // picture names
    const char* pressed;
    int command;         // command id sent to the main window
};

inline constexpr int kToolButtonSize = 24;  // pixels, both ways
inline constexpr std::array<ToolButton, 7> kToolButtons{{
    {1143, 0, "nextup", "nextdwn", 108},
    {1144, 24, "reloadup", "reloadwn", 120},
    {1147, 48, "histup", "histdwn", 106},
    {1146, 72, "prismup", "prismdwn", 128},
    {1148, 96, "zoominup", "zoomindw", 101},
    {1149, 120, "zoomotup", "zoomotdw", 102},
    {1145, 144, "doup", "dodwn", 116},
}};
inline constexpr int kToolBoxClientWidth = 7 * kToolButtonSize;

// The command a press of button `buttonId` sends, or 0 when the press does nothing: while
// a mouse mode waits for its click, for ids that are no tool-box button, and for Zoom and
// Squeeze once the image has been closed (the tool box outlives the image; there is
// nothing to zoom then).
int ToolBoxCommand(const Program& program, int buttonId);

// A press of button `buttonId`: its command goes to `runCommand` (the main window's
// dispatcher) unless ToolBoxCommand says no. True when the close-up window, if open, must
// repaint afterwards: whenever an image is shown.
bool PressToolButton(Program& program, int buttonId, const std::function<void(int)>& runCommand);

// The tool box has been closed: photometry marks go from the image at once.
void OnToolBoxClosed(Program& program, Host& host);

}  // namespace corvane
