// corvane-cli info and pixels, run as a user would run them.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

TEST(CliInfo, PrintsRecordsAndAPixelSummary) {
    TempDir dir;
    FitsImage im;
    im.width = 64;
    im.height = 4;
    for (int i = 0; i < 256; ++i) im.values.push_back(i - 100);
    WriteFits(dir.File("a.fit"), im,
              {FitsKey::Dbl("BZERO", 1000.0), FitsKey::Str("OBJECT", "Vesta"),
               FitsKey::Str("DATE-OBS", "1998-07-06T12:00:00"), FitsKey::Dbl("EXPTIME", 0.0)});
    CliRun run = RunCli("info " + dir.File("a.fit"), dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["path"], dir.File("a.fit"));
    EXPECT_EQ(j["formatCode"], 6);
    EXPECT_EQ(j["width"], 64);
    EXPECT_EQ(j["paddedWidth"], 64);
    EXPECT_EQ(j["bzero"], 1000);
    EXPECT_EQ(j["headerBlocks"], 1);
    EXPECT_EQ(j["header"]["object"], "Vesta   ");  // as the writer padded it
    EXPECT_EQ(j["header"]["observationTime"], 899726400);
    EXPECT_EQ(j["header"]["observationTimeUtc"], "1998-07-06T12:00:00Z");
    EXPECT_EQ(j["roi"]["xc"], 32);
    EXPECT_EQ(j["pixels"]["min"], -100);
    EXPECT_EQ(j["pixels"]["max"], 155);
    EXPECT_EQ(j["pixels"]["sum"], (155.0 + -100.0) * 256 / 2);
    EXPECT_EQ(j["pixels"]["fnv1a64"].get<std::string>().size(), 16u);
}

TEST(CliInfo, PixelsAreTrueValues) {
    TempDir dir;
    FitsImage im;
    im.width = 64;
    im.height = 4;
    for (int i = 0; i < 256; ++i) im.values.push_back(i);
    WriteFits(dir.File("a.fit"), im, {FitsKey::Dbl("BZERO", 32768.0)});
    CliRun run = RunCli("pixels " + dir.File("a.fit") + " 62 1 2 2", dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "32894 32895\n32958 32959\n");
    CliRun outside = RunCli("pixels " + dir.File("a.fit") + " 63 1 2 2", dir.Path());
    EXPECT_NE(outside.status, 0);
}

// Old headers and their file names carry Latin-1; the JSON must still be UTF-8.
TEST(CliInfo, Latin1HeaderTextsAndFileNamesComeOutAsUtf8) {
    TempDir dir;
    const std::string name = "caf\xE9.fit";
    WriteFits(dir.File(name), FitsImage{}, {FitsKey::Str("OBJECT", "Fr#d#ric")});
    // cfitsio writes ASCII only: the Latin-1 bytes go in afterwards, as an old writer left them.
    std::string bytes = ReadBytes(dir.File(name));
    const std::size_t at = bytes.find("Fr#d#ric");
    bytes[at + 2] = bytes[at + 4] = '\xE9';
    WriteBytes(dir.File(name), bytes);

    CliRun info = RunCli("info " + dir.File(name), dir.Path());
    ASSERT_EQ(info.status, 0) << info.err;
    auto j = nlohmann::json::parse(info.out);
    EXPECT_EQ(j["path"], dir.Path() + "/caf\u00E9.fit");
    EXPECT_EQ(j["header"]["object"], "Fr\u00E9d\u00E9ric");
    CliRun header = RunCli("header " + dir.File(name), dir.Path());
    ASSERT_EQ(header.status, 0) << header.err;
    EXPECT_EQ(nlohmann::json::parse(header.out)["object"], "Fr\u00E9d\u00E9ric");
}

TEST(CliInfo, LoadFailureGoesToStderrAndTheStatus) {
    TempDir dir;
    WriteBytes(dir.File("x.dat"), std::string(100, 'x'));
    CliRun run = RunCli("info " + dir.File("x.dat"), dir.Path());
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "MSG 20: Unknown Image Format. Open as raw?\n");

    WriteBytes(dir.File("s.fit"), "SIMPLE  =                    T");
    run = RunCli("info " + dir.File("s.fit"), dir.Path());
    EXPECT_EQ(run.err, "MSG 27: Invalid FITS format\nMSG 109: Error in image format\n");
}

}  // namespace
}  // namespace corvane::test
