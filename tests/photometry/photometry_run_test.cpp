// The photometry run from its clicks to the record: prompts, the two boxes, what is
// written and when nothing is.

#include "photometry/photometry_run.h"

#include <gtest/gtest.h>

#include "scene.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

// Two stars and an asteroid, each a 5 x 5 block of +400 on a checkered sky of 500 and
// 502; every object has two boxes, 50 rows above and below it.
struct RunFixture : test::Scene {
    test::TempDir dir;
    OutputFiles files{dir.File("n.lis"), dir.File("n.heu")};
    StarInputState state;
    bool overlaysShown = false;
    int marks = 0;
    StarInput input{objects, params, state, overlaysShown, host,
                    [this](const Mark&) { ++marks; }, 32, "idle"};
    PhotometryRun run{input, picture.image, header, files};

    static constexpr PixelPoint kStar1{60, 80}, kStar2{240, 80}, kAsteroid{150, 80};

    RunFixture() : Scene(300, 160, 0) {
        for (int r = 0; r < 160; ++r) {
            for (int c = 0; c < 300; ++c) {
                picture.At(c, r) = static_cast<std::int16_t>(500 + (r + c) % 2 * 2);
            }
        }
        for (PixelPoint p : {kStar1, kStar2, kAsteroid}) {
            for (int r = p.y - 2; r <= p.y + 2; ++r) {
                for (int c = p.x - 2; c <= p.x + 2; ++c) picture.At(c, r) += 400;
            }
        }
        picture.image.path = "/night/field001.fit";
        SetHeaderText(header.object, "Ceres");
        header.observationTime = 979596245;
        params.numberOfStars = 2;
        params.numberOfBoxes = 2;
        objects.initialised = true;
        objects.starOffset[1] = kStar2 - kStar1;
        objects.starBoxOffsets[0][0] = {0, -50};
        objects.starBoxOffsets[1][0] = {0, 50};
        objects.starBoxOffsets[0][1] = {180, -50};
        objects.starBoxOffsets[1][1] = {180, 50};
        test::WriteBytes(files.listPath, "");
        test::WriteBytes(files.fluxPath, "");
        BeginObjectInput(input);
    }

    // The clicks of a run: the reference star, then the asteroid and its boxes.
    RunEnd Clicks(PixelPoint reference, PixelPoint asteroid = kAsteroid) {
        RunEnd end = RunEnd::Failed;
        std::vector<PixelPoint> clicks{reference};
        if (objects.asteroidSelected) {
            clicks.insert(clicks.end(), {asteroid, asteroid + PixelPoint{0, -50},
                                         asteroid + PixelPoint{0, 50}});
        }
        for (std::size_t i = 0; i < clicks.size(); ++i) {
            SequenceStep step = PhotometryClick(run, clicks[i], &end);
            EXPECT_EQ(step == SequenceStep::Ends, i + 1 == clicks.size()) << i;
        }
        return end;
    }
    std::string List() { return test::ReadBytes(files.listPath); }
    std::string Flux() { return test::ReadBytes(files.fluxPath); }
};

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST(PhotometryClick, PromptsCursorsAndMarksUpToTheConfirmation) {
    RunFixture f;
    f.host.confirmAnswers = {false};
    PhotometryClick(f.run, RunFixture::kStar1);
    EXPECT_EQ(f.host.panes[1], "Input Asteroid");
    EXPECT_EQ(f.marks, 6);  // both stars' apertures and boxes
    EXPECT_TRUE(f.overlaysShown);
    EXPECT_TRUE(f.state.referenceClicked);
    PhotometryClick(f.run, RunFixture::kAsteroid);
    EXPECT_EQ(f.host.panes[1], "Input Bckgnd 1 for Asteroid");
    EXPECT_EQ(f.host.cursor, CursorShape::LargeBox);
    PhotometryClick(f.run, {150, 30});
    EXPECT_EQ(f.host.panes[1], "Input Bckgnd 2 for Asteroid");
    EXPECT_EQ(f.host.confirmRuns, 0);
    EXPECT_EQ(PhotometryClick(f.run, {150, 130}), SequenceStep::Ends);
    EXPECT_EQ(f.marks, 9);
    EXPECT_EQ(f.objects.asteroidBoxOffsets[1], (PixelPoint{0, 50}));
    EXPECT_EQ(f.host.confirmRuns, 1);
    EXPECT_EQ(f.host.panes[1], "idle");
    EXPECT_EQ(f.host.cursor, CursorShape::Cross);
    // Cancel at the confirmation: nothing measured, nothing written, the run's flags gone.
    EXPECT_TRUE(f.host.resultsShown.empty());
    EXPECT_EQ(f.List(), "");
    EXPECT_FALSE(f.overlaysShown);
    EXPECT_FALSE(f.state.referenceClicked);
    EXPECT_FALSE(f.state.asteroidClicked);
}

