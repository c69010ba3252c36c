#include "cli/lightcurve_json.h"

#include <algorithm>

namespace corvane::cli {

namespace {

using nlohmann::json;

template <class T>
json OrNull(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

json PeriodJson(const PeriodResult& p) {
    json zeroPoints = json::array();
    for (const std::optional<double>& z : p.zeroPoints) {
        zeroPoints.push_back(OrNull(z));
    }
    json coefficients = json::array();
    for (const auto& [a, b] : p.coefficients) {
        coefficients.push_back({a, b});
    }
    // Periods rising, as a period spectrum is read.
    json spectrum = json::array();
    for (auto v = p.spectrum.rbegin(); v != p.spectrum.rend(); ++v) {
        spectrum.push_back({v->hours, v->rms});
    }
    json aliases = json::array();
    for (const SpectrumValue& a : p.aliases) {
        aliases.push_back({{"hours", a.hours}, {"rms", a.rms}});
    }
    return {{"hours", p.hours},
            {"sigma_hours", OrNull(p.sigmaHours)},
            {"amplitude", p.amplitude},
            {"order", p.order},
            {"rms", p.rms},
            {"zero_points", zeroPoints},
            {"coefficients", coefficients},
            {"spectrum", spectrum},
            {"aliases", aliases}};
}

}  // namespace

json LightcurveJson(const Lightcurve& curve, const PeriodResult& period) {
    json sessions = json::array();
    for (const LightcurveSession& s : curve.sessions) {
        const std::size_t index = static_cast<std::size_t>(s.number - 1);
        std::optional<double> zero;
        if (period.found && index < period.zeroPoints.size()) {
            zero = period.zeroPoints[index];
        }
        sessions.push_back({{"number", s.number},
                            {"start_jd", s.startJd},
                            {"end_jd", s.endJd},
                            {"records", s.records},
                            {"comps", s.comps},
                            {"zero_point", OrNull(zero)},
                            {"ltc_days", s.ltcDays}});
    }
    json points = json::array();
    for (const LightcurvePoint& p : curve.points) {
        points.push_back({{"jd", p.jd},
                          {"session", p.session},
                          {"mag", p.mag},
                          {"err", p.err},
                          {"image", p.key.image}});
    }
    json leftOut = json::array();
    for (const LeftOutRecord& r : curve.leftOut) {
        leftOut.push_back({{"image", r.image}, {"reason", r.reason}});
    }
    json comps = json::array();
    for (const SessionCheck& c : curve.comps) {
        comps.push_back({{"session", c.session},
                         {"star", c.check.star},
                         {"rms", c.check.rms},
                         {"expected", c.check.expected},
                         {"ratio", OrNull(c.check.ratio)},
                         {"variable", c.check.variable}});
    }
    json out = {{"sessions", sessions},
                {"points", points},
                {"left_out", leftOut},
                {"comps", comps},
                {"period", period.found ? PeriodJson(period) : json(nullptr)}};
    if (!period.found) {
        out["period_reason"] = period.reason;
    }
    return out;
}

}  // namespace corvane::cli
