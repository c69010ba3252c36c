#include "image/header_record.h"

#include <array>

namespace corvane {

std::string_view ObservationTypeName(int code) {
    static constexpr std::array<std::string_view, 10> kNames{
        "DARK", "BIAS", "OBS", "AVEBIAS", "AVEFLAT", "CALIBRATED", "FLAT", "READOUT", "ERROR",
        "SCAN"};
    if (code < 1 || code > 10) {
        return "UNKNOWN";
    }
    return kNames[static_cast<std::size_t>(code - 1)];
}

}  // namespace corvane
