#pragma once
// Sessions: the runs of records that belong to one night's star list. Each has its own
// comparison ensemble, zero point and light-time correction.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "lightcurve/list_record.h"

namespace corvane {

// More than this between two records in time order starts a new session, in seconds.
inline constexpr std::int32_t kSessionGapSeconds = 21600;
// A star list entered anew moves some star against the lowest-numbered star by more than
// this, in hundredths of a pixel (positions are printed with two decimals).
inline constexpr long long kStarListMoveHundredths = 1000;

// Whether `current`, the record after `previous` in time order, starts a new session:
// more than the gap in time, or the star list entered anew.
bool StartsSession(const ListRecord& previous, const ListRecord& current);

struct Session {
    int number = 0;                    // from 1 in time order
    std::vector<std::size_t> records;  // indices of the records, in time order
};

// The sessions of `records` taken in `timeOrder`; records without a time (t = 0) belong
// to none.
std::vector<Session> FormSessions(const std::vector<ListRecord>& records,
                                  const std::vector<std::size_t>& timeOrder);

}  // namespace corvane
