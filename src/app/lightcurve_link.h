#pragma once
// The program's side of the lightcurve window. The window belongs to the screen: the
// program asks it to open and tells it of every record a run appends to the list file;
// the window says when the user has opened list files in it.

#include <functional>
#include <string>

#include "photometry/photometry_run.h"

namespace corvane {

struct LightcurveLink {
    // Set by the screen: opens the window, or raises it. `listPath` is the list file the
    // runs append to, empty while no output files are chosen.
    std::function<void(const std::string& listPath)> open;
    // Set by the screen: the notification of each record written, called from the run.
    RecordWritten recordWritten;
    bool listFilesOpened = false;  // the user has opened list files in the window
};

}  // namespace corvane
