#include "display/display_state.h"

#include <algorithm>

namespace corvane {

DisplayPalette MakeDisplayPalette() {
    // Green rises first, then blue, then red, each in steps of 4: 193 grey steps where a
    // plain grey ramp would give only 64.
    DisplayPalette palette;
    for (int k = 0; k < 64; ++k) {
        auto c = static_cast<std::uint8_t>(4 * k);
        auto u = static_cast<std::uint8_t>(std::min(4 * k + 4, 255));
        palette.entries[static_cast<std::size_t>(3 * k)] = {c, c, c, 0};
        palette.entries[static_cast<std::size_t>(3 * k + 1)] = {c, u, c, 0};
        palette.entries[static_cast<std::size_t>(3 * k + 2)] = {c, u, u, 0};
    }
    palette.entries[192] = {255, 255, 255, 0};
    return palette;
}

DisplayBitmapHeader MakeDisplayBitmapHeader() {
    DisplayBitmapHeader header;
    for (std::size_t i = 0; i < header.colourTable.size(); ++i) {
        header.colourTable[i] = static_cast<std::uint16_t>(i);
    }
    return header;
}

bool InitDisplay(DisplayState& display) {
    display = DisplayState{};
    return true;
}

}  // namespace corvane
