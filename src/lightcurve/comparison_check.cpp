#include "lightcurve/comparison_check.h"

#include <algorithm>
#include <cmath>

#include "lightcurve/differential.h"

namespace corvane {

namespace {

// Star j against the rest of `ensemble` over the records: mag_j and err_j, then
//   rms      = sqrt( sum r^2 / N )
//   expected = sqrt( sum err_j^2 / N )
//   ratio    = sqrt( sum (r / err_j)^2 / (N - K) ),  K = 1, N > K
void CheckStar(const std::vector<const ListRecord*>& records, const std::vector<int>& ensemble,
               ComparisonCheck& check) {
    const int j = check.star;
    std::vector<Magnitude> m;
    for (const ListRecord* record : records) {
        const ListRow* target = record->Star(j);
        std::vector<Flux> others;
        for (int i : ensemble) {
            if (i != j) {
                const ListRow* row = record->Star(i);
                others.push_back({row->fluxRate, row->snr});
            }
        }
        m.push_back(DifferentialMagnitude({target->fluxRate, target->snr}, others));
    }
    const double N = static_cast<double>(m.size());
    constexpr double K = 1;
    double mean = 0;
    for (const Magnitude& p : m) {
        mean += p.mag;
    }
    mean /= N;
    double sumR2 = 0, sumErr2 = 0, sumChi2 = 0;
    for (const Magnitude& p : m) {
        const double r = p.mag - mean;
        sumR2 += r * r;
        sumErr2 += p.err * p.err;
        sumChi2 += (r / p.err) * (r / p.err);
    }
    check.rms = std::sqrt(sumR2 / N);
    check.expected = std::sqrt(sumErr2 / N);
    check.ratio = N > K ? std::optional<double>(std::sqrt(sumChi2 / (N - K))) : std::nullopt;
}

}  // namespace

std::vector<ComparisonCheck> CheckComparisonStars(const std::vector<const ListRecord*>& records,
                                                  const std::vector<int>& stars) {
    if (stars.size() < kMinCheckedStars || records.empty()) {
        return {};
    }
    std::vector<ComparisonCheck> checks;
    for (int star : stars) {
        checks.push_back({star, 0, 0, std::nullopt, false});
    }
    std::vector<int> active = stars;  // C'
    while (true) {
        ComparisonCheck* worst = nullptr;
        for (ComparisonCheck& check : checks) {
            if (std::find(active.begin(), active.end(), check.star) == active.end()) {
                continue;
            }
            CheckStar(records, active, check);
            if (check.ratio && (worst == nullptr || *check.ratio > *worst->ratio)) {
                worst = &check;
            }
        }
        if (worst == nullptr || !(*worst->ratio > kVariableRatio)) {
            break;
        }
        worst->variable = true;
        active.erase(std::find(active.begin(), active.end(), worst->star));
        if (active.size() < kMinCheckedStars) {
            break;
        }
    }
    return checks;
}

}  // namespace corvane
