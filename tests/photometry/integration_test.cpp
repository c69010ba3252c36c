#include "photometry/integration.h"

#include <gtest/gtest.h>

#include <cmath>

#include "photometry/background.h"
#include "scene.h"

namespace corvane {
namespace {

using test::Scene;

int PixelCount(const ApertureSpans& spans) {
    int n = 0;
    for (int i = 0; i < spans.count; ++i) {
        n += spans.rows[i].xmax - spans.rows[i].xmin + 1;
    }
    return n;
}

TEST(SignalToNoise, TheFormulaAsWritten) {
    // 5000 DN over 29 pixels, background 101 +- 1.5 DN from 1024 pixels, 2 e-/DN, bias 100
    // DN, bzero 32768.
    EXPECT_DOUBLE_EQ(
        SignalToNoise(5000, 29, 101, 1.5, 1024, 2, 32768, 100),
        5000 / std::sqrt(5000 / 2.0 + 29 * 1.5 * 1.5 * (1 + 1 / 1024.0) +
                         std::pow(0.0002 * 29 * 2 * (101 + 32768 - 100), 2)));
    // A negative net flux keeps its sign while the variance stays positive.
    EXPECT_DOUBLE_EQ(SignalToNoise(-100, 700, 500, 16, 8192, 2, 0, 0),
                     -100 / std::sqrt(-100 / 2.0 + 700 * 256 * (1 + 1 / 8192.0) +
                                      std::pow(0.0002 * 700 * 2 * 500, 2)));
}

TEST(SignalToNoise, ReadsZeroWhereTheNoiseHasNoValue) {
    struct Case {
        const char* what;
        double F;
        int Nb;
        double sigma, G;
    } cases[] = {
        {"no gain", 5000, 1024, 1.5, 0},
        {"negative gain", 5000, 1024, 1.5, -2},
        {"no background pixels", 5000, 0, 0, 2},
        {"variance below zero", -1e6, 1024, 0.1, 2},
        {"nothing at all", 0, 1024, 0, 2},
    };
    for (const Case& c : cases) {
        double snr = SignalToNoise(c.F, 29, 0, c.sigma, c.Nb, c.G, 0, 0);
        EXPECT_EQ(snr, 0) << c.what;
    }
}

// Flat 101 everywhere, one box of alternating 100 and 102 far away: M = 101 exactly.
struct ApertureScene : Scene {
    ApertureScene() : Scene(200, 100, 101) {
        for (int r = 10; r < 42; ++r) {
            for (int c = 151; c <= 182; ++c) {  // the box around (166, 26)
                picture.At(c, r) = static_cast<std::int16_t>((r + c) % 2 ? 102 : 100);
            }
        }
        params.numberOfBoxes = 1;
        params.numberOfStars = 2;
        params.asteroid.outline = ComputeOutline(3, 3, 0).outline;
        params.star.outline = ComputeOutline(4, 6, 30).outline;
        BuildSpanTables(params);
        objects.asteroidPosition = {50, 50};
        objects.asteroidBoxOffsets[0] = {166 - 50, 26 - 50};
        objects.referencePosition = {100, 50};
        objects.starOffset[0] = {0, 0};
        objects.starOffset[1] = {-80, 30};
        objects.starBoxOffsets[0][0] = objects.starBoxOffsets[0][1] = {66, -24};
        header.exposure = 25;
        header.electronGain = 2.5f;
        header.biasLevel = 90;
    }
    void Background() {
        MeasureTarget t = Target();
        ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Plain));
        ASSERT_EQ(objects.asteroidResult.mean, 101);
    }
};

TEST(IntegrateAsteroid, NetFluxRateAndNoise) {
    ApertureScene s;
    s.picture.At(50, 50) += 5000;
    s.picture.At(52, 49) += 1000;
    s.picture.At(54, 50) += 7000;  // just outside a = 3
    s.Background();
    MeasureTarget t = s.Target();
    ASSERT_TRUE(IntegrateAsteroid(t));
    const ObjectResult& r = s.objects.asteroidResult;
    const int npix = PixelCount(s.params.asteroid.spans);
    EXPECT_EQ(r.npix, npix);
    EXPECT_EQ(r.clip, 0);
    EXPECT_DOUBLE_EQ(r.fluxRate, 10 * 6000.0 / 25);
    const double sigma2 = 1024 / 1023.0;
    EXPECT_NEAR(r.snr,
                6000 / std::sqrt(6000 / 2.5 + npix * sigma2 * (1 + 1 / 1024.0) +
                                 std::pow(0.0002 * npix * 2.5 * (101 - 90), 2)),
                1e-9);
    EXPECT_TRUE(s.host.messages.empty());
}

