#pragma once
// The star profile: intensity-weighted centroid and second-moment widths of a source region
// above the mean level of a background region.

#include <string>

#include "image/image_record.h"
#include "platform/host.h"

namespace corvane {

struct PsfMeasurement {
    long backgroundPixels = 0;      // background pixels inside the image
    long sourcePixels = 0;          // source pixels inside the image
    double background = 0;          // B: mean stored value of the background region
    double weightSum = 0;           // S = Σ(p − B) over the source region
    float x = 0, y = 0;             // centroid, image column and row
    double sigmaX = 0, sigmaY = 0;  // second-moment widths in pixels

    // B exists only with a background pixel in the image, and the centroid only when the
    // weights do not sum to zero (a source region all at B, or none of it in the image).
    bool Defined() const { return backgroundPixels > 0 && weightSum != 0; }
};

// Both regions are `width` × `height` in the region-of-interest pattern, around the source
// point (xs, ys) and the background point (xb, yb).
PsfMeasurement MeasurePsf(const ImageRecord& image, int xs, int ys, int xb, int yb, int width,
                          int height);

// "\nx = %.3f  y = %.3f\nsigma x = %.1f  sigma y = %.1f"
std::string PsfText(const PsfMeasurement& m);

// Shows the measurement in the "Stats" box. When it is not defined, a warning says why
// instead, and the result is false.
bool ShowPsf(const ImageRecord& image, int xs, int ys, int xb, int yb, int width, int height,
             Host& host);

}  // namespace corvane
