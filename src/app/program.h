#pragma once
// Program: every piece of state that lives for the whole run, in one record.
// main creates it once; functions take the narrowest part of it they need.

#include <string>

#include "app/box_outline.h"
#include "app/hand_over_inbox.h"
#include "app/lightcurve_link.h"
#include "app/view_state.h"
#include "display/display_state.h"
#include "image/header_record.h"
#include "image/image_record.h"
#include "image/raw_options.h"
#include "image/region_of_interest.h"
#include "photometry/object_list.h"
#include "photometry/output_files.h"
#include "photometry/photometry_parameters.h"
#include "photometry/star_input.h"

#include "platform/host.h"
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

// The last mouse move over the client, kept for the refresh after keyboard scrolling.
struct MousePosition {
    int x = 0;
    int y = 0;
    bool known = false;
};

struct ShellState {
    bool openAsRaw = false;           // the next load treats the file as raw pixels
    bool acquisitionSession = false;  // the acquisition program is running
    MouseMode mouseMode = MouseMode::None;
    bool frozen = false;              // close-up and readout stopped by a right click
    bool overlaysShown = false;       // photometry marks drawn over the image
    MenuState menu;                   // as last applied; ComputeMenuState decides it
    std::string initialDirectory;     // the start directory, emptied after the first Open
    std::string lastImageFolder;      // folder of the last image shown; Open starts there
    int openFilterIndex = 1;          // 1 own types, 2 FITS, 3 raw, 4 all files

    ViewState view;
    BoxOutline boxOutline = MakeBoxOutline(32);
    CursorShape boxCursor = CursorShape::LargeBox;  // "smallsq" while Small ROI is on
    bool smallRoi = false;
    MousePosition lastMouse;
    bool toolBoxOpen = false;
    bool closeUpOpen = false;
    // Menu items that keep their state between the events that set them.
    bool nextEnabled = false;       // enabled by every load attempt, grayed by the reset
    bool outputFilesEnabled = false;  // enabled by the first successful load
    bool acquireAvailable = false;  // the acquisition program was found at start
    bool faceLiftLocked = false;    // retouching is off while images are handed over
    bool shortMenuTitles = false;   // the window was too narrow for the full titles
    // Wheel turns not yet a whole notch, eighths of a degree, per wheel.
    int wheelRestVertical = 0;
    int wheelRestHorizontal = 0;
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
    OutputFiles outputFiles;         // full paths of the list file and the flux table

    // Hand-overs of the acquisition program waiting for the program to be free.
    HandOverInbox handOvers;

    // The lightcurve window, which lives in the screen.
    LightcurveLink lightcurve;
};

}  // namespace corvane
