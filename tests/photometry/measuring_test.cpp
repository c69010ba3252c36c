#include "photometry/measuring.h"

#include <gtest/gtest.h>

#include "scene.h"

namespace corvane {
namespace {

using test::Scene;

TEST(AdoptCentroids, ReBasesEveryStarOnTheReferenceStar) {
    PhotometryParameters params;
    params.numberOfStars = 3;
    ObjectList list;
    list.referenceStar = 1;
    list.referencePosition = {100, 100};
    list.asteroidCentre = {55, 66};
    list.starOffset = {};
    list.starOffset[0] = {-20, 5};
    list.starOffset[1] = {0, 0};
    list.starOffset[2] = {30, 30};
    list.starCentroidOffset[0] = {-18, 4};
    list.starCentroidOffset[1] = {3, -2};   // the reference star drifted by (3, -2)
    list.starCentroidOffset[2] = {30, 30};  // not selected: its stored offset
    list.starCentroidOffset[3] = {9, 9};    // beyond the list
    list.starBoxOffsets[0][0] = {7, 7};
    AdoptCentroids(list, params);
    EXPECT_EQ(list.asteroidPosition, (PixelPoint{55, 66}));
    EXPECT_EQ(list.referencePosition, (PixelPoint{103, 98}));
    EXPECT_EQ(list.starOffset[0], (PixelPoint{-21, 6}));
    EXPECT_EQ(list.starOffset[1], (PixelPoint{0, 0}));
    EXPECT_EQ(list.starOffset[2], (PixelPoint{27, 32}));
    EXPECT_EQ(list.starOffset[3], (PixelPoint{0, 0}));
    EXPECT_EQ(list.starBoxOffsets[0][0], (PixelPoint{7, 7}));  // boxes move with the reference

    list.asteroidSelected = false;
    list.asteroidPosition = {1, 2};
    AdoptCentroids(list, params);
    EXPECT_EQ(list.asteroidPosition, (PixelPoint{1, 2}));
}

// One star on a sky of 500 and 502, a box left and right of it.
struct RunScene : Scene {
    RunScene() : Scene(160, 60, 0) {
        for (int r = 0; r < 60; ++r) {
            for (int c = 0; c < 160; ++c) {
                picture.At(c, r) = static_cast<std::int16_t>(500 + (r + c) % 2 * 2);
            }
        }
        for (int r = 28; r <= 32; ++r) {
            for (int c = 78; c <= 82; ++c) {
                picture.At(c, r) += 400;  // 10000 DN over 25 pixels
            }
        }
        params.numberOfStars = 1;
        params.numberOfBoxes = 2;
        objects.asteroidSelected = false;
        objects.referencePosition = {80, 30};
        objects.starBoxOffsets[0][0] = {-40, 0};
        objects.starBoxOffsets[1][0] = {40, 0};
    }
};

// The same net flux F with the exposure given as 0 and as 2.0 s.
TEST(MeasureObjects, ZeroExposureCountsAsOneSecond) {
    double rate[2] = {};
    for (int k = 0; k < 2; ++k) {
        RunScene s;
        s.header.exposure = k == 0 ? 0 : 20;
        MeasureTarget t = s.Target();
        ASSERT_TRUE(RunMeasuringSteps(t));
        if (k == 0) {
            EXPECT_EQ(s.host.MessageLines(),
                      std::vector<std::string>{"Do: Warning - Zero exposure time"});
            EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Warning);
            EXPECT_EQ(s.header.exposure, 10);
        } else {
            EXPECT_TRUE(s.host.messages.empty());
            EXPECT_EQ(s.header.exposure, 20);
        }
        EXPECT_FALSE(s.objects.centred);
        rate[k] = s.objects.starResults[0].fluxRate;
    }
    EXPECT_NEAR(rate[0], 10000, 10);  // the checkered sky leaves a few DN
    EXPECT_DOUBLE_EQ(rate[0], 2 * rate[1]);
}

TEST(MeasureObjects, NotesOfEveryBackgroundStepInRunOrder) {
    RunScene s;
    s.objects.starBoxOffsets[1][0] = {75, 0};  // reaches past the right edge
    s.objects.referencePosition = {82, 30};    // clicked two pixels beside the star
    MeasureTarget t = s.Target();
    ASSERT_TRUE(LocateObjects(t));
    EXPECT_TRUE(s.objects.centred);
    ASSERT_TRUE(MeasureObjects(t));
    const std::string note = "Do: Some bckgnd pixels out of picture.\n\tIgnored.";
    EXPECT_EQ(s.host.MessageLines(),
              (std::vector<std::string>{note,
                                        "Do: Warning ! - Star 1  was\n 2.0 pixels off-centered",
                                        note, note}));
    EXPECT_EQ(s.objects.referencePosition, (PixelPoint{80, 30}));
    EXPECT_FLOAT_EQ(s.objects.starPosition[0].x, 80.0f);
}

TEST(MeasureObjects, ManualModeKeepsTheClickedPositions) {
    RunScene s;
    s.params.centringMode = CentringMode::Manual;
    s.objects.referencePosition = {81, 30};
    s.objects.asteroidSelected = true;
    s.objects.asteroidPosition = {30, 30};
    s.objects.asteroidBoxOffsets[0] = {-14, 0};
    s.objects.asteroidBoxOffsets[1] = {100, 0};
    s.objects.starCentroidOffset[0] = {5, 5};
    MeasureTarget t = s.Target();
    ASSERT_TRUE(LocateObjects(t));
    EXPECT_TRUE(s.host.messages.empty());  // nothing measured before the confirmation
    ASSERT_TRUE(MeasureObjects(t));
    EXPECT_EQ(s.objects.starPosition[0].x, 81.0f);
    EXPECT_EQ(s.objects.starPosition[0].y, 30.0f);
    EXPECT_EQ(s.objects.asteroidCentroid.x, 30.0f);
    EXPECT_EQ(s.objects.referencePosition, (PixelPoint{81, 30}));
    EXPECT_EQ(s.objects.starCentroidOffset[0], (PixelPoint{5, 5}));  // no centring ran
    EXPECT_NEAR(s.objects.starResults[0].fluxRate, 10000, 10);
}

TEST(MeasureObjects, AFailedStepEndsTheRunBeforeAnyIntegration) {
    struct Case {
        CentringMode mode;
        bool located;  // LocateObjects succeeds
    } cases[] = {{CentringMode::Automatic, false}, {CentringMode::Manual, true}};
    for (const Case& c : cases) {
        RunScene s;
        s.params.centringMode = c.mode;
        s.objects.asteroidSelected = true;
        s.objects.asteroidPosition = {-100, -100};  // no background pixel at all
        s.objects.starResults[0].fluxRate = 77;
        MeasureTarget t = s.Target();
        EXPECT_EQ(LocateObjects(t), c.located);
        EXPECT_FALSE(RunMeasuringSteps(t));
        EXPECT_EQ(s.host.MessageLines().back(), "Do: ERROR -- npoints <= 2 !");
        EXPECT_EQ(s.objects.starResults[0].fluxRate, 77);
    }
}

}  // namespace
}  // namespace corvane
