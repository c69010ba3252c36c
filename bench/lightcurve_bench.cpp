// The period search over 1,000 points in 3 sessions, 2-30 h, order 4, beside a baseline in
// the same run: the textbook weighted least-squares solve of one trial period (design
// row with a sine and cosine per harmonic, full normal matrix with the zero points as
// unknowns, Gaussian elimination), times the number of trial periods of the search's grid.
// "x_baseline" is the search's time over that product (elapsed; "_cpu": processor time).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <numbers>
#include <utility>
#include <vector>

#include "lightcurve/lightcurve.h"
#include "lightcurve/period_search.h"
#include "support/lightcurve_scene.h"

namespace corvane {
namespace {

const PeriodSearchInput& Input() {
    static const PeriodSearchInput input = [] {
        test::LightcurveScene scene = test::ThreeNightScene();
        for (std::size_t n = 0; n < scene.nights.size(); ++n) {
            scene.nights[n].frames = n < 2 ? 333 : 334;
            scene.nights[n].cadence = 86;
        }
        RecordSet set;
        ListFileProblem problem;
        AddListText(set, test::SceneListText(scene), "bench.lis", problem);
        Lightcurve curve;
        std::string error;
        ComputeLightcurve(set, {}, curve, error);
        return PeriodInputOf(curve, 4, 2, 30);
    }();
    return input;
}

// chi^2 of the weighted least-squares fit at frequency f, solved directly.
double TextbookChi2(const PeriodSearchInput& in, double f) {
    const int S = in.sessions, M = in.order, K = S + 2 * M;
    const double t0 = in.points.front().jd;
    std::vector<double> A(static_cast<std::size_t>(K * K)), b(static_cast<std::size_t>(K));
    std::vector<double> row(static_cast<std::size_t>(K));
    const auto at = [K](int i, int j) { return static_cast<std::size_t>(i * K + j); };
    auto design = [&](const FitPoint& p) {
        std::fill(row.begin(), row.end(), 0.0);
        row[static_cast<std::size_t>(p.session - 1)] = 1;
        for (int n = 1; n <= M; ++n) {
            const double angle = 2 * std::numbers::pi * n * f * (p.jd - t0);
            row[static_cast<std::size_t>(S + 2 * n - 2)] = std::cos(angle);
            row[static_cast<std::size_t>(S + 2 * n - 1)] = std::sin(angle);
        }
    };
    for (const FitPoint& p : in.points) {
        design(p);
        const double w = 1 / (p.err * p.err);
        for (int i = 0; i < K; ++i) {
            for (int j = 0; j < K; ++j) {
                A[at(i, j)] +=
                    w * row[static_cast<std::size_t>(i)] * row[static_cast<std::size_t>(j)];
            }
            b[static_cast<std::size_t>(i)] += w * p.mag * row[static_cast<std::size_t>(i)];
        }
    }
    for (int c = 0; c < K; ++c) {
        int pivot = c;
        for (int r = c + 1; r < K; ++r) {
            if (std::abs(A[at(r, c)]) > std::abs(A[at(pivot, c)]))
                pivot = r;
        }
        for (int j = 0; j < K; ++j) std::swap(A[at(c, j)], A[at(pivot, j)]);
        std::swap(b[static_cast<std::size_t>(c)], b[static_cast<std::size_t>(pivot)]);
        for (int r = c + 1; r < K; ++r) {
            const double factor = A[at(r, c)] / A[at(c, c)];
            for (int j = c; j < K; ++j) A[at(r, j)] -= factor * A[at(c, j)];
            b[static_cast<std::size_t>(r)] -= factor * b[static_cast<std::size_t>(c)];
        }
    }
    std::vector<double> x(static_cast<std::size_t>(K));
    for (int r = K - 1; r >= 0; --r) {
        double v = b[static_cast<std::size_t>(r)];
        for (int j = r + 1; j < K; ++j) v -= A[at(r, j)] * x[static_cast<std::size_t>(j)];
        x[static_cast<std::size_t>(r)] = v / A[at(r, r)];
    }
    double chi2 = 0;
    for (const FitPoint& p : in.points) {
        design(p);
        double model = 0;
        for (int i = 0; i < K; ++i)
            model += row[static_cast<std::size_t>(i)] * x[static_cast<std::size_t>(i)];
        chi2 += (p.mag - model) * (p.mag - model) / (p.err * p.err);
    }
    return chi2;
}

struct Timing {
    double wall = 0, cpu = 0;  // seconds per iteration
};

Timing& OneTrial() {
    static Timing t;
    return t;
}

template <class Work>
Timing Measure(benchmark::State& state, Work work) {
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        work();
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const auto iterations = static_cast<double>(state.iterations());
    return {elapsed.count() / iterations, cpu / iterations};
}

void BM_BaselineOneTrialSolve(benchmark::State& state) {
    const PeriodSearchInput& in = Input();
    double f = 24.0 / 6.25;
    OneTrial() = Measure(state, [&] {
        benchmark::DoNotOptimize(TextbookChi2(in, f));
        f += 1e-9;
    });
}

void BM_PeriodSearch(benchmark::State& state) {
    const PeriodSearchInput& in = Input();
    PeriodResult r;
    const Timing t = Measure(state, [&] {
        r = SearchPeriod(in);
        benchmark::DoNotOptimize(r.spectrum.data());
    });
    const double trials = static_cast<double>(r.spectrum.size());
    state.counters["points"] = static_cast<double>(in.points.size());
    state.counters["trials"] = trials;
    state.counters["hours"] = r.hours;
    state.counters["baseline_ms"] = OneTrial().wall * trials * 1e3;
    if (OneTrial().wall > 0 && OneTrial().cpu > 0) {
        state.counters["x_baseline"] = t.wall / (OneTrial().wall * trials);
        state.counters["x_baseline_cpu"] = t.cpu / (OneTrial().cpu * trials);
    }
    // The textbook solve agrees with the search at the best grid frequency.
    const auto best = std::min_element(
        r.spectrum.begin(), r.spectrum.end(),
        [](const SpectrumValue& a, const SpectrumValue& b) { return a.rms < b.rms; });
    double sumW = 0;
    for (const FitPoint& p : in.points) sumW += 1 / (p.err * p.err);
    state.counters["rms_difference"] =
        std::abs(std::sqrt(TextbookChi2(in, best->frequency) / sumW) - best->rms);
}

// The baseline first, so that the search can be set against it.
BENCHMARK(BM_BaselineOneTrialSolve)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeriodSearch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