TEST(PhotometryRun, OkWritesOneRecordToEachFileAndTwoRunsAppend) {
    RunFixture f;
    f.host.confirmAnswers = {true, true};
    f.host.resultsAnswers = {true, true};
    EXPECT_EQ(f.Clicks(RunFixture::kStar1), RunEnd::Written);
    ASSERT_EQ(f.host.resultsShown.size(), 1u);
    const std::vector<std::string>& rows = f.host.resultsShown[0];
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].substr(0, 22), "Asteroid  150.0   80.0");
    EXPECT_EQ(rows[1].substr(0, 22), "Star  1    60.0   80.0");
    EXPECT_EQ(rows[2].substr(0, 22), "Star  2   240.0   80.0");
    EXPECT_EQ(rows[1].size(), 50u);
    EXPECT_EQ(f.host.maxWaitDepth, 1);
    EXPECT_EQ(f.host.waitDepth, 0);

    std::string list = f.List();
    EXPECT_EQ(list.rfind("/night/field001.fit\r\n\r\nCeres            \t\t       Taken at Mon", 0), 0u);
    EXPECT_EQ(Count(list, "\r\nAsteroid  150.00   80.00"), 1) << list;
    EXPECT_EQ(Count(list, "\r\nStar   2  240.00   80.00"), 1);
    const std::string fluxLine = f.Flux();
    EXPECT_EQ(fluxLine.substr(0, 10), "979596245 ");
    EXPECT_EQ(fluxLine.size(), 10u + 3 * 8 + 2);

    BeginObjectInput(f.input);
    EXPECT_EQ(f.Clicks(f.objects.referencePosition), RunEnd::Written);
    EXPECT_EQ(f.List(), list + list);
    EXPECT_EQ(f.Flux(), fluxLine + fluxLine);
}

