#pragma once
// Times and differential magnitudes of the lightcurve.

#include <cstdint>
#include <vector>

#include "lightcurve/list_record.h"

namespace corvane {

// Julian date of the Unix epoch, and days per second.
inline constexpr double kUnixEpochJd = 2440587.5;
inline constexpr double kSecondsPerDay = 86400;
// Light time over one astronomical unit, in days.
inline constexpr double kLightDaysPerAu = 0.0057755183;

// JD (UTC, mid-exposure) = 2440587.5 + t / 86400.
double JulianDate(std::int32_t unixTime);

// LTCDAYS = -Delta x 0.0057755183, Delta the asteroid-observer distance in AU.
double LtcDaysOfDelta(double deltaAu);

// A flux rate F (DN/s) with its signal-to-noise ratio S.
struct Flux {
    double F = 0;
    double S = 0;
};

struct Magnitude {
    double mag = 0;
    double err = 0;
};

// Whether an object gives a flux here: it has a row, with F > 0 and S > 0.
bool UsableRow(const ListRow* row);

// The target against the ensemble C:
//   FC  = sum Fi,  VC = sum (Fi / Si)^2
//   mag = -2.5 log10(Fa / FC)
//   err = (2.5 / ln 10) sqrt(1 / Sa^2 + VC / FC^2)
Magnitude DifferentialMagnitude(Flux target, const std::vector<Flux>& ensemble);

}  // namespace corvane
