// corvane-cli aperture and measure, run as a user would run them.

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/fits_writer.h"
#include "support/synthetic_sky.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

using nlohmann::json;

TEST(CliAperture, DefaultCircle) {
    TempDir dir;
    CliRun run = RunCli("aperture 15 15 0", dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    json j = json::parse(run.out);
    const json& outline = j["outline"];
    ASSERT_EQ(j["count"], outline.size());
    EXPECT_EQ(outline[0], json::array({0, 15}));
    EXPECT_EQ(outline[1], json::array({-1, 15}));
    EXPECT_EQ(outline.back(), json::array({0, 15}));
    ASSERT_EQ(j["spanCount"], 31);
    EXPECT_EQ(j["spans"][0], json::array({-15, -4, 4}));
    EXPECT_EQ(j["spans"][30], json::array({15, -4, 4}));
    EXPECT_TRUE(j["messages"].empty());
}

TEST(CliAperture, OverflowMessagesInOrder) {
    TempDir dir;
    CliRun run = RunCli("aperture 99 99 0", dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    json j = json::parse(run.out);
    EXPECT_EQ(j["count"], 630);
    ASSERT_EQ(j["messages"].size(), 3u);
    EXPECT_EQ(j["messages"][0],
              (json{{"caption", "MSG 124"},
                    {"text", "ERROR ! Vector Dimension Exceeded"},
                    {"icon", "error"}}));
    EXPECT_EQ(j["messages"][1]["text"], "Warning! Last elpsdpnt.x != First");
    EXPECT_EQ(j["messages"][2]["caption"], "");
}

// Two stars and the asteroid, 50000 DN each with FWHM 3 px, on a sky of 500 and 501 in a
// checkerboard, stored unsigned (BZERO 32768). Since the star list was entered, the field
// has drifted by (3, -2): the list still says star 1 at (60, 80), star 2 at (140, 70).
struct Field {
    TempDir dir;
    std::string image = dir.File("field.fit");
    Field() {
        SkyModel model(260, 160, 0);
        for (int r = 0; r < 160; ++r) {
            for (int c = 0; c < 260; ++c) {
                model.expected[static_cast<std::size_t>(r) * 260 + c] = 500 + (r + c) % 2;
            }
        }
        model.AddStar(63, 78, 50000, 3);
        model.AddStar(143, 68, 50000, 3);
        model.AddStar(201, 121, 50000, 3);
        FitsImage im;
        im.width = 260;
        im.height = 160;
        for (double v : model.expected) {
            im.values.push_back(std::floor(v + 0.5) - 32768);
        }
        WriteFits(image, im, {FitsKey::Dbl("BZERO", 32768.0), FitsKey::Dbl("BSCALE", 1.0)});
    }
    std::string Objects(const json& objects) {
        std::string path = dir.File("objects.json");
        WriteBytes(path, objects.dump());
        return path;
    }
    static json List(const char* mode, json referencePosition) {
        json boxes = json::array({json::array({-40, 0}), json::array({40, 0})});
        return {{"centringMode", mode},
                {"backgroundBoxes", 2},
                {"referencePosition", referencePosition},
                {"asteroid", {{"position", {200, 120}}, {"boxOffsets", boxes}}},
                {"stars", json::array({{{"offset", {0, 0}}, {"boxOffsets", boxes}},
                                       {{"offset", {80, -10}},
                                        {"boxOffsets", json::array({json::array({40, -10}),
                                                                    json::array({120, -10})})}}})}};
    }
};

TEST(CliMeasure, AutomaticRunFollowsTheDriftedField) {
    Field f;
    CliRun run = RunCli("measure " + f.image + " --objects " +
                            f.Objects(Field::List("Automatic", {60, 80})),
                        f.dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    json j = json::parse(run.out);
    EXPECT_TRUE(j["completed"]);
    EXPECT_EQ(j["bzero"], 32768);
    EXPECT_EQ(j["referencePosition"], json::array({63, 78}));
    EXPECT_EQ(j["stars"][1]["offset"], json::array({80, -10}));
    EXPECT_EQ(j["stars"][1]["centroidOffset"], json::array({83, -12}));  // from (60, 80)
    EXPECT_EQ(j["asteroid"]["position"], json::array({201, 121}));
    EXPECT_NEAR(j["stars"][1]["printedPosition"][0].get<double>(), 143, 0.02);
    EXPECT_NEAR(j["stars"][1]["printedPosition"][1].get<double>(), 68, 0.02);

    std::vector<std::string> texts;
    for (const json& m : j["messages"]) {
        texts.push_back(m["caption"].get<std::string>() + ": " + m["text"].get<std::string>());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Do: Warning ! - Star 1  was\n 3.6 pixels off-centered",
                         "Do: Warning ! - Star 2  was\n 3.6 pixels off-centered",
                         "Do: Warning - Zero exposure time"}));
    EXPECT_EQ(j["exposure"], 10);

    // Every aperture pixel is summed: as many as the default shape's span rows hold.
    json shape = json::parse(RunCli("aperture 15 15 0", f.dir.Path()).out);
    int npix = 0;
    for (const json& row : shape["spans"]) {
        npix += row[2].get<int>() - row[1].get<int>() + 1;
    }

    for (const json& object : {j["asteroid"], j["stars"][0], j["stars"][1]}) {
        EXPECT_NEAR(object["fluxRate"].get<double>(), 50000, 50);
        EXPECT_NEAR(object["background"]["level"].get<double>(), 500.5, 1e-9);
        EXPECT_EQ(object["background"]["count"], 2 * 1024);
        EXPECT_EQ(object["clip"], 0);
        EXPECT_EQ(object["npix"], npix);
    }
}

TEST(CliMeasure, ManualRunPrintsTheGivenPositions) {
    Field f;
    json list = Field::List("Manual", {63, 78});
    list["asteroid"]["position"] = {201, 121};
    CliRun run = RunCli("measure " + f.image + " --small --objects " + f.Objects(list),
                        f.dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    json j = json::parse(run.out);
    EXPECT_EQ(j["stars"][1]["printedPosition"], json::array({143.0, 68.0}));
    EXPECT_EQ(j["asteroid"]["printedPosition"], json::array({201.0, 121.0}));
    EXPECT_EQ(j["stars"][1]["offset"], json::array({80, -10}));
    EXPECT_EQ(j["stars"][0]["background"]["count"], 2 * 256);
    EXPECT_NEAR(j["stars"][0]["fluxRate"].get<double>(), 50000, 50);
}

TEST(CliMeasure, AnAsteroidOutsideEndsTheRun) {
    Field f;
    json list = Field::List("Automatic", {63, 78});
    list["asteroid"]["position"] = {250, 121};
    CliRun run = RunCli("measure " + f.image + " --objects " + f.Objects(list), f.dir.Path());
    EXPECT_EQ(run.status, 3);
    json j = json::parse(run.out);
    EXPECT_FALSE(j["completed"]);
    EXPECT_EQ(j["messages"].back()["text"],
              "Error - Asteroid integration box\nlies partly out of picture.");
}

TEST(CliMeasure, FaultyObjectFilesAreRefused) {
    Field f;
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"not JSON", "{"},
        {"no stars", R"({"referencePosition": [1, 2], "asteroid": {"selected": false}})"},
        {"box missing",
         R"({"referencePosition": [1, 2], "asteroid": {"selected": false},
             "stars": [{"offset": [0, 0], "boxOffsets": [[1, 1]]}]})"},
        {"too far",
         R"({"referencePosition": [1, 2000000], "asteroid": {"selected": false},
             "stars": [{"offset": [0, 0], "boxOffsets": [[1, 1]]}], "backgroundBoxes": 1})"},
        {"a too small",
         R"({"referencePosition": [1, 2], "asteroid": {"selected": false},
             "starAperture": {"a": 2}, "backgroundBoxes": 1,
             "stars": [{"offset": [0, 0], "boxOffsets": [[1, 1]]}]})"},
    };
    for (const Case& c : cases) {
        std::string path = f.dir.File("bad.json");
        WriteBytes(path, c.text);
        CliRun run = RunCli("measure " + f.image + " --objects " + path, f.dir.Path());
        EXPECT_EQ(run.status, 2) << c.what;
        EXPECT_NE(run.err.find("measure: "), std::string::npos) << c.what;
        EXPECT_TRUE(run.out.empty()) << c.what;
    }
}

}  // namespace
}  // namespace corvane::test
