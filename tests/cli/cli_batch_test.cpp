// corvane-cli photometry over the demonstration frames, run as a user would run it.

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/sample_field.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

using nlohmann::json;

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

struct Batch {
    TempDir dir;
    std::string objects = dir.File("objects.json");
    Batch() { WriteBytes(objects, SampleObjectsJson().dump()); }
    std::string Frames(const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& n : names) text += " " + n;
        return text;
    }
};

TEST(CliBatch, FiveFramesAppendFiveRecordsFollowingTheField) {
    Batch b;
    WriteBytes(b.dir.File("night.lis"), "earlier\r\n");
    CliRun run = RunCli("photometry --objects " + b.objects +
                            " --out night --asteroid 140,330 --asteroid 144,328" +
                            b.Frames(SampleFrames()),
                        b.dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string list = ReadBytes(b.dir.File("night.lis"));
    const std::string flux = ReadBytes(b.dir.File("night.heu"));
    EXPECT_EQ(list.rfind("earlier\r\n" + SampleFrames()[0] + "\r\n\r\n", 0), 0u);
    EXPECT_EQ(Count(list, "Asteroid box size"), 5);
    EXPECT_EQ(Count(flux, "\r\n"), 5);
    json out = json::parse(run.out);
    ASSERT_EQ(out["runs"].size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {
        const json& r = out["runs"][k];
        EXPECT_EQ(r["image"], SampleFrames()[k]);
        EXPECT_EQ(r["end"], "written");
        ASSERT_EQ(r["rows"].size(), 4u);
    }
    // The frames drift by (1.25, -0.75) a frame, so the carried list finds star 1 of
    // field005 at (159.25, 106.99); the asteroid, predicted at (156, 322), is centred on
    // its true place (157, 321). The centroids of these bright objects are good to a few
    // hundredths of a pixel; the printed tenth is what the tolerance allows for.
    struct Truth {
        std::size_t row;
        const char* name;
        double x, y;
    };
    for (const Truth& t : {Truth{0, "Asteroid", 157.0, 321.0}, Truth{1, "Star  1", 159.25, 106.99}}) {
        const std::string row = out["runs"][4]["rows"][t.row];
        EXPECT_EQ(row.rfind(t.name, 0), 0u) << row;
        double x = 0, y = 0;
        ASSERT_EQ(std::sscanf(row.c_str() + 8, "%lf %lf", &x, &y), 2) << row;
        EXPECT_NEAR(x, t.x, 0.15) << row;
        EXPECT_NEAR(y, t.y, 0.15) << row;
    }
}

TEST(CliBatch, AFailedImageIsReportedAndSkipped) {
    Batch b;
    std::vector<std::string> frames = SampleFrames();
    frames.insert(frames.begin() + 1, b.dir.File("missing.fit"));
    frames.resize(3);
    CliRun run = RunCli("photometry --objects " + b.objects +
                            " --out night --asteroid 140,330 --asteroid 144,328 --asteroid 144,328" +
                            b.Frames(frames),
                        b.dir.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(frames[1] + ": skipped, nothing written (failed)"), std::string::npos)
        << run.err;
    EXPECT_EQ(Count(ReadBytes(b.dir.File("night.lis")), "Asteroid box size"), 2);
    EXPECT_EQ(Count(ReadBytes(b.dir.File("night.heu")), "\r\n"), 2);
    json out = json::parse(run.out);
    EXPECT_EQ(out["runs"][1]["end"], "failed");
    EXPECT_EQ(out["runs"][2]["end"], "written");
}

TEST(CliBatch, UnusableArguments) {
    Batch b;
    const std::string frames = b.Frames({SampleFrames()[0], SampleFrames()[1]});
    struct Case {
        std::string arguments;
        const char* message;
    };
    const Case cases[] = {
        {"--asteroid '140;330'" + frames, "--asteroid 140;330 is not X,Y"},
        {"--asteroid 140,330" + frames, "two --asteroid positions are needed"},
        {"--asteroid 140,330,1 --asteroid 1,2" + frames, "is not X,Y"},
    };
    for (const Case& c : cases) {
        CliRun run = RunCli("photometry --objects " + b.objects + " --out night " + c.arguments,
                            b.dir.Path());
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(ReadBytes(b.dir.File("night.lis")).size() > 0);
    }
}

}  // namespace
}  // namespace corvane::test
