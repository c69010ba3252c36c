#include "photometry/background.h"

#include <cmath>

namespace corvane {

namespace {

struct BoxSums {
    double sum = 0;
    double sumSquares = 0;
    int n = 0;
};

struct Skipped {
    bool outsidePicture = false;
    bool outOfRange = false;
};

// Adds the box centred at (bx, by) to the sums. It covers the rows by - s/2 ... by - s/2
// + s - 1 and the columns bx - s/2 + 1 ... bx + s/2, the same pixels as the region box.
void AddBox(const MeasureTarget& t, PixelPoint centre, BackgroundMode mode,
            const ObjectResult& previous, BoxSums& sums, Skipped& skipped) {
    const int s = t.boxSide;
    const double lo = previous.mean - 3.5 * previous.sigma;
    const double hi = previous.mean + 3.5 * previous.sigma;
    for (int row = centre.y - s / 2; row <= centre.y - s / 2 + s - 1; ++row) {
        for (int column = centre.x - s / 2 + 1; column <= centre.x + s / 2; ++column) {
            if (OutsidePicture(t.image, column, row)) {
                skipped.outsidePicture = true;
                continue;
            }
            std::int16_t stored = StoredPixel(t.image, column, row);
            if (OutOfRange(t.image, stored)) {
                skipped.outOfRange = true;
                continue;
            }
            double v = stored;
            if (mode == BackgroundMode::Clipped && (v > hi || v < lo)) {
                v = previous.mean;
            }
            sums.sum += v;
            sums.sumSquares += v * v;
            ++sums.n;
        }
    }
}

double Variance(const BoxSums& b, double M) {
    return (b.n * M * M + b.sumSquares - 2 * M * b.sum) / (b.n - 1);
}

void ShowNotes(Host& host, const Skipped& skipped) {
    if (skipped.outsidePicture) {
        host.ShowMessage(kDoCaption, "Some bckgnd pixels out of picture.\n\tIgnored.",
                         MessageIcon::Information);
    }
    if (skipped.outOfRange) {
        host.ShowMessage(kDoCaption,
                         "Warning * Out-of-range number encountered\nin background box.",
                         MessageIcon::Error);
    }
}

}  // namespace

bool BackgroundStep(MeasureTarget& t, BackgroundMode mode) {
    ObjectList& list = t.objects;
    const int nB = t.params.numberOfBoxes;
    Skipped skipped;

    if (list.asteroidSelected) {
        ObjectResult& r = list.asteroidResult;
        BoxSums sums;
        for (int j = 0; j < nB && j < kMaxBackgroundBoxes; ++j) {
            AddBox(t, MoveBy(list.asteroidPosition, list.asteroidBoxOffsets[j]), mode, r, sums,
                   skipped);
        }
        r.count = sums.n;
        if (sums.n <= 2) {
            t.host.ShowMessage(kDoCaption, "ERROR -- npoints <= 2 !", MessageIcon::Warning);
            return false;
        }
        r.mean = sums.sum / sums.n;
        double variance = Variance(sums, r.mean);
        if (variance < 0) {
            t.host.ShowMessage(kDoCaption, "error in evaluating RMS", MessageIcon::Warning);
            return false;
        }
        r.sigma = std::sqrt(variance);
    }

    for (int i = 0; i < t.params.numberOfStars && i < kMaxStars; ++i) {
        if (!list.starSelected[i]) {
            continue;
        }
        ObjectResult& r = list.starResults[i];
        BoxSums sums;
        for (int j = 0; j < nB && j < kMaxBackgroundBoxes; ++j) {
            AddBox(t, MoveBy(list.referencePosition, list.starBoxOffsets[j][i]), mode, r, sums,
                   skipped);
        }
        r.count = sums.n;
        if (sums.n <= 2) {
            t.host.ShowMessage(kDoCaption, "ERROR -- npoints <= 2 !", MessageIcon::Warning);
            r.mean = 0;
            r.sigma = 0;
            continue;
        }
        r.mean = sums.sum / sums.n;
        double variance = Variance(sums, r.mean);
        if (variance <= 0) {
            t.host.ShowMessage(kDoCaption, "error in evaluating RMS", MessageIcon::Warning);
            return false;
        }
        r.sigma = std::sqrt(variance);
    }

    ShowNotes(t.host, skipped);
    return true;
}

}  // namespace corvane

