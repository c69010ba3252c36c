#include "lightcurve/period_search.h"

#include <algorithm>
#include <cmath>

#include "lightcurve/lightcurve.h"

namespace corvane {

namespace {

// The amplitude is taken over this many equal phases of one cycle.
constexpr int kAmplitudePhases = 1000;
// The best grid frequency is refined to this fraction of the resolution or better.
constexpr double kRefineFraction = 1.0 / 1000;
// chi'' is taken by central differences of this fraction of the resolution.
constexpr double kCurvatureStep = 1.0 / 100;
// Each round of the refinement tries this many steps on either side of the best so far,
// each a tenth of the previous round's.
constexpr int kRefineSteps = 10;

double Amplitude(const std::vector<std::array<double, 2>>& coefficients) {
    double low = 0, high = 0;
    for (int i = 0; i < kAmplitudePhases; ++i) {
        const double v = FourierSum(coefficients, static_cast<double>(i) / kAmplitudePhases);
        if (i == 0 || v < low) {
            low = v;
        }
        if (i == 0 || v > high) {
            high = v;
        }
    }
    return high - low;
}

}  // namespace

PeriodSearchInput PeriodInputOf(const Lightcurve& curve, int order, double minHours,
                                double maxHours) {
    PeriodSearchInput input;
    for (const LightcurvePoint& p : curve.points) {
        input.points.push_back({p.jd, p.mag, p.err, p.session});
    }
    input.sessions = static_cast<int>(curve.sessions.size());
    input.order = order;
    input.minHours = minHours;
    input.maxHours = maxHours;
    return input;
}

std::string TooFewPointsReason(int order) {
    return "too few points for order " + std::to_string(order);
}

double FrequencyResolution(int order, double spanDays) {
    return 1 / (20 * order * spanDays);
}

namespace {

// The fitter of `in`, or the reason the points cannot be fitted at its order. `r` receives
// the order, t0 and the reason.
std::optional<FourierFitter> FitterOf(const PeriodSearchInput& in, PeriodResult& r) {
    r.order = in.order;
    if (in.order < kMinOrder || in.order > kMaxOrder) {
        r.reason = "the order must be 1 to 10";
        return std::nullopt;
    }
    FourierFitter fitter(in.points, in.sessions, in.order);
    r.t0 = fitter.t0();
    const std::size_t K = fitter.SessionsWithPoints() + 2 * static_cast<std::size_t>(in.order);
    if (fitter.Points() <= K) {
        r.reason = TooFewPointsReason(in.order);
        return std::nullopt;
    }
    return fitter;
}

// The fit at frequency f into `r`: period, rms, zero points, coefficients and amplitude.
FourierFit TakeFit(FourierFitter& fitter, double f, PeriodResult& r) {
    FourierFit fit = fitter.Fit(f);
    r.found = true;
    r.frequency = f;
    r.hours = kHoursPerDay / f;
    r.rms = std::sqrt(fit.chi2 / fitter.SumWeights());
    r.zeroPoints = fit.zeroPoints;
    r.coefficients = fit.coefficients;
    r.amplitude = Amplitude(fit.coefficients);
    return fit;
}

}  // namespace

PeriodResult SearchPeriod(const PeriodSearchInput& in, const PeriodSearchControl& control) {
    PeriodResult r;
    if (!(in.minHours > 0) || !(in.maxHours >= in.minHours) || !std::isfinite(in.maxHours)) {
        r.order = in.order;
        r.reason = "unusable period range";
        return r;
    }
    std::optional<FourierFitter> usable = FitterOf(in, r);
    if (!usable) {
        return r;
    }
    FourierFitter& fitter = *usable;
    const std::size_t N = fitter.Points();
    const std::size_t K = fitter.SessionsWithPoints() + 2 * static_cast<std::size_t>(in.order);
    const double T = fitter.Span();
    if (!(T > 0)) {
        r.reason = "the points span no time";
        return r;
    }

    // Grid: f from 24 / Pmax to 24 / Pmin in equal steps of at most df, both ends included.
    const double df = FrequencyResolution(in.order, T);
    const double fLow = kHoursPerDay / in.maxHours;
    const double fHigh = kHoursPerDay / in.minHours;
    const double intervals = std::ceil((fHigh - fLow) / df);
    const std::size_t count = static_cast<std::size_t>(intervals) + 1;
    const double step = intervals > 0 ? (fHigh - fLow) / intervals : 0;
    std::vector<double> chi2(count);
    const auto keepGoing = [&](std::size_t done) {
        if (control.cancel != nullptr && control.cancel->load()) {
            return false;
        }
        if (control.progress) {
            control.progress(static_cast<double>(done) / static_cast<double>(count));
        }
        return true;
    };
    if (fitter.Sweep(fLow, step, count, chi2.data(), keepGoing) < count) {
        r.cancelled = true;
        r.reason = "cancelled";
        return r;
    }
    const double sumW = fitter.SumWeights();
    for (std::size_t i = 0; i < count; ++i) {
        const double f = fLow + static_cast<double>(i) * step;
        r.spectrum.push_back({f, kHoursPerDay / f, std::sqrt(chi2[i] / sumW)});
    }

    // Best grid frequency, refined between its neighbours in rounds of tenths.
    const std::size_t best =
        static_cast<std::size_t>(std::min_element(chi2.begin(), chi2.end()) - chi2.begin());
    double f = r.spectrum[best].frequency;
    double fChi2 = chi2[best];
    for (double sub = step; sub > df * kRefineFraction;) {
        sub /= kRefineSteps;
        const double centre = f;
        for (int j = -kRefineSteps; j <= kRefineSteps; ++j) {
            const double trial = centre + j * sub;
            if (j == 0 || trial < fLow || trial > fHigh) {
                continue;
            }
            const double v = fitter.Chi2(trial);
            if (v < fChi2) {
                fChi2 = v;
                f = trial;
            }
        }
    }

    const FourierFit fit = TakeFit(fitter, f, r);

    // sigma_f = sqrt(2 s^2 / chi''(f)), s^2 = chi^2_min / (N - K); sigma_P = 24 sigma_f / f^2
    const double nu = static_cast<double>(N - K);
    const double s2 = fit.chi2 / nu;
    const double h = df * kCurvatureStep;
    const double curvature = (fitter.Chi2(f + h) - 2 * fit.chi2 + fitter.Chi2(f - h)) / (h * h);
    if (curvature > 0 && std::isfinite(curvature)) {
        const double sigmaF = std::sqrt(2 * s2 / curvature);
        r.sigmaHours = kHoursPerDay * sigmaF / (f * f);
    }

    for (double aliasF : {2 * f, f / 2}) {
        r.aliases.push_back({aliasF, kHoursPerDay / aliasF, std::sqrt(fitter.Chi2(aliasF) / sumW)});
    }
    if (control.progress) {
        control.progress(1);
    }
    return r;
}

PeriodResult FitAtPeriod(const PeriodSearchInput& in, double hours) {
    PeriodResult r;
    if (!(hours > 0) || !std::isfinite(hours)) {
        r.order = in.order;
        r.reason = "unusable period";
        return r;
    }
    if (std::optional<FourierFitter> fitter = FitterOf(in, r)) {
        TakeFit(*fitter, kHoursPerDay / hours, r);
    }
    return r;
}

std::vector<PhasedPoint> PhasedPoints(const PeriodSearchInput& input, const PeriodResult& r) {
    std::vector<PhasedPoint> phased;
    if (!r.found) {
        return phased;
    }
    for (const FitPoint& p : input.points) {
        const std::size_t s = static_cast<std::size_t>(p.session - 1);
        const double zero = s < r.zeroPoints.size() && r.zeroPoints[s] ? *r.zeroPoints[s] : 0;
        phased.push_back({PhaseOf(p.jd, r.t0, r.frequency), p.mag - zero, p.err, p.session});
    }
    return phased;
}

}  // namespace corvane
