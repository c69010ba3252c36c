#pragma once
// The tool box: seven picture buttons that repeat Next, Reload, Histogram, Hi-pass, Zoom,
// Squeeze and Do!, sending the menu's own command ids.

#include <array>

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

// "Tool box" (40002): opens the window while an image is shown and none is open.
void OpenToolBox(Program& program, Host& host);

// A press of button `buttonId`: its command runs as from the menu unless ToolBoxCommand
// says no; then the close-up window repaints when it is open over a shown image.
void PressToolButton(Program& program, Host& host, int buttonId);

// The tool box has been closed: photometry marks go from the image at once.
void OnToolBoxClosed(Program& program, Host& host);

}  // namespace corvane
