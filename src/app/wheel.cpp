#include "app/wheel.h"

#include <algorithm>
#include <cstdlib>

#include "app/command_ids.h"
#include "app/mouse_modes.h"
#include "app/window_layout.h"

namespace corvane {

namespace {

// Whole notches out of what is left from earlier turns and `turn`; a part of a notch, in
// either direction, waits in `rest`.
int TakeNotches(int& rest, int turn) {
    rest += turn;
    const int notches = rest / kWheelNotch;
    rest -= notches * kWheelNotch;
    return notches;
}

// `notches` zoom steps (in when positive), each as Zoom or Squeeze steps, about client
// point (x, y): the image pixel under it stays there unless the view meets an image edge.
void ZoomAbout(Program& program, Host& host, int notches, int x, int y) {
    ViewState& view = program.shell.view;
    int zoom = view.zoom;
    for (int i = 0; i < std::abs(notches); ++i) {
        zoom = notches > 0 ? std::min(2 * zoom, kMaxZoom)
                           : std::max(zoom / 2, SmallestZoom(program.image.width));
    }
    if (zoom == view.zoom) {
        return;
    }
    const ImagePoint kept = ClientToImage(view, x, y);
    program.shell.overlaysShown = false;
    view.horizontalOffset = kept.column - 8 * x / zoom;
    view.verticalOffset = kept.row - 8 * y / zoom;
    view.zoom = zoom;
    // The window takes the image at the new zoom as a load would give it, up to the work
    // area: a notch in and a notch back leave window and view as they were.
    const WindowMetrics m = host.GetWindowMetrics();
    RefitAndRedraw(program, host, {0, 0, m.workAreaRight, m.workAreaBottom});
    OnMouseMove(program, host, x, y);
}

// `lines` arrow-key steps along `bar`; positive toward the top or the left edge.
void ScrollLines(Program& program, Host& host, ScrollBarKind bar, int lines) {
    const bool horizontal = bar == ScrollBarKind::Horizontal;
    const int key = lines > 0 ? (horizontal ? command::kLeft : command::kUp)
                              : (horizontal ? command::kRight : command::kDown);
    for (int i = 0; i < std::abs(lines); ++i) {
        ScrollByKey(program, host, key);
    }
}

}  // namespace

bool ModeNeedsOneToOne(MouseMode mode) {
    switch (mode) {
        case MouseMode::InitStarList:
        case MouseMode::Photometry:
        case MouseMode::AddStar:
        case MouseMode::CleanRoi:
        case MouseMode::Patch:
            return true;
        default:
            return false;
    }
}

void OnWheel(Program& program, Host& host, const WheelTurn& turn) {
    ShellState& shell = program.shell;
    if (!program.image.loaded || ModeNeedsOneToOne(shell.mouseMode)) {
        shell.wheelRestVertical = 0;
        shell.wheelRestHorizontal = 0;
        return;
    }
    const int notches = TakeNotches(shell.wheelRestVertical, turn.vertical);
    const int sideways = TakeNotches(shell.wheelRestHorizontal, turn.horizontal);
    if (turn.ctrl && turn.target == WheelTarget::Image) {
        const ViewState& view = shell.view;
        ZoomAbout(program, host, notches, std::clamp(turn.x, 0, std::max(0, view.visibleWidth - 1)),
                  std::clamp(turn.y, 0, std::max(0, view.visibleHeight - 1)));
        return;
    }
    const bool acrossImage = turn.target == WheelTarget::Image && turn.shift;
    const bool horizontal = turn.target == WheelTarget::HorizontalBar || acrossImage;
    ScrollLines(program, host, horizontal ? ScrollBarKind::Horizontal : ScrollBarKind::Vertical,
                notches * turn.linesPerNotch);
    ScrollLines(program, host, ScrollBarKind::Horizontal, sideways * turn.linesPerNotch);
}

}  // namespace corvane
