#include "app/image_commands.h"

#include <cstdio>

#include "display/display_scaling.h"
#include "image/loader.h"
#include "platform/progress.h"

namespace corvane {

std::string IdlePrompt(const Program& program) {
    return program.shell.acquisitionSession ? program.image.path : std::string();
}

std::string ImagePaneText(const ImageRecord& image) {
    char text[96];
    std::snprintf(text, sizeof text, "  Image: %i x %i - %.1lf MB", image.width, image.height,
                  static_cast<double>(image.width) * image.height * 2 / 1048576);
    return text;
}

namespace {

// The window side of a successful load.
void ShowLoadedImage(Program& program, Host& host) {
    MenuState& menu = program.shell.menu;
    menu.topEnabled[kMenuWindow] = true;
    menu.topEnabled[kMenuFaceLift] = true;
    menu.topEnabled[kMenuPhotometry] = true;
    menu.outputFilesEnabled = true;
    menu.reloadEnabled = true;
    host.ApplyMenuState(menu);
    // The display in the current mode, and the bitmap description sized to the image.
    RescaleAfterLoad(program.image, program.header, program.display, host);

    if (program.shell.acquisitionSession) {
        host.SetPaneText(Pane::Prompt, program.image.path);
    } else {
        host.SetTitle("Corvane 32 - " + program.image.path);
    }
    program.shell.overlaysShown = false;
    host.InvalidateAll();
    host.SetPaneText(Pane::Image, ImagePaneText(program.image));
}

}  // namespace

bool LoadImage(Program& program, Host& host) {
    const bool wasLoaded = program.image.loaded;
    program.shell.menu.nextEnabled = true;
    host.ApplyMenuState(program.shell.menu);
    WaitCursor wait(host);
    host.UpdateWindow();

    LoadContext context{program.image, program.header, program.roi, program.raw, host,
                        program.shell.openAsRaw, program.shell.acquisitionSession};
    switch (LoadImageFile(context)) {
        case LoadOutcome::Loaded:
            ShowLoadedImage(program, host);
            return true;
        case LoadOutcome::FailedKept:
            return false;
        case LoadOutcome::FailedClosed:
            if (wasLoaded) {
                ResetMainWindow(program, host);
            }
            return false;
    }
    return false;
}

void CloseImage(Program& program, Host& host) {
    if (!program.image.loaded) {
        return;
    }
    ReleaseImage(program.image);
    ResetMainWindow(program, host);
}

void ResetMainWindow(Program& program, Host& host) {
    program.image.loaded = false;
    program.image.path.clear();
    if (!program.shell.acquisitionSession) {
        host.SetTitle("Corvane 32 - ");
    }
    host.SetPaneText(Pane::Readout, "");
    host.SetPaneText(Pane::Prompt, "");
    host.SetPaneText(Pane::Image, "");

    MenuState& menu = program.shell.menu;
    menu.titles = kFullMenuTitles;
    menu.topEnabled[kMenuWindow] = false;
    menu.topEnabled[kMenuFaceLift] = false;
    menu.topEnabled[kMenuPhotometry] = false;
    menu.nextEnabled = false;
    menu.reloadEnabled = false;
    host.ApplyMenuState(menu);
    host.InvalidateAll();
}

}  // namespace corvane
