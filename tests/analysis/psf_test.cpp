#include "analysis/psf.h"

#include <gtest/gtest.h>

#include "analysis/test_image.h"
#include "app/analysis_commands.h"
#include "support/fake_host.h"

namespace corvane {
namespace {

using test::FakeHost;
using test::TestImage;

constexpr std::int16_t kSky = 500;

struct Spot {
    int column, row, aboveSky;
};

TEST(Psf, CentroidAndWidthsOfSmallSources) {
    struct Case {
        const char* name;
        std::vector<Spot> spots;
        int xs, ys;  // the source click, off the spot so that the region is what counts
        const char* text;
    } cases[] = {
        {"one pixel",
         {{120, 80, 100}},
         118,
         83,
         "\nx = 120.000  y = 80.000\nsigma x = 0.0  sigma y = 0.0"},
        // sigma x = sqrt((1 × 100 + 1 × 100) / 199)
        {"two pixels",
         {{120, 80, 100}, {122, 80, 100}},
         121,
         80,
         "\nx = 121.000  y = 80.000\nsigma x = 1.0  sigma y = 0.0"},
        // S = 50, x̄ = (12000 − 6200) / 50 = 116, Mxx = 16 × 100 − 64 × 50 < 0: shown as 0
        {"negative variance",
         {{120, 80, 100}, {124, 80, -50}},
         121,
         80,
         "\nx = 116.000  y = 80.000\nsigma x = 0.0  sigma y = 0.0"},
        // One pixel darker than the sky: S = −10, Mxx = −0; no "-0.0" on the screen.
        {"dark pixel",
         {{120, 80, -10}},
         121,
         80,
         "\nx = 120.000  y = 80.000\nsigma x = 0.0  sigma y = 0.0"},
        // sigma y = sqrt((4 × 30 + 4 × 30) / 59)
        {"vertical pair",
         {{10, 20, 30}, {10, 24, 30}},
         12,
         22,
         "\nx = 10.000  y = 22.000\nsigma x = 0.0  sigma y = 2.0"},
    };
    for (const Case& c : cases) {
        TestImage t(256, 160, kSky);
        for (const Spot& s : c.spots) {
            t.At(s.column, s.row) = static_cast<std::int16_t>(kSky + s.aboveSky);
        }
        FakeHost host;
        EXPECT_TRUE(ShowPsf(t.image, c.xs, c.ys, 200, 30, 32, 32, host)) << c.name;
        ASSERT_EQ(host.messages.size(), 1u) << c.name;
        EXPECT_EQ(host.messages[0].caption, "Stats");
        EXPECT_EQ(host.messages[0].text, c.text) << c.name;
        EXPECT_EQ(host.messages[0].icon, MessageIcon::None);
    }
}

TEST(Psf, SourceAtTheEdgeUsesOnlyItsPixelsInTheImage) {
    TestImage t(64, 64, kSky);
    t.At(0, 0) = kSky + 40;
    t.At(1, 0) = kSky + 40;
    PsfMeasurement m = MeasurePsf(t.image, 0, 0, 40, 40, 32, 32);
    EXPECT_EQ(m.sourcePixels, 16 * 17);
    EXPECT_FLOAT_EQ(m.x, 0.5f);
    EXPECT_FLOAT_EQ(m.y, 0.0f);
}

TEST(Psf, UndefinedMeasurementsAreNamedInsteadOfShown) {
    struct Case {
        const char* name;
        int xs, ys, xb, yb;
        bool bright;  // a star in the source region
        const char* message;
    } cases[] = {
        {"background beside the image", 100, 100, -40, 90, true,
         "Stats: No background pixels in the image"},
        {"background below the image", 100, 100, 100, 176, true,
         "Stats: No background pixels in the image"},
        {"source all at the sky level", 30, 30, 150, 120, false,
         "Stats: Source level equals the background"},
        {"source beside the image", 300, 30, 150, 120, true,
         "Stats: No source pixels in the image"},
    };
    for (const Case& c : cases) {
        TestImage t(256, 160, kSky);
        if (c.bright) {
            t.At(100, 100) = 2000;
        }
        FakeHost host;
        EXPECT_FALSE(ShowPsf(t.image, c.xs, c.ys, c.xb, c.yb, 32, 32, host)) << c.name;
        EXPECT_EQ(host.MessageLines(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning) << c.name;
    }
}

TEST(PsfCommand, SourceThenBackgroundClickMeasuresAndMovesTheRegion) {
    Program program;
    std::vector<std::int16_t> pixels;
    test::AttachPixels(program.image, pixels, 256, 160, kSky);
    pixels[80 * 256 + 120] = kSky + 100;
    program.shell.acquisitionSession = true;  // the prompt pane then rests on the path
    FakeHost host;

    StartPsf(program, host);
    EXPECT_EQ(program.shell.mouseMode, MouseMode::PsfSource);
    EXPECT_EQ(host.panes[1], "Select Source");
    PsfSourceClick(program, host, 121, 79);
    EXPECT_EQ(program.shell.mouseMode, MouseMode::PsfBackground);
    EXPECT_EQ(host.panes[1], "Select Background");
    EXPECT_TRUE(host.messages.empty());
    PsfBackgroundClick(program, host, 40, 50);

    EXPECT_EQ(program.shell.mouseMode, MouseMode::None);
    EXPECT_EQ(host.cursor, CursorShape::Cross);
    EXPECT_EQ(host.panes[1], "/data/test.fit");
    EXPECT_EQ((std::pair{program.roi.xc, program.roi.yc}), (std::pair{40, 50}));
    EXPECT_EQ((std::pair{program.retouch.psfSourceColumn, program.retouch.psfSourceRow}),
              (std::pair{121, 79}));
    EXPECT_EQ(
        host.MessageLines(),
        std::vector<std::string>{"Stats: \nx = 120.000  y = 80.000\nsigma x = 0.0  sigma y = 0.0"});
}

}  // namespace
}  // namespace corvane
