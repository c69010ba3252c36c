#include "photometry/centroid.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scene.h"

namespace corvane {
namespace {

using test::Scene;

// Sky of 1000 with its background mean already known; star 1 is the reference.
struct CentroidScene : Scene {
    CentroidScene() : Scene(120, 80, 1000) {
        objects.asteroidSelected = false;
        params.numberOfStars = 1;
        objects.referencePosition = {60, 40};
        objects.starResults[0].mean = 1000;
        objects.asteroidResult.mean = 1000;
    }
    // A symmetric 3 x 3 star centred on (column, row).
    void Star(int column, int row, int peak) {
        for (int dr = -1; dr <= 1; ++dr) {
            for (int dc = -1; dc <= 1; ++dc) {
                int w = (dr == 0 ? 2 : 1) * (dc == 0 ? 2 : 1);
                picture.At(column + dc, row + dr) =
                    static_cast<std::int16_t>(1000 + peak * w / 4);
            }
        }
    }
    bool Run() {
        MeasureTarget t = Target();
        return CentroidAllObjects(t);
    }
};

TEST(CentroidAllObjects, SymmetricStarStaysWhereItWasClicked) {
    CentroidScene s;
    s.Star(60, 40, 4000);
    ASSERT_TRUE(s.Run());
    EXPECT_TRUE(s.host.messages.empty());
    EXPECT_EQ(s.objects.starPosition[0].x, 60.0f);
    EXPECT_EQ(s.objects.starPosition[0].y, 40.0f);
    EXPECT_EQ(s.objects.starCentroidOffset[0], (PixelPoint{0, 0}));
}

TEST(CentroidAllObjects, ClickBesideABrightStarMovesOntoIt) {
    CentroidScene s;
    s.Star(63, 40, 8000);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.host.MessageLines(),
              std::vector<std::string>{"Do: Warning ! - Star 1  was\n 3.0 pixels off-centered"});
    EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(s.objects.starCentroidOffset[0], (PixelPoint{3, 0}));
    EXPECT_FLOAT_EQ(s.objects.starPosition[0].x, 63.0f);
}

TEST(CentroidAllObjects, AsteroidOffCentreAndItsPosition) {
    CentroidScene s;
    s.objects.asteroidSelected = true;
    s.objects.starSelected[0] = false;
    s.objects.asteroidPosition = {30, 30};
    s.Star(32, 28, 8000);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.host.MessageLines(),
              std::vector<std::string>{"Do: Warning ! - Asteroid was\n 2.8 pixels off-centered"});
    EXPECT_EQ(s.objects.asteroidCentre, (PixelPoint{32, 28}));
    EXPECT_EQ(s.objects.asteroidPosition, (PixelPoint{30, 30}));  // the run adopts it later
}

// Along row 40 with a = b = 3 around column 60: from 60 the weights at 57 (+100) and 63
// (+200) put the centroid on 61; from 61 the weights at 63 (+200) and 64 (-150) put it
// back on 60. The third centroid, 61, is the one kept.
TEST(CentroidAllObjects, JumpingCentroidIsWarnedOfAndTheThirdKept) {
    CentroidScene s;
    s.params.star.outline = ComputeOutline(3, 3, 0).outline;
    BuildSpanTables(s.params);
    s.picture.At(57, 40) = 1100;
    s.picture.At(63, 40) = 1200;
    s.picture.At(64, 40) = 850;
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.host.MessageLines(),
              std::vector<std::string>{
                  "Do: Warning ! - Star 1 centroiding does not converge\n 1.0 pixels residuals"});
    EXPECT_EQ(s.objects.starCentroidOffset[0], (PixelPoint{1, 0}));
    EXPECT_FLOAT_EQ(s.objects.starPosition[0].x, 61.0f);
}

TEST(CentroidAllObjects, UnselectedAndGivenUpStars) {
    CentroidScene s;
    s.params.numberOfStars = 3;
    s.objects.starOffset[1] = {10, 5};
    s.objects.starCentroidOffset[1] = {99, 99};  // left over from another image
    s.objects.starSelected[1] = false;
    s.objects.starOffset[2] = {-58, 0};  // aperture reaches column -13
    s.objects.starResults[2].mean = 1000;
    s.Star(60, 40, 4000);
    ASSERT_TRUE(s.Run());
    EXPECT_EQ(s.objects.starCentroidOffset[1], (PixelPoint{10, 5}));
    EXPECT_EQ(s.objects.starCentroidOffset[2], (PixelPoint{-58, 0}));
    EXPECT_EQ(s.objects.starPosition[2].x, 2.0f);  // where its aperture started
    EXPECT_EQ(s.host.MessageLines(),
              std::vector<std::string>{
                  "Do: Warning - Star integration box\nlies partly out of picture."});
    EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Error);
}

TEST(CentroidAllObjects, AsteroidLeavingThePictureFails) {
    CentroidScene s;
    s.objects.asteroidSelected = true;
    s.objects.asteroidPosition = {110, 40};
    s.objects.starOffset[0] = {5, 5};
    s.objects.starCentroidOffset[0] = {7, 7};
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(s.host.MessageLines(),
              std::vector<std::string>{
                  "Do: Error - Asteroid integration box\nlies partly out of picture."});
    // Every star's centroid offset was set before the asteroid was tried.
    EXPECT_EQ(s.objects.starCentroidOffset[0], (PixelPoint{5, 5}));
}

// Weights summing to 0 leave the centroid without a value: treated as leaving the picture.
TEST(CentroidAllObjects, WeightsSummingToZero) {
    {
        CentroidScene s;  // the sky equals the background mean everywhere
        EXPECT_TRUE(s.Run());
        EXPECT_EQ(s.host.MessageLines(),
                  std::vector<std::string>{
                      "Do: Warning - Star integration box\nlies partly out of picture."});
        EXPECT_EQ(s.objects.starCentroidOffset[0], (PixelPoint{0, 0}));
    }
    {
        CentroidScene s;
        s.objects.asteroidSelected = true;
        s.objects.asteroidPosition = {30, 30};
        s.picture.At(28, 30) = 1500;  // +500 and -500: Sw = 0 but Sx does not
        s.picture.At(32, 30) = 500;
        EXPECT_FALSE(s.Run());
        EXPECT_EQ(s.host.MessageLines(),
                  std::vector<std::string>{
                      "Do: Error - Asteroid integration box\nlies partly out of picture."});
    }
    {
        // A tiny positive sum throws the centroid far out; the next turn finds it outside.
        CentroidScene s;
        s.picture.At(58, 40) = 1500;
        s.picture.At(62, 40) = 501;
        EXPECT_TRUE(s.Run());
        EXPECT_EQ(s.host.MessageLines(),
                  std::vector<std::string>{
                      "Do: Warning - Star integration box\nlies partly out of picture."});
    }
}

TEST(CentroidAllObjects, SlopingBackgroundPullsAFaintStarUphill) {
    CentroidScene s;
    for (int r = 0; r < 80; ++r) {
        for (int c = 0; c < 120; ++c) {
            s.picture.At(c, r) = static_cast<std::int16_t>(1000 + (c - 60) * 2);
        }
    }
    s.objects.starResults[0].mean = 990;  // below the sky at the star: every weight counts
    s.picture.At(60, 40) += 50;
    ASSERT_TRUE(s.Run());
    EXPECT_GT(s.objects.starPosition[0].x, 60.5f);
    EXPECT_NEAR(s.objects.starPosition[0].y, 40.0f, 1e-4);
}

}  // namespace
}  // namespace corvane
