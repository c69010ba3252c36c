// corvane-cli lightcurve run as a user would: the JSON over list files written by the
// program's writer, the CSV and ALCDEF files, and the exit codes.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "lightcurve/alcdef_validator.h"
#include "support/cli_runner.h"
#include "support/lightcurve_scene.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

using nlohmann::json;

constexpr const char* kMeta = R"({"objectNumber": 0, "objectName": "1999 CZ1",
  "mpcDesignation": "1999 CZ1", "contactName": "A. Observer", "contactInfo": "a@b.org",
  "observers": "Observer, A.", "magBand": "R",
  "comparisons": [{"star": 1, "name": "GSC 1"}, {"star": 2, "name": "GSC 2"}],
  "revised": false, "publication": "", "bibcode": "", "comment": ""})";

// Night 1 and 2 in one file, night 3 in another that ends in a cut-off record; frame 5
// lost its asteroid.
struct Files {
    TempDir dir;
    std::string a = dir.File("n12.lis");
    std::string b = dir.File("n3.lis");
    std::string meta = dir.File("meta.json");
    Files() {
        LightcurveScene scene = ThreeNightScene();
        scene.failedFrames = {5};
        const std::vector<std::string> records = SceneRecords(scene);
        std::string first, second;
        for (std::size_t i = 0; i < records.size(); ++i) {
            (i < 240 ? first : second) += records[i];
        }
        WriteBytes(a, first);
        WriteBytes(b, second + records[0].substr(0, 300));
        WriteBytes(meta, kMeta);
    }
};

TEST(CliLightcurve, PrintsTheLightcurveAndWritesCsvAndAlcdef) {
    Files f;
    CliRun run = RunCli("lightcurve " + f.b + " " + f.a +
                            " --comps 1,2 --delta-au 1.2 --csv out.csv --alcdef out.alcdef "
                            "--meta " +
                            f.meta,
                        f.dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(f.b + ", line 2161: the record starting here is cut off"),
              std::string::npos)
        << run.err;
    const json out = json::parse(run.out);
    ASSERT_EQ(out["sessions"].size(), 3u);
    for (const json& s : out["sessions"]) {
        EXPECT_EQ(s["comps"], json::array({1, 2}));
        EXPECT_DOUBLE_EQ(s["ltc_days"].get<double>(), -1.2 * 0.0057755183);
        EXPECT_EQ(s["records"], 120);
        EXPECT_TRUE(s["zero_point"].is_number());
    }
    EXPECT_EQ(out["points"].size(), 359u);
    EXPECT_EQ(out["points"][5]["image"], "/data/n1/cz1_007.fit");
    EXPECT_EQ(out["left_out"], json::parse(R"([
        {"image": "/data/n1/cz1_006.fit", "reason": "asteroid not measured"},
        {"image": ")" + f.b + R"(:2161", "reason": "record cut off by the end of the file"}])"));
    // Two named stars: too few for the check.
    EXPECT_TRUE(out["comps"].empty());
    const json& p = out["period"];
    EXPECT_NEAR(p["hours"].get<double>(), 6.25, 3 * p["sigma_hours"].get<double>());
    EXPECT_EQ(p["order"], 4);
    EXPECT_EQ(p["coefficients"].size(), 4u);
    EXPECT_EQ(p["zero_points"].size(), 3u);
    EXPECT_EQ(p["aliases"].size(), 2u);
    // The spectrum covers 2 to 30 h, periods rising.
    EXPECT_NEAR(p["spectrum"].front()[0].get<double>(), 2, 1e-9);
    EXPECT_NEAR(p["spectrum"].back()[0].get<double>(), 30, 1e-9);

    const std::string csv = ReadBytes(f.dir.File("out.csv"));
    EXPECT_EQ(csv.rfind("jd,mag,err,session,image\r\n", 0), 0u);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 360);

    const std::string alcdef = ReadBytes(f.dir.File("out.alcdef"));
    std::vector<std::string> blocks;
    for (std::size_t at = 0; at < alcdef.size();) {
        const std::size_t end = alcdef.find("ENDDATA\r\n", at) + 9;
        blocks.push_back(alcdef.substr(at, end - at));
        at = end;
    }
    ASSERT_EQ(blocks.size(), 3u);
    std::size_t index = 0;
    EXPECT_FALSE(ValidateAlcdefBlocks(blocks, index));
    EXPECT_NE(blocks[0].find("LTCDAYS=-0.006931\r\n"), std::string::npos);
    EXPECT_NE(blocks[0].find("REVISEDDATA=FALSE\r\n"), std::string::npos);
    EXPECT_EQ(blocks[0].find("PUBLICATION"), std::string::npos);
}

