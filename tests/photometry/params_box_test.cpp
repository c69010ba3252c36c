#include "photometry/params_box.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"

namespace corvane {
namespace {

TEST(ParseDialogInteger, AcceptsSignedDecimalsOnly) {
    struct Case {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"12", 12},      {"-90", -90},   {"+7", 7},          {"  5", 5},
        {"", {}},        {"-", {}},      {"4x", {}},         {"5 ", {}},
        {"1.5", {}},     {"0x10", {}},   {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1}, {"2147483648", {}}, {"99999999999999999999", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDialogInteger(c.text), c.value) << '"' << c.text << '"';
    }
}

// Each case starts from 5 stars, 8 boxes, sizes 15/15/0 and an initialised list.
TEST(ParamsBox, OkStoresFieldByFieldUntilTheFirstFailure) {
    struct Case {
        const char* what;
        ParamsDialogFields typed;
        bool closes;
        int stars, boxes, asteroidA, asteroidTheta, starB, starTheta;
        bool initialised;
    };
    auto fields = [](const char* st, const char* bg, const char* aa, const char* at,
                     const char* sb, const char* stheta) {
        return ParamsDialogFields{st, bg, aa, "15", at, "15", sb, stheta, true};
    };
    Case cases[] = {
        {"stars 0", fields("0", "8", "15", "0", "15", "0"), false, 5, 8, 15, 0, 15, 0, true},
        {"stars 17", fields("17", "8", "15", "0", "15", "0"), false, 5, 8, 15, 0, 15, 0, true},
        {"background 21", fields("5", "21", "15", "0", "15", "0"), false, 5, 8, 15, 0, 15, 0,
         true},
        {"more stars, then a = 100", fields("6", "8", "100", "0", "15", "0"), false, 6, 8, 15,
         0, 15, 0, false},
        {"more boxes", fields("5", "9", "15", "0", "15", "0"), true, 5, 9, 15, 0, 15, 0, false},
        {"fewer stars and boxes", fields("2", "4", "15", "0", "15", "0"), true, 2, 4, 15, 0,
         15, 0, true},
        {"empty theta reads 0", fields("5", "8", "20", "", "15", "45"), true, 5, 8, 20, 0, 15,
         45, true},
        {"text theta reads 0", fields("5", "8", "20", "abc", "15", "12"), true, 5, 8, 20, 0,
         15, 12, true},
        {"empty b rejected after a and theta", fields("5", "8", "20", "-10", "", "12"), false,
         5, 8, 20, -10, 15, 0, true},
        {"theta 91", fields("5", "8", "15", "91", "15", "0"), false, 5, 8, 15, 0, 15, 0, true},
        {"a = 2", fields("5", "8", "2", "0", "15", "0"), false, 5, 8, 15, 0, 15, 0, true},
        {"extremes", fields("16", "20", "99", "-90", "3", "90"), true, 16, 20, 99, -90, 3, 90,
         false},
    };
    cases[11].typed.automatic = false;  // and the other centring mode
    for (const Case& c : cases) {
        PhotometryParameters params;
        params.numberOfStars = 5;
        ObjectList objects;
        objects.initialised = true;
        EXPECT_EQ(ApplyParamsDialog(c.typed, params, objects), c.closes) << c.what;
        EXPECT_EQ(params.numberOfStars, c.stars) << c.what;
        EXPECT_EQ(params.numberOfBoxes, c.boxes) << c.what;
        EXPECT_EQ(params.asteroid.a, c.asteroidA) << c.what;
        EXPECT_EQ(params.asteroid.theta, c.asteroidTheta) << c.what;
        EXPECT_EQ(params.star.b, c.starB) << c.what;
        EXPECT_EQ(params.star.theta, c.starTheta) << c.what;
        EXPECT_EQ(objects.initialised, c.initialised) << c.what;
        EXPECT_EQ(params.centringMode, c.closes && !c.typed.automatic ? CentringMode::Manual
                                                                     : CentringMode::Automatic)
            << c.what;
    }
}

TEST(ParamsBox, CancelAfterAFailedOkKeepsWhatWasStored) {
    test::FakeHost host;
    PhotometryParameters params;
    ObjectList objects;
    objects.initialised = true;
    ParamsDialogFields bad = ParamsDialogOpening(params);
    bad.stars = "4";
    bad.asteroidA = "100";
    host.paramsDialogScript = {bad, std::nullopt};
    const ApertureOutline before = params.asteroid.outline;

    EXPECT_FALSE(RunParamsBox(params, objects, host));
    EXPECT_EQ(params.numberOfStars, 4);
    EXPECT_FALSE(objects.initialised);
    EXPECT_EQ(params.asteroid.a, 15);
    EXPECT_EQ(params.asteroid.outline.count, before.count);
    EXPECT_TRUE(host.messages.empty());
    ASSERT_EQ(host.paramsDialogOpenings.size(), 1u);
    EXPECT_EQ(host.paramsDialogOpenings[0].stars, "3");
}

TEST(ParamsBox, AcceptanceRegeneratesBothOutlinesAsteroidFirst) {
    test::FakeHost host;
    PhotometryParameters params;
    ObjectList objects;
    ParamsDialogFields f = ParamsDialogOpening(params);
    f.asteroidA = "99";
    f.asteroidB = "99";
    f.starA = "20";
    f.starB = "5";
    f.starTheta = "90";
    host.paramsDialogScript = {f};

    EXPECT_TRUE(RunParamsBox(params, objects, host));
    EXPECT_EQ(params.asteroid.outline.count, 630);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages[0].text, "ERROR ! Vector Dimension Exceeded");
    OutlineResult expected = ComputeOutline(20, 5, 90);
    ASSERT_EQ(params.star.outline.count, expected.outline.count);
    for (int i = 0; i < expected.outline.count; ++i) {
        EXPECT_EQ(params.star.outline.points[i].x, expected.outline.points[i].x);
        EXPECT_EQ(params.star.outline.points[i].y, expected.outline.points[i].y);
    }
}

}  // namespace
}  // namespace corvane
