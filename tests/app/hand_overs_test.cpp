// Hand-overs that arrive while the program is busy: inside a box or dialog, or inside a
// load. They wait, in arrival order, and never reach into the operation under way.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/acquisition.h"
#include "app/app_fixture.h"
#include "app/command_ids.h"
#include "app/commands.h"
#include "app/mouse_modes.h"
#include "support/fits_writer.h"
#include "support/sample_field.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

constexpr int kCut = -1;   // the frame whose last rows are missing
constexpr int kNone = -2;  // no image shown

struct Delivery {
    HandOverKind kind;
    int file = kNone;  // a sample frame's index, or kCut
    std::uint32_t number = 1;
};

// A night as quib and the observer make it: a session handing over the first sample
// frame, output files chosen, the star list of the samples.
struct Night {
    TempDir dir;
    Program program;
    FakeHost host;
    std::vector<std::string> frames = SampleFrames();
    std::string cut = dir.File("cut.fit");  // a frame whose last rows are missing

    Night() {
        host.metrics = DesktopMetrics();
        FitsImage image;
        image.height = 10;
        image.values.assign(64 * 10, 700);
        WriteFits(cut, image);
        std::filesystem::resize_file(cut, 2880 + 64 * 2 * 5);
        EXPECT_TRUE(Acquire(program, host));
        Hand({HandOverKind::Image, 0, 2});
        using Press = FakeHost::OutputDialogPress;
        host.outputDialogScript = {Press{Press::Ok, 0, dir.File("night")}};
        OnCommand(program, host, command::kOutputFiles);
        SampleStarList(program.photometry, program.objects);
    }
    std::string File(int file) const {
        return file == kCut ? cut : file == kNone ? "" : frames[static_cast<std::size_t>(file)];
    }
    HandOverTaken Hand(const Delivery& d) {
        PendingHandOver handOver = CopyDataHandOver(d.number, PathData(File(d.file)), 0);
        handOver.kind = d.kind;
        return ReceiveHandOver(program, host, handOver);
    }
    void Drain() {
        DrainHandOvers(program, host);
    }
    // Do! on the first frame, accepted in both boxes.
    void Run() {
        OnCommand(program, host, command::kDo);
        host.confirmAnswers = {true};
        host.resultsAnswers = {true};
        const ObjectList& list = program.objects;
        const PixelPoint a = kSampleAsteroid1;
        for (PixelPoint c : {list.referencePosition, a, a + list.asteroidBoxOffsets[0],
                             a + list.asteroidBoxOffsets[1]}) {
            OnLeftButtonDown(program, host, c.x, c.y);
        }
    }
    int Loads() const {
        const auto& history = host.paneHistory[static_cast<int>(Pane::Readout)];
        return static_cast<int>(std::count(history.begin(), history.end(), "Loading image..."));
    }
    std::string Shown() const { return program.image.loaded ? program.image.path : ""; }
    std::string List() const { return ReadBytes(dir.File("night.lis")); }
};

TEST(HandOvers, WaitUntilTheBoxTheLoadOrTheRunHasEnded) {
    // The record of an undisturbed run, to compare with.
    std::string undisturbed;
    {
        Night night;
        night.Run();
        undisturbed = night.List();
        ASSERT_NE(undisturbed.find(night.frames[0]), std::string::npos);
    }

    enum class Operation { Run, LoadCut, LoadSecond, InitialiseList };
    constexpr HandOverKind Image = HandOverKind::Image, Release = HandOverKind::Release;
    struct Case {
        const char* name;
        Operation operation;
        const char* box;  // the box or dialog (log line prefix) to deliver in; null: after it
        std::vector<Delivery> deliveries;
        int shownBefore;  // the file shown when the operation has ended
        int shownAfter;   // after the drain
        int loadsInDrain;
    };
    const Case cases[] = {
        {"an image during the confirmation", Operation::Run, "dialog ConfirmBox", {{Image, 1}},
         0, 1, 1},
        {"an image of number 2 during the results box", Operation::Run, "dialog ShowResBox",
         {{Image, 1, 2}}, 0, 1, 1},
        {"1035 during the confirmation", Operation::Run, "dialog ConfirmBox", {{Release}}, 0,
         kNone, 0},
        {"one file three times, another between", Operation::Run, "dialog ConfirmBox",
         {{Image, 1}, {Image, 2}, {Image, 1}, {Image, 1, 2}}, 0, 2, 2},
        {"1035 while the run repaints", Operation::Run, "update", {{Release}}, 0, kNone, 0},
        {"a file, 1035 and the file again during the confirmation", Operation::Run,
         "dialog ConfirmBox", {{Image, 1}, {Release}, {Image, 1}}, 0, 1, 1},
        {"an image of number 2 during a reader's warning box", Operation::LoadCut,
         "message MSG 129: Warning! Some lines are missing.", {{Image, 1, 2}}, kCut, 1, 1},
        {"the same file during its own warning box", Operation::LoadCut, "message MSG 129",
         {{Image, kCut}, {Image, kCut}}, kCut, kCut, 1},
        {"1035 and an image of number 2 during a load", Operation::LoadSecond, "update",
         {{Release}, {Image, 2, 2}}, 1, 2, 1},
        {"an image during Initialize star list", Operation::InitialiseList, nullptr,
         {{Image, 1}}, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Night night;
        auto deliver = [&] {
            for (const Delivery& d : c.deliveries) {
                EXPECT_EQ(night.Hand(d), HandOverTaken::Waiting);
            }
        };
        bool delivered = false;
        night.host.insideModal = [&](const std::string& what) {
            if (c.box != nullptr && !delivered && what.rfind(c.box, 0) == 0) {
                delivered = true;
                deliver();
                night.Drain();  // the drain's timer fires in the box's own loop
            }
        };
        const int posts = night.host.drainPosts;
        switch (c.operation) {
            case Operation::Run:
                night.Run();
                EXPECT_EQ(night.List(), undisturbed) << "the measured frame's record, intact";
                break;
            case Operation::LoadCut:
                night.Hand({Image, kCut, 2});
                EXPECT_EQ(night.program.image.height, 5) << "the cut frame's own rows";
                break;
            case Operation::LoadSecond:
                night.Hand({Image, 1, 2});
                break;
            case Operation::InitialiseList:
                OnCommand(night.program, night.host, command::kInitStarList);
                for (int i = 0; i < 5; ++i) {
                    OnLeftButtonDown(night.program, night.host, 100 + i, 100);
                }
                deliver();
                break;
        }
        EXPECT_TRUE(c.box == nullptr || delivered);
        EXPECT_EQ(night.host.maxModalDepth, 1) << "no box ever opened inside another";
        EXPECT_GT(night.host.drainPosts, posts) << "the host was asked to drain";
        EXPECT_EQ(night.Shown(), night.File(c.shownBefore));

        const int loads = night.Loads();
        night.host.insideModal = nullptr;
        night.Drain();
        EXPECT_TRUE(night.program.handOvers.waiting.empty());
        EXPECT_EQ(night.Loads() - loads, c.loadsInDrain);
        EXPECT_EQ(night.Shown(), night.File(c.shownAfter));
        for (const std::string& line : night.host.MessageLines()) {
            EXPECT_EQ(line.rfind("Do: ", 0), std::string::npos) << line;
        }
        if (c.operation == Operation::InitialiseList) {
            EXPECT_EQ(night.program.shell.mouseMode, MouseMode::None);
            EXPECT_FALSE(night.program.objects.initialised) << "cancelled as Escape cancels";
        }
    }
}

}  // namespace
}  // namespace corvane::test
