#include "lightcurve/differential.h"

#include <cmath>
#include <numbers>

namespace corvane {

double JulianDate(std::int32_t unixTime) {
    return kUnixEpochJd + unixTime / kSecondsPerDay;
}

double LtcDaysOfDelta(double deltaAu) {
    return -deltaAu * kLightDaysPerAu;
}

bool UsableRow(const ListRow* row) {
    return row != nullptr && row->fluxRate > 0 && row->snr > 0;
}

Magnitude DifferentialMagnitude(Flux target, const std::vector<Flux>& ensemble) {
    double FC = 0;
    double VC = 0;
    for (const Flux& i : ensemble) {
        FC += i.F;
        VC += (i.F / i.S) * (i.F / i.S);
    }
    const double Fa = target.F, Sa = target.S;
    Magnitude m;
    m.mag = -2.5 * std::log10(Fa / FC);
    m.err = (2.5 / std::numbers::ln10) * std::sqrt(1 / (Sa * Sa) + VC / (FC * FC));
    return m;
}

}  // namespace corvane
