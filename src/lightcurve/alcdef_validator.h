#pragma once
// The rules an ALCDEF 2 block must keep before it may be written. A block that breaks one
// is refused with the rule and the keyword, so the user can put it right.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct AlcdefViolation {
    std::string rule;     // e.g. "MPCDESIG is required when OBJECTNUMBER is 0"
    std::string keyword;  // the keyword the rule concerns, e.g. "MPCDESIG"
    int line = 0;         // of the block, from 1; 0 for what is missing from it

    // "rule (KEYWORD, line N)"
    std::string Text() const;
};

// The first rule `block` breaks, or nothing when it keeps them all.
std::optional<AlcdefViolation> ValidateAlcdefBlock(std::string_view block);

// Every block, then the blocks against each other: the same object, contact, SESSIONDATE,
// SESSIONTIME and FILTER twice is a duplicate unless the later says REVISEDDATA=TRUE.
// `index` is set to the block that breaks a rule.
std::optional<AlcdefViolation> ValidateAlcdefBlocks(const std::vector<std::string>& blocks,
                                                    std::size_t& index);

}  // namespace corvane
