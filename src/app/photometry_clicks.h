#pragma once
// The shell's side of the star-list commands and click sequences: conditions, the mouse
// mode, and the parts of the window state the photometry model does not see.

#include "app/program.h"
#include "photometry/star_input.h"
#include "platform/host.h"

namespace corvane {

// The sequence inputs drawn from the program: its records, the box side of the region
// box, the idle prompt; marks entered are drawn by repainting the window.
StarInput MakeStarInput(Program& program, Host& host);

// "Initialize star list": ignored without an image; starts over from any mode.
void InitializeStarListCommand(Program& program, Host& host);

// "Add star": ignored while a mode is active, without an image, or with 16 stars.
void AddStarCommand(Program& program, Host& host);

// A click at image pixel (column, row) in `InitStarList` or `AddStar`, after the mouse
// handling's beep. Returns false when the mode is neither (the click is not ours).
bool StarInputClick(Program& program, Host& host, int column, int row);

// The cancel gesture (Escape or right button): with any mode active, a beep, the
// sequence's cancel, and the mode back to `None`.
void CancelObjectInput(Program& program, Host& host);

// "Parameters...": ignored without an image.
void ParametersCommand(Program& program, Host& host);

// "Select stars...": needs no image.
void SelectStarsCommand(Program& program, Host& host);

}  // namespace corvane
