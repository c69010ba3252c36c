#pragma once
// The statistics, profile, filter and retouching commands and the clicks of their mouse
// modes, as the main window's dispatcher calls them. Each checks its own conditions and
// otherwise does nothing; the default beep of a click in a mouse mode is the dispatcher's.

#include <functional>

#include "analysis/retouch.h"
#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// What these commands need from the display and the window, handed in by the dispatcher.
// An empty refreshPixel counts as a refresh that succeeded; the others may be empty too.
struct AnalysisDisplay {
    PixelRefresh refreshPixel;  // RefreshDisplayPixel: one display byte after an edit
    // InvalidatePixelArea: the screen square over a size × size block around a pixel.
    std::function<void(int column, int row, int size)> invalidatePixelArea;
    std::function<void()> repaintCloseUp;  // a repaint of the close-up window while it is open
    std::function<void()> rescaleLinear;   // ScaleLinear with the current display levels
};

inline constexpr int kZoomOneToOne = 8;  // zoom in eighths

// Clean ROI and Patch start only with an image shown at 1:1.
bool RegionRetouchAllowed(const Program& program, int zoom);

// The box cursor of the region modes: "smallsq" with Small ROI, else "wsquare".
CursorShape RegionBoxCursor(const Program& program);

void RunStats(Program& program, Host& host);                 // 113
void RunMaxMin(Program& program, Host& host);                // 114
void RunGlobalMaxMin(Program& program, Host& host);          // 115
void ToggleSmallRoi(Program& program, Host& host);           // 119
void StartEditPixel(Program& program, Host& host);           // 121
void StartCleanRoi(Program& program, Host& host, int zoom);  // 122
void StartPatch(Program& program, Host& host, int zoom);     // 124
void RunBitHistogram(Program& program, Host& host);          // 127 (F2): writes "hist.out"
void StartPsf(Program& program, Host& host);                 // 40004
void RunMedianFilter(Program& program, Host& host, const AnalysisDisplay& display);  // 40005

// Left clicks, in image columns and rows, by mouse mode.
void EditPixelClick(Program& program, Host& host, const AnalysisDisplay& display, int column,
                    int row);  // EditPixel
void CleanRoiClick(Program& program, Host& host, const AnalysisDisplay& display, int column,
                   int row);  // CleanRoi
void PatchClick(Program& program, Host& host, const AnalysisDisplay& display, int column,
                int row);  // Patch: the source centre, then the destination centre
void PsfSourceClick(Program& program, Host& host, int column, int row);      // PsfSource
void PsfBackgroundClick(Program& program, Host& host, int column, int row);  // PsfBackground

}  // namespace corvane
