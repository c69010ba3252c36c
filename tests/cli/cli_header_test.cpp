#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/hk_pc_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

TEST(CliHeader, PrintsTheHeaderDialogTexts) {
    TempDir dir;
    HeaderRecord h = CameraHeader(false, 128, 8, 2, 2);
    h.exposure = 600;
    h.observationTime = 899726400;
    h.observationType = 2;
    SetHeaderText(h.object, "M 67");
    WriteBytes(dir.File("a.pc"), PcBytes(h, RampPixels(64, 4)));
    CliRun run = RunCli("header " + dir.File("a.pc"), dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["caption"], "Corvane 32 - " + dir.File("a.pc"));
    EXPECT_EQ(j["object"], "M 67");
    EXPECT_EQ(j["exposure"], "60.0");
    EXPECT_EQ(j["ut"], "Mon Jul  6 12:00:00 1998");
    EXPECT_EQ(j["format"], "0  0  128  8");
    EXPECT_EQ(j["binning"], "2  2");
    EXPECT_EQ(j["observationType"], "BIAS");
}

// The command line's raw options go through the dialog's own OK logic.
TEST(CliRaw, OptionsAreCheckedLikeTheDialogFields) {
    TempDir dir;
    WriteBytes(dir.File("a.raw"), std::string(512 + 100 * 64 * 2, '\x01'));
    struct Case {
        const char* options;
        bool loads;
    } cases[] = {
        {"--raw 64 100 --header 512", true},
        {"--raw 64 383 --skip 65000", false},
        {"--raw 20001 4", false},
        {"--raw 64 100 --header 512 --bzero 32769", false},
    };
    for (const Case& c : cases) {
        CliRun run = RunCli("info " + dir.File("a.raw") + " " + c.options, dir.Path());
        EXPECT_EQ(run.status == 0, c.loads) << c.options << "\n" << run.err;
        if (!c.loads) {
            EXPECT_NE(run.err.find("RAW Options: the values are not valid"), std::string::npos)
                << c.options;
        }
    }
}

}  // namespace
}  // namespace corvane::test
