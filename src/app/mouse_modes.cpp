#include "app/mouse_modes.h"

#include <cstdint>
#include <cstdio>

#include "app/display_commands.h"
#include "app/image_commands.h"
#include "app/paint_geometry.h"
#include "app/photometry_clicks.h"
#include "app/photometry_commands.h"
#include "display/display_scaling.h"

namespace corvane {

namespace {

bool ObjectInputMode(MouseMode mode) {
    return mode == MouseMode::InitStarList || mode == MouseMode::Photometry ||
           mode == MouseMode::AddStar;
}

// Whether the next click of an object-input sequence places an object (the reference star,
// a star or the asteroid) rather than a background box.
bool NextClickPlacesObject(const Program& program) {
    const StarInputState& s = program.starInput;
    switch (program.shell.mouseMode) {
        case MouseMode::InitStarList:
            return s.box == 0 && s.expectingStar;
        case MouseMode::AddStar:
            return !s.referenceClicked || !s.newStarClicked;
        case MouseMode::Photometry:
            return !s.referenceClicked ||
                   (program.objects.asteroidSelected && !s.asteroidClicked);
        default:
            return false;
    }
}

int Wrap16(int value) { return static_cast<std::uint16_t>(value); }

void WriteReadout(Program& program, Host& host, int x, int y) {
    const ShellState& shell = program.shell;
    if (shell.frozen && shell.mouseMode == MouseMode::None) {
        return;
    }
    host.SetPaneText(Pane::Readout, ReadoutText(program, x, y));
}

void SendToCloseUp(const Program& program, Host& host, int x, int y) {
    if (program.shell.closeUpOpen && !program.shell.frozen) {
        host.SendCloseUpPointer(x, y);
    }
}

void EndMode(Program& program, Host& host) {
    program.shell.mouseMode = MouseMode::None;
    host.SetCursor(CursorShape::Cross);
    RestorePrompt(program, host);
}

}  // namespace

void SetMouseMode(Program& program, Host& host, MouseMode mode, std::string_view prompt) {
    program.shell.mouseMode = mode;
    host.SetPaneText(Pane::Prompt, prompt);
}

void RestorePrompt(Program& program, Host& host) {
    host.SetPaneText(Pane::Prompt, IdlePrompt(program));
}

CursorShape CursorFor(const Program& program) {
    const MouseMode mode = program.shell.mouseMode;
    if (ObjectInputMode(mode)) {
        return NextClickPlacesObject(program) ? CursorShape::Circle : program.shell.boxCursor;
    }
    if (mode == MouseMode::None || mode == MouseMode::EditPixel) {
        return CursorShape::Cross;
    }
    return program.shell.boxCursor;
}

std::string ReadoutText(const Program& program, int x, int y) {
    const ViewState& view = program.shell.view;
    const ImageRecord& image = program.image;
    if (!image.loaded || x >= view.visibleWidth || y >= view.visibleHeight) {
        return {};
    }
    const ImagePoint p = ClientToImage(view, x, y);
    if (p.column < 0 || p.row < 0 || p.column >= image.width || p.row >= image.height ||
        image.pixels == nullptr) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, " (%d, %d)  %d", p.column, p.row,
                  TruePixel(image, p.column, p.row));
    return text;
}

void OnMouseMove(Program& program, Host& host, int x, int y) {
    x = Wrap16(x);
    y = Wrap16(y);
    host.SetCursor(CursorFor(program));
    if (!program.image.loaded) {
        return;
    }
    program.shell.lastMouse = {x, y, true};
    WriteReadout(program, host, x, y);
    SendToCloseUp(program, host, x, y);
}

