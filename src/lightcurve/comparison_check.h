#pragma once
// The comparison-star check of one session: each ensemble star measured against the
// others, its scatter set against what its errors predict. One variable star is removed
// before the next round, so that it does not make its neighbours look variable.

#include <optional>
#include <vector>

#include "lightcurve/list_record.h"

namespace corvane {

// Above this ratio a star is probably variable.
inline constexpr double kVariableRatio = 3;
// Fewer ensemble stars than this cannot be checked against each other.
inline constexpr std::size_t kMinCheckedStars = 3;

struct ComparisonCheck {
    int star = 0;
    double rms = 0;               // of the residuals about the star's mean magnitude
    double expected = 0;          // what the star's errors predict
    std::optional<double> ratio;  // null with fewer than two magnitudes
    bool variable = false;
};

// The check over `records` (the session's records that give points; every ensemble star
// is usable in each) for the ensemble `stars`, in star order. Empty when the ensemble has
// fewer than three stars. Values are those of the last round each star took part in.
std::vector<ComparisonCheck> CheckComparisonStars(const std::vector<const ListRecord*>& records,
                                                  const std::vector<int>& stars);

}  // namespace corvane
