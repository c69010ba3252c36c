#include "analysis/psf.h"

#include <cmath>
#include <cstdio>

#include "analysis/region_pixels.h"

namespace corvane {

namespace {

// sqrt(M / (S′ − 1)); a quotient that is negative (or −0), or not finite because S′ = 1,
// gives 0.
double MomentWidth(double moment, double weightSum) {
    const double q = moment / (weightSum - 1);
    return std::isfinite(q) && q > 0 ? std::sqrt(q) : 0.0;
}

}  // namespace

PsfMeasurement MeasurePsf(const ImageRecord& image, int xs, int ys, int xb, int yb, int width,
                          int height) {
    PsfMeasurement m;

    const RegionSpan sky = ClippedRegion(image, xb, yb, width, height);
    double skySum = 0;
    for (int y = sky.rowBegin; y < sky.rowEnd; ++y) {
        for (int x = sky.columnBegin; x < sky.columnEnd; ++x) {
            skySum += StoredPixel(image, x, y);
        }
    }
    m.backgroundPixels = sky.Count();
    if (m.backgroundPixels == 0) {
        return m;
    }
    const double b = skySum / static_cast<double>(m.backgroundPixels);
    m.background = b;

    const RegionSpan source = ClippedRegion(image, xs, ys, width, height);
    m.sourcePixels = source.Count();
    double s = 0, sx = 0, sy = 0;
    for (int y = source.rowBegin; y < source.rowEnd; ++y) {
        for (int x = source.columnBegin; x < source.columnEnd; ++x) {
            const double v = StoredPixel(image, x, y) - b;
            s += v;
            sx += x * v;
            sy += y * v;
        }
    }
    m.weightSum = s;
    if (s == 0) {
        return m;
    }
    m.x = static_cast<float>(sx / s);
    m.y = static_cast<float>(sy / s);

    double mxx = 0, myy = 0, s2 = 0;
    for (int y = source.rowBegin; y < source.rowEnd; ++y) {
        for (int x = source.columnBegin; x < source.columnEnd; ++x) {
            const double dx = x - static_cast<double>(m.x);
            const double dy = y - static_cast<double>(m.y);
            const double v = StoredPixel(image, x, y) - b;
            // One factor of each square is the offset in single precision.
            mxx += static_cast<double>(static_cast<float>(dx)) * dx * v;
            myy += static_cast<double>(static_cast<float>(dy)) * dy * v;
            s2 += v;
        }
    }
    m.sigmaX = MomentWidth(mxx, s2);
    m.sigmaY = MomentWidth(myy, s2);
    return m;
}

std::string PsfText(const PsfMeasurement& m) {
    char text[160];
    std::snprintf(text, sizeof text, "\nx = %.3f  y = %.3f\nsigma x = %.1f  sigma y = %.1f",
                  static_cast<double>(m.x), static_cast<double>(m.y), m.sigmaX, m.sigmaY);
    return text;
}

bool ShowPsf(const ImageRecord& image, int xs, int ys, int xb, int yb, int width, int height,
             Host& host) {
    const PsfMeasurement m = MeasurePsf(image, xs, ys, xb, yb, width, height);
    if (m.backgroundPixels == 0) {
        host.ShowMessage("Stats", "No background pixels in the image", MessageIcon::Warning);
        return false;
    }
    if (m.sourcePixels == 0) {
        host.ShowMessage("Stats", "No source pixels in the image", MessageIcon::Warning);
        return false;
    }
    if (m.weightSum == 0) {
        host.ShowMessage("Stats", "Source level equals the background", MessageIcon::Warning);
        return false;
    }
    host.ShowMessage("Stats", PsfText(m), MessageIcon::None);
    return true;
}

}  // namespace corvane