TEST(PhotometryRun, WhatIsMeasuredAndShown) {
    struct Case {
        const char* name;
        bool asteroid;
        bool star1;
        bool star2;
        CentringMode mode;
        std::vector<std::string> rowStarts;
        const char* fluxStart;  // the asteroid's column and star 1's
    };
    const Case cases[] = {
        {"asteroid unselected", false, true, true, CentringMode::Automatic,
         {"Star  1    60.0   80.0", "Star  2   240.0   80.0"}, "979596245     0.00"},
        {"nothing selected", false, false, false, CentringMode::Automatic, {},
         "979596245     0.00    0.00    0.00\r\n"},
        // Manual: the printed positions are the clicked pixels, whole numbers.
        {"manual", true, false, true, CentringMode::Manual,
         {"Asteroid  151.0   81.0", "Star  2   241.0   81.0"}, "979596245 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunFixture f;
        f.objects.asteroidSelected = c.asteroid;
        f.objects.starSelected[0] = c.star1;
        f.objects.starSelected[1] = c.star2;
        f.objects.referenceStar = c.star1 ? 0 : 1;
        f.params.centringMode = c.mode;
        f.host.confirmAnswers = {true};
        f.host.resultsAnswers = {true};
        const PixelPoint beside{1, 1};
        EXPECT_EQ(f.Clicks(RunFixture::kStar1 + beside, RunFixture::kAsteroid + beside),
                  RunEnd::Written);
        ASSERT_EQ(f.host.confirmRuns, 1);
        ASSERT_EQ(f.host.resultsShown.size(), 1u);
        std::vector<std::string> starts;
        for (const std::string& row : f.host.resultsShown[0]) starts.push_back(row.substr(0, 22));
        EXPECT_EQ(starts, c.rowStarts);
        const std::string list = f.List();
        EXPECT_EQ(Count(list, "\r\nAsteroid  "), c.asteroid ? 1 : 0);
        EXPECT_EQ(Count(list, "\r\nStar  "), static_cast<int>(c.rowStarts.size()) - (c.asteroid ? 1 : 0));
        EXPECT_EQ(Count(list, std::string(77, '*')), 2);
        EXPECT_EQ(f.Flux().rfind(c.fluxStart, 0), 0u) << f.Flux();
    }
}

// Should the image be closed or replaced while a box is open, the run stops there: no
// pixel of a closed image is read, no record goes under another frame's path.
TEST(PhotometryRun, NothingWrittenWhenTheImageChangedDuringABox) {
    struct Case {
        const char* box;
        void (*change)(ImageRecord&);
        std::size_t resultsShown;
    };
    const Case cases[] = {
        {"dialog ConfirmBox", [](ImageRecord& image) { ReleaseImage(image); }, 0},
        {"dialog ShowResBox", [](ImageRecord& image) { ++image.generation; }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        RunFixture f;
        f.host.confirmAnswers = {true};
        f.host.resultsAnswers = {true};
        f.host.insideModal = [&](const std::string& what) {
            if (what == c.box) c.change(f.picture.image);
        };
        EXPECT_EQ(f.Clicks(RunFixture::kStar1), RunEnd::Failed);
        EXPECT_EQ(f.host.resultsShown.size(), c.resultsShown);
        EXPECT_EQ(f.host.MessageLines(), std::vector<std::string>{std::string("Do: ") +
                                                                  kImageChangedText});
        EXPECT_EQ(f.List(), "");
        EXPECT_EQ(f.Flux(), "");
        EXPECT_FALSE(f.overlaysShown);
    }
}

TEST(PhotometryRun, ZeroExposureWarnedOnceAndWrittenAsOneSecond) {
    RunFixture f;
    f.header.exposure = 0;
    f.host.confirmAnswers = {true};
    f.host.resultsAnswers = {true};
    ASSERT_EQ(f.Clicks(RunFixture::kStar1), RunEnd::Written);
    EXPECT_EQ(Count(testing::PrintToString(f.host.MessageLines()), "Zero exposure time"), 1);
    EXPECT_EQ(f.header.exposure, 10);
    EXPECT_EQ(Count(f.List(), "Exp. Time       1.0 s\r\n"), 1);
}

TEST(PhotometryRun, ADriftedReferenceStarReBasesTheList) {
    RunFixture f;
    // The field moved by (3, -2) since the list was entered: the picture is shifted.
    test::Scene moved(300, 160, 0);
    for (int r = 0; r < 160; ++r) {
        for (int c = 0; c < 300; ++c) {
            const int sc = c - 3, sr = r + 2;
            moved.picture.At(c, r) = sc >= 0 && sr < 160 ? f.picture.At(sc, sr)
                                                         : static_cast<std::int16_t>(501);
        }
    }
    for (int r = 0; r < 160; ++r) {
        for (int c = 0; c < 300; ++c) f.picture.At(c, r) = moved.picture.At(c, r);
    }
    f.objects.asteroidSelected = false;
    f.host.confirmAnswers = {true};
    f.host.resultsAnswers = {true};
    ASSERT_EQ(f.Clicks(RunFixture::kStar1), RunEnd::Written);  // clicked where it was
    EXPECT_EQ(f.objects.referencePosition, (RunFixture::kStar1 + PixelPoint{3, -2}));
    EXPECT_EQ(f.objects.starOffset[0], (PixelPoint{0, 0}));
    EXPECT_EQ(f.objects.starOffset[1], RunFixture::kStar2 - RunFixture::kStar1);
    EXPECT_EQ(f.host.resultsShown[0][1].substr(0, 22), "Star  2   243.0   78.0");
}

TEST(PhotometryRun, NothingIsWrittenWithoutOkOrAfterAFailure) {
    struct Case {
        const char* name;
        bool results;      // the results box answered OK
        PixelPoint asteroid;
        RunEnd end;
        int resultBoxes;
    };
    const Case cases[] = {
        {"results box closed", false, RunFixture::kAsteroid, RunEnd::NotWritten, 1},
        // The asteroid aperture reaches past the left edge: centring fails.
        {"asteroid out of picture", true, {5, 80}, RunEnd::Failed, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunFixture f;
        f.host.confirmAnswers = {true};
        f.host.resultsAnswers = {c.results};
        EXPECT_EQ(f.Clicks(RunFixture::kStar1, c.asteroid), c.end);
        EXPECT_EQ(f.host.resultsShown.size(), static_cast<std::size_t>(c.resultBoxes));
        EXPECT_EQ(f.List(), "");
        EXPECT_EQ(f.Flux(), "");
        EXPECT_FALSE(f.overlaysShown);
        EXPECT_FALSE(f.state.referenceClicked);
        EXPECT_EQ(f.host.waitDepth, 0);
    }
}

TEST(PhotometryRun, EscapeDuringTheAsteroidBoxesMeasuresNothing) {
    RunFixture f;
    PhotometryClick(f.run, RunFixture::kStar1);
    PhotometryClick(f.run, RunFixture::kAsteroid);
    CancelStarInput(f.input, false);
    EXPECT_EQ(f.host.confirmRuns, 0);
    EXPECT_TRUE(f.objects.initialised);
    EXPECT_FALSE(f.state.referenceClicked);
    EXPECT_FALSE(f.overlaysShown);
    EXPECT_EQ(f.List(), "");
}

TEST(ResultRows, FormatsAndOrderOfTheListBox) {
    PhotometryParameters params;
    params.numberOfStars = 12;
    ObjectList objects;
    objects.asteroidCentroid = {312.0f, 88.04f};
    objects.asteroidResult = {999.5, 3, 64, 1234.567, 45.5, 709, 0};
    for (int i = 0; i < 12; ++i) {
        objects.starSelected[i] = i == 1 || i == 9 || i == 10;
        objects.starPosition[i] = {1.25f, 2.75f};
        objects.starResults[i] = {-0.5, 1, 64, -7.125, 0.49, 12, 0};
    }
    EXPECT_EQ(ResultRows(objects, params, 32768),
              (std::vector<std::string>{
                  "Asteroid  312.0   88.0  1234.5733767.50    46  709",
                  "Star  2     1.2    2.8    -7.1232767.50     0   12",
                  "Star 10     1.2    2.8    -7.1232767.50     0   12",
                  "Star 11     1.2    2.8    -7.1232767.50     0   12"}));
}

}  // namespace
}  // namespace corvane
