#pragma once
// The state of the main menu as the model decides it; the window applies it in one place.

#include <array>
#include <string>

namespace corvane {

// Positions of the top-level menus, counted from 0 as the menu bar shows them.
enum TopMenu { kMenuFile = 0, kMenuOptions, kMenuWindow, kMenuFaceLift, kMenuPhotometry };

struct MenuState {
    // Top-level titles; the layout shortens them to one letter on a narrow window.
    std::array<std::string, 5> titles{"File", "Options", "Window", "FaceLift", "Photometry"};
    // "Window", "FaceLift" and "Photometry" are grayed until an image is shown.
    std::array<bool, 5> topEnabled{true, true, false, false, false};
    bool nextEnabled = false;         // 108
    bool reloadEnabled = false;       // 120
    bool outputFilesEnabled = false;  // 126
    bool acquireEnabled = false;      // 145
    bool smallRoiChecked = false;     // 119, the only item with a check mark
    bool lightcurveEnabled = false;   // 40006
};

inline const std::array<std::string, 5> kFullMenuTitles{"File", "Options", "Window", "FaceLift",
                                                        "Photometry"};
inline const std::array<std::string, 5> kShortMenuTitles{"F", "O", "W", "F", "P"};

}  // namespace corvane
