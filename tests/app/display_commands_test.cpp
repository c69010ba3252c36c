#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/display_commands.h"
#include "support/fake_host.h"
#include "support/memory_image.h"

namespace corvane {
namespace {

constexpr int kManual = static_cast<int>(DisplayCommand::Manual);
constexpr int kFshow = static_cast<int>(DisplayCommand::Fshow);
constexpr int kHistogram = static_cast<int>(DisplayCommand::Histogram);
constexpr int kHiPass = static_cast<int>(DisplayCommand::HiPass);
constexpr int kLog = static_cast<int>(DisplayCommand::Log);
constexpr int kLog2 = static_cast<int>(DisplayCommand::LogTimes2);
constexpr int kLog4 = static_cast<int>(DisplayCommand::LogTimes4);
constexpr int kMinMax = static_cast<int>(DisplayCommand::MinMax);

// A shown 64 × 4 image whose true value at (c, r) is 10 c + r.
struct Shown {
    std::vector<std::int16_t> pixels;
    Program program;
    test::FakeHost host;

    explicit Shown(bool loaded = true) : pixels(64 * 4) {
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 64; ++c) {
                pixels[static_cast<std::size_t>(r * 64 + c)] = static_cast<std::int16_t>(10 * c + r);
            }
        }
        test::AttachPixels(program.image, pixels, 64, 4);
        program.image.loaded = loaded;
    }
    int Byte(int column, int row) const {
        const ImageRecord& im = program.image;
        return im.displayImage[static_cast<std::size_t>(row * im.paddedWidth + column)];
    }
    int Rebuilds() const { return host.progressBegins; }
};

TEST(DisplayModeCommands, WithoutAnImage) {
    struct Case {
        int command;
        std::int32_t modeAfter;
    };
    // Modes that the next load applies; Manual and the Log commands need an image.
    const Case cases[] = {
        {kHistogram, kModeHistogram}, {kFshow, kModeFshow}, {kMinMax, kModeMinMax},
        {kHiPass, kModeHiPass},       {kManual, kModeLog},  {kLog, kModeLog},
        {kLog2, kModeLog},            {kLog4, kModeLog},
    };
    for (const Case& c : cases) {
        Shown s(false);
        s.program.display.mode = kModeLog;
        s.program.display.levels = {5, 6};
        EXPECT_TRUE(RunDisplayModeCommand(s.program, s.host, c.command));
        EXPECT_EQ(s.program.display.mode, c.modeAfter) << c.command;
        EXPECT_EQ(s.program.display.levels, (DisplayLevels{5, 6})) << c.command;
        EXPECT_EQ(s.Rebuilds(), 0) << c.command;
        EXPECT_EQ(s.host.fullInvalidations, 0) << c.command;
        EXPECT_EQ(s.host.manualLevelsRuns, 0) << c.command;
    }
}

TEST(DisplayModeCommands, OtherIdsAreNotDisplayCommands) {
    Shown s;
    for (int id : {103, 107, 127, 133}) EXPECT_FALSE(RunDisplayModeCommand(s.program, s.host, id));
    EXPECT_EQ(s.Rebuilds(), 0);
}

TEST(DisplayModeCommands, AutomaticLimitsRebuildOnlyWhenSomethingChanged) {
    struct Case {
        const char* name;
        std::int32_t modeBefore;
        DisplayLevels levelsBefore;
        int command;
        DisplayLevels levelsAfter;
        bool rebuilt;
    };
    // Histogram samples columns 0, 4, … 60: levels 42, 603. Min-Max: row 1, columns
    // 2 … 60: 21, 601. Fshow on 4 rows samples nothing: 32767, -32768.
    const Case cases[] = {
        {"new histogram limits", kModeManual, {0, 300}, kHistogram, {42, 603}, true},
        {"same limits, linear", kModeMinMax, {42, 603}, kHistogram, {42, 603}, false},
        {"same limits after log", kModeLog, {42, 603}, kHistogram, {42, 603}, true},
        {"same limits after hi-pass", kModeHiPass, {42, 603}, kHistogram, {42, 603}, true},
        {"min-max", kModeHistogram, {42, 603}, kMinMax, {21, 601}, true},
        {"min-max again", kModeMinMax, {21, 601}, kMinMax, {21, 601}, false},
        {"fshow", kModeHistogram, {0, 300}, kFshow, {32767, -32768}, true},
    };
    for (const Case& c : cases) {
        Shown s;
        s.program.display.mode = c.modeBefore;
        s.program.display.levels = c.levelsBefore;
        RunDisplayModeCommand(s.program, s.host, c.command);
        EXPECT_EQ(s.program.display.levels, c.levelsAfter) << c.name;
        EXPECT_EQ(s.Rebuilds(), c.rebuilt ? 1 : 0) << c.name;
        EXPECT_EQ(s.host.fullInvalidations, c.rebuilt ? 1 : 0) << c.name;
        if (c.rebuilt) {
            EXPECT_EQ(s.host.paneHistory[0].back(), "") << c.name;
            EXPECT_EQ(s.Byte(0, 0), 0) << c.name;
        }
    }
}

