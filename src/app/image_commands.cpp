#include "app/image_commands.h"

#include <cstdio>
#include <utility>

#include "display/display_scaling.h"
#include "app/menu_model.h"
#include "app/window_layout.h"
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
    program.shell.outputFilesEnabled = true;
    UpdateMenu(program, host);
    // The display in the current mode, and the bitmap description sized to the image.
    RescaleAfterLoad(program.image, program.header, program.display, host);

    const std::size_t slash = program.image.path.rfind('/');
    if (slash != std::string::npos) {
        program.shell.lastImageFolder = slash == 0 ? "/" : program.image.path.substr(0, slash);
    }
    if (program.shell.acquisitionSession) {
        host.SetPaneText(Pane::Prompt, program.image.path);
    } else {
        host.SetTitle("Corvane 32 - " + program.image.path);
    }
    program.shell.overlaysShown = false;
    ViewState& view = program.shell.view;
    view.horizontalOffset = 0;
    view.verticalOffset = 0;
    FitWindowToImage(program, host, LoadFitRectangle(program, host.GetWindowMetrics()));
    LayoutChildren(program, host);
    host.InvalidateAll();
    view.scrollChanged = false;
    host.SetPaneText(Pane::Image, ImagePaneText(program.image));
}

}  // namespace

bool LoadImage(Program& program, Host& host, std::string path) {
    HandOverHold hold(program.handOvers, host);
    const bool wasLoaded = program.image.loaded;
    program.shell.nextEnabled = true;
    UpdateMenu(program, host);
    WaitCursor wait(host);
    host.UpdateWindow();

    LoadContext context{program.image, program.header, program.roi, program.raw, host,
                        program.shell.openAsRaw, program.shell.acquisitionSession};
    const LoadOutcome outcome = LoadImageFile(context, std::move(path));
    if (outcome == LoadOutcome::Loaded) {
        ShowLoadedImage(program, host);
        return true;
    }
    if (outcome == LoadOutcome::FailedClosed && wasLoaded) {
        ResetMainWindow(program, host);
    }
    // A load may fail at any step after its label went up; the status bar returns to rest.
    host.EndProgress();
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
    ShellState& shell = program.shell;
    program.image.loaded = false;
    const WindowMetrics metrics = host.GetWindowMetrics();
    host.SetWindowSize(kEmptyWindowWidth, NonClientHeight(metrics) + metrics.statusBarHeight,
                       false);

    program.image.path.clear();
    if (!shell.acquisitionSession) {
        host.SetTitle("Corvane 32 - ");
    }
    host.SetPaneText(Pane::Readout, "");
    host.SetPaneText(Pane::Prompt, "");
    host.SetPaneText(Pane::Image, "");

    shell.shortMenuTitles = false;
    shell.nextEnabled = false;
    UpdateMenu(program, host);

    shell.view.zoom = kOneToOne;
    if (shell.closeUpOpen) {
        host.CloseModeless(ModelessWindow::CloseUp);
        shell.closeUpOpen = false;
        shell.frozen = false;
    }
    LayoutChildren(program, host);
    host.InvalidateAll();
}

}  // namespace corvane
