#pragma once
// Synthetic list files for the lightcurve work, written by the program's own record
// writer from known fluxes: a rotating asteroid of known period, amplitude and phase,
// observed on several nights, each against its own comparison stars (so each night has
// its own zero point), with noise drawn from the signal-to-noise ratios printed beside
// the fluxes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::test {

struct SceneNight {
    std::int32_t start = 0;  // Unix time of the first frame
    int frames = 0;
    int cadence = 0;                // seconds from frame to frame
    std::vector<double> starFlux;   // true flux rates of stars 1, 2, ..., DN/s
    double fieldX = 0, fieldY = 0;  // where the first star stands; the others follow it
};

struct LightcurveScene {
    std::string object = "1999 CZ1";
    int filterCode = 4;     // R
    double exposure = 60;   // seconds
    double gain = 2;        // electrons per DN
    double skyNoise = 400;  // electrons of background noise in one aperture
    unsigned seed = 14;
    bool noise = true;

    double periodHours = 0;
    double t0Jd = 0;  // JD of phase 0
    // The asteroid's magnitude about its mean: sum_n A_n cos(2 pi n phase) + B_n sin(...)
    std::vector<std::array<double, 2>> shape;
    double asteroidFlux = 0;  // DN/s at magnitude offset 0

    std::vector<SceneNight> nights;
    int variableStar = 0;            // a star whose light varies; 0 for none
    double variableAmplitude = 0.1;  // magnitudes, half range
    double variablePeriodHours = 3.1;
    // Frames (counted over all nights from 0) whose asteroid was not measured.
    std::vector<int> failedFrames;
};

// Three nights of 2001 January, 120 frames each at a 4-minute cadence, a 6.25 h asteroid
// of four harmonics (amplitude about 0.5 mag) and three, four and three stars.
LightcurveScene ThreeNightScene();

// The asteroid's magnitude offset at `jd`: the shape at the rotation's phase.
double SceneAsteroidMagnitude(const LightcurveScene& scene, double jd);

// The true differential zero point of `night` against the ensemble of its stars
// `stars` (numbers from 1): -2.5 log10(asteroidFlux / sum of their fluxes).
double SceneZeroPoint(const LightcurveScene& scene, int night, const std::vector<int>& stars);

// One list record per frame in time order, each as the writer builds it.
std::vector<std::string> SceneRecords(const LightcurveScene& scene);

// All records of the scene, one after another.
std::string SceneListText(const LightcurveScene& scene);

}  // namespace corvane::test
