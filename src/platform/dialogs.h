#pragma once
// Field texts of the modal dialogs, as they go into a dialog and come back from it.
// Each dialog's OK logic is a pure function in the program; the screen only shows the
// fields and calls that function when the user presses OK.

#include <functional>
#include <string>

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

}  // namespace corvane
