#pragma once
// The click sequences that fill the star list: "Initialize star list" (every star and its
// background boxes, one click each) and "Add star" (the reference star, the new star and
// its boxes), their shared preparation with "Do!", and the cancel gesture.
//
// The mouse mode belongs to the shell: these operations report whether the sequence
// ends, and the caller sets the mode.

#include <functional>
#include <string>

#include "photometry/object_list.h"
#include "photometry/photometry_parameters.h"
#include "platform/host.h"

namespace corvane {

// Progress of the sequence being entered.
struct StarInputState {
    int star = 0;                  // k: the star whose clicks are awaited (initialising)
    int box = 0;                   // j: the background box whose click is awaited
    bool expectingStar = true;     // initialising: the next click is a star, not a box
    bool referenceClicked = false; // adding a star, or a measuring run
    bool asteroidClicked = false;  // a measuring run
    bool newStarClicked = false;   // adding a star
};

// A mark drawn over the image at once when it is entered.
enum class MarkKind { StarAperture, AsteroidAperture, BackgroundBox };
struct Mark {
    MarkKind kind;
    PixelPoint at;  // image pixel at the mark's centre
};
using DrawMark = std::function<void(const Mark&)>;

// What a sequence works on.
struct StarInput {
    ObjectList& objects;
    PhotometryParameters& params;
    StarInputState& state;
    bool& overlaysShown;       // repaints redraw what has been entered so far
    Host& host;
    DrawMark draw;             // may be empty: nothing is drawn at once
    int boxSide = 32;          // background box side: 32, or 16 with "Small ROI"
    std::string idlePrompt;    // the prompt pane's text when no sequence speaks
};

enum class SequenceStep { Continues, Ends };

// "wsquare" for 32-pixel boxes, "smallsq" for 16-pixel boxes.
CursorShape BoxCursor(int boxSide);

// "Initialize star list", after the caller has set the mode: clears a shown overlay,
// restarts at star 1 with every star of the list and the asteroid selected and star 1
// as the reference, and asks for the reference star.
void BeginStarListInput(StarInput& in);

// A click at pixel `at` while the list is being initialised. Ends after the last box of
// the last star, with the list initialised.
SequenceStep StarListClick(StarInput& in, PixelPoint at);

// The checks "Do!" and "Add star" share: the list must be initialised and the output
// files chosen. Shows the refusal ("MSG 28") and returns false.
bool ObjectInputAllowed(const ObjectList& objects, bool outputFilesChosen, Host& host);

// The preparation "Do!" and "Add star" share, after the caller has set the mode: clears
// a shown overlay and the progress flags, builds both span tables, asks for the reference
// star.
void BeginObjectInput(StarInput& in);

// The first click of "Add star" and of a measuring run: the reference star at `at`, and
// every selected star's aperture and boxes drawn from there; the overlay is shown.
void PlaceReferenceStar(StarInput& in, PixelPoint at);

// A click at pixel `at` while a star is being added. Ends after the new star's last box,
// with the star appended to the list and selected.
SequenceStep AddStarClick(StarInput& in, PixelPoint at);

// The cancel gesture (Escape or right button) on a running sequence, after the caller's
// beep: an interrupted initialisation leaves the list uninitialised; the progress flags
// and the overlay are cleared, the cursor and prompt return to idle, the window is
// repainted. A star being added is dropped.
void CancelStarInput(StarInput& in, bool wasInitialising);

}  // namespace corvane
