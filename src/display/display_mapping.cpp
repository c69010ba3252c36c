#include "display/display_mapping.h"

#include <cmath>
#include <limits>

namespace corvane {

LinearMap MakeLinearMap(const DisplayLevels& levels, std::int32_t bzero) {
    LinearMap map;
    // 64 bits: limits typed by hand may lie anywhere in the 32-bit range.
    map.offset = static_cast<std::int64_t>(bzero) - levels.low;
    std::int64_t r = static_cast<std::int64_t>(levels.high) - levels.low;
    if (r == 0) r = 1;
    map.range = r;

    int s = 0;
    std::int64_t d = r;
    if (r >= 512) {
        while (d >= 512) {
            d >>= 1;
            ++s;
        }
    }
    map.shift = s;
    if (d >= 0) {
        for (std::int64_t i = 0; i <= d; ++i) {
            map.table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((192 * i) / d);
        }
    }
    return map;
}

void FillLogTable(LogTable& table, std::int32_t multiplier) {
    const double m = multiplier;
    table[0] = 0;
    for (std::size_t i = 1; i < table.size(); ++i) {
        const double lnI = std::log(static_cast<double>(i));
        const double t = std::fmin(1.77 * m * lnI * lnI, 192.0);
        table[i] = static_cast<std::uint8_t>(t);
    }
}

std::int64_t LogBase(std::int32_t bzero, float biasLevel) {
    std::int64_t bias = 0;
    if (std::isfinite(biasLevel)) {
        constexpr double kLimit = std::numeric_limits<std::int32_t>::max();
        const double clamped = std::fmax(-kLimit, std::fmin(static_cast<double>(biasLevel), kLimit));
        bias = static_cast<std::int64_t>(clamped);  // toward zero
    }
    return static_cast<std::int64_t>(bzero) - bias;
}

std::int32_t LogMultiplierOf(std::int32_t mode) {
    switch (mode) {
        case kModeLogTimes2: return 2;
        case kModeLogTimes4: return 4;
        default: return 1;
    }
}

}  // namespace corvane
