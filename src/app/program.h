#pragma once
// Program: every piece of state that lives for the whole run, in one record.
// main creates it once; functions take the narrowest part of it they need.

#include <string>

#include "display/display_state.h"
#include "image/header_record.h"
#include "image/image_record.h"
#include "image/raw_options.h"
#include "image/region_of_interest.h"
#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"
#include "photometry/star_input.h"
#include "platform/menu_state.h"

namespace corvane {

// The main window's mouse interaction mode (2 is never used).
enum class MouseMode {
    None = 0,
    InitStarList = 1,
    Photometry = 3,
    EditPixel = 4,
    SetRoi = 5,
    Patch = 6,
    CleanRoi = 7,
    AddStar = 8,
    PsfBackground = 9,
    PsfSource = 10,
};

struct ShellState {
    bool openAsRaw = false;           // the next load treats the file as raw pixels
    bool acquisitionSession = false;  // the acquisition program is running
    MouseMode mouseMode = MouseMode::None;
    bool frozen = false;              // close-up and readout stopped by a right click
    bool overlaysShown = false;       // photometry marks drawn over the image
    MenuState menu;
    std::string initialDirectory;     // the start directory, emptied after the first Open
    int openFilterIndex = 1;          // 1 own types, 2 FITS, 3 raw, 4 all files
};

// Retouching and profile clicks: the points a command keeps between its clicks.
struct RetouchState {
    int editColumn = 0, editRow = 0;  // (xe, ye): the edited pixel, also the patch source
    bool patchPending = false;        // between the two clicks of Patch
    int psfSourceColumn = 0, psfSourceRow = 0;  // first click of PSF
};

struct Program {
    ImageRecord image;
    alignas(4) HeaderRecord header{};
    RegionOfInterest roi;
    RawOptions raw;
    ShellState shell;
    // Display: palette, bitmap description, levels, mode and logarithmic table.
    DisplayState display;

    // Retouching and profile clicks.
    RetouchState retouch;

    // --- Photometry: parameters with both apertures, the object list, its input state ---
    PhotometryParameters photometry;
    ObjectList objects;
    StarInputState starInput;
    bool outputFilesChosen = false;  // set when "Output Files..." ends with success
};

}  // namespace corvane
