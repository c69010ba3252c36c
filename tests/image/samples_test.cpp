// The demonstration frames in samples/, loaded as the desktop program loads them, against
// the scene make_samples put into them (samples/README.md lists it).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "platform/file_names.h"
#include "support/load_helpers.h"
#include "support/test_paths.h"

namespace corvane::test {
namespace {

constexpr double kSky = 300.0;                     // DN per pixel
constexpr double kGain = 2.0;                      // e-/DN
constexpr double kReadNoise = 10.0;                // e-
constexpr double kDriftX = 1.25, kDriftY = -0.75;  // px per frame

std::string SamplePath(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "field%03d.fit", frame);
    return test::SamplePath(name);
}

// Mid-exposure of frame n: the first exposure starts 2026-03-14 21:30:00 UTC, one every
// 300 s, each 60 s long.
std::int32_t MidExposure(int frame) {
    std::tm start{};
    start.tm_year = 2026 - 1900;
    start.tm_mon = 2;
    start.tm_mday = 14;
    start.tm_hour = 21;
    start.tm_min = 30;
    return static_cast<std::int32_t>(timegm(&start)) + 300 * (frame - 1) + 30;
}

TEST(Samples, EachFrameLoadsWithItsHeaderAndNextLeadsToTheFollowingOne) {
    for (int frame = 1; frame <= 5; ++frame) {
        SCOPED_TRACE(SamplePath(frame));
        Loaded loaded;
        LoadInto(loaded, SamplePath(frame));
        ASSERT_TRUE(loaded.ok);
        EXPECT_TRUE(loaded.host.messages.empty());
        const ImageRecord& image = loaded.program.image;
        const HeaderRecord& header = loaded.program.header;
        EXPECT_EQ(image.width, 512);
        EXPECT_EQ(image.height, 512);
        EXPECT_EQ(image.bitpix, 16);
        EXPECT_EQ(image.bzero, 32768);
        EXPECT_STREQ(header.object, "Demo field");
        EXPECT_EQ(header.filter, 3);  // V
        EXPECT_EQ(header.exposure, 600);
        EXPECT_EQ(header.electronGain, 2.0f);
        EXPECT_EQ(header.observationTime, MidExposure(frame));

        std::optional<std::string> next = NextFileName(SamplePath(frame));
        ASSERT_TRUE(next.has_value());
        EXPECT_EQ(*next, SamplePath(frame + 1));
        EXPECT_EQ(std::filesystem::exists(*next), frame < 5);
    }
}

struct Source {
    const char* name;
    double x, y;    // frame 1 position, pixels
    double dx, dy;  // motion per frame against the pixel grid
    double flux;    // DN per exposure
};

// The brightest star, a faint one, and the asteroid (its own motion plus the drift).
constexpr Source kSources[] = {
    {"star 1", 154.25, 109.99, kDriftX, kDriftY, 283260},
    {"star 30", 84.16, 353.77, kDriftX, kDriftY, 2190},
    {"asteroid", 140.00, 330.00, 3.0 + kDriftX, -1.5 + kDriftY, 30000},
};

TEST(Samples, SourcesSitWhereTheTruthPutsThemWithTheirFlux) {
    for (int frame = 1; frame <= 5; ++frame) {
        Loaded loaded;
        LoadInto(loaded, SamplePath(frame));
        ASSERT_TRUE(loaded.ok) << SamplePath(frame);
        const ImageRecord& image = loaded.program.image;
        for (const Source& s : kSources) {
            SCOPED_TRACE(std::string(s.name) + " in frame " + std::to_string(frame));
            double x = s.x + (frame - 1) * s.dx, y = s.y + (frame - 1) * s.dy;
            int column = static_cast<int>(std::floor(x + 0.5));
            int row = static_cast<int>(std::floor(y + 0.5));
            // Sum above the sky over 17 x 17 pixels, which holds the whole profile, and
            // the brightest pixel of the central 5 x 5.
            double sum = 0;
            int peakColumn = 0, peakRow = 0, peak = -1;
            for (int r = row - 8; r <= row + 8; ++r) {
                for (int c = column - 8; c <= column + 8; ++c) {
                    int value = TruePixel(image, c, r);
                    sum += value - kSky;
                    if (std::abs(r - row) <= 2 && std::abs(c - column) <= 2 && value > peak) {
                        peak = value;
                        peakColumn = c;
                        peakRow = r;
                    }
                }
            }
            // Photon noise of star and sky plus read noise over 289 pixels, in DN.
            double sigma = std::sqrt((s.flux + 289 * kSky) / kGain +
                                     289 * kReadNoise * kReadNoise / (kGain * kGain));
            EXPECT_NEAR(sum, s.flux, 5 * sigma);
            // The brightest pixel is one nearest the centre (either of two when it lies
            // half-way); for a faint star noise may make it a neighbour.
            double slack = s.flux > 10000 ? 0.5 : 1.5;
            EXPECT_LE(std::fabs(peakColumn - x), slack);
            EXPECT_LE(std::fabs(peakRow - y), slack);
        }
    }
}

}  // namespace
}  // namespace corvane::test
