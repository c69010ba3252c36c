#pragma once
// Loading and closing images, with the window-side steps around the loader.

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// Loads program.image.path; on success the window shows the image, on a failure that
// released the image shown before, the window returns to its empty state.
bool LoadImage(Program& program, Host& host);

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
