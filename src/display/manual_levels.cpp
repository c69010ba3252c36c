#include "display/manual_levels.h"

#include <charconv>
#include <cstdio>

namespace corvane {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Decimal(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    return text;
}

}  // namespace

ManualLevelsFields ManualLevelsFieldsOf(const DisplayLevels& levels) {
    return {Decimal(levels.low), Decimal(levels.high)};
}

bool ParseSignedInteger(std::string_view text, std::int32_t& value) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return false;
    }
    if (text.empty()) return false;
    std::int32_t parsed = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, parsed);
    if (error != std::errc() || ptr != end) return false;
    value = parsed;
    return true;
}

bool ApplyManualLevels(const ManualLevelsFields& fields, DisplayLevels& levels) {
    std::int32_t low = 0;
    if (!ParseSignedInteger(fields.low, low)) return false;
    levels.low = low;
    std::int32_t high = 0;
    if (!ParseSignedInteger(fields.high, high)) return false;
    levels.high = high;
    return true;
}

}  // namespace corvane
