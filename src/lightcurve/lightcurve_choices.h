#pragma once
// What the user chose for a lightcurve, kept with the records it concerns: a session's
// choice is held by one of its records, so that it stays with its night when list files
// added later give the sessions other numbers.

#include <set>
#include <vector>

#include "lightcurve/lightcurve.h"

namespace corvane {

// The light-time correction as the user gives it: 0 is none.
struct LightTimeEntry {
    double value = 0;
    bool deltaAu = true;  // the distance in AU; else LTCDAYS in days
};

// LTCDAYS of the entry.
double LightTimeDays(const LightTimeEntry& entry);

struct SessionChoice {
    RecordKey anchor;        // a record of the session the choice was made for
    std::vector<int> comps;  // the ensemble named; empty: the default
    LightTimeEntry lightTime;
};

struct LightcurveChoices {
    std::vector<SessionChoice> sessions;
    std::set<RecordKey> leftOut;  // points the user took out
};

// The choice held by a record of `session`, or null when none was made for it.
const SessionChoice* ChoiceOf(const LightcurveChoices& choices, const RecordSet& set,
                              const LightcurveSession& session);

// The same, made and held by the session's first record when there is none yet.
SessionChoice& ChoiceFor(LightcurveChoices& choices, const RecordSet& set,
                         const LightcurveSession& session);

// The options for the records as they are now: each session's named ensemble and light
// time by its number, and the points taken out.
LightcurveOptions OptionsOf(const RecordSet& set, const LightcurveChoices& choices);

}  // namespace corvane
