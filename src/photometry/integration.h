#pragma once
// Aperture integration: net flux, flux per second, signal-to-noise ratio, pixel count and
// clip count of the asteroid and of every selected star.

#include "photometry/measure_target.h"

namespace corvane {

// The noise model of a net flux F (DN) summed over npix pixels with background mean M,
// sigma and count Nb, gain G (e-/DN), bias B (DN) and bzero Z:
//   SNR = F / sqrt(F / G + npix sigma^2 (1 + 1 / Nb) + (0.0002 npix G (M + Z - B))^2).
// Where it has no finite positive variance (G not above 0, Nb = 0, or a negative net
// flux larger than the noise) the SNR is reported as 0, as for an object that could not
// be measured.
double SignalToNoise(double F, int npix, double M, double sigma, int Nb, double G, double Z,
                     double B);

// Around the asteroid position with the asteroid aperture. Fails, with its message, when
// the aperture leaves the picture or holds an out-of-range pixel.
bool IntegrateAsteroid(MeasureTarget& target);

// Around reference position + offset of each selected star, with the star aperture. A
// star whose aperture leaves the picture or holds an out-of-range pixel gets zero flux
// rate, SNR, npix and clip; the others follow.
void IntegrateStars(MeasureTarget& target);

}  // namespace corvane
