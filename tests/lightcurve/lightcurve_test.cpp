// Differential magnitudes from the records: the formulas on the printed numbers, the
// records left out with their reasons, light time, and the comparison-star check.

#include <gtest/gtest.h>

#include <cmath>

#include "lightcurve/differential.h"
#include "lightcurve/lightcurve.h"
#include "lightcurve/lightcurve_choices.h"
#include "photometry/output_files.h"
#include "support/lightcurve_scene.h"

namespace corvane::test {
namespace {

struct Measured {
    int star;  // 0 the asteroid
    double flux, snr;
};

// One record as the writer builds it; stars 1 to 4 at fixed places.
std::string Record(const std::string& image, std::int32_t time, std::vector<Measured> rows) {
    alignas(4) HeaderRecord h;
    ClearHeader(h);
    h.observationTime = time;
    PhotometryParameters params;
    params.numberOfStars = 4;
    ObjectList list;
    list.asteroidSelected = false;
    list.starSelected.fill(false);
    for (const Measured& m : rows) {
        ObjectResult& r = m.star == 0 ? list.asteroidResult : list.starResults[m.star - 1];
        r.fluxRate = m.flux;
        r.snr = m.snr;
        if (m.star == 0) {
            list.asteroidSelected = true;
        } else {
            list.starSelected[m.star - 1] = true;
            list.starPosition[m.star - 1] = {static_cast<float>(100 * m.star), 50.0f};
        }
    }
    return BuildListRecord(image, h, 0, params, list);
}

struct Curve {
    RecordSet set;
    Lightcurve curve;
    Curve(const std::string& text, const LightcurveOptions& options = {}) {
        ListFileProblem problem;
        EXPECT_TRUE(AddListText(set, text, "t.lis", problem)) << problem.Text();
        std::string error;
        EXPECT_TRUE(ComputeLightcurve(set, options, curve, error)) << error;
    }
};

TEST(Lightcurve, MagnitudeErrorAndTimeOfOneRecord) {
    // FC = 1000, VC = 3^2 + 4^2, so mag = 2.5 and err = (2.5 / ln 10) sqrt(1/2500 + 25e-6).
    const std::string text =
        Record("a.fit", 979596245, {{0, 100, 50}, {1, 600, 200}, {2, 400, 100}});
    for (double delta : {0.0, 1.2}) {
        LightcurveOptions options;
        if (delta > 0) {
            options.ltcDays = {LtcDaysOfDelta(delta)};
        }
        Curve c(text, options);
        ASSERT_EQ(c.curve.points.size(), 1u);
        const LightcurvePoint& p = c.curve.points[0];
        EXPECT_DOUBLE_EQ(p.mag, 2.5);
        EXPECT_DOUBLE_EQ(p.err, 0.02238302526887506);
        EXPECT_DOUBLE_EQ(p.jd, 2451925.4195023146 - delta * 0.0057755183);
        EXPECT_DOUBLE_EQ(c.curve.sessions[0].startJd, p.jd);
        EXPECT_EQ(c.curve.sessions[0].comps, (std::vector<int>{1, 2}));
    }
}

TEST(Lightcurve, LeavesOutRecordsWithTheirReasons) {
    const std::int32_t t = 979596245;
    const std::string text =
        Record("ok1.fit", t, {{0, 100, 50}, {1, 600, 200}, {2, 400, 100}, {3, 500, 90}}) +
        Record("notime.fit", 0, {{0, 100, 50}, {1, 600, 200}, {2, 400, 100}}) +
        Record("noast.fit", t + 60, {{1, 600, 200}, {2, 400, 100}}) +
        Record("negast.fit", t + 120, {{0, -5, 3}, {1, 600, 200}, {2, 400, 100}}) +
        Record("zerosnr.fit", t + 180, {{0, 90, 0.4}, {1, 600, 200}, {2, 400, 100}}) +
        Record("ok2.fit", t + 240, {{0, 110, 50}, {1, 600, 200}, {2, 400, 100}}) +
        // The next night: star 2 is never measured well, star 1 only once.
        Record("n2a.fit", t + 86400, {{0, 100, 50}, {1, 600, 200}, {2, 0, 0}}) +
        Record("n2b.fit", t + 86460, {{0, 100, 50}, {2, -1, 5}});
    {
        // Star 3 is missing from four records, so the default ensemble is stars 1 and 2;
        // the second night has none.
        Curve c(text);
        ASSERT_EQ(c.curve.sessions.size(), 2u);
        EXPECT_EQ(c.curve.sessions[0].comps, (std::vector<int>{1, 2}));
        EXPECT_EQ(c.curve.sessions[0].records, 5);
        EXPECT_TRUE(c.curve.sessions[1].comps.empty());
        ASSERT_EQ(c.curve.points.size(), 2u);
        EXPECT_EQ(c.curve.points[1].key.image, "ok2.fit");
        const std::vector<std::pair<std::string, std::string>> expected = {
            {"notime.fit", "no time in the header"},
            {"noast.fit", "asteroid not measured"},
            {"negast.fit", "asteroid flux or SNR not positive"},
            {"zerosnr.fit", "asteroid flux or SNR not positive"},
            {"n2a.fit", "no comparison star"},
            {"n2b.fit", "no comparison star"}};
        ASSERT_EQ(c.curve.leftOut.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(c.curve.leftOut[i].image, expected[i].first);
            EXPECT_EQ(c.curve.leftOut[i].reason, expected[i].second);
        }
    }
    {
        // Named stars: star 3 is missing where it was not measured, star 1 on night 2.
        LightcurveOptions options;
        options.comps = {3, 1};
        options.leftOutByUser = {RecordKey{"ok1.fit", t, 0}};
        Curve c(text, options);
        EXPECT_EQ(c.curve.sessions[0].comps, (std::vector<int>{1, 3}));
        EXPECT_TRUE(c.curve.points.empty());
        std::vector<std::string> reasons;
        for (const LeftOutRecord& r : c.curve.leftOut) {
            reasons.push_back(r.image + ": " + r.reason);
        }
        EXPECT_EQ(
            reasons,
            (std::vector<std::string>{
                "notime.fit: no time in the header", "ok1.fit: left out by the user",
                "noast.fit: asteroid not measured", "negast.fit: asteroid flux or SNR not positive",
                "zerosnr.fit: asteroid flux or SNR not positive", "ok2.fit: star 3 not measured",
                "n2a.fit: star 3 not measured", "n2b.fit: star 1 not measured"}));
    }
}

TEST(Lightcurve, ComparisonCheckFlagsTheVariableStarAndOnlyIt) {
    LightcurveScene scene = ThreeNightScene();
    scene.variableStar = 2;
    Curve c(SceneListText(scene));
    int checked = 0;
    for (const SessionCheck& s : c.curve.comps) {
        SCOPED_TRACE(testing::Message() << "session " << s.session << " star " << s.check.star);
        ++checked;
        ASSERT_TRUE(s.check.ratio);
        EXPECT_EQ(s.check.variable, s.check.star == 2);
        if (s.check.star == 2) {
            EXPECT_GT(*s.check.ratio, 10);
            EXPECT_GT(s.check.rms, 0.05);
        } else if (s.session == 2) {
            // Night 2 has four stars: once star 2 is out, the other three are checked
            // against each other, and their scatter is what their errors predict. On
            // three-star nights two remain, the check ends, and their values stay those of
            // the first round, star 2 among their ensemble.
            EXPECT_NEAR(*s.check.ratio, 1, 0.25);
            EXPECT_NEAR(s.check.rms / s.check.expected, 1, 0.25);
        }
    }
    EXPECT_EQ(checked, 3 + 4 + 3);
}

// A session's ensemble and light time stay with its night when a file of an earlier night
// is added and the sessions are numbered anew; points taken out stay out.
TEST(LightcurveChoices, StayWithTheirNightWhenSessionsAreNumberedAnew) {
    const std::vector<std::string> records = SceneRecords(ThreeNightScene());
    std::string night1, laterNights;
    for (std::size_t i = 0; i < records.size(); ++i) {
        (i < 120 ? night1 : laterNights) += records[i];
    }
    RecordSet set;
    ListFileProblem problem;
    ASSERT_TRUE(AddListText(set, laterNights, "later.lis", problem));
    LightcurveChoices choices;
    Curve before(laterNights);
    SessionChoice& night2 = ChoiceFor(choices, set, before.curve.sessions[0]);
    night2.comps = {2, 4};
    night2.lightTime = {1.2, true};
    choices.leftOut = {before.curve.points[5].key};

    ASSERT_TRUE(AddListText(set, night1, "night1.lis", problem));
    const LightcurveOptions options = OptionsOf(set, choices);
    EXPECT_EQ(options.sessionComps, (std::map<int, std::vector<int>>{{2, {2, 4}}}));
    EXPECT_EQ(options.ltcDays, (std::vector<double>{0, LtcDaysOfDelta(1.2), 0}));
    Lightcurve curve;
    std::string error;
    ASSERT_TRUE(ComputeLightcurve(set, options, curve, error));
    EXPECT_EQ(curve.sessions[1].comps, (std::vector<int>{2, 4}));
    EXPECT_EQ(curve.points.size(), 359u);
    EXPECT_EQ(ChoiceOf(choices, set, curve.sessions[1]), &night2);
    EXPECT_EQ(ChoiceOf(choices, set, curve.sessions[0]), nullptr);
}

}  // namespace
}  // namespace corvane::test
