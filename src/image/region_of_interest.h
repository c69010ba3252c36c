#pragma once

namespace corvane {

// The one square region used by statistics, profiles, cleaning, patching and the
// photometry background boxes. Its pixels are rows yc − height/2 … yc + height/2 − 1 and
// columns xc − width/2 + 1 … xc + width/2, clipped to the image.
struct RegionOfInterest {
    int xc = 0;         // centre column; every reader sets width / 2
    int yc = 0;         // centre row; every reader sets height / 2
    int width = 32;     // 16 while "Small ROI" is on
    int height = 32;
    int side = 32;      // side of the background box outline
};

}  // namespace corvane