TEST(IntegrateAsteroid, ColdPixelsCountAsTheMeanHotPixelsAsThey) {
    ApertureScene s;
    s.picture.At(49, 50) = 90;     // far below 101 - 3.5 sigma
    s.picture.At(51, 51) = 97;     // 4 below: beyond 3.5 sigma (sigma is about 1)
    s.picture.At(50, 48) = 98;     // 3 below: inside
    s.picture.At(50, 52) = 30000;  // hot
    s.Background();
    MeasureTarget t = s.Target();
    ASSERT_TRUE(IntegrateAsteroid(t));
    EXPECT_EQ(s.objects.asteroidResult.clip, 2);
    EXPECT_DOUBLE_EQ(s.objects.asteroidResult.fluxRate, 10 * (30000.0 - 101 + 98 - 101) / 25);
}

TEST(IntegrateAsteroid, OutOfPictureAndOutOfRangeEndTheRun) {
    struct Case {
        PixelPoint position;
        std::int16_t centre;
        const char* message;
    } cases[] = {
        {{2, 50}, 101, "Do: Error - Asteroid integration box\nlies partly out of picture."},
        {{50, 97}, 101, "Do: Error - Asteroid integration box\nlies partly out of picture."},
        {{50, 50}, 32766,
         "Do: Error * Out-of-range number encountered\nin Asteroid integration box."},
        {{50, 50}, 32767,
         "Do: Error * Out-of-range number encountered\nin Asteroid integration box."},
    };
    for (const Case& c : cases) {
        ApertureScene s;
        s.Background();
        s.picture.At(50, 50) = c.centre;
        s.objects.asteroidPosition = c.position;
        MeasureTarget t = s.Target();
        EXPECT_FALSE(IntegrateAsteroid(t));
        EXPECT_EQ(s.host.MessageLines(), std::vector<std::string>{c.message});
        EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Error);
    }
}

TEST(IntegrateStars, AFaultyStarIsZeroedAndTheOthersFollow) {
    struct Case {
        PixelPoint firstStar;
        std::int16_t centre;
        const char* message;
    } cases[] = {
        {{100, 50}, 32766, "Do: Error * Out-of-range number encountered\nin Star integration box."},
        {{197, 50}, 101, "Do: Error - Star integration box\nlies partly out of picture."},
    };
    for (const Case& c : cases) {
        ApertureScene s;
        s.picture.At(20, 80) += 400;  // star 2
        s.Background();
        s.objects.starResults[0] = {101, 1, 1024, 55, 7, 9, 3};  // an earlier measurement
        s.picture.At(100, 50) = c.centre;
        s.objects.referencePosition = c.firstStar;
        s.objects.starOffset[1] = {20 - c.firstStar.x, 80 - c.firstStar.y};
        MeasureTarget t = s.Target();
        IntegrateStars(t);
        EXPECT_EQ(s.host.MessageLines(), std::vector<std::string>{c.message});
        const ObjectResult& r0 = s.objects.starResults[0];
        EXPECT_EQ(r0.fluxRate, 0);
        EXPECT_EQ(r0.snr, 0);
        EXPECT_EQ(r0.npix, 0);
        EXPECT_EQ(r0.clip, 0);
        EXPECT_DOUBLE_EQ(s.objects.starResults[1].fluxRate, 10 * 400.0 / 25);
        EXPECT_EQ(s.objects.starResults[1].npix, PixelCount(s.params.star.spans));
    }
}

TEST(IntegrateStars, UnselectedStarsKeepTheirResults) {
    ApertureScene s;
    s.Background();
    s.objects.starSelected[0] = false;
    s.objects.starResults[0].fluxRate = 123;
    MeasureTarget t = s.Target();
    IntegrateStars(t);
    EXPECT_EQ(s.objects.starResults[0].fluxRate, 123);
    EXPECT_GT(s.objects.starResults[1].npix, 0);
}

}  // namespace
}  // namespace corvane
