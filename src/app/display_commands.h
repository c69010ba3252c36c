#pragma once
// The commands of the Window > Display menu, and the display rebuild after the median
// filter. Each rebuild is followed by a repaint of the whole main window.

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// Command ids of the Display menu (shared with the accelerators and the tool box).
enum class DisplayCommand : int {
    Manual = 104,
    Fshow = 105,
    Histogram = 106,
    HiPass = 128,
    Log = 129,
    LogTimes2 = 130,
    LogTimes4 = 131,
    MinMax = 132,
};

// Runs the Display menu command `commandId`. Histogram, Fshow, Min-Max and Hi-pass record
// their mode even without an image, so the next load shows it; Manual and the Log
// commands need an image. False when `commandId` is not a Display menu command.
bool RunDisplayModeCommand(Program& program, Host& host, int commandId);

// After the median filter: the linear display with the limits as they stand, whatever
// the mode, which stays as it is.
void RedisplayAfterMedianFilter(Program& program, Host& host);

}  // namespace corvane
