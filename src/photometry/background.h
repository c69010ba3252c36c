#pragma once
// The background step: mean and standard deviation of every measured object's square
// background boxes.

#include "photometry/measure_target.h"

namespace corvane {

// Plain estimates from the raw pixels; clipped repeats the estimate with every pixel
// farther than 3.5 sigma from the object's current mean taken as that mean.
enum class BackgroundMode { Plain, Clipped };

// The asteroid (when selected) and then each selected star. Fails when the asteroid has
// two or fewer usable pixels or a negative variance, or when a star's variance is zero or
// negative; a star with two or fewer usable pixels gets M = 0 and sigma = 0. Skipped
// pixels (outside the picture, out of range) are noted once each at the end.
bool BackgroundStep(MeasureTarget& target, BackgroundMode mode);

}  // namespace corvane
