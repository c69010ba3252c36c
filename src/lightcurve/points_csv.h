#pragma once
// The points as a plain CSV table: a heading line, then one line per point with its JD,
// magnitude, error, session and image, lines ending in CR LF. Numbers are written with
// the fewest digits that read back to the same double.

#include <string>

#include "lightcurve/lightcurve.h"

namespace corvane {

std::string PointsCsv(const Lightcurve& curve);

}  // namespace corvane
