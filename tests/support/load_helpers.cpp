#include "support/load_helpers.h"

namespace corvane::test {

std::string FitsBlock(const std::vector<std::string>& cards) {
    std::string block;
    for (const std::string& card : cards) {
        std::string c = card.substr(0, 80);
        c.resize(80, ' ');
        block += c;
    }
    block.resize(2880, ' ');
    return block;
}

}  // namespace corvane::test
