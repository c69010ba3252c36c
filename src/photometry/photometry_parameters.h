#pragma once
// The numbers that shape every photometry run, and the two elliptical apertures (asteroid,
// and one shared by all stars) as pixel geometry: an outline for drawing and a row-span
// table for measuring.
//
// Offsets are relative to an aperture's centre pixel (cx, cy) and their y grows upwards:
// the offset (x, y) is the pixel in column cx + x, row cy - y. With theta = 0 the a
// semi-axis lies along the image rows; a positive theta turns it counter-clockwise as the
// image is displayed.

#include <array>
#include <cstdint>

#include "platform/host.h"

namespace corvane {

inline constexpr int kMaxStars = 16;
inline constexpr int kMaxBackgroundBoxes = 20;
inline constexpr int kOutlineCapacity = 630;   // points of one `elpsdpnt`
inline constexpr int kSpanCapacity = 199;      // rows of one `ApertureSpans`: |y| <= 99
inline constexpr int kMinSemiAxis = 3;
inline constexpr int kMaxSemiAxis = 99;
inline constexpr int kMinTheta = -90;
inline constexpr int kMaxTheta = 90;

struct OutlinePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// `elpsdpnt`: the closed outline as the display draws it. When the outline closed
// normally its last point repeats the first.
struct ApertureOutline {
    std::array<OutlinePoint, kOutlineCapacity> points{};
    int count = 0;
};

struct SpanRow {
    std::int32_t y = 0;
    std::int32_t xmin = 0;
    std::int32_t xmax = 0;
};

// `ApertureSpans`: the filled ellipse row by row, rows in strictly increasing y.
struct ApertureSpans {
    std::array<SpanRow, kSpanCapacity> rows{};
    int count = 0;
};

// What one outline generation met on its way, for the messages that follow it.
struct OutlineResult {
    ApertureOutline outline;
    bool overflow = false;    // the capacity was reached before the curve closed
    bool xMismatch = false;   // the last point's x differs from the first's
    bool yMismatch = false;
};

// The curve for semi-axes a, b (pixels) and theta (degrees). a and b are taken in 1 to 99
// (the dialog admits 3 to 99); this keeps every rounded coordinate within |99|.
OutlineResult ComputeOutline(int a, int b, int theta);

// As ComputeOutline, stored into `outline`, with the overflow message and the closure
// warnings shown through `host`. Returns the number of points stored.
int GenerateOutline(int a, int b, int theta, ApertureOutline& outline, Host& host);

// The row-span table of an outline: its points without the closing repetition, sorted by
// y and then x; each row from its leftmost to its rightmost point. Returns the row count.
int BuildSpans(const ApertureOutline& outline, ApertureSpans& spans);

// Whether pixel (column, row) lies inside the aperture centred at (cx, cy).
bool InsideAperture(const ApertureSpans& spans, int cx, int cy, int column, int row);

// Rounding of an outline coordinate: v + 0.501 sign(v), truncated toward zero, so that a
// fraction of 0.499 or more moves away from zero. |v| must be below 2^31.
int RoundOutlineCoordinate(double v);

struct ApertureShape {
    int a = 15;      // semi-axis along the rows at theta 0, pixels, 3 to 99
    int b = 15;      // the other semi-axis, pixels, 3 to 99
    int theta = 0;   // angle of the a semi-axis, degrees, -90 to 90
    ApertureOutline outline = ComputeOutline(15, 15, 0).outline;
    ApertureSpans spans;  // rebuilt from the outline when a measuring command starts
};

enum class CentringMode { Manual, Automatic };

struct PhotometryParameters {
    int numberOfStars = 3;    // 1 to 16; also the length of the star list
    int numberOfBoxes = 8;    // background boxes per object, 1 to 20
    ApertureShape asteroid;
    ApertureShape star;
    CentringMode centringMode = CentringMode::Automatic;
};

// Both outlines from the current sizes, the asteroid's first.
void GenerateOutlines(PhotometryParameters& params, Host& host);

// Both span tables from the current outlines, the asteroid's first.
void BuildSpanTables(PhotometryParameters& params);

}  // namespace corvane
