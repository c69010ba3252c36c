#pragma once
// The period search: the Fourier series with per-session zero points fitted over a grid of
// trial frequencies, the best one refined, with its uncertainty, the amplitude of the
// fitted curve and the spectrum values at the half and double period.
//
// The search works on its own copy of the points, so it may run on a worker thread while
// the caller keeps its lightcurve; progress and cancelling go through PeriodSearchControl.

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lightcurve/fourier_fit.h"

namespace corvane {

struct Lightcurve;

inline constexpr int kMinOrder = 1;
inline constexpr int kMaxOrder = 10;
inline constexpr int kDefaultOrder = 4;
inline constexpr double kDefaultMinHours = 2;
inline constexpr double kDefaultMaxHours = 30;
inline constexpr double kHoursPerDay = 24;

struct PeriodSearchInput {
    std::vector<FitPoint> points;
    int sessions = 0;                    // session numbers run from 1 to this
    int order = kDefaultOrder;           // M
    double minHours = kDefaultMinHours;  // Pmin
    double maxHours = kDefaultMaxHours;  // Pmax
};

// The points of a lightcurve as the search takes them.
PeriodSearchInput PeriodInputOf(const Lightcurve& curve, int order = kDefaultOrder,
                                double minHours = kDefaultMinHours,
                                double maxHours = kDefaultMaxHours);

struct PeriodSearchControl {
    const std::atomic<bool>* cancel = nullptr;      // set to true to stop the search
    std::function<void(double fraction)> progress;  // 0 to 1, called from the searching thread
};

struct SpectrumValue {
    double frequency = 0;  // cycles per day
    double hours = 0;      // 24 / frequency
    double rms = 0;        // weighted rms sqrt(chi^2 / sum w)
};

struct PeriodResult {
    bool found = false;
    std::string reason;  // why there is no period
    bool cancelled = false;
    int order = 0;
    double t0 = 0;  // JD the phases count from: the first point's

    double frequency = 0;  // refined best, cycles per day
    double hours = 0;
    std::optional<double> sigmaHours;  // none where chi^2 has no minimum's curvature
    double amplitude = 0;              // max - min of the fitted Fourier sum, magnitudes
    double rms = 0;                    // weighted rms at the best frequency
    std::vector<std::optional<double>> zeroPoints;    // per session; none without points
    std::vector<std::array<double, 2>> coefficients;  // [A_n, B_n]
    std::vector<SpectrumValue> spectrum;              // the grid, frequency rising
    std::vector<SpectrumValue> aliases;               // at P / 2 and 2 P
};

// "too few points for order M"
std::string TooFewPointsReason(int order);

// The grid step: at most 1 / (20 M T), T the span of the points in days.
double FrequencyResolution(int order, double spanDays);

PeriodResult SearchPeriod(const PeriodSearchInput& input, const PeriodSearchControl& control = {});

// The fit at a period the user names, in hours: the zero points, coefficients, amplitude
// and rms as the search gives them at its best period, without a spectrum, an uncertainty
// or aliases.
PeriodResult FitAtPeriod(const PeriodSearchInput& input, double hours);

// A point folded on the period, its session's zero point taken off, for the phased curve
// drawn against FourierSum.
struct PhasedPoint {
    double phase = 0;  // cycles from t0, in [0, 1)
    double mag = 0;    // mag - Z_s
    double err = 0;
    int session = 0;
};
std::vector<PhasedPoint> PhasedPoints(const PeriodSearchInput& input, const PeriodResult& result);

}  // namespace corvane
