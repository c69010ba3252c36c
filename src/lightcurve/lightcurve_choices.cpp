#include "lightcurve/lightcurve_choices.h"

#include <algorithm>

#include "lightcurve/differential.h"
#include "lightcurve/sessions.h"

namespace corvane {

namespace {

// Where in `choices` the first choice held by one of `records` (indices into the set)
// stands, or the number of choices when there is none.
std::size_t FindChoice(const LightcurveChoices& choices, const RecordSet& set,
                       const std::vector<std::size_t>& records) {
    const auto held = std::find_if(
        choices.sessions.begin(), choices.sessions.end(), [&](const SessionChoice& choice) {
            return std::any_of(records.begin(), records.end(), [&](std::size_t i) {
                return set.records[i].Key() == choice.anchor;
            });
        });
    return static_cast<std::size_t>(held - choices.sessions.begin());
}

}  // namespace

double LightTimeDays(const LightTimeEntry& entry) {
    if (entry.value == 0) {
        return 0;
    }
    return entry.deltaAu ? LtcDaysOfDelta(entry.value) : entry.value;
}

const SessionChoice* ChoiceOf(const LightcurveChoices& choices, const RecordSet& set,
                              const LightcurveSession& session) {
    const std::size_t at = FindChoice(choices, set, session.recordIndices);
    return at < choices.sessions.size() ? &choices.sessions[at] : nullptr;
}

SessionChoice& ChoiceFor(LightcurveChoices& choices, const RecordSet& set,
                         const LightcurveSession& session) {
    const std::size_t at = FindChoice(choices, set, session.recordIndices);
    if (at < choices.sessions.size()) {
        return choices.sessions[at];
    }
    SessionChoice made;
    made.anchor = set.records[session.recordIndices.front()].Key();
    return choices.sessions.emplace_back(std::move(made));
}

LightcurveOptions OptionsOf(const RecordSet& set, const LightcurveChoices& choices) {
    LightcurveOptions options;
    options.leftOutByUser = choices.leftOut;
    const std::vector<Session> sessions = FormSessions(set.records, TimeOrder(set));
    std::vector<double> ltcDays;
    bool corrected = false;
    for (const Session& session : sessions) {
        const std::size_t at = FindChoice(choices, set, session.records);
        const SessionChoice* choice =
            at < choices.sessions.size() ? &choices.sessions[at] : nullptr;
        ltcDays.push_back(choice != nullptr ? LightTimeDays(choice->lightTime) : 0);
        corrected = corrected || ltcDays.back() != 0;
        if (choice != nullptr && !choice->comps.empty()) {
            options.sessionComps[session.number] = choice->comps;
        }
    }
    if (corrected) {
        options.ltcDays = std::move(ltcDays);
    }
    return options;
}

}  // namespace corvane
