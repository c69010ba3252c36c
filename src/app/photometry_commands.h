#pragma once
// The shell's side of the photometry run and the output files: "Do!", "Output Files...",
// and the clicks of a run in `Photometry` mode.

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// The run of "Do!", once the shell has checked its conditions, set the view to 1:1 and
// the mode to `Photometry`: the flags cleared, the span tables built, "Input Ref. Star".
void BeginPhotometryRun(Program& program, Host& host);

// A click at image pixel (column, row) in `Photometry` mode, after the mouse handling's
// beep. When the run ends the mode returns to `None` and the window is repainted at once.
// Returns false when the mode is not `Photometry` (the click is not ours).
bool PhotometryRunClick(Program& program, Host& host, int column, int row);

// "Output Files...": ignored without an image; the output files count as chosen once the
// dialog ends with success.
void OutputFilesCommand(Program& program, Host& host);

}  // namespace corvane
