#pragma once
// The mouse wheel over the main window: over the image it scrolls as the arrow keys do
// (with Shift: sideways), with Ctrl it zooms by one step per notch about the pointer;
// over a scroll bar it scrolls along that bar.

#include "app/program.h"
#include "platform/host.h"

namespace corvane {

// A wheel reports its turn in eighths of a degree; one notch is 15 degrees. Smooth wheels
// report fractions of a notch, which add up until they make whole ones.
inline constexpr int kWheelNotch = 120;

enum class WheelTarget { Image, HorizontalBar, VerticalBar };

struct WheelTurn {
    WheelTarget target = WheelTarget::Image;
    int vertical = 0;    // eighths of a degree; positive: turned away from the user
    int horizontal = 0;  // a tilting wheel's; positive: to the left
    bool shift = false;
    bool ctrl = false;
    int x = 0;  // the pointer, client pixels of the image area
    int y = 0;
    int linesPerNotch = 3;  // arrow-key steps per notch, the desktop's setting
};

// Modes whose clicks need the view at 1:1 (they started there or may only start there):
// the wheel leaves the view alone while one of them waits for its click.
bool ModeNeedsOneToOne(MouseMode mode);

void OnWheel(Program& program, Host& host, const WheelTurn& turn);

}  // namespace corvane
