#pragma once
// The closed outline of the region-of-interest square and of a photometry background box.

#include <array>

namespace corvane {

struct BoxCorner {
    int dx = 0;
    int dy = 0;
};

using BoxOutline = std::array<BoxCorner, 5>;

// The five corners of a square of side `side`, subtracted from the centre column and added
// to the centre row when drawn. For 32 that frames columns c − 15 … c + 16, rows r − 16 … r + 15.
inline BoxOutline MakeBoxOutline(int side) {
    const int g = side / 2;
    return {{{g - 1, g - 1}, {-g, g - 1}, {-g, -g}, {g - 1, -g}, {g - 1, g - 1}}};
}

}  // namespace corvane
