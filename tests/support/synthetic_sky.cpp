#include "support/synthetic_sky.h"

#include <algorithm>
#include <cmath>

namespace corvane::test {

SkyModel::SkyModel(int w, int h, double skyLevel)
    : width(w), height(h), expected(static_cast<std::size_t>(w) * h, skyLevel), sky(skyLevel) {}

void SkyModel::AddStar(double x, double y, double flux, double fwhm) {
    const double sigma = fwhm / (2 * std::sqrt(2 * std::log(2.0)));
    // Share of the profile between u - 0.5 and u + 0.5 along one axis.
    auto share = [sigma](double u) {
        const double s = sigma * std::sqrt(2.0);
        return 0.5 * (std::erf((u + 0.5) / s) - std::erf((u - 0.5) / s));
    };
    const int x0 = static_cast<int>(std::lround(x));
    const int y0 = static_cast<int>(std::lround(y));
    for (int r = std::max(0, y0 - 8); r <= std::min(height - 1, y0 + 8); ++r) {
        for (int c = std::max(0, x0 - 8); c <= std::min(width - 1, x0 + 8); ++c) {
            expected[static_cast<std::size_t>(r) * width + c] +=
                flux * share(c - x) * share(r - y);
        }
    }
}

SkyPixelTable::SkyPixelTable(double mean, double gain, double readNoise) {
    // Photon counts within 12 standard deviations, read noise within 8.
    const double spread = 12 * std::sqrt(mean) + 12;
    const int kFirst = std::max(0, static_cast<int>(mean - spread));
    const int kLast = static_cast<int>(mean + spread);
    first_ = static_cast<int>(std::floor((kFirst - 8 * readNoise) / gain)) - 1;
    const int last = static_cast<int>(std::ceil((kLast + 8 * readNoise) / gain)) + 1;
    std::vector<double> p(static_cast<std::size_t>(last - first_ + 1), 0.0);
    auto normalBelow = [readNoise](double e) {
        return 0.5 * std::erfc(-e / (readNoise * std::sqrt(2.0)));
    };
    for (int k = kFirst; k <= kLast; ++k) {
        const double pk = std::exp(k * std::log(mean) - mean - std::lgamma(k + 1.0));
        // DN d when d - 0.5 <= (k + e) / gain < d + 0.5.
        for (int d = first_; d <= last; ++d) {
            const double lo = (d - 0.5) * gain - k;
            const double hi = (d + 0.5) * gain - k;
            p[static_cast<std::size_t>(d - first_)] += pk * (normalBelow(hi) - normalBelow(lo));
        }
    }
    double total = 0;
    for (double q : p) {
        total += q;
        cumulative_.push_back(total);
    }
    for (double& c : cumulative_) {
        c /= total;
    }
    cumulative_.back() = 1.0;
    guide_.resize(4096);
    std::size_t i = 0;
    for (std::size_t b = 0; b < guide_.size(); ++b) {
        const double u = static_cast<double>(b) / static_cast<double>(guide_.size());
        while (cumulative_[i] <= u) {
            ++i;
        }
        guide_[b] = i;
    }
}

int SkyPixelTable::Sample(std::mt19937_64& rng) const {
    const double u = std::generate_canonical<double, 53>(rng);  // in [0, 1)
    std::size_t i = guide_[static_cast<std::size_t>(u * static_cast<double>(guide_.size()))];
    while (cumulative_[i] <= u) {
        ++i;
    }
    return first_ + static_cast<int>(i);
}

NoiseGenerator::NoiseGenerator(const SkyModel& model, double gain, double readNoiseElectrons,
                               std::uint64_t seed)
    : model_(model),
      gain_(gain),
      rng_(seed),
      readNoise_(0.0, readNoiseElectrons),
      skyTable_(gain * model.sky, gain, readNoiseElectrons) {}

void NoiseGenerator::Realise(MemoryImage& image) {
    for (int r = 0; r < model_.height; ++r) {
        for (int c = 0; c < model_.width; ++c) {
            const double mean = model_.expected[static_cast<std::size_t>(r) * model_.width + c];
            if (mean == model_.sky) {
                image.At(c, r) = static_cast<std::int16_t>(skyTable_.Sample(rng_));
                continue;
            }
            std::poisson_distribution<int> photons(gain_ * mean);
            const double electrons = photons(rng_) + readNoise_(rng_);
            image.At(c, r) = static_cast<std::int16_t>(std::floor(electrons / gain_ + 0.5));
        }
    }
}

}  // namespace corvane::test