void OnLeftButtonDown(Program& program, Host& host, int x, int y) {
    ShellState& shell = program.shell;
    const ImagePoint p = ClientToImage(shell.view, Wrap16(x), Wrap16(y));
    if (shell.mouseMode != MouseMode::None) {
        host.Beep(BeepKind::Default);
    }
    switch (shell.mouseMode) {
        case MouseMode::SetRoi:
            EndMode(program, host);
            program.roi.xc = p.column;
            program.roi.yc = p.row;
            break;
        case MouseMode::PsfSource:
            PsfSourceClick(program, host, p.column, p.row);
            break;
        case MouseMode::PsfBackground:
            PsfBackgroundClick(program, host, p.column, p.row);
            break;
        case MouseMode::EditPixel:
            EditPixelClick(program, host, MakeAnalysisDisplay(program, host), p.column, p.row);
            break;
        case MouseMode::Patch:
            PatchClick(program, host, MakeAnalysisDisplay(program, host), p.column, p.row);
            break;
        case MouseMode::CleanRoi:
            CleanRoiClick(program, host, MakeAnalysisDisplay(program, host), p.column, p.row);
            break;
        case MouseMode::InitStarList:
        case MouseMode::AddStar:
            StarInputClick(program, host, p.column, p.row);
            break;
        case MouseMode::Photometry:
            PhotometryRunClick(program, host, p.column, p.row);
            break;
        case MouseMode::None:
            break;
    }
}

void OnCancel(Program& program, Host& host, int x, int y) {
    ShellState& shell = program.shell;
    if (shell.mouseMode == MouseMode::None && shell.closeUpOpen) {
        shell.frozen = !shell.frozen;
        if (shell.frozen) {
            host.SetCloseUpTitle("FROZEN!");
        } else {
            host.SetCloseUpTitle("");
            OnMouseMove(program, host, x, y);
        }
    }
    if (shell.mouseMode != MouseMode::None) {
        host.Beep(BeepKind::Question);
    }
    // An interrupted initialisation must be repeated; a star being added is dropped.
    if (shell.mouseMode == MouseMode::InitStarList) {
        program.objects.initialised = false;
    }
    program.starInput.referenceClicked = false;
    program.starInput.asteroidClicked = false;
    program.starInput.newStarClicked = false;
    shell.mouseMode = MouseMode::None;
    host.SetCursor(CursorShape::Cross);
    shell.overlaysShown = false;
    host.InvalidateAll();
    RestorePrompt(program, host);
}

void OnPointerOverChild(Program& program, Host& host) {
    if (!program.shell.frozen) {
        host.SetPaneText(Pane::Readout, "");
    }
}

void OnNonClientMove(Program& program, Host& host) {
    if (program.image.loaded && !program.shell.frozen) {
        host.SetPaneText(Pane::Readout, "");
    }
}

bool AllowNonClientClick(Program& program, Host& host, NonClientArea area) {
    if (area == NonClientArea::Caption || area == NonClientArea::Border) {
        return true;
    }
    return AllowNonClientDoubleClick(program, host);
}

bool AllowNonClientDoubleClick(Program& program, Host& host) {
    if (program.shell.mouseMode != MouseMode::None) {
        host.Beep(BeepKind::Exclamation);
        return false;
    }
    return true;
}

AnalysisDisplay MakeAnalysisDisplay(Program& program, Host& host) {
    AnalysisDisplay display;
    display.refreshPixel = [&program](int column, int row) {
        return RefreshDisplayPixel(program.image, program.header, program.display, column, row);
    };
    display.invalidatePixelArea = [&program, &host](int column, int row, int size) {
        InvalidatePixelArea(program.shell.view, host, column, row, size);
    };
    display.rescaleLinear = [&program, &host] { RedisplayAfterMedianFilter(program, host); };
    display.repaintCloseUp = [&program, &host] {
        if (program.shell.closeUpOpen) {
            host.InvalidateCloseUp();
        }
    };
    return display;
}

void RefreshView(Program& program, Host& host) {
    host.InvalidateAll();
    const MousePosition& last = program.shell.lastMouse;
    if (!last.known) {
        return;
    }
    WriteReadout(program, host, last.x, last.y);
    SendToCloseUp(program, host, last.x, last.y);
}

}  // namespace corvane
