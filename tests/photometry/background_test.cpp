#include "photometry/background.h"

#include <gtest/gtest.h>

#include <cmath>

#include "photometry/integration.h"
#include "scene.h"

namespace corvane {
namespace {

using test::Scene;

constexpr const char* kOutsideNote = "Do: Some bckgnd pixels out of picture.\n\tIgnored.";

// A box alternating 100 and 102 around (bx, by), everything else far brighter: M comes
// out at exactly 101 only if the box covers exactly its own pixels.
TEST(BackgroundStep, BoxCoversTheRegionBoxPixels) {
    struct Case {
        int side;
        int top, left;  // the first row and column of the box around (50, 40)
    } cases[] = {{32, 40 - 16, 50 - 15}, {16, 40 - 8, 50 - 7}};
    for (const Case& c : cases) {
        Scene s(100, 100, 5000);
        s.boxSide = c.side;
        for (int r = c.top; r < c.top + c.side; ++r) {
            for (int col = c.left; col < c.left + c.side; ++col) {
                s.picture.At(col, r) = static_cast<std::int16_t>((r + col) % 2 ? 102 : 100);
            }
        }
        s.params.numberOfBoxes = 1;
        s.objects.starSelected.fill(false);
        s.objects.asteroidPosition = {45, 35};
        s.objects.asteroidBoxOffsets[0] = {5, 5};
        MeasureTarget t = s.Target();
        ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Plain)) << c.side;
        const int n = c.side * c.side;
        EXPECT_EQ(s.objects.asteroidResult.count, n);
        EXPECT_DOUBLE_EQ(s.objects.asteroidResult.mean, 101.0);
        EXPECT_NEAR(s.objects.asteroidResult.sigma, std::sqrt(n / (n - 1.0)), 1e-9);
        EXPECT_TRUE(s.host.messages.empty());
    }
}

TEST(BackgroundStep, OutsidePixelsAreSkippedAndNotedOnceAtTheEnd) {
    Scene s(100, 100, 0);
    for (int r = 0; r < 100; ++r) {
        for (int c = 0; c < 100; ++c) {
            s.picture.At(c, r) = static_cast<std::int16_t>(500 + (r * 7 + c * 3) % 11);
        }
    }
    s.params.numberOfStars = 2;
    s.params.numberOfBoxes = 1;
    s.objects.asteroidPosition = {0, 0};    // box rows -16..15, columns -15..16
    s.objects.referencePosition = {99, 99};
    s.objects.starBoxOffsets[0][0] = {0, 0};  // rows 83..114, columns 84..115
    s.objects.starBoxOffsets[0][1] = {-50, -50};
    MeasureTarget t = s.Target();
    ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Plain));
    EXPECT_EQ(s.objects.asteroidResult.count, 16 * 17);
    EXPECT_EQ(s.objects.starResults[0].count, 17 * 16);
    EXPECT_EQ(s.objects.starResults[1].count, 32 * 32);
    ASSERT_EQ(s.host.MessageLines(), std::vector<std::string>{kOutsideNote});
    EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Information);
}

TEST(BackgroundStep, StarWithEveryBoxOutsideIsMeasuredWithoutBackground) {
    Scene s(100, 100, 500);
    s.picture.At(50, 50) = 1500;
    s.SingleStar({50, 50}, 2);
    s.objects.starBoxOffsets[0][0] = {-200, 0};
    s.objects.starBoxOffsets[1][0] = {0, 300};
    s.objects.starResults[0].sigma = 9;  // from an earlier image
    MeasureTarget t = s.Target();
    ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Plain));
    EXPECT_EQ(s.host.MessageLines(),
              (std::vector<std::string>{"Do: ERROR -- npoints <= 2 !", kOutsideNote}));
    EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Warning);
    const ObjectResult& r = s.objects.starResults[0];
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(r.mean, 0);
    EXPECT_EQ(r.sigma, 0);

    // The flux is then the plain aperture sum; the noise has no value and the SNR reads 0.
    IntegrateStars(t);
    EXPECT_DOUBLE_EQ(r.fluxRate, 500.0 * r.npix + 1000);
    EXPECT_EQ(r.snr, 0);
    EXPECT_GT(r.npix, 700);
}

