#pragma once
// The shell's side of the photometry run and the output files: "Output Files..." and the
// clicks of a run in `Photometry` mode ("Do!" itself starts in the command dispatcher).

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// A click at image pixel (column, row) in `Photometry` mode, after the mouse handling's
// beep. When the run ends the mode returns to `None` and the window is repainted at once.
// Returns false when the mode is not `Photometry` (the click is not ours).
bool PhotometryRunClick(Program& program, Host& host, int column, int row);

// "Output Files...": ignored without an image; the output files count as chosen once the
// dialog ends with success.
void OutputFilesCommand(Program& program, Host& host);

// "Lightcurve..." is available once output files are chosen or list files were opened in
// the window.
bool LightcurveAvailable(const Program& program);

// "Lightcurve...": when available, the window opens on the current list file.
void LightcurveCommand(Program& program);

// The window reports list files the user opened in it: the command stays available.
void NoteLightcurveListFiles(Program& program, Host& host);

}  // namespace corvane
