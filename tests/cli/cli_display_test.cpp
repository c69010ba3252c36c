// corvane-cli display, run as a user would run it, on files written by cfitsio.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/fits_writer.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

// `width` × 4 unsigned data with BZERO 32768: the true value at (c, r) is 10 c + r.
std::string WriteUnsigned(const TempDir& dir, int width = 64) {
    FitsImage im;
    im.width = width;
    im.height = 4;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < width; ++c) im.values.push_back(10 * c + r - 32768);
    }
    WriteFits(dir.File("u.fit"), im, {FitsKey::Dbl("BZERO", 32768.0)});
    return dir.File("u.fit");
}

// The palette indices of a binary PGM written for a `width` × 4 image.
std::string PgmBytes(const TempDir& dir, const std::string& name, int width) {
    const std::string pgm = ReadBytes(dir.File(name));
    const std::string head = "P5\n" + std::to_string(width) + " 4\n255\n";
    EXPECT_EQ(pgm.substr(0, head.size()), head);
    EXPECT_EQ(pgm.size(), head.size() + static_cast<std::size_t>(width) * 4);
    return pgm.substr(head.size());
}

TEST(CliDisplay, EveryModeAsItsMenuCommandAfterALoad) {
    struct Probe {
        int column, row, expected;
    };
    struct Case {
        int mode;
        int low, high;
        std::vector<Probe> probes;
    };
    // The load shows Histogram (limits 42, 603); each command then acts on that display.
    const Case cases[] = {
        {1, 42, 603, {{4, 2, 0}, {60, 3, 192}, {30, 0, (192 * 258) / 561}}},
        {2, 42, 603, {{1, 0, 9}, {0, 1, 0}}},
        {3, 42, 603, {{1, 0, 18}}},
        {4, 42, 603, {{1, 0, 37}, {20, 0, 192}}},
        // Hi-pass leaves the last row as the histogram display had it.
        {5, 42, 603, {{0, 0, 107}, {63, 0, 97}, {0, 3, 0}, {63, 3, 192}}},
        // Manual with the limits as they stand changes nothing but the mode.
        {6, 42, 603, {{60, 3, 192}, {4, 2, 0}}},
        {7, 21, 601, {{2, 1, 0}, {60, 1, 192}}},
        {8, 65535, 0, {{63, 3, 0}, {30, 0, 0}}},
    };
    TempDir dir;
    const std::string file = WriteUnsigned(dir);
    for (const Case& c : cases) {
        const std::string out = std::string("m").append(std::to_string(c.mode)).append(".pgm");
        CliRun run = RunCli("display " + file + " --mode " + std::to_string(c.mode) +
                                " --out " + out, dir.Path());
        ASSERT_EQ(run.status, 0) << run.err;
        auto j = nlohmann::json::parse(run.out);
        EXPECT_EQ(j["mode"], c.mode);
        EXPECT_EQ(j["low"], c.low) << "mode " << c.mode;
        EXPECT_EQ(j["high"], c.high) << "mode " << c.mode;
        EXPECT_EQ(j["logMultiplier"], 1);
        const std::string bytes = PgmBytes(dir, out, 64);
        for (const Probe& p : c.probes) {
            EXPECT_EQ(static_cast<unsigned char>(bytes[static_cast<std::size_t>(p.row * 64 + p.column)]),
                      p.expected)
                << "mode " << c.mode << " at (" << p.column << ", " << p.row << ")";
        }
    }
}

TEST(CliDisplay, ManualLevelsAndRowsWithoutPadding) {
    // 66 columns: display rows are padded to 68 bytes, the PGM rows are not.
    TempDir dir;
    const std::string file = WriteUnsigned(dir, 66);
    CliRun run = RunCli("display " + file + " --low 500 --high 100 --out s.pgm", dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    auto j = nlohmann::json::parse(run.out);
    EXPECT_EQ(j["mode"], 6);
    EXPECT_EQ(j["low"], 500);
    EXPECT_EQ(j["high"], 100);
    EXPECT_EQ(j["width"], 66);
    const std::string bytes = PgmBytes(dir, "s.pgm", 66);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 66; ++c) {
            ASSERT_EQ(static_cast<unsigned char>(bytes[static_cast<std::size_t>(r * 66 + c)]),
                      10 * c + r > 500 ? 192 : 0)
                << c << "," << r;
        }
    }
}

TEST(CliDisplay, RefusesIncompleteOrConflictingOptions) {
    TempDir dir;
    const std::string file = WriteUnsigned(dir);
    EXPECT_NE(RunCli("display " + file + " --low 5 --out a.pgm", dir.Path()).status, 0);
    EXPECT_NE(RunCli("display " + file + " --low 5 --high 9 --mode 3 --out a.pgm", dir.Path())
                  .status, 0);
    EXPECT_NE(RunCli("display " + file + " --mode 9 --out a.pgm", dir.Path()).status, 0);
    EXPECT_NE(RunCli("display " + file, dir.Path()).status, 0);
    CliRun missing = RunCli("display " + dir.File("none.fit") + " --out a.pgm", dir.Path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}

TEST(CliDisplay, Palette) {
    TempDir dir;
    CliRun run = RunCli("display --palette", dir.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    auto j = nlohmann::json::parse(run.out);
    ASSERT_EQ(j.size(), 193u);
    auto rgb = [&](std::size_t i) {
        return std::vector<int>{j[i]["red"], j[i]["green"], j[i]["blue"], j[i]["flags"]};
    };
    EXPECT_EQ(rgb(0), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(rgb(1), (std::vector<int>{0, 4, 0, 0}));
    EXPECT_EQ(rgb(2), (std::vector<int>{0, 4, 4, 0}));
    EXPECT_EQ(rgb(190), (std::vector<int>{252, 255, 252, 0}));
    EXPECT_EQ(rgb(192), (std::vector<int>{255, 255, 255, 0}));
}

}  // namespace
}  // namespace corvane::test
