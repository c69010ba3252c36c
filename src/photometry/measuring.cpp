#include "photometry/measuring.h"

#include "photometry/background.h"
#include "photometry/centroid.h"
#include "photometry/integration.h"

namespace corvane {

bool LocateObjects(MeasureTarget& t) {
    if (t.params.centringMode != CentringMode::Automatic) {
        return true;
    }
    if (!BackgroundStep(t, BackgroundMode::Plain) || !CentroidAllObjects(t)) {
        return false;
    }
    t.objects.centred = true;
    return true;
}

void AdoptCentroids(ObjectList& list, const PhotometryParameters& params) {
    if (list.asteroidSelected) {
        list.asteroidPosition = list.asteroidCentre;
    }
    const int ref = list.referenceStar >= 0 && list.referenceStar < kMaxStars
                        ? list.referenceStar
                        : 0;
    const PixelPoint d = list.starCentroidOffset[ref];
    list.referencePosition = MoveBy(list.referencePosition, d);
    for (int i = 0; i < params.numberOfStars && i < kMaxStars; ++i) {
        list.starOffset[i] = OffsetBetween(list.starCentroidOffset[i], d);
    }
}

bool MeasureObjects(MeasureTarget& t) {
    ObjectList& list = t.objects;
    if (t.params.centringMode == CentringMode::Manual) {
        if (!BackgroundStep(t, BackgroundMode::Plain)) {
            return false;
        }
        if (list.asteroidSelected) {
            list.asteroidCentroid = {static_cast<float>(list.asteroidPosition.x),
                                     static_cast<float>(list.asteroidPosition.y)};
        }
        for (int i = 0; i < t.params.numberOfStars && i < kMaxStars; ++i) {
            PixelPoint p = MoveBy(list.referencePosition, list.starOffset[i]);
            list.starPosition[i] = {static_cast<float>(p.x), static_cast<float>(p.y)};
        }
    } else {
        AdoptCentroids(list, t.params);
    }
    list.centred = false;

    // Two clipped passes; what they fail on is shown and does not stop the run.
    BackgroundStep(t, BackgroundMode::Clipped);
    BackgroundStep(t, BackgroundMode::Clipped);

    if (t.header.exposure == 0) {
        t.host.ShowMessage(kDoCaption, "Warning - Zero exposure time", MessageIcon::Warning);
        t.header.exposure = 10;  // tenths of a second
    }
    if (list.asteroidSelected && !IntegrateAsteroid(t)) {
        return false;
    }
    IntegrateStars(t);
    return true;
}

bool RunMeasuringSteps(MeasureTarget& t) { return LocateObjects(t) && MeasureObjects(t); }

}  // namespace corvane
