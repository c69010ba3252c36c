#pragma once
// The per-pixel mappings from a stored value to a display byte. The full rebuilds and the
// single-pixel refresh go through the same functions, so an edited pixel shows exactly
// the byte a rebuild would give it.

#include <array>
#include <cstdint>

#include "display/display_state.h"

namespace corvane {

// The linear mapping between the display limits: T[i] = (192 × i) div d, where d is the
// range R halved s times until it is below 512, so the table never exceeds 512 entries.
struct LinearMap {
    std::int64_t offset = 0;  // bzero − low: stored value + offset is v, the height above low
    std::int64_t range = 1;   // R = high − low, 1 when equal; negative when low > high
    int shift = 0;            // s
    std::array<std::uint8_t, 512> table{};  // T[0 … d]; none is built when R < 0
};

LinearMap MakeLinearMap(const DisplayLevels& levels, std::int32_t bzero);

inline std::uint8_t MapLinear(const LinearMap& map, std::int16_t stored) {
    const std::int64_t v = stored + map.offset;
    if (v <= 0) return kDisplayBlack;
    if (v >= map.range) return kDisplayWhite;
    // 0 < v < R, so v >> s ≤ R >> s = d: inside the table.
    return map.table[static_cast<std::size_t>(v >> map.shift)];
}

// T[0] = 0, T[i] = truncate(min(1.77 × m × (ln i)², 192)).
void FillLogTable(LogTable& table, std::int32_t multiplier);

// The logarithmic base bzero − truncate(biasLevel), held in 64 bits: with bzero 32768
// it does not fit 16 bits. A bias level that is not a finite number counts as 0.
std::int64_t LogBase(std::int32_t bzero, float biasLevel);

inline std::uint8_t MapLog(const LogTable& table, std::int64_t base, std::int16_t stored) {
    const std::int64_t j = stored + base;
    if (j < 0) return kDisplayBlack;
    // Values beyond the table are brighter than its last entry's, and show as that entry.
    if (j >= static_cast<std::int64_t>(kLogTableSize)) return table[kLogTableSize - 1];
    return table[static_cast<std::size_t>(j)];
}

// The logarithmic multiplier of a logarithmic mode: 1, 2 or 4.
std::int32_t LogMultiplierOf(std::int32_t mode);

}  // namespace corvane
