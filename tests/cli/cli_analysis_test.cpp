// corvane-cli stats, psf, histogram and median, run as a user would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <sys/wait.h>

#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs corvane-cli with `arguments` in directory `cwd`.
CliRun RunCli(const std::string& cwd, const std::string& arguments) {
    const char* cli = std::getenv("CORVANE_CLI");
    CliRun run;
    if (cli == nullptr) {
        return run;
    }
    const std::string errFile = cwd + "/stderr.txt";
    const std::string command =
        "cd '" + cwd + "' && '" + cli + "' " + arguments + " 2>'" + errFile + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = test::ReadBytes(errFile);
    return run;
}

class CliAnalysis : public ::testing::Test {
protected:
    test::TempDir dir;

    // Writes a 16-bit FITS file with `bzero` and returns its path; skips the test while
    // this build cannot load FITS files.
    std::string Fits(const std::string& name, int width, int height,
                     const std::vector<double>& values, double bzero = 0) {
        test::FitsImage image;
        image.width = width;
        image.height = height;
        image.values = values;
        image.values.resize(static_cast<std::size_t>(width) * height, 0.0);
        const std::string path = dir.File(name);
        test::WriteFits(path, image, {test::FitsKey::Dbl("BZERO", bzero)});
        return path;
    }
    bool Loadable(const std::string& path) {
        return RunCli(dir.Path(), "info '" + path + "'").exitCode == 0;
    }
};

#define SKIP_UNLESS_LOADABLE(path)                                          \
    if (!Loadable(path)) {                                                  \
        GTEST_SKIP() << "this build cannot load the FITS test file yet";    \
    }

TEST_F(CliAnalysis, StatsPrintsTheThreeTextsAndTheirNumbers) {
    std::vector<double> v(64 * 64, 10);
    v[15 * 64 + 16] = 900;  // inside the region at (0, 0)
    v[0 * 64 + 17] = -999;  // outside it, and outside the inner scan
    v[40 * 64 + 40] = 20;   // inside the inner scan
    const std::string file = Fits("s.fit", 64, 64, v, 32768);
    SKIP_UNLESS_LOADABLE(file);
    CliRun run = RunCli(dir.Path(), "stats '" + file + "' --roi 0 0");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["stats"]["count"], 272);
    EXPECT_EQ(j["stats"]["max"], 33668);
    EXPECT_EQ(j["maxMin"]["text"], "Min = 32778\t  Max = 32788");
    EXPECT_EQ(j["globalMaxMin"]["text"], "Min = 31769\t  Max = 33668");
    EXPECT_EQ(j["stats"]["text"].get<std::string>().substr(0, 42),
              "Stats are: \n\nMin = 32778     Max = 33668");
}

TEST_F(CliAnalysis, StatsOfOnePixelIsRefused) {
    const std::string file = Fits("one.fit", 64, 4, {});
    SKIP_UNLESS_LOADABLE(file);
    CliRun run = RunCli(dir.Path(), "stats '" + file + "' --roi -16 -15");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "Stats: error in evaluating RMS\n");
    EXPECT_EQ(nlohmann::json::parse(run.out)["stats"]["error"], "error in evaluating RMS");
}

TEST_F(CliAnalysis, PsfOfOneBrightPixel) {
    std::vector<double> v(256 * 160, 500);
    v[80 * 256 + 120] = 600;
    const std::string file = Fits("p.fit", 256, 160, v);
    SKIP_UNLESS_LOADABLE(file);
    CliRun run = RunCli(dir.Path(), "psf '" + file + "' 118 82 30 30 --small");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["text"], "\nx = 120.000  y = 80.000\nsigma x = 0.0  sigma y = 0.0");
    EXPECT_EQ(j["sourcePixels"], 256);

    CliRun outside = RunCli(dir.Path(), "psf '" + file + "' 118 82 -40 30");
    EXPECT_EQ(outside.exitCode, 2);
    EXPECT_EQ(outside.err, "Stats: No background pixels in the image\n");
}

TEST_F(CliAnalysis, HistogramWritesHistOutInTheCurrentDirectory) {
    const std::string file = Fits("h.fit", 64, 4, std::vector<double>(256, -1));
    SKIP_UNLESS_LOADABLE(file);
    CliRun run = RunCli(dir.Path(), "histogram '" + file + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string text = test::ReadBytes(dir.File("hist.out"));
    EXPECT_EQ(text.substr(0, file.size() + 33), file + "\n\n  Bit          1          0\n\n    0");
    EXPECT_EQ(text.substr(text.size() - 31), "   14         1.00       0.00\n");
}

TEST_F(CliAnalysis, MedianRemovesHotPixelsAndWritesTheStoredValues) {
    std::vector<double> hot(64 * 4, 7), flat(64 * 4, 7);
    hot[1 * 64 + 30] = 30000;
    hot[3 * 64 + 62] = -30000;
    const std::string file = Fits("m.fit", 64, 4, hot);
    const std::string filtered = Fits("flat.fit", 64, 4, flat);
    SKIP_UNLESS_LOADABLE(file);
    CliRun run = RunCli(dir.Path(), "median '" + file + "' --out out.pgm");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    CliRun info = RunCli(dir.Path(), "info '" + filtered + "'");
    EXPECT_EQ(nlohmann::json::parse(run.out)["fnv1a64"],
              nlohmann::json::parse(info.out)["pixels"]["fnv1a64"]);

    const std::string pgm = test::ReadBytes(dir.File("out.pgm"));
    const std::string header = "P5\n64 4\n65535\n";
    ASSERT_EQ(pgm.size(), header.size() + 64 * 4 * 2);
    EXPECT_EQ(pgm.substr(0, header.size()), header);
    EXPECT_EQ(pgm.substr(header.size(), 2), std::string("\0\7", 2));
}

}  // namespace
}  // namespace corvane
