// make_samples: writes the demonstration sequence samples/field001.fit ... field005.fit and
// prints the truth behind it (the text of samples/README.md).
//
//   make_samples OUTPUT_DIRECTORY > OUTPUT_DIRECTORY/README.md
//
// Five 512 x 512 frames of one star field, 5 minutes apart, 60 s each, with an asteroid
// crossing it and the telescope pointing drifting between frames. Units: signal in DN
// (the stored counts), charge in electrons (gain 2 e-/DN), time in seconds.
//
// The output must be the same on every machine, so nothing here comes from the C
// library's random numbers or transcendental functions: the generator is splitmix64, and
// exp and log are our own series in plain IEEE arithmetic (+, *, /, sqrt, frexp, ldexp are
// exact or correctly rounded everywhere). The build turns floating-point contraction off.

#include <fitsio.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 512;  // pixels per side
constexpr int kFrames = 5;
constexpr double kGain = 2.0;        // electrons per DN
constexpr double kReadNoise = 10.0;  // electrons RMS per pixel
constexpr double kSky = 300.0;       // DN per pixel per exposure
constexpr double kExposure = 60.0;   // seconds
constexpr int kCadence = 300;        // seconds from one frame start to the next
constexpr double kFwhm = 3.0;        // pixels, stars and asteroid alike
constexpr int kStars = 30;
constexpr double kDriftX = 1.25, kDriftY = -0.75;  // pointing drift, pixels per frame
constexpr double kAstX = 140.0, kAstY = 330.0;     // asteroid in frame 1, pixels
constexpr double kAstDx = 3.0, kAstDy = -1.5;      // its motion against the stars, px/frame
constexpr double kAstFlux = 30000.0;               // DN per exposure
constexpr double kLn2 = 0.6931471805599453;

// --- deterministic arithmetic ---------------------------------------------------------

struct SplitMix64 {
    std::uint64_t state;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in the open interval (0, 1): 53 random bits, offset by half a step.
    double Uniform() { return (static_cast<double>(Next() >> 11) + 0.5) * 0x1.0p-53; }
};

