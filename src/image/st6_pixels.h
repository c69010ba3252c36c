#pragma once
// What both ST-6 readers share besides the text header.

#include <cstddef>
#include <cstdint>

namespace corvane {

// The pixels begin after the 2048-byte text header.
inline constexpr std::size_t kSt6DataOffset = 2048;

// Brings the camera's 16-bit values into 0 … 32767: v ← ((v + pedestal − 100) mod 65536) / 2,
// an unsigned halving.
inline void St6Transform(std::int16_t* pixels, std::size_t count, std::uint32_t pedestal) {
    for (std::size_t i = 0; i < count; ++i) {
        const auto v = static_cast<std::uint16_t>(pixels[i]);
        const auto shifted = static_cast<std::uint16_t>(v + pedestal - 100U);
        pixels[i] = static_cast<std::int16_t>(shifted / 2);
    }
}

}  // namespace corvane
