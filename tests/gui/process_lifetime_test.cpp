// The real corvane32 as the system sees it: ended by a signal it leaves neither its pixel
// file nor its socket; at start it removes pixel files nobody holds; of two started at
// once, one takes the link. Each test gives the programs a temporary directory of its own.

#include <gtest/gtest.h>

#include <QProcess>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gui_test_support.h"
#include "platform/acquisition_process.h"
#include "platform/acquisition_protocol.h"
#include "support/temp_dir.h"
#include "support/test_paths.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

// corvane32 offscreen with `tmp` as its temporary directory and the three signals at their
// defaults, whatever this test inherited (nohup ignores SIGHUP). Its output is the test's.
class Corvane32 : public QProcess {
public:
    Corvane32(const std::string& tmp, const std::string& image) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", QString::fromStdString(tmp));
        environment.insert("temp", QString::fromStdString(tmp));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        setProcessEnvironment(environment);
        setProcessChannelMode(QProcess::ForwardedChannels);
        setChildProcessModifier([] {
            for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, SIG_DFL);
        });
        const char* chosen = std::getenv("CORVANE32");
        start(chosen ? chosen : CORVANE32_PATH, {QString::fromStdString(image)});
        EXPECT_TRUE(waitForStarted());
    }
    ~Corvane32() override {
        kill();
        waitForFinished();
    }
    void Signal(int signal) const { ::kill(static_cast<pid_t>(processId()), signal); }
    bool EndedBy(int signal) {
        return waitForFinished(30000) && exitStatus() == QProcess::CrashExit &&
               exitCode() == signal;
    }
    // Whether the process has `path` open.
    bool HasOpen(const std::string& path) const {
        std::error_code error;
        const fs::path fds = "/proc/" + std::to_string(processId()) + "/fd";
        for (const auto& fd : fs::directory_iterator(fds, error)) {
            if (fs::read_symlink(fd.path(), error) == path) return true;
        }
        return false;
    }
};

struct Night {
    TempDir dir;
    std::string tmp = dir.File("tmp");
    std::string socket = tmp + "/" + MainWindowServerName(CurrentUserName());
    std::string frame = SamplePath("field001.fit");

    Night() { fs::create_directory(tmp); }
    std::vector<std::string> PixelFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(tmp)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("~cor", 0) == 0) names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Listening sockets bound under the temporary directory, from the kernel's table: a
    // socket whose name another listener took over is still counted.
    int Listeners() const {
        std::ifstream table("/proc/net/unix");
        std::string line;
        std::getline(table, line);  // the headings
        int count = 0;
        while (std::getline(table, line)) {
            std::istringstream fields(line);
            std::string slot, refs, protocol, flags, type, state, inode, path;
            fields >> slot >> refs >> protocol >> flags >> type >> state >> inode >> path;
            const bool listening = (std::stoul(flags, nullptr, 16) & 0x10000) != 0;
            if (listening && path.rfind(tmp + "/", 0) == 0) ++count;
        }
        return count;
    }
    // Nothing of a corvane32 is left: no pixel file, no socket, no lock beside it.
    void ExpectNothingLeft(const std::vector<std::string>& kept = {}) const {
        EXPECT_EQ(PixelFiles(), kept);
        EXPECT_FALSE(fs::exists(fs::symlink_status(socket)));
        EXPECT_FALSE(fs::exists(socket + ".lock"));
    }
};

TEST(ProcessLifetime, ASignalEndsItAsAClose) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        Night night;
        Corvane32 program(night.tmp, night.frame);
        ASSERT_TRUE(WaitUntil([&] {
            return night.PixelFiles().size() == 1 && fs::exists(night.socket);
        }));
        program.Signal(signal);
        EXPECT_TRUE(program.EndedBy(signal));
        night.ExpectNothingLeft();
    }
}

TEST(ProcessLifetime, ABoxOpenDuringALoadDoesNotHoldIt) {
    Night night;
    const std::string shortFrame = night.dir.File("short.fit");
    fs::copy_file(night.frame, shortFrame);
    fs::resize_file(shortFrame, fs::file_size(shortFrame) / 2);
    Corvane32 program(night.tmp, shortFrame);
    // The reader keeps the file open while "Some lines are missing" waits for its OK.
    ASSERT_TRUE(WaitUntil([&] { return program.HasOpen(shortFrame); }));
    program.Signal(SIGTERM);
    EXPECT_TRUE(program.EndedBy(SIGTERM));
    night.ExpectNothingLeft();
}

TEST(ProcessLifetime, TwoStartedTogetherLeaveHeldFilesAndOneListens) {
    Night night;
    WriteBytes(night.tmp + "/~cor0007.tmp", "left by a killed program");
    // Another program holding a pixel file's lock, as a running corvane32 does.
    QProcess holder;
    holder.start("flock", {"--no-fork", QString::fromStdString(night.tmp + "/~cor0005.tmp"),
                           "sh", "-c", "echo held; exec sleep 60"});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    Corvane32 first(night.tmp, night.frame);
    Corvane32 second(night.tmp, night.frame);

    // Both have swept, and claimed the link or not, before their frames are loaded.
    const std::vector<std::string> expected{"~cor0000.tmp", "~cor0001.tmp", "~cor0005.tmp"};
    ASSERT_TRUE(WaitUntil([&] { return night.PixelFiles() == expected; }))
        << ::testing::PrintToString(night.PixelFiles());
    EXPECT_EQ(night.Listeners(), 1);

    first.Signal(SIGTERM);
    second.Signal(SIGTERM);
    EXPECT_TRUE(first.EndedBy(SIGTERM));
    EXPECT_TRUE(second.EndedBy(SIGTERM));
    night.ExpectNothingLeft({"~cor0005.tmp"});
    holder.kill();
    holder.waitForFinished();
}

}  // namespace
}  // namespace corvane::test
