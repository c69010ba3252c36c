#include "app/analysis_commands.h"

#include <string>

#include "analysis/median_filter.h"
#include "analysis/psf.h"
#include "analysis/region_pixels.h"
#include "analysis/statistics.h"
#include "app/image_commands.h"

namespace corvane {

namespace {

void StartMode(Program& program, Host& host, MouseMode mode, const char* prompt) {
    program.shell.mouseMode = mode;
    host.SetPaneText(Pane::Prompt, prompt);
}

// After the last click of a mode: the cross cursor and the idle prompt.
void EndMode(Program& program, Host& host) {
    program.shell.mouseMode = MouseMode::None;
    host.SetCursor(CursorShape::Cross);
    host.SetPaneText(Pane::Prompt, IdlePrompt(program));
}

bool Refresh(const AnalysisDisplay& display, int column, int row) {
    return !display.refreshPixel || display.refreshPixel(column, row);
}

// The screen square over the retouched block, and the close-up window with it.
void ShowRetouchedArea(const AnalysisDisplay& display, int column, int row, int size) {
    if (display.invalidatePixelArea) {
        display.invalidatePixelArea(column, row, size);
    }
    if (display.repaintCloseUp) {
        display.repaintCloseUp();
    }
}

}  // namespace

bool RegionRetouchAllowed(const Program& program, int zoom) {
    return program.image.loaded && zoom == kZoomOneToOne;
}

CursorShape RegionBoxCursor(const Program& program) {
    return program.shell.menu.smallRoiChecked ? CursorShape::SmallBox : CursorShape::LargeBox;
}

void RunStats(Program& program, Host& host) {
    if (program.image.loaded) {
        ShowStats(program.image, program.roi, host);
    }
}

void RunMaxMin(Program& program, Host& host) {
    if (program.image.loaded) {
        ShowMaxMin(program.image, host);
    }
}

void RunGlobalMaxMin(Program& program, Host& host) {
    if (program.image.loaded) {
        ShowGlobalMaxMin(program.image, host);
    }
}

void ToggleSmallRoi(Program& program, Host& host) {
    MenuState& menu = program.shell.menu;
    menu.smallRoiChecked = !menu.smallRoiChecked;
    SetSmallRoi(program.roi, menu.smallRoiChecked);
    host.ApplyMenuState(menu);
}

void StartEditPixel(Program& program, Host& host) {
    if (program.image.loaded) {
        StartMode(program, host, MouseMode::EditPixel, "Click on pixel to change");
    }
}

void StartCleanRoi(Program& program, Host& host, int zoom) {
    if (RegionRetouchAllowed(program, zoom)) {
        StartMode(program, host, MouseMode::CleanRoi, "Select region to clean");
    }
}

void StartPatch(Program& program, Host& host, int zoom) {
    if (RegionRetouchAllowed(program, zoom)) {
        program.retouch.patchPending = false;
        StartMode(program, host, MouseMode::Patch, "Click on source box");
    }
}

void RunBitHistogram(Program& program, Host& host) {
    if (program.image.loaded && program.shell.mouseMode == MouseMode::None) {
        WriteBitHistogram(program.image, "hist.out", host);
    }
}

void StartPsf(Program& program, Host& host) {
    if (program.image.loaded) {
        StartMode(program, host, MouseMode::PsfSource, "Select Source");
    }
}

void RunMedianFilter(Program& program, Host& host, const AnalysisDisplay& display) {
    if (!program.image.loaded) {
        return;
    }
    MedianFilter(program.image, host);
    if (display.rescaleLinear) {
        display.rescaleLinear();
    }
    host.InvalidateAll();
}

void EditPixelClick(Program& program, Host& host, const AnalysisDisplay& display, int column,
                    int row) {
    // A click beside the image addresses no pixel: the mode waits for one that does.
    if (!program.image.loaded || !InsideImage(program.image, column, row)) {
        return;
    }
    EndMode(program, host);
    program.retouch.editColumn = column;
    program.retouch.editRow = row;

    EditPixelDialogFields fields;
    fields.column = column;
    fields.row = row;
    fields.value = std::to_string(TruePixel(program.image, column, row));
    std::optional<std::int16_t> stored;
    const std::int32_t bzero = program.image.bzero;
    const bool confirmed =
        host.RunEditPixelDialog(fields, [&stored, bzero](const EditPixelDialogFields& f) {
            stored = EditPixelStoredValue(f.value, bzero);
            return stored.has_value();
        });
    // The dialog is modal but the window lives on beneath it: check the pixel again.
    if (!confirmed || !stored || !program.image.loaded ||
        !InsideImage(program.image, column, row)) {
        return;
    }
    program.image
        .pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(program.image.width) +
                static_cast<std::size_t>(column)] = *stored;
    if (Refresh(display, column, row) && display.invalidatePixelArea) {
        display.invalidatePixelArea(column, row, 2);
    }
}

void CleanRoiClick(Program& program, Host& host, const AnalysisDisplay& display, int column,
                   int row) {
    if (!program.image.loaded) {
        return;
    }
    EndMode(program, host);
    const CleanRoiResult result =
        CleanRegion(program.image, column, row, program.roi.width, program.roi.height, host,
                    [&display](int x, int y) { return Refresh(display, x, y); });
    if (!result.usable) {
        return;
    }
    program.roi.xc = column;
    program.roi.yc = row;
    ShowRetouchedArea(display, column, row, program.roi.height);
}

void PatchClick(Program& program, Host& host, const AnalysisDisplay& display, int column, int row) {
    if (!program.image.loaded) {
        return;
    }
    RetouchState& retouch = program.retouch;
    if (!retouch.patchPending) {
        retouch.editColumn = column;
        retouch.editRow = row;
        retouch.patchPending = true;
        host.SetPaneText(Pane::Prompt, "Set Destination Box");
        return;
    }
    retouch.patchPending = false;
    EndMode(program, host);
    program.roi.xc = column;
    program.roi.yc = row;
    PatchRegion(program.image, retouch.editColumn, retouch.editRow, column, row, program.roi.width,
                program.roi.height, host,
                [&display](int x, int y) { return Refresh(display, x, y); });
    ShowRetouchedArea(display, column, row, program.roi.height);
}

void PsfSourceClick(Program& program, Host& host, int column, int row) {
    program.retouch.psfSourceColumn = column;
    program.retouch.psfSourceRow = row;
    StartMode(program, host, MouseMode::PsfBackground, "Select Background");
}

void PsfBackgroundClick(Program& program, Host& host, int column, int row) {
    EndMode(program, host);
    program.roi.xc = column;
    program.roi.yc = row;
    if (program.image.loaded) {
        ShowPsf(program.image, program.retouch.psfSourceColumn, program.retouch.psfSourceRow,
                column, row, program.roi.width, program.roi.height, host);
    }
}

}  // namespace corvane
