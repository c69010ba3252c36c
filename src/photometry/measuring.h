#pragma once
// The measuring steps of a photometry run, in their order. The desktop run puts its
// confirmation between LocateObjects and MeasureObjects; the command line runs both.

#include "photometry/measure_target.h"

namespace corvane {

// Automatic centring: the plain background step, then the centring of all objects; sets
// the centred flag. Manual: nothing to do. Returns false when the run must end.
bool LocateObjects(MeasureTarget& target);

// Takes the centring over for good: the asteroid moves to its rounded centroid (when
// selected), the reference position follows the reference star's centroid, and every
// star's offset is re-based on it. The star list thus follows the field.
void AdoptCentroids(ObjectList& objects, const PhotometryParameters& params);

// After the confirmation. Manual: the plain background step and the clicked positions as
// printed positions; Automatic: AdoptCentroids, the float centroids being the printed
// positions. Then the clipped background step twice, a zero exposure replaced by 1.0 s
// (with its warning), the asteroid integration (when selected) and the star integration.
// Returns false when the run must end without results.
bool MeasureObjects(MeasureTarget& target);

// LocateObjects and MeasureObjects without a confirmation between them.
bool RunMeasuringSteps(MeasureTarget& target);

}  // namespace corvane
