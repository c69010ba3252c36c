#include "support/lightcurve_scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "lightcurve/differential.h"
#include "photometry/output_files.h"

namespace corvane::test {

namespace {

// Stars of a field stand at fixed offsets from the first one.
constexpr double kStarOffsets[][2] = {{0, 0},     {142.5, 37.25}, {-63.75, 118}, {88, -95.5},
                                      {210, 160}, {-150, -40},    {30, 200},     {-90, 75}};

// The flux one measurement reports, and its SNR: signal N = F E g electrons against its
// shot noise and the background's, S = N / sqrt(N + sky^2), and the flux drawn with the
// standard deviation F / S.
struct Measured {
    double flux = 0;
    double snr = 0;
};

Measured Measure(const LightcurveScene& scene, double trueFlux, std::mt19937& random) {
    const double N = trueFlux * scene.exposure * scene.gain;
    const double S = N / std::sqrt(N + scene.skyNoise * scene.skyNoise);
    std::normal_distribution<double> unit(0, 1);
    const double drawn = scene.noise ? trueFlux * (1 + unit(random) / S) : trueFlux;
    return {drawn, S};
}

ObjectResult ResultOf(Measured m) {
    ObjectResult r;
    r.mean = 812.5;
    r.sigma = 11.25;
    r.count = 800;
    r.fluxRate = m.flux;
    r.snr = m.snr;
    r.npix = 709;
    return r;
}

}  // namespace

LightcurveScene ThreeNightScene() {
    LightcurveScene scene;
    scene.periodHours = 6.25;
    scene.t0Jd = 2451925.3;
    scene.shape = {{0.21, 0.08}, {0.06, -0.05}, {0.035, 0.02}, {-0.015, 0.025}};
    scene.asteroidFlux = 400;
    const std::int32_t jan15 = 979516800;  // 2001-01-15 00:00 UTC
    scene.nights = {
        {jan15 + 68400, 120, 240, {3200, 5400, 2100}, 300, 210},
        {jan15 + 86400 + 69000, 120, 240, {1800, 7300, 2600, 4100}, 180, 330},
        {jan15 + 3 * 86400 + 68000, 120, 240, {6100, 2300, 3900}, 420, 150},
    };
    return scene;
}

double SceneAsteroidMagnitude(const LightcurveScene& scene, double jd) {
    const double phase = (jd - scene.t0Jd) * 24 / scene.periodHours;
    double mag = 0;
    for (std::size_t n = 0; n < scene.shape.size(); ++n) {
        const double angle = 2 * std::numbers::pi * static_cast<double>(n + 1) * phase;
        mag += scene.shape[n][0] * std::cos(angle) + scene.shape[n][1] * std::sin(angle);
    }
    return mag;
}

double SceneZeroPoint(const LightcurveScene& scene, int night, const std::vector<int>& stars) {
    double sum = 0;
    for (int star : stars) {
        sum += scene.nights[static_cast<std::size_t>(night)]
                   .starFlux[static_cast<std::size_t>(star - 1)];
    }
    return -2.5 * std::log10(scene.asteroidFlux / sum);
}

std::vector<std::string> SceneRecords(const LightcurveScene& scene) {
    std::mt19937 random(scene.seed);
    std::vector<std::string> records;
    int frame = 0;
    for (const SceneNight& night : scene.nights) {
        PhotometryParameters params;
        params.numberOfStars = static_cast<int>(night.starFlux.size());
        for (int i = 0; i < night.frames; ++i, ++frame) {
            const std::int32_t t = night.start + i * night.cadence;
            const double jd = JulianDate(t);
            // Thin cloud and the telescope's drift touch every object alike.
            const double transparency = 0.85 + 0.15 * std::cos(0.05 * i);
            const float drift = static_cast<float>(0.02 * i);

            alignas(4) HeaderRecord header;
            ClearHeader(header);
            SetHeaderText(header.object, scene.object);
            header.observationTime = t;
            header.filter = static_cast<std::uint16_t>(scene.filterCode);
            header.electronGain = static_cast<float>(scene.gain);
            header.exposure = static_cast<std::int32_t>(std::lround(scene.exposure * 10));

            ObjectList objects;
            const double asteroidFlux =
                scene.asteroidFlux * std::pow(10, -0.4 * SceneAsteroidMagnitude(scene, jd));
            objects.asteroidSelected =
                std::find(scene.failedFrames.begin(), scene.failedFrames.end(), frame) ==
                scene.failedFrames.end();
            objects.asteroidCentroid = {static_cast<float>(night.fieldX + 40 + 0.1 * i),
                                        static_cast<float>(night.fieldY + 60 - 0.05 * i)};
            objects.asteroidResult = ResultOf(Measure(scene, asteroidFlux * transparency, random));
            for (std::size_t s = 0; s < night.starFlux.size(); ++s) {
                double flux = night.starFlux[s];
                if (static_cast<int>(s) + 1 == scene.variableStar) {
                    const double angle =
                        2 * std::numbers::pi * (jd - scene.t0Jd) * 24 / scene.variablePeriodHours;
                    flux *= std::pow(10, -0.4 * scene.variableAmplitude * std::sin(angle));
                }
                objects.starPosition[s] = {
                    static_cast<float>(night.fieldX + kStarOffsets[s][0]) + drift,
                    static_cast<float>(night.fieldY + kStarOffsets[s][1]) - drift};
                objects.starResults[s] = ResultOf(Measure(scene, flux * transparency, random));
            }
            char image[64];
            std::snprintf(image, sizeof image, "/data/n%d/cz1_%03d.fit",
                          static_cast<int>(&night - scene.nights.data()) + 1, i + 1);
            records.push_back(BuildListRecord(image, header, 0, params, objects));
        }
    }
    return records;
}

std::string SceneListText(const LightcurveScene& scene) {
    std::string text;
    for (const std::string& record : SceneRecords(scene)) {
        text += record;
    }
    return text;
}

}  // namespace corvane::test
