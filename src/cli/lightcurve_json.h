#pragma once
// The JSON object corvane-cli lightcurve prints.

#include <nlohmann/json.hpp>

#include "lightcurve/lightcurve.h"
#include "lightcurve/period_search.h"

namespace corvane::cli {

nlohmann::json LightcurveJson(const Lightcurve& curve, const PeriodResult& period);

}  // namespace corvane::cli
