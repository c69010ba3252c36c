#pragma once
// The lightcurve of a set of records: sessions, the differential magnitudes of the
// asteroid with their errors, the records left out and why, and the comparison-star
// check. The period search (period_search.h) takes its points from here.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "lightcurve/comparison_check.h"
#include "lightcurve/record_set.h"

namespace corvane {

struct LightcurveOptions {
    std::vector<int> comps;  // named ensemble of every session; empty: default
    std::map<int, std::vector<int>> sessionComps;  // by session number, over `comps`
    // Light-time correction in days (LTCDAYS): none, one for every session, or one per
    // session in session order. 0 is no correction.
    std::vector<double> ltcDays;
    std::set<RecordKey> leftOutByUser;  // points the user took out
};

struct LightcurveSession {
    int number = 0;
    double startJd = 0;  // over the session's records with a time, light time applied
    double endJd = 0;
    int records = 0;
    std::vector<int> comps;  // the ensemble C, in star order
    double ltcDays = 0;
    std::vector<std::size_t> recordIndices;  // into RecordSet::records, time order
};

struct LightcurvePoint {
    double jd = 0;  // JD (UTC, mid-exposure), light time applied
    int session = 0;
    double mag = 0;
    double err = 0;
    std::int32_t time = 0;   // the record's Unix time, observed
    std::size_t record = 0;  // index into RecordSet::records
    RecordKey key;
};

struct LeftOutRecord {
    std::string image;  // the image path, or FILE:LINE of a cut-off record
    std::string reason;
    std::optional<RecordKey> key;  // none for a cut-off record
};

struct SessionCheck {
    int session = 0;
    ComparisonCheck check;
};

struct Lightcurve {
    std::vector<LightcurveSession> sessions;
    std::vector<LightcurvePoint> points;  // in time order
    std::vector<LeftOutRecord> leftOut;   // records in time order, then cut-off records
    std::vector<SessionCheck> comps;      // session by session, stars in order
};

// The reasons a record gives no point.
inline constexpr char kNoTime[] = "no time in the header";
inline constexpr char kNoComparisonStar[] = "no comparison star";
inline constexpr char kLeftOutByUser[] = "left out by the user";
inline constexpr char kCutOff[] = "record cut off by the end of the file";

// Whether `values` light-time values fit `sessions` sessions: one for all, or one each.
bool LightTimeCountFits(std::size_t values, std::size_t sessions);

// The number of sessions the records form.
std::size_t SessionCount(const RecordSet& set);

// Everything from the records. False, with the reason, when the light-time values do not
// fit the sessions.
bool ComputeLightcurve(const RecordSet& set, const LightcurveOptions& options, Lightcurve& out,
                       std::string& problem);

// The points of session `number`.
std::vector<LightcurvePoint> PointsOfSession(const Lightcurve& curve, int number);

}  // namespace corvane
