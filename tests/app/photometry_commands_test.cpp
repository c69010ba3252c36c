// The photometry run through the shell: output files, the run's clicks on the
// demonstration frames, and the batch command writing the same files.

#include "app/photometry_commands.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/command_ids.h"
#include "app/commands.h"
#include "app/image_commands.h"
#include "app/mouse_modes.h"
#include "support/cli_runner.h"
#include "support/fake_host.h"
#include "support/sample_field.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using Press = test::FakeHost::OutputDialogPress;

struct Desktop {
    std::unique_ptr<Program> program = std::make_unique<Program>();
    test::FakeHost host;

    bool Load(const std::string& path) {
        return LoadImage(*program, host, path);
    }
    // F8, then the clicks of one run on the window at 1:1, scrolled to the top left.
    void Run(const std::vector<PixelPoint>& clicks) {
        ASSERT_TRUE(OnCommand(*program, host, command::kDo));
        ASSERT_EQ(program->shell.view.zoom, 8);
        ASSERT_EQ(program->shell.view.horizontalOffset, 0);
        ASSERT_EQ(program->shell.view.verticalOffset, 0);
        host.confirmAnswers.push_back(true);
        host.resultsAnswers.push_back(true);
        for (PixelPoint c : clicks) {
            ASSERT_EQ(program->shell.mouseMode, MouseMode::Photometry);
            OnLeftButtonDown(*program, host, c.x, c.y);
        }
        EXPECT_EQ(program->shell.mouseMode, MouseMode::None);
    }
};

TEST(OutputFilesCommand, NeedsAnImageAndSetsTheFlagOnSuccessOnly) {
    test::TempDir dir;
    Desktop d;
    d.host.outputDialogScript = {Press{Press::Ok, 0, dir.File("n")}};
    OnCommand(*d.program, d.host, command::kOutputFiles);
    EXPECT_TRUE(d.host.outputDialogViews.empty());
    ASSERT_TRUE(d.Load(test::SampleFrames()[0]));
    d.host.outputDialogScript = {Press{Press::Cancel, 0, {}}};
    OnCommand(*d.program, d.host, command::kOutputFiles);
    EXPECT_FALSE(d.program->outputFilesChosen);
    // Do! still asks for them.
    d.program->objects.initialised = true;
    OnCommand(*d.program, d.host, command::kDo);
    EXPECT_EQ(d.host.MessageLines().back(), "MSG 28: Please open output files");
    EXPECT_EQ(d.program->shell.mouseMode, MouseMode::None);
    // "Lightcurve..." waits for the output files, then opens the window on the list file.
    std::vector<std::string> opened;
    d.program->lightcurve.open = [&](const std::string& path) { opened.push_back(path); };
    OnCommand(*d.program, d.host, command::kLightcurve);
    EXPECT_FALSE(d.host.menu.lightcurveEnabled);
    d.host.outputDialogScript = {Press{Press::Ok, 0, dir.File("n")}};
    OnCommand(*d.program, d.host, command::kOutputFiles);
    EXPECT_TRUE(d.program->outputFilesChosen);
    EXPECT_EQ(d.program->outputFiles.listPath, dir.File("n.lis"));
    EXPECT_TRUE(d.host.menu.lightcurveEnabled);
    OnCommand(*d.program, d.host, command::kLightcurve);
    EXPECT_EQ(opened, std::vector<std::string>{dir.File("n.lis")});
}

TEST(PhotometryRunClick, OnlyInPhotometryMode) {
    Desktop d;
    EXPECT_FALSE(PhotometryRunClick(*d.program, d.host, 1, 1));
    d.program->shell.mouseMode = MouseMode::AddStar;
    EXPECT_FALSE(PhotometryRunClick(*d.program, d.host, 1, 1));
}

// Five desktop runs, the reference star clicked where the list expects it and the asteroid
// where it is seen, write the same bytes as the batch command given the first two
// asteroid positions.
TEST(PhotometryRun, FiveDesktopRunsWriteWhatTheBatchWrites) {
    test::TempDir dir;
    const std::vector<std::string> frames = test::SampleFrames();
    Desktop d;
    ASSERT_TRUE(d.Load(frames[0]));
    d.host.outputDialogScript = {Press{Press::Ok, 0, dir.File("desk")}};
    OnCommand(*d.program, d.host, command::kOutputFiles);
    ASSERT_TRUE(d.program->outputFilesChosen);
    test::SampleStarList(d.program->photometry, d.program->objects);

    // The lightcurve window hears of every record with the bytes that went into the file.
    std::string notified;
    d.program->lightcurve.recordWritten = [&](const std::string& path, std::string_view record) {
        EXPECT_EQ(path, dir.File("desk.lis"));
        notified += record;
    };
    const PixelPoint step = test::kSampleAsteroid2 - test::kSampleAsteroid1;
    PixelPoint asteroid = test::kSampleAsteroid1;
    for (const std::string& frame : frames) {
        ASSERT_TRUE(d.Load(frame));
        const ObjectList& list = d.program->objects;
        d.Run({list.referencePosition, asteroid, asteroid + list.asteroidBoxOffsets[0],
               asteroid + list.asteroidBoxOffsets[1]});
        asteroid = asteroid + step;
    }
    EXPECT_EQ(d.host.resultsShown.size(), 5u);

    test::WriteBytes(dir.File("objects.json"), test::SampleObjectsJson().dump());
    std::string images;
    for (const std::string& frame : frames) images += " " + frame;
    test::CliRun batch = test::RunCli("photometry --objects objects.json --out batch "
                                      "--asteroid 140,330 --asteroid 144,328" + images,
                                      dir.Path());
    ASSERT_EQ(batch.status, 0) << batch.err;
    const std::string list = test::ReadBytes(dir.File("desk.lis"));
    EXPECT_EQ(test::ReadBytes(dir.File("batch.lis")), list);
    EXPECT_EQ(test::ReadBytes(dir.File("batch.heu")), test::ReadBytes(dir.File("desk.heu")));
    int records = 0;
    for (std::size_t at = list.find(frames[0]); at != std::string::npos;
         at = list.find("\r\n\r\n\r\n/", at + 1)) {
        ++records;
    }
    EXPECT_EQ(records, 5) << list;
    EXPECT_EQ(notified, list);
}

}  // namespace
}  // namespace corvane
