// quib with an INDI camera: a real INDI server running Debian's CCD simulator, quib as a
// real process, and for the capture the real main window, offscreen. The simulator's
// frames carry no stars, so what is checked is the link, the files and their headers.

#include <gtest/gtest.h>

#include <QAction>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "app/command_ids.h"
#include "gui/acquisition_link.h"
#include "gui/main_window.h"
#include "gui/modeless_windows.h"
#include "indi_server.h"
#include "platform/acquisition_protocol.h"
#include "quib_process.h"
#include "stand_in_main_window.h"
#include "support/temp_dir.h"

namespace corvane::test {
namespace {

const QString kCamera = "CCD Simulator";

// Looks at a folder as often as it can, from a thread of its own, and notes every name
// the first time it appears with the size of its file at that moment.
class FolderSpy {
  public:
    explicit FolderSpy(std::string folder) : folder_(std::move(folder)) {}
    ~FolderSpy() {
        stop_ = true;
        thread_.join();
    }
    std::map<std::string, std::uintmax_t> FirstSeen() {
        std::lock_guard guard(lock_);
        return seen_;
    }

  private:
    void Look() {
        while (!stop_) {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
                const std::string name = entry.path().filename().string();
                std::lock_guard guard(lock_);
                if (!seen_.count(name)) {
                    seen_[name] = entry.file_size(error);
                }
            }
        }
    }

    std::string folder_;
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::map<std::string, std::uintmax_t> seen_;
    std::thread thread_{&FolderSpy::Look, this};  // last: starts once the rest exists
};

TEST(IndiCamera, CapturedFramesReachTheMainWindowOneAfterAnother) {
    TestApplication();
    IndiTestServer server;
    ASSERT_TRUE(server.Start());
    TempDir dir;
    const std::string earlier = dir.File("vesta0001.fits");  // an earlier night's frame
    WriteBytes(earlier, "kept");
    const std::string scope = UniqueScope("capture");

    Program program;
    MainWindow window{program};
    MessageWatcher messages;
    window.show();
    window.Start("");
    AcquisitionLink::Options options;
    options.scope = scope;
    options.quibProgram = QuibPath();
    options.quibArguments = QuibArguments(
        dir.Path(), scope, 300,
        {"--indi", server.Address(), "--device", kCamera, "--capture", "--exposure", "0.1",
         "--count", "3", "--delay", "1", "--bin", "2", "--filter", "2", "--prefix", "vesta"});
    AcquisitionLink& link = window.Modeless().Acquisition();
    link.Start(options);
    FolderSpy spy(dir.Path());
    window.Menu().items.at(command::kAcquire)->trigger();
    ASSERT_TRUE(program.shell.acquisitionSession);

    std::vector<std::string> shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (program.image.loaded && (shown.empty() || shown.back() != program.image.path)) {
                shown.push_back(program.image.path);
            }
            return shown.size() >= 3;
        },
        60000))
        << ::testing::PrintToString(shown) << ::testing::PrintToString(messages.seen);
    const std::vector<std::string> frames{dir.File("vesta0002.fits"), dir.File("vesta0003.fits"),
                                          dir.File("vesta0004.fits")};
    EXPECT_EQ(shown, frames);
    EXPECT_EQ(ReadBytes(earlier), "kept");
    EXPECT_EQ(program.header.exposure, 1) << "the driver's EXPTIME, 0.1 s in tenths";
    EXPECT_NE(program.header.observationTime, 0) << "the driver's DATE-OBS";
    for (const std::string& frame : frames) {
        const std::string header = ReadBytes(frame).substr(0, 2880);
        EXPECT_NE(header.find("XBINNING=                    2"), std::string::npos) << frame;
        EXPECT_NE(header.find("FILTER  = 'Green   '"), std::string::npos) << frame;  // slot 2
        EXPECT_NE(header.find("EXPTIME =         1.000000E-01"), std::string::npos) << frame;
    }
    // Every name that ever appeared, but the main window's pixel file, was a whole frame
    // from its first moment.
    for (const auto& [name, size] : spy.FirstSeen()) {
        const std::string path = dir.File(name);
        if (name.starts_with("~cor")) {
            continue;
        }
        EXPECT_TRUE(path == earlier ||
                    std::find(frames.begin(), frames.end(), path) != frames.end())
            << name;
        EXPECT_EQ(size, std::filesystem::file_size(path)) << name;
    }

    // Next steps from one captured frame to the following one.
    ASSERT_EQ(SendRaw(scope, EncodeCopyData(0, frames[0]), 1).size(), 1u);
    ASSERT_EQ(program.image.path, frames[0]);
    window.Menu().items.at(command::kNext)->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(program.image.loaded);
    EXPECT_EQ(program.image.path, frames[1]);
    EXPECT_TRUE(messages.seen.empty()) << ::testing::PrintToString(messages.seen);

    ::kill(link.QuibPid(), SIGTERM);
    EXPECT_TRUE(WaitUntil([&] { return !program.shell.acquisitionSession; }));
}

