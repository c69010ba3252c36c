#pragma once
// Field texts of the modal dialogs, as they go into a dialog and come back from it.
// Each dialog's OK logic is a pure function in the program; the screen only shows the
// fields and calls that function when the user presses OK.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace corvane {

// "RAW Options": every edit field as typed, the sample-width radio and the check box.
struct RawDialogFields {
    std::string columns;
    std::string rows;
    std::string headerBytes;
    std::string skipRows;
    std::string bzero;
    bool eightBit = false;  // "8 bit" selected, else "16 bit"
    bool swapBytes = false;
};

// The OK logic of a dialog: true ends the dialog, false keeps it open.
template <class Fields>
using DialogOk = std::function<bool(const Fields&)>;

// Manual display levels ("Show"): the texts of the edit fields "Min" and "Max".
struct ManualLevelsFields {
    std::string low;
    std::string high;

};

// Pixel editing.
// "Edit Pixel": the pixel's position for the two labels, and the DN field as typed.
struct EditPixelDialogFields {
    int column = 0;     // shown as "X=%d"
    int row = 0;        // shown as "Y=%d"
    std::string value;  // the true value, signed decimal
};

// --- Photometry: "ParamsBox" and "Select" ---

// "ParamsBox": the edit fields 501 to 508 as typed, and the centring-mode radio pair.
struct ParamsDialogFields {
    std::string stars;          // 501
    std::string background;     // 502
    std::string asteroidA;      // 503
    std::string asteroidB;      // 504
    std::string asteroidTheta;  // 505
    std::string starA;          // 506
    std::string starB;          // 507
    std::string starTheta;      // 508
    bool automatic = true;      // 510 "Automatic" selected, else 509 "Manual"
};

// One star row of "Select": the x and y statics, the check box, the "Ref." radio button.
struct SelectStarRow {
    std::string x;
    std::string y;
    bool checked = false;
    bool reference = false;
    bool enabled = false;  // rows beyond the number of stars are disabled
};

// "Select": the asteroid row (statics 1000 and 2000, check box 2048) and sixteen star rows.
struct SelectDialogFields {
    std::string asteroidX;
    std::string asteroidY;
    bool asteroidChecked = false;
    std::array<SelectStarRow, 16> stars;
};

// Open-file dialog: the filters in order (numbered from 1), the preset filter and the
// directory to open in (empty: the current directory).
struct OpenFileFilter {
    std::string name;      // "FITS Files (*.FTS;*.FIT;*.FITS;*.MT)"
    std::string patterns;  // "*.fts;*.fit;*.fits;*.mt"
};

struct OpenFileRequest {
    std::vector<OpenFileFilter> filters;
    int filterIndex = 1;
    std::string initialDirectory;
};

struct OpenFileChoice {
    std::string path;
    int filterIndex = 1;  // the filter the user left selected
};

}  // namespace corvane

namespace corvane {

// Header dialog: the caption and every value field's text, in the order of the labels.
struct HeaderDialogFields {
    std::string caption;          // "Corvane 32 - " and the image path
    std::string observer;         // left column
    std::string object;
    std::string rightAscension;
    std::string declination;
    std::string epoch;
    std::string temperature;
    std::string quality;
    std::string comment;
    std::string ut;               // right column
    std::string exposure;
    std::string detector;
    std::string format;
    std::string binning;
    std::string systemGain;
    std::string electronGain;
    std::string filter;
    std::string preflash;
    std::string observationType;
    std::string biasLevel;
};

// --- Photometry output files: "Open Output File" and "AppendBox" ---

// "Open Output File": the directory shown (static 201), the list of roots and
// subdirectories (list box 200) and the file prefix as typed (field 203).
struct OutputFilesDialogFields {
    std::string directory;
    std::vector<std::string> entries;
    std::string prefix;
};

// A double click on list entry `index`: refills the fields in place.
template <class Fields>
using DialogEnter = std::function<void(Fields&, std::size_t index)>;

// The three buttons of "AppendBox".
enum class AppendChoice { Append, Overwrite, Cancel };

}  // namespace corvane
