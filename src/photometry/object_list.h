#pragma once
// The objects a photometry run measures: one asteroid and up to sixteen comparison stars,
// each with its background boxes, selection flag, centroid and results.
//
// Stars are held as offsets from the reference star's position on the current image, so
// on a new image only the reference star is clicked and the rest follows. The number of
// stars in the list is the `numberOfStars` of PhotometryParameters; entries beyond it,
// and boxes beyond `numberOfBoxes`, stay in place but are ignored.

#include <array>

#include "photometry/photometry_parameters.h"

namespace corvane {

// An image pixel (column, row), or the difference of two.
struct PixelPoint {
    int x = 0;
    int y = 0;
};

inline PixelPoint operator+(PixelPoint p, PixelPoint q) { return {p.x + q.x, p.y + q.y}; }
inline PixelPoint operator-(PixelPoint p, PixelPoint q) { return {p.x - q.x, p.y - q.y}; }
inline bool operator==(PixelPoint p, PixelPoint q) { return p.x == q.x && p.y == q.y; }

// A position in single precision, as results are printed.
struct FloatPoint {
    float x = 0;
    float y = 0;
};

// Positions and offsets are kept within +-2^28 pixels, far beyond any picture, so that a
// sum of three of them (position + offset + an aperture or box extent) stays inside int.
inline constexpr int kPositionLimit = 1 << 28;

inline int ClampPosition(long long v) {
    if (v > kPositionLimit) return kPositionLimit;
    if (v < -kPositionLimit) return -kPositionLimit;
    return static_cast<int>(v);
}

// p - q, each coordinate kept within the position limit.
inline PixelPoint OffsetBetween(PixelPoint p, PixelPoint q) {
    return {ClampPosition(static_cast<long long>(p.x) - q.x),
            ClampPosition(static_cast<long long>(p.y) - q.y)};
}

// p + q, each coordinate kept within the position limit.
inline PixelPoint MoveBy(PixelPoint p, PixelPoint q) {
    return {ClampPosition(static_cast<long long>(p.x) + q.x),
            ClampPosition(static_cast<long long>(p.y) + q.y)};
}

// The measurement of one object.
struct ObjectResult {
    double mean = 0;      // background mean M, DN of stored values (without bzero)
    double sigma = 0;     // background standard deviation, DN
    int count = 0;        // background pixels used, Nb
    double fluxRate = 0;  // net aperture flux per second, DN/s
    double snr = 0;       // signal-to-noise ratio of the net flux
    int npix = 0;         // aperture pixels summed
    int clip = 0;         // aperture pixels replaced by M
};

constexpr std::array<bool, kMaxStars> AllSelected() {
    std::array<bool, kMaxStars> all{};
    all.fill(true);
    return all;
}

struct ObjectList {
    bool initialised = false;          // a star list has been entered completely
    int referenceStar = 0;             // index of the star that anchors the others
    PixelPoint referencePosition{};    // the reference star's pixel on the current image

    bool asteroidSelected = true;
    // Clicked pixel, or the rounded centroid after automatic centring; the star-profile
    // tool stores its picked source pixel here too.
    PixelPoint asteroidPosition{};
    PixelPoint asteroidCentre{};       // rounded centroid of the last centring
    FloatPoint asteroidCentroid{};     // printed position of the asteroid
    std::array<PixelPoint, kMaxBackgroundBoxes> asteroidBoxOffsets{};  // from the asteroid

    std::array<bool, kMaxStars> starSelected = AllSelected();
    std::array<PixelPoint, kMaxStars> starOffset{};          // from the reference position
    std::array<PixelPoint, kMaxStars> starCentroidOffset{};  // rounded centroid - reference
    std::array<FloatPoint, kMaxStars> starPosition{};        // printed position of each star
    // [box][star]: from the reference position, not from the star.
    std::array<std::array<PixelPoint, kMaxStars>, kMaxBackgroundBoxes> starBoxOffsets{};

    bool centred = true;  // the overlay shows centroided rather than clicked positions

    ObjectResult asteroidResult;
    std::array<ObjectResult, kMaxStars> starResults{};
};

}  // namespace corvane
