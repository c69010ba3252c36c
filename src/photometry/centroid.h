#pragma once
// Centroiding: each object's centre moved to the background-subtracted intensity centroid
// inside its own aperture, in three fixed iterations.

#include "photometry/measure_target.h"

namespace corvane {

// The asteroid (when selected) from its position, and each selected star from reference
// position + offset, using the background means of the last background step. Every star's
// centroid offset starts as its stored offset. Large shifts and non-convergence are
// warned of, never corrected. Fails only when the asteroid's aperture leaves the picture.
//
// A centroid without a finite value (the weights summing to 0) or farther out than any
// picture is treated as an aperture that left the picture: the asteroid fails, the star
// is given up.
bool CentroidAllObjects(MeasureTarget& target);

}  // namespace corvane