// e^x: x = k ln2 + r with |r| <= ln2 / 2, then a Taylor series for e^r.
double Exp(double x) {
    double k = std::floor(x / kLn2 + 0.5);
    double r = x - k * kLn2;
    double term = 1.0, sum = 1.0;
    for (int n = 1; n < 24; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// ln x for x > 0: x = m 2^e with m in [sqrt(1/2), sqrt(2)), ln m = 2 atanh((m-1)/(m+1)).
double Log(double x) {
    int e = 0;
    double m = std::frexp(x, &e);
    if (m < 0.7071067811865476) {
        m *= 2.0;
        --e;
    }
    double s = (m - 1.0) / (m + 1.0), s2 = s * s, power = s, sum = 0.0;
    for (int n = 1; n < 48; n += 2) {
        sum += power / n;
        power *= s2;
    }
    return e * kLn2 + 2.0 * sum;
}

// ln k!: summed for small k, Stirling's series beyond (error below 1e-12 from k = 10).
double LogFactorial(double k) {
    if (k < 10.0) {
        double sum = 0.0;
        for (double i = 2.0; i <= k; i += 1.0) sum += Log(i);
        return sum;
    }
    constexpr double kHalfLog2Pi = 0.9189385332046728;
    return (k + 0.5) * Log(k) - k + kHalfLog2Pi + 1.0 / (12.0 * k) - 1.0 / (360.0 * k * k * k) +
           1.0 / (1260.0 * k * k * k * k * k);
}

// Standard normal deviate, Marsaglia's polar method.
double Normal(SplitMix64& rng) {
    for (;;) {
        double u = 2.0 * rng.Uniform() - 1.0, v = 2.0 * rng.Uniform() - 1.0;
        double s = u * u + v * v;
        if (s > 0.0 && s < 1.0)
            return u * std::sqrt(-2.0 * Log(s) / s);
    }
}

// Poisson deviate of mean `mean`: multiplication of uniforms below 10, else Hoermann's
// transformed rejection (PTRS), which is exact and needs only ln and ln k!.
double Poisson(SplitMix64& rng, double mean) {
    if (mean <= 0.0)
        return 0.0;
    if (mean < 10.0) {
        double limit = Exp(-mean), product = rng.Uniform(), k = 0.0;
        while (product > limit) {
            product *= rng.Uniform();
            k += 1.0;
        }
        return k;
    }
    double root = std::sqrt(mean), logMean = Log(mean);
    double b = 0.931 + 2.53 * root, a = -0.059 + 0.02483 * b;
    double invAlpha = 1.1239 + 1.1328 / (b - 3.4), vr = 0.9277 - 3.6224 / (b - 2.0);
    for (;;) {
        double u = rng.Uniform() - 0.5, v = rng.Uniform(), us = 0.5 - std::fabs(u);
        double k = std::floor((2.0 * a / us + b) * u + mean + 0.43);
        if (us >= 0.07 && v <= vr)
            return k;
        if (k < 0.0 || (us < 0.013 && v > us))
            continue;
        if (Log(v) + Log(invAlpha) - Log(a / (us * us) + b) <=
            -mean + k * logMean - LogFactorial(k))
            return k;
    }
}

// --- the scene ------------------------------------------------------------------------

struct Star {
    double x, y;  // frame 1 position: column and row, 0-based, pixel centres at integers
    double flux;  // DN per exposure, summed over the whole image of the star
};

double Hundredths(double v) {
    return std::floor(v * 100.0 + 0.5) / 100.0;
}

// Distance of (x, y) from the asteroid's track over all frames, in star coordinates.
double TrackDistance(double x, double y) {
    double best = 1e9;
    for (int f = 0; f < kFrames; ++f) {
        double dx = x - (kAstX + f * kAstDx), dy = y - (kAstY + f * kAstDy);
        best = std::min(best, std::sqrt(dx * dx + dy * dy));
    }
    return best;
}

// Positions uniform over the field, at least 12 px apart, 10 px from the asteroid and 20 px
// from the edges (the drift moves them 5 px over the sequence); fluxes log-uniform from
// 1 500 to 300 000 DN, so peaks run from about 150 DN to 29 000 DN above the sky.
std::vector<Star> MakeCatalogue() {
    SplitMix64 rng{20260314};
    std::vector<Star> stars;
    while (stars.size() < kStars) {
        Star s{Hundredths(20.0 + 472.0 * rng.Uniform()), Hundredths(20.0 + 472.0 * rng.Uniform()),
               0.0};
        double flux = Exp(Log(1500.0) + rng.Uniform() * Log(200.0));
        s.flux = std::floor(flux / 10.0 + 0.5) * 10.0;
        bool clear = TrackDistance(s.x, s.y) >= 10.0;
        for (const Star& t : stars) clear = clear && std::hypot(s.x - t.x, s.y - t.y) >= 12.0;
        if (clear)
            stars.push_back(s);
    }
    std::sort(stars.begin(), stars.end(),
              [](const Star& p, const Star& q) { return p.flux > q.flux; });
    return stars;
}

constexpr int kStamp = 8;       // profile drawn out to +-8 px (6.7 sigma)
constexpr int kSubsamples = 8;  // per pixel and axis, to integrate the profile over a pixel

// A Gaussian of the given FWHM integrated over each pixel of one axis and normalised to a
// sum of 1 over the stamp: the star's image then holds exactly its flux.
std::vector<double> Profile(double centre, int first) {
    const double sigma = kFwhm / (2.0 * std::sqrt(2.0 * kLn2));
    std::vector<double> weights(2 * kStamp + 1);
    double total = 0.0;
    for (int i = 0; i <= 2 * kStamp; ++i) {
        for (int s = 0; s < kSubsamples; ++s) {
            double d = first + i - 0.5 + (s + 0.5) / kSubsamples - centre;
            weights[i] += Exp(-d * d / (2.0 * sigma * sigma));
        }
        total += weights[i];
    }
    for (double& w : weights) w /= total;
    return weights;
}

void AddSource(std::vector<double>& signal, double x, double y, double flux) {
    int x0 = static_cast<int>(std::floor(x + 0.5)) - kStamp;
    int y0 = static_cast<int>(std::floor(y + 0.5)) - kStamp;
    std::vector<double> px = Profile(x, x0), py = Profile(y, y0);
    for (int j = 0; j <= 2 * kStamp; ++j) {
        for (int i = 0; i <= 2 * kStamp; ++i) {
            int col = x0 + i, row = y0 + j;
            if (col < 0 || row < 0 || col >= kSize || row >= kSize)
                continue;
            signal[static_cast<std::size_t>(row) * kSize + col] += flux * px[i] * py[j];
        }
    }
}

// One exposure: the noiseless signal in DN, turned into electrons with photon (Poisson)
// noise, plus read noise, converted back to DN, rounded and clipped to 0 ... 65535.
std::vector<unsigned short> MakeFrame(const std::vector<Star>& stars, int frame) {
    std::vector<double> signal(static_cast<std::size_t>(kSize) * kSize, kSky);
    for (const Star& s : stars)
        AddSource(signal, s.x + frame * kDriftX, s.y + frame * kDriftY, s.flux);
    AddSource(signal, kAstX + frame * (kAstDx + kDriftX), kAstY + frame * (kAstDy + kDriftY),
              kAstFlux);
    SplitMix64 rng{0xC0FFEEull + static_cast<std::uint64_t>(frame)};
    std::vector<unsigned short> data(signal.size());
    for (std::size_t p = 0; p < signal.size(); ++p) {
        double electrons = Poisson(rng, signal[p] * kGain) + kReadNoise * Normal(rng);
        double dn = std::floor(electrons / kGain + 0.5);
        data[p] = static_cast<unsigned short>(std::clamp(dn, 0.0, 65535.0));
    }
    return data;
}

// 'YYYY-MM-DDThh:mm:ss' UTC, `offset` seconds after the first exposure began at 21:30:00.
std::string UtcText(int offset) {
    int seconds = 21 * 3600 + 30 * 60 + offset;
    char text[32];
    std::snprintf(text, sizeof text, "2026-03-14T%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// 16-bit unsigned data the FITS way: BITPIX 16 with BZERO 32768, stored = value - 32768.
// The first row of `data` is the first row in the file.
bool WriteFrame(const std::string& path, const std::vector<unsigned short>& data, int frame) {
    fitsfile* file = nullptr;
    int status = 0;
    long axes[2] = {kSize, kSize};
    std::string clobber = "!" + path;
    fits_create_file(&file, clobber.c_str(), &status);
    fits_create_img(file, USHORT_IMG, 2, axes, &status);
    // cfitsio's two reference COMMENT cards give way to one about this file.
    fits_delete_key(file, "COMMENT", &status);
    fits_delete_key(file, "COMMENT", &status);
    std::string date = UtcText(frame * kCadence);
    fits_write_key_str(file, "OBJECT", "Demo field", "synthetic star field", &status);
    fits_write_key_str(file, "TELESCOP", "Synthetic 0.4 m", "", &status);
    fits_write_key_str(file, "OBSERVER", "make_samples", "", &status);
    fits_write_key_str(file, "DATE-OBS", date.c_str(), "[UTC] start of exposure", &status);
    fits_write_key_fixdbl(file, "EXPTIME", kExposure, 1, "[s] exposure time", &status);
    fits_write_key_fixdbl(file, "GAIN", kGain, 1, "[e-/DN] electrons per count", &status);
    fits_write_key_fixdbl(file, "RDNOISE", kReadNoise, 1, "[e-] read noise", &status);
    fits_write_key_str(file, "FILTER", "V", "", &status);
    fits_write_comment(file, "Corvane32 demo sequence", &status);
    fits_write_img(file, TUSHORT, 1, static_cast<LONGLONG>(data.size()),
                   const_cast<unsigned short*>(data.data()), &status);
    fits_close_file(file, &status);
    if (status != 0) {
        char text[FLEN_STATUS];
        fits_get_errstatus(status, text);
        std::fprintf(stderr, "make_samples: %s: %s\n", path.c_str(), text);
        return false;
    }
    return true;
}

void PrintTruth(const std::vector<Star>& stars) {
    std::printf("# Demonstration frames\n\n");
    std::printf("field001.fit ... field005.fit: one synthetic V-band field, written by\n");
    std::printf("tools/make_samples (`build/tools/make_samples samples > samples/README.md`).\n");
    std::printf("512 x 512, 16-bit unsigned (BITPIX 16, BZERO 32768), %.0f s exposures every\n",
                kExposure);
    std::printf("%d s from 2026-03-14 21:30:00 UTC. Sky %.0f DN/pixel, gain %.1f e-/DN, read\n",
                kCadence, kSky, kGain);
    std::printf("noise %.0f e-, Poisson photon noise, Gaussian PSF of FWHM %.1f px, no bias.\n\n",
                kReadNoise, kFwhm);
    std::printf("Positions are 0-based (column, row) of the data as stored, row 0 first in the\n");
    std::printf("file (the top row on screen), pixel centres at whole numbers. Fluxes are DN\n");
    std::printf("per exposure above the sky, summed over the star.\n\n");
    std::printf("Pointing drift: (%+.2f, %+.2f) px per frame; star positions in frame n are\n",
                kDriftX, kDriftY);
    std::printf("the frame-1 positions + (n - 1) x drift.\n\n");
    std::printf("Asteroid, %.0f DN, at mid-exposure:\n\n| frame | UTC mid-exposure | x | y |\n",
                kAstFlux);
    std::printf("|---|---|---|---|\n");
    for (int f = 0; f < kFrames; ++f) {
        std::string middle = UtcText(f * kCadence + static_cast<int>(kExposure) / 2);
        std::printf("| %d | %s | %.2f | %.2f |\n", f + 1, middle.c_str(),
                    kAstX + f * (kAstDx + kDriftX), kAstY + f * (kAstDy + kDriftY));
    }
    std::printf("\nStars in frame 1, brightest first:\n\n| # | x | y | flux (DN) |\n");
    std::printf("|---|---|---|---|\n");
    for (std::size_t i = 0; i < stars.size(); ++i)
        std::printf("| %zu | %.2f | %.2f | %.0f |\n", i + 1, stars[i].x, stars[i].y, stars[i].flux);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples OUTPUT_DIRECTORY > OUTPUT_DIRECTORY/README.md\n");
        return 2;
    }
    std::vector<Star> stars = MakeCatalogue();
    for (int f = 0; f < kFrames; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "/field%03d.fit", f + 1);
        if (!WriteFrame(argv[1] + std::string(name), MakeFrame(stars, f), f))
            return 1;
    }
    PrintTruth(stars);
    return 0;
}
