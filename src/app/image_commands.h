#pragma once
// Loading and closing images, with the window-side steps around the loader.

#include <string>

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// Loads the file `path`; on success the window shows the image, on a failure that
// released the image shown before, the window returns to its empty state. A file that
// cannot be found changes nothing. Hand-overs arriving meanwhile wait.
bool LoadImage(Program& program, Host& host, std::string path);

// Releases the image (if any) and empties the window.
void CloseImage(Program& program, Host& host);

// The empty main window: no path, grayed menus, empty panes, zoom 1:1.
void ResetMainWindow(Program& program, Host& host);

// What the prompt pane shows when no mouse mode speaks: the image path while an
// acquisition session runs, else nothing.
std::string IdlePrompt(const Program& program);

// "  Image: %i x %i - %.1lf MB"
std::string ImagePaneText(const ImageRecord& image);

}  // namespace corvane
