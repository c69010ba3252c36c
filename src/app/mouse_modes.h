#pragma once
// The main window's mouse: the pixel readout, the mode a command set and its clicks, cancel
// and freeze, and the refusals on the frame while a mode waits for its click.

#include <string>
#include <string_view>

#include "app/analysis_commands.h"
#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// Starts a mode with its prompt; the cursor follows on the next mouse move.
void SetMouseMode(Program& program, Host& host, MouseMode mode, std::string_view prompt);

// The prompt pane's idle text back in place.
void RestorePrompt(Program& program, Host& host);

// The cursor for the next click of the current mode.
CursorShape CursorFor(const Program& program);

// " (%d, %d)  %d" for the pixel under client point (x, y); empty outside the image area.
std::string ReadoutText(const Program& program, int x, int y);

// x and y are client pixels; values outside 0 … 65535 wrap as the window system's 16 bits do.
void OnMouseMove(Program& program, Host& host, int x, int y);
void OnLeftButtonDown(Program& program, Host& host, int x, int y);
// Right button (at the click) or Escape (at the pointer): cancel a mode, or freeze.
void OnCancel(Program& program, Host& host, int x, int y);

// The pointer went over a child window (scroll bar, status bar, corner box).
void OnPointerOverChild(Program& program, Host& host);
// The pointer went over the frame, caption or menu bar.
void OnNonClientMove(Program& program, Host& host);

enum class NonClientArea { Caption, Border, MenuBar, SystemMenu, CaptionButton };
// False refuses the click (with the exclamation beep): only caption and borders keep
// working while a mode waits for its click.
bool AllowNonClientClick(Program& program, Host& host, NonClientArea area);
bool AllowNonClientDoubleClick(Program& program, Host& host);

// What retouching and filtering need from the display and the window.
AnalysisDisplay MakeAnalysisDisplay(Program& program, Host& host);

// After keyboard scrolling: repaint, and readout and close-up for the last mouse position.
void RefreshView(Program& program, Host& host);

}  // namespace corvane
