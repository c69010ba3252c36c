#include "lightcurve/fourier_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr int kMaxUnknowns = 20;  // 2M for the highest order
// The sweep recomputes its angles directly this often, so that rounding in the rotations
// never accumulates over more than this many steps.
constexpr std::size_t kSweepResync = 256;
// A Cholesky pivot below this fraction of its diagonal means the column is spanned by the
// earlier ones (e.g. a frequency at which the points fall on few phases).
constexpr double kPivotTolerance = 1e-12;

// What one solve reads.
struct SolveView {
    const double* w;
    const double* mt;
    const double* c1;
    const double* s1;
    const std::size_t* begin;
    std::size_t sessions;
    const double* W;
};

// Solves G c = b, G symmetric positive semi-definite with its upper triangle given
// (G[i * P + j], j >= i), by Cholesky. A vanishing pivot leaves its coefficient 0, which
// is a least-squares solution still. Returns b . c (= y . y with L y = b).
double CholeskySolve(int P, const double* G, const double* b, double* c) {
    double L[kMaxUnknowns][kMaxUnknowns] = {};
    bool skip[kMaxUnknowns] = {};
    for (int j = 0; j < P; ++j) {
        double d = G[j * P + j];
        for (int k = 0; k < j; ++k) {
            d -= L[j][k] * L[j][k];
        }
        if (!(d > kPivotTolerance * G[j * P + j])) {
            skip[j] = true;
            continue;
        }
        L[j][j] = std::sqrt(d);
        for (int i = j + 1; i < P; ++i) {
            double x = G[j * P + i];
            for (int k = 0; k < j; ++k) {
                x -= L[i][k] * L[j][k];
            }
            L[i][j] = x / L[j][j];
        }
    }
    double y[kMaxUnknowns] = {};
    double yy = 0;
    for (int i = 0; i < P; ++i) {
        if (skip[i]) {
            continue;
        }
        double x = b[i];
        for (int k = 0; k < i; ++k) {
            x -= L[i][k] * y[k];
        }
        y[i] = x / L[i][i];
        yy += y[i] * y[i];
    }
    if (c != nullptr) {
        for (int i = P - 1; i >= 0; --i) {
            if (skip[i]) {
                c[i] = 0;
                continue;
            }
            double x = y[i];
            for (int k = i + 1; k < P; ++k) {
                x -= L[k][i] * c[k];
            }
            c[i] = x / L[i][i];
        }
    }
    return yy;
}

// The reduced normal equations for order M, then their solution. Per point the harmonic
// terms h = (cos theta, sin theta, cos 2 theta, ...) come from the first by angle
// addition. G = sum w h h^T less, per session, S S^T / W with S = sum w h; the right side
// b = sum w mt h needs no such term because mt has weighted mean 0 in every session.
template <int M>
double SolveOrder(const SolveView& v, double* c) {
    constexpr int P = 2 * M;
    double G[P * P] = {};
    double b[P] = {};
    for (std::size_t s = 0; s < v.sessions; ++s) {
        double S[P] = {};
        for (std::size_t k = v.begin[s]; k < v.begin[s + 1]; ++k) {
            double h[P];
            h[0] = v.c1[k];
            h[1] = v.s1[k];
            for (int n = 1; n < M; ++n) {
                h[2 * n] = h[2 * n - 2] * h[0] - h[2 * n - 1] * h[1];
                h[2 * n + 1] = h[2 * n - 1] * h[0] + h[2 * n - 2] * h[1];
            }
            const double w = v.w[k];
            const double mt = v.mt[k];
            for (int i = 0; i < P; ++i) {
                const double u = w * h[i];
                for (int j = i; j < P; ++j) {
                    G[i * P + j] += u * h[j];
                }
                b[i] += mt * u;
                S[i] += u;
            }
        }
        const double invW = 1 / v.W[s];
        for (int i = 0; i < P; ++i) {
            for (int j = i; j < P; ++j) {
                G[i * P + j] -= S[i] * S[j] * invW;
            }
        }
    }
    return CholeskySolve(P, G, b, c);
}

template <int... Ms>
double SolveDispatch(int order, const SolveView& v, double* c, std::integer_sequence<int, Ms...>) {
    double chi = 0;
    ((order == Ms + 1 ? (chi = SolveOrder<Ms + 1>(v, c), true) : false) || ...);
    return chi;
}

}  // namespace

double PhaseOf(double jd, double t0, double frequency) {
    const double cycles = frequency * (jd - t0);
    return cycles - std::floor(cycles);
}

double FourierSum(const std::vector<std::array<double, 2>>& coefficients, double phase) {
    double sum = 0;
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        const double n = static_cast<double>(i + 1);
        sum += coefficients[i][0] * std::cos(kTwoPi * n * phase) +
               coefficients[i][1] * std::sin(kTwoPi * n * phase);
    }
    return sum;
}