TEST(DisplayModeCommands, SecondHistogramOnAnUnchangedImageDoesNotRebuild) {
    Shown s;
    s.program.display.mode = kModeLog;
    RunDisplayModeCommand(s.program, s.host, kHistogram);
    ASSERT_EQ(s.Rebuilds(), 1);
    RunDisplayModeCommand(s.program, s.host, kHistogram);
    EXPECT_EQ(s.Rebuilds(), 1);
    EXPECT_EQ(s.host.fullInvalidations, 1);
    EXPECT_EQ(s.program.display.mode, kModeHistogram);
}

TEST(DisplayModeCommands, ManualOkRebuildsAndSetsMode6) {
    Shown s;
    s.program.display.mode = kModeHistogram;
    s.host.manualLevelsScript = {ManualLevelsFields{"500", "100"}};
    RunDisplayModeCommand(s.program, s.host, kManual);
    ASSERT_EQ(s.host.manualLevelsOpenings.size(), 1u);
    EXPECT_EQ(s.host.manualLevelsOpenings[0].low, "0");
    EXPECT_EQ(s.host.manualLevelsOpenings[0].high, "300");
    EXPECT_EQ(s.program.display.levels, (DisplayLevels{500, 100}));
    EXPECT_EQ(s.program.display.mode, kModeManual);
    EXPECT_EQ(s.Rebuilds(), 1);
    EXPECT_EQ(s.host.fullInvalidations, 1);
    // Above 500 white, everything else black.
    EXPECT_EQ(s.Byte(50, 0), 0);
    EXPECT_EQ(s.Byte(50, 1), 192);
    EXPECT_EQ(s.Byte(49, 3), 0);
}

TEST(DisplayModeCommands, ManualOkWithTheSameLimitsOnLinearDisplayOnlySetsTheMode) {
    Shown s;
    s.program.display.mode = kModeMinMax;
    s.host.manualLevelsScript = {ManualLevelsFields{" 0", "300 "}};
    RunDisplayModeCommand(s.program, s.host, kManual);
    EXPECT_EQ(s.Rebuilds(), 0);
    EXPECT_EQ(s.host.fullInvalidations, 0);
    EXPECT_EQ(s.program.display.mode, kModeManual);
}

TEST(DisplayModeCommands, ManualCancelKeepsALowLimitAlreadyTaken) {
    Shown s;
    s.program.display.mode = kModeLog;
    // A valid Min with an empty Max keeps the dialog open; then Cancel.
    s.host.manualLevelsScript = {ManualLevelsFields{"400", ""}, std::nullopt};
    RunDisplayModeCommand(s.program, s.host, kManual);
    EXPECT_EQ(s.program.display.levels, (DisplayLevels{400, 300}));
    EXPECT_EQ(s.program.display.mode, kModeLog);
    EXPECT_EQ(s.Rebuilds(), 0);
    EXPECT_EQ(s.host.fullInvalidations, 0);
    EXPECT_TRUE(s.host.manualLevelsScript.empty());
}

TEST(DisplayModeCommands, LogCommandsSetMultiplierModeAndRebuild) {
    struct Case {
        int command;
        std::int32_t mode;
        int byteAtTrue10;  // T[10] with multiplier 1, 2, 4
    };
    const Case cases[] = {{kLog, kModeLog, 9}, {kLog2, kModeLogTimes2, 18},
                          {kLog4, kModeLogTimes4, 37}};
    for (const Case& c : cases) {
        Shown s;
        RunDisplayModeCommand(s.program, s.host, c.command);
        EXPECT_EQ(s.program.display.mode, c.mode);
        EXPECT_EQ(s.program.display.logMultiplier, 1);
        EXPECT_EQ(s.Byte(1, 0), c.byteAtTrue10);
        EXPECT_EQ(s.Rebuilds(), 1);
        EXPECT_EQ(s.host.fullInvalidations, 1);
    }
}

TEST(DisplayModeCommands, HiPassRebuildsEvenInHiPassMode) {
    Shown s;
    s.program.display.mode = kModeHiPass;
    RunDisplayModeCommand(s.program, s.host, kHiPass);
    EXPECT_EQ(s.Byte(0, 0), 96 + 11);
    EXPECT_EQ(s.host.paneHistory[0].front(), "Filtering...");
    EXPECT_EQ(s.host.fullInvalidations, 1);
}

TEST(DisplayModeCommands, MedianFilterRedisplayIsLinearAndKeepsTheMode) {
    Shown s;
    s.program.display.mode = kModeHiPass;
    s.program.display.levels = {0, 300};
    RedisplayAfterMedianFilter(s.program, s.host);
    EXPECT_EQ(s.program.display.mode, kModeHiPass);
    EXPECT_EQ(s.Byte(15, 0), 96);
    EXPECT_EQ(s.Byte(63, 3), 192);
    EXPECT_EQ(s.host.fullInvalidations, 1);
}

}  // namespace
}  // namespace corvane
