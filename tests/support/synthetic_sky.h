#pragma once
// Synthetic CCD frames: a flat sky with Gaussian stars of known total flux, and noise
// realisations of it (Poisson photon noise and Gaussian read noise, in electrons).

#include <cstdint>
#include <random>
#include <vector>

#include "support/memory_image.h"

namespace corvane::test {

// The noiseless frame, DN per pixel.
struct SkyModel {
    int width = 0;
    int height = 0;
    std::vector<double> expected;  // row-major
    double sky = 0;

    SkyModel(int w, int h, double skyLevel);
    // A circular Gaussian of `flux` DN in total and `fwhm` pixels, centred on (x, y) in
    // pixel coordinates (a pixel's centre is its integer position). Each pixel receives the
    // integral of the profile over its area; beyond 8 pixels from the centre the profile
    // is below 1e-16 of its flux and is left out.
    void AddStar(double x, double y, double flux, double fwhm);
};

// The distribution of one sky pixel's DN value (Poisson photons of the given mean, plus
// Gaussian read noise, divided by the gain and rounded to the nearest integer), tabulated
// once and sampled by its inverse cumulative distribution: one random number per pixel.
class SkyPixelTable {
public:
    SkyPixelTable(double meanElectrons, double gain, double readNoiseElectrons);
    int Sample(std::mt19937_64& rng) const;

private:
    int first_ = 0;  // the DN value of cumulative_[0]
    std::vector<double> cumulative_;
    // guide_[b]: the first entry whose cumulative value exceeds b / guide_.size(), where
    // the search for a sample in that bucket starts.
    std::vector<std::size_t> guide_;
};

// Fills `image` with one realisation: electrons = Poisson(gain x expected) + read noise,
// DN = electrons / gain rounded to the nearest integer.
class NoiseGenerator {
public:
    NoiseGenerator(const SkyModel& model, double gain, double readNoiseElectrons,
                   std::uint64_t seed);
    void Realise(MemoryImage& image);

private:
    const SkyModel& model_;
    double gain_;
    std::mt19937_64 rng_;
    std::normal_distribution<double> readNoise_;
    SkyPixelTable skyTable_;
};

}  // namespace corvane::test
