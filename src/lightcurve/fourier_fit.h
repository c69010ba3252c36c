#pragma once
// The weighted least-squares fit of a Fourier series with one zero point per session, at
// one trial frequency or along an evenly spaced run of them:
//
//   mag_k ~ Z_s(k) + sum_{n=1..M} [ A_n cos(2 pi n f (JD_k - t0)) + B_n sin(2 pi n f (JD_k - t0)) ]
//
// with weights w_k = 1 / err_k^2. The zero points are eliminated before the solve: with
// each session's weighted means taken out of the magnitudes and of the harmonic terms, the
// 2M coefficients follow from a 2M-square system, and each Z_s is then the weighted mean of
// its session's residuals from the Fourier sum.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace corvane {

// One point of the fit. `session` numbers run from 1.
struct FitPoint {
    double jd = 0;
    double mag = 0;
    double err = 0;
    int session = 0;
};

struct FourierFit {
    double frequency = 0;                             // cycles per day
    double chi2 = 0;                                  // sum w_k r_k^2
    std::vector<std::array<double, 2>> coefficients;  // [A_n, B_n], n = 1..M
    std::vector<std::optional<double>> zeroPoints;    // per session; none without points
};

// The points prepared once for fits at many frequencies: times from t0, weights, and
// magnitudes less their session's weighted mean, grouped by session.
class FourierFitter {
public:
    // `sessions`: the highest session number; `order` M from 1 to 10.
    FourierFitter(const std::vector<FitPoint>& points, int sessions, int order);

    double t0() const { return t0_; }
    double Span() const { return span_; }  // last JD - first JD, days
    double SumWeights() const { return sumW_; }
    std::size_t Points() const { return tau_.size(); }
    std::size_t SessionsWithPoints() const { return begin_.size() - 1; }

    // chi^2 at frequency f (cycles per day).
    double Chi2(double f);
    // The whole fit at f.
    FourierFit Fit(double f);
    // chi^2 at f0, f0 + step, ... (`count` values into `chi2`). The angles advance by a
    // rotation per point instead of a sine and cosine per point and frequency.
    // `keepGoing(done)` is asked every few hundred frequencies; when it says false the
    // sweep ends. Returns how many values were filled.
    std::size_t Sweep(double f0, double step, std::size_t count, double* chi2,
                      const std::function<bool(std::size_t done)>& keepGoing);

private:
    void SetAngles(double f);
    // chi^2 at the current angles; the coefficients A1, B1, A2, ... into `c` when given.
    double Solve(double* c);

    int order_ = 0;
    int sessions_ = 0;
    double t0_ = 0, span_ = 0;
    std::vector<double> tau_;  // JD - t0, days
    std::vector<double> w_;    // 1 / err^2
    std::vector<double> m_;    // magnitudes
    std::vector<double> mt_;   // magnitude less its session's weighted mean
    // The points of the i-th session with points are [begin_[i], begin_[i + 1]).
    std::vector<std::size_t> begin_;
    std::vector<int> sessionOf_;  // session number of the i-th session with points
    std::vector<double> W_;       // sum of weights per session with points
    double sumW_ = 0;
    double sumWmt2_ = 0;               // sum w mt^2
    std::vector<double> cos1_, sin1_;  // cos and sin of 2 pi f tau at the current f
};

// Cycles of `jd` from t0 at frequency f, in [0, 1).
double PhaseOf(double jd, double t0, double frequency);

// The Fourier sum at `phase` (cycles), zero points left out:
//   sum_n A_n cos(2 pi n phase) + B_n sin(2 pi n phase)
double FourierSum(const std::vector<std::array<double, 2>>& coefficients, double phase);

}  // namespace corvane