TEST(BackgroundStep, IdenticalValuesEndTheStepForAStarOnly) {
    {
        Scene s(200, 100, 500);
        s.objects.asteroidSelected = false;
        s.objects.referencePosition = {50, 50};
        s.objects.starBoxOffsets[0][0] = {-49, -49};  // partly outside: no note after a failure
        s.objects.starResults[1].mean = 77;
        MeasureTarget t = s.Target();
        EXPECT_FALSE(BackgroundStep(t, BackgroundMode::Plain));
        EXPECT_EQ(s.host.MessageLines(), std::vector<std::string>{"Do: error in evaluating RMS"});
        EXPECT_EQ(s.objects.starResults[1].mean, 77);  // the stars after it are not reached
    }
    {
        Scene s(200, 100, 500);
        s.objects.starSelected.fill(false);
        s.objects.asteroidPosition = {50, 50};
        MeasureTarget t = s.Target();
        EXPECT_TRUE(BackgroundStep(t, BackgroundMode::Plain));
        EXPECT_EQ(s.objects.asteroidResult.sigma, 0);
        EXPECT_EQ(s.objects.asteroidResult.mean, 500);
        EXPECT_TRUE(s.host.messages.empty());
    }
}

TEST(BackgroundStep, AsteroidWithoutPixelsFailsBeforeStarsAndNotes) {
    Scene s(100, 100, 500);
    s.objects.asteroidPosition = {-500, -500};
    s.objects.starResults[0].mean = 42;
    MeasureTarget t = s.Target();
    EXPECT_FALSE(BackgroundStep(t, BackgroundMode::Plain));
    EXPECT_EQ(s.host.MessageLines(), std::vector<std::string>{"Do: ERROR -- npoints <= 2 !"});
    EXPECT_EQ(s.objects.starResults[0].mean, 42);
}

TEST(BackgroundStep, ClippingPullsTheMeanBackToTheSky) {
    Scene s(100, 100, 0);
    for (int r = 0; r < 100; ++r) {
        for (int c = 0; c < 100; ++c) {
            s.picture.At(c, r) = static_cast<std::int16_t>(500 + (r + c) % 2 * 4);  // 500, 504
        }
    }
    s.FillSquare(48, 48, 2, 9000);  // a star inside the box, on two 500s and two 504s
    s.SingleStar({50, 50});
    MeasureTarget t = s.Target();
    ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Plain));
    const ObjectResult& r = s.objects.starResults[0];
    const double plain = r.mean;
    EXPECT_DOUBLE_EQ(plain, (1020 * 502.0 + 4 * 9000) / 1024);
    ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Clipped));
    // The star's four pixels now count as the plain mean; the sky stays inside 3.5 sigma.
    EXPECT_DOUBLE_EQ(r.mean, (1020 * 502.0 + 4 * plain) / 1024);
    ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Clipped));
    EXPECT_LT(r.mean, 502.7);
    EXPECT_EQ(r.count, 1024);  // clipped pixels still count
}

TEST(BackgroundStep, OutOfRangeValuesDependOnBzero) {
    struct Case {
        std::int32_t bzero;
        std::int16_t stored;
        bool outOfRange;
    } cases[] = {
        {0, -1000, false},     {0, -1001, true},      {32768, -32768, false},
        {32768, 32765, false}, {32768, 32766, true},  {32768, 32767, true},
        {0, 32766, true},      {-2000, 999, true},    {-2000, 1000, false},
    };
    for (const Case& c : cases) {
        Scene s(100, 100, 1500, c.bzero);
        s.picture.At(60, 60) = 1501;  // keeps the variance positive
        s.picture.At(50, 50) = c.stored;
        s.SingleStar({50, 50});
        MeasureTarget t = s.Target();
        ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Plain));
        EXPECT_EQ(s.objects.starResults[0].count, c.outOfRange ? 1023 : 1024)
            << c.bzero << " " << c.stored;
        if (c.outOfRange) {
            ASSERT_EQ(s.host.messages.size(), 1u);
            EXPECT_EQ(s.host.messages[0].text,
                      "Warning * Out-of-range number encountered\nin background box.");
            EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Error);
        } else {
            EXPECT_TRUE(s.host.messages.empty());
        }
    }
}

TEST(BackgroundStep, BothNotesInTheirOrder) {
    Scene s(100, 100, 600);
    s.picture.At(2, 2) = 32767;
    s.picture.At(3, 2) = 601;
    s.SingleStar({0, 0});
    MeasureTarget t = s.Target();
    ASSERT_TRUE(BackgroundStep(t, BackgroundMode::Plain));
    EXPECT_EQ(s.host.MessageLines(),
              (std::vector<std::string>{
                  kOutsideNote,
                  "Do: Warning * Out-of-range number encountered\nin background box."}));
}

}  // namespace
}  // namespace corvane
