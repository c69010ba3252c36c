#pragma once
// The ALCDEF file as it may be written: every block built and checked against the rules
// before a byte goes out, so that one block breaking a rule holds back the whole file.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "lightcurve/alcdef_export.h"
#include "lightcurve/alcdef_validator.h"

namespace corvane {

struct CheckedAlcdef {
    std::size_t blocks = 0;                    // sessions with a block
    std::vector<int> tooFewPoints;             // sessions with fewer than two points: none
    std::optional<AlcdefViolation> violation;  // the first rule a block breaks
    int violatingSession = 0;                  // the session of that block
    std::string text;  // the file, only when there are blocks and all keep the rules

    bool Writable() const { return blocks > 0 && !violation; }
};

CheckedAlcdef CheckAlcdef(const RecordSet& set, const Lightcurve& curve,
                          const AlcdefMetadata& meta);

}  // namespace corvane