// Another client takes a 0.1 s frame, again every few seconds (the camera may still be
// connecting) until quib has handed over `count` frames.
bool AnotherClientExposes(const IndiTestServer& server, const StandInMainWindow& main,
                          std::size_t count) {
    server.SetProperty(kCamera + ".CONNECTION.CONNECT=On");
    for (int tries = 0; tries < 6; ++tries) {
        server.SetProperty(kCamera + ".CCD_EXPOSURE.CCD_EXPOSURE_VALUE=0.1");
        if (WaitUntil([&] { return main.frames.size() >= count; }, 3000)) {
            return true;
        }
    }
    return false;
}

TEST(IndiCamera, ListenKeepsAnotherClientsFramesAndOutlastsTheServer) {
    TempDir dir;
    TempDir keeperDir;
    const std::string scope = UniqueScope("listen");
    StandInMainWindow main(scope);
    IndiTestServer server;  // not started yet
    Quib quib(dir.Path(), scope, 300,
              {"--indi", server.Address(), "--device", kCamera, "--listen", "--prefix", "cam"});
    ASSERT_TRUE(quib.WaitForLog("Cannot reach the INDI server at " + server.Address(), 1, 5000))
        << quib.Log().toStdString();

    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(quib.WaitForLog("Connected to the INDI server at " + server.Address()))
        << quib.Log().toStdString();
    // A second listener keeps the frame as the driver sent it.
    QProcess keeper;
    keeper.setWorkingDirectory(QString::fromStdString(keeperDir.Path()));
    keeper.start("indi_getprop",
                 {"-p", QString::number(server.Port()), "-t", "60", "-m", kCamera + ".CCD1.CCD1"});
    ASSERT_TRUE(keeper.waitForStarted(5000));
    ASSERT_TRUE(AnotherClientExposes(server, main, 1)) << quib.Log().toStdString();
    EXPECT_EQ(main.frames[0].path, dir.File("cam0001.fits"));
    const std::string kept = keeperDir.File(kCamera.toStdString() + ".CCD1.CCD1.fits");
    // (The other listener writes its copy in place, and again for a repeated exposure.)
    EXPECT_TRUE(WaitUntil(
        [&] {
            return std::filesystem::exists(kept) &&
                   ReadBytes(kept) == ReadBytes(dir.File("cam0001.fits"));
        },
        5000))
        << "the frame is written byte for byte as the driver sent it";
    keeper.kill();
    keeper.waitForFinished(5000);

    server.Kill();
    ASSERT_TRUE(quib.WaitForLog("Lost the connection to the INDI server at " + server.Address()))
        << quib.Log().toStdString();
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(quib.WaitForLog("Connected to the INDI server at " + server.Address(), 2))
        << quib.Log().toStdString();
    ASSERT_TRUE(AnotherClientExposes(server, main, 2)) << quib.Log().toStdString();
    EXPECT_EQ(main.frames[1].path, dir.File("cam0002.fits"));
    EXPECT_FALSE(quib.Ended());
}

}  // namespace
}  // namespace corvane::test
