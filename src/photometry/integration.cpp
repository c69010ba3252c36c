#include "photometry/integration.h"

#include <cmath>

namespace corvane {

double SignalToNoise(double F, int npix, double M, double sigma, int Nb, double G, double Z,
                     double B) {
    if (!(G > 0) || Nb <= 0) {
        return 0;
    }
    double E = 0.0002 * npix * G * (M + Z - B);
    double V = F / G + npix * sigma * sigma * (1 + 1.0 / Nb) + E * E;
    if (!(V > 0) || !std::isfinite(V)) {
        return 0;
    }
    return F / std::sqrt(V);
}

namespace {

enum class Walk { Done, OutsidePicture, OutOfRange };

struct ApertureSum {
    Walk walk = Walk::Done;
    double sum = 0;
    int npix = 0;
    int clip = 0;
};

// The aperture summed with only its low side clipped: a pixel below M - 3.5 sigma counts
// as M (a cold pixel), a hot pixel is summed as it is.
ApertureSum SumAperture(const ImageRecord& image, const ApertureSpans& spans, PixelPoint centre,
                        const ObjectResult& background) {
    ApertureSum a;
    const double low = background.mean - 3.5 * background.sigma;
    WalkAperture(spans, centre, [&](int column, int row) {
        if (OutsidePicture(image, column, row)) {
            a.walk = Walk::OutsidePicture;
            return false;
        }
        std::int16_t stored = StoredPixel(image, column, row);
        if (OutOfRange(image, stored)) {
            a.walk = Walk::OutOfRange;
            return false;
        }
        double v = stored;
        if (v < low) {
            v = background.mean;
            ++a.clip;
        }
        a.sum += v;
        ++a.npix;
        return true;
    });
    return a;
}

// Flux rate and SNR of a completed sum; T in tenths of a second.
void StoreFlux(const MeasureTarget& t, const ApertureSum& a, ObjectResult& r) {
    const double M = r.mean;
    const double F = a.sum - a.npix * M;  // DN; bzero cancels
    const int T = t.header.exposure;
    r.fluxRate = T != 0 ? 10 * F / T : 0;  // a run sets T to 10 before it integrates
    r.snr = SignalToNoise(F, a.npix, M, r.sigma, r.count, t.header.electronGain,
                          t.image.bzero, t.header.biasLevel);
    r.npix = a.npix;
    r.clip = a.clip;
}

}  // namespace

bool IntegrateAsteroid(MeasureTarget& t) {
    ObjectResult& r = t.objects.asteroidResult;
    ApertureSum a = SumAperture(t.image, t.params.asteroid.spans, t.objects.asteroidPosition, r);
    switch (a.walk) {
        case Walk::OutsidePicture:
            t.host.ShowMessage(kDoCaption,
                               "Error - Asteroid integration box\nlies partly out of picture.",
                               MessageIcon::Error);
            return false;
        case Walk::OutOfRange:
            t.host.ShowMessage(
                kDoCaption, "Error * Out-of-range number encountered\nin Asteroid integration box.",
                MessageIcon::Error);
            return false;
        case Walk::Done:
            break;
    }
    StoreFlux(t, a, r);
    return true;
}

void IntegrateStars(MeasureTarget& t) {
    ObjectList& list = t.objects;
    for (int i = 0; i < t.params.numberOfStars && i < kMaxStars; ++i) {
        if (!list.starSelected[i]) {
            continue;
        }
        ObjectResult& r = list.starResults[i];
        ApertureSum a = SumAperture(t.image, t.params.star.spans,
                                    MoveBy(list.referencePosition, list.starOffset[i]), r);
        if (a.walk != Walk::Done) {
            t.host.ShowMessage(
                kDoCaption,
                a.walk == Walk::OutsidePicture
                    ? "Error - Star integration box\nlies partly out of picture."
                    : "Error * Out-of-range number encountered\nin Star integration box.",
                MessageIcon::Error);
            r.fluxRate = 0;
            r.snr = 0;
            r.npix = 0;
            r.clip = 0;
            continue;
        }
        StoreFlux(t, a, r);
    }
}

}  // namespace corvane
