// corvane-cli stats, psf, histogram and median, run as a user would run them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support/cli_runner.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

class CliAnalysis : public ::testing::Test {
  protected:
    TempDir dir;

    // Writes a 16-bit FITS file with `bzero` and returns its path.
    std::string Fits(const std::string& name, int width, int height,
                     const std::vector<double>& values, double bzero = 0) {
        FitsImage image;
        image.width = width;
        image.height = height;
        image.values = values;
        image.values.resize(static_cast<std::size_t>(width) * height, 0.0);
        const std::string path = dir.File(name);
        WriteFits(path, image, {FitsKey::Dbl("BZERO", bzero)});
        return path;
    }
    CliRun Run(const std::string& arguments) { return RunCli(arguments, dir.Path()); }
};

TEST_F(CliAnalysis, StatsPrintsTheThreeTextsAndTheirNumbers) {
    std::vector<double> v(64 * 64, 10);
    v[15 * 64 + 3] = 900;   // inside the region at (0, 0), in the margin of the inner scan
    v[0 * 64 + 17] = -999;  // outside it, and outside the inner scan
    v[40 * 64 + 40] = 20;   // inside the inner scan
    const std::string file = Fits("s.fit", 64, 64, v, 32768);
    CliRun run = Run("stats '" + file + "' --roi 0 0");
    ASSERT_EQ(run.status, 0) << run.err;
    nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["stats"]["count"], 272);
    EXPECT_EQ(j["stats"]["max"], 33668);
    EXPECT_EQ(j["maxMin"]["text"], "Min = 32778\t  Max = 32788");
    EXPECT_EQ(j["globalMaxMin"]["text"], "Min = 31769\t  Max = 33668");
    const std::string head = "Stats are: \n\nMin = 32778     Max = 33668\n\nMean = 32781.272";
    EXPECT_EQ(j["stats"]["text"].get<std::string>().substr(0, head.size()), head);

    CliRun refused = Run("stats '" + file + "' --roi -16 -15");  // one pixel
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "Stats: error in evaluating RMS\n");
}

TEST_F(CliAnalysis, PsfOfOneBrightPixel) {
    std::vector<double> v(256 * 160, 500);
    v[80 * 256 + 120] = 600;
    const std::string file = Fits("p.fit", 256, 160, v);
    CliRun run = Run("psf '" + file + "' 118 82 30 30 --small");
    ASSERT_EQ(run.status, 0) << run.err;
    nlohmann::json j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["text"], "\nx = 120.000  y = 80.000\nsigma x = 0.0  sigma y = 0.0");
    EXPECT_EQ(j["sourcePixels"], 256);

    CliRun outside = Run("psf '" + file + "' 118 82 -40 30");
    EXPECT_EQ(outside.status, 2);
    EXPECT_EQ(outside.err, "Stats: No background pixels in the image\n");
}

TEST_F(CliAnalysis, HistogramWritesHistOutInTheCurrentDirectory) {
    const std::string file = Fits("h.fit", 64, 4, std::vector<double>(256, -1));
    CliRun run = Run("histogram '" + file + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = ReadBytes(dir.File("hist.out"));
    const std::string head = file + "\n\n  Bit          1          0\n\n    0         1.00";
    const std::string tail = "\n   14         1.00       0.00\n";
    ASSERT_GT(text.size(), head.size() + tail.size());
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(CliAnalysis, MedianRemovesHotPixelsAndWritesTheStoredValues) {
    std::vector<double> hot(64 * 4, 7), flat(64 * 4, 7);
    hot[1 * 64 + 30] = 30000;
    hot[3 * 64 + 62] = -30000;
    const std::string file = Fits("m.fit", 64, 4, hot);
    const std::string filtered = Fits("flat.fit", 64, 4, flat);
    CliRun run = Run("median '" + file + "' --out out.pgm");
    ASSERT_EQ(run.status, 0) << run.err;
    CliRun info = Run("info '" + filtered + "'");
    EXPECT_EQ(nlohmann::json::parse(run.out)["fnv1a64"],
              nlohmann::json::parse(info.out)["pixels"]["fnv1a64"]);

    const std::string pgm = ReadBytes(dir.File("out.pgm"));
    const std::string header = "P5\n64 4\n65535\n";
    ASSERT_EQ(pgm.size(), header.size() + 64 * 4 * 2);
    EXPECT_EQ(pgm.substr(0, header.size()), header);
    EXPECT_EQ(pgm.substr(header.size(), 2), std::string("\0\7", 2));
}

}  // namespace
}  // namespace corvane::test
