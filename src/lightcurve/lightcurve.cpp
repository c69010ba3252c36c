#include "lightcurve/lightcurve.h"

#include <algorithm>

#include "lightcurve/differential.h"
#include "lightcurve/sessions.h"
#include "photometry/photometry_parameters.h"

namespace corvane {

namespace {

// Every star with a usable row in every one of `records`.
std::vector<int> DefaultEnsemble(const std::vector<const ListRecord*>& records) {
    std::vector<int> stars;
    if (records.empty()) {
        return stars;
    }
    for (int star = 1; star <= kMaxStars; ++star) {
        if (std::all_of(records.begin(), records.end(),
                        [star](const ListRecord* r) { return UsableRow(r->Star(star)); })) {
            stars.push_back(star);
        }
    }
    return stars;
}

std::string RowReason(const char* object, const ListRow* row) {
    return std::string(object) + (row == nullptr ? " not measured" : " flux or SNR not positive");
}

// Why `r` gives no point against the ensemble, or nothing when it gives one.
std::optional<std::string> PointReason(const ListRecord& r, const std::vector<int>& ensemble) {
    const ListRow* asteroid = r.asteroid ? &*r.asteroid : nullptr;
    if (!UsableRow(asteroid)) {
        return RowReason("asteroid", asteroid);
    }
    for (int star : ensemble) {
        const ListRow* row = r.Star(star);
        if (!UsableRow(row)) {
            return RowReason(("star " + std::to_string(star)).c_str(), row);
        }
    }
    return std::nullopt;
}

Magnitude AsteroidMagnitude(const ListRecord& r, const std::vector<int>& ensemble) {
    std::vector<Flux> comps;
    for (int star : ensemble) {
        const ListRow* row = r.Star(star);
        comps.push_back({row->fluxRate, row->snr});
    }
    return DifferentialMagnitude({r.asteroid->fluxRate, r.asteroid->snr}, comps);
}

std::vector<int> NamedEnsemble(const LightcurveOptions& options, int session) {
    auto named = options.sessionComps.find(session);
    std::vector<int> stars = named != options.sessionComps.end() ? named->second : options.comps;
    std::sort(stars.begin(), stars.end());
    stars.erase(std::unique(stars.begin(), stars.end()), stars.end());
    return stars;
}

double LtcDaysOf(const LightcurveOptions& options, std::size_t sessionIndex) {
    if (options.ltcDays.empty()) {
        return 0;
    }
    return options.ltcDays.size() == 1 ? options.ltcDays[0] : options.ltcDays[sessionIndex];
}

}  // namespace

bool LightTimeCountFits(std::size_t values, std::size_t sessions) {
    return values == 1 || values == sessions;
}

std::size_t SessionCount(const RecordSet& set) {
    return FormSessions(set.records, TimeOrder(set)).size();
}

bool ComputeLightcurve(const RecordSet& set, const LightcurveOptions& options, Lightcurve& out,
                       std::string& problem) {
    out = {};
    const std::vector<std::size_t> order = TimeOrder(set);
    const std::vector<Session> sessions = FormSessions(set.records, order);
    if (!options.ltcDays.empty() && !LightTimeCountFits(options.ltcDays.size(), sessions.size())) {
        problem = std::to_string(options.ltcDays.size()) + " light-time values for " +
                  std::to_string(sessions.size()) + " sessions: give one for all or one each";
        return false;
    }
    std::vector<std::optional<std::string>> reasons(set.records.size());
    std::vector<std::optional<LightcurvePoint>> points(set.records.size());
    for (std::size_t i = 0; i < set.records.size(); ++i) {
        if (set.records[i].time == 0) {
            reasons[i] = kNoTime;
        }
    }
    for (std::size_t s = 0; s < sessions.size(); ++s) {
        const Session& session = sessions[s];
        LightcurveSession ls;
        ls.number = session.number;
        ls.ltcDays = LtcDaysOf(options, s);
        ls.records = static_cast<int>(session.records.size());
        ls.recordIndices = session.records;
        ls.startJd = JulianDate(set.records[session.records.front()].time) + ls.ltcDays;
        ls.endJd = JulianDate(set.records[session.records.back()].time) + ls.ltcDays;

        std::vector<const ListRecord*> kept;
        for (std::size_t i : session.records) {
            if (options.leftOutByUser.count(set.records[i].Key()) == 0) {
                kept.push_back(&set.records[i]);
            }
        }
        ls.comps = NamedEnsemble(options, ls.number);
        if (ls.comps.empty()) {
            ls.comps = DefaultEnsemble(kept);
        }
        std::vector<const ListRecord*> withPoints;
        for (std::size_t i : session.records) {
            const ListRecord& r = set.records[i];
            if (options.leftOutByUser.count(r.Key()) != 0) {
                reasons[i] = kLeftOutByUser;
            } else if (ls.comps.empty()) {
                reasons[i] = kNoComparisonStar;
            } else {
                reasons[i] = PointReason(r, ls.comps);
            }
            if (!reasons[i]) {
                const Magnitude m = AsteroidMagnitude(r, ls.comps);
                points[i] = LightcurvePoint{
                    JulianDate(r.time) + ls.ltcDays, ls.number, m.mag, m.err, r.time, i, r.Key()};
                withPoints.push_back(&r);
            }
        }
        for (const ComparisonCheck& check : CheckComparisonStars(withPoints, ls.comps)) {
            out.comps.push_back({ls.number, check});
        }
        out.sessions.push_back(std::move(ls));
    }
    for (std::size_t i : order) {
        if (points[i]) {
            out.points.push_back(*points[i]);
        } else if (reasons[i]) {
            out.leftOut.push_back({set.records[i].image, *reasons[i], set.records[i].Key()});
        }
    }
    for (const CutOffRecord& c : set.cutOff) {
        out.leftOut.push_back({c.file + ":" + std::to_string(c.line), kCutOff, std::nullopt});
    }
    return true;
}

std::vector<LightcurvePoint> PointsOfSession(const Lightcurve& curve, int number) {
    std::vector<LightcurvePoint> points;
    std::copy_if(curve.points.begin(), curve.points.end(), std::back_inserter(points),
                 [number](const LightcurvePoint& p) { return p.session == number; });
    return points;
}

}  // namespace corvane