FourierFitter::FourierFitter(const std::vector<FitPoint>& points, int sessions, int order)
    : order_(order), sessions_(sessions) {
    std::vector<FitPoint> sorted = points;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const FitPoint& a, const FitPoint& b) { return a.session < b.session; });
    if (!sorted.empty()) {
        auto [first, last] =
            std::minmax_element(sorted.begin(), sorted.end(),
                                [](const FitPoint& a, const FitPoint& b) { return a.jd < b.jd; });
        t0_ = first->jd;
        span_ = last->jd - first->jd;
    }
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        const FitPoint& p = sorted[k];
        if (k == 0 || p.session != sorted[k - 1].session) {
            begin_.push_back(k);
            sessionOf_.push_back(p.session);
            W_.push_back(0);
        }
        tau_.push_back(p.jd - t0_);
        w_.push_back(1 / (p.err * p.err));
        m_.push_back(p.mag);
        W_.back() += w_.back();
        sumW_ += w_.back();
    }
    begin_.push_back(sorted.size());
    mt_.resize(m_.size());
    for (std::size_t s = 0; s + 1 < begin_.size(); ++s) {
        double sumWm = 0;
        for (std::size_t k = begin_[s]; k < begin_[s + 1]; ++k) {
            sumWm += w_[k] * m_[k];
        }
        const double mean = sumWm / W_[s];
        for (std::size_t k = begin_[s]; k < begin_[s + 1]; ++k) {
            mt_[k] = m_[k] - mean;
            sumWmt2_ += w_[k] * mt_[k] * mt_[k];
        }
    }
    cos1_.resize(tau_.size());
    sin1_.resize(tau_.size());
}

void FourierFitter::SetAngles(double f) {
    for (std::size_t k = 0; k < tau_.size(); ++k) {
        const double theta = kTwoPi * PhaseOf(tau_[k], 0, f);
        cos1_[k] = std::cos(theta);
        sin1_[k] = std::sin(theta);
    }
}

double FourierFitter::Solve(double* c) {
    const SolveView view{w_.data(),     mt_.data(),           cos1_.data(), sin1_.data(),
                         begin_.data(), SessionsWithPoints(), W_.data()};
    const double explained =
        SolveDispatch(order_, view, c, std::make_integer_sequence<int, kMaxUnknowns / 2>());
    // chi^2 = sum w mt^2 - b . c, never below 0 for a fit that is exact up to rounding.
    return std::max(0.0, sumWmt2_ - explained);
}

double FourierFitter::Chi2(double f) {
    SetAngles(f);
    return Solve(nullptr);
}

FourierFit FourierFitter::Fit(double f) {
    FourierFit fit;
    fit.frequency = f;
    SetAngles(f);
    double c[kMaxUnknowns] = {};
    fit.chi2 = Solve(c);
    for (int n = 0; n < order_; ++n) {
        fit.coefficients.push_back({c[2 * n], c[2 * n + 1]});
    }
    // Z_s = sum_{k in s} w_k (mag_k - Fourier sum_k) / W_s
    fit.zeroPoints.assign(static_cast<std::size_t>(std::max(sessions_, 0)), std::nullopt);
    for (std::size_t s = 0; s < SessionsWithPoints(); ++s) {
        double sum = 0;
        for (std::size_t k = begin_[s]; k < begin_[s + 1]; ++k) {
            sum += w_[k] * (m_[k] - FourierSum(fit.coefficients, PhaseOf(tau_[k], 0, f)));
        }
        const int number = sessionOf_[s];
        if (number >= 1 && number <= sessions_) {
            fit.zeroPoints[static_cast<std::size_t>(number - 1)] = sum / W_[s];
        }
    }
    return fit;
}

std::size_t FourierFitter::Sweep(double f0, double step, std::size_t count, double* chi2,
                                 const std::function<bool(std::size_t done)>& keepGoing) {
    std::vector<double> rc(tau_.size()), rs(tau_.size());
    for (std::size_t k = 0; k < tau_.size(); ++k) {
        const double delta = kTwoPi * PhaseOf(tau_[k], 0, step);
        rc[k] = std::cos(delta);
        rs[k] = std::sin(delta);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (i % kSweepResync == 0) {
            if (i > 0 && keepGoing && !keepGoing(i)) {
                return i;
            }
            SetAngles(f0 + static_cast<double>(i) * step);
        } else {
            for (std::size_t k = 0; k < tau_.size(); ++k) {
                const double c = cos1_[k], s = sin1_[k];
                cos1_[k] = c * rc[k] - s * rs[k];
                sin1_[k] = s * rc[k] + c * rs[k];
            }
        }
        chi2[i] = Solve(nullptr);
    }
    return count;
}

}  // namespace corvane
