// The period search on three nights of a rotating asteroid with real third and fourth
// harmonics: the period within its stated uncertainty, the shape's amplitude, the nights'
// zero points, and the grid of trial frequencies.

#include <gtest/gtest.h>

#include <cmath>

#include "lightcurve/lightcurve.h"
#include "lightcurve/period_search.h"
#include "support/lightcurve_scene.h"

namespace corvane::test {
namespace {

Lightcurve CurveOf(const LightcurveScene& scene, const LightcurveOptions& options = {}) {
    RecordSet set;
    ListFileProblem problem;
    EXPECT_TRUE(AddListText(set, SceneListText(scene), "scene.lis", problem)) << problem.Text();
    Lightcurve curve;
    std::string error;
    EXPECT_TRUE(ComputeLightcurve(set, options, curve, error)) << error;
    return curve;
}

// The scene's peak-to-peak over one rotation, sampled as finely as the search samples it.
double TrueAmplitude(const LightcurveScene& scene) {
    double low = 1e9, high = -1e9;
    for (int i = 0; i < 1000; ++i) {
        const double jd = scene.t0Jd + scene.periodHours / 24 * i / 1000.0;
        low = std::min(low, SceneAsteroidMagnitude(scene, jd));
        high = std::max(high, SceneAsteroidMagnitude(scene, jd));
    }
    return high - low;
}

TEST(PeriodSearch, RecoversPeriodShapeAndZeroPointsOfThreeNights) {
    const LightcurveScene scene = ThreeNightScene();
    const Lightcurve curve = CurveOf(scene);
    const PeriodSearchInput input = PeriodInputOf(curve);
    const PeriodResult r = SearchPeriod(input);
    ASSERT_TRUE(r.found) << r.reason;
    ASSERT_TRUE(r.sigmaHours);
    EXPECT_LT(std::abs(r.hours - scene.periodHours), 2 * *r.sigmaHours);
    EXPECT_LT(*r.sigmaHours, 0.002);
    EXPECT_NEAR(r.amplitude, TrueAmplitude(scene), 0.01);
    // Half and double the period fit clearly worse: the shape has real 3rd and 4th harmonics.
    ASSERT_EQ(r.aliases.size(), 2u);
    EXPECT_NEAR(r.aliases[0].hours, scene.periodHours / 2, 0.01);
    EXPECT_NEAR(r.aliases[1].hours, scene.periodHours * 2, 0.01);
    EXPECT_GT(r.aliases[0].rms, 3 * r.rms);
    EXPECT_GT(r.aliases[1].rms, 1.5 * r.rms);

    // Each night's zero point is its comparison stars' against the asteroid's mean flux.
    ASSERT_EQ(r.zeroPoints.size(), 3u);
    for (int night = 0; night < 3; ++night) {
        ASSERT_TRUE(r.zeroPoints[night]);
        EXPECT_NEAR(*r.zeroPoints[night], SceneZeroPoint(scene, night, curve.sessions[night].comps),
                    0.003)
            << night;
    }
    // The fitted curve follows the true shape at every point's phase.
    for (const LightcurvePoint& p : curve.points) {
        const double fitted = FourierSum(r.coefficients, PhaseOf(p.jd, r.t0, r.frequency));
        EXPECT_NEAR(fitted, SceneAsteroidMagnitude(scene, p.jd), 0.01);
    }

    // Folded on the period with the zero points taken off, the points scatter about the
    // Fourier sum exactly as the fit says.
    double chi2 = 0, sumW = 0;
    for (const PhasedPoint& p : PhasedPoints(input, r)) {
        const double residual = p.mag - FourierSum(r.coefficients, p.phase);
        chi2 += residual * residual / (p.err * p.err);
        sumW += 1 / (p.err * p.err);
    }
    EXPECT_NEAR(std::sqrt(chi2 / sumW), r.rms, 1e-9);
    // A period the user types is fitted by the same model: at the best one, the same fit.
    const PeriodResult typed = FitAtPeriod(input, r.hours);
    ASSERT_TRUE(typed.found);
    EXPECT_NEAR(typed.rms, r.rms, 1e-12);
    EXPECT_NEAR(typed.amplitude, r.amplitude, 1e-12);
    EXPECT_EQ(typed.t0, r.t0);

    // The grid runs from 24/30 to 24/2 cycles a day in equal steps of at most 1/(20 M T).
    const double T = curve.points.back().jd - curve.points.front().jd;
    ASSERT_GT(r.spectrum.size(), 2u);
    EXPECT_DOUBLE_EQ(r.spectrum.front().frequency, 24.0 / 30);
    EXPECT_NEAR(r.spectrum.back().frequency, 24.0 / 2, 1e-9);
    const double step = r.spectrum[1].frequency - r.spectrum[0].frequency;
    EXPECT_LE(step, 1 / (20 * 4 * T) * (1 + 1e-9));
    EXPECT_GT(step, 1 / (20 * 4 * T) * 0.99);
}

TEST(PeriodSearch, TooFewPointsForTheOrderGiveNoPeriod) {
    LightcurveScene scene = ThreeNightScene();
    for (SceneNight& night : scene.nights) {
        night.frames = 3;
    }
    const Lightcurve curve = CurveOf(scene);
    // 9 points: order 3 has 3 + 6 unknowns, too many; order 2 has 3 + 4.
    EXPECT_FALSE(SearchPeriod(PeriodInputOf(curve, 3)).found);
    EXPECT_EQ(SearchPeriod(PeriodInputOf(curve, 3)).reason, "too few points for order 3");
    EXPECT_EQ(FitAtPeriod(PeriodInputOf(curve, 3), 6.25).reason, "too few points for order 3");
    EXPECT_TRUE(SearchPeriod(PeriodInputOf(curve, 2)).found);
}

TEST(PeriodSearch, DegenerateInputsGiveNoNumbersThatAreNotNumbers) {
    // A flat curve fits every period equally: no curvature, so no uncertainty.
    PeriodSearchInput flat;
    flat.sessions = 1;
    for (int k = 0; k < 40; ++k) {
        flat.points.push_back({2451925.3 + 0.01 * k, 1.5, 0.01, 1});
    }
    const PeriodResult r = SearchPeriod(flat);
    ASSERT_TRUE(r.found);
    EXPECT_FALSE(r.sigmaHours);
    EXPECT_EQ(r.amplitude, 0);
    EXPECT_EQ(*r.zeroPoints[0], 1.5);
    // Points all at one time span no frequency resolution at all.
    PeriodSearchInput instant = flat;
    for (FitPoint& p : instant.points) {
        p.jd = 2451925.3;
    }
    EXPECT_EQ(SearchPeriod(instant).reason, "the points span no time");
}

TEST(PeriodSearch, ReportsProgressAndStopsWhenCancelled) {
    const Lightcurve curve = CurveOf(ThreeNightScene());
    std::atomic<bool> cancel{false};
    double last = 0;
    PeriodSearchControl control;
    control.cancel = &cancel;
    control.progress = [&](double fraction) {
        EXPECT_GE(fraction, last);
        last = fraction;
        if (fraction > 0.3) {
            cancel = true;
        }
    };
    const PeriodResult r = SearchPeriod(PeriodInputOf(curve), control);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.found);
    EXPECT_GT(last, 0.3);
    EXPECT_LT(last, 1);
}

}  // namespace
}  // namespace corvane::test