TEST(CliLightcurve, ExitCodesForFilesArgumentsAndRefusedBlocks) {
    Files f;
    WriteBytes(f.dir.File("damaged.lis"), "x.fit\r\n\r\nnot a header\r\n");
    WriteBytes(f.dir.File("nocontact.json"), R"({"objectNumber": 1234, "contactInfo": "x",
        "observers": "A", "magBand": "R"})");
    WriteBytes(f.dir.File("typo.json"), R"({"objectnumber": 1234})");
    struct Case {
        std::string arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"missing.lis", 1, "missing.lis: cannot be read"},
        {f.a + " damaged.lis", 1, "damaged.lis, line 3: expected \"<text> <tab><tab> Taken at"},
        {f.a + " --comps 1,x", 2, "--comps 1,x is not a list of star numbers 1 to 16"},
        {f.a + " --comps 17", 2, "star numbers 1 to 16"},
        {f.a + " --ltc-days -0.01,-0.02,-0.03", 2, "3 light-time values for 2 sessions"},
        {f.a + " --ltc-days -0.01 --delta-au 1", 2, "excludes"},
        {f.a + " --order 11", 2, "not in range"},
        {f.a + " --periods 30:2", 2, "is not PMIN:PMAX"},
        {f.a + " --alcdef o.alcdef", 2, "requires --meta"},
        {f.a + " --alcdef o.alcdef --meta typo.json", 2, "unknown key \"objectnumber\""},
        {f.a + " --alcdef o.alcdef --meta nocontact.json", 3,
         "ALCDEF block of session 1 refused: CONTACTNAME is required (CONTACTNAME)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        CliRun run = RunCli("lightcurve " + c.arguments, f.dir.Path());
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_TRUE(f.dir.Entries() ==
                (std::vector<std::string>{"damaged.lis", "meta.json", "n12.lis", "n3.lis",
                                          "nocontact.json", "typo.json"}));
}

TEST(CliLightcurve, HelpDocumentsEveryField) {
    TempDir dir;
    CliRun run = RunCli("lightcurve --help", dir.Path());
    ASSERT_EQ(run.status, 0);
    for (const char* field : {"sessions",
                              "number",
                              "start_jd",
                              "end_jd",
                              "records",
                              "comps",
                              "zero_point",
                              "ltc_days",
                              "points",
                              "jd",
                              "session",
                              "mag",
                              "err",
                              "image",
                              "left_out",
                              "reason",
                              "star",
                              "rms",
                              "expected",
                              "ratio",
                              "variable",
                              "period",
                              "hours",
                              "sigma_hours",
                              "amplitude",
                              "order",
                              "zero_points",
                              "coefficients",
                              "spectrum",
                              "aliases",
                              "period_reason",
                              "objectNumber",
                              "objectName",
                              "mpcDesignation",
                              "contactName",
                              "contactInfo",
                              "observers",
                              "filter",
                              "magBand",
                              "comparisons",
                              "ra",
                              "dec",
                              "revised",
                              "publication",
                              "bibcode",
                              "comment",
                              "--comps",
                              "--ltc-days",
                              "--delta-au",
                              "--order",
                              "--periods",
                              "--csv",
                              "--alcdef",
                              "--meta"}) {
        EXPECT_NE(run.out.find(field), std::string::npos) << field;
    }
}

}  // namespace
}  // namespace corvane::test
