#include "lightcurve/sessions.h"

#include <cmath>
#include <cstdlib>

namespace corvane {

namespace {

// A printed position in whole hundredths, so that "more than 10.00" is decided exactly.
long long Hundredths(double printed) {
    return std::llround(printed * 100);
}

}  // namespace

bool StartsSession(const ListRecord& previous, const ListRecord& current) {
    if (static_cast<std::int64_t>(current.time) - previous.time > kSessionGapSeconds) {
        return true;
    }
    const ListRow* basePrevious = nullptr;
    const ListRow* baseCurrent = nullptr;
    for (const ListRow& row : current.stars) {
        const ListRow* before = previous.Star(row.star);
        if (before == nullptr) {
            continue;
        }
        if (baseCurrent == nullptr) {
            // Stars are in number order, so the first star present in both is the lowest.
            baseCurrent = &row;
            basePrevious = before;
            continue;
        }
        const long long dxBefore = Hundredths(before->x) - Hundredths(basePrevious->x);
        const long long dyBefore = Hundredths(before->y) - Hundredths(basePrevious->y);
        const long long dxNow = Hundredths(row.x) - Hundredths(baseCurrent->x);
        const long long dyNow = Hundredths(row.y) - Hundredths(baseCurrent->y);
        if (std::llabs(dxNow - dxBefore) > kStarListMoveHundredths ||
            std::llabs(dyNow - dyBefore) > kStarListMoveHundredths) {
            return true;
        }
    }
    return false;
}

std::vector<Session> FormSessions(const std::vector<ListRecord>& records,
                                  const std::vector<std::size_t>& timeOrder) {
    std::vector<Session> sessions;
    const ListRecord* previous = nullptr;
    for (std::size_t index : timeOrder) {
        const ListRecord& r = records[index];
        if (r.time == 0) {
            continue;
        }
        if (previous == nullptr || StartsSession(*previous, r)) {
            sessions.push_back({static_cast<int>(sessions.size()) + 1, {}});
        }
        sessions.back().records.push_back(index);
        previous = &r;
    }
    return sessions;
}

}  // namespace corvane
